#include "registry/OrderIssue.h"

#include <utility>

OrderIssue::OrderIssue(OrderStore *orders, IssuedOrder order, QByteArray page)
    : m_orders(orders)
    , m_order(std::move(order))
    , m_page(std::move(page))
{
}

Result<> OrderIssue::left(OrderWay way)
{
    if ((m_ways & int(way)) != 0 && m_number != 0)
        return Result<>::success();
    if (!m_orders)
        return Result<>::failure(QStringLiteral("Belge kaydı yazılamadı: belge kaydı açık değil."));
    if (m_number == 0) {
        IssuedOrder order = m_order;
        order.ways = int(way);
        const Result<qint64> recorded = m_orders->record(order, m_page);
        if (recorded.failed())
            return recorded.error();
        m_number = *recorded;
        m_ways = int(way);
        return Result<>::success();
    }
    const Result<> added = m_orders->addWay(m_number, way);
    if (added.succeeded())
        m_ways |= int(way);
    return added;
}
