#pragma once

#include "base/PaymentCategory.h"

#include <QString>

class PayeeDatabase;
class QWidget;

// "Dışa Aktar" and "İçe Aktar" of the chosen kind's list: its payees into a
// CSV file for a spreadsheet, and a spreadsheet's CSV file into it
// (PayeeCsv). An import is all or nothing and skips the payees equal in all
// five fields to one there; a file with bad rows is refused with their line
// numbers unless the user chooses to skip them.
namespace PayeeCsvDialogs {

// Asks for the file, then writes or reads it. Whether anything was written
// into the register (import) or the file written (export).
bool exportList(QWidget *parent, PayeeDatabase &database, PaymentCategory category);
bool importList(QWidget *parent, PayeeDatabase &database, PaymentCategory category);

// The same with the file given.
bool exportTo(QWidget *parent, PayeeDatabase &database, PaymentCategory category, const QString &filePath);
bool importFrom(QWidget *parent, PayeeDatabase &database, PaymentCategory category, const QString &filePath);

} // namespace PayeeCsvDialogs
