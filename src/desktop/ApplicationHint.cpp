#include "desktop/ApplicationHint.h"

#include "desktop/HintText.h"

#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QStatusTipEvent>

ApplicationHint::ApplicationHint(QObject *parent)
    : QObject(parent)
{
    QCoreApplication::instance()->installEventFilter(this);
}

ApplicationHint::~ApplicationHint()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

QString ApplicationHint::hintOf(const QWidget *control)
{
    for (const QWidget *widget = control; widget; widget = widget->parentWidget()) {
        if (!widget->statusTip().isEmpty())
            return widget->statusTip();
        if (widget->isWindow())
            break;
    }
    return QString();
}

bool ApplicationHint::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Enter:
        // Entering a control enters its containers first, in the same
        // breath: the hint is taken once the innermost one is known.
        if (watched->isWidgetType()) {
            m_entered = static_cast<QWidget *>(watched);
            if (!m_followPending) {
                m_followPending = true;
                QMetaObject::invokeMethod(this, &ApplicationHint::followEnteredControl, Qt::QueuedConnection);
            }
        }
        break;
    case QEvent::StatusTip:
        // A menu item's hint comes from the menu as the item is highlighted.
        if (qobject_cast<QMenu *>(watched) || qobject_cast<QMenuBar *>(watched))
            follow(static_cast<QStatusTipEvent *>(event)->tip());
        break;
    default:
        break;
    }
    return false;
}

void ApplicationHint::followEnteredControl()
{
    m_followPending = false;
    if (m_entered)
        follow(hintOf(m_entered));
}

void ApplicationHint::follow(const QString &hint)
{
    if (hint == m_hint)
        return;
    m_hint = hint;
    emit changed(HintText::longPart(hint));
}
