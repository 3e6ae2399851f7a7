#pragma once

#include <functional>

class QWidget;

// Runs an action once a window that is being shown is on the screen at its
// place and size: after its first expose, from the event loop. A box opened
// right after show() would be placed by the window's geometry before the
// window system has maximized or placed it, and open away from it.
namespace WhenOnScreen {

// The window must have been shown. Runs once; never when the window goes
// before it is exposed.
void call(QWidget *window, std::function<void()> action);

} // namespace WhenOnScreen
