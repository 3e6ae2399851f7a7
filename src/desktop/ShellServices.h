#pragma once

#include "base/ScopedOverride.h"

#include <QString>

#include <functional>

// Asks the desktop to open a web address, as the shell's "Open" action does.
// The result is not reported: the desktop shows its own errors.
namespace ShellServices {

void openWebAddress(const QString &address);

// Tests see the requests instead of the desktop while the override lives.
using OpenHandler = std::function<void(const QString &address)>;
[[nodiscard]] ScopedOverride<OpenHandler> overrideOpenHandler(OpenHandler handler);

} // namespace ShellServices
