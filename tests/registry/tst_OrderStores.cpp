// The register of issued orders behaves alike wherever it is kept, a
// clerk's own file or an office's shared register on a server: every case
// here runs against each (the global rows). Records read back as written,
// one issue is one record, the guard's look-up of a recent payment, and the
// orders window's selection (newest first, name prefix, days, sums).
#include "base/CsvText.h"
#include "registry/OrderCsv.h"
#include "registry/OrderIssue.h"
#include "registry/OrderList.h"
#include "registry/OrderListModel.h"
#include "registry/OrderRegister.h"
#include "support/OrderStoreFixture.h"
#include "support/TestOrders.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace TestOrders;


#define REGISTER_FIXTURE(name)                                                                                         \
    QFETCH_GLOBAL(QString, kind);                                                                                      \
    OrderStoreFixture name(kind);                                                                                      \
    QVERIFY2(name.error().isEmpty(), qPrintable(name.error()))

class TestOrderStores : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data();
    void recordsReadBackAsWritten();
    void valuesAreKeptLiterally_data();
    void valuesAreKeptLiterally();
    void oneIssueIsOneRecordWithEveryWayOut();
    void guardFindsARecentSamePayment_data();
    void guardFindsARecentSamePayment();
    void listIsNewestFirstAndFilters();
    void searchTakesEveryTypedCharacterLiterally_data();
    void searchTakesEveryTypedCharacterLiterally();
    void aRefusedRecordLeavesNoGapAndNothingBehind();
    void theClerkIsShownWhereTheRegisterRecordsIt();
};

void TestOrderStores::initTestCase_data()
{
    QTest::addColumn<QString>("kind");
    for (const QString &kind : OrderStoreFixture::kinds())
        QTest::newRow(qPrintable(kind)) << kind;
}

void TestOrderStores::recordsReadBackAsWritten()
{
    REGISTER_FIXTURE(fixture);
    OrderStore &orders = fixture.orders();
    QVERIFY(orders.availability().succeeded());

    IssuedOrder first = order(PaymentCategory::Treatment, QStringLiteral("AYŞE ÇELİK"), 99999999999999LL,
                              daysAgo(3, QTime(9, 5, 7)));
    first.stamp = 0;
    first.net = first.gross;
    first.ways = int(OrderWay::Printer) | int(OrderWay::Pdf);
    const QByteArray page = QByteArray(5000, '\xE7') + QByteArrayLiteral("\0son");
    const qint64 one = add(orders, first, page);
    const qint64 two = add(orders, order(PaymentCategory::Treatment, first.name(), 1, daysAgo(0), one), QByteArray());
    QCOMPARE(one, qint64(1));
    QCOMPARE(two, qint64(2));

    // Read back after the register was closed and opened again.
    QVERIFY(fixture.reopen().succeeded());
    Result<IssuedOrder> read = orders.read(one);
    QVERIFY2(read.succeeded(), qPrintable(read.message()));
    first.number = one;
    first.clerk = fixture.clerk();
    QCOMPARE(*read, first);
    QCOMPARE(orders.recordsClerks(), !fixture.clerk().isEmpty());
    Result<QByteArray> stored = orders.page(one);
    QVERIFY(stored.succeeded());
    QCOMPARE(*stored, page);
    stored = orders.page(two);
    QVERIFY(stored.succeeded());
    QCOMPARE(*stored, QByteArray(""));
    read = orders.read(two);
    QVERIFY(read.succeeded());
    QVERIFY(read->isReprint());
    QCOMPARE(read->reprintOf, one);

    const Result<IssuedOrder> missing = orders.read(3);
    QVERIFY(missing.failed());
    QVERIFY2(missing.message().contains(QStringLiteral("3 numaralı belge kayıtlı değil")), qPrintable(missing.message()));
    const Result<QByteArray> noPage = orders.page(3);
    QVERIFY(noPage.failed());
    QVERIFY2(noPage.message().contains(QStringLiteral("3 numaralı belgenin sayfası kayıtlı değil")),
             qPrintable(noPage.message()));
}

