#pragma once

#include "base/Result.h"

#include <QString>

// The backup of the payee database into a folder of the user's choice, as
// "Data.dat" there, in place of an earlier backup of that name.
//
// The backup is built beside the old one under a staging name, read from the
// database in one read transaction (the main window keeps the database open
// meanwhile, and another program may write to it), checked (it opens with
// the password, passes the integrity check and holds as many rows in every
// table as the database), flushed to the disk and only then renamed over the
// old backup. At every moment the folder holds the old backup or the new
// one, whole. A database that fails its integrity check is not backed up, so
// that a sound older backup is never replaced by a damaged copy.
//
// No windowless command runs in the program folder while a backup is made
// (FolderAccess): the backup waits a little for a running one and otherwise
// is not made, with the message why.
//
// While a backup is built, a small record in the database's folder names
// the staging file; if the program is killed, StartupCleanup finds the
// record at the next start and removes the staging file wherever it is.
namespace DatabaseBackup {

// The backup inside folder: folder + "Data.dat".
QString targetPath(const QString &folder);

// Creates the folder with every missing parent; an existing folder is used
// as it is.
Result<> createFolder(const QString &folder);

// Backs up the database at databasePath into folder (which must exist).
// Success only when the new backup is in place, checked and on the disk.
Result<> copy(const QString &databasePath, const QString &folder);

} // namespace DatabaseBackup
