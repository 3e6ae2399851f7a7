#pragma once

#include "registry/OrderStore.h"
#include "registry/SharedRegisterConnection.h"

// The register of issued payment orders in an office's shared register on a
// PostgreSQL server (sql/mirvasel-shared-register.sql): the orders of every
// clerk, numbered without gaps across the office by the server, each naming
// the clerk who issued it. The server refuses to change or delete an order,
// to the clerks by their grants and to everyone by its triggers.
class SharedOrderRegister : public OrderStore
{
public:
    explicit SharedOrderRegister(SharedRegisterConnection &connection);

    Result<> availability() const override;
    Result<qint64> record(const IssuedOrder &order, const QByteArray &page) override;
    Result<> addWay(qint64 number, OrderWay way) override;
    Result<IssuedOrder> read(qint64 number) const override;
    Result<QByteArray> page(qint64 number) const override;
    Result<std::optional<IssuedOrder>> findSame(PaymentCategory category, const QString &payeeName, qint64 gross,
                                                const QDate &since) const override;
    Result<OrderSelection> select(const OrderFilter &filter) const override;
    bool recordsClerks() const override { return true; }

private:
    SharedRegisterConnection &m_connection;
};
