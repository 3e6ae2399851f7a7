#pragma once

#include "base/Result.h"
#include "registry/OrderStore.h"

#include <QByteArray>

// One issue of a page: recorded once, at the first way it leaves the
// program; each later way out of the same issue (the preview's print after
// its PDF, a second print) is added to that record, not recorded anew.
class OrderIssue
{
public:
    OrderIssue(OrderStore *orders, IssuedOrder order, QByteArray page);

    // The page has left the program this way.
    Result<> left(OrderWay way);
    // 0 until recorded.
    qint64 number() const { return m_number; }
    // OrderWay flags of the ways recorded so far.
    int ways() const { return m_ways; }

private:
    OrderStore *m_orders;
    IssuedOrder m_order;
    QByteArray m_page;
    qint64 m_number = 0;
    int m_ways = 0;
};
