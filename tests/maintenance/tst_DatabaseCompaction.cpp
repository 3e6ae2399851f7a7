#include "maintenance/DatabaseCompaction.h"
#include "maintenance/FileSizeText.h"
#include "maintenance/MaintenanceFiles.h"
#include "registry/PayeeDatabase.h"
#include "support/DatabaseFiles.h"
#include "support/FileSizeLimit.h"
#include "support/TemporaryPayeeDatabase.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <chrono>

using namespace std::chrono_literals;

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void run(SqlCipherConnection &connection, const QString &sql)
{
    const SqlCipherConnection::Error error = connection.execute(sql);
    QVERIFY2(!error.isError(), qPrintable(error.detail));
}

// The wizard's two files in the fixture's program folder.
struct Files
{
    QString database;
    QString compacted;
    explicit Files(const TemporaryPayeeDatabase &fixture)
        : database(fixture.filePath())
        , compacted(QDir(fixture.folder()).filePath(QStringLiteral("Yedek.dat")))
    {
    }
};

qint64 payeeCount(const QMap<QString, QStringList> &rows)
{
    qint64 count = 0;
    for (const char *table : {"Eczane", "Hastane", "Tedavi", "Ozel"})
        count += rows.value(QString::fromLatin1(table)).size();
    return count;
}

} // namespace

class TestDatabaseCompaction : public QObject
{
    Q_OBJECT

private slots:
    void compactsAfterManyDeletions();
    void failureLeavesTheDatabaseUntouched_data();
    void failureLeavesTheDatabaseUntouched();
    void leftoverOfAStoppedRunIsRemovedOnlyBesideASoundDatabase();
    void repairSavesWhatCanBeReadAndKeepsTheDamagedFile();
    void neverRenamesOverADatabaseThatIsBeingWritten();
    void notWhileAWindowlessCommandRuns();
};

void TestDatabaseCompaction::compactsAfterManyDeletions()
{
    TemporaryPayeeDatabase fixture;
    QVERIFY2(fixture.error().isEmpty(), qPrintable(fixture.error()));
    DatabaseFiles::addPayees(fixture, PaymentCategory::Pharmacy, 2000, 150);
    DatabaseFiles::addPayees(fixture, PaymentCategory::Private, 30, 0, QStringLiteral("ÖZEL"));
    DatabaseFiles::addOrders(fixture, 40);
    run(fixture.connection(), QStringLiteral("DELETE FROM Eczane WHERE Id % 4 <> 0"));
    // A table of a later schema comes along.
    run(fixture.connection(), QStringLiteral("CREATE TABLE OdemeEmri (No TEXT); INSERT INTO OdemeEmri VALUES ('2026/1');"));
    fixture.database().close();
    const Files files(fixture);
    const QMap<QString, QStringList> before = DatabaseFiles::allRows(files.database);
    const QString sizeBefore = FileSizeText(files.database);
    const qint64 bytesBefore = QFileInfo(files.database).size();

    DatabaseCompaction::Outcome outcome = DatabaseCompaction::compactInPlace(files.database, files.compacted);
    QVERIFY2(outcome.succeeded(), qPrintable(outcome.result.message()));
    QVERIFY(!outcome.repaired);

    QVERIFY2(QFileInfo(files.database).size() < bytesBefore / 2,
             qPrintable(QStringLiteral("%1 -> %2").arg(bytesBefore).arg(QFileInfo(files.database).size())));
    QVERIFY(FileSizeText(files.database) != sizeBefore);
    QCOMPARE(DatabaseFiles::allRows(files.database), before);
    // The register of issued orders is kept whole, pages included.
    QCOMPARE(before.value(QStringLiteral("Belge")).size(), 40);
    QCOMPARE(before.value(QStringLiteral("BelgeSayfa")).size(), 40);
    QCOMPARE(DatabaseFiles::userVersion(files.database), PayeeDatabase::kSchemaVersion);
    QVERIFY(!DatabaseFiles::fileBytes(files.database).contains("ECZANE 00004"));
    QCOMPARE(fixture.folderEntries(), QStringList{QStringLiteral("Data.dat")});

    // The restarted program opens it as it opened the old one.
    PayeeDatabase reopened;
    QVERIFY(reopened.open(files.database).isOpened());
    QCOMPARE(reopened.connection().queryInt64(QStringLiteral("SELECT count(*) FROM Eczane")), 500);
    // and the register still refuses to lose a record.
    QCOMPARE(reopened.connection().execute(QStringLiteral("DELETE FROM Belge")).failure,
             SqlCipherConnection::Failure::Constraint);
}

void TestDatabaseCompaction::failureLeavesTheDatabaseUntouched_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("said");
    QTest::newRow("no database") << "missing" << "veritabanı dosyası bulunamadı";
    QTest::newRow("another program's file") << "foreign" << "başka bir parolayla şifrelenmiş";
    QTest::newRow("disk full half way") << "limit" << "yazılamadı";
    QTest::newRow("a folder where Yedek.dat goes") << "folder" << "silinemedi";
}

