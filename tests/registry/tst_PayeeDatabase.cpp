#include "base/ProgramFolder.h"
#include "registry/OrderRegister.h"
#include "registry/PayeeDatabase.h"
#include "registry/PayeeList.h"
#include "registry/PayeeTable.h"
#include "registry/TurkishCollation.h"
#include "support/TemporaryPayeeDatabase.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <memory>
#include <vector>

#include <sqlite3.h>

namespace {

using Status = PayeeDatabase::OpenStatus;

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

// Opens a file the way a plain SQLite tool would: no key at all.
int plainQueryResult(const QString &path)
{
    sqlite3 *database = nullptr;
    int result = sqlite3_open_v2(path.toUtf8().constData(), &database, SQLITE_OPEN_READONLY, nullptr);
    if (result == SQLITE_OK)
        result = sqlite3_exec(database, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    sqlite3_close(database);
    return result;
}

void writeFile(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

// The order of an older file's name index: capitals before all small letters.
int byteOrder(const char *left, int leftLength, const char *right, int rightLength)
{
    const int common = std::min(leftLength, rightLength);
    const int bytes = common > 0 ? std::memcmp(left, right, size_t(common)) : 0;
    return bytes != 0 ? bytes : leftLength - rightLength;
}

enum class Foreign { OtherPassword, PlainSqlite, TextFile, EmptyFile, OurKeyOtherTables, NewerSchema, Folder };

void makeForeignFile(Foreign kind, const QString &path)
{
    switch (kind) {
    case Foreign::OtherPassword: {
        SqlCipherConnection connection;
        QVERIFY(!connection.create(path, QByteArrayLiteral("*.417306")).isError());
        QVERIFY(!connection.execute(QStringLiteral("CREATE TABLE Eczane (EczaneAdi TEXT)")).isError());
        break;
    }
    case Foreign::PlainSqlite: {
        sqlite3 *database = nullptr;
        QCOMPARE(sqlite3_open_v2(path.toUtf8().constData(), &database,
                                 SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr),
                 SQLITE_OK);
        QCOMPARE(sqlite3_exec(database, "CREATE TABLE Eczane (EczaneAdi TEXT); INSERT INTO Eczane VALUES ('A');",
                              nullptr, nullptr, nullptr),
                 SQLITE_OK);
        sqlite3_close(database);
        QVERIFY(TemporaryPayeeDatabase::fileContents(path).startsWith("SQLite format 3"));
        break;
    }
    case Foreign::TextFile:
        writeFile(path, "EczaneAdi;BankaSube\nŞİŞLİ ECZANESİ;MECİDİYEKÖY\n");
        break;
    case Foreign::EmptyFile:
        writeFile(path, {});
        break;
    case Foreign::Folder:
        QVERIFY(QDir().mkdir(path));
        break;
    case Foreign::OurKeyOtherTables: {
        SqlCipherConnection connection;
        QVERIFY(!connection.create(path, PayeeDatabase::password()).isError());
        QVERIFY(!connection.execute(QStringLiteral("CREATE TABLE Notlar (Metin TEXT)")).isError());
        break;
    }
    case Foreign::NewerSchema: {
        PayeeDatabase database;
        QVERIFY(database.create(path).isOpened());
        QVERIFY(!database.connection().execute(QStringLiteral("PRAGMA user_version = 99")).isError());
        break;
    }
    }
}

const char kCreateChild[] = "--create-child";

// One copy of the program started with the others: once told to go, it
// opens the database, creates it when there is none, as the windowless
// commands do, and records one order for the payee given.
int createAndRecord(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    const QString path = QString::fromLocal8Bit(argv[2]);
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    char word[8] = {};
    if (!std::fgets(word, sizeof word, stdin))
        return 2;
    PayeeDatabase database;
    PayeeDatabase::OpenResult opened = database.open(path);
    if (opened.status == Status::Missing)
        opened = database.create(path);
    if (!opened.isOpened()) {
        std::fputs(opened.message.toUtf8().constData(), stderr);
        return 1;
    }
    IssuedOrder order;
    order.issuedAt = QDateTime(QDate(2024, 3, 5), QTime(10, 0));
    order.ways = int(OrderWay::Pdf);
    order.payee[std::size_t(PayeeColumn::Name)] = QString::fromLocal8Bit(argv[3]);
    order.gross = order.net = 100000;
    const Result<qint64> recorded = OrderRegister(database).record(order, QByteArrayLiteral("sayfa"));
    if (recorded.failed()) {
        std::fputs(recorded.message().toUtf8().constData(), stderr);
        return 1;
    }
    return 0;
}

} // namespace

class TestPayeeDatabase : public QObject
{
    Q_OBJECT

private slots:
    void createsAnEncryptedDatabaseWithTheFourTables();
    void namesAreIndexedInTurkishOrder_data();
    void namesAreIndexedInTurkishOrder();
    void keepsPayeesAcrossReopening();
    void createOpensTheFileFoundInItsPlace();
    void createsTogetherWithOtherCopies();
    void createInAMissingFolderLeavesNothing();
    void missingFileIsReportedAndNotCreated();
    void refusesForeignFilesWithoutTouchingThem_data();
    void refusesForeignFilesWithoutTouchingThem();
    void lockedFileIsReportedAndNothingLost();
    void olderFileIsReindexedOnOpening_data();
    void olderFileIsReindexedOnOpening();
    void olderFileThatCannotBeWrittenIsNeverSearchedByItsOldOrder();
};

void TestPayeeDatabase::createsAnEncryptedDatabaseWithTheFourTables()
{
    QTemporaryDir folder;
    PayeeDatabase database;
    const PayeeDatabase::OpenResult result = [&] {
        const auto programFolder = ProgramFolder::override(folder.path());
        return database.create();
    }();
    QVERIFY2(result.isOpened(), qPrintable(result.message));
    const QString path = QDir(folder.path()).filePath(QStringLiteral("Data.dat"));
    QCOMPARE(database.filePath(), path);
    // Built aside and renamed: nothing but the database is left behind.
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("Data.dat")});

