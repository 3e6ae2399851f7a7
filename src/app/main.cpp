#include "app/MirvaselApplication.h"
#include "app/ProgramWindows.h"
#include "app/TForm1.h"
#include "base/ApplicationInfo.h"
#include "desktop/ProgramFont.h"
#include "desktop/ToolIcons.h"
#include "printing/HeadlessPdf.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // "Zenparol --pdf OUT.pdf PAYMENT.json": one payment order into a PDF,
    // without a window or a display.
    if (HeadlessPdf::requested(argc, argv))
        return HeadlessPdf::main(argc, argv);

    MirvaselApplication application(argc, argv);
    QApplication::setApplicationName(ApplicationInfo::title());
    QApplication::setWindowIcon(ToolIcons::applicationIcon());
    ProgramFont::applyToApplication();

    ProgramWindows windows;
    QObject::connect(windows.mainWindow(), &TForm1::closed, &application, &QApplication::quit);
    windows.mainWindow()->showMaximized();
    return application.exec();
}
