#include "base/FolderAccess.h"
#include "maintenance/DatabaseBackup.h"
#include "support/DatabaseFiles.h"
#include "support/FileSizeLimit.h"
#include "support/TemporaryPayeeDatabase.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <chrono>
#include <thread>

#include <unistd.h>

using namespace std::chrono_literals;

namespace {

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class TestDatabaseBackup : public QObject
{
    Q_OBJECT

private slots:
    void makesItsFolderAndTakesItAwayWhenItFails();
    void secondBackupReplacesTheFirst();
    void failuresKeepTheEarlierBackup_data();
    void failuresKeepTheEarlierBackup();
    void refusesToBackUpOntoTheDatabase();
    void waitsForACommandThatEnds();
};

void TestDatabaseBackup::makesItsFolderAndTakesItAwayWhenItFails()
{
    TemporaryPayeeDatabase database;
    QVERIFY2(database.error().isEmpty(), qPrintable(database.error()));
    DatabaseFiles::addPayees(database, PaymentCategory::Pharmacy, 1200, 200);
    QTemporaryDir location;
    const QDir root(location.path());
    const QString nested = root.filePath(QStringLiteral("Yedek/2026/Aralık/"));
    const Result<> made = DatabaseBackup::copy(database.filePath(), nested);
    QVERIFY2(made.succeeded(), qPrintable(made.message()));
    QCOMPARE(entries(nested), QStringList{QStringLiteral("Data.dat")});

    // A file where a folder should be: said so, and nothing made.
    writeFile(root.filePath(QStringLiteral("Dosya")), "x");
    const Result<> blocked = DatabaseBackup::copy(database.filePath(), root.filePath(QStringLiteral("Dosya/Yedek")));
    QVERIFY(blocked.failed());
    QVERIFY2(blocked.message().startsWith(QStringLiteral("Yedekleme klasörü oluşturulamadı: ")),
             qPrintable(blocked.message()));

    // A backup that does not finish takes the folders it made with it, and
    // leaves a folder that was there before as it was.
    const QStringList before = root.entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
    {
        FileSizeLimit limit(64 * 1024);
        QVERIFY(limit.isApplied());
        const Result<> halfWay = DatabaseBackup::copy(database.filePath(), root.filePath(QStringLiteral("Yeni/2026")));
        QVERIFY(halfWay.failed());
        const Result<> intoExisting = DatabaseBackup::copy(database.filePath(), root.filePath(QStringLiteral("Yedek/2026/Boş")));
        QVERIFY(intoExisting.failed());
    }
    QCOMPARE(root.entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name), before);
    QCOMPARE(QDir(root.filePath(QStringLiteral("Yedek/2026"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("Aralık")});
    QVERIFY(!database.folderEntries().join(QLatin1Char(' ')).contains(QStringLiteral("yedekleniyor")));
}

void TestDatabaseBackup::secondBackupReplacesTheFirst()
{
    // The main window keeps its connection open throughout.
    TemporaryPayeeDatabase database;
    QVERIFY2(database.error().isEmpty(), qPrintable(database.error()));
    DatabaseFiles::addPayees(database, PaymentCategory::Pharmacy, 300, 50);
    DatabaseFiles::addOrders(database, 25);
    QTemporaryDir location;
    const QString folder = QDir(location.path()).filePath(QStringLiteral("Yedek/"));

    const Result<> first = DatabaseBackup::copy(database.filePath(), folder);
    QVERIFY2(first.succeeded(), qPrintable(first.message()));
    const QString backup = DatabaseBackup::targetPath(folder);
    QCOMPARE(DatabaseFiles::allRows(backup), DatabaseFiles::allRows(database.filePath()));

    DatabaseFiles::addPayees(database, PaymentCategory::Treatment, 20, 0, QStringLiteral("HASTA"));
    DatabaseFiles::addOrders(database, 5);
    // What a backup stopped half way left in the folder goes with the next.
    writeFile(QDir(folder).filePath(QStringLiteral("Data.dat.0badc0de.yeni")), "yarım");
    writeFile(QDir(folder).filePath(QStringLiteral("Data.dat.0badc0de.yeni-journal")), "yarım");
    const Result<> second = DatabaseBackup::copy(database.filePath(), folder);
    QVERIFY2(second.succeeded(), qPrintable(second.message()));
    QCOMPARE(DatabaseFiles::allRows(backup), DatabaseFiles::allRows(database.filePath()));
    QCOMPARE(DatabaseFiles::integrity(backup), QStringLiteral("ok"));
    QCOMPARE(DatabaseFiles::userVersion(backup), PayeeDatabase::kSchemaVersion);
    // The register of issued orders is backed up whole, pages included.
    QCOMPARE(DatabaseFiles::allRows(backup).value(QStringLiteral("BelgeSayfa")).size(), 30);

    QCOMPARE(entries(folder), QStringList{QStringLiteral("Data.dat")});
    QCOMPARE(database.folderEntries(), QStringList{QStringLiteral("Data.dat")});
}

void TestDatabaseBackup::failuresKeepTheEarlierBackup_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("said");
    QTest::newRow("damaged database") << "damaged" << "veritabanı dosyası bozuk olduğu için yedeklenmedi";
    QTest::newRow("missing database") << "missing" << "veritabanı dosyası bulunamadı";
    QTest::newRow("write fails half way") << "limit" << "yazılamadı";
    QTest::newRow("read-only backup folder") << "readOnly" << "yazılamadı";
    QTest::newRow("a windowless command runs on")
        << "command" << ". Program klasöründe şu anda pencere olmadan çalışan bir komut (--pdf, --orders-csv) "
                        "sürüyor. İşlem başlatılmadı, hiçbir dosya değiştirilmedi";
}

void TestDatabaseBackup::failuresKeepTheEarlierBackup()
{
    QFETCH(QString, failure);
    QFETCH(QString, said);
    if (failure == QLatin1String("readOnly"))
        QVERIFY2(geteuid() != 0, "root writes into a read-only folder all the same; scripts/test runs the tests as an "
                                 "unprivileged user");

    TemporaryPayeeDatabase database;
    QVERIFY2(database.error().isEmpty(), qPrintable(database.error()));
    DatabaseFiles::addPayees(database, PaymentCategory::Pharmacy, 1200, 200);
    QTemporaryDir location;
    const QString folder = location.path();
    QVERIFY(DatabaseBackup::copy(database.filePath(), folder).succeeded());
    const QString backup = DatabaseBackup::targetPath(folder);
    const QByteArray earlier = DatabaseFiles::fileBytes(backup);
    DatabaseFiles::addPayees(database, PaymentCategory::Hospital, 10, 0, QStringLiteral("HASTANE"));

    Result<> result = Result<>::success();
    if (failure == QLatin1String("damaged")) {
        database.database().close();
        const int page = DatabaseFiles::pageToDamage(database.filePath(), QStringLiteral("Eczane"),
                                                     QStringLiteral("Eczane_EczaneAdi"), true);
        QVERIFY(page > 0);
        DatabaseFiles::damagePage(database.filePath(), page);
        result = DatabaseBackup::copy(database.filePath(), folder);
    } else if (failure == QLatin1String("missing")) {
        database.database().close();
        QVERIFY(QFile::remove(database.filePath()));
        result = DatabaseBackup::copy(database.filePath(), folder);
    } else if (failure == QLatin1String("limit")) {
        FileSizeLimit limit(64 * 1024);
        QVERIFY(limit.isApplied());
        result = DatabaseBackup::copy(database.filePath(), folder);
    } else if (failure == QLatin1String("command")) {
        const Result<FolderAccess> command = FolderAccess::forCommand(database.folder(), 0ms);
        QVERIFY(command.succeeded() && command->isLocked());
        const auto shortWait = FolderAccess::overrideWait(200ms);
        result = DatabaseBackup::copy(database.filePath(), folder);
    } else {
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        result = DatabaseBackup::copy(database.filePath(), folder);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QVERIFY(result.failed());
    QVERIFY2(result.message().startsWith(QStringLiteral("Yedekleme yapılamadı")), qPrintable(result.message()));
    QVERIFY2(result.message().contains(said), qPrintable(result.message()));
    QVERIFY2(result.message().endsWith(QStringLiteral("Önceki yedek olduğu gibi korunuyor.")),
             qPrintable(result.message()));
    QCOMPARE(DatabaseFiles::fileBytes(backup), earlier);
    QCOMPARE(entries(folder), QStringList{QStringLiteral("Data.dat")});
    QVERIFY(!database.folderEntries().join(QLatin1Char(' ')).contains(QStringLiteral("yedekleniyor")));
}

void TestDatabaseBackup::refusesToBackUpOntoTheDatabase()
{
    TemporaryPayeeDatabase database;
    QVERIFY2(database.error().isEmpty(), qPrintable(database.error()));
    DatabaseFiles::addPayees(database, PaymentCategory::Pharmacy, 10);
    const QByteArray before = DatabaseFiles::fileBytes(database.filePath());

    // The dialog's start: the working folder, which is often the program's,
    // with the folder name emptied.
    const Result<> result = DatabaseBackup::copy(database.filePath(), database.folder() + QLatin1Char('/'));
    QVERIFY(result.failed());
    QVERIFY2(result.message().contains(QStringLiteral("veritabanının kendi klasörü olamaz")),
             qPrintable(result.message()));
    QCOMPARE(DatabaseFiles::fileBytes(database.filePath()), before);
    QCOMPARE(database.folderEntries(), QStringList{QStringLiteral("Data.dat")});
}

void TestDatabaseBackup::waitsForACommandThatEnds()
{
    TemporaryPayeeDatabase database;
    QVERIFY2(database.error().isEmpty(), qPrintable(database.error()));
    DatabaseFiles::addPayees(database, PaymentCategory::Pharmacy, 50);
    QTemporaryDir location;
    // A command holds the folder and ends while the backup waits for it.
    Result<FolderAccess> taken = FolderAccess::forCommand(database.folder(), 0ms);
    QVERIFY(taken.succeeded() && taken->isLocked());
    std::optional<FolderAccess> command(std::move(taken).value());
    std::thread ending([&command] {
        std::this_thread::sleep_for(300ms);
        command.reset();
    });
    const Result<> result = DatabaseBackup::copy(database.filePath(), location.path());
    ending.join();
    QVERIFY2(result.succeeded(), qPrintable(result.message()));
    QCOMPARE(DatabaseFiles::allRows(DatabaseBackup::targetPath(location.path())),
             DatabaseFiles::allRows(database.filePath()));
}

QTEST_GUILESS_MAIN(TestDatabaseBackup)
#include "tst_DatabaseBackup.moc"
