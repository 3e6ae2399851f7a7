// The connection to the shared register on the private PostgreSQL server:
// refused connections each with its own Turkish message (and never a
// password in it), the schema version checked on connecting, TLS for a host
// that is not this computer, values carried literally as parameters, failed
// statements, batches in one transaction, and notifications.
#include "registry/SharedRegisterConnection.h"
#include "support/ServerDatabase.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <poll.h>

#include <limits>

namespace {

using Connection = SharedRegisterConnection;
using Kind = SharedRegisterConnection::Failure;

// The values a clerk may type, which must come back exactly.
QStringList awkwardTexts()
{
    return {QStringLiteral("O'REILLY \"ECZANE\""), QStringLiteral("%_ %"), QStringLiteral("x' OR '1'='1"),
            QStringLiteral("SEKME\tSATIR\nSON\r\x01\x1f"), QStringLiteral("ŞİFA 💊 ECZANESİ"),
            QStringLiteral("\uFEFFİMLE BAŞLAYAN"), QString(10000, QChar(u'Ğ')), QStringLiteral("\\x00 \\\\")};
}

} // namespace

class TestSharedRegisterConnection : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void connectsAsTheClerk();
    void refusedConnections_data();
    void refusedConnections();
    void schemaOfAnotherVersion_data();
    void schemaOfAnotherVersion();
    void passwordGivenToOpen();
    void transportSecurityAdded_data();
    void transportSecurityAdded();
    void transportSecurityOfAService();
    void remoteConnectionsUseCheckedTls();
    void valuesAreCarriedLiterally();
    void failedStatements();
    void lostConnection();
    void batchInOneTransaction();
    void notificationsArrive();

private:
    QTemporaryDir m_home;
};

void TestSharedRegisterConnection::initTestCase()
{
    const QString unavailable = PrivateServer::unavailable();
    QVERIFY2(unavailable.isEmpty(), qPrintable(unavailable));
    // No password file, service file or root certificate of the user
    // running the tests: only what a test gives.
    qputenv("PGPASSFILE", QFile::encodeName(m_home.filePath(QStringLiteral("pgpass"))));
    qputenv("PGSERVICEFILE", QFile::encodeName(m_home.filePath(QStringLiteral("pg_service.conf"))));
    qputenv("PGSYSCONFDIR", QFile::encodeName(m_home.path()));
    qputenv("HOME", QFile::encodeName(m_home.path()));
    for (const char *variable : {"PGSSLMODE", "PGHOST", "PGHOSTADDR", "PGPORT", "PGDATABASE", "PGUSER", "PGPASSWORD",
                                 "PGSERVICE", "PGSSLROOTCERT"})
        qunsetenv(variable);
}

void TestSharedRegisterConnection::connectsAsTheClerk()
{
    ServerDatabase database;
    QVERIFY2(database.error().isEmpty(), qPrintable(database.error()));
    const QString clerk = database.addRole();
    QVERIFY(!clerk.isEmpty());
    Connection connection;
    const Result<> opened = connection.open(database.connectionAs(clerk));
    QVERIFY2(opened.succeeded(), qPrintable(opened.message()));
    QVERIFY(connection.isOpen());
    QCOMPARE(connection.role(), clerk);
    QVERIFY2(connection.description().contains(QStringLiteral("veritabanı %1, kullanıcı %2").arg(database.name(), clerk)),
             qPrintable(connection.description()));
    QVERIFY(!connection.description().contains(QString::fromUtf8(ServerDatabase::kPassword)));
    // Local: no TLS was asked for the socket.
    const Result<Connection::Rows> name = connection.execute(QStringLiteral("SELECT application_name::text FROM pg_stat_activity "
                                                                           "WHERE pid = pg_backend_pid()"));
    QVERIFY2(name.succeeded(), qPrintable(name.message()));
    QCOMPARE(name->text(0, 0), QStringLiteral("Zenparol"));
}

