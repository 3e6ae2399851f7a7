// Clerks side by side on one shared register. Ten record orders at the same
// moment, each in a process of their own: every order gets a number, no
// number is given twice, none is skipped, and each order names the clerk who
// recorded it. And the guard against paying twice sees another clerk's
// payment.
#include "registry/SharedOrderRegister.h"
#include "support/ServerDatabase.h"

#include <QProcess>
#include <QtTest>

#include <cstdio>
#include <cstring>

namespace {

constexpr int kClerks = 10;
constexpr int kOrdersEach = 20;
const char kClerkMode[] = "--record-orders-as";

// A clerk's process: records kOrdersEach orders through its own connection.
int recordAsClerk(const char *connection)
{
    SharedRegisterConnection shared;
    if (const Result<> opened = shared.open(QString::fromUtf8(connection)); opened.failed()) {
        std::fprintf(stderr, "%s\n", qPrintable(opened.message()));
        return 1;
    }
    SharedOrderRegister orders(shared);
    for (int i = 0; i < kOrdersEach; ++i) {
        IssuedOrder order;
        order.issuedAt = QDateTime(QDate(2024, 5, 20), QTime(10, 0));
        order.ways = int(OrderWay::Pdf);
        order.payee = {QStringLiteral("ŞİFA ECZANESİ"), {}, {}, {}, {}};
        order.gross = 1000 + i;
        order.net = order.gross;
        const Result<qint64> recorded = orders.record(order, QByteArrayLiteral("sayfa"));
        if (recorded.failed()) {
            std::fprintf(stderr, "%s\n", qPrintable(recorded.message()));
            return 1;
        }
    }
    return 0;
}

} // namespace

class TestSharedOrdersTogether : public QObject
{
    Q_OBJECT

private slots:
    void tenClerksGetEveryNumberOnce();
    void theGuardSeesAnotherClerksPayment();
};

void TestSharedOrdersTogether::tenClerksGetEveryNumberOnce()
{
    const QString unavailable = PrivateServer::unavailable();
    QVERIFY2(unavailable.isEmpty(), qPrintable(unavailable));
    ServerDatabase database;
    QVERIFY2(database.error().isEmpty(), qPrintable(database.error()));

    QStringList roles;
    std::vector<std::unique_ptr<QProcess>> clerks;
    for (int i = 0; i < kClerks; ++i) {
        roles.append(database.addRole());
        auto clerk = std::make_unique<QProcess>();
        clerk->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        clerk->start(QCoreApplication::applicationFilePath(),
                     {QString::fromLatin1(kClerkMode), database.connectionAs(roles.last())});
        clerks.push_back(std::move(clerk));
    }
    for (const auto &clerk : clerks) {
        QVERIFY(clerk->waitForFinished(120000));
        QCOMPARE(clerk->exitStatus(), QProcess::NormalExit);
        QCOMPARE(clerk->exitCode(), 0);
    }

    // Numbers 1 to 200, each once; 20 orders a clerk, each with its page.
    const QStringList numbers = database.rows(QStringLiteral("SELECT no FROM mirvasel.belge ORDER BY no"));
    QCOMPARE(numbers.size(), kClerks * kOrdersEach);
    for (int i = 0; i < numbers.size(); ++i)
        QCOMPARE(numbers[i].toLongLong(), qint64(i + 1));
    const QStringList perClerk = database.rows(
        QStringLiteral("SELECT duzenleyen, count(*) FROM mirvasel.belge GROUP BY duzenleyen ORDER BY duzenleyen"));
    QCOMPARE(perClerk.size(), kClerks);
    for (const QString &row : perClerk) {
        QVERIFY2(roles.contains(row.section(u'|', 0, 0)), qPrintable(row));
        QCOMPARE(row.section(u'|', 1, 1).toInt(), kOrdersEach);
    }
    QCOMPARE(database.rows(QStringLiteral("SELECT count(*) FROM mirvasel.belge_sayfa")),
             QStringList{QString::number(kClerks * kOrdersEach)});
}

void TestSharedOrdersTogether::theGuardSeesAnotherClerksPayment()
{
    const QString unavailable = PrivateServer::unavailable();
    QVERIFY2(unavailable.isEmpty(), qPrintable(unavailable));
    ServerDatabase database;
    QVERIFY2(database.error().isEmpty(), qPrintable(database.error()));
    const QString ayse = database.addRole();
    const QString mehmet = database.addRole();
    SharedRegisterConnection ayseConnection;
    SharedRegisterConnection mehmetConnection;
    QVERIFY(ayseConnection.open(database.connectionAs(ayse)).succeeded());
    QVERIFY(mehmetConnection.open(database.connectionAs(mehmet)).succeeded());
    SharedOrderRegister aysesOrders(ayseConnection);
    SharedOrderRegister mehmetsOrders(mehmetConnection);

    IssuedOrder paid;
    paid.issuedAt = QDateTime(QDate(2024, 5, 20), QTime(10, 0));
    paid.ways = int(OrderWay::Printer);
    paid.payee = {QStringLiteral("ŞİFA ECZANESİ"), {}, {}, {}, {}};
    paid.gross = 123450;
    paid.stamp = 1018;
    paid.net = paid.gross - paid.stamp;
    const Result<qint64> recorded = aysesOrders.record(paid, QByteArrayLiteral("sayfa"));
    QVERIFY2(recorded.succeeded(), qPrintable(recorded.message()));

    const Result<std::optional<IssuedOrder>> same = mehmetsOrders.findSame(
        PaymentCategory::Pharmacy, QStringLiteral("şifa eczanesi"), 123450, QDate(2024, 4, 5));
    QVERIFY2(same.succeeded(), qPrintable(same.message()));
    QVERIFY(same->has_value());
    QCOMPARE((*same)->number, *recorded);
    QCOMPARE((*same)->clerk, ayse);
}

int main(int argc, char *argv[])
{
    if (argc == 3 && std::strcmp(argv[1], kClerkMode) == 0) {
        QCoreApplication application(argc, argv);
        return recordAsClerk(argv[2]);
    }
    QCoreApplication application(argc, argv);
    TestSharedOrdersTogether test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_SharedOrdersTogether.moc"
