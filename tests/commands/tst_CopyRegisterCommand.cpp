// "Zenparol --copy-register-to CONNINFO": the program folder's register
// copied into an empty shared register on the private PostgreSQL server, in
// the process and as the real program; every copied value compared with the
// file's, every refusal leaving the shared register as it was, and the real
// program killed with SIGKILL in the middle of a copy at seeded random
// moments leaving it empty.
//
// MIRVASEL_KILL_TRIALS sets the number of kills (a few by default),
// MIRVASEL_KILL_SEED their seed.
#include "base/FolderAccess.h"
#include "commands/CopyRegisterCommand.h"
#include "registry/OrderRegister.h"
#include "registry/PayeeDatabase.h"
#include "registry/SharedRegisterConnection.h"
#include "support/DatabaseFiles.h"
#include "support/ServerDatabase.h"
#include "support/TemporaryPayeeDatabase.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <chrono>
#include <optional>

using namespace std::chrono_literals;

namespace {

using Connection = SharedRegisterConnection;

int killTrials()
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue("MIRVASEL_KILL_TRIALS", &ok);
    return ok && value > 0 ? value : 3;
}

quint32 killSeed()
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue("MIRVASEL_KILL_SEED", &ok);
    return ok ? quint32(value) : 20261211u;
}

// A row of the register, every column as text with NULL told apart, so
// that the file's and the server's can be compared as they are.
QString cell(bool isNull, const QString &text)
{
    return isNull ? QStringLiteral("<NULL>") : u'«' + text + u'»';
}

// Payees and orders of every kind with what a file can hold: absent and
// empty fields, quotes, pattern characters, control characters, emoji, a
// byte order mark and 10 000 characters; numbers with gaps and a deleted
// last payee whose number is never given again; orders with a page and
// with both ways out, reprints, a page of no bytes.
void fillLocal(TemporaryPayeeDatabase &local)
{
    local.addPayee(PaymentCategory::Pharmacy, {QStringLiteral("ŞİFA ECZANESİ"), QString(), QStringLiteral(""),
                                               QStringLiteral("TR12 0001"), QStringLiteral("ÇANKAYA")});
    local.addPayee(PaymentCategory::Pharmacy, {QString(), QStringLiteral(""), QString(), QString(), QString()});
    local.addPayee(PaymentCategory::Pharmacy, {QStringLiteral("O'REILLY \"%_\" ECZANESİ"), QStringLiteral("x' OR '1'='1"),
                                               QStringLiteral("SEKME\tSATIR\nSON\x01"), QStringLiteral("💊"),
                                               QStringLiteral("\uFEFFBOM")});
    local.addPayee(PaymentCategory::Hospital, {QString(10000, QChar(u'Ğ')), QStringLiteral("1"), QString(), QString(), QString()});
    local.addPayee(PaymentCategory::Hospital, {QStringLiteral("SİLİNECEK"), QString(), QString(), QString(), QString()});
    DatabaseFiles::addPayees(local, PaymentCategory::Treatment, 30, 0, QStringLiteral("TEDAVİ"));
    DatabaseFiles::addPayees(local, PaymentCategory::Private, 3, 0, QStringLiteral("ÖZEL"));
    SqlCipherConnection &file = local.connection();
    // Gaps in the numbers, and the highest number given to a payee that is gone.
    QVERIFY(!file.execute(QStringLiteral("DELETE FROM Tedavi WHERE Id IN (3, 7, 30); DELETE FROM Hastane WHERE Id = 2;"))
                 .isError());
    DatabaseFiles::addOrders(local, 12);
    OrderRegister orders(local.database());
    QVERIFY(orders.addWay(3, OrderWay::Pdf).succeeded());
    IssuedOrder unnamed;
    unnamed.issuedAt = QDateTime(QDate(2024, 12, 31), QTime(23, 59, 59));
    unnamed.ways = int(OrderWay::Pdf);
    unnamed.category = PaymentCategory::Private;
    unnamed.payee = {QString(), QStringLiteral(""), QStringLiteral("ŞUBE 'X'"), QString(), QStringLiteral("%")};
    unnamed.gross = 0;
    unnamed.stamp = 0;
    unnamed.net = 0;
    const QByteArray page = QByteArray("%PDF-1.4\0\xff", 10) + QByteArray(50000, '\0');
    QVERIFY(orders.record(unnamed, page).succeeded());
    IssuedOrder empty = unnamed;
    empty.gross = std::numeric_limits<qint64>::max();
    QVERIFY(orders.record(empty, QByteArray()).succeeded());
}

