#pragma once

class QApplication;

// What every run sets up on the application object before the windows are
// made: its title, icon and font.
namespace ProgramStart {

void configure(QApplication &application);

} // namespace ProgramStart
