#pragma once

#include "registry/PayeeBulkInsert.h"
#include "registry/PayeeRecords.h"

#include <QString>

#include <array>
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
    // The rows of each category handed on (none for a look).
    std::array<qint64, kCategoryCount> rows{};
};

// Each row as it is read, its texts in UTF-8 for the call only. Rows of a
// file that turns out damaged later have been handed on too: the outcome
// tells.
using RowSink = std::function<void(PaymentCategory category, const PayeeUtf8Fields &fields)>;

// Only whether the four tables are there with their text columns: no row
// is read.
Outcome look(const QString &filePath);

Outcome read(const QString &filePath, const RowSink &sink);

} // namespace OldDatabaseFile
