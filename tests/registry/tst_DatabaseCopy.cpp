#include "registry/DatabaseCopy.h"
#include "registry/DatabaseSalvage.h"
#include "registry/PayeeDatabase.h"
#include "support/DatabaseFiles.h"
#include "support/TemporaryPayeeDatabase.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using DatabaseCopy::Problem;

namespace {

// The payment orders of a later schema version, with what such a table
// brings along: an index, an AUTOINCREMENT counter, a trigger writing into a
// second table, a view and a BLOB column.
const char *const kLaterSchema = R"(
CREATE TABLE OdemeEmri (Id INTEGER PRIMARY KEY AUTOINCREMENT, No TEXT NOT NULL, Tutar INTEGER, Belge BLOB);
CREATE INDEX OdemeEmri_No ON OdemeEmri (No);
CREATE TABLE OdemeGunluk (Aciklama TEXT);
CREATE TRIGGER OdemeEmri_Gunluk AFTER INSERT ON OdemeEmri
  BEGIN INSERT INTO OdemeGunluk VALUES ('eklendi ' || NEW.No); END;
CREATE VIEW BuyukOdemeler AS SELECT No FROM OdemeEmri WHERE Tutar > 1000;
)";

QString fileIn(const TemporaryPayeeDatabase &database, const QString &name)
{
    return QDir(database.folder()).filePath(name);
}

void run(SqlCipherConnection &connection, const QString &sql)
{
    const SqlCipherConnection::Error error = connection.execute(sql);
    QVERIFY2(!error.isError(), qPrintable(error.detail + QStringLiteral(" in ") + sql));
}

// Many deleted payees, and the later schema's tables with rows.
void fillWithHistory(TemporaryPayeeDatabase &database)
{
    DatabaseFiles::addPayees(database, PaymentCategory::Pharmacy, 1500, 150);
    DatabaseFiles::addPayees(database, PaymentCategory::Hospital, 40, 0, QStringLiteral("HASTANE"));
    SqlCipherConnection &connection = database.connection();
    run(connection, QStringLiteral("DELETE FROM Eczane WHERE Id % 3 <> 0"));
    run(connection, QString::fromUtf8(kLaterSchema));
    run(connection, QStringLiteral("BEGIN"));
    for (int i = 1; i <= 30; ++i) {
        run(connection, QStringLiteral("INSERT INTO OdemeEmri (No, Tutar, Belge) VALUES ('2026/%1', %2, x'00ff%3')")
                            .arg(i)
                            .arg(i * 100)
                            .arg(i, 2, 16, QLatin1Char('0')));
    }
    run(connection, QStringLiteral("COMMIT"));
    // The counter now stands above the highest key.
    run(connection, QStringLiteral("DELETE FROM OdemeEmri WHERE Id = 30"));
    run(connection, QStringLiteral("PRAGMA user_version = %1").arg(PayeeDatabase::kSchemaVersion));
}

} // namespace

class TestDatabaseCopy : public QObject
{
    Q_OBJECT

private slots:
    void copiesEveryTableCompactlyUnderThePassword();
    void copyReadsOneStateWhileAnotherConnectionWrites();
    void refusesADamagedSourceAndLeavesNoTarget();
    void neverWritesOverAFileInTheWay_data();
    void neverWritesOverAFileInTheWay();
    void salvagesWhatCanBeRead_data();
    void salvagesWhatCanBeRead();
    void salvageCannotStartWithoutTheFirstPage();
};

