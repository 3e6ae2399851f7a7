#pragma once

#include <QString>

#include <functional>

// Asks the desktop to open a web address, as the shell's "Open" action does.
// The result is not reported: the desktop shows its own errors.
namespace ShellServices {

void openWebAddress(const QString &address);

// Tests see the requests instead of the desktop.
void setOpenHandler(std::function<void(const QString &)> handler);

} // namespace ShellServices
