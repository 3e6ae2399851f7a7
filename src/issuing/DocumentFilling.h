#pragma once

#include "base/PaymentCategory.h"
#include "computation/WorksheetEntry.h"
#include "issuing/PaymentOrderPage.h"
#include "referencedata/CodeSheet.h"
#include "referencedata/InstitutionSettings.h"
#include "registry/PayeeTable.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

// What the form's boxes receive for one payment, as plain functions of their
// inputs: the common fields that every document shares, then the fields of
// the payment. The print handlers gather the inputs at the moment of
// printing and hand the writes to Raporlar in the order given here.
namespace DocumentFilling {

// The placeholder of an approval date written by hand.
QString handwrittenDate();

struct CommonInputs
{
    InstitutionValues institution; // the institution window's fields
    int currencyChoice = 1; // 0 "YTL - YKr", any other "TL - Kr"
    bool fillApprovalDates = true;
    QDate today;
};

// BtnSabitClick: institution, journal entry, preparer, the approval blocks
// left to right, reviewers, the cleared amount grid and rows 8 and 9, the
// footnote, the unit captions.
BoxWrites commonFields(const CommonInputs &inputs);

// One payment: the computed entry, the payee and the category's codes.
struct PaymentInputs
{
    WorksheetEntry entry;
    PayeeFields payee;
    CodeSheet codes{PaymentCategory::Pharmacy}; // the entry's category's sheet

    PaymentCategory category() const { return entry.category; }
};

// What differs between the documents of the four categories beyond the
// worksheet's own table: which line feeds each summary column, and the
// amounts printed only when another line has text.
struct DocumentDefinition
{
    PaymentCategory category;
    int gridRows; // grid row r prints entry line r
    // A grid row whose amount prints only when another line has text (0: none).
    int conditionalRow = 0;
    int conditionalRowNeeds = 0;
    int budgetExpenseLine; // "Bütçe Gideri Zenparol Eden"
    int deductionLine; // "Kesinti Toplamı"
    int deductionNeeds = 0; // the line that must have text, 0: none
    int payableLine; // "Ödenmesi Gereken"
    int attachmentLines;
};

const DocumentDefinition &documentDefinition(PaymentCategory category);

// BtnPrintClick .. BtnPrint4Click, steps 2 to 8: payee, grid amounts and
// totals, the two sentences, the summary, the attachment lines, the account
// names and the codes.
BoxWrites paymentFields(const PaymentInputs &inputs);

// The lira and kuruş boxes of an amount field: the whole lira and the last
// two characters, or both cleared when the field is empty.
void writeAmount(BoxWrites &writes, const QString &liraBox, const QString &kurusBox, const QString &fieldText);

} // namespace DocumentFilling
