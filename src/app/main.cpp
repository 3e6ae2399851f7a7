#include "app/ApplicationInfo.h"
#include "app/TForm1.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(ApplicationInfo::title());

    TForm1 mainWindow;
    mainWindow.showMaximized();
    return application.exec();
}
