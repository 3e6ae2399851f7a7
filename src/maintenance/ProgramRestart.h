#pragma once

#include "base/ScopedOverride.h"

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

// How the compact-and-repair wizard ends the program: a new instance of the
// program's own executable starts (same arguments, same working folder, a
// normal window) and this one ends at once, without the main window's close
// sequence: no question, no save of the main window's settings, no close
// event to any window.
//
// Not QCoreApplication::quit(): in Qt 6 it first asks every window to close,
// which would run the main window's close sequence. exit() only leaves the
// event loops, the modal ones too; the windows then go with the program, and
// a window that is destroyed receives no close event.
namespace ProgramRestart {

struct Launch
{
    QString program;
    QStringList arguments;
    QString workingFolder;
    friend bool operator==(const Launch &, const Launch &) = default;
};

// This program, as restart() starts it again.
Launch ownLaunch();

// Starts the new instance, then ends this one with exit code 0. When the new
// instance cannot be started, says so and ends all the same: the wizard that
// calls this offers no other way out, and the database is whole either way.
void restart(QWidget *parent);

// Tests record the launch and the end instead while the overrides live.
using Launcher = std::function<bool(const Launch &launch)>;
using Ender = std::function<void(int exitCode)>;
[[nodiscard]] ScopedOverride<Launcher> overrideLauncher(Launcher launcher);
[[nodiscard]] ScopedOverride<Ender> overrideEnder(Ender ender);

} // namespace ProgramRestart
