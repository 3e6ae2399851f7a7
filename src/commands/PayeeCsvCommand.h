#pragma once

#include "commands/CommandOutcome.h"

#include <QStringList>

// The payees of the register "Data.dat" in the program folder as a CSV
// file for a spreadsheet (PayeeCsv), without a window:
//
//   Zenparol --export-payees OUT.csv [--kind Eczane|Hastane|Tedavi|Ozel]
//     one kind's payees, or every kind's with the kind in front;
//   Zenparol --import-payees IN.csv --kind K [--skip-bad-rows]
//     the file's payees added to the kind's list, made when the register is
//     missing; a payee equal in all five fields to one that is there is
//     skipped. A file with bad rows is refused with their line numbers
//     unless --skip-bad-rows is given; then the other rows come and the bad
//     ones are reported.
//
// Both run beside an open window, never during maintenance of the program
// folder (FolderAccess).
//
// Exit status: 0 done; 1 (export) the register could not be opened or read;
// 2 wrong arguments, a file that cannot be written (export), or a file that
// cannot be read, is no payee list or has bad rows (import; the register
// unchanged); 3 (import) the register could not be written (unchanged); 5
// the program folder is busy with a backup, compaction or repair.
namespace PayeeCsvCommand {

// arguments: the command line after the program's name, from
// --export-payees or --import-payees.
CommandOutcome run(const QStringList &arguments);

} // namespace PayeeCsvCommand
