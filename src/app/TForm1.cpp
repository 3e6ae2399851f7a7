#include "app/TForm1.h"

#include "app/ApplicationInfo.h"

TForm1::TForm1(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(ApplicationInfo::mainWindowCaption());
    setMinimumSize(799, 550);
    resize(799, 550);
}
