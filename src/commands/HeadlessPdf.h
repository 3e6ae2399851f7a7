#pragma once

#include "base/PaymentCategory.h"
#include "issuing/DocumentFilling.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

// "Zenparol --pdf OUT.pdf PAYMENT.json": one payment order into a PDF file,
// without a window, through the same computation, filling and painting as
// YAZDIR, with the settings file of the program folder (codes, institution,
// preferences).
//
// The order is recorded in the register of issued orders of "Data.dat" in
// the program folder, which is created (empty) when it does not exist yet,
// as the program's first start does on "Evet". An order of the same category,
// payee name and gross amount issued in the last 45 days is not asked
// about: a warning line goes to standard error and the PDF is written.
//
// The command runs beside an open window, never during maintenance of the
// program folder (FolderAccess): it waits a few seconds for a backup, a
// compaction, a repair or the clean-up at start to end, and otherwise ends
// with Busy before it has written anything.
//
// PAYMENT.json:
//   {"kind": "Eczane" | "Hastane" | "Tedavi" | "Ozel",
//    "payee": [name, identity number, bank branch, bank account, tax office],
//    "amounts": ["1.000,00"]           (Tedavi: treatment and medicine),
//    "stamp": true | false,
//    "stampText": "8,25"               (optional: a stamp duty typed by hand),
//    "attachments": [{"count": 3, "description": "Adet Fatura"}, ...]  (optional)}
namespace HeadlessPdf {

enum ExitStatus : int {
    Printed = 0,
    Failed = 1, // the PDF could not be written
    BadInput = 2, // wrong arguments or a bad payment file; nothing written
    NotRecorded = 3, // the PDF was written, but the register could not record it
    Busy = 5, // a backup, compaction, repair or start-up clean-up held the program folder; nothing written
};

struct Outcome
{
    int status = Printed;
    QString message; // Turkish, one line a fact; may say something on success too
};

// Whether the command line asks for the headless output: "--pdf" first.
bool requested(int argc, char **argv);

// The payment file read and checked.
struct Payment
{
    PaymentCategory category = PaymentCategory::Pharmacy;
    PayeeFields payee;
    QStringList amounts; // the category's amount fields in order, display form or empty
    bool stamp = false;
    std::optional<QString> stampText;
    QList<DocumentFilling::Attachment> attachments;
};

// A failure carries the one-line message for standard error.
struct ParsedPayment
{
    std::optional<Payment> payment;
    QString error;
};
ParsedPayment parsePayment(const QByteArray &json);

// Computes, fills and writes the PDF. arguments: the command line after the
// program's name ("--pdf", OUT.pdf, PAYMENT.json).
Outcome run(const QStringList &arguments, const QDate &today = QDate::currentDate());

// The whole command: sets up a window-less application, runs, writes the
// message to standard error and returns the exit status.
int main(int argc, char **argv);

} // namespace HeadlessPdf
