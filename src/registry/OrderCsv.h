#pragma once

#include "base/Result.h"
#include "registry/OrderStore.h"

#include <QString>
#include <QStringList>

class OrderList;

// The register's records as a CSV file for a Turkish spreadsheet (the rules
// of CsvText): a header row in Turkish, then one row per record in the
// order given, days as dd.MM.yyyy, amounts with a decimal comma and no
// thousands points so that they are read as numbers. The payee's texts stay
// texts, whatever they begin with (CsvText::field).
namespace OrderCsv {

// withClerk: a last column "Düzenleyen", for a register that records the
// clerk of each order.
QStringList header(bool withClerk = false);
QStringList fields(const IssuedOrder &order, bool withClerk = false);

// Writes every record of the list, as shown, in one step: on failure no
// file, and an earlier file of the same name stays as it was. A record
// that cannot be read stops it too (then unreadable is set): no record is
// ever left out silently.
Result<> write(const OrderList &list, const QString &filePath, bool *unreadable = nullptr);

} // namespace OrderCsv
