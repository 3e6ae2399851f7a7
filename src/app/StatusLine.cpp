#include "app/StatusLine.h"

#include "base/TurkishText.h"
#include "controls/ChangedOnly.h"

#include <QDateTime>
#include <QLabel>
#include <QStatusBar>

namespace {
// Shown until the first hint arrives.
const QString kInitialHint = QStringLiteral("Z e n p a r o l   M ü z e k k e r e s i   3 . 2");
} // namespace

StatusLine::StatusLine(QStatusBar *bar)
    : QObject(bar)
{
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(true);
    for (int i = 0; i < 3; ++i) {
        auto *panel = new QLabel(bar);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        m_panels[std::size_t(i)] = panel;
    }
    m_panels[RecordStatus]->setFixedWidth(185);
    m_panels[Hint]->setFixedWidth(350);
    m_panels[Hint]->setText(kInitialHint);
    m_panels[Clock]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    bar->addWidget(m_panels[RecordStatus]);
    bar->addWidget(m_panels[Hint]);
    bar->addWidget(m_panels[Clock], 1);
}

QString StatusLine::text(Panel panel) const
{
    return m_panels[std::size_t(panel)]->text();
}

void StatusLine::showRecordStatus(const QString &text)
{
    ChangedOnly::setText(m_panels[RecordStatus], text);
}

void StatusLine::showHint(const QString &longHint)
{
    ChangedOnly::setText(m_panels[Hint], QLatin1Char(' ') + longHint);
}

void StatusLine::showClock(const QDateTime &moment)
{
    ChangedOnly::setText(m_panels[Clock], TurkishText::clockText(moment));
}
