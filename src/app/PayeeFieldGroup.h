#pragma once

#include "base/PaymentCategory.h"
#include "registry/PayeeTable.h"

#include <QGroupBox>

#include <array>

class QLineEdit;
class UpperCaseKeyFilter;

// The five payee fields of one category at the top of its panel: name,
// identity number, bank branch, bank account and tax office.
class PayeeFieldGroup : public QGroupBox
{
    Q_OBJECT

public:
    PayeeFieldGroup(PaymentCategory category, UpperCaseKeyFilter *upperCase, QWidget *parent);

    PaymentCategory category() const { return m_category; }
    QLineEdit *edit(int row) const { return m_edits[std::size_t(row)]; }
    QLineEdit *edit(PayeeColumn column) const { return m_edits[std::size_t(column)]; }
    const std::array<QLineEdit *, kPayeeColumnCount> &edits() const { return m_edits; }

private:
    PaymentCategory m_category;
    std::array<QLineEdit *, kPayeeColumnCount> m_edits{};
};