void TestDatabaseCompaction::failureLeavesTheDatabaseUntouched()
{
    QFETCH(QString, failure);
    QFETCH(QString, said);
    TemporaryPayeeDatabase fixture;
    QVERIFY2(fixture.error().isEmpty(), qPrintable(fixture.error()));
    DatabaseFiles::addPayees(fixture, PaymentCategory::Pharmacy, 1000, 200);
    fixture.database().close();
    const Files files(fixture);
    QStringList expectedEntries{QStringLiteral("Data.dat")};
    if (failure == QLatin1String("missing")) {
        QVERIFY(QFile::remove(files.database));
        expectedEntries.clear();
    } else if (failure == QLatin1String("foreign")) {
        QVERIFY(QFile::remove(files.database));
        writeFile(files.database, "EczaneAdi;BankaSube\nŞİŞLİ;MECİDİYEKÖY\n");
    } else if (failure == QLatin1String("folder")) {
        QVERIFY(QDir(fixture.folder()).mkdir(QStringLiteral("Yedek.dat")));
        expectedEntries.append(QStringLiteral("Yedek.dat"));
    }
    const QByteArray bytes = DatabaseFiles::fileBytes(files.database);

    DatabaseCompaction::Outcome outcome;
    if (failure == QLatin1String("limit")) {
        FileSizeLimit limit(64 * 1024);
        QVERIFY(limit.isApplied());
        outcome = DatabaseCompaction::compactInPlace(files.database, files.compacted);
    } else {
        outcome = DatabaseCompaction::compactInPlace(files.database, files.compacted);
    }
    QVERIFY(!outcome.succeeded());
    const QString message = outcome.result.message();
    QVERIFY2(message.startsWith(QStringLiteral("Veritabanı sıkıştırılamadı: ")), qPrintable(message));
    QVERIFY2(message.contains(said), qPrintable(message));
    QVERIFY2(message.endsWith(QStringLiteral("Veritabanı dosyası değiştirilmedi.")), qPrintable(message));
    QCOMPARE(DatabaseFiles::fileBytes(files.database), bytes);
    QCOMPARE(fixture.folderEntries(), expectedEntries);
}

void TestDatabaseCompaction::leftoverOfAStoppedRunIsRemovedOnlyBesideASoundDatabase()
{
    TemporaryPayeeDatabase fixture;
    QVERIFY2(fixture.error().isEmpty(), qPrintable(fixture.error()));
    DatabaseFiles::addPayees(fixture, PaymentCategory::Pharmacy, 50);
    fixture.database().close();
    const Files files(fixture);
    const QByteArray sound = DatabaseFiles::fileBytes(files.database);
    writeFile(files.compacted, "yarım kalmış sıkıştırma");
    writeFile(MaintenanceFiles::journalOf(files.compacted), "günlük");

    // Beside a database that does not open, the leftover may be all there is.
    writeFile(files.database, "başka bir dosya");
    DatabaseCompaction::Outcome refused = DatabaseCompaction::compactInPlace(files.database, files.compacted);
    QVERIFY(!refused.succeeded());
    QCOMPARE(DatabaseFiles::fileBytes(files.compacted), QByteArray("yarım kalmış sıkıştırma"));

    writeFile(files.database, sound);
    DatabaseCompaction::Outcome outcome = DatabaseCompaction::compactInPlace(files.database, files.compacted);
    QVERIFY2(outcome.succeeded(), qPrintable(outcome.result.message()));
    QCOMPARE(fixture.folderEntries(), QStringList{QStringLiteral("Data.dat")});
    QCOMPARE(DatabaseFiles::allRows(files.database).value(QStringLiteral("Eczane")).size(), 50);
}