QStringList localPayees(SqlCipherConnection &file)
{
    QStringList rows;
    for (PaymentCategory category : kAllCategories) {
        const PayeeTable &table = PayeeTable::of(category);
        QStringList columns;
        for (PayeeColumn column : kAllPayeeColumns)
            columns.append(table.columnName(column));
        SqlCipherConnection::Statement select = file.prepare(
            QStringLiteral("SELECT Id, %1 FROM %2 ORDER BY Id").arg(columns.join(u','), table.tableName()));
        while (select.next()) {
            QString row = QStringLiteral("%1 %2").arg(categoryIndex(category)).arg(select.int64(0));
            for (int i = 1; i <= kPayeeColumnCount; ++i)
                row += u' ' + cell(select.isNull(i), select.text(i));
            rows.append(row);
        }
    }
    return rows;
}

QStringList sharedPayees(Connection &shared)
{
    QStringList rows;
    const Result<Connection::Rows> read = shared.execute(QStringLiteral(
        "SELECT tur, no, adi, kimlik, banka_sube, banka_hesap, vergi_daire FROM mirvasel.kisi ORDER BY tur, no"));
    if (read.failed())
        return {read.message()};
    for (int r = 0; r < read->count(); ++r) {
        QString row = QStringLiteral("%1 %2").arg(read->int64(r, 0)).arg(read->int64(r, 1));
        for (int i = 2; i <= 6; ++i)
            row += u' ' + cell(read->isNull(r, i), read->text(r, i));
        rows.append(row);
    }
    return rows;
}

QStringList localOrders(SqlCipherConnection &file)
{
    QStringList rows;
    SqlCipherConnection::Statement select = file.prepare(QStringLiteral(
        "SELECT b.No, b.Zaman, b.Cikis, b.Tur, b.Adi, b.Kimlik, b.BankaSube, b.BankaHesap, b.VergiDaire, b.Brut, b.Damga, "
        "b.Net, b.AsilNo, hex(s.Sayfa) FROM Belge b LEFT JOIN BelgeSayfa s ON s.No = b.No ORDER BY b.No"));
    while (select.next()) {
        QString row = QStringLiteral("%1 %2 %3 %4").arg(select.int64(0)).arg(select.text(1)).arg(select.int64(2)).arg(select.int64(3));
        for (int i = 4; i <= 8; ++i)
            row += u' ' + cell(select.isNull(i), select.text(i));
        row += QStringLiteral(" %1 %2 %3 %4 %5")
                   .arg(select.int64(9))
                   .arg(select.int64(10))
                   .arg(select.int64(11))
                   .arg(cell(select.isNull(12), select.text(12)))
                   .arg(cell(select.isNull(13), select.text(13)));
        rows.append(row);
    }
    return rows;
}

QStringList sharedOrders(Connection &shared)
{
    QStringList rows;
    const Result<Connection::Rows> read = shared.execute(QStringLiteral(
        "SELECT no, to_char(zaman, 'YYYY-MM-DD\"T\"HH24:MI:SS'), (SELECT coalesce(bit_or(yol), 0)::bigint FROM "
        "mirvasel.belge_cikis c WHERE c.no = b.no), tur, adi, kimlik, banka_sube, banka_hesap, vergi_daire, brut, damga, "
        "net, asil_no::text, upper(encode(s.sayfa, 'hex')) FROM mirvasel.belge b LEFT JOIN mirvasel.belge_sayfa s "
        "USING (no) ORDER BY no"));
    if (read.failed())
        return {read.message()};
    for (int r = 0; r < read->count(); ++r) {
        QString row = QStringLiteral("%1 %2 %3 %4").arg(read->int64(r, 0)).arg(read->text(r, 1)).arg(read->int64(r, 2)).arg(read->int64(r, 3));
        for (int i = 4; i <= 8; ++i)
            row += u' ' + cell(read->isNull(r, i), read->text(r, i));
        row += QStringLiteral(" %1 %2 %3 %4 %5")
                   .arg(read->int64(r, 9))
                   .arg(read->int64(r, 10))
                   .arg(read->int64(r, 11))
                   .arg(cell(read->isNull(r, 12), read->text(r, 12)))
                   .arg(cell(read->isNull(r, 13), read->text(r, 13)));
        rows.append(row);
    }
    return rows;
}