void TestSharedRegisterConnection::refusedConnections_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("failure");
    QTest::addColumn<QString>("message"); // a part of it
    QTest::newRow("no server on the socket") << "no server" << int(Kind::Unreachable)
                                             << "sunucuya ulaşılamıyor. Sunucunun çalıştığını";
    QTest::newRow("no server on the port") << "closed port" << int(Kind::Unreachable) << "sunucuya ulaşılamıyor.";
    QTest::newRow("wrong password") << "wrong password" << int(Kind::WrongPassword)
                                    << "kullanıcısını kabul etmedi: kullanıcı adı ya da parola yanlış.";
    QTest::newRow("unknown user") << "unknown user" << int(Kind::WrongPassword)
                                  << "kullanıcı adı ya da parola yanlış.";
    QTest::newRow("no password") << "no password" << int(Kind::PasswordNeeded)
                                 << "kullanıcısı için parola istiyor, ama parola ne bağlantı dizesinde";
    QTest::newRow("no such database") << "no database" << int(Kind::NoSuchDatabase)
                                      << "sunucuda bu adla bir veritabanı yok.";
    QTest::newRow("no shared register") << "no schema" << int(Kind::NoSchema)
                                        << "veritabanında paylaşılan kayıt kurulmamış. Yönetici önce sunucuda "
                                           "mirvasel-shared-register.sql betiğini çalıştırmalı.";
    QTest::newRow("not a clerk") << "not a clerk" << int(Kind::NoAccess)
                                 << "kullanıcısının paylaşılan kayda erişim izni yok. Yönetici bu kullanıcıyı "
                                    "mirvasel_katip rolüne eklemeli.";
    QTest::newRow("not a connection string") << "bad string" << int(Kind::BadConnectionString)
                                             << "Paylaşılan kaydın bağlantı dizesi okunamadı: libpq biçiminde değil";
}

void TestSharedRegisterConnection::refusedConnections()
{
    QFETCH(QString, kind);
    QFETCH(int, failure);
    QFETCH(QString, message);
    ServerDatabase database(kind == QLatin1String("no schema") ? ServerDatabase::Schema::None : ServerDatabase::Schema::Made);
    QVERIFY2(database.error().isEmpty(), qPrintable(database.error()));
    const QString clerk = database.addRole(kind == QLatin1String("not a clerk") ? QString() : QStringLiteral("mirvasel_katip"));
    QVERIFY(!clerk.isEmpty());
    QString connectionString = database.connectionAs(clerk);
    QTemporaryDir empty;
    if (kind == QLatin1String("no server"))
        connectionString = QStringLiteral("host=%1 port=5432 dbname=x user=y").arg(empty.path());
    else if (kind == QLatin1String("closed port"))
        connectionString = QStringLiteral("host=127.0.0.1 port=1 dbname=x user=y");
    else if (kind == QLatin1String("wrong password"))
        connectionString = database.connectionAs(clerk, QStringLiteral("yanlış parola"));
    else if (kind == QLatin1String("unknown user"))
        connectionString = database.connectionAs(clerk + QStringLiteral("_yok"));
    else if (kind == QLatin1String("no password"))
        connectionString = PrivateServer::connectionString() + QStringLiteral(" dbname=%1 user=%2").arg(database.name(), clerk);
    else if (kind == QLatin1String("no database"))
        connectionString = PrivateServer::connectionString() + QStringLiteral(" dbname=%1_yok").arg(database.name());
    else if (kind == QLatin1String("bad string"))
        connectionString = QStringLiteral("sunucu=ofis host");

    Connection connection;
    const Result<> opened = connection.open(connectionString);
    QVERIFY(opened.failed());
    QVERIFY(!connection.isOpen());
    QCOMPARE(int(connection.error().failure), failure);
    QVERIFY2(opened.message().contains(message), qPrintable(opened.message()));
    QVERIFY2(opened.message().startsWith(QStringLiteral("Paylaşılan kay")), qPrintable(opened.message()));
    // Never the password, whatever the message quotes.
    QVERIFY(!opened.message().contains(QString::fromUtf8(ServerDatabase::kPassword)));
    QVERIFY(!opened.message().contains(QStringLiteral("yanlış parola")));
}

