#include "registry/DatabaseCopy.h"
#include "registry/DatabaseSalvage.h"
#include "registry/OrderRegister.h"
#include "registry/PayeeDatabase.h"
#include "registry/PayeeTable.h"
#include "registry/SqlCipherConnection.h"
#include "support/DatabaseFiles.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>

// The same files with SQLCipher 3 (Debian 12, Pardus 23) and SQLCipher 4
// (Debian 13, Pardus 25). This test is built twice: here, and against the
// other major version (scripts/test builds it against SQLCipher 4 from
// Debian 12's backports); MIRVASEL_CIPHER_PEER names that build's copy,
// which runs as the peer (--peer ...). Each step one side writes the file
// and both read it, through the program's own classes, and must see the
// same rows, the same orders and pages, and a sound file.

namespace {

const char kPeerOption[] = "--peer";

// What one side sees of a file.
struct Reading
{
    QMap<QString, QStringList> rows; // every row of every table
    QStringList orders; // every order as the register reads it, with its page's hash
    QString integrity;
    qint64 userVersion = 0;
    qint64 pageSize = 0;
    qint64 kdfIterations = 0;
    bool plainHeader = false; // starts as an unencrypted SQLite file would

    friend bool operator==(const Reading &, const Reading &) = default;
};

QDataStream &operator<<(QDataStream &stream, const Reading &reading)
{
    return stream << reading.rows << reading.orders << reading.integrity << reading.userVersion
                  << reading.pageSize << reading.kdfIterations << reading.plainHeader;
}

QDataStream &operator>>(QDataStream &stream, Reading &reading)
{
    return stream >> reading.rows >> reading.orders >> reading.integrity >> reading.userVersion
           >> reading.pageSize >> reading.kdfIterations >> reading.plainHeader;
}

// The outcome of one command: the failure's words, or what it printed.
struct Outcome
{
    QString failure;
    QByteArray output{};
};

QString failed(const QString &head, const QString &why)
{
    return head + QStringLiteral(": ") + why;
}

QString openFailure(const PayeeDatabase &database, const PayeeDatabase::OpenResult &opened)
{
    if (!opened.isOpened())
        return opened.message;
    if (!opened.notice.isEmpty())
        return opened.notice;
    if (!database.nameIndexesCurrent() || !database.hasOrderRegister())
        return QStringLiteral("opened as an older file");
    return {};
}

QString inserted(SqlCipherConnection &connection, PaymentCategory category, const PayeeFields &fields)
{
    SqlCipherConnection::Statement insert = connection.prepare(PayeeTable::of(category).insertSql());
    for (int i = 0; i < kPayeeColumnCount; ++i)
        insert.bindText(i + 1, fields[std::size_t(i)]);
    const SqlCipherConnection::Error error = insert.run();
    return error.isError() ? error.detail : QString();
}

// Step number step's writing: payees of every category with Turkish
// letters, absent and empty fields; from the second step on also a changed
// and a removed payee; two orders, the second a reprint of the first, which
// left by a second way too, each with a page of every byte value.
QString writeStep(PayeeDatabase &database, int step)
{
    SqlCipherConnection &connection = database.connection();
    const auto run = [&](const QString &sql) {
        const SqlCipherConnection::Error error = connection.execute(sql);
        return error.isError() ? error.detail : QString();
    };
    QString failure = run(QStringLiteral("BEGIN IMMEDIATE"));
    for (PaymentCategory category : kAllCategories) {
        for (int i = 1; i <= 3 && failure.isEmpty(); ++i) {
            PayeeFields fields;
            fields[0] = QStringLiteral("ŞİFA ÇAĞLAYAN ığüşöç %1-%2").arg(step).arg(i);
            fields[1] = i == 2 ? QString() : QStringLiteral("%1").arg(10000000000LL + step * 10 + i);
            fields[2] = i == 3 ? QStringLiteral("") : QStringLiteral("İSTİKLAL ŞUBESİ");
            fields[3] = QStringLiteral("TR%1").arg(step * 100 + i, 24, 10, QLatin1Char('0'));
            fields[4] = QStringLiteral("ÜSKÜDAR");
            failure = inserted(connection, category, fields);
        }
    }
    if (step > 1 && failure.isEmpty()) {
        SqlCipherConnection::Statement update
            = connection.prepare(PayeeTable::of(PaymentCategory::Pharmacy).updateSql());
        update.bindText(1, QStringLiteral("DEĞİŞTİ %1").arg(step));
        update.bindText(2, {});
        update.bindText(3, QStringLiteral("ŞUBE"));
        update.bindText(4, {});
        update.bindText(5, QStringLiteral("ÇANKAYA"));
        update.bindInt64(6, step - 1);
        SqlCipherConnection::Statement remove
            = connection.prepare(PayeeTable::of(PaymentCategory::Hospital).deleteSql());
        remove.bindInt64(1, 3 * (step - 1));
        for (SqlCipherConnection::Statement *statement : {&update, &remove}) {
            const SqlCipherConnection::Error error = statement->run();
            if (failure.isEmpty() && (error.isError() || connection.changes() != 1))
                failure = QStringLiteral("cannot change the payees: %1").arg(error.detail);
        }
    }
    failure = failure.isEmpty() ? run(QStringLiteral("COMMIT")) : failure;
    if (!failure.isEmpty())
        return failed(QStringLiteral("payees"), failure);

    OrderRegister orders(database);
    QByteArray page;
    for (int byte = 0; byte < 256 * 6; ++byte)
        page.append(char((byte + step) % 256));
    IssuedOrder order;
    order.issuedAt = QDateTime(QDate(2025, 3, step), QTime(9, step, 30));
    order.ways = int(OrderWay::Printer);
    order.category = kAllCategories[std::size_t(step % kCategoryCount)];
    order.payee = {QStringLiteral("ŞİFA ÇAĞLAYAN ığüşöç %1-1").arg(step), QStringLiteral("12345678901"),
                   QStringLiteral("İSTİKLAL ŞUBESİ"), QStringLiteral("TR00"), QString()};
    order.gross = 123456 + step;
    order.stamp = 948;
    order.net = order.gross - order.stamp;
    const Result<qint64> original = orders.record(order, page);
    if (original.failed())
        return failed(QStringLiteral("order"), original.message());
    if (const Result<> way = orders.addWay(original.value(), OrderWay::Pdf); way.failed())
        return failed(QStringLiteral("way"), way.message());
    order.reprintOf = original.value();
    order.ways = int(OrderWay::Pdf);
    page.append("yeniden");
    if (const Result<qint64> reprint = orders.record(order, page); reprint.failed())
        return failed(QStringLiteral("reprint"), reprint.message());
    return {};
}

QString read(const QString &path, Reading *reading)
{
    PayeeDatabase database;
    const QString failure = openFailure(database, database.open(path));
    if (!failure.isEmpty())
        return failed(QStringLiteral("open"), failure);
    SqlCipherConnection &connection = database.connection();
    reading->pageSize = connection.queryInt64(QStringLiteral("PRAGMA cipher_page_size"));
    reading->kdfIterations = connection.queryInt64(QStringLiteral("PRAGMA kdf_iter"));
    const OrderRegister orders(database);
    const qint64 count = connection.queryInt64(QStringLiteral("SELECT max(No) FROM Belge"));
    for (qint64 number = 1; number <= count; ++number) {
        const Result<IssuedOrder> order = orders.read(number);
        const Result<QByteArray> page = orders.page(number);
        if (order.failed() || page.failed())
            return failed(QStringLiteral("order %1").arg(number), order.failed() ? order.message() : page.message());
        const IssuedOrder &o = order.value();
        reading->orders.append(QStringList{QString::number(o.number), OrderRegister::storedMoment(o.issuedAt),
                                           QString::number(o.ways), QString::number(int(o.category)),
                                           QStringList(o.payee.begin(), o.payee.end()).join(QLatin1Char('/')),
                                           QString::number(o.gross), QString::number(o.stamp),
                                           QString::number(o.net), QString::number(o.reprintOf),
                                           QString::fromLatin1(QCryptographicHash::hash(page.value(),
                                                                                        QCryptographicHash::Sha1)
                                                                   .toHex())}
                                   .join(QLatin1Char('|')));
    }
    database.close();
    QString error;
    reading->rows = DatabaseFiles::allRows(path, &error);
    if (!error.isEmpty())
        return failed(QStringLiteral("rows"), error);
    reading->integrity = DatabaseFiles::integrity(path);
    reading->userVersion = DatabaseFiles::userVersion(path);
    reading->plainHeader = DatabaseFiles::fileBytes(path).startsWith("SQLite format 3");
    return {};
}

// One command, the same whichever side runs it:
//   version
//   create FILE STEP    a new register with the step's writing
//   write FILE STEP     the step's writing into an existing register
//   read FILE OUT       what the file holds, into OUT
//   copy FILE TARGET    the compact copy of the backup and the compaction
//   salvage FILE TARGET the compaction's copy of a damaged file
Outcome perform(const QStringList &command)
{
    const QString verb = command.value(0);
    const QString path = command.value(1);
    const QString argument = command.value(2);
    if (verb == QLatin1String("version"))
        return {{}, SqlCipherConnection::engineVersion().toUtf8()};
    if (verb == QLatin1String("create") || verb == QLatin1String("write")) {
        PayeeDatabase database;
        const PayeeDatabase::OpenResult opened
            = verb == QLatin1String("create") ? database.create(path) : database.open(path);
        if (verb == QLatin1String("create") && !opened.created)
            return {QStringLiteral("create found a file")};
        QString failure = openFailure(database, opened);
        if (failure.isEmpty())
            failure = writeStep(database, argument.toInt());
        return {failure};
    }
    if (verb == QLatin1String("read")) {
        Reading reading;
        QString failure = read(path, &reading);
        QFile out(argument);
        if (failure.isEmpty() && !out.open(QIODevice::WriteOnly))
            failure = out.errorString();
        if (failure.isEmpty()) {
            QDataStream stream(&out);
            stream << reading;
        }
        return {failure};
    }
    if (verb == QLatin1String("copy")) {
        const DatabaseCopy::Outcome copied = DatabaseCopy::exportCopy(path, argument);
        if (!copied.succeeded())
            return {failed(QStringLiteral("copy, problem %1").arg(int(copied.problem)), copied.detail)};
        return {};
    }
    if (verb == QLatin1String("salvage")) {
        const DatabaseCopy::Salvage salvaged = DatabaseCopy::salvage(path, argument);
        if (!salvaged.succeeded())
            return {failed(QStringLiteral("salvage, problem %1").arg(int(salvaged.problem)), salvaged.detail)};
        return {salvaged.lost == 0 ? QString() : QStringLiteral("salvage lost %1 rows").arg(salvaged.lost)};
    }
    return {QStringLiteral("unknown command %1").arg(command.join(QLatin1Char(' ')))};
}

int runAsPeer(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    const Outcome outcome = perform(QCoreApplication::arguments().mid(2));
    if (!outcome.failure.isEmpty()) {
        std::fprintf(stderr, "%s\n", outcome.failure.toUtf8().constData());
        return 1;
    }
    std::fwrite(outcome.output.constData(), 1, std::size_t(outcome.output.size()), stdout);
    return 0;
}

enum class Side { Ours, Peer };

Side other(Side side)
{
    return side == Side::Ours ? Side::Peer : Side::Ours;
}

QString peerPath()
{
#ifdef MIRVASEL_CIPHER_PEER
    return QStringLiteral(MIRVASEL_CIPHER_PEER);
#else
    return {};
#endif
}

Outcome runOn(Side side, const QStringList &command)
{
    if (side == Side::Ours)
        return perform(command);
    QProcess peer;
    peer.start(peerPath(), QStringList{QString::fromLatin1(kPeerOption)} + command);
    if (!peer.waitForStarted(30000))
        return {QStringLiteral("the peer %1 does not start: %2").arg(peerPath(), peer.errorString())};
    if (!peer.waitForFinished(120000))
        return {QStringLiteral("the peer did not finish: %1").arg(command.join(QLatin1Char(' ')))};
    if (peer.exitStatus() != QProcess::NormalExit || peer.exitCode() != 0) {
        return {QStringLiteral("the peer failed at %1 (exit %2): %3")
                    .arg(command.join(QLatin1Char(' ')))
                    .arg(peer.exitCode())
                    .arg(QString::fromUtf8(peer.readAllStandardError()))};
    }
    return {{}, peer.readAllStandardOutput()};
}

int majorOf(const QString &version)
{
    return version.section(QLatin1Char('.'), 0, 0).toInt();
}

} // namespace

