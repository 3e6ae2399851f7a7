#pragma once

#include "app/MainWindowColours.h"
#include "base/PaymentCategory.h"

#include <QFrame>

#include <array>

class PayeeFieldGroup;
class UpperCaseKeyFilter;
class WorksheetSet;

// The main window's work area Panel11: the sunken background Panel5 holding
// one panel per payment category (Panel1, Panel2, Panel3, PanelOzel), each
// with its payee fields and its worksheet below them. Only the chosen
// category's panel is ever shown.
class WorkArea : public QFrame
{
    Q_OBJECT

public:
    WorkArea(UpperCaseKeyFilter *upperCase, QWidget *parent);

    QFrame *background() const { return m_background; }
    QWidget *categoryPanel(PaymentCategory category) const;
    PayeeFieldGroup *payeeFields(PaymentCategory category) const;

    // Puts each category's worksheet below its payee fields.
    void placeWorksheets(WorksheetSet &worksheets);
    void showPanelOf(PaymentCategory category);
    // The field colours on the payee fields, the background colour on Panel5.
    void applyColours(const MainWindowColours &colours);

private:
    QFrame *m_background = nullptr;
    std::array<QFrame *, kCategoryCount> m_panels{};
    std::array<PayeeFieldGroup *, kCategoryCount> m_payeeFields{};
};
