#pragma once

#include "base/PaymentCategory.h"
#include "referencedata/AccountCodeLine.h"

#include <QList>
#include <QString>

#include <array>

// The account lines that the form of one payment category carries, in print
// order. A new sheet holds the institution's usual codes; the user's own come
// from the settings file.
class CodeSheet
{
public:
    explicit CodeSheet(PaymentCategory category);

    PaymentCategory category() const { return m_category; }
    int rowCount() const { return int(m_lines.size()); }
    static int rowCount(PaymentCategory category);

    // Rows and columns count from 1; outside the sheet reads as empty.
    QString text(int row, int column) const;
    QString name(int row) const { return text(row, AccountCodeLine::kName); }
    const AccountCodeLine &line(int row) const;

    // Puts text into a cell; false (and nothing changes) for a fixed cell or
    // one outside the sheet.
    bool setText(int row, int column, const QString &text);

    // The private sheet's stamp duty names: always "Damga Vergisi", never
    // edited, never stored.
    bool isFixed(int row, int column) const { return isFixed(m_category, row, column); }
    static bool isFixed(PaymentCategory category, int row, int column);
    static QString fixedText();

    bool contains(int row, int column) const
    {
        return row >= 1 && row <= rowCount() && AccountCodeLine::isColumn(column);
    }

    friend bool operator==(const CodeSheet &, const CodeSheet &) = default;

private:
    PaymentCategory m_category;
    QList<AccountCodeLine> m_lines;
};

// The four sheets in PaymentCategory order.
using CodeSheets = std::array<CodeSheet, kCategoryCount>;

CodeSheets defaultCodeSheets();
