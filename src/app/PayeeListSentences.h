#pragma once

#include <QString>

class PayeeList;

// What the main window says about the list of the chosen kind: the record
// status under the grid and the question before a delete.
namespace PayeeListSentences {

// "  Toplam 12 eczane - Gösterilen:  3". While a new record is inserted it
// counts the new record and shows the new record's row, so that the numbers
// read the same once it is saved.
QString recordStatus(const PayeeList &list);

// The current name between single quotes (quotes in it doubled) and the
// kind's question; the name typed so far while inserting.
QString deleteQuestion(const PayeeList &list);

} // namespace PayeeListSentences
