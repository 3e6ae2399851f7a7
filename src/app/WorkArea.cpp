#include "app/WorkArea.h"

#include "app/CategoryScreen.h"
#include "app/FieldColours.h"
#include "app/PayeeFieldGroup.h"
#include "base/WindowsColour.h"
#include "controls/ChangedOnly.h"
#include "worksheets/WorksheetSet.h"

#include <QApplication>
#include <QLineEdit>
#include <QVBoxLayout>

WorkArea::WorkArea(UpperCaseKeyFilter *upperCase, QWidget *parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("Panel11"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(3, 3, 3, 3);
    m_background = new QFrame(this);
    m_background->setObjectName(QStringLiteral("Panel5"));
    m_background->setFrameShape(QFrame::Panel);
    m_background->setFrameShadow(QFrame::Sunken);
    m_background->setAutoFillBackground(true);
    layout->addWidget(m_background);

    for (PaymentCategory category : kAllCategories) {
        auto *panel = new QFrame(m_background);
        panel->setObjectName(categoryScreen(category).panelName);
        panel->setGeometry(6, 6, 576, 411);
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setAutoFillBackground(true);
        panel->setPalette(QApplication::palette());
        auto *fields = new PayeeFieldGroup(category, upperCase, panel);
        fields->move(5, 4);
        panel->hide();
        m_panels[std::size_t(categoryIndex(category))] = panel;
        m_payeeFields[std::size_t(categoryIndex(category))] = fields;
    }
}

QWidget *WorkArea::categoryPanel(PaymentCategory category) const
{
    return m_panels[std::size_t(categoryIndex(category))];
}

PayeeFieldGroup *WorkArea::payeeFields(PaymentCategory category) const
{
    return m_payeeFields[std::size_t(categoryIndex(category))];
}

void WorkArea::placeWorksheets(WorksheetSet &worksheets)
{
    for (PaymentCategory category : kAllCategories)
        worksheets.placeInto(category, categoryPanel(category));
}

void WorkArea::showPanelOf(PaymentCategory category)
{
    for (PaymentCategory each : kAllCategories)
        categoryPanel(each)->setVisible(each == category);
}

void WorkArea::applyColours(const MainWindowColours &colours)
{
    for (PayeeFieldGroup *group : m_payeeFields) {
        for (QLineEdit *edit : group->edits())
            FieldColours::apply(edit, colours);
    }
    const QColor background = WindowsColour::toQColor(colours.background);
    if (background.isValid()) {
        QPalette palette = m_background->palette();
        palette.setColor(QPalette::Window, background);
        ChangedOnly::setPalette(m_background, palette);
    }
}
