#include "controls/TabSetBar.h"

#include <QStyleOptionTab>
#include <QStylePainter>

TabSetBar::TabSetBar(QWidget *parent)
    : QTabBar(parent)
{
}

void TabSetBar::setUnselectedTabColour(const QColor &colour)
{
    if (colour == m_unselected)
        return;
    m_unselected = colour;
    update();
}

void TabSetBar::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    // Unselected tabs first, so that the selected one overlaps them.
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < count(); ++i) {
            const bool selected = i == currentIndex();
            if (selected != (pass == 1))
                continue;
            QStyleOptionTab option;
            initStyleOption(&option, i);
            if (!selected) {
                option.palette.setColor(QPalette::Button, m_unselected);
                option.palette.setColor(QPalette::Window, m_unselected);
            }
            painter.drawControl(QStyle::CE_TabBarTabShape, option);
            if (!selected)
                painter.fillRect(option.rect.adjusted(2, 2, -2, 0), m_unselected);
            painter.drawControl(QStyle::CE_TabBarTabLabel, option);
        }
    }
}
