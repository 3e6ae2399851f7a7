#include "registry/PayeeBulkInsert.h"

PayeeBulkInsert::PayeeBulkInsert(SqlCipherConnection &connection) : m_connection(connection) {}

SqlCipherConnection::Error PayeeBulkInsert::append(PaymentCategory category, const PayeeUtf8Fields &fields)
{
    Pending &pending = m_pending[std::size_t(categoryIndex(category))];
    std::array<std::pair<qsizetype, qsizetype>, kPayeeColumnCount> row;
    for (int i = 0; i < kPayeeColumnCount; ++i) {
        const std::optional<QByteArrayView> &field = fields[std::size_t(i)];
        if (!field) {
            row[std::size_t(i)] = {-1, 0};
            continue;
        }
        row[std::size_t(i)] = {pending.texts.size(), field->size()};
        pending.texts.append(*field);
    }
    pending.rows.push_back(row);
    if (pending.rows.size() < std::size_t(kRowsPerStatement))
        return {};
    return write(category, pending);
}

SqlCipherConnection::Error PayeeBulkInsert::append(PaymentCategory category, const PayeeFields &fields)
{
    std::array<QByteArray, kPayeeColumnCount> utf8;
    PayeeUtf8Fields views;
    for (int i = 0; i < kPayeeColumnCount; ++i) {
        const QString &field = fields[std::size_t(i)];
        if (field.isNull())
            continue;
        utf8[std::size_t(i)] = field.toUtf8();
        views[std::size_t(i)] = QByteArrayView(utf8[std::size_t(i)]);
    }
    return append(category, views);
}

SqlCipherConnection::Error PayeeBulkInsert::finish()
{
    for (PaymentCategory category : kAllCategories) {
        Pending &pending = m_pending[std::size_t(categoryIndex(category))];
        if (pending.rows.empty())
            continue;
        if (const SqlCipherConnection::Error error = write(category, pending); error.isError())
            return error;
    }
    return {};
}

SqlCipherConnection::Error PayeeBulkInsert::write(PaymentCategory category, Pending &pending)
{
    const int rows = int(pending.rows.size());
    SqlCipherConnection::Statement partial;
    SqlCipherConnection::Statement *statement = &pending.full;
    if (rows == kRowsPerStatement) {
        if (!pending.full.isValid())
            pending.full = m_connection.prepare(PayeeTable::of(category).insertManySql(kRowsPerStatement));
    } else {
        // The last rows of a table: a statement of their own number, once.
        partial = m_connection.prepare(PayeeTable::of(category).insertManySql(rows));
        statement = &partial;
    }
    if (statement->error().isError())
        return statement->error();
    // An empty text must not point nowhere: that would be NULL.
    const char *texts = pending.texts.isEmpty() ? "" : pending.texts.constData();
    int parameter = 1;
    for (const auto &row : pending.rows) {
        for (const auto &[start, size] : row) {
            statement->bindUtf8(parameter++, start < 0 ? nullptr : texts + start, size);
        }
    }
    const SqlCipherConnection::Error error = statement->run();
    pending.rows.clear();
    pending.texts.resize(0);
    return error;
}
