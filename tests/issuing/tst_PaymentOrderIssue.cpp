// The one road of a payment order, without widgets: every end an issue can
// come to, what is recorded on each, the guard and its window of days, the
// automatic dates, and a stored order issued again.
#include "computation/PaymentPreferences.h"
#include "computation/PlainWorksheet.h"
#include "computation/WorksheetDefinition.h"
#include "issuing/DuplicateGuard.h"
#include "issuing/PageOutput.h"
#include "issuing/PaymentOrderIssue.h"
#include "referencedata/InstitutionSettings.h"
#include "registry/OrderList.h"
#include "registry/OrderRegister.h"
#include "support/TemporaryPayeeDatabase.h"

#include <QtTest>

namespace {

const QDateTime kNow(QDate(2024, 3, 5), QTime(14, 30, 15));

DocumentFilling::PaymentInputs payment(PaymentCategory category, const QString &gross,
                                       const QString &name = QStringLiteral("ŞİFA ECZANESİ"))
{
    const StoredPaymentPreferences preferences;
    const WorksheetDefinition &definition = worksheetDefinition(category);
    PlainWorksheet worksheet(definition, preferences);
    worksheet.pressClear();
    worksheet.enter(definition.amountLines().front(), gross);
    worksheet.pressCompute();
    return {worksheet.entry(), {name, QStringLiteral("12345678901"), QStringLiteral("ZİRAAT"), QStringLiteral("TR12"),
                                QStringLiteral("ÇANKAYA")},
            CodeSheet(category)};
}

IssueSettings settings(int guardDays = 45)
{
    IssueSettings settings;
    settings.institution = InstitutionSettings::defaults();
    settings.duplicateGuardDays = guardDays;
    return settings;
}

// An output that does what the test says: stands in the way, or takes the
// page, lets it leave the given ways and ends as told.
class ScriptedOutput final : public PageOutput
{
public:
    std::optional<Delivery> inTheWay;
    QList<OrderWay> ways{OrderWay::Printer};
    Delivery end = Delivery::left();
    QList<PaymentOrderPage> pages;
    QStringList names;

    std::optional<Delivery> obstacle() const override { return inTheWay; }
    Delivery deliver(const PaymentOrderPage &page, const QString &name, const Departure &left) override
    {
        pages.append(page);
        names.append(name);
        for (OrderWay way : ways)
            left(way);
        return end;
    }
};

class ScriptedGuard final : public DuplicateGuard
{
public:
    bool answer = true;
    QList<IssuedOrder> asked;

    bool proceed(const IssuedOrder &earlier) override
    {
        asked.append(earlier);
        return answer;
    }
};

QList<IssuedOrder> registerContents(PayeeDatabase &database)
{
    OrderRegister listRegister(database);
    OrderList list(listRegister);
    if (list.open({}).failed())
        return {};
    QList<IssuedOrder> orders;
    for (int row = list.rowCount() - 1; row >= 0; --row)
        orders.append(list.orderAt(row));
    return orders;
}

struct Office
{
    TemporaryPayeeDatabase database;
    OrderRegister orders{database.database()};
    Raporlar form;
    PaymentOrderIssue issue{form, orders};

    Office() { issue.setClock([] { return kNow; }); }
};

} // namespace

Q_DECLARE_METATYPE(Delivery::End)
Q_DECLARE_METATYPE(IssueOutcome::Kind)

class TestPaymentOrderIssue : public QObject
{
    Q_OBJECT

private slots:
    void everyEnd_data();
    void everyEnd();
    void outputInTheWayStopsBeforeAnything();
    void guardAndItsWindowOfDays_data();
    void guardAndItsWindowOfDays();
    void recordThatCannotBeWrittenIsSaid();
    void unreadableAmountIsNeverRecorded();
    void automaticYearAndDate();
    void storedOrderAgain();
    void damagedOrMissingStoredOrder_data();
    void damagedOrMissingStoredOrder();
};