void TestDatabaseCopy::copiesEveryTableCompactlyUnderThePassword()
{
    TemporaryPayeeDatabase database;
    QVERIFY2(database.error().isEmpty(), qPrintable(database.error()));
    fillWithHistory(database);
    if (QTest::currentTestFailed())
        return;
    const QString source = database.filePath();
    const QString target = fileIn(database, QStringLiteral("Kopya.dat"));
    const QByteArray sourceBytes = DatabaseFiles::fileBytes(source);
    const QMap<QString, QStringList> sourceRows = DatabaseFiles::allRows(source);

    const DatabaseCopy::Outcome outcome = DatabaseCopy::exportCopy(source, target);
    QVERIFY2(outcome.succeeded(), qPrintable(outcome.detail));
    QCOMPARE(outcome.contents.rows.value(QStringLiteral("Eczane")), 500);
    QCOMPARE(outcome.contents.rows.value(QStringLiteral("OdemeEmri")), 29);
    QCOMPARE(outcome.contents.userVersion, PayeeDatabase::kSchemaVersion);

    QCOMPARE(DatabaseFiles::fileBytes(source), sourceBytes);
    QCOMPARE(DatabaseFiles::integrity(target), QStringLiteral("ok"));
    QCOMPARE(DatabaseFiles::allRows(target), sourceRows);
    QCOMPARE(DatabaseFiles::userVersion(target), PayeeDatabase::kSchemaVersion);
    QVERIFY2(QFileInfo(target).size() < QFileInfo(source).size() / 2,
             qPrintable(QStringLiteral("%1 -> %2").arg(QFileInfo(source).size()).arg(QFileInfo(target).size())));
    QCOMPARE(QDir(database.folder()).entryList(QDir::Files | QDir::Hidden),
             (QStringList{QStringLiteral("Data.dat"), QStringLiteral("Kopya.dat")}));

    // Encrypted: neither the file's header nor a name nor the schema shows.
    const QByteArray bytes = DatabaseFiles::fileBytes(target);
    QVERIFY(!bytes.startsWith("SQLite format 3"));
    QVERIFY(!bytes.contains("ECZANE 00003"));
    QVERIFY(!bytes.contains(QStringLiteral("ŞUBE").toUtf8()));
    QVERIFY(!bytes.contains("CREATE TABLE"));

    // The copy is a payee database that works: the trigger fires, the view
    // reads, and the counter hands out no key twice.
    PayeeDatabase copy;
    QVERIFY2(copy.open(target).isOpened(), "the copy does not open as a payee database");
    SqlCipherConnection &connection = copy.connection();
    run(connection, QStringLiteral("INSERT INTO OdemeEmri (No, Tutar) VALUES ('2026/31', 5000)"));
    QCOMPARE(connection.lastInsertRowId(), 31);
    QCOMPARE(connection.queryInt64(QStringLiteral("SELECT count(*) FROM OdemeGunluk")), 31);
    QCOMPARE(connection.queryInt64(QStringLiteral("SELECT count(*) FROM BuyukOdemeler")), 20);
}

void TestDatabaseCopy::copyReadsOneStateWhileAnotherConnectionWrites()
{
    TemporaryPayeeDatabase database;
    QVERIFY2(database.error().isEmpty(), qPrintable(database.error()));
    DatabaseFiles::addPayees(database, PaymentCategory::Pharmacy, 200);
    const QMap<QString, QStringList> committed = DatabaseFiles::allRows(database.filePath());

    // Another program has written rows and not committed them yet.
    std::unique_ptr<PayeeDatabase> writer = database.openSecondConnection();
    run(writer->connection(), QStringLiteral("BEGIN IMMEDIATE"));
    run(writer->connection(), QStringLiteral("DELETE FROM Eczane WHERE Id <= 100"));
    run(writer->connection(), QStringLiteral("INSERT INTO Tedavi (Adi) VALUES ('YARIM KAYIT')"));

    const QString target = fileIn(database, QStringLiteral("Kopya.dat"));
    const DatabaseCopy::Outcome outcome = DatabaseCopy::exportCopy(database.filePath(), target);
    QVERIFY2(outcome.succeeded(), qPrintable(outcome.detail));
    QCOMPARE(DatabaseFiles::allRows(target), committed);

    // The writer was not shut out: it commits once the copy is done.
    run(writer->connection(), QStringLiteral("COMMIT"));
    QCOMPARE(database.tableNames(PaymentCategory::Pharmacy).size(), 100);
}

void TestDatabaseCopy::refusesADamagedSourceAndLeavesNoTarget()
{
    TemporaryPayeeDatabase database;
    QVERIFY2(database.error().isEmpty(), qPrintable(database.error()));
    DatabaseFiles::addPayees(database, PaymentCategory::Pharmacy, 1500, 200);
    database.database().close();
    const int page = DatabaseFiles::pageToDamage(database.filePath(), QStringLiteral("Eczane"),
                                                 QStringLiteral("Eczane_EczaneAdi"), true);
    QVERIFY(page > 0);
    DatabaseFiles::damagePage(database.filePath(), page);
    const QByteArray damaged = DatabaseFiles::fileBytes(database.filePath());

    const QString target = fileIn(database, QStringLiteral("Kopya.dat"));
    const DatabaseCopy::Outcome outcome = DatabaseCopy::exportCopy(database.filePath(), target);
    QCOMPARE(outcome.problem, Problem::SourceDamaged);
    QCOMPARE(DatabaseFiles::fileBytes(database.filePath()), damaged);
    QCOMPARE(database.folderEntries(), QStringList{QStringLiteral("Data.dat")});
    QCOMPARE(DatabaseCopy::inspect(database.filePath()).problem, Problem::SourceDamaged);
}

void TestDatabaseCopy::neverWritesOverAFileInTheWay_data()
{
    QTest::addColumn<QString>("inTheWay");
    QTest::newRow("the target") << QStringLiteral("Kopya.dat");
    QTest::newRow("a journal of the target") << QStringLiteral("Kopya.dat-journal");
}

void TestDatabaseCopy::neverWritesOverAFileInTheWay()
{
    QFETCH(QString, inTheWay);
    TemporaryPayeeDatabase database;
    QVERIFY2(database.error().isEmpty(), qPrintable(database.error()));
    const QString blocker = fileIn(database, inTheWay);
    {
        QFile file(blocker);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("önceki yedek");
    }
    const QString target = fileIn(database, QStringLiteral("Kopya.dat"));
    QCOMPARE(DatabaseCopy::exportCopy(database.filePath(), target).problem, Problem::TargetExists);
    QCOMPARE(DatabaseCopy::salvage(database.filePath(), target).problem, Problem::TargetExists);
    QCOMPARE(DatabaseFiles::fileBytes(blocker), QByteArray("önceki yedek"));
}

