#pragma once

#include "base/FolderAccess.h"
#include "base/Result.h"
#include "registry/DatabaseCopy.h"

#include <QDate>
#include <QString>

// The compaction of the payee database "Data.dat" into "Yedek.dat" beside
// it, and the putting of the result in place of the database; the two steps
// of the compact-and-repair wizard. The main window has closed its
// connection before either runs.
//
// A sound database is copied without its free pages (DatabaseCopy::
// exportCopy). A database that fails its integrity check is repaired: what
// can still be read is salvaged into "Yedek.dat" row by row, and the damaged
// file is kept beside it under a dated name, never deleted.
//
// The database is never deleted nor copied over: the checked, flushed
// "Yedek.dat" is renamed over "Data.dat" in one step, so that at every
// moment "Data.dat" is a whole database, the old one or the new one. Until
// that rename nothing touches "Data.dat"; any failure leaves it as it was.
//
// No windowless command may run in the database's folder from the first
// step to the rename: an order it recorded in "Data.dat" meanwhile would go
// with the old file. The caller of the two steps reserves the folder for
// both (reserveFolder); compactInPlace does so itself.
namespace DatabaseCompaction {

struct Outcome
{
    Result<> result = Result<>::success();
    bool repaired = false; // the database was damaged and has been salvaged
    qint64 recovered = 0; // after a repair: rows saved
    qint64 lost = 0; // after a repair: rows that could not be read
    bool lostExact = true; // false: lost is a lower bound
    DatabaseCopy::Contents contents; // what the compacted file must hold (not after a repair)
    QString damagedCopyPath; // after a repair put in place: where the damaged file is kept

    bool succeeded() const { return result.succeeded(); }
    // The wizard's status line after a repair: how many rows came back.
    QString repairSummary() const;
    // The box that tells the user of a repair: the counts and the kept file.
    QString repairReport() const;
};

// Compacts the database at source into destination, a new file with the
// same password; repairs a damaged source into it. A destination left by a
// run that was stopped is removed first, but only while source opens with
// the password: when it does not, destination may be the only copy there
// is. The source is never written.
Outcome CompactDatabaseFile(const QString &source, const QString &destination);

// Checks destination (it opens, passes the integrity check and, unless it
// is a repair, holds as many rows in every table as the source did), keeps
// a damaged source under a dated name (today's), and renames destination
// over source. On failure source is untouched and destination is removed.
Result<> putInPlace(const QString &destination, const QString &source, Outcome &outcome,
                  const QDate &today = QDate::currentDate());

// Keeps the windowless commands out of source's folder for as long as the
// access is held; waits a little for a running one, and otherwise fails with
// the message to show (nothing has been touched).
Result<FolderAccess> reserveFolder(const QString &source);

// Both steps one after the other, with the folder reserved for them.
Outcome compactInPlace(const QString &source, const QString &destination);

} // namespace DatabaseCompaction
