#pragma once

#include "base/ScopedOverride.h"

#include <QString>

// The folder of the program's executable. The database, the settings file and
// the help document are always looked up there, whatever the current folder.
namespace ProgramFolder {

QString path();
QString filePath(const QString &fileName);

// Tests point the program at a temporary folder while the override lives; an
// empty path stands for the executable's folder.
[[nodiscard]] ScopedOverride<QString> override(const QString &folder);

} // namespace ProgramFolder
