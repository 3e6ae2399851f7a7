#pragma once

class QApplication;

// What every run sets up before the windows are made: the application's
// title, icon and font, Qt's own texts in Turkish, and the removal of what an interrupted run of the
// program left behind in its folder.
namespace ProgramStart {

void configure(QApplication &application);

} // namespace ProgramStart