void TestPaymentOrderIssue::everyEnd_data()
{
    QTest::addColumn<QList<OrderWay>>("ways");
    QTest::addColumn<Delivery::End>("end");
    QTest::addColumn<IssueOutcome::Kind>("kind");
    QTest::addColumn<int>("recordedWays"); // 0: no record
    using Ways = QList<OrderWay>;
    QTest::newRow("printed") << Ways{OrderWay::Printer} << Delivery::End::Left << IssueOutcome::Kind::Issued
                             << int(OrderWay::Printer);
    QTest::newRow("saved, then printed twice: one order")
        << Ways{OrderWay::Pdf, OrderWay::Printer, OrderWay::Printer} << Delivery::End::Left
        << IssueOutcome::Kind::Issued << (int(OrderWay::Pdf) | int(OrderWay::Printer));
    QTest::newRow("preview closed") << Ways{} << Delivery::End::Closed << IssueOutcome::Kind::Closed << 0;
    QTest::newRow("refused by the printer") << Ways{} << Delivery::End::Refused << IssueOutcome::Kind::Refused << 0;
    QTest::newRow("failed") << Ways{} << Delivery::End::Failed << IssueOutcome::Kind::Failed << 0;
}

void TestPaymentOrderIssue::everyEnd()
{
    QFETCH(QList<OrderWay>, ways);
    QFETCH(Delivery::End, end);
    QFETCH(IssueOutcome::Kind, kind);
    QFETCH(int, recordedWays);
    Office office;
    QVERIFY2(office.database.error().isEmpty(), qPrintable(office.database.error()));
    ScriptedOutput output;
    output.ways = ways;
    output.end = {end, end == Delivery::End::Left || end == Delivery::End::Closed ? QString()
                                                                                 : QStringLiteral("Yazıcı durdurulmuş.")};
    ScriptedGuard guard;

    const IssueOutcome outcome
        = office.issue.issue(payment(PaymentCategory::Pharmacy, QStringLiteral("1.000,00")), settings(), guard, output);

    QCOMPARE(outcome.kind, kind);
    QCOMPARE(outcome.left(), recordedWays != 0);
    QCOMPARE(outcome.mayTryAgain(), kind == IssueOutcome::Kind::Refused || kind == IssueOutcome::Kind::Failed);
    QCOMPARE(outcome.message, output.end.message);
    QCOMPARE(output.pages.size(), 1);
    QCOMPARE(output.names, QStringList{QStringLiteral("Eczane - ŞİFA ECZANESİ")});
    QCOMPARE(office.issue.lastPage(), output.pages.first());
    const QList<IssuedOrder> recorded = registerContents(office.database.database());
    if (recordedWays == 0) {
        QVERIFY(recorded.isEmpty());
        QCOMPARE(outcome.number, qint64(0));
        return;
    }
    QCOMPARE(recorded.size(), 1);
    const IssuedOrder &order = recorded.first();
    QCOMPARE(outcome.number, order.number);
    QCOMPARE(outcome.ways, recordedWays);
    QCOMPARE(order.ways, recordedWays);
    QCOMPARE(order.issuedAt, kNow);
    QCOMPARE((std::array<qint64, 3>{order.gross, order.stamp, order.net}), (std::array<qint64, 3>{100000, 825, 99175}));
    const Result<QByteArray> stored = office.orders.page(order.number);
    QVERIFY(stored.succeeded());
    QCOMPARE(pageFromStore(*stored), std::optional<PaymentOrderPage>(output.pages.first()));
}

