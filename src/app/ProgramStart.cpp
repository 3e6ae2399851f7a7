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
    ProgramFont::applyToApplication();
    QtTurkishTexts::install(application);
    ProfileFile::removeInterruptedSaves();
}

} // namespace ProgramStart
