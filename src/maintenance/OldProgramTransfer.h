#pragma once

#include "base/Result.h"

#include <QString>
#include <QStringList>

// "Eski Programdan Aktar": the old program's folder (on a Windows disk, a USB
// stick) brought into the folder this program uses: its settings file
// "Zenparol.ini" byte for byte as the old program wrote it, and its database
// "Data.dat" as it is, whether the old program's Jet file (which the start
// then offers to convert) or a register of ours.
//
// A file of the same name already in the folder is first copied beside
// itself as "Zenparol.ini.onceki" / "Data.dat.onceki" (then "-2", "-3"...).
// Every file is built under a staging name and renamed into place whole; the
// renames come only once every copy is made, so a failure or a kill leaves
// the folder's files as they were, each whole, and the clean-up at start
// removes the staging files.
//
// The caller lets go of the database first: the copy opens it by
// descriptor, which on POSIX systems would drop a connection's locks.
namespace OldProgramTransfer {

// The old program's files the folder holds, in the order they are brought:
// "Zenparol.ini", "Data.dat".
QStringList filesIn(const QString &folder);

struct Brought
{
    QStringList files; // the names brought, as filesIn
    QStringList keptPaths; // where the replaced files were kept
    bool oldDatabase = false; // "Data.dat" is the old program's file, to convert at start
};

Result<Brought> bring(const QString &oldFolder, const QString &targetFolder);

} // namespace OldProgramTransfer