// A printer that is missing or stopped, or a PDF's folder that is not there,
// is said before the guard asks, the form is written or anything recorded.
void TestPaymentOrderIssue::outputInTheWayStopsBeforeAnything()
{
    Office office;
    QVERIFY2(office.database.error().isEmpty(), qPrintable(office.database.error()));
    const auto inputs = payment(PaymentCategory::Hospital, QStringLiteral("500,00"));
    ScriptedOutput first;
    ScriptedGuard guard;
    QCOMPARE(office.issue.issue(inputs, settings(), guard, first).kind, IssueOutcome::Kind::Issued);
    const PaymentOrderPage before = office.form.prepare(kNow.date());

    for (const Delivery &obstacle : {Delivery::refused(QStringLiteral("Yazıcı iş kabul etmiyor.")),
                                     Delivery::failed(QStringLiteral("klasör bulunamadı."))}) {
        ScriptedOutput blocked;
        blocked.inTheWay = obstacle;
        const IssueOutcome outcome = office.issue.issue(inputs, settings(), guard, blocked);
        QCOMPARE(outcome.kind, obstacle.end == Delivery::End::Refused ? IssueOutcome::Kind::Refused
                                                                      : IssueOutcome::Kind::Failed);
        QCOMPARE(outcome.message, obstacle.message);
        QVERIFY(blocked.pages.isEmpty());
    }
    QVERIFY(guard.asked.isEmpty()); // the same payment again: the guard would have asked
    QCOMPARE(office.form.prepare(kNow.date()), before);
    QCOMPARE(registerContents(office.database.database()).size(), 1);
}

void TestPaymentOrderIssue::guardAndItsWindowOfDays_data()
{
    QTest::addColumn<int>("daysAgo");
    QTest::addColumn<int>("guardDays");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<bool>("asked");
    const QString same = QStringLiteral("ŞİFA ECZANESİ");
    QTest::newRow("yesterday, no") << 1 << 45 << same << false << true;
    QTest::newRow("yesterday, yes") << 1 << 45 << same << true << true;
    QTest::newRow("the 45th day still counts") << 45 << 45 << same << false << true;
    QTest::newRow("the 46th no longer") << 46 << 45 << same << false << false;
    QTest::newRow("a window of 60 days") << 50 << 60 << same << false << true;
    QTest::newRow("a window of 1 day") << 2 << 1 << same << false << false;
    QTest::newRow("0 days: no guard") << 0 << 0 << same << false << false;
    QTest::newRow("name in other case") << 3 << 45 << QStringLiteral("Şifa Eczanesi") << false << true;
    QTest::newRow("another payee") << 3 << 45 << QStringLiteral("DEVA ECZANESİ") << false << false;
}

void TestPaymentOrderIssue::guardAndItsWindowOfDays()
{
    QFETCH(int, daysAgo);
    QFETCH(int, guardDays);
    QFETCH(QString, name);
    QFETCH(bool, answer);
    QFETCH(bool, asked);
    Office office;
    QVERIFY2(office.database.error().isEmpty(), qPrintable(office.database.error()));
    IssuedOrder earlier;
    earlier.issuedAt = QDateTime(kNow.date().addDays(-daysAgo), QTime(16, 45));
    earlier.ways = int(OrderWay::Printer);
    earlier.payee[0] = name;
    earlier.gross = 100000;
    QVERIFY(office.orders.record(earlier, QByteArrayLiteral("sayfa")).succeeded());
    const PaymentOrderPage before = office.form.prepare(kNow.date());

    ScriptedOutput output;
    ScriptedGuard guard;
    guard.answer = answer;
    const IssueOutcome outcome = office.issue.issue(payment(PaymentCategory::Pharmacy, QStringLiteral("1.000,00")),
                                                    settings(guardDays), guard, output);

    QCOMPARE(guard.asked.size(), asked ? 1 : 0);
    if (asked) {
        QCOMPARE(guard.asked.first().number, qint64(1));
        QCOMPARE(guard.asked.first().issuedAt.date(), earlier.issuedAt.date());
    }
    const bool issued = !asked || answer;
    QCOMPARE(outcome.kind, issued ? IssueOutcome::Kind::Issued : IssueOutcome::Kind::Declined);
    QCOMPARE(output.pages.size(), issued ? 1 : 0);
    QCOMPARE(registerContents(office.database.database()).size(), issued ? 2 : 1);
    if (!issued) {
        QVERIFY(outcome.mayTryAgain());
        QCOMPARE(office.form.prepare(kNow.date()), before); // "Hayır" writes nothing
    }
}

