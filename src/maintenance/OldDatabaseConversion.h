#pragma once

#include "base/Result.h"
#include "olddata/OldDatabaseReading.h"
#include "registry/PayeeImport.h"

#include <QString>

// The old program's database "Data.dat" (Jet 4.0) made into this program's
// register in its place, once its payees have been read
// (OldDatabaseReading::read):
//
// 1. the original is kept byte for byte as "Data.dat.eski" (or "-2", "-3"...
//    when another file has that name), through a staging file; one that an
//    interrupted conversion left with the same bytes is taken as it is;
// 2. the new register is built whole under a staging name with every payee;
// 3. once "Data.dat" is found still to hold the bytes that were read, the
//    register is renamed over it in one step.
//
// The program may be killed at any moment: "Data.dat" is always either the
// old file or the whole new register, and the clean-up at start removes the
// staging files (StartupCleanup). The kept original is never removed.
namespace OldDatabaseConversion {

struct Converted
{
    PayeeImport::Counts counts;
    QString keptPath;
};

// database: what was read from databasePath.
Result<Converted> convert(const QString &databasePath, const OldDatabaseReading::OldDatabase &database,
                          const PayeeImport::Progress &progress = {});

} // namespace OldDatabaseConversion
