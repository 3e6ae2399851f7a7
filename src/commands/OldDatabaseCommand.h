#pragma once

#include "commands/CommandOutcome.h"

#include <QStringList>

// "Zenparol --import-old OLD.dat [--other-password]": the payees of an old
// program's database (a Jet 4.0 file, for example a backup copy of its
// "Data.dat") added to the register "Data.dat" in the program folder, which
// is made when it is missing. A payee equal in all five fields to one that
// is there is skipped. One line a kind on standard output: how many were
// added and skipped.
//
// A Jet file that holds the four payee tables but not under the old
// program's password is another program's file or a copy someone changed:
// it is imported only with --other-password.
//
// The file is read as every old database is, by a child process on a copy
// (OldDatabaseReading); the register is written all or nothing.
//
// Exit status: 0 done; 2 wrong arguments, or a file that is not an old
// program's database or cannot be read (the register unchanged); 3 the
// register could not be written (unchanged); 5 the program folder is busy
// with a backup, compaction or repair.
namespace OldDatabaseCommand {

// arguments: the command line after the program's name.
CommandOutcome run(const QStringList &arguments);

} // namespace OldDatabaseCommand
