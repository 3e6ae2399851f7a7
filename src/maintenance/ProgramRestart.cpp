#include "maintenance/ProgramRestart.h"

#include "base/ProgramLock.h"
#include "desktop/MessageBoxes.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>

namespace ProgramRestart {

namespace {

Launcher &launcher()
{
    static Launcher installed;
    return installed;
}

Ender &ender()
{
    static Ender installed;
    return installed;
}

bool launch(const Launch &launch)
{
    if (launcher())
        return launcher()(launch);
    return QProcess::startDetached(launch.program, launch.arguments, launch.workingFolder);
}

void end(int exitCode)
{
    if (ender()) {
        ender()(exitCode);
        return;
    }
    QCoreApplication::exit(exitCode);
}

} // namespace

Launch ownLaunch()
{
    return {QCoreApplication::applicationFilePath(), QCoreApplication::arguments().mid(1), QDir::currentPath()};
}

void restart(QWidget *parent)
{
    // The new instance takes the program folder's lock at its start.
    ProgramLock::release();
    if (!launch(ownLaunch())) {
        MessageBoxes::show(parent, {QStringLiteral("Hata"),
                                    QStringLiteral("Program yeniden başlatılamadı. Program şimdi kapanacak; "
                                                   "lütfen programı yeniden açın."),
                                    MessageBoxes::Icon::Error,
                                    {MessageBoxes::Button::Ok}});
    }
    end(0);
}

ScopedOverride<Launcher> overrideLauncher(Launcher replacement)
{
    return {launcher(), std::move(replacement)};
}

ScopedOverride<Ender> overrideEnder(Ender replacement)
{
    return {ender(), std::move(replacement)};
}

} // namespace ProgramRestart