// Rows of the shared register's tables: "payees orders pages ways".
QString sharedCounts(ServerDatabase &database)
{
    const QStringList rows = database.rows(QStringLiteral(
        "SELECT (SELECT count(*) FROM mirvasel.kisi) || ' ' || (SELECT count(*) FROM mirvasel.belge) || ' ' || "
        "(SELECT count(*) FROM mirvasel.belge_sayfa) || ' ' || (SELECT count(*) FROM mirvasel.belge_cikis);\n"));
    return rows.isEmpty() ? database.lastError() : rows.first();
}

CommandOutcome copyTo(const QString &connectionString)
{
    return CopyRegisterCommand::run({QStringLiteral("--copy-register-to"), connectionString});
}

const QString kNothingCopied = QStringLiteral(" Paylaşılan kayıt olduğu gibi kaldı; hiçbir şey aktarılmadı.");

} // namespace

class TestCopyRegisterCommand : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void copiesEveryValue();
    void refusesARegisterThatIsNotEmpty_data();
    void refusesARegisterThatIsNotEmpty();
    void refusals_data();
    void refusals();
    void aValueTheServerRefusesCopiesNothing();
    void waitsForMaintenanceOfItsFolder();
    void realProgram();
    void killedCopyLeavesTheRegisterEmpty();
};

void TestCopyRegisterCommand::initTestCase()
{
    const QString unavailable = PrivateServer::unavailable();
    QVERIFY2(unavailable.isEmpty(), qPrintable(unavailable));
    qunsetenv("PGSSLMODE");
}

void TestCopyRegisterCommand::copiesEveryValue()
{
    TemporaryPayeeDatabase local;
    QVERIFY2(local.error().isEmpty(), qPrintable(local.error()));
    fillLocal(local);
    const QStringList payees = localPayees(local.connection());
    const QStringList orders = localOrders(local.connection());
    const QByteArray before = TemporaryPayeeDatabase::fileContents(local.filePath());
    QCOMPARE(payees.size(), 4 + 27 + 3);
    QCOMPARE(orders.size(), 14);

    ServerDatabase database;
    QVERIFY2(database.error().isEmpty(), qPrintable(database.error()));
    const QString administrator = database.addRole(QStringLiteral("mirvasel_yonetici"));
    const QString clerk = database.addRole();
    Connection watching;
    QVERIFY(watching.open(database.connectionAs(clerk)).succeeded());
    QVERIFY(watching.listen(QStringLiteral("mirvasel_kisi")).succeeded());

    const CommandOutcome outcome = copyTo(database.connectionAs(administrator));
    QCOMPARE(outcome.message, QString());
    QCOMPARE(outcome.status, ExitStatus::kDone);
    QCOMPARE(outcome.output, QStringLiteral("Paylaşılan kayda aktarıldı: 3 eczane, 1 hastane, 27 tedavi ve 3 özel kişi; "
                                            "14 belge (14 sayfasıyla)."));

    Connection shared;
    QVERIFY(shared.open(database.connectionAs(clerk)).succeeded());
    QCOMPARE(sharedPayees(shared), payees);
    QCOMPARE(sharedOrders(shared), orders);
    // The local file only read.
    QCOMPARE(TemporaryPayeeDatabase::fileContents(local.filePath()), before);

    // The copy is the administrator's, and one announcement told the clerks.
    QCOMPARE(database.rows(QStringLiteral("SELECT DISTINCT degistiren || ' ' || surum FROM mirvasel.kisi")),
             QStringList{administrator + QStringLiteral(" 1")});
    QCOMPARE(database.rows(QStringLiteral("SELECT DISTINCT duzenleyen FROM mirvasel.belge")), QStringList{administrator});
    QList<Connection::Notification> told;
    QElapsedTimer timer;
    timer.start();
    while (told.isEmpty() && timer.elapsed() < 2000) {
        QThread::msleep(20);
        told += watching.takeNotifications();
    }
    QThread::msleep(100);
    told += watching.takeNotifications();
    QCOMPARE(told.size(), 1);
    QCOMPARE(QJsonDocument::fromJson(told[0].payload.toUtf8()).object(),
             (QJsonObject{{QStringLiteral("islem"), QStringLiteral("yenile")}, {QStringLiteral("rol"), administrator}}));

    // A clerk goes on from there: no payee number given again (the
    // treatment list's 30 was deleted), the order numbers run on.
    const Result<Connection::Rows> next = shared.execute(
        QStringLiteral("INSERT INTO mirvasel.kisi (tur, adi) VALUES ($1, $2) RETURNING no"),
        Connection::Parameters().int64(2).text(QStringLiteral("YENİ")));
    QVERIFY2(next.succeeded(), qPrintable(next.message()));
    QCOMPARE(next->int64(0, 0), 31);
    const Result<Connection::Rows> order = shared.execute(
        QStringLiteral("INSERT INTO mirvasel.belge (zaman, tur, brut, damga, net) VALUES (now(), 0, 1, 0, 1) RETURNING no"));
    QVERIFY2(order.succeeded(), qPrintable(order.message()));
    QCOMPARE(order->int64(0, 0), 15);
}

