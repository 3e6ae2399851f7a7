#pragma once

#include <QMap>
#include <QString>

// Whole database files, for the backup and the compaction: their check and a
// compact copy of a sound one (the salvage of a damaged one:
// registry/DatabaseSalvage.h). Every file
// here is keyed with the payee database's password and gets the Turkish
// collation, without which the name indexes can be neither read, checked nor
// rebuilt.
//
// Every table of a file is carried, whatever its name, with its indexes,
// views, triggers, AUTOINCREMENT counters and PRAGMA user_version, so that
// the tables of a later schema version come along without a change here.
// Nothing here ever writes to a source file; a target that is not finished
// is removed with its journal.
namespace DatabaseCopy {

enum class Problem {
    None,
    SourceMissing,
    SourceNotOurs, // another password, or no database at all
    SourceLocked, // another connection holds a lock past the busy timeout
    SourceDamaged, // fails its integrity check, or a page cannot be read
    SourceUnreadable, // any other failure to open or read the source
    TargetExists, // the target (or a journal of it) is in the way
    TargetDiskFull,
    TargetUnwritable, // cannot be created or written
    CopyDiffers, // the copy does not hold what the source held
};

// What a file holds, for telling a copy from its source.
struct Contents
{
    QMap<QString, qint64> rows; // rows of every table by name; SQLite's own tables left out
    qint64 userVersion = 0;

    qint64 totalRows() const;
    friend bool operator==(const Contents &, const Contents &) = default;
};

struct Outcome
{
    Problem problem = Problem::None;
    QString detail; // the engine's own words, for the curious
    Contents contents;

    bool succeeded() const { return problem == Problem::None; }
};

// Opens the file and closes it again: whether it is a database that the
// password opens. Reading its first page also rolls back a transaction that
// a program left half done, as any open does.
Outcome open(const QString &path);

// Opens the file, runs the integrity check and counts the rows of every
// table. SourceDamaged when the check finds a fault.
Outcome inspect(const QString &path);

// Writes a compact copy of source into target, which must not exist: the
// same tables, rows and settings without the free pages, encrypted with the
// same password. The source is read in one read transaction, so that a
// writer on another connection can neither split the copy nor be split by
// it; a source that fails its integrity check is refused (SourceDamaged)
// before the copy starts. The copy's rows are counted against the source's
// before the target is committed. contents tells what the source held.
Outcome exportCopy(const QString &source, const QString &target);

} // namespace DatabaseCopy
