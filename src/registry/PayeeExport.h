#pragma once

#include "base/Result.h"
#include "registry/PayeeRecords.h"
#include "registry/SqlCipherConnection.h"

// Every payee of the register as it is, for a CSV file: each kind's in the
// order of its list (by name, Turkish order), absent values absent.
namespace PayeeExport {

Result<QList<PayeeFields>> payeesOf(SqlCipherConnection &connection, PaymentCategory category);
Result<PayeeRecords> allPayees(SqlCipherConnection &connection);

} // namespace PayeeExport
