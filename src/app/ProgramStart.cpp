#include "app/ProgramStart.h"

#include "base/ApplicationInfo.h"
#include "base/ProfileFile.h"
#include "desktop/ProgramFont.h"
#include "desktop/QtTurkishTexts.h"
#include "desktop/ToolIcons.h"

#include <QApplication>

namespace ProgramStart {

void configure(QApplication &application)
{
    application.setApplicationName(ApplicationInfo::title());
    application.setWindowIcon(ToolIcons::applicationIcon());
    // The desktop entry the package installs, so that the desktop shows the
    // window under the menu's name and icon (share/tr.com.mirvasel.mirvasel.desktop).
    application.setDesktopFileName(QStringLiteral("tr.com.mirvasel.mirvasel"));
    ProgramFont::applyToApplication();
    QtTurkishTexts::install(application);
    ProfileFile::removeInterruptedSaves();
}

} // namespace ProgramStart
