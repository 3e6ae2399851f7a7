#include "orders/OrderReprinting.h"

#include "desktop/MessageBoxes.h"
#include "issuing/OrderRecording.h"
#include "issuing/PagePainter.h"

OrderReprinting::OrderReprinting(OrderRegister &orders)
    : m_orders(orders)
    , m_output(std::make_unique<DesktopPageOutput>())
{
}

OrderReprinting::~OrderReprinting() = default;

void OrderReprinting::setOutput(std::unique_ptr<PageOutput> output)
{
    m_output = output ? std::move(output) : std::make_unique<DesktopPageOutput>();
}

void OrderReprinting::setClock(std::function<QDateTime()> clock)
{
    m_clock = std::move(clock);
}

QString OrderReprinting::documentNameOf(const IssuedOrder &order)
{
    return documentName(order.category, order.name());
}

Result<> OrderReprinting::load(qint64 number, PaymentOrderPage *page, IssuedOrder *order, QByteArray *stored) const
{
    if (const Result<> found = m_orders.read(number, order); found.failed())
        return found;
    if (const Result<> loaded = m_orders.page(number, stored); loaded.failed())
        return loaded;
    const std::optional<PaymentOrderPage> restored = pageFromStore(*stored);
    if (!restored)
        return Result<>::failure(QStringLiteral("%1 numaralı belgenin kayıtlı sayfası okunamadı: kayıt bozuk.").arg(number));
    *page = *restored;
    return Result<>::success();
}

Result<> OrderReprinting::storedPage(qint64 number, PaymentOrderPage *page, IssuedOrder *order) const
{
    IssuedOrder read;
    QByteArray stored;
    const Result<> loaded = load(number, page, &read, &stored);
    if (loaded.succeeded() && order)
        *order = read;
    return loaded;
}

Result<> OrderReprinting::prepare(qint64 number, PaymentOrderPage *page, IssuedOrder *reprint, QByteArray *stored) const
{
    IssuedOrder original;
    if (const Result<> found = load(number, page, &original, stored); found.failed())
        return found;
    *reprint = original;
    // A reprint of a reprint is one more copy of the same original.
    reprint->reprintOf = original.isReprint() ? original.reprintOf : original.number;
    reprint->issuedAt = m_clock ? m_clock() : OrderRecording::issueMoment(QDate::currentDate());
    reprint->ways = 0;
    return Result<>::success();
}

Result<> OrderReprinting::reprint(qint64 number, QWidget *parent, qint64 *reprinted)
{
    *reprinted = 0;
    PaymentOrderPage page;
    IssuedOrder copy;
    QByteArray stored;
    if (const Result<> prepared = prepare(number, &page, &copy, &stored); prepared.failed())
        return prepared;
    OrderIssue issue(&m_orders, copy, stored);
    m_output->preview(page, documentNameOf(copy), parent, [&issue, parent](OrderWay way) {
        if (const Result<> recorded = issue.left(way); recorded.failed())
            MessageBoxes::warning(parent, OrderRecording::notRecordedText(recorded));
    });
    *reprinted = issue.number();
    return Result<>::success();
}

Result<> OrderReprinting::savePdf(qint64 number, const QString &filePath, qint64 *reprinted)
{
    *reprinted = 0;
    PaymentOrderPage page;
    IssuedOrder copy;
    QByteArray stored;
    if (const Result<> prepared = prepare(number, &page, &copy, &stored); prepared.failed())
        return prepared;
    if (const Result<> saved = PagePainter::savePdf(page, filePath, documentNameOf(copy)); saved.failed())
        return saved;
    OrderIssue issue(&m_orders, copy, stored);
    const Result<> recorded = issue.left(OrderWay::Pdf);
    *reprinted = issue.number();
    if (recorded.failed())
        return Result<>::failure(OrderRecording::notRecordedText(recorded));
    return Result<>::success();
}
