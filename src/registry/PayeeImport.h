#pragma once

#include "base/Result.h"
#include "registry/PayeeDatabase.h"
#include "registry/PayeeRecords.h"

#include <QString>

#include <array>
#include <functional>

// Payees brought in from elsewhere (the old program's database, a CSV
// file) and written into the register, all or nothing: in one transaction
// of an open register, or into a new register file that gets its name only
// when it holds them all. The register of issued orders is never touched.
namespace PayeeImport {

struct Counts
{
    std::array<qsizetype, kCategoryCount> added{};
    // Equal in all five fields (absent values too) to a payee that was
    // there before the import.
    std::array<qsizetype, kCategoryCount> skipped{};

    qsizetype totalAdded() const;
    qsizetype totalSkipped() const;
};

// done of total records written.
using Progress = std::function<void(qsizetype done, qsizetype total)>;

// Inserts every record as it is into the tables of connection, inside the
// caller's transaction.
SqlCipherConnection::Error insertAll(SqlCipherConnection &connection, const PayeeRecords &records,
                                     const Progress &progress = {});

// Adds to the open database those records that are not there yet, in one
// transaction: on failure nothing is added.
Result<Counts> add(PayeeDatabase &database, const PayeeRecords &records, const Progress &progress = {});

// Adds the records to the register at filePath, made with them when it is
// missing. Nothing is written on failure.
Result<Counts> addToFile(const QString &filePath, const PayeeRecords &records, const Progress &progress = {});

// "Eczane: 312, Hastane: 48, Tedavi: 1.204, Özel: 17"
QString countsText(const std::array<qsizetype, kCategoryCount> &counts);

// What the conversion of the old program's database says it brought:
// "Eczane: 312, Hastane: 48, Tedavi: 1.204, Özel: 17 kayıt aktarıldı."
QString transferredSentence(const Counts &counts);

// One line a category: "Eczane: 312 kayıt eklendi, 4 kayıt zaten vardı (atlandı)."
QStringList reportLines(const Counts &counts);

} // namespace PayeeImport