void TestCopyRegisterCommand::refusesARegisterThatIsNotEmpty_data()
{
    QTest::addColumn<QString>("held");
    QTest::addColumn<QString>("counts");
    QTest::addColumn<QString>("message");
    QTest::newRow("a payee") << QStringLiteral("INSERT INTO mirvasel.kisi (tur, adi) VALUES (3, 'VAR');\n")
                             << QStringLiteral("1 0 0 0") << QStringLiteral("1 kişi ve 0 belge");
    QTest::newRow("an order") << QStringLiteral("INSERT INTO mirvasel.belge (zaman, tur, brut, damga, net) "
                                                "VALUES (now(), 0, 1, 0, 1);\n")
                              << QStringLiteral("0 1 0 0") << QStringLiteral("0 kişi ve 1 belge");
}

void TestCopyRegisterCommand::refusesARegisterThatIsNotEmpty()
{
    QFETCH(QString, held);
    QFETCH(QString, counts);
    QFETCH(QString, message);
    TemporaryPayeeDatabase local;
    QVERIFY2(local.error().isEmpty(), qPrintable(local.error()));
    fillLocal(local);
    ServerDatabase database;
    QVERIFY2(database.error().isEmpty(), qPrintable(database.error()));
    QVERIFY(database.admin(held).succeeded());
    const CommandOutcome outcome = copyTo(database.adminConnection());
    QCOMPARE(outcome.status, ExitStatus::kNotRecorded);
    QCOMPARE(outcome.message, QStringLiteral("Paylaşılan kayda aktarılamadı: paylaşılan kayıt boş değil (%1 var). Yerel "
                                             "kayıt yalnızca boş bir paylaşılan kayda, bir kez aktarılır.")
                                      .arg(message)
                                  + kNothingCopied);
    QCOMPARE(sharedCounts(database), counts);
}

void TestCopyRegisterCommand::refusals_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message"); // a part of it
    // A usage line names the command as it was started: here, this test.
    const QString usage = QStringLiteral("Kullanım: %1 --copy-register-to")
                              .arg(QFileInfo(QCoreApplication::arguments().constFirst()).fileName());
    QTest::newRow("no connection string") << "" << ExitStatus::kBadInput << usage + " BAĞLANTI\n";
    QTest::newRow("one argument too many") << "extra" << ExitStatus::kBadInput << usage;
    QTest::newRow("not a connection string") << "bad" << ExitStatus::kBadInput
                                             << "Paylaşılan kaydın bağlantı dizesi okunamadı";
    QTest::newRow("no server") << "no server" << ExitStatus::kNotRecorded
                               << "sunucuya ulaşılamıyor. Sunucunun çalıştığını";
    QTest::newRow("a clerk is no administrator") << "clerk" << ExitStatus::kNotRecorded
                                                 << "kullanıcısı yönetici değil. Yerel kaydı, mirvasel_yonetici rolündeki "
                                                    "bir kullanıcı aktarabilir." + kNothingCopied;
    QTest::newRow("no shared register there") << "no schema" << ExitStatus::kNotRecorded
                                              << "veritabanında paylaşılan kayıt kurulmamış.";
    QTest::newRow("no local register") << "no local" << ExitStatus::kFailed
                                       << "Veritabanı dosyası bulunamadı: ";
    QTest::newRow("a local file that is no register") << "not a register" << ExitStatus::kFailed
                                                      << "başka bir parolayla şifrelenmiş ya da bir veritabanı dosyası "
                                                         "değil. Paylaşılan kayda hiçbir şey aktarılmadı.";
}

