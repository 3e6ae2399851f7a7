#include "app/ApplicationInfo.h"
#include "app/MirvaselApplication.h"
#include "app/ProgramWindows.h"
#include "app/TForm1.h"
#include "app/ToolIcons.h"

#include <QApplication>
#include <QFont>

int main(int argc, char *argv[])
{
    MirvaselApplication application(argc, argv);
    QApplication::setApplicationName(ApplicationInfo::title());
    QApplication::setWindowIcon(ToolIcons::applicationIcon());
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(8.25);
    QApplication::setFont(font);

    ProgramWindows windows;
    QObject::connect(windows.mainWindow(), &TForm1::closed, &application, &QApplication::quit);
    windows.mainWindow()->showMaximized();
    return application.exec();
}