void TestOrderStores::valuesAreKeptLiterally_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("Turkish letters") << QStringLiteral("ĞÜŞİÖÇ ığüşiöç Ââ Îî Ûû");
    QTest::newRow("quotes and a backslash") << QStringLiteral("O'NEIL \"ECZANE\" \\ ;");
    QTest::newRow("LIKE's own characters") << QStringLiteral("%100_ECZANE%_");
    QTest::newRow("control characters") << QStringLiteral("A\tB\nC\rD\x01" "E");
    QTest::newRow("emoji") << QStringLiteral("ECZANE 💊 🏥");
    QTest::newRow("10 000 characters") << QString(10000, QChar(u'Ş'));
    QTest::newRow("empty text") << QStringLiteral("");
    QTest::newRow("absent") << QString();
}

void TestOrderStores::valuesAreKeptLiterally()
{
    REGISTER_FIXTURE(fixture);
    QFETCH(QString, value);
    IssuedOrder written = order(PaymentCategory::Private, value, 1234, daysAgo(1));
    for (QString &field : written.payee)
        field = value;
    const qint64 number = add(fixture.orders(), written);
    QVERIFY(number > 0);
    const Result<IssuedOrder> read = fixture.orders().read(number);
    QVERIFY2(read.succeeded(), qPrintable(read.message()));
    for (std::size_t column = 0; column < written.payee.size(); ++column) {
        QCOMPARE(read->payee[column], value);
        // An absent value stays absent, an empty text stays a text.
        QCOMPARE(read->payee[column].isNull(), value.isNull());
    }
}

void TestOrderStores::oneIssueIsOneRecordWithEveryWayOut()
{
    REGISTER_FIXTURE(fixture);
    OrderStore &orders = fixture.orders();
    OrderIssue issue(&orders, order(PaymentCategory::Hospital, QStringLiteral("ANKARA ŞEHİR HASTANESİ"), 5000, daysAgo(0)),
                     QByteArrayLiteral("sayfa"));
    QCOMPARE(issue.number(), qint64(0));
    QVERIFY(issue.left(OrderWay::Pdf).succeeded());
    QVERIFY(issue.left(OrderWay::Printer).succeeded());
    QVERIFY(issue.left(OrderWay::Printer).succeeded());
    QCOMPARE(issue.number(), qint64(1));
    QCOMPARE(fixture.storedCount(), qint64(1));
    const Result<IssuedOrder> read = orders.read(1);
    QVERIFY(read.succeeded());
    QCOMPARE(OrderRegister::waysText(read->ways), QStringLiteral("Yazıcı, PDF"));
}

void TestOrderStores::guardFindsARecentSamePayment_data()
{
    QTest::addColumn<IssuedOrder>("earlier");
    QTest::addColumn<bool>("found");
    const QString name = QStringLiteral("ŞİFA ECZANESİ");
    const auto pharmacy = PaymentCategory::Pharmacy;
    QTest::newRow("today") << order(pharmacy, name, 123450, daysAgo(0)) << true;
    QTest::newRow("44 days ago") << order(pharmacy, name, 123450, daysAgo(44)) << true;
    QTest::newRow("45 days ago, first second") << order(pharmacy, name, 123450, daysAgo(45, QTime(0, 0))) << true;
    QTest::newRow("46 days ago, last second") << order(pharmacy, name, 123450, daysAgo(46, QTime(23, 59, 59)))
                                              << false;
    QTest::newRow("another kind") << order(PaymentCategory::Private, name, 123450, daysAgo(1)) << false;
    QTest::newRow("one kuruş more") << order(pharmacy, name, 123451, daysAgo(1)) << false;
    QTest::newRow("name in small letters, extra blanks")
        << order(pharmacy, QStringLiteral(" şifa  eczanesi"), 123450, daysAgo(1)) << true;
    QTest::newRow("dotless I is another letter") << order(pharmacy, QStringLiteral("ŞIFA ECZANESİ"), 123450, daysAgo(1))
                                                 << false;
    QTest::newRow("another payee") << order(pharmacy, QStringLiteral("ŞİFA ECZANESİ 2"), 123450, daysAgo(1)) << false;
    // A reprint is a copy of a payment, not one.
    QTest::newRow("a reprint only") << order(pharmacy, name, 123450, daysAgo(1), 1) << false;
}