void TestCopyRegisterCommand::refusals()
{
    QFETCH(QString, kind);
    QFETCH(int, status);
    QFETCH(QString, message);
    TemporaryPayeeDatabase local;
    QVERIFY2(local.error().isEmpty(), qPrintable(local.error()));
    fillLocal(local);
    ServerDatabase database(kind == QLatin1String("no schema") ? ServerDatabase::Schema::None : ServerDatabase::Schema::Made);
    QVERIFY2(database.error().isEmpty(), qPrintable(database.error()));
    const QString clerk = database.addRole();
    QStringList arguments{QStringLiteral("--copy-register-to"), database.adminConnection()};
    if (kind.isEmpty())
        arguments.removeLast();
    else if (kind == QLatin1String("extra"))
        arguments.append(QStringLiteral("--fazla"));
    else if (kind == QLatin1String("bad"))
        arguments[1] = QStringLiteral("sunucu ofis");
    else if (kind == QLatin1String("no server"))
        arguments[1] = QStringLiteral("host=%1 port=5432 dbname=x").arg(local.folder());
    else if (kind == QLatin1String("clerk"))
        arguments[1] = database.connectionAs(clerk);
    local.database().close();
    if (kind == QLatin1String("no local"))
        QVERIFY(QFile::remove(local.filePath()));
    if (kind == QLatin1String("not a register")) {
        QFile file(local.filePath());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray(4096, 'x'));
    }
    const CommandOutcome outcome = CopyRegisterCommand::run(arguments);
    QCOMPARE(outcome.status, status);
    QVERIFY2(outcome.message.contains(message), qPrintable(outcome.message));
    QCOMPARE(outcome.output, QString());
    if (kind != QLatin1String("no schema"))
        QCOMPARE(sharedCounts(database), QStringLiteral("0 0 0 0"));
}

void TestCopyRegisterCommand::aValueTheServerRefusesCopiesNothing()
{
    // A text with the character U+0000 goes into the file but not into the
    // server's text: the copy fails at the last payee, after everything
    // else was sent, and leaves nothing.
    TemporaryPayeeDatabase local;
    QVERIFY2(local.error().isEmpty(), qPrintable(local.error()));
    fillLocal(local);
    local.addPayee(PaymentCategory::Private, {QStringLiteral("SIFIR\u0000KARAKTER"), QString(), QString(), QString(), QString()});
    ServerDatabase database;
    QVERIFY2(database.error().isEmpty(), qPrintable(database.error()));
    const CommandOutcome outcome = copyTo(database.adminConnection());
    QCOMPARE(outcome.status, ExitStatus::kNotRecorded);
    QVERIFY2(outcome.message.startsWith(QStringLiteral("Paylaşılan kayda aktarılamadı: sunucu beklenmeyen bir hata "
                                                       "bildirdi (SQLSTATE 22021"))
                 && outcome.message.endsWith(kNothingCopied),
             qPrintable(outcome.message));
    QCOMPARE(sharedCounts(database), QStringLiteral("0 0 0 0"));
    // Nothing stays of the failed copy: the next copy starts from 1.
    QVERIFY(local.connection().execute(QStringLiteral("DELETE FROM Ozel WHERE OzelAdi LIKE 'SIFIR%'")).failure
            == SqlCipherConnection::Failure::None);
    QCOMPARE(copyTo(database.adminConnection()).status, ExitStatus::kDone);
    QCOMPARE(database.rows(QStringLiteral("SELECT min(no) || '-' || max(no) FROM mirvasel.belge")), QStringList{QStringLiteral("1-14")});
}

void TestCopyRegisterCommand::waitsForMaintenanceOfItsFolder()
{
    TemporaryPayeeDatabase local;
    QVERIFY2(local.error().isEmpty(), qPrintable(local.error()));
    ServerDatabase database;
    QVERIFY2(database.error().isEmpty(), qPrintable(database.error()));
    const ScopedOverride<std::optional<std::chrono::milliseconds>> shortWait = FolderAccess::overrideWait(100ms);
    Result<FolderAccess> maintenance = FolderAccess::forMaintenance(local.folder(), 0ms);
    QVERIFY(maintenance.succeeded() && maintenance->isLocked());
    const CommandOutcome outcome = copyTo(database.adminConnection());
    QCOMPARE(outcome.status, ExitStatus::kBusy);
    QVERIFY2(outcome.message.startsWith(QStringLiteral("Program klasörü şu anda meşgul")), qPrintable(outcome.message));
    QCOMPARE(sharedCounts(database), QStringLiteral("0 0 0 0"));
}

