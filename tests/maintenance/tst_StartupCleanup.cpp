#include "base/FolderAccess.h"
#include "maintenance/StartupCleanup.h"
#include "support/DatabaseFiles.h"
#include "support/TemporaryPayeeDatabase.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <chrono>

using namespace std::chrono_literals;

namespace {

// A payee database with five payees, made once and copied where needed.
QString payeeDatabase()
{
    static QTemporaryDir folder;
    static const QString path = [] {
        TemporaryPayeeDatabase fixture;
        DatabaseFiles::addPayees(fixture, PaymentCategory::Pharmacy, 5);
        fixture.database().close();
        const QString made = QDir(folder.path()).filePath(QStringLiteral("Data.dat"));
        return QFile::copy(fixture.filePath(), made) ? made : QString();
    }();
    return path;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// "name=db" a payee database, "name=other" some other bytes.
void lay(const QString &folder, const QStringList &files)
{
    for (const QString &file : files) {
        const QString name = file.section(QLatin1Char('='), 0, 0);
        const QString path = QDir(folder).filePath(name);
        if (file.endsWith(QLatin1String("=db")))
            QVERIFY(QFile::copy(payeeDatabase(), path));
        else
            writeFile(path, "başka bir şey " + name.toUtf8());
    }
}

// Without the lock file of commands and maintenance, which stays once made.
QStringList entries(const QString &folder)
{
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    names.removeOne(FolderAccess::fileName());
    return names;
}

} // namespace

class TestStartupCleanup : public QObject
{
    Q_OBJECT

private slots:
    void removesOnlyLeftoversOfOurOwn_data();
    void removesOnlyLeftoversOfOurOwn();
    void backupRecordsTakeTheirStagingFileAlong();
    void leavesEverythingWhileAWindowlessCommandRuns();
    void backupRecordsTakeTheEmptyFoldersTheirBackupMade();
};

void TestStartupCleanup::removesOnlyLeftoversOfOurOwn_data()
{
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("remaining");
    QTest::addColumn<bool>("restored");

    QTest::newRow("a compaction stopped beside a sound database")
        << QStringList{"Data.dat=db", "Yedek.dat=db", "Yedek.dat-journal=other"} << QStringList{"Data.dat"} << false;
    QTest::newRow("a journal left alone by a compaction")
        << QStringList{"Data.dat=db", "Yedek.dat-journal=other"} << QStringList{"Data.dat"} << false;
    QTest::newRow("the only copy comes back") << QStringList{"Yedek.dat=db"} << QStringList{"Data.dat"} << true;
    QTest::newRow("an unsound only copy stays") << QStringList{"Yedek.dat=other"} << QStringList{"Yedek.dat"} << false;
    QTest::newRow("beside a database that does not open, both stay")
        << QStringList{"Data.dat=other", "Yedek.dat=db"} << QStringList{"Data.dat", "Yedek.dat"} << false;
    QTest::newRow("staging files of a new database and of a kept damaged one")
        << QStringList{"Data.dat=db", "Data.dat.1a2b3c4d.yeni=db", "Data.dat.1a2b3c4d.yeni-journal=other",
                       "Data.dat.bozuk-2026-12-10.0badc0de.yeni=other"}
        << QStringList{"Data.dat"} << false;
    QTest::newRow("a conversion of the old database stopped half way")
        << QStringList{"Data.dat=other", "Data.dat.eski=other", "Data.dat.eski-2.0badc0de.yeni=other",
                       "Data.dat.eski.1a2b3c4d.yeni=other", "Data.dat.5e6f7a8b.yeni=db"}
        << QStringList{"Data.dat", "Data.dat.eski"} << false;
    QTest::newRow("an old program's folder brought over stopped half way")
        << QStringList{"Data.dat=db", "Zenparol.ini=other", "Zenparol.ini.1a2b3c4d.yeni=other",
                       "Zenparol.ini.onceki.0badc0de.yeni=other", "Data.dat.onceki=db",
                       "Data.dat.onceki-2.5e6f7a8b.yeni=other", "Zenparol.ini.onceki-2=other"}
        << QStringList{"Data.dat", "Data.dat.onceki", "Zenparol.ini", "Zenparol.ini.onceki-2"} << false;
    QTest::newRow("staging of a new database beside none")
        << QStringList{"Data.dat.1a2b3c4d.yeni=db"} << QStringList{} << false;
    const QStringList untouched{"Data.dat-journal=other",
                                "Data.dat.1A2B3C4D.yeni=other",
                                "Data.dat.1a2b3c4g.yeni=other",
                                "Data.dat.bozuk-2026-12-10=other",
                                "Data.dat.bozuk-2026-12-10-2=other",
                                "Data.dat.eski=other",
                                "Data.dat.eski-2=other",
                                "Data.dat.eski.yeni=other",
                                "Data.dat.yeni=other",
                                "Data.dat=db",
                                "Yedek.dat.1a2b3c4d.yeni=other",
                                "Yedek.txt=other",
                                "Zenparol.ini=other",
                                "notlar.1a2b3c4d.yeni=other"};
    QStringList names;
    for (const QString &file : untouched)
        names << file.section(QLatin1Char('='), 0, 0);
    names.sort();
    QTest::newRow("the database, its journal, kept files and others' files") << untouched << names << false;
}

void TestStartupCleanup::removesOnlyLeftoversOfOurOwn()
{
    QFETCH(QStringList, present);
    QFETCH(QStringList, remaining);
    QFETCH(bool, restored);
    QTemporaryDir folder;
    lay(folder.path(), present);
    const QString database = QDir(folder.path()).filePath(QStringLiteral("Data.dat"));
    const QByteArray databaseBefore = DatabaseFiles::fileBytes(database);

    const StartupCleanup::Report report = StartupCleanup::run(folder.path());
    QCOMPARE(entries(folder.path()), remaining);
    QCOMPARE(report.databaseRestored, restored);
    QCOMPARE(report.removed.size(), present.size() - remaining.size());
    if (restored) {
        QCOMPARE(DatabaseFiles::allRows(database).value(QStringLiteral("Eczane")).size(), 5);
        QVERIFY(report.message().contains(QStringLiteral("Yedek.dat")));
    } else {
        QVERIFY(report.message().isEmpty());
        if (remaining.contains(QStringLiteral("Data.dat")))
            QCOMPARE(DatabaseFiles::fileBytes(database), databaseBefore);
    }
}

void TestStartupCleanup::backupRecordsTakeTheirStagingFileAlong()
{
    QTemporaryDir program;
    QTemporaryDir backups;
    lay(program.path(), {QStringLiteral("Data.dat=db")});
    lay(backups.path(), {QStringLiteral("Data.dat=db"), QStringLiteral("Data.dat.0badc0de.yeni=other"),
                         QStringLiteral("Data.dat.0badc0de.yeni-journal=other"),
                         QStringLiteral("Data.dat.1a2b3c4d.yeni=other")});
    const QByteArray backup = DatabaseFiles::fileBytes(QDir(backups.path()).filePath(QStringLiteral("Data.dat")));
    auto record = [&](const QString &hex, const QString &names) {
        writeFile(QDir(program.path()).filePath(QStringLiteral("Data.dat.%1.yedekleniyor").arg(hex)),
                  QDir(backups.path()).filePath(names).toUtf8());
    };
    // A record of a backup that was stopped, one that names the backup
    // itself, and one whose digits are not those of the file it names.
    record(QStringLiteral("0badc0de"), QStringLiteral("Data.dat.0badc0de.yeni"));
    record(QStringLiteral("12345678"), QStringLiteral("Data.dat"));
    record(QStringLiteral("87654321"), QStringLiteral("Data.dat.1a2b3c4d.yeni"));

    StartupCleanup::run(program.path());
    QCOMPARE(entries(program.path()), QStringList{QStringLiteral("Data.dat")});
    QCOMPARE(entries(backups.path()), (QStringList{QStringLiteral("Data.dat"), QStringLiteral("Data.dat.1a2b3c4d.yeni")}));
    QCOMPARE(DatabaseFiles::fileBytes(QDir(backups.path()).filePath(QStringLiteral("Data.dat"))), backup);
}

void TestStartupCleanup::leavesEverythingWhileAWindowlessCommandRuns()
{
    QTemporaryDir folder;
    const QStringList present{"Data.dat=db", "Yedek.dat=db", "Data.dat.1a2b3c4d.yeni=db"};
    lay(folder.path(), present);
    {
        const Result<FolderAccess> command = FolderAccess::forCommand(folder.path(), 0ms);
        QVERIFY(command.succeeded() && command->isLocked());
        const auto shortWait = FolderAccess::overrideWait(200ms);
        const StartupCleanup::Report busy = StartupCleanup::run(folder.path());
        QVERIFY(busy.folderBusy);
        QVERIFY(busy.removed.isEmpty());
        QCOMPARE(busy.message(),
                 QStringLiteral("Program klasöründe pencere olmadan çalışan bir komut (--pdf, --orders-csv) sürdüğü "
                                "için yarım kalmış işlemlerden kalan dosyalara bu açılışta bakılmadı. Hiçbir dosya "
                                "silinmedi; bu iş programın bir sonraki açılışında yapılacak."));
        QCOMPARE(entries(folder.path()), (QStringList{"Data.dat", "Data.dat.1a2b3c4d.yeni", "Yedek.dat"}));
    }
    // The next start, with the command gone.
    const StartupCleanup::Report report = StartupCleanup::run(folder.path());
    QVERIFY(!report.folderBusy);
    QCOMPARE(entries(folder.path()), QStringList{"Data.dat"});
}

void TestStartupCleanup::backupRecordsTakeTheEmptyFoldersTheirBackupMade()
{
    QTemporaryDir program;
    QTemporaryDir location;
    lay(program.path(), {QStringLiteral("Data.dat=db")});
    const QDir root(location.path());
    // A backup into "Yedek/2026" that made both, stopped while it wrote.
    QVERIFY(root.mkpath(QStringLiteral("Yedek/2026")));
    lay(root.filePath(QStringLiteral("Yedek/2026")), {QStringLiteral("Data.dat.0badc0de.yeni=other")});
    // One into "Dolu/Yeni" that made both, and someone put a file in the
    // outer one meanwhile; and a record naming a folder its staging file
    // is not in.
    QVERIFY(root.mkpath(QStringLiteral("Dolu/Yeni")));
    lay(root.filePath(QStringLiteral("Dolu")), {QStringLiteral("not.txt=other")});
    QVERIFY(root.mkpath(QStringLiteral("Baska")));
    auto record = [&](const QString &hex, const QString &staging, const QStringList &folders) {
        QStringList lines{root.filePath(staging)};
        for (const QString &folder : folders)
            lines.append(root.filePath(folder));
        writeFile(QDir(program.path()).filePath(QStringLiteral("Data.dat.%1.yedekleniyor").arg(hex)),
                  lines.join(u'\n').toUtf8());
    };
    record(QStringLiteral("0badc0de"), QStringLiteral("Yedek/2026/Data.dat.0badc0de.yeni"),
           {QStringLiteral("Yedek"), QStringLiteral("Yedek/2026")});
    record(QStringLiteral("1a2b3c4d"), QStringLiteral("Dolu/Yeni/Data.dat.1a2b3c4d.yeni"),
           {QStringLiteral("Dolu"), QStringLiteral("Dolu/Yeni")});
    record(QStringLiteral("2b3c4d5e"), QStringLiteral("Yok/Data.dat.2b3c4d5e.yeni"), {QStringLiteral("Baska")});

    StartupCleanup::run(program.path());
    QCOMPARE(entries(program.path()), QStringList{QStringLiteral("Data.dat")});
    QCOMPARE(root.entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name),
             (QStringList{QStringLiteral("Baska"), QStringLiteral("Dolu")}));
    QCOMPARE(QDir(root.filePath(QStringLiteral("Dolu"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("not.txt")});
}

QTEST_GUILESS_MAIN(TestStartupCleanup)
#include "tst_StartupCleanup.moc"
