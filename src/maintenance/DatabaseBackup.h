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
// The folder and its missing parents are made only when the backup is about
// to be written, and a backup that does not finish takes away the folders it
// made (as far as they are empty): a stopped backup leaves no empty folder.
//
// While a backup is built, a small record in the database's folder names
// the staging file and the folders the backup made; if the program is
// killed, StartupCleanup finds the record at the next start and removes the
// staging file wherever it is, then those folders where they are empty.
namespace DatabaseBackup {

// The backup inside folder: folder + "Data.dat".
QString targetPath(const QString &folder);

// Backs up the database at databasePath into folder, made with its missing
// parents when it does not exist. Success only when the new backup is in
// place, checked and on the disk.
Result<> copy(const QString &databasePath, const QString &folder);

} // namespace DatabaseBackup
