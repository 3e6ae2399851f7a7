#pragma once

#include "registry/PayeeRecords.h"
#include "registry/SqlCipherConnection.h"

#include <QByteArray>
#include <QByteArrayView>

#include <array>
#include <optional>
#include <vector>

// A payee's five fields as UTF-8 text; nothing for an absent value.
using PayeeUtf8Fields = std::array<std::optional<QByteArrayView>, kPayeeColumnCount>;

// Payees appended to the four tables of a connection inside the caller's
// transaction, many rows to one prepared INSERT: a statement a row costs
// more in the engine's parsing of its step than the row itself does. The
// texts are kept as UTF-8 and bound where they lie, without a copy.
class PayeeBulkInsert
{
public:
    static constexpr int kRowsPerStatement = 100;

    explicit PayeeBulkInsert(SqlCipherConnection &connection);

    SqlCipherConnection::Error append(PaymentCategory category, const PayeeUtf8Fields &fields);
    SqlCipherConnection::Error append(PaymentCategory category, const PayeeFields &fields);
    // Writes the rows still held; call it before the transaction ends.
    SqlCipherConnection::Error finish();

private:
    struct Pending
    {
        QByteArray texts;
        // Where each field's text starts in texts and how long it is; -1
        // for an absent value.
        std::vector<std::array<std::pair<qsizetype, qsizetype>, kPayeeColumnCount>> rows;
        SqlCipherConnection::Statement full;
    };

    SqlCipherConnection::Error write(PaymentCategory category, Pending &pending);

    SqlCipherConnection &m_connection;
    std::array<Pending, kCategoryCount> m_pending;
};