void TestSharedRegisterConnection::schemaOfAnotherVersion_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("failure");
    QTest::addColumn<QString>("message");
    QTest::newRow("newer") << Connection::kSchemaVersion + 1 << int(Kind::NewerSchema)
                           << QStringLiteral("paylaşılan kaydın şema sürümü %1, bu programınki %2: kayıt programın daha "
                                             "yeni bir sürümü için kurulmuş. Programı güncelleyin.")
                                  .arg(Connection::kSchemaVersion + 1)
                                  .arg(Connection::kSchemaVersion);
    QTest::newRow("older") << Connection::kSchemaVersion - 1 << int(Kind::OlderSchema)
                           << QStringLiteral("paylaşılan kaydın şema sürümü %1, bu programınki %2: kayıt eski bir sürümle "
                                             "kurulmuş. Yönetici sunucudaki kaydı güncellemeli.")
                                  .arg(Connection::kSchemaVersion - 1)
                                  .arg(Connection::kSchemaVersion);
}

void TestSharedRegisterConnection::schemaOfAnotherVersion()
{
    QFETCH(int, version);
    QFETCH(int, failure);
    QFETCH(QString, message);
    ServerDatabase database;
    QVERIFY2(database.error().isEmpty(), qPrintable(database.error()));
    QVERIFY(database.admin(QStringLiteral("UPDATE mirvasel.sema SET surum = %1;\n").arg(version)).succeeded());
    const QString clerk = database.addRole();
    Connection connection;
    const Result<> opened = connection.open(database.connectionAs(clerk));
    QVERIFY(opened.failed());
    QVERIFY(!connection.isOpen());
    QCOMPARE(int(connection.error().failure), failure);
    QCOMPARE(opened.message(), QStringLiteral("Paylaşılan kayıt kullanılamıyor (%1): %2").arg(connection.description(), message));
}

void TestSharedRegisterConnection::passwordGivenToOpen()
{
    ServerDatabase database;
    QVERIFY2(database.error().isEmpty(), qPrintable(database.error()));
    const QString clerk = database.addRole();
    const QString withoutPassword = PrivateServer::connectionString() + QStringLiteral(" dbname=%1 user=%2").arg(database.name(), clerk);
    Connection connection;
    QVERIFY(connection.open(withoutPassword, QByteArray("yanlış")).failed());
    QCOMPARE(connection.error().failure, Kind::WrongPassword);
    const Result<> opened = connection.open(withoutPassword, QByteArray(ServerDatabase::kPassword));
    QVERIFY2(opened.succeeded(), qPrintable(opened.message()));
    QCOMPARE(connection.role(), clerk);
}

void TestSharedRegisterConnection::transportSecurityAdded_data()
{
    QTest::addColumn<QString>("connectionString");
    QTest::addColumn<QString>("sslmode"); // what is added; empty: nothing
    // The addresses are this computer's closed port 1, so that starting a
    // connection to read the settings reaches nobody.
    QTest::newRow("a host by name") << "host=sunucu.ofis hostaddr=127.0.0.1 port=1 dbname=mirvasel" << "verify-full";
    QTest::newRow("one of two hosts elsewhere") << "host=localhost,sunucu.ofis hostaddr=127.0.0.1,127.0.0.1 port=1"
                                                << "verify-full";
    QTest::newRow("a Unix socket") << "host=/var/run/postgresql dbname=mirvasel" << "";
    QTest::newRow("the default socket") << "dbname=mirvasel" << "";
    QTest::newRow("localhost") << "host=localhost port=1 dbname=mirvasel" << "";
    QTest::newRow("a loopback address") << "host=127.0.0.1 port=1" << "";
    QTest::newRow("IPv6 loopback") << "host=::1 port=1" << "";
    QTest::newRow("a mode of the string kept") << "host=sunucu.ofis hostaddr=127.0.0.1 port=1 sslmode=require" << "";
    QTest::newRow("even prefer, when written") << "host=sunucu.ofis hostaddr=127.0.0.1 port=1 sslmode=prefer" << "";
    QTest::newRow("a URI") << "postgresql://sunucu.ofis:1/mirvasel?hostaddr=127.0.0.1" << "verify-full";
}

