#pragma once

#include "olddata/JetHeader.h"
#include "olddata/OldDatabaseCopy.h"
#include "olddata/OldPayeeStreamReader.h"
#include "registry/PayeeRecords.h"

#include <QString>

#include <chrono>
#include <functional>
#include <memory>

// Reads the payees of an old program's database ("Data.dat", Jet 4.0) without
// letting the file near the program itself: the file is copied
// (OldDatabaseCopy), its header is read here, and its tables are read by a
// short-lived child process (OldDatabaseChild) under a time limit, which
// streams the rows as it reads them. A crash, a hang or garbage in the
// child is a Turkish message, never a crash of the program and never part
// of the payees.
//
// The old program's file is told from another Jet file by the database
// password kept in its header. A file with another password is first
// looked at by a child that reads only its tables' definitions; when it
// holds the four tables, the caller is asked (Options::acceptOtherPassword)
// before any row is read.
namespace OldDatabaseReading {

struct OldDatabase
{
    JetHeader header;
    // The bytes that were read: what a kept copy is made from, and what
    // the file must still hold when it is replaced.
    std::shared_ptr<const OldDatabaseCopy> copy;
    qint64 size = 0;
    // Filled by read(); empty when the rows went to a sink.
    PayeeRecords records;
    // How many rows of each kind were read.
    std::array<qint64, kCategoryCount> rows{};

    // The password of the old program's files.
    bool hasOldProgramPassword() const;
};

struct Outcome
{
    enum class Status {
        Read,
        NotOldDatabase, // no database of the old program: another file, another Jet file
        Unreadable, // missing, unreadable or damaged
        Declined, // another password, and the caller did not take it
        Stopped, // the row sink stopped the reading
    };
    Status status = Status::Unreadable;
    QString message; // Turkish, naming the file; empty when read, declined or stopped
    OldDatabase database;
    bool succeeded() const { return status == Status::Read; }
};

struct Options
{
    // The executable that has the child's hidden options; this program's
    // own when empty.
    QString program;
    // How long the child may take; worked out from the file's size when zero.
    std::chrono::milliseconds timeLimit{0};
    // The rows of the category read so far.
    std::function<void(PaymentCategory category, qsizetype rows)> progress;
    // Asked about a file that holds the four tables under another password
    // (or none), before its rows are read: whether to read it. Without it,
    // such a file is declined.
    std::function<bool(const OldDatabase &database)> acceptOtherPassword;
};

// Whether the file's first page is a Jet 4.0 database's: the start-up looks
// at "Data.dat" with it before anything opens the file.
bool looksLikeJet4(const QString &filePath);

// The copy made, the header read, the question about another password
// asked: everything before the rows. Read here means ready for readRows().
Outcome prepare(const QString &filePath, const Options &options = {});

// The rows of a prepared file, each handed to sink as the child reads it;
// without a sink, into database.records. The rows are the file's only when
// the outcome is Read.
Outcome readRows(const QString &filePath, OldDatabase prepared, const Options &options = {},
                 const OldPayeeStreamReader::RowSink &sink = {});

// Both, the rows into database.records.
Outcome read(const QString &filePath, const Options &options = {});

} // namespace OldDatabaseReading