void TestCopyRegisterCommand::realProgram()
{
    TemporaryPayeeDatabase local;
    QVERIFY2(local.error().isEmpty(), qPrintable(local.error()));
    fillLocal(local);
    local.database().close();
    // The program in the register's folder, so that the folder is its own.
    const QString program = QDir(local.folder()).filePath(QStringLiteral("Zenparol"));
    QVERIFY(QFile::copy(QStringLiteral(MIRVASEL_PROGRAM), program));
    ServerDatabase database;
    QVERIFY2(database.error().isEmpty(), qPrintable(database.error()));
    const QString administrator = database.addRole(QStringLiteral("mirvasel_yonetici"));

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.remove(QStringLiteral("DISPLAY"));
    const auto run = [&](const QString &connection, int &status, QString &output, QString &errors) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(QDir::tempPath());
        process.start(program, {QStringLiteral("--copy-register-to"), connection});
        QVERIFY(process.waitForFinished(120000));
        status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        output = QString::fromUtf8(process.readAllStandardOutput());
        errors = QString::fromUtf8(process.readAllStandardError());
    };
    int status = -1;
    QString output;
    QString errors;
    run(database.connectionAs(administrator), status, output, errors);
    QCOMPARE(errors, QString());
    QCOMPARE(status, 0);
    QCOMPARE(output, QStringLiteral("Paylaşılan kayda aktarıldı: 3 eczane, 1 hastane, 27 tedavi ve 3 özel kişi; 14 belge "
                                    "(14 sayfasıyla).\n"));
    QCOMPARE(sharedCounts(database), QStringLiteral("34 14 14 15"));

    // Once only: one line on standard error, exit status 3.
    run(database.connectionAs(administrator), status, output, errors);
    QCOMPARE(status, 3);
    QCOMPARE(output, QString());
    QVERIFY2(errors.startsWith(QStringLiteral("Paylaşılan kayda aktarılamadı: paylaşılan kayıt boş değil (34 kişi ve 14 belge var)."))
                 && errors.count(u'\n') == 1,
             qPrintable(errors));
    // A wrong password: said without it.
    run(database.connectionAs(administrator, QStringLiteral("yanlış-parola")), status, output, errors);
    QCOMPARE(status, 3);
    QVERIFY2(errors.contains(QStringLiteral("kullanıcı adı ya da parola yanlış.")) && !errors.contains(QStringLiteral("yanlış-parola")),
             qPrintable(errors));
}