void TestOrderStores::guardFindsARecentSamePayment()
{
    REGISTER_FIXTURE(fixture);
    QFETCH(IssuedOrder, earlier);
    QFETCH(bool, found);
    OrderStore &orders = fixture.orders();
    // The original a reprint names, long before the guard's days.
    QCOMPARE(add(orders, order(PaymentCategory::Pharmacy, earlier.name(), 123450, daysAgo(400))), qint64(1));
    const qint64 number = add(orders, earlier);
    QVERIFY(number > 0);

    const Result<std::optional<IssuedOrder>> same
        = orders.findSame(PaymentCategory::Pharmacy, QStringLiteral("ŞİFA ECZANESİ"), 123450, kToday.addDays(-45));
    QVERIFY2(same.succeeded(), qPrintable(same.message()));
    QCOMPARE(same->has_value(), found);
    if (found)
        QCOMPARE((*same)->number, number);
}

void TestOrderStores::listIsNewestFirstAndFilters()
{
    REGISTER_FIXTURE(fixture);
    OrderStore &orders = fixture.orders();
    const auto pharmacy = PaymentCategory::Pharmacy;
    add(orders, order(pharmacy, QStringLiteral("ŞİFA ECZANESİ"), 100000, QDateTime(QDate(2024, 3, 31), QTime(23, 59))));
    add(orders, order(pharmacy, QStringLiteral("IĞDIR ECZANESİ"), 20050, QDateTime(QDate(2024, 4, 1), QTime(0, 0))));
    add(orders, order(pharmacy, QStringLiteral("İNEGÖL ECZANESİ"), 30001, QDateTime(QDate(2024, 5, 2), QTime(8, 0))));
    add(orders, order(pharmacy, QStringLiteral("şişli eczanesi"), 45000, QDateTime(QDate(2024, 6, 30), QTime(17, 0))));
    add(orders, order(pharmacy, QStringLiteral("ŞİFA ECZANESİ"), 100000, QDateTime(QDate(2024, 7, 1), QTime(9, 0)), 1));
    add(orders, order(pharmacy, QString(), 7, QDateTime(QDate(2024, 7, 2), QTime(9, 0))));

    OrderList list(orders);
    QVERIFY(list.open({}).succeeded());
    QCOMPARE(names(list), QStringList({QString(), QStringLiteral("ŞİFA ECZANESİ"), QStringLiteral("şişli eczanesi"),
                                       QStringLiteral("İNEGÖL ECZANESİ"), QStringLiteral("IĞDIR ECZANESİ"),
                                       QStringLiteral("ŞİFA ECZANESİ")}));
    QCOMPARE(list.numberAt(0), qint64(6));
    // The reprint is shown and counted apart, but not added up.
    QCOMPARE(list.totals(), (OrderList::Totals{5, 1, 195058, 195058 - (825 + 165 + 247 + 371)}));

    // The first letters, in either case, by the Turkish alphabet; a payee
    // without a name is found by no letters.
    QVERIFY(list.open({QStringLiteral("şi")}).succeeded());
    QCOMPARE(names(list), QStringList({QStringLiteral("ŞİFA ECZANESİ"), QStringLiteral("şişli eczanesi"),
                                       QStringLiteral("ŞİFA ECZANESİ")}));
    QVERIFY(list.open({QStringLiteral("i")}).succeeded());
    QCOMPARE(names(list), QStringList{QStringLiteral("İNEGÖL ECZANESİ")});
    QVERIFY(list.open({QStringLiteral("ı")}).succeeded());
    QCOMPARE(names(list), QStringList{QStringLiteral("IĞDIR ECZANESİ")});
    QVERIFY(list.open({QStringLiteral("x")}).succeeded());
    QCOMPARE(list.rowCount(), 0);
    QCOMPARE(list.current(), -1);
    QCOMPARE(list.totals(), OrderList::Totals{});

    // The second quarter, both ends included.
    QVERIFY(list.open({QString(), QDate(2024, 4, 1), QDate(2024, 6, 30)}).succeeded());
    QCOMPARE(names(list), QStringList({QStringLiteral("şişli eczanesi"), QStringLiteral("İNEGÖL ECZANESİ"),
                                       QStringLiteral("IĞDIR ECZANESİ")}));
    QCOMPARE(list.totals().gross, qint64(45000 + 30001 + 20050));
    QVERIFY(list.open({QStringLiteral("İ"), QDate(2024, 4, 1), QDate()}).succeeded());
    QCOMPARE(names(list), QStringList{QStringLiteral("İNEGÖL ECZANESİ")});
    QVERIFY(list.open({QString(), QDate(2024, 7, 2), QDate(2024, 7, 2)}).succeeded());
    QCOMPARE(list.rowCount(), 1);
    QVERIFY(list.orderAt(0).name().isNull());
}