void TestDatabaseCopy::salvagesWhatCanBeRead_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("index");
    QTest::addColumn<bool>("rowsLost");
    QTest::addColumn<bool>("countKnown");
    QTest::newRow("a page of payees") << "Eczane" << "Eczane_EczaneAdi" << true << true;
    QTest::newRow("a page of the name index") << "Eczane" << "Eczane_EczaneAdi" << false << true;
    QTest::newRow("a page of a table without an index") << "Notlar" << "" << true << false;
}

void TestDatabaseCopy::salvagesWhatCanBeRead()
{
    QFETCH(QString, table);
    QFETCH(QString, index);
    QFETCH(bool, rowsLost);
    QFETCH(bool, countKnown);

    TemporaryPayeeDatabase database;
    QVERIFY2(database.error().isEmpty(), qPrintable(database.error()));
    DatabaseFiles::addPayees(database, PaymentCategory::Pharmacy, 2000, 200);
    run(database.connection(), QStringLiteral("CREATE TABLE Notlar (Metin TEXT); PRAGMA user_version = 3;"));
    run(database.connection(), QStringLiteral("BEGIN"));
    for (int i = 0; i < 600; ++i)
        run(database.connection(), QStringLiteral("INSERT INTO Notlar VALUES ('not %1 %2')").arg(i).arg(QString(200, u'n')));
    run(database.connection(), QStringLiteral("COMMIT"));
    database.database().close();
    const QString source = database.filePath();
    const QMap<QString, QStringList> before = DatabaseFiles::allRows(source);
    qint64 total = 0;
    for (const QStringList &rows : before)
        total += rows.size();
    total -= before.value(QStringLiteral("sqlite_sequence")).size();

    const int page = DatabaseFiles::pageToDamage(source, table, index, rowsLost);
    QVERIFY(page > 0);
    DatabaseFiles::damagePage(source, page);

    const QString target = fileIn(database, QStringLiteral("Kurtarilan.dat"));
    const DatabaseCopy::Salvage salvage = DatabaseCopy::salvage(source, target);
    QVERIFY2(salvage.succeeded(), qPrintable(salvage.detail));
    QCOMPARE(DatabaseFiles::integrity(target), QStringLiteral("ok"));
    QCOMPARE(DatabaseFiles::userVersion(target), 3);
    QVERIFY(!QFileInfo::exists(target + QStringLiteral("-journal")));

    // Every row saved is a row the file held, unchanged.
    const QMap<QString, QStringList> after = DatabaseFiles::allRows(target);
    qint64 saved = 0;
    for (auto rows = after.cbegin(); rows != after.cend(); ++rows) {
        if (rows.key() == QLatin1String("sqlite_sequence"))
            continue;
        saved += rows.value().size();
        for (const QString &row : rows.value())
            QVERIFY2(before.value(rows.key()).contains(row), qPrintable(rows.key() + QStringLiteral(": ") + row));
    }
    QCOMPARE(salvage.recovered, saved);
    QCOMPARE(salvage.lostExact, countKnown);
    if (!rowsLost) {
        QCOMPARE(salvage.lost, 0);
        for (auto rows = before.cbegin(); rows != before.cend(); ++rows)
            QVERIFY2(after.value(rows.key()) == rows.value(), qPrintable(rows.key()));
        QCOMPARE(after.keys(), before.keys());
        return;
    }
    QVERIFY(saved < total);
    // One page holds a handful of rows; the pages around it are saved.
    QVERIFY2(total - saved <= 20, qPrintable(QString::number(total - saved)));
    if (countKnown)
        QCOMPARE(salvage.recovered + salvage.lost, total);
    QCOMPARE(after.value(QStringLiteral("sqlite_sequence")), before.value(QStringLiteral("sqlite_sequence")));
}

void TestDatabaseCopy::salvageCannotStartWithoutTheFirstPage()
{
    TemporaryPayeeDatabase database;
    QVERIFY2(database.error().isEmpty(), qPrintable(database.error()));
    DatabaseFiles::addPayees(database, PaymentCategory::Pharmacy, 100);
    database.database().close();
    DatabaseFiles::damagePage(database.filePath(), 1);

    const QString target = fileIn(database, QStringLiteral("Kurtarilan.dat"));
    const DatabaseCopy::Salvage salvage = DatabaseCopy::salvage(database.filePath(), target);
    QVERIFY(!salvage.succeeded());
    QCOMPARE(database.folderEntries(), QStringList{QStringLiteral("Data.dat")});
}

QTEST_GUILESS_MAIN(TestDatabaseCopy)
#include "tst_DatabaseCopy.moc"