    const QByteArray contents = TemporaryPayeeDatabase::fileContents(path);
    QVERIFY(contents.size() > 0);
    QVERIFY(!contents.startsWith("SQLite format 3"));
    QCOMPARE(plainQueryResult(path), SQLITE_NOTADB);

    SqlCipherConnection &connection = database.connection();
    QCOMPARE(connection.queryInt64(QStringLiteral("PRAGMA user_version")), qint64(PayeeDatabase::kSchemaVersion));
    const QMap<QString, QStringList> expected = {
        {QStringLiteral("Eczane"), {"Id", "EczaneAdi", "EczaciAdi", "BankaSube", "BankaHesap", "VergiDaire"}},
        {QStringLiteral("Hastane"), {"Id", "HastaneAdi", "VergiNo", "BankaSube", "BankaHesap", "VergiDaire"}},
        {QStringLiteral("Tedavi"), {"Id", "Adi", "Vergi", "BankaSube", "BankaHesap", "VergiDaire"}},
        {QStringLiteral("Ozel"), {"Id", "OzelAdi", "Vergi", "BankaSube", "BankaHesap", "VergiDaire"}},
    };
    for (auto table = expected.cbegin(); table != expected.cend(); ++table) {
        SqlCipherConnection::Statement info = connection.prepare(QStringLiteral("PRAGMA table_info(%1)").arg(table.key()));
        QStringList columns;
        while (info.next())
            columns.append(info.text(1));
        QCOMPARE(columns, table.value());
    }
}

void TestPayeeDatabase::namesAreIndexedInTurkishOrder_data()
{
    QTest::addColumn<PaymentCategory>("category");
    QTest::addColumn<bool>("byRange");
    for (PaymentCategory category : kAllCategories) {
        const QByteArray table = PayeeTable::of(category).tableName().toUtf8();
        QTest::newRow(table + " sorted") << category << false;
        QTest::newRow(table + " prefix") << category << true;
    }
}

void TestPayeeDatabase::namesAreIndexedInTurkishOrder()
{
    QFETCH(PaymentCategory, category);
    QFETCH(bool, byRange);
    TemporaryPayeeDatabase fixture;
    QVERIFY2(fixture.error().isEmpty(), qPrintable(fixture.error()));
    const PayeeTable &table = PayeeTable::of(category);
    const QString sql = byRange ? table.nameRangeKeysSql() : table.sortedKeysSql();
    SqlCipherConnection::Statement plan = fixture.connection().prepare(QStringLiteral("EXPLAIN QUERY PLAN ") + sql);
    QVERIFY(plan.isValid());
    QString details;
    while (plan.next())
        details += plan.text(3) + QLatin1Char('\n');
    // The index serves both the order and the range; no sort, no full scan.
    QVERIFY2(details.contains(QStringLiteral("INDEX %1_%2").arg(table.tableName(), table.columnName(PayeeColumn::Name))),
             qPrintable(details));
    QVERIFY2(!details.contains(QStringLiteral("TEMP B-TREE")), qPrintable(details));
}

