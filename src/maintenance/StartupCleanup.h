#pragma once

#include "base/ProgramFolder.h"

#include <QString>
#include <QStringList>

// What the program clears away when it starts, before the main window opens
// the database: the files of its own that a backup or a compaction left
// behind when it was stopped half way (power cut, killed process). Only the
// names of MaintenanceFiles are ever removed, and only by these rules:
//
// 1. A backup record "Data.dat.<hex>.yedekleniyor": the staging file it
//    names, "Data.dat.<same hex>.yeni" in the backup folder, goes with its
//    journal; then the folders the record names as made by that backup
//    (the staging file's folder and those above it), each only when empty;
//    then the record. A record naming anything else only goes itself.
// 2. Staging files in the program folder, "Data.dat.<hex>.yeni" (a new
//    database), "Data.dat.bozuk-<date>.<hex>.yeni" (a damaged database
//    being kept), "Data.dat.eski.<hex>.yeni" (the old program's database
//    being kept by its conversion), and "Zenparol.ini.<hex>.yeni",
//    "Data.dat.onceki.<hex>.yeni", "Zenparol.ini.onceki.<hex>.yeni" (an old
//    program's files being brought over, and the files they replace being
//    kept), with their journals. A staging file is renamed into place only
//    once whole; until then the file it is made from is still there, or (a
//    new database) it holds nothing.
// 3. "Yedek.dat" with its journal, the compacted database being built. It is
//    a spare only while "Data.dat" is a database that opens with the
//    password: then it goes. When "Data.dat" is missing, "Yedek.dat" may be
//    the only copy there is (a compaction renames it over "Data.dat" and
//    nothing else takes "Data.dat" away, but a person or another program
//    may have): if it opens, passes the integrity check and holds the payee
//    tables, it is renamed to "Data.dat" and the payees are back; otherwise
//    it stays. Opening it lets the engine settle a journal beside it, as any
//    opening does: a transaction left half done is rolled back. When
//    "Data.dat" is there but does not open, both stay.
//
// Nothing is looked at while a windowless command runs in the folder
// (FolderAccess): the clean-up waits a few seconds for it and otherwise
// leaves everything for the next start.
//
// Never touched: "Data.dat"; its journal, which the engine needs to undo a
// transaction that was half written; the damaged files a repair kept; the
// old program's database a conversion kept; the
// settings file; anything else.
namespace StartupCleanup {

struct Report
{
    QStringList removed; // paths of the files and empty folders removed
    bool databaseRestored = false; // "Yedek.dat" became "Data.dat"
    bool folderBusy = false; // a windowless command ran on: nothing was looked at

    // What to tell the user, in Turkish; empty when there is nothing to tell.
    QString message() const;
};

Report run(const QString &programFolder = ProgramFolder::path());

} // namespace StartupCleanup