void TestSharedRegisterConnection::transportSecurityAdded()
{
    QFETCH(QString, connectionString);
    QFETCH(QString, sslmode);
    const Result<QMap<QString, QString>> added = Connection::addedParameters(connectionString);
    QVERIFY2(added.succeeded(), qPrintable(added.message()));
    QCOMPARE(added->value(QStringLiteral("sslmode")), sslmode);
    QCOMPARE(added->value(QStringLiteral("client_encoding")), QStringLiteral("UTF8"));
    QCOMPARE(added->value(QStringLiteral("connect_timeout")), QStringLiteral("10"));
}

void TestSharedRegisterConnection::transportSecurityOfAService()
{
    // A service's host and mode count as the string's own.
    QFile services(qEnvironmentVariable("PGSERVICEFILE"));
    QVERIFY(services.open(QIODevice::WriteOnly | QIODevice::Truncate));
    services.write("[ofis]\nhost=sunucu.ofis\nhostaddr=127.0.0.1\nport=1\ndbname=mirvasel\n\n"
                   "[guvenli]\nhost=sunucu.ofis\nhostaddr=127.0.0.1\nport=1\nsslmode=require\n\n"
                   "[yerel]\nhost=/var/run/postgresql\ndbname=mirvasel\nconnect_timeout=3\n");
    services.close();
    const auto addedFor = [](const QString &service, const QString &keyword) {
        const Result<QMap<QString, QString>> added = Connection::addedParameters(QStringLiteral("service=") + service);
        return added.succeeded() ? added->value(keyword) : QStringLiteral("failed: ") + added.message();
    };
    QCOMPARE(addedFor(QStringLiteral("ofis"), QStringLiteral("sslmode")), QStringLiteral("verify-full"));
    QCOMPARE(addedFor(QStringLiteral("guvenli"), QStringLiteral("sslmode")), QString());
    QCOMPARE(addedFor(QStringLiteral("yerel"), QStringLiteral("sslmode")), QString());
    QCOMPARE(addedFor(QStringLiteral("yerel"), QStringLiteral("connect_timeout")), QString());
    qputenv("PGSSLMODE", "disable");
    QCOMPARE(addedFor(QStringLiteral("ofis"), QStringLiteral("sslmode")), QString());
    qunsetenv("PGSSLMODE");
    QVERIFY(services.remove());
}

void TestSharedRegisterConnection::remoteConnectionsUseCheckedTls()
{
    const QString tls = PrivateServer::tlsConnectionString();
    QVERIFY2(!tls.isEmpty(), "MIRVASEL_TEST_PG_TLS is not set: run the tests through scripts/test");
    ServerDatabase database;
    QVERIFY2(database.error().isEmpty(), qPrintable(database.error()));
    const QString clerk = database.addRole();
    const QString login = QStringLiteral(" dbname=%1 user=%2 password='%3'")
                              .arg(database.name(), clerk, QString::fromUtf8(ServerDatabase::kPassword).replace(u'\'', QStringLiteral("\\'")));

    // The server's name under the CA that made its certificate: checked TLS.
    Connection connection;
    Result<> opened = connection.open(tls + login);
    QVERIFY2(opened.succeeded(), qPrintable(opened.message()));
    Result<Connection::Rows> ssl = connection.execute(QStringLiteral("SELECT ssl FROM pg_stat_ssl WHERE pid = pg_backend_pid()"));
    QVERIFY2(ssl.succeeded(), qPrintable(ssl.message()));
    QVERIFY(ssl->boolean(0, 0));

    // Without the CA the certificate cannot be checked: refused, where
    // libpq's "prefer" would have gone on.
    QString withoutCa = tls;
    withoutCa.replace(QRegularExpression(QStringLiteral("sslrootcert=\\S+")),
                      QStringLiteral("sslrootcert=") + m_home.filePath(QStringLiteral("keine.crt")));
    opened = connection.open(withoutCa + login);
    QVERIFY(opened.failed());
    QCOMPARE(connection.error().failure, Kind::Tls);
    QVERIFY2(opened.message().contains(QStringLiteral("sunucuyla güvenli (TLS) bağlantı kurulamadı")), qPrintable(opened.message()));

    // Another name than the certificate's.
    QString otherName = tls;
    otherName.replace(QStringLiteral("host=sunucu.mirvasel.test"), QStringLiteral("host=baska.mirvasel.test"));
    opened = connection.open(otherName + login);
    QVERIFY(opened.failed());
    QCOMPARE(connection.error().failure, Kind::Tls);

    // A mode the string names is its own: encrypted, unchecked.
    opened = connection.open(withoutCa + login + QStringLiteral(" sslmode=require"));
    QVERIFY2(opened.succeeded(), qPrintable(opened.message()));
}