void TestPayeeDatabase::keepsPayeesAcrossReopening()
{
    TemporaryPayeeDatabase fixture;
    QVERIFY2(fixture.error().isEmpty(), qPrintable(fixture.error()));
    const PayeeFields payee = {QStringLiteral("ŞİFA ECZANESİ"), QStringLiteral("12345678901"),
                               QStringLiteral("ZİRAAT ÇANKAYA"), QStringLiteral("TR12 0001"),
                               QStringLiteral("KAVAKLIDERE")};
    fixture.addPayee(PaymentCategory::Pharmacy, payee);
    fixture.database().close();
    QVERIFY(fixture.database().open().isOpened());
    QCOMPARE(fixture.tableContents(PaymentCategory::Pharmacy), QList<PayeeFields>{payee});
    QCOMPARE(fixture.folderEntries(), QStringList{QStringLiteral("Data.dat")});
}

void TestPayeeDatabase::createOpensTheFileFoundInItsPlace()
{
    // Another copy of the program made the file after this one found none.
    TemporaryPayeeDatabase fixture;
    QVERIFY2(fixture.error().isEmpty(), qPrintable(fixture.error()));
    fixture.addNames(PaymentCategory::Hospital, {QStringLiteral("ANKARA ŞEHİR HASTANESİ")});
    fixture.database().close();
    const QByteArray before = TemporaryPayeeDatabase::fileContents(fixture.filePath());

    PayeeDatabase database;
    const PayeeDatabase::OpenResult result = database.create(fixture.filePath());
    QVERIFY2(result.isOpened(), qPrintable(result.message));
    QVERIFY(database.isOpen());
    database.close();
    QCOMPARE(TemporaryPayeeDatabase::fileContents(fixture.filePath()), before);
    QCOMPARE(fixture.folderEntries(), QStringList{QStringLiteral("Data.dat")});
}

void TestPayeeDatabase::createsTogetherWithOtherCopies()
{
    // Windowless commands started at the same moment in a folder without a
    // database: each finds none, each creates one, and every order must end
    // up in the one file that stays.
    QTemporaryDir folder;
    const QString path = QDir(folder.path()).filePath(QStringLiteral("Data.dat"));
    constexpr int kCopies = 6;
    std::vector<std::unique_ptr<QProcess>> copies;
    for (int copy = 1; copy <= kCopies; ++copy) {
        auto process = std::make_unique<QProcess>();
        process->start(QCoreApplication::applicationFilePath(),
                       {QString::fromLatin1(kCreateChild), path, QStringLiteral("ÖDEME %1").arg(copy)});
        QVERIFY(process->waitForStarted(30000));
        copies.push_back(std::move(process));
    }
    // All at once: each waits, ready, for the word to go.
    for (auto &process : copies) {
        while (!process->canReadLine())
            QVERIFY2(process->waitForReadyRead(30000), "a copy did not get ready");
        QCOMPARE(process->readLine(), QByteArray("ready\n"));
    }
    for (auto &process : copies) {
        process->write("go\n");
        QVERIFY(process->waitForBytesWritten(30000));
    }
    for (auto &process : copies) {
        QVERIFY(process->waitForFinished(60000));
        QVERIFY2(process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0,
                 process->readAllStandardError().constData());
    }

    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("Data.dat")});
    PayeeDatabase database;
    QVERIFY(database.open(path).isOpened());
    QStringList names;
    SqlCipherConnection::Statement select
        = database.connection().prepare(QStringLiteral("SELECT Adi FROM Belge ORDER BY Adi"));
    while (select.next())
        names.append(select.text(0));
    QVERIFY2(!select.error().isError(), qPrintable(select.error().detail));
    QStringList expected;
    for (int copy = 1; copy <= kCopies; ++copy)
        expected.append(QStringLiteral("ÖDEME %1").arg(copy));
    QCOMPARE(names, expected);
}