// A register that cannot take the record does not stop the payment: the
// page leaves, and the outcome says it was not recorded, and why.
void TestPaymentOrderIssue::recordThatCannotBeWrittenIsSaid()
{
    Office office;
    QVERIFY2(office.database.error().isEmpty(), qPrintable(office.database.error()));
    office.database.database().close();
    ScriptedOutput output;
    output.ways = {OrderWay::Pdf};
    ScriptedGuard guard;
    const IssueOutcome outcome
        = office.issue.issue(payment(PaymentCategory::Private, QStringLiteral("40,00")), settings(), guard, output);
    QCOMPARE(outcome.kind, IssueOutcome::Kind::NotRecorded);
    QVERIFY(outcome.left());
    QVERIFY(!outcome.mayTryAgain());
    QVERIFY2(outcome.message.startsWith(QStringLiteral("Belge kaydı yazılamadı: veritabanı açık değil")),
             qPrintable(outcome.message));
    QCOMPARE(output.pages.size(), 1);
}

// What the page shows and what the register keeps are the same figures: an
// amount that cannot be read exactly stops the order instead of recording 0.
void TestPaymentOrderIssue::unreadableAmountIsNeverRecorded()
{
    Office office;
    QVERIFY2(office.database.error().isEmpty(), qPrintable(office.database.error()));
    DocumentFilling::PaymentInputs inputs = payment(PaymentCategory::Pharmacy, QStringLiteral("1.000,00"));
    inputs.entry.lines[0] = QStringLiteral("1.000,0x");
    ScriptedOutput output;
    ScriptedGuard guard;
    const IssueOutcome outcome = office.issue.issue(inputs, settings(), guard, output);
    QCOMPARE(outcome.kind, IssueOutcome::Kind::Failed);
    QVERIFY2(outcome.message.contains(QStringLiteral("brüt tutarı \"1.000,0x\" okunamadı")), qPrintable(outcome.message));
    QVERIFY(output.pages.isEmpty());
    QVERIFY(registerContents(office.database.database()).isEmpty());
}

// The budget year and journal date of the "Otm." boxes follow the day of the
// issue, wherever the values come from.
void TestPaymentOrderIssue::automaticYearAndDate()
{
    Office office;
    QVERIFY2(office.database.error().isEmpty(), qPrintable(office.database.error()));
    IssueSettings ticked = settings();
    ticked.institution.ticks.insert(QStringLiteral("CheckBox1"), true);
    ticked.institution.ticks.insert(QStringLiteral("CheckBox2"), true);
    ticked.institution.texts.insert(QStringLiteral("EdButceYili"), QStringLiteral("1999"));
    ticked.institution.texts.insert(QStringLiteral("EdTarih"), QStringLiteral("01.01.1999"));
    ScriptedOutput output;
    ScriptedGuard guard;
    QVERIFY(office.issue.issue(payment(PaymentCategory::Treatment, QStringLiteral("10,00")), ticked, guard, output)
                .left());
    QCOMPARE(output.pages.first().text(QStringLiteral("MYili")), QStringLiteral("2024"));
    QCOMPARE(output.pages.first().text(QStringLiteral("MTarihi")), QStringLiteral("05.03.2024"));

    IssueSettings unticked = ticked;
    unticked.institution.ticks.insert(QStringLiteral("CheckBox1"), false);
    unticked.institution.ticks.insert(QStringLiteral("CheckBox2"), false);
    QVERIFY(office.issue.issue(payment(PaymentCategory::Treatment, QStringLiteral("11,00")), unticked, guard, output)
                .left());
    QCOMPARE(output.pages.last().text(QStringLiteral("MYili")), QString());
    QCOMPARE(output.pages.last().text(QStringLiteral("MTarihi")), QString());
}

