#pragma once

#include "base/ScopedOverride.h"

#include <QString>

#include <array>

// Where a file chooser starts: in the folder of the last file chosen for the
// same kind of file during this run, while that folder is still there; else
// in the user's documents folder where it exists; else in the home folder.
// Never in a folder that does not exist, where the chooser would fall back
// to a folder of its own choosing.
namespace ChooserFolder {

enum class Kind {
    Csv, // "CSV'ye Aktar" of the orders window
    Pdf, // "PDF Kaydet"
};

QString startFolder(Kind kind);

// The file name in the start folder, as the chooser suggests it.
QString suggestedPath(Kind kind, const QString &fileName);

// The file the user chose: its folder is where the next chooser of the
// kind starts.
void remember(Kind kind, const QString &chosenFilePath);

// The folders this run chose, by kind.
using Memory = std::array<QString, 2>;

// Tests start with nothing remembered while the override lives; what was
// remembered before comes back when it ends.
[[nodiscard]] ScopedOverride<Memory> overrideMemory();

} // namespace ChooserFolder
