#pragma once

#include "registry/OrderList.h"
#include "registry/OrderStore.h"

#include <QDateTime>
#include <QStringList>
#include <QtGlobal>

// Orders for the tests of the register: an order of a payee with every
// field filled and the stamp duty of its gross amount, days counted back
// from one fixed day, recording, and the names a list shows.
namespace TestOrders {

inline const QDate kToday(2024, 5, 20);

inline IssuedOrder order(PaymentCategory category, const QString &name, qint64 gross, const QDateTime &issuedAt,
                         qint64 reprintOf = 0)
{
    IssuedOrder order;
    order.issuedAt = issuedAt;
    order.ways = int(OrderWay::Printer);
    order.category = category;
    order.payee = {name, QStringLiteral("12345678901"), QStringLiteral("ZİRAAT ÇANKAYA"),
                   QStringLiteral("TR12 0001 0002"), QStringLiteral("KAVAKLIDERE")};
    order.gross = gross;
    order.stamp = gross * 825 / 100000;
    order.net = gross - order.stamp;
    order.reprintOf = reprintOf;
    return order;
}

inline QDateTime daysAgo(int days, QTime time = QTime(10, 30))
{
    return QDateTime(kToday.addDays(-days), time);
}

inline qint64 add(OrderStore &orders, const IssuedOrder &issued, const QByteArray &page = QByteArrayLiteral("sayfa"))
{
    const Result<qint64> recorded = orders.record(issued, page);
    if (recorded.failed())
        qWarning("%s", qPrintable(recorded.message()));
    return recorded.valueOr(0);
}

inline QStringList names(const OrderList &list)
{
    QStringList shown;
    for (int row = 0; row < list.rowCount(); ++row)
        shown.append(list.orderAt(row).name());
    return shown;
}

} // namespace TestOrders