Q_DECLARE_METATYPE(Side)

class TestCipherVersions : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void filesPassBetweenTheVersions_data();
    void filesPassBetweenTheVersions();
    void copiesPassBetweenTheVersions_data();
    void copiesPassBetweenTheVersions();

private:
    // What side reads of path into reading; why it cannot, or empty.
    QString readOn(Side side, const QString &path, Reading *reading);
    QString sideName(Side side) const { return side == Side::Ours ? m_ours : m_peers; }

    QTemporaryDir m_folder;
    QString m_ours;
    QString m_peers;
};

void TestCipherVersions::initTestCase()
{
    QVERIFY2(!peerPath().isEmpty(), "built without MIRVASEL_CIPHER_PEER, the other build of this test");
    QVERIFY2(QFileInfo(peerPath()).isExecutable(), qPrintable(peerPath() + QStringLiteral(" is missing")));
    QVERIFY(m_folder.isValid());
    m_ours = SqlCipherConnection::engineVersion();
    const Outcome peer = runOn(Side::Peer, {QStringLiteral("version")});
    QVERIFY2(peer.failure.isEmpty(), qPrintable(peer.failure));
    m_peers = QString::fromUtf8(peer.output);
    qInfo("SQLCipher %s here, %s in the peer", qPrintable(m_ours), qPrintable(m_peers));
    // Debian 12's and Debian 13's: otherwise the test proves nothing.
    const QSet<int> majors{majorOf(m_ours), majorOf(m_peers)};
    QCOMPARE(majors, (QSet<int>{3, 4}));
}

