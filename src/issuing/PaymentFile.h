#pragma once

#include "base/PaymentCategory.h"
#include "base/Result.h"
#include "computation/WorksheetEntry.h"
#include "issuing/DocumentFilling.h"
#include "registry/PayeeTable.h"

#include <QByteArray>
#include <QStringList>

#include <optional>

class PaymentPreferences;

// The payment file of the windowless commands (--pdf, --print): one payment
// as JSON.
//   {"kind": "Eczane" | "Hastane" | "Tedavi" | "Ozel",
//    "payee": [name, identity number, bank branch, bank account, tax office],
//    "amounts": ["1.000,00"]           (Tedavi: treatment and medicine),
//    "stamp": true | false,
//    "stampText": "8,25"               (optional: a stamp duty typed by hand),
//    "attachments": [{"count": 3, "description": "Adet Fatura"}, ...]  (optional)}
// "kind" names the category as its payee table is named. Amounts are
// written as in an amount field ("1.234,50", "1234,5"), never negative.
namespace PaymentFile {

struct Payment
{
    PaymentCategory category = PaymentCategory::Pharmacy;
    PayeeFields payee;
    QStringList amounts; // the category's amount fields in order, display form or empty
    bool stamp = false;
    std::optional<QString> stampText; // display form
    QList<EntryAttachment> attachments;
};

// The file read and checked; a failure carries one Turkish line that says
// what is wrong.
Result<Payment> parse(const QByteArray &json);

// HESAPLA on a worksheet that the kind selector has just cleared, with the
// payment's amounts, stamp duty switch and hand-typed stamp duty.
DocumentFilling::PaymentInputs compute(const Payment &payment, const PaymentPreferences &preferences,
                                       const CodeSheet &codes);

} // namespace PaymentFile