void TestSharedRegisterConnection::valuesAreCarriedLiterally()
{
    ServerDatabase database;
    QVERIFY2(database.error().isEmpty(), qPrintable(database.error()));
    const QString clerk = database.addRole();
    Connection connection;
    QVERIFY(connection.open(database.connectionAs(clerk)).succeeded());
    const QString insert = QStringLiteral("INSERT INTO mirvasel.kisi (tur, adi, kimlik, banka_sube) VALUES ($1, $2, $3, $4) "
                                          "RETURNING no");
    QList<qint64> numbers;
    for (const QString &text : awkwardTexts()) {
        const Result<Connection::Rows> added = connection.execute(
            insert, Connection::Parameters().int64(1).text(text).text(QString()).text(QStringLiteral("")));
        QVERIFY2(added.succeeded(), qPrintable(added.message()));
        numbers.append(added->int64(0, 0));
    }
    const QString select = QStringLiteral("SELECT adi, kimlik, banka_sube, kimlik IS NULL, banka_sube = '' FROM mirvasel.kisi "
                                          "WHERE tur = $1 AND no = $2");
    for (qsizetype i = 0; i < numbers.size(); ++i) {
        const Result<Connection::Rows> read = connection.execute(select, Connection::Parameters().int64(1).int64(numbers[i]));
        QVERIFY2(read.succeeded(), qPrintable(read.message()));
        QCOMPARE(read->count(), 1);
        QCOMPARE(read->text(0, 0), awkwardTexts()[i]);
        QVERIFY(read->text(0, 1).isNull());
        QVERIFY(!read->text(0, 2).isNull());
        QVERIFY(read->text(0, 2).isEmpty());
        QVERIFY(read->boolean(0, 3));
        QVERIFY(read->boolean(0, 4));
    }
    // A quote is a character of the value, not of the statement.
    const Result<Connection::Rows> injected = connection.execute(
        QStringLiteral("SELECT count(*) FROM mirvasel.kisi WHERE adi = $1"), Connection::Parameters().text(QStringLiteral("x' OR '1'='1")));
    QCOMPARE(injected->int64(0, 0), 1);

    // Bytes with zeros, and the extremes of a whole number.
    QByteArray page("%PDF-\0\x01\xff", 8);
    page += QByteArray(200000, '\0');
    const Result<Connection::Rows> echoed = connection.execute(
        QStringLiteral("SELECT $1::bytea, $2::bigint, $3::bigint, $4::bigint IS NULL, $5::bytea IS NULL, length($6::bytea)"),
        Connection::Parameters()
            .bytes(page)
            .int64(std::numeric_limits<qint64>::min())
            .int64(std::numeric_limits<qint64>::max())
            .nullInt64()
            .bytes(QByteArray())
            .bytes(QByteArray("")));
    QVERIFY2(echoed.succeeded(), qPrintable(echoed.message()));
    QCOMPARE(echoed->bytes(0, 0), page);
    QCOMPARE(echoed->int64(0, 1), std::numeric_limits<qint64>::min());
    QCOMPARE(echoed->int64(0, 2), std::numeric_limits<qint64>::max());
    QVERIFY(echoed->boolean(0, 3));
    QVERIFY(echoed->boolean(0, 4));
    QCOMPARE(echoed->int64(0, 5), 0);

    // The one character a server's text cannot hold is refused, in Turkish,
    // never cut short.
    const Result<Connection::Rows> zero = connection.execute(
        insert, Connection::Parameters().int64(1).text(QStringLiteral("A\u0000B")).text(QString()).text(QString()));
    QVERIFY(zero.failed());
    QVERIFY2(zero.message().startsWith(QStringLiteral("sunucu beklenmeyen bir hata bildirdi (SQLSTATE 22021")),
             qPrintable(zero.message()));
}

