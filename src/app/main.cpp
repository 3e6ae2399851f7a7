#include "app/MirvaselApplication.h"
#include "app/ProgramStart.h"
#include "app/ProgramWindows.h"
#include "app/TForm1.h"

int main(int argc, char *argv[])
{
    MirvaselApplication application(argc, argv);
    ProgramStart::configure(application);

    ProgramWindows windows;
    QObject::connect(windows.mainWindow(), &TForm1::closed, &application, &QApplication::quit);
    windows.mainWindow()->showMaximized();
    return application.exec();
}
