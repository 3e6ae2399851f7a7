#include "issuing/PaymentOrderIssue.h"

#include "issuing/DocumentName.h"
#include "issuing/DuplicateGuard.h"
#include "issuing/OrderRecording.h"
#include "issuing/PageOutput.h"
#include "referencedata/AutomaticDates.h"
#include "registry/OrderIssue.h"

namespace {

IssueOutcome ended(IssueOutcome::Kind kind, QString message, QStringList notes = {})
{
    IssueOutcome outcome;
    outcome.kind = kind;
    outcome.message = std::move(message);
    outcome.notes = std::move(notes);
    return outcome;
}

IssueOutcome stopped(const Delivery &delivery, QStringList notes)
{
    return ended(delivery.end == Delivery::End::Refused ? IssueOutcome::Kind::Refused : IssueOutcome::Kind::Failed,
                 Failure(delivery.message).message(), std::move(notes));
}

} // namespace

PaymentOrderIssue::PaymentOrderIssue(Raporlar &form, OrderStore &orders)
    : m_form(form)
    , m_orders(orders)
{
}

void PaymentOrderIssue::setClock(std::function<QDateTime()> clock)
{
    m_clock = std::move(clock);
}

QDateTime PaymentOrderIssue::now() const
{
    // To the second: what the register keeps.
    const QDateTime moment = m_clock ? m_clock() : QDateTime::currentDateTime();
    const QTime time = moment.time();
    return QDateTime(moment.date(), QTime(time.hour(), time.minute(), time.second()));
}

void PaymentOrderIssue::fillCommonFields(const IssueSettings &settings)
{
    const QDate today = now().date();
    DocumentFilling::CommonInputs common;
    common.institution = settings.institution;
    AutomaticDates::apply(common.institution, today);
    common.currencyChoice = settings.currencyChoice;
    common.fillApprovalDates = settings.fillApprovalDates;
    common.today = today;
    m_form.apply(DocumentFilling::commonFields(common));
}

IssueOutcome PaymentOrderIssue::issue(const DocumentFilling::PaymentInputs &payment, const IssueSettings &settings,
                                      DuplicateGuard &guard, PageOutput &output)
{
    if (const std::optional<Delivery> obstacle = output.obstacle())
        return stopped(*obstacle, {});
    const QDateTime moment = now();
    const Result<IssuedOrder> order = OrderRecording::describe(payment, moment);
    if (order.failed())
        return ended(IssueOutcome::Kind::Failed, order.message());

    if (settings.duplicateGuardDays > 0) {
        // A register that cannot be looked into does not stop a payment: its
        // recording will say what is wrong.
        const Result<std::optional<IssuedOrder>> earlier = m_orders.findSame(
            order->category, order->name(), order->gross, moment.date().addDays(-settings.duplicateGuardDays));
        if (earlier.succeeded() && earlier->has_value() && !guard.proceed(**earlier))
            return ended(IssueOutcome::Kind::Declined, QString());
    }

    fillCommonFields(settings);
    m_form.apply(DocumentFilling::paymentFields(payment));
    return deliver(*order, m_form.prepare(moment.date()), output, {});
}

Result<StoredOrder> PaymentOrderIssue::stored(qint64 number) const
{
    Result<IssuedOrder> order = m_orders.read(number);
    if (order.failed())
        return order.error();
    const Result<QByteArray> bytes = m_orders.page(number);
    if (bytes.failed())
        return bytes.error();
    std::optional<PaymentOrderPage> page = pageFromStore(*bytes);
    if (!page)
        return Failure(QStringLiteral("%1 numaralı belgenin kayıtlı sayfası okunamadı: kayıt bozuk.").arg(number));
    return StoredOrder{std::move(order).value(), std::move(*page)};
}

IssueOutcome PaymentOrderIssue::reissue(qint64 number, PageOutput &output)
{
    if (const std::optional<Delivery> obstacle = output.obstacle())
        return stopped(*obstacle, {});
    const Result<StoredOrder> original = stored(number);
    if (original.failed())
        return ended(IssueOutcome::Kind::Failed, original.message());
    IssuedOrder copy = original->order;
    // A reprint of a reprint is one more copy of the same original.
    copy.reprintOf = copy.isReprint() ? copy.reprintOf : copy.number;
    copy.number = 0;
    copy.issuedAt = now();
    copy.ways = 0;
    return deliver(copy, original->page, output, {});
}

IssueOutcome PaymentOrderIssue::deliver(const IssuedOrder &order, const PaymentOrderPage &page, PageOutput &output,
                                        QStringList notes)
{
    m_lastPage = page;
    OrderIssue issue(&m_orders, order, storedPage(page));
    std::optional<QString> notRecorded;
    bool departed = false;
    const Delivery delivery = output.deliver(page, documentName(order.category, order.name()), [&](OrderWay way) {
        departed = true;
        if (const Result<> recorded = issue.left(way); recorded.failed() && !notRecorded)
            notRecorded = recorded.message();
    });
    // A page that left once has left, however the output ended after it.
    if (!departed)
        return delivery.end == Delivery::End::Closed ? ended(IssueOutcome::Kind::Closed, QString(), std::move(notes))
                                                     : stopped(delivery, std::move(notes));
    IssueOutcome outcome = ended(notRecorded ? IssueOutcome::Kind::NotRecorded : IssueOutcome::Kind::Issued,
                                 notRecorded.value_or(QString()), std::move(notes));
    outcome.number = issue.number();
    outcome.ways = issue.ways();
    return outcome;
}
