#pragma once

#include "app/PaymentCategory.h"

#include <QFrame>
#include <array>

class QLineEdit;
class UpperCaseKeyFilter;

// The five payee fields of one kind at the top of its panel: name, identity
// number, bank branch, bank account and tax office.
class PayeeFieldGroup : public QFrame
{
    Q_OBJECT

public:
    PayeeFieldGroup(PaymentCategory category, UpperCaseKeyFilter *upperCase, QWidget *parent);

    PaymentCategory category() const { return m_category; }
    QLineEdit *edit(int row) const { return m_edits[std::size_t(row)]; }
    const std::array<QLineEdit *, 5> &edits() const { return m_edits; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    PaymentCategory m_category;
    QString m_caption;
    std::array<QLineEdit *, 5> m_edits{};
};