void TestDatabaseCompaction::repairSavesWhatCanBeReadAndKeepsTheDamagedFile()
{
    TemporaryPayeeDatabase fixture;
    QVERIFY2(fixture.error().isEmpty(), qPrintable(fixture.error()));
    DatabaseFiles::addPayees(fixture, PaymentCategory::Pharmacy, 1500, 200);
    DatabaseFiles::addPayees(fixture, PaymentCategory::Hospital, 25, 0, QStringLiteral("HASTANE"));
    fixture.database().close();
    const Files files(fixture);
    const QMap<QString, QStringList> before = DatabaseFiles::allRows(files.database);
    const int page = DatabaseFiles::pageToDamage(files.database, QStringLiteral("Eczane"),
                                                 QStringLiteral("Eczane_EczaneAdi"), true);
    QVERIFY(page > 0);
    DatabaseFiles::damagePage(files.database, page);
    const QByteArray damaged = DatabaseFiles::fileBytes(files.database);
    // A file kept by an earlier repair the same day keeps its name.
    const QDate today(2026, 12, 10);
    const QString earlier = files.database + QStringLiteral(".bozuk-2026-12-10");
    writeFile(earlier, "önceki onarım");

    DatabaseCompaction::Outcome outcome = DatabaseCompaction::CompactDatabaseFile(files.database, files.compacted);
    QVERIFY2(outcome.succeeded(), qPrintable(outcome.result.message()));
    QVERIFY(outcome.repaired);
    const Result<> placed = DatabaseCompaction::putInPlace(files.compacted, files.database, outcome, today);
    QVERIFY2(placed.succeeded(), qPrintable(placed.message()));

    const QMap<QString, QStringList> after = DatabaseFiles::allRows(files.database);
    QCOMPARE(DatabaseFiles::integrity(files.database), QStringLiteral("ok"));
    QCOMPARE(after.value(QStringLiteral("Hastane")), before.value(QStringLiteral("Hastane")));
    QVERIFY(outcome.lost > 0);
    QVERIFY(outcome.lostExact);
    QCOMPARE(outcome.recovered, payeeCount(after));
    QCOMPARE(outcome.recovered + outcome.lost, payeeCount(before));
    QVERIFY(PayeeDatabase().open(files.database).isOpened());

    QCOMPARE(outcome.damagedCopyPath, earlier + QStringLiteral("-2"));
    QCOMPARE(DatabaseFiles::fileBytes(outcome.damagedCopyPath), damaged);
    QCOMPARE(DatabaseFiles::fileBytes(earlier), QByteArray("önceki onarım"));
    QCOMPARE(fixture.folderEntries(), (QStringList{QStringLiteral("Data.dat"), QStringLiteral("Data.dat.bozuk-2026-12-10"),
                                                   QStringLiteral("Data.dat.bozuk-2026-12-10-2")}));

    QCOMPARE(outcome.repairSummary(), QStringLiteral("Onarıldı: %1 kayıt kurtarıldı, %2 kayıt okunamadı")
                                          .arg(QLocale(QLocale::Turkish).toString(outcome.recovered))
                                          .arg(outcome.lost));
    QVERIFY(outcome.repairReport().contains(QDir::toNativeSeparators(outcome.damagedCopyPath)));
}

void TestDatabaseCompaction::neverRenamesOverADatabaseThatIsBeingWritten()
{
    TemporaryPayeeDatabase fixture;
    QVERIFY2(fixture.error().isEmpty(), qPrintable(fixture.error()));
    DatabaseFiles::addPayees(fixture, PaymentCategory::Pharmacy, 50);
    fixture.database().close();
    const Files files(fixture);
    const QByteArray bytes = DatabaseFiles::fileBytes(files.database);

    DatabaseCompaction::Outcome outcome = DatabaseCompaction::CompactDatabaseFile(files.database, files.compacted);
    QVERIFY2(outcome.succeeded(), qPrintable(outcome.result.message()));
    // Another program begins to write between the two steps: its journal
    // would be played back into the new file.
    const QString journal = MaintenanceFiles::journalOf(files.database);
    writeFile(journal, QByteArray(512, '\x01'));
    const Result<> placed = DatabaseCompaction::putInPlace(files.compacted, files.database, outcome);
    QVERIFY(placed.failed());
    QVERIFY2(placed.message().contains(QStringLiteral("başka bir program tarafından yazılıyor")),
             qPrintable(placed.message()));
    QCOMPARE(DatabaseFiles::fileBytes(files.database), bytes);
    QCOMPARE(fixture.folderEntries(), (QStringList{QStringLiteral("Data.dat"), QStringLiteral("Data.dat-journal")}));
}

void TestDatabaseCompaction::notWhileAWindowlessCommandRuns()
{
    // An order a command recorded between the copy and the rename would go
    // with the old file: the compaction waits, and then gives up untouched.
    TemporaryPayeeDatabase fixture;
    QVERIFY2(fixture.error().isEmpty(), qPrintable(fixture.error()));
    DatabaseFiles::addPayees(fixture, PaymentCategory::Pharmacy, 100);
    fixture.database().close();
    const Files files(fixture);
    const QByteArray bytes = DatabaseFiles::fileBytes(files.database);
    {
        const Result<FolderAccess> command = FolderAccess::forCommand(fixture.folder(), 0ms);
        QVERIFY(command.succeeded() && command->isLocked());
        const auto shortWait = FolderAccess::overrideWait(200ms);
        const DatabaseCompaction::Outcome refused = DatabaseCompaction::compactInPlace(files.database, files.compacted);
        QVERIFY(!refused.succeeded());
        QCOMPARE(refused.result.message(),
                 QStringLiteral("Veritabanı sıkıştırılamadı. Program klasöründe şu anda pencere olmadan çalışan bir "
                                "komut (--pdf, --orders-csv) sürüyor. İşlem başlatılmadı, hiçbir dosya "
                                "değiştirilmedi; komut bittikten sonra yeniden deneyin."));
        QCOMPARE(DatabaseFiles::fileBytes(files.database), bytes);
        QCOMPARE(fixture.folderEntries(), QStringList{QStringLiteral("Data.dat")});
        // The wizard's two steps ask the same.
        const auto noWait = FolderAccess::overrideWait(0ms);
        QVERIFY(DatabaseCompaction::reserveFolder(files.database).failed());
    }
    const DatabaseCompaction::Outcome outcome = DatabaseCompaction::compactInPlace(files.database, files.compacted);
    QVERIFY2(outcome.succeeded(), qPrintable(outcome.result.message()));
}

QTEST_GUILESS_MAIN(TestDatabaseCompaction)
#include "tst_DatabaseCompaction.moc"
