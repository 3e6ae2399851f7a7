#include "app/MirvaselApplication.h"
#include "app/ProgramStart.h"
#include "app/ProgramWindows.h"
#include "app/TForm1.h"
#include "base/ProgramLock.h"
#include "desktop/MessageBoxes.h"
#include "maintenance/StartupCleanup.h"
#include "commands/HeadlessOrdersCsv.h"
#include "commands/HeadlessPdf.h"

int main(int argc, char *argv[])
{
    // "Zenparol --pdf OUT.pdf PAYMENT.json": one payment order into a PDF,
    // without a window or a display.
    if (HeadlessPdf::requested(argc, argv))
        return HeadlessPdf::main(argc, argv);
    // "Zenparol --orders-csv OUT.csv [--from dd.MM.yyyy] [--to dd.MM.yyyy]":
    // the register of issued orders into a CSV file, without a window.
    if (HeadlessOrdersCsv::requested(argc, argv))
        return HeadlessOrdersCsv::main(argc, argv);

    MirvaselApplication application(argc, argv);
    ProgramStart::configure(application);
    // Before anything touches the program folder's files: another copy may
    // be working on them.
    if (const Result<> locked = ProgramLock::acquire(); locked.failed()) {
        MessageBoxes::warning(nullptr, locked.message());
        return 0;
    }
    // Before the database is opened: what an interrupted backup or
    // compaction left behind.
    const StartupCleanup::Report cleanup = StartupCleanup::run();

    ProgramWindows windows;
    QObject::connect(windows.mainWindow(), &TForm1::closed, &application, &QApplication::quit);
    windows.show(cleanup.message());
    return application.exec();
}
