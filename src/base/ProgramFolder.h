#pragma once

#include <QString>

// The folder of the program's executable. The database, the settings file and
// the help document are always looked up there, whatever the current folder.
namespace ProgramFolder {

QString path();
QString filePath(const QString &fileName);

// Tests point the program at a temporary folder; an empty path restores the
// executable's folder.
void overrideForTesting(const QString &folder);

} // namespace ProgramFolder
