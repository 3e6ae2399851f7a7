#include "support/OrderStoreFixture.h"

#include "registry/OrderRegister.h"
#include "registry/SharedOrderRegister.h"
#include "support/ServerDatabase.h"
#include "support/TemporaryPayeeDatabase.h"

OrderStoreFixture::OrderStoreFixture(const QString &kind)
    : m_kind(kind)
{
    if (kind == QLatin1String("dosya")) {
        m_file = std::make_unique<TemporaryPayeeDatabase>();
        m_error = m_file->error();
        m_fileOrders = std::make_unique<OrderRegister>(m_file->database());
        m_orders = m_fileOrders.get();
        return;
    }
    // A register the tests cannot reach fails them: it is never skipped.
    if (const QString unavailable = PrivateServer::unavailable(); !unavailable.isEmpty()) {
        m_error = unavailable;
        return;
    }
    m_server = std::make_unique<ServerDatabase>();
    if (!m_server->error().isEmpty()) {
        m_error = m_server->error();
        return;
    }
    m_clerk = m_server->addRole();
    if (const Result<> opened = m_connection.open(m_server->connectionAs(m_clerk)); opened.failed()) {
        m_error = opened.message();
        return;
    }
    m_serverOrders = std::make_unique<SharedOrderRegister>(m_connection);
    m_orders = m_serverOrders.get();
}

OrderStoreFixture::~OrderStoreFixture()
{
    // The connection goes before its database.
    m_connection.close();
}

Result<> OrderStoreFixture::reopen()
{
    if (m_file) {
        m_file->database().close();
        if (!m_file->database().open().isOpened())
            return Result<>::failure(QStringLiteral("the file did not open again"));
        return Result<>::success();
    }
    m_connection.close();
    return m_connection.open(m_server->connectionAs(m_clerk));
}

qint64 OrderStoreFixture::storedCount()
{
    if (m_file)
        return m_file->connection().queryInt64(QStringLiteral("SELECT count(*) FROM Belge"));
    const QStringList rows = m_server->rows(QStringLiteral("SELECT count(*) FROM mirvasel.belge"));
    return rows.size() == 1 ? rows.first().toLongLong() : -1;
}
