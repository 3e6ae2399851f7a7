#include "app/MirvaselApplication.h"
#include "app/ProgramStart.h"
#include "app/ProgramWindows.h"
#include "app/TForm1.h"
#include "desktop/MessageBoxes.h"
#include "maintenance/OldDatabaseDialogs.h"
#include "maintenance/StartupCleanup.h"
#include "maintenance/StartupLock.h"
#include "commands/CommandLine.h"

int main(int argc, char *argv[])
{
    // The windowless commands, --help and --version: without a window or a
    // display.
    if (const std::optional<int> status = CommandLine::run(argc, argv))
        return *status;

    MirvaselApplication application(argc, argv);
    ProgramStart::configure(application);
    // Before anything touches the program folder's files: another copy may
    // be working on them.
    if (!StartupLock::take())
        return 0;
    // Before the database is opened: what an interrupted backup or
    // compaction left behind.
    const StartupCleanup::Report cleanup = StartupCleanup::run();
    // Before the lists open: the old program's database, once, made into
    // this program's.
    OldDatabaseDialogs::offerConversion();

    ProgramWindows windows;
    QObject::connect(windows.mainWindow(), &TForm1::closed, &application, &QApplication::quit);
    windows.show(cleanup.message());
    return application.exec();
}
