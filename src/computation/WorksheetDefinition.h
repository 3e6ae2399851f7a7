#pragma once

#include "base/PaymentCategory.h"

#include <QString>

#include <vector>

// What one payment category puts on its worksheet: the lines of its accounting
// entry, where each line's figure comes from, and the names of its controls.
// The four worksheets share one implementation driven by this table.

enum class EntryColumn { Debit, Credit };

enum class LineRule {
    Amount, // typed by the user
    StampDuty, // computed on every amount change, may be overwritten by hand
    Net, // the amounts' sum less the stamp duty, written as a value
    Gross, // the amounts' sum, written as a value
    Copy, // another line's text, unchanged (the empty text included)
};

struct EntryLine
{
    QString fieldName;
    EntryColumn column;
    QString caption; // empty where the page shows none
    LineRule rule;
    int copyOf = 0; // Copy: the line whose text is copied
};

struct WorksheetDefinition
{
    PaymentCategory category = PaymentCategory::Pharmacy;
    QString pageCaption; // the hidden result page
    // Lines 1..n in the order the form prints them (element 0 is line 1).
    std::vector<EntryLine> lines;
    QString debitTotalField;
    QString creditTotalField;
    int grossLine = 0; // put into words in the first sentence
    int netLine = 0; // put into words in the receipt sentence
    bool stampAlwaysApplies = false; // no switch: Eczane
    QString stampSwitchName{}; // empty where the stamp duty always applies
    QString stampSwitchCaption{};
    QString liveWordsLabel;
    QString firstSentenceLabel;
    QString secondSentenceLabel;
    QString clearButton;
    QString computeButton;
    QString printButton;

    // Fields are numbered 1..n for the lines, n + 1 for the debit total and
    // n + 2 for the credit total.
    int lineCount() const { return int(lines.size()); }
    int debitTotal() const { return lineCount() + 1; }
    int creditTotal() const { return lineCount() + 2; }
    int fieldCount() const { return lineCount() + 2; }
    const EntryLine &line(int number) const { return lines[std::size_t(number - 1)]; }
    QString fieldName(int field) const;
    // 0 for a name that is not one of the entry's fields.
    int fieldNumber(const QString &name) const;

    std::vector<int> amountLines() const;
    int stampLine() const;
    bool isAmountLine(int field) const;
};

const WorksheetDefinition &worksheetDefinition(PaymentCategory category);
