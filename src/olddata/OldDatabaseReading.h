#pragma once

#include "olddata/JetHeader.h"
#include "olddata/OldDatabaseFile.h"
#include "registry/PayeeRecords.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <functional>

// Reads the payees of an old program's database ("Data.dat", Jet 4.0) without
// letting the file near the program itself: the file is copied into a
// temporary folder, its header is read here, and its tables are read by a
// short-lived child process (OldDatabaseChild) under a time limit. A crash,
// a hang or garbage in the child is a Turkish message, never a crash of the
// program and never part of the payees.
//
// The old program's file is told from another Jet file by the database
// password kept in its header; a file with another password that holds the
// four tables is read too, and the caller asks before it imports it.
namespace OldDatabaseReading {

struct OldDatabase
{
    JetHeader header;
    PayeeRecords records;
    // Of the bytes that were read: what a kept copy must match.
    QByteArray sha256;
    qint64 size = 0;

    // The password of the old program's files.
    bool hasOldProgramPassword() const;
};

struct Outcome
{
    enum class Status {
        Read,
        NotOldDatabase, // no database of the old program: another file, another Jet file
        Unreadable, // missing, unreadable or damaged
    };
    Status status = Status::Unreadable;
    QString message; // Turkish, naming the file; empty when read
    OldDatabase database;
    bool succeeded() const { return status == Status::Read; }
};

struct Options
{
    // The executable that has the child's hidden option; this program's
    // own when empty.
    QString program;
    // How long the child may take; worked out from the file's size when zero.
    std::chrono::milliseconds timeLimit{0};
    OldDatabaseFile::Progress progress;
};

// Whether the file's first page is a Jet 4.0 database's: the start-up looks
// at "Data.dat" with it before anything opens the file.
bool looksLikeJet4(const QString &filePath);

Outcome read(const QString &filePath, const Options &options = {});

} // namespace OldDatabaseReading