void TestSharedRegisterConnection::failedStatements()
{
    ServerDatabase database;
    QVERIFY2(database.error().isEmpty(), qPrintable(database.error()));
    const QString clerk = database.addRole();
    Connection connection;
    QVERIFY(connection.open(database.connectionAs(clerk)).succeeded());

    Result<Connection::Rows> run = connection.execute(QStringLiteral("UPDATE mirvasel.belge SET brut = $1"),
                                                      Connection::Parameters().int64(1));
    QVERIFY(run.failed());
    QCOMPARE(connection.error().failure, Kind::Refused);
    QCOMPARE(connection.error().sqlState, QStringLiteral("42501"));
    QCOMPARE(run.message(), QStringLiteral("sunucu bu işleme izin vermedi (permission denied for table belge)."));

    run = connection.execute(QStringLiteral("INSERT INTO mirvasel.kisi (tur, adi) VALUES ($1, $2)"),
                             Connection::Parameters().int64(9).text(QStringLiteral("X")));
    QVERIFY(run.failed());
    QCOMPARE(connection.error().failure, Kind::Constraint);
    QVERIFY2(run.message().startsWith(QStringLiteral("paylaşılan kayıt değeri kabul etmedi: kayıt kurallarına uymuyor")),
             qPrintable(run.message()));

    // The connection goes on after a refusal.
    run = connection.execute(QStringLiteral("SELECT count(*) FROM mirvasel.kisi"));
    QVERIFY2(run.succeeded(), qPrintable(run.message()));
    QCOMPARE(run->int64(0, 0), 0);
}

void TestSharedRegisterConnection::lostConnection()
{
    ServerDatabase database;
    QVERIFY2(database.error().isEmpty(), qPrintable(database.error()));
    const QString clerk = database.addRole();
    Connection connection;
    QVERIFY(connection.open(database.connectionAs(clerk)).succeeded());
    QVERIFY(connection.begin().succeeded());
    QVERIFY(connection.execute(QStringLiteral("INSERT INTO mirvasel.kisi (tur, adi) VALUES (0, $1)"),
                               Connection::Parameters().text(QStringLiteral("YARIM")))
                .succeeded());
    QVERIFY(database.admin(QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE usename = '%1';\n")
                               .arg(clerk))
                .succeeded());
    const Result<> committed = connection.commit();
    QVERIFY(committed.failed());
    QCOMPARE(connection.error().failure, Kind::Lost);
    QCOMPARE(committed.message(), QStringLiteral("sunucuyla bağlantı koptu; hiçbir değişiklik kaydedilmedi. Bağlantı "
                                                 "yeniden kurulunca işlemi yineleyin."));
    QCOMPARE(database.rows(QStringLiteral("SELECT count(*) FROM mirvasel.kisi")), QStringList{QStringLiteral("0")});
}