QString TestCipherVersions::readOn(Side side, const QString &path, Reading *reading)
{
    const QString out = QDir(m_folder.path()).filePath(QStringLiteral("reading"));
    QFile::remove(out);
    const Outcome outcome = runOn(side, {QStringLiteral("read"), path, out});
    if (!outcome.failure.isEmpty())
        return QStringLiteral("SQLCipher %1 cannot read %2: %3").arg(sideName(side), QFileInfo(path).fileName(),
                                                                   outcome.failure);
    QFile file(out);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("SQLCipher %1 wrote no reading").arg(sideName(side));
    QDataStream stream(&file);
    stream >> *reading;
    return {};
}

void TestCipherVersions::filesPassBetweenTheVersions_data()
{
    QTest::addColumn<Side>("creator");
    QTest::newRow("made by this build") << Side::Ours;
    QTest::newRow("made by the peer") << Side::Peer;
}

// The sides take turns: each reads what the other wrote, must see what the
// writer sees, then writes the next step into it.
void TestCipherVersions::filesPassBetweenTheVersions()
{
    QFETCH(Side, creator);
    const QString path = QDir(m_folder.path()).filePath(QStringLiteral("%1.dat").arg(QTest::currentDataTag()));
    const Outcome created = runOn(creator, {QStringLiteral("create"), path, QStringLiteral("1")});
    QVERIFY2(created.failure.isEmpty(), qPrintable(created.failure));

    constexpr int kSteps = 4;
    Side writer = creator;
    for (int step = 1; step <= kSteps; ++step) {
        Reading written;
        const QString unwritten = readOn(writer, path, &written);
        QVERIFY2(unwritten.isEmpty(), qPrintable(unwritten));
        QCOMPARE(written.orders.size(), 2 * step);
        QCOMPARE(written.rows.value(PayeeTable::of(PaymentCategory::Pharmacy).tableName()).size(), 3 * step);
        QCOMPARE(written.integrity, QStringLiteral("ok"));
        QCOMPARE(written.userVersion, qint64(PayeeDatabase::kSchemaVersion));
        // The settings of SQLCipher 3 files, whoever wrote it: never moved
        // to SQLCipher 4's.
        QCOMPARE(written.pageSize, qint64(1024));
        QCOMPARE(written.kdfIterations, qint64(64000));
        QVERIFY(!written.plainHeader);

        const Side reader = other(writer);
        Reading seen;
        const QString unseen = readOn(reader, path, &seen);
        QVERIFY2(unseen.isEmpty(), qPrintable(unseen));
        QCOMPARE(seen.rows, written.rows);
        QCOMPARE(seen.orders, written.orders);
        QVERIFY2(seen == written,
                 qPrintable(QStringLiteral("step %1 read by SQLCipher %2").arg(step).arg(sideName(reader))));
        if (step < kSteps) {
            const Outcome wrote = runOn(reader, {QStringLiteral("write"), path, QString::number(step + 1)});
            QVERIFY2(wrote.failure.isEmpty(), qPrintable(wrote.failure));
            writer = reader;
        }
    }
}

