#pragma once

#include "registry/OrderStore.h"
#include "registry/SharedRegisterConnection.h"

#include <QString>
#include <QStringList>

#include <memory>

class OrderRegister;
class ServerDatabase;
class SharedOrderRegister;
class TemporaryPayeeDatabase;

// An empty register of issued orders of one kind, for the table of cases
// that every kind must pass alike: "dosya", a clerk's own database file, or
// "sunucu", a shared register on the private PostgreSQL server, used by a
// clerk's role.
class OrderStoreFixture
{
public:
    static QStringList kinds() { return {QStringLiteral("dosya"), QStringLiteral("sunucu")}; }

    explicit OrderStoreFixture(const QString &kind);
    ~OrderStoreFixture();
    OrderStoreFixture(const OrderStoreFixture &) = delete;
    OrderStoreFixture &operator=(const OrderStoreFixture &) = delete;

    // Empty when the register is ready.
    QString error() const { return m_error; }
    OrderStore &orders() { return *m_orders; }
    // Closes the file or the connection and opens it again: what was
    // recorded must have been written, not only kept in memory.
    Result<> reopen();
    // The clerk's role on the server; empty for a file.
    QString clerk() const { return m_clerk; }
    // How many orders are stored, counted apart from the code under test.
    qint64 storedCount();

private:
    QString m_kind;
    QString m_error;
    QString m_clerk;
    std::unique_ptr<TemporaryPayeeDatabase> m_file;
    std::unique_ptr<OrderRegister> m_fileOrders;
    std::unique_ptr<ServerDatabase> m_server;
    SharedRegisterConnection m_connection;
    std::unique_ptr<SharedOrderRegister> m_serverOrders;
    OrderStore *m_orders = nullptr;
};
