#pragma once

class QWidget;

// The program folder's lock as the program takes it at start, before
// anything touches the folder's files (ProgramLock): a copy that runs here
// is named and the start ends; another computer's lock, or one that cannot
// be read, is taken over only when the user answers "Evet" to a question
// that names its holder ("Hayır" is the default).
namespace StartupLock {

// Whether the program may go on; when not, the user has been told why.
bool take(QWidget *parent = nullptr);

} // namespace StartupLock
