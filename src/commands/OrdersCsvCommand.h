#pragma once

#include "commands/CommandOutcome.h"

#include <QStringList>

// "Zenparol --orders-csv OUT.csv [--from dd.MM.yyyy] [--to dd.MM.yyyy]": the
// register of issued orders of "Data.dat" in the program folder, newest
// first, into the same CSV file the orders window exports, without a window.
// The days are inclusive; without them every record is written.
//
// The command runs beside an open window, never during maintenance of the
// program folder (FolderAccess): it waits a few seconds for a backup, a
// compaction, a repair or the clean-up at start to end, and otherwise ends
// with Busy before it has written anything.
//
// Exit status: 0 written; 1 the database could not be opened or read; 2
// wrong arguments, a bad date, or a file that cannot be written; 5 the
// program folder is busy with a backup, compaction or repair.
namespace OrdersCsvCommand {

// arguments: the command line after the program's name.
CommandOutcome run(const QStringList &arguments);

} // namespace OrdersCsvCommand
