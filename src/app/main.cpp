#include "app/MirvaselApplication.h"
#include "app/ProgramStart.h"
#include "app/ProgramWindows.h"
#include "app/TForm1.h"
#include "printing/HeadlessPdf.h"

int main(int argc, char *argv[])
{
    // "Zenparol --pdf OUT.pdf PAYMENT.json": one payment order into a PDF,
    // without a window or a display.
    if (HeadlessPdf::requested(argc, argv))
        return HeadlessPdf::main(argc, argv);

    MirvaselApplication application(argc, argv);
    ProgramStart::configure(application);

    ProgramWindows windows;
    QObject::connect(windows.mainWindow(), &TForm1::closed, &application, &QApplication::quit);
    windows.mainWindow()->showMaximized();
    return application.exec();
}
