#pragma once

#include "base/PaymentCategory.h"
#include "base/Result.h"
#include "referencedata/CodeSheet.h"

#include <QList>
#include <QString>

#include <optional>

class ProfileFile;

// Where the code sheets live in the settings file, and the order in which
// the codes window reads and writes them.
namespace CodeSheetSettings {

struct SettingsKey
{
    QString section;
    QString key;

    friend bool operator==(const SettingsKey &, const SettingsKey &) = default;
};

// One stored cell: the sheet, row and column (from 1) and its key.
struct StoredCell
{
    PaymentCategory category;
    int row;
    int column;
    SettingsKey key;
};

inline constexpr int kStoredCellCount = 448;

// "Eczane Kod", "Hastane Kod", "Nakit Kod", "Ozel Kod".
QString codeSection(PaymentCategory category);
// The private sheet keeps its names in a section of their own.
QString privateNameSection();

// The key of a cell, or nothing for a fixed cell or one outside the sheet.
// Code cells: (row - 1) * 14 + column, at least two digits; names: rows
// * 14 + row in the same section; private names: "1 :", "3 :", ...
std::optional<SettingsKey> keyOf(PaymentCategory category, int row, int column);

// The 448 stored cells in reading and writing order: pharmacy "01".."105",
// hospital the same, treatment "01".."135", private names, private codes
// "01".."98". A file without these sections gets them in this order.
const QList<StoredCell> &storedCells();

// Each cell reads its own text as the default, so a missing key keeps it
// and a key present but empty empties it.
void load(const ProfileFile &file, CodeSheets &sheets);

// Writes every stored cell, changed or not, then saves the file in one step;
// a refused value fails the whole save with its reason.
Result<> save(ProfileFile &file, const CodeSheets &sheets);

} // namespace CodeSheetSettings
