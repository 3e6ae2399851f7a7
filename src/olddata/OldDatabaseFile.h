#pragma once

#include "registry/PayeeRecords.h"

#include <QString>

#include <functional>

// The four payee tables of the old program's database, read with libmdb.
//
// libmdb is not hardened against damaged files, so this runs only in the
// short-lived child process of OldDatabaseReading, on a copy of the file:
// whatever a damaged file does to it ends there.
//
// Rows are walked page by page with mdb_find_row and mdb_crack_row rather
// than through libmdb's column binding, which cannot tell an absent value
// from an empty text: a null value stays null. A row marked deleted
// (0x8000 in its offset) is skipped; a row moved to another page when it
// grew leaves an overflow pointer (0x4000) that is followed to the row,
// which is itself marked deleted so that a scan does not meet it twice.
namespace OldDatabaseFile {

enum class Status {
    Read,
    NotPayeeDatabase, // a Jet file, but without the four tables and their columns
    Damaged, // the file could not be read whole
};

struct Outcome
{
    Status status = Status::Damaged;
    // Turkish, to follow "...: " after the file's name; empty when read.
    QString message;
    PayeeRecords records;
};

// rows: the rows of the category read so far.
using Progress = std::function<void(PaymentCategory category, qsizetype rows)>;

Outcome read(const QString &filePath, const Progress &progress = {});

} // namespace OldDatabaseFile