void TestSharedRegisterConnection::batchInOneTransaction()
{
    ServerDatabase database;
    QVERIFY2(database.error().isEmpty(), qPrintable(database.error()));
    const QString clerk = database.addRole();
    Connection connection;
    QVERIFY(connection.open(database.connectionAs(clerk)).succeeded());
    const QString insert = QStringLiteral("INSERT INTO mirvasel.kisi (tur, adi, kimlik) VALUES ($1, $2, $3)");
    constexpr int kPayees = 1000;

    // Rolled back: nothing.
    QVERIFY(connection.begin().succeeded());
    {
        Connection::Batch batch(connection);
        for (int i = 0; i < kPayees; ++i)
            QVERIFY(batch.add(insert, Connection::Parameters().int64(0).text(QString::number(i)).text(QString())).succeeded());
        QVERIFY(batch.finish().succeeded());
    }
    connection.rollBack();
    QCOMPARE(database.rows(QStringLiteral("SELECT count(*) FROM mirvasel.kisi")), QStringList{QStringLiteral("0")});

    // A refused row in the middle fails the batch, and its transaction
    // keeps nothing.
    QVERIFY(connection.begin().succeeded());
    Result<> failed = Result<>::success();
    {
        Connection::Batch batch(connection);
        for (int i = 0; i < kPayees && failed.succeeded(); ++i)
            failed = batch.add(insert, Connection::Parameters().int64(i == 700 ? 9 : 0).text(QString::number(i)).text(QString()));
        if (failed.succeeded())
            failed = batch.finish();
    }
    QVERIFY(failed.failed());
    QCOMPARE(connection.error().failure, Kind::Constraint);
    QVERIFY(connection.commit().failed());
    connection.rollBack();
    QCOMPARE(database.rows(QStringLiteral("SELECT count(*) FROM mirvasel.kisi")), QStringList{QStringLiteral("0")});

    // Committed: all, each as sent, and the connection usable after it.
    QVERIFY(connection.begin().succeeded());
    {
        Connection::Batch batch(connection);
        for (int i = 0; i < kPayees; ++i) {
            QVERIFY(batch.add(insert, Connection::Parameters().int64(i % 4).text(QString::number(i)).text(i % 2 ? QString() : QStringLiteral("")))
                        .succeeded());
        }
        QVERIFY(batch.finish().succeeded());
    }
    QVERIFY(connection.commit().succeeded());
    QCOMPARE(database.rows(QStringLiteral("SELECT count(*), count(DISTINCT adi), count(kimlik), sum(tur) FROM mirvasel.kisi")),
             QStringList{QStringLiteral("%1|%1|%2|%3").arg(kPayees).arg(kPayees / 2).arg(kPayees / 4 * 6)});
    QVERIFY(connection.execute(QStringLiteral("SELECT 1")).succeeded());
}

void TestSharedRegisterConnection::notificationsArrive()
{
    ServerDatabase database;
    QVERIFY2(database.error().isEmpty(), qPrintable(database.error()));
    const QString watcher = database.addRole();
    const QString writer = database.addRole();
    Connection watching;
    QVERIFY(watching.open(database.connectionAs(watcher)).succeeded());
    QVERIFY(watching.listen(QStringLiteral("mirvasel_kisi")).succeeded());
    Connection writing;
    QVERIFY(writing.open(database.connectionAs(writer)).succeeded());
    QVERIFY(writing.execute(QStringLiteral("INSERT INTO mirvasel.kisi (tur, adi) VALUES ($1, $2)"),
                            Connection::Parameters().int64(2).text(QStringLiteral("ALİ VELİ")))
                .succeeded());

    // The socket says when; well within the two seconds a clerk waits.
    QList<Connection::Notification> seen;
    QElapsedTimer timer;
    timer.start();
    while (seen.isEmpty() && timer.elapsed() < 5000) {
        pollfd watched{watching.socket(), POLLIN, 0};
        ::poll(&watched, 1, 100);
        seen += watching.takeNotifications();
    }
    QCOMPARE(seen.size(), 1);
    QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(seen[0].channel, QStringLiteral("mirvasel_kisi"));
    const QJsonObject payload = QJsonDocument::fromJson(seen[0].payload.toUtf8()).object();
    QCOMPARE(payload.value(QStringLiteral("islem")).toString(), QStringLiteral("ekle"));
    QCOMPARE(payload.value(QStringLiteral("tur")).toInt(), 2);
    QCOMPARE(payload.value(QStringLiteral("rol")).toString(), writer);
}

QTEST_GUILESS_MAIN(TestSharedRegisterConnection)
#include "tst_SharedRegisterConnection.moc"
