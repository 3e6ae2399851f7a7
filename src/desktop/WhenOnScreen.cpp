#include "desktop/WhenOnScreen.h"

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace WhenOnScreen {

namespace {

// Waits on the window's surface for its first expose, then hands the action
// to the event loop, so that the geometry the expose came with is in place.
class ExposeWatch final : public QObject
{
public:
    ExposeWatch(QWidget *window, std::function<void()> action)
        : QObject(window)
        , m_window(window)
        , m_action(std::move(action))
    {
        m_window->windowHandle()->installEventFilter(this);
    }

    void runSoon()
    {
        if (m_window) {
            if (QWindow *surface = m_window->windowHandle())
                surface->removeEventFilter(this);
            QTimer::singleShot(0, m_window, [action = std::move(m_action)] { action(); });
        }
        m_action = nullptr;
        deleteLater();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Expose && m_window && watched == m_window->windowHandle()
            && m_window->windowHandle()->isExposed() && m_action)
            runSoon();
        return QObject::eventFilter(watched, event);
    }

private:
    QPointer<QWidget> m_window;
    std::function<void()> m_action;
};

} // namespace

void call(QWidget *window, std::function<void()> action)
{
    QWindow *surface = window->windowHandle();
    if (!surface)
        return;
    auto *watch = new ExposeWatch(window, std::move(action));
    if (surface->isExposed())
        watch->runSoon();
}

} // namespace WhenOnScreen