void TestPayeeDatabase::createInAMissingFolderLeavesNothing()
{
    QTemporaryDir folder;
    const QString path = QDir(folder.path()).filePath(QStringLiteral("yok/Data.dat"));
    PayeeDatabase database;
    const PayeeDatabase::OpenResult result = database.create(path);
    QCOMPARE(result.status, Status::IoError);
    QVERIFY2(result.message.startsWith(QStringLiteral("Veritabanı dosyası oluşturulamadı: ") + shown(path)),
             qPrintable(result.message));
    QVERIFY(QDir(folder.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

void TestPayeeDatabase::missingFileIsReportedAndNotCreated()
{
    QTemporaryDir folder;
    PayeeDatabase database;
    const PayeeDatabase::OpenResult result = [&] {
        const auto programFolder = ProgramFolder::override(folder.path());
        return database.open();
    }();
    const QString path = QDir(folder.path()).filePath(QStringLiteral("Data.dat"));
    QCOMPARE(result.status, Status::Missing);
    QCOMPARE(result.message, QStringLiteral("Veritabanı dosyası bulunamadı: %1").arg(shown(path)));
    QVERIFY(!database.isOpen());
    QVERIFY(QDir(folder.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

void TestPayeeDatabase::refusesForeignFilesWithoutTouchingThem_data()
{
    QTest::addColumn<Foreign>("kind");
    QTest::addColumn<Status>("status");
    QTest::addColumn<QString>("reason");
    const QString notOurs = QStringLiteral("başka bir parolayla şifrelenmiş ya da bir veritabanı dosyası değil.");
    const QString noTables = QStringLiteral("kişi ve kurum tablolarını içermiyor.");
    QTest::newRow("another password") << Foreign::OtherPassword << Status::NotADatabase << notOurs;
    QTest::newRow("plain SQLite") << Foreign::PlainSqlite << Status::NotADatabase << notOurs;
    QTest::newRow("text file") << Foreign::TextFile << Status::NotADatabase << notOurs;
    QTest::newRow("empty file") << Foreign::EmptyFile << Status::Incompatible << noTables;
    QTest::newRow("our key, other tables") << Foreign::OurKeyOtherTables << Status::Incompatible << noTables;
    QTest::newRow("a folder of that name") << Foreign::Folder << Status::IoError
                                           << QStringLiteral("bir klasör; veritabanı dosyası değil.");
    QTest::newRow("newer program") << Foreign::NewerSchema << Status::Incompatible
                                   << QStringLiteral("programın daha yeni bir sürümüyle oluşturulmuş; bu sürüm onu kullanamaz.");
}

void TestPayeeDatabase::refusesForeignFilesWithoutTouchingThem()
{
    QFETCH(Foreign, kind);
    QFETCH(Status, status);
    QFETCH(QString, reason);
    QTemporaryDir folder;
    const QString path = QDir(folder.path()).filePath(QStringLiteral("Data.dat"));
    makeForeignFile(kind, path);
    if (QTest::currentTestFailed())
        return;
    const QByteArray before = TemporaryPayeeDatabase::fileContents(path);

    PayeeDatabase database;
    const PayeeDatabase::OpenResult result = database.open(path);
    QCOMPARE(result.status, status);
    QCOMPARE(result.message, QStringLiteral("Veritabanı dosyası açılamadı: %1 %2").arg(shown(path), reason));
    QVERIFY(!database.isOpen());
    // Nor does create() replace it: it finds the file and says the same.
    const PayeeDatabase::OpenResult created = database.create(path);
    QCOMPARE(created.status, status);
    QCOMPARE(created.message, result.message);
    QVERIFY(!database.isOpen());
    database.close();
    QCOMPARE(TemporaryPayeeDatabase::fileContents(path), before);
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("Data.dat")});
}

void TestPayeeDatabase::lockedFileIsReportedAndNothingLost()
{
    TemporaryPayeeDatabase fixture;
    QVERIFY2(fixture.error().isEmpty(), qPrintable(fixture.error()));
    fixture.addNames(PaymentCategory::Treatment, {QStringLiteral("AYŞE ÇELİK")});
    fixture.database().close();

    std::unique_ptr<PayeeDatabase> other = fixture.openSecondConnection();
    QVERIFY(!other->connection().execute(QStringLiteral("BEGIN EXCLUSIVE")).isError());
    fixture.database().setBusyTimeout(50);
    const PayeeDatabase::OpenResult locked = fixture.database().open();
    QCOMPARE(locked.status, Status::Locked);
    QCOMPARE(locked.message, QStringLiteral("Veritabanı dosyası açılamadı: %1 başka bir program tarafından "
                                            "kilitlenmiş. O program işini bitirince yeniden deneyin.")
                                 .arg(shown(fixture.filePath())));
    QVERIFY(!fixture.database().isOpen());

    QVERIFY(!other->connection().execute(QStringLiteral("COMMIT")).isError());
    other.reset();
    QVERIFY(fixture.database().open().isOpened());
    QCOMPARE(fixture.tableNames(PaymentCategory::Treatment), QStringList{QStringLiteral("AYŞE ÇELİK")});
}

namespace {

// A file of an older version: before version 3 its name index was built in
// another order (here one that tells capitals from small letters); version 3
// has today's order but no register of issued orders.
void makeOlderFile(const QString &path, int version, const QStringList &names)
{
    SqlCipherConnection connection;
    QVERIFY(!connection.create(path, PayeeDatabase::password()).isError());
    QVERIFY(!connection.registerCollation(TurkishCollation::kName,
                                          version < 3 ? byteOrder : TurkishCollation::compareUtf8)
                 .isError());
    QString schema = QStringLiteral("BEGIN;\n");
    for (PaymentCategory category : kAllCategories)
        schema += PayeeTable::of(category).createSql();
    schema += QStringLiteral("PRAGMA user_version = %1;\nCOMMIT;\n").arg(version);
    QVERIFY(!connection.execute(schema).isError());
    SqlCipherConnection::Statement insert = connection.prepare(PayeeTable::of(PaymentCategory::Hospital).insertSql());
    for (const QString &name : names) {
        insert.bindText(1, name);
        for (int column = 2; column <= 5; ++column)
            insert.bindText(column, QString());
        QVERIFY(!insert.run().isError());
    }
}

const QStringList kOlderNames = {QStringLiteral("ANTALYA"), QStringLiteral("ankara"), QStringLiteral("AZ"),
                                 QStringLiteral("BURSA"), QStringLiteral("ANKARA"), QStringLiteral("kâmil"),
                                 QStringLiteral("KÂMİL"), QStringLiteral("KAMİL")};

QStringList found(PayeeList &list, const QString &typed)
{
    if (list.search(typed).failed())
        return {QStringLiteral("<refused>")};
    QStringList names;
    for (int row = 0; row < list.rowCount(); ++row)
        names.append(list.nameAt(row));
    return names;
}

} // namespace

void TestPayeeDatabase::olderFileIsReindexedOnOpening_data()
{
    QTest::addColumn<int>("version");
    QTest::newRow("first version") << 1;
    QTest::newRow("second version") << 2;
    QTest::newRow("third version") << 3;
}

void TestPayeeDatabase::olderFileIsReindexedOnOpening()
{
    QFETCH(int, version);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Data.dat"));
    makeOlderFile(path, version, kOlderNames);
    if (QTest::currentTestFailed())
        return;

    PayeeDatabase database;
    const PayeeDatabase::OpenResult opened = database.open(path);
    QVERIFY(opened.isOpened());
    QCOMPARE(opened.notice, QString());
    QVERIFY(database.nameIndexesCurrent());
    QCOMPARE(database.connection().queryInt64(QStringLiteral("PRAGMA user_version")),
             qint64(PayeeDatabase::kSchemaVersion));
    SqlCipherConnection::Statement check = database.connection().prepare(QStringLiteral("PRAGMA integrity_check"));
    QVERIFY(check.next());
    QCOMPARE(check.text(0), QStringLiteral("ok"));
    check.reset();

    PayeeList list(database, PaymentCategory::Hospital);
    QCOMPARE(found(list, QStringLiteral("AN")),
             QStringList({QStringLiteral("ANKARA"), QStringLiteral("ankara"), QStringLiteral("ANTALYA")}));
    QCOMPARE(found(list, QStringLiteral("kâ")), QStringList({QStringLiteral("KÂMİL"), QStringLiteral("kâmil")}));

    // The register of issued orders came with the upgrade, empty and ready.
    QVERIFY(database.hasOrderRegister());
    QCOMPARE(database.connection().queryInt64(QStringLiteral("SELECT count(*) FROM Belge")), qint64(0));
    OrderRegister orders(database);
    IssuedOrder order;
    order.issuedAt = QDateTime(QDate(2024, 3, 5), QTime(9, 0));
    order.payee[0] = QStringLiteral("ANKARA");
    const Result<qint64> number = orders.record(order, QByteArrayLiteral("sayfa"));
    QVERIFY(number.succeeded());
    QCOMPARE(*number, qint64(1));
    database.close();
    QVERIFY(database.open(path).isOpened());
    QCOMPARE(database.connection().queryInt64(QStringLiteral("SELECT count(*) FROM Belge")), qint64(1));
}

// An older file that cannot be written keeps its old index order: the open
// says so, and the lists sort and search without the index, never by the
// old order.
void TestPayeeDatabase::olderFileThatCannotBeWrittenIsNeverSearchedByItsOldOrder()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Data.dat"));
    makeOlderFile(path, 1, kOlderNames);
    if (QTest::currentTestFailed())
        return;
    // The engine cannot make the journal a write needs, as in a folder
    // without write permission.
    QVERIFY(QFile::link(QStringLiteral("/nonexistent/folder/journal"), path + QStringLiteral("-journal")));

    PayeeDatabase database;
    const PayeeDatabase::OpenResult opened = database.open(path);
    QVERIFY(opened.isOpened());
    QVERIFY(!database.nameIndexesCurrent());
    QVERIFY2(opened.notice.contains(QStringLiteral("güncellenemedi")), qPrintable(opened.notice));
    QVERIFY(opened.notice.contains(QDir::toNativeSeparators(path)));
    QCOMPARE(database.connection().queryInt64(QStringLiteral("PRAGMA user_version")), qint64(1));
    // The register cannot be added either: printing goes on, recording
    // says why it cannot.
    QVERIFY(!database.hasOrderRegister());
    QVERIFY2(opened.notice.contains(QStringLiteral("belge kaydına işlenemeyecek")), qPrintable(opened.notice));
    OrderRegister orders(database);
    const Result<qint64> refused = orders.record(IssuedOrder{}, QByteArrayLiteral("sayfa"));
    QVERIFY(refused.failed());
    QVERIFY2(refused.message().contains(QStringLiteral("eski bir sürümden kalma")), qPrintable(refused.message()));

    PayeeList list(database, PaymentCategory::Hospital);
    QCOMPARE(found(list, QStringLiteral("AN")),
             QStringList({QStringLiteral("ANKARA"), QStringLiteral("ankara"), QStringLiteral("ANTALYA")}));
    QCOMPARE(found(list, QStringLiteral("kâ")), QStringList({QStringLiteral("KÂMİL"), QStringLiteral("kâmil")}));
    QCOMPARE(found(list, QStringLiteral("b")), QStringList{QStringLiteral("BURSA")});
    QVERIFY(list.openSorted().succeeded());
    QStringList sorted;
    for (int row = 0; row < list.rowCount(); ++row)
        sorted.append(list.nameAt(row));
    QCOMPARE(sorted, QStringList({QStringLiteral("ANKARA"), QStringLiteral("ankara"), QStringLiteral("ANTALYA"),
                                  QStringLiteral("AZ"), QStringLiteral("BURSA"), QStringLiteral("KAMİL"),
                                  QStringLiteral("KÂMİL"), QStringLiteral("kâmil")}));

    // Once the file can be written, the next open brings it up to date.
    database.close();
    QVERIFY(QFile::remove(path + QStringLiteral("-journal")));
    QVERIFY(database.open(path).isOpened());
    QVERIFY(database.nameIndexesCurrent());
    QVERIFY(database.hasOrderRegister());
    QCOMPARE(database.connection().queryInt64(QStringLiteral("PRAGMA user_version")),
             qint64(PayeeDatabase::kSchemaVersion));
}

int main(int argc, char **argv)
{
    if (argc == 4 && qstrcmp(argv[1], kCreateChild) == 0)
        return createAndRecord(argc, argv);
    QCoreApplication application(argc, argv);
    TestPayeeDatabase test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_PayeeDatabase.moc"
