#pragma once

#include "commands/CommandOutcome.h"

#include <QStringList>

// "Zenparol --copy-register-to CONNINFO": the register "Data.dat" of the
// program folder (its payees of the four kinds and its issued orders with
// their pages) copied once into an empty shared register on a PostgreSQL
// server, whole or not at all (SharedRegisterCopy), when an office moves to
// one. CONNINFO is a libpq connection string ("service=mirvasel", or
// "host=... dbname=... user=..."), of a member of mirvasel_yonetici. The
// local file is only read.
//
// The command runs beside an open window, never during maintenance of the
// program folder (FolderAccess).
//
// Exit status: 0 copied; 1 the local register could not be read (missing,
// damaged, still the old program's), or the connection broke while the copy
// was being committed (whether it was is said); 2 wrong arguments or a
// connection string libpq cannot read; 3 the shared register could not be
// reached or used, is not empty, or refused the copy: it is unchanged; 5 the
// program folder is busy with a backup, compaction or repair.
namespace CopyRegisterCommand {

// arguments: the command line after the program's name.
CommandOutcome run(const QStringList &arguments);

} // namespace CopyRegisterCommand