void TestPaymentOrderIssue::storedOrderAgain()
{
    Office office;
    QVERIFY2(office.database.error().isEmpty(), qPrintable(office.database.error()));
    ScriptedOutput original;
    ScriptedGuard guard;
    QVERIFY(office.issue.issue(payment(PaymentCategory::Pharmacy, QStringLiteral("1.000,00")), settings(), guard,
                               original)
                .left());

    // Days later, in another run: the same page, its date included, and a
    // new record that names the original. No guard: it is the same payment.
    Raporlar laterForm;
    PaymentOrderIssue later(laterForm, office.orders);
    later.setClock([] { return kNow.addDays(10); });
    ScriptedOutput again;
    again.ways = {OrderWay::Printer};
    const IssueOutcome reprinted = later.reissue(1, again);
    QCOMPARE(reprinted.kind, IssueOutcome::Kind::Issued);
    QCOMPARE(again.pages, original.pages);
    QCOMPARE(again.names, original.names);
    ScriptedOutput thirdCopy;
    thirdCopy.ways = {OrderWay::Pdf};
    QCOMPARE(later.reissue(reprinted.number, thirdCopy).kind, IssueOutcome::Kind::Issued);
    QCOMPARE(thirdCopy.pages, original.pages);

    const QList<IssuedOrder> recorded = registerContents(office.database.database());
    QCOMPARE(recorded.size(), 3);
    QCOMPARE(recorded[1].reprintOf, qint64(1));
    QCOMPARE(recorded[1].issuedAt, kNow.addDays(10));
    QCOMPARE(recorded[1].ways, int(OrderWay::Printer));
    QCOMPARE(recorded[2].reprintOf, qint64(1)); // a reprint of a reprint is a copy of the original
    QCOMPARE((std::array<qint64, 2>{recorded[2].gross, recorded[2].net}), (std::array<qint64, 2>{100000, 99175}));

    // Closed without leaving: no record.
    ScriptedOutput closed;
    closed.ways = {};
    closed.end = Delivery::closed();
    QCOMPARE(later.reissue(1, closed).kind, IssueOutcome::Kind::Closed);
    QCOMPARE(registerContents(office.database.database()).size(), 3);
}

void TestPaymentOrderIssue::damagedOrMissingStoredOrder_data()
{
    QTest::addColumn<QByteArray>("storedBytes"); // empty: no such record
    QTest::addColumn<QString>("said");
    QTest::newRow("no such record") << QByteArray() << "2 numaralı belge kayıtlı değil";
    QTest::newRow("a page that is not a stored page") << QByteArray("\x00\x01garbage", 9) << "kayıt bozuk";
    QTest::newRow("a stored page cut short") << storedPage(PaymentOrderPage{}).left(10) << "kayıt bozuk";
}

// A reprint never shows an empty or half page for a record it cannot read:
// it says so, and nothing leaves or is recorded.
void TestPaymentOrderIssue::damagedOrMissingStoredOrder()
{
    QFETCH(QByteArray, storedBytes);
    QFETCH(QString, said);
    Office office;
    QVERIFY2(office.database.error().isEmpty(), qPrintable(office.database.error()));
    IssuedOrder order;
    order.issuedAt = kNow;
    order.ways = int(OrderWay::Printer);
    order.payee[0] = QStringLiteral("ŞİFA ECZANESİ");
    order.gross = 100;
    QVERIFY(office.orders.record(order, storedPage(PaymentOrderPage{})).succeeded());
    if (!storedBytes.isEmpty())
        QVERIFY(office.orders.record(order, storedBytes).succeeded());

    ScriptedOutput output;
    output.ways = {OrderWay::Printer};
    const IssueOutcome outcome = office.issue.reissue(2, output);
    QCOMPARE(outcome.kind, IssueOutcome::Kind::Failed);
    QVERIFY2(outcome.message.contains(said), qPrintable(outcome.message));
    QVERIFY(output.pages.isEmpty());
    QCOMPARE(registerContents(office.database.database()).size(), storedBytes.isEmpty() ? 1 : 2);
}

QTEST_MAIN(TestPaymentOrderIssue)
#include "tst_PaymentOrderIssue.moc"
