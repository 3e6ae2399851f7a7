#pragma once

#include "olddata/OldDatabaseReading.h"
#include "registry/PayeeImport.h"

#include <QString>

// The old program's database "Data.dat" (Jet 4.0) made into this program's
// register in its place:
//
// 1. the file is copied and looked at (OldDatabaseReading::prepare; the
//    question about another password comes here, before any row);
// 2. the original is kept byte for byte as "Data.dat.eski" (or "-2", "-3"...
//    when another file has that name), written from the copy that is read,
//    through a staging file; one that an interrupted conversion left with
//    the same bytes is taken as it is;
// 3. the new register is built under a staging name, in one transaction,
//    the rows going into it as the reading child streams them;
// 4. once "Data.dat" is found still to hold the bytes that were read, byte
//    for byte, the register is renamed over it in one step.
//
// The program may be killed at any moment: "Data.dat" is always either the
// old file or the whole new register, the copy that was read lives in
// memory only, and the clean-up at start removes the staging files
// (StartupCleanup). The kept original is never removed once the register
// is in place.
namespace OldDatabaseConversion {

struct Outcome
{
    enum class Status {
        Converted,
        Declined, // another password, and the question was answered no
        NotRead, // not the old program's database, or unreadable: message
        NotConverted, // read, but the register could not be made or put in place: message
    };
    Status status = Status::NotConverted;
    QString message; // Turkish; empty when converted or declined
    PayeeImport::Counts counts;
    QString keptPath;
};

// options: the reading's, with its progress and its question.
Outcome convert(const QString &databasePath, const OldDatabaseReading::Options &options = {});

} // namespace OldDatabaseConversion