void TestOrderStores::searchTakesEveryTypedCharacterLiterally_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("found");
    QTest::newRow("percent") << QStringLiteral("%") << QStringList{QStringLiteral("%50 İNDİRİM")};
    QTest::newRow("underscore") << QStringLiteral("A_") << QStringList{QStringLiteral("A_B ECZANESİ")};
    QTest::newRow("backslash") << QStringLiteral("\\") << QStringList{QStringLiteral("\\YOL")};
    QTest::newRow("quote") << QStringLiteral("o'") << QStringList{QStringLiteral("O'NEIL")};
    QTest::newRow("letters before the underscore") << QStringLiteral("ab") << QStringList{QStringLiteral("AB ECZANESİ")};
}

void TestOrderStores::searchTakesEveryTypedCharacterLiterally()
{
    REGISTER_FIXTURE(fixture);
    QFETCH(QString, typed);
    QFETCH(QStringList, found);
    for (const QString &name : {QStringLiteral("%50 İNDİRİM"), QStringLiteral("A_B ECZANESİ"),
                                QStringLiteral("AB ECZANESİ"), QStringLiteral("\\YOL"), QStringLiteral("O'NEIL"),
                                QStringLiteral("50 İNDİRİM")})
        QVERIFY(add(fixture.orders(), order(PaymentCategory::Pharmacy, name, 100, daysAgo(1))) > 0);
    OrderList list(fixture.orders());
    QVERIFY(list.open({typed}).succeeded());
    QCOMPARE(names(list), found);
}

void TestOrderStores::aRefusedRecordLeavesNoGapAndNothingBehind()
{
    REGISTER_FIXTURE(fixture);
    OrderStore &orders = fixture.orders();
    QCOMPARE(add(orders, order(PaymentCategory::Pharmacy, QStringLiteral("BİR"), 100, daysAgo(1))), qint64(1));
    if (orders.recordsClerks()) {
        // A reprint of an order that comes after it is refused by the server.
        const Result<qint64> refused
            = orders.record(order(PaymentCategory::Pharmacy, QStringLiteral("İKİ"), 100, daysAgo(1), 5), "sayfa");
        QVERIFY(refused.failed());
        QVERIFY2(refused.message().startsWith(QStringLiteral("Belge kaydı yazılamadı: ")), qPrintable(refused.message()));
        QCOMPARE(fixture.storedCount(), qint64(1));
    }
    // The refused number is given again: no gap.
    QCOMPARE(add(orders, order(PaymentCategory::Pharmacy, QStringLiteral("ÜÇ"), 100, daysAgo(1))), qint64(2));
    const Result<IssuedOrder> read = orders.read(2);
    QVERIFY(read.succeeded());
    QCOMPARE(read->name(), QStringLiteral("ÜÇ"));
}

// A clerk's own file has one clerk and shows no such column, in the window
// or in the CSV file, as before; a shared register names each order's.
void TestOrderStores::theClerkIsShownWhereTheRegisterRecordsIt()
{
    REGISTER_FIXTURE(fixture);
    QVERIFY(add(fixture.orders(), order(PaymentCategory::Pharmacy, QStringLiteral("ŞİFA ECZANESİ"), 100, daysAgo(1))) > 0);
    OrderList list(fixture.orders());
    QVERIFY(list.open({}).succeeded());
    const bool withClerk = !fixture.clerk().isEmpty();

    OrderListModel model(&list);
    QCOMPARE(model.columnCount(), withClerk ? 7 : 6);
    const int last = model.columnCount() - 1;
    QCOMPARE(model.headerData(last, Qt::Horizontal).toString().trimmed(),
             withClerk ? QStringLiteral("Düzenleyen") : QStringLiteral("Net Tutar"));
    if (withClerk)
        QCOMPARE(model.data(model.index(0, last)).toString(), fixture.clerk());

    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("belgeler.csv"));
    QVERIFY(OrderCsv::write(list, path).succeeded());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0].endsWith(QStringLiteral(";Düzenleyen")), withClerk);
    QCOMPARE(lines[1].endsWith(QStringLiteral(";") + fixture.clerk()), true);
}

QTEST_GUILESS_MAIN(TestOrderStores)
#include "tst_OrderStores.moc"
