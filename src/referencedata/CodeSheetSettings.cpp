#include "referencedata/CodeSheetSettings.h"

#include "base/ProfileFile.h"

namespace CodeSheetSettings {

namespace {

QString numberKey(int number)
{
    return QStringLiteral("%1").arg(number, 2, 10, QChar(u'0'));
}

QList<StoredCell> buildStoredCells()
{
    QList<StoredCell> cells;
    cells.reserve(kStoredCellCount);
    const auto addSheet = [&cells](PaymentCategory category, bool withNames) {
        const int rows = CodeSheet::rowCount(category);
        for (int row = 1; row <= rows; ++row) {
            for (int column = 1; column <= AccountCodeLine::kCodeColumnCount; ++column)
                cells.append({category, row, column, *keyOf(category, row, column)});
        }
        if (!withNames)
            return;
        for (int row = 1; row <= rows; ++row)
            cells.append({category, row, AccountCodeLine::kName, *keyOf(category, row, AccountCodeLine::kName)});
    };
    addSheet(PaymentCategory::Pharmacy, true);
    addSheet(PaymentCategory::Hospital, true);
    addSheet(PaymentCategory::Treatment, true);
    // The private names come before the private codes.
    for (int row = 1; row <= CodeSheet::rowCount(PaymentCategory::Private); ++row) {
        if (const auto key = keyOf(PaymentCategory::Private, row, AccountCodeLine::kName))
            cells.append({PaymentCategory::Private, row, AccountCodeLine::kName, *key});
    }
    addSheet(PaymentCategory::Private, false);
    return cells;
}

} // namespace

QString codeSection(PaymentCategory category)
{
    switch (category) {
    case PaymentCategory::Pharmacy:
        return QStringLiteral("Eczane Kod");
    case PaymentCategory::Hospital:
        return QStringLiteral("Hastane Kod");
    case PaymentCategory::Treatment:
        return QStringLiteral("Nakit Kod");
    case PaymentCategory::Private:
        break;
    }
    return QStringLiteral("Ozel Kod");
}

QString privateNameSection()
{
    return QStringLiteral("Hesap Ayrinti");
}

std::optional<SettingsKey> keyOf(PaymentCategory category, int row, int column)
{
    const int rows = CodeSheet::rowCount(category);
    if (row < 1 || row > rows || !AccountCodeLine::isColumn(column) || CodeSheet::isFixed(category, row, column))
        return std::nullopt;
    constexpr int kCodes = AccountCodeLine::kCodeColumnCount;
    if (column != AccountCodeLine::kName)
        return SettingsKey{codeSection(category), numberKey((row - 1) * kCodes + column)};
    if (category == PaymentCategory::Private)
        return SettingsKey{privateNameSection(), QStringLiteral("%1 :").arg(row)};
    return SettingsKey{codeSection(category), numberKey(rows * kCodes + row)};
}

const QList<StoredCell> &storedCells()
{
    static const QList<StoredCell> cells = buildStoredCells();
    return cells;
}

void load(const ProfileFile &file, CodeSheets &sheets)
{
    for (const StoredCell &cell : storedCells()) {
        CodeSheet &sheet = sheets[std::size_t(categoryIndex(cell.category))];
        sheet.setText(cell.row, cell.column,
                      file.readString(cell.key.section, cell.key.key, sheet.text(cell.row, cell.column)));
    }
}

Result<> save(ProfileFile &file, const CodeSheets &sheets)
{
    for (const StoredCell &cell : storedCells()) {
        const CodeSheet &sheet = sheets[std::size_t(categoryIndex(cell.category))];
        file.writeString(cell.key.section, cell.key.key, sheet.text(cell.row, cell.column));
    }
    return file.save();
}

} // namespace CodeSheetSettings