void TestCopyRegisterCommand::killedCopyLeavesTheRegisterEmpty()
{
    // A register big enough that the copy lasts: a thousand payees a kind
    // and three hundred orders with pages of 20 kB.
    TemporaryPayeeDatabase local;
    QVERIFY2(local.error().isEmpty(), qPrintable(local.error()));
    for (PaymentCategory category : kAllCategories)
        DatabaseFiles::addPayees(local, category, 1000, 40);
    {
        OrderRegister orders(local.database());
        QVERIFY(local.connection().execute(QStringLiteral("BEGIN")).failure == SqlCipherConnection::Failure::None);
        for (int i = 1; i <= 300; ++i) {
            IssuedOrder order;
            order.issuedAt = QDateTime(QDate(2024, 1, 1).addDays(i % 300), QTime(9, 0));
            order.ways = int(OrderWay::Printer);
            order.payee = {QStringLiteral("ÖDEME %1").arg(i), QString(), QString(), QString(), QString()};
            order.gross = order.net = 1000 + i;
            SqlCipherConnection::Statement insert = local.connection().prepare(QStringLiteral(
                "INSERT INTO Belge (Zaman, Cikis, Tur, Adi, Brut, Damga, Net) VALUES (?1, 1, 0, ?2, ?3, 0, ?3)"));
            insert.bindText(1, OrderRegister::storedMoment(order.issuedAt));
            insert.bindText(2, order.name());
            insert.bindInt64(3, order.gross);
            QVERIFY(!insert.run().isError());
            SqlCipherConnection::Statement page = local.connection().prepare(
                QStringLiteral("INSERT INTO BelgeSayfa (No, Sayfa) VALUES (?1, ?2)"));
            page.bindInt64(1, local.connection().lastInsertRowId());
            page.bindBlob(2, QByteArray(20000, char('A' + i % 26)));
            QVERIFY(!page.run().isError());
        }
        QVERIFY(local.connection().execute(QStringLiteral("COMMIT")).failure == SqlCipherConnection::Failure::None);
    }
    local.database().close();
    const QString program = QDir(local.folder()).filePath(QStringLiteral("Zenparol"));
    QVERIFY(QFile::copy(QStringLiteral(MIRVASEL_PROGRAM), program));
    ServerDatabase database;
    QVERIFY2(database.error().isEmpty(), qPrintable(database.error()));
    const QString administrator = database.addRole(QStringLiteral("mirvasel_yonetici"));
    Connection watching;
    QVERIFY(watching.open(database.adminConnection()).succeeded());
    // The copy's transaction on the server, and the copy's connections at all.
    const auto copying = [&](bool inTransaction) {
        const Result<Connection::Rows> found = watching.execute(
            QStringLiteral("SELECT count(*) FROM pg_stat_activity WHERE datname = current_database() AND usename = $1 "
                           "AND ($2 = 0 OR xact_start IS NOT NULL)"),
            Connection::Parameters().text(administrator).int64(inTransaction ? 1 : 0));
        return found.succeeded() ? found->int64(0, 0) : -1;
    };

    QRandomGenerator random(killSeed());
    qInfo("seed %u, %d kills", killSeed(), killTrials());
    // How long a whole copy's transaction lasts here, measured once, with
    // the register emptied again by a new database afterwards.
    qint64 transactionMs = 0;
    {
        ServerDatabase measured;
        QVERIFY2(measured.error().isEmpty(), qPrintable(measured.error()));
        QProcess process;
        QElapsedTimer timer;
        process.start(program, {QStringLiteral("--copy-register-to"), measured.adminConnection()});
        timer.start();
        QVERIFY(process.waitForFinished(120000));
        QCOMPARE(process.exitCode(), 0);
        transactionMs = timer.elapsed();
    }
    qInfo("a whole copy takes %lld ms", transactionMs);

    int killedEmpty = 0;
    for (int trial = 0; trial < killTrials(); ++trial) {
        QProcess process;
        process.start(program, {QStringLiteral("--copy-register-to"), database.connectionAs(administrator)});
        QVERIFY(process.waitForStarted());
        // From the moment the copy's transaction is open, a random part of
        // what a whole copy takes.
        QElapsedTimer waited;
        waited.start();
        while (copying(true) == 0 && process.state() == QProcess::Running && waited.elapsed() < 60000)
            QThread::msleep(5);
        const qint64 delay = qint64(random.bounded(quint32(std::max<qint64>(1, transactionMs / 2))));
        QThread::msleep(quint64(delay));
        process.kill();
        QVERIFY(process.waitForFinished(30000));
        // The server rolls the transaction back when its client is gone.
        QTRY_COMPARE_WITH_TIMEOUT(copying(false), 0, 30000);
        const QString counts = sharedCounts(database);
        if (counts != QLatin1String("0 0 0 0")) {
            // Killed after the commit: all of it, never a part.
            QCOMPARE(counts, QStringLiteral("4000 300 300 300"));
            qInfo("kill %d after %lld ms of the transaction came after its commit", trial + 1, delay);
            break;
        }
        ++killedEmpty;
        qInfo("kill %d after %lld ms of the transaction: the shared register is empty", trial + 1, delay);
    }
    QVERIFY2(killedEmpty > 0, "no kill came while the copy's transaction was open");
    // And the copy still goes through after the kills.
    if (sharedCounts(database) == QLatin1String("0 0 0 0")) {
        QProcess process;
        process.start(program, {QStringLiteral("--copy-register-to"), database.connectionAs(administrator)});
        QVERIFY(process.waitForFinished(120000));
        QCOMPARE(process.exitCode(), 0);
        QCOMPARE(sharedCounts(database), QStringLiteral("4000 300 300 300"));
        QCOMPARE(database.rows(QStringLiteral("SELECT min(no) || '-' || max(no) FROM mirvasel.belge")),
                 QStringList{QStringLiteral("1-300")});
    }
}

QTEST_GUILESS_MAIN(TestCopyRegisterCommand)
#include "tst_CopyRegisterCommand.moc"
