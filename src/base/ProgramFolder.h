#pragma once

#include "base/ScopedOverride.h"

#include <QString>

// The folder that holds the user's files: the database, the settings file,
// the lock, the compaction's "Yedek.dat" and what a repair keeps. Decided
// once per run, here, for every caller:
//
// - the executable's own folder (the program folder), when it already holds
//   "Zenparol.ini" or "Data.dat", or is a writable folder outside the
//   system's own: a copy on a USB stick, a folder copied from the old
//   computer, the build folder;
// - otherwise, for a program installed in the system's folders, the user's
//   data folder: ~/.local/share/Mirvasel on Linux ($XDG_DATA_HOME/Mirvasel),
//   %APPDATA%\Mirvasel on Windows. It is made when first chosen.
//
// The help document and Qt's translations shipped with the program are
// found beside the executable, or where an installation puts them
// (installedFile).
namespace ProgramFolder {

enum class Kind { ProgramFolder, UserDataFolder };

struct Choice
{
    QString path;
    Kind kind = Kind::ProgramFolder;
    friend bool operator==(const Choice &, const Choice &) = default;
};

// The rule above, for an executable in executableFolder; does not make the
// user data folder.
Choice choose(const QString &executableFolder, const QString &userDataFolder);

// Whether a folder is one of the system's own (/usr, /opt, Program Files,
// ...), where a program is installed rather than copied.
bool isSystemFolder(const QString &folder);

// The folder in use and why, decided at the first call of the run.
Choice choice();
QString path();
QString filePath(const QString &fileName);

// "Program klasörü" or "Kullanıcı veri klasörü", for the about box and
// --version.
QString kindName(Kind kind);

QString executableFolder();
QString userDataFolder();

// A file that comes with the program: beside the executable, else in the
// installation's share/mirvasel beside its bin folder. The first place when
// it is in neither, so that a message can name where it was looked for.
QString installedFile(const QString &fileName);

// Tests point the program at a temporary folder while the override lives:
// it stands for the executable's folder and is the folder in use; an empty
// path stands for the rule above.
[[nodiscard]] ScopedOverride<QString> override(const QString &folder);

} // namespace ProgramFolder
