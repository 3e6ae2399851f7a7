#include "registry/PayeeExport.h"

#include "registry/PayeeDatabase.h"

#include <QStringList>

namespace PayeeExport {

Result<QList<PayeeFields>> payeesOf(SqlCipherConnection &connection, PaymentCategory category)
{
    const PayeeTable &table = PayeeTable::of(category);
    QStringList columns;
    for (PayeeColumn column : kAllPayeeColumns)
        columns.append(table.columnName(column));
    SqlCipherConnection::Statement rows = connection.prepare(QStringLiteral("SELECT %1 FROM %2 ORDER BY %3, Id")
                                                                 .arg(columns.join(QStringLiteral(", ")), table.tableName(),
                                                                      table.columnName(PayeeColumn::Name)));
    QList<PayeeFields> payees;
    while (rows.next()) {
        PayeeFields fields;
        for (int i = 0; i < kPayeeColumnCount; ++i)
            fields[std::size_t(i)] = rows.text(i);
        payees.append(fields);
    }
    if (rows.error().isError())
        return Failure(PayeeDatabase::failureReason(rows.error(), connection.filePath()));
    return payees;
}

Result<PayeeRecords> allPayees(SqlCipherConnection &connection)
{
    PayeeRecords records;
    for (PaymentCategory category : kAllCategories) {
        Result<QList<PayeeFields>> payees = payeesOf(connection, category);
        if (payees.failed())
            return payees.error();
        records[std::size_t(categoryIndex(category))] = std::move(payees).value();
    }
    return records;
}

} // namespace PayeeExport
