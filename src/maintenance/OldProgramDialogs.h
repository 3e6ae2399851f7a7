#pragma once

#include "base/Result.h"
#include "maintenance/OldProgramTransfer.h"

#include <QString>

class QWidget;

// What the user sees of bringing an old program's folder over
// (OldProgramTransfer): the folder chooser, the question, and the report
// before the program starts again with the files brought.
namespace OldProgramDialogs {

// The old program's folder, chosen; empty when the user cancels, or when the
// folder holds none of its files (a message said so).
QString chooseFolder(QWidget *parent);

// Asks before the files are brought into targetFolder: "Hayır" by default
// when the folder already has files of those names, which are then kept
// beside themselves.
bool confirm(QWidget *parent, const QString &oldFolder, const QString &targetFolder);

// What was brought and kept, or why nothing was; the program starts again
// after this either way.
void report(QWidget *parent, const Result<OldProgramTransfer::Brought> &brought);

} // namespace OldProgramDialogs
