#include "controls/TTrayMinimizer.h"

#include "base/ApplicationInfo.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QStyle>

TTrayMinimizer::TTrayMinimizer(QWidget *owner, std::unique_ptr<TrayIconBackend> backend)
    : QObject(owner)
    , m_owner(owner)
    , m_backend(backend ? std::move(backend) : TrayIconBackend::createSystem())
{
    connect(m_backend.get(), &TrayIconBackend::activated, this, &TTrayMinimizer::iconActivated);
    if (owner && owner->isWindow())
        owner->installEventFilter(this);
}

TTrayMinimizer::~TTrayMinimizer()
{
    // Runs with the owner's destruction too: the icon must not outlive it.
    removeIcon();
}

void TTrayMinimizer::setHideWhenMinimized(bool hide)
{
    m_hideWhenMinimized = hide;
}

void TTrayMinimizer::setHint(const QString &hint)
{
    m_hint = hint;
    if (m_iconShown)
        m_backend->setTip(tip());
}

void TTrayMinimizer::setPopupMenu(QMenu *menu)
{
    m_popupMenu = menu;
}

void TTrayMinimizer::setRestoreMode(TTrayRestoreMode mode)
{
    m_restoreMode = mode;
}

void TTrayMinimizer::setTrayMode(TTrayMode mode)
{
    m_trayMode = mode;
    if (mode == tmAlways)
        showIcon();
    else if (!m_minimised)
        removeIcon();
}

void TTrayMinimizer::setTrayIcon(const QIcon &icon)
{
    m_trayIcon = icon;
}

void TTrayMinimizer::restore()
{
    // Cleared first so that the state change below is not taken for a restore
    // through the task bar.
    m_minimised = false;
    if (m_owner) {
        m_owner->setWindowState((m_owner->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
        if (m_hideWhenMinimized)
            m_owner->show();
        m_owner->raise();
        m_owner->activateWindow();
    }
    if (m_trayMode != tmAlways)
        removeIcon();
}

bool TTrayMinimizer::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_owner && event->type() == QEvent::WindowStateChange) {
        if (m_owner->isMinimized()) {
            if (!m_minimised)
                ownerMinimised();
        } else if (m_minimised) {
            ownerRestored();
        }
    }
    return false;
}

void TTrayMinimizer::ownerMinimised()
{
    // Without a notification area there would be no way back to a hidden
    // window: the program then minimises like any other.
    if (!m_backend->isAvailable())
        return;

    m_minimised = true;
    if (m_hideWhenMinimized) {
        // Hidden once the minimise is over: some window managers restore a
        // window that is hidden while they are still minimising it.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_minimised && m_owner && m_owner->isMinimized())
                    m_owner->hide();
            },
            Qt::QueuedConnection);
    }
    if (m_trayMode != tmAlways)
        showIcon();
}

void TTrayMinimizer::ownerRestored()
{
    m_minimised = false;
    if (m_hideWhenMinimized && m_owner && m_owner->isHidden())
        m_owner->show();
    if (m_trayMode != tmAlways)
        removeIcon();
}

void TTrayMinimizer::iconActivated(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        if (m_restoreMode == rmClick)
            restore();
        break;
    case QSystemTrayIcon::DoubleClick:
        if (m_restoreMode == rmDblClick)
            restore();
        break;
    case QSystemTrayIcon::Context:
        if (m_popupMenu) {
            const QPoint position = QCursor::pos();
            // The menu only closes on a click elsewhere when its window is active.
            if (m_owner)
                m_owner->activateWindow();
            m_popupMenu->popup(position);
        }
        break;
    default:
        break;
    }
}

void TTrayMinimizer::showIcon()
{
    if (m_iconShown || !m_backend->isAvailable())
        return;
    QIcon icon = m_trayIcon;
    if (icon.isNull())
        icon = QApplication::windowIcon();
    // An empty picture is not shown at all, and a hidden window without its
    // icon could not be brought back.
    if (icon.isNull())
        icon = QApplication::style()->standardIcon(QStyle::SP_ComputerIcon);
    m_backend->showIcon(icon, tip());
    m_iconShown = true;
}

void TTrayMinimizer::removeIcon()
{
    if (!m_iconShown)
        return;
    m_backend->removeIcon();
    m_iconShown = false;
}

QString TTrayMinimizer::tip() const
{
    const QString text = m_hint.isEmpty() ? ApplicationInfo::title() : m_hint;
    return text.left(kMaxTipLength);
}