void TestCipherVersions::copiesPassBetweenTheVersions_data()
{
    QTest::addColumn<Side>("copier");
    QTest::addColumn<QString>("how");
    QTest::newRow("this build's copy") << Side::Ours << QStringLiteral("copy");
    QTest::newRow("the peer's copy") << Side::Peer << QStringLiteral("copy");
    QTest::newRow("this build's salvage") << Side::Ours << QStringLiteral("salvage");
    QTest::newRow("the peer's salvage") << Side::Peer << QStringLiteral("salvage");
}

// The backup and the compaction write their copy into a file attached to
// the source's connection: keyed by another path than the file opened, and
// the first place a newer SQLCipher's own settings would creep in.
void TestCipherVersions::copiesPassBetweenTheVersions()
{
    QFETCH(Side, copier);
    QFETCH(QString, how);
    const Side owner = other(copier);
    const QDir folder(m_folder.path());
    const QString source = folder.filePath(QStringLiteral("source %1.dat").arg(QTest::currentDataTag()));
    const QString target = folder.filePath(QStringLiteral("target %1.dat").arg(QTest::currentDataTag()));
    for (const QStringList &command : {QStringList{QStringLiteral("create"), source, QStringLiteral("1")},
                                       QStringList{QStringLiteral("write"), source, QStringLiteral("2")}}) {
        const Outcome outcome = runOn(owner, command);
        QVERIFY2(outcome.failure.isEmpty(), qPrintable(outcome.failure));
    }
    Reading original;
    QString failure = readOn(owner, source, &original);
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    QCOMPARE(original.orders.size(), 4);

    const Outcome copied = runOn(copier, {how, source, target});
    QVERIFY2(copied.failure.isEmpty(), qPrintable(copied.failure));
    Reading copy;
    failure = readOn(owner, target, &copy);
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    QCOMPARE(copy.rows, original.rows);
    QCOMPARE(copy.orders, original.orders);
    QCOMPARE(copy, original);
    // And the copy goes on in the owner's hands.
    const Outcome wrote = runOn(owner, {QStringLiteral("write"), target, QStringLiteral("3")});
    QVERIFY2(wrote.failure.isEmpty(), qPrintable(wrote.failure));
    Reading extended;
    failure = readOn(copier, target, &extended);
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    QCOMPARE(extended.orders.size(), 6);
    QCOMPARE(extended.integrity, QStringLiteral("ok"));
}

int main(int argc, char **argv)
{
    if (argc >= 3 && qstrcmp(argv[1], kPeerOption) == 0)
        return runAsPeer(argc, argv);
    QCoreApplication application(argc, argv);
    TestCipherVersions test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_CipherVersions.moc"
