#include "reference/TForm5.h"

#include "base/ProfileFile.h"
#include "desktop/MessageBoxes.h"
#include "referencedata/CodeSheetSettings.h"
#include "reference/GridCells.h"

#include <QLineEdit>
#include <QTabWidget>

namespace {

constexpr int kClientWidth = 469;
constexpr int kClientHeight = 258;

// Column 1 is wide enough for an account number, the code columns for two
// digits, the name column for a whole account name.
constexpr int kAccountWidth = 42;
constexpr int kCodeWidth = 18;
constexpr int kNameWidth = 168;
constexpr int kGridLeft = 14;
constexpr int kHeaderTop = 8;
constexpr int kHeaderHeight = 26; // two lines of the header font
constexpr int kLevelTop = kHeaderTop + kHeaderHeight - 1;
constexpr int kFirstRowTop = kLevelTop + GridCells::kPitch;

struct SheetLook
{
    const char16_t *caption;
    int codeBase; // B of the naming rule
    int firstNameNumber; // Edit number of row 1's name; 0: EditH1..
    // Level-number cells left to right: 4 institutional, 4 functional,
    // 1 financing, 4 economic.
    std::array<const char16_t *, 13> levelNames;
};

const SheetLook kLooks[kCategoryCount] = {
    {u"Eczane Nakit", 0, 336,
     {u"EdKur1", u"EdKur2", u"EdKur3", u"EdKur4", u"EdFon1", u"EdFon2", u"EdFon3", u"EdFon4", u"EdFin1",
      u"EdEko1", u"EdEko2", u"EdEko3", u"EdEko4"}},
    {u"Hastane/Öz.Hst Nakit", 100, 343,
     {u"EdKur_1", u"EdKur_2", u"EdKur_3", u"EdKur_4", u"EdFon_1", u"EdFon_2", u"EdFon_3", u"EdFon_4", u"EdFin_1",
      u"EdEko_1", u"EdEko_2", u"EdEko_3", u"EdEko_4"}},
    {u"Tedavi Nakit", 200, 350,
     {u"EdKur_1_", u"EdKur_2_", u"EdKur_3_", u"EdKur_4_", u"EdFon_1_", u"EdFon_2_", u"EdFon_3_", u"EdFon_4_",
      u"EdFin_1_", u"EdEko_1_", u"EdEko_2_", u"EdEko_3_", u"EdEko_4_"}},
    {u"ÖZEL NAKİT", 400, 0,
     {u"Edit335", u"Edit330", u"Edit329", u"Edit328", u"Edit327", u"Edit200", u"Edit199", u"Edit100", u"Edit99",
      u"Edit334", u"Edit333", u"Edit332", u"Edit331"}},
};

const SheetLook &lookOf(PaymentCategory category)
{
    return kLooks[categoryIndex(category)];
}

int columnLeft(int column)
{
    if (column == AccountCodeLine::kAccountNumber)
        return kGridLeft;
    return kGridLeft + kAccountWidth - 1 + (column - 2) * GridCells::kPitch;
}

int columnWidth(int column)
{
    if (column == AccountCodeLine::kAccountNumber)
        return kAccountWidth;
    return column == AccountCodeLine::kName ? kNameWidth : kCodeWidth;
}

int groupWidth(int columns)
{
    return (columns - 1) * GridCells::kPitch + kCodeWidth;
}

} // namespace

TForm5::TForm5(QWidget *parent)
    : CellWindow(QStringLiteral("Form5"), QStringLiteral("Kurumsal / Fonksiyonel / Ek. Ayrıntı Kodları"),
                 QSize(kClientWidth, kClientHeight), parent)
{
    FormCreate();
}

void TForm5::buildPages()
{
    for (PaymentCategory category : kAllCategories)
        buildSheetTab(category);
    showCells();
}

void TForm5::buildSheetTab(PaymentCategory category)
{
    const SheetLook &look = lookOf(category);
    const int index = categoryIndex(category);
    QWidget *panel = addPage(QStringLiteral("TabSheet%1").arg(index + 1), QString::fromUtf16(look.caption));
    panel->setObjectName(QStringLiteral("Panel%1").arg(index + 1));

    // Headers: "Hesap No" and the name header stand as tall as the header
    // and level rows together, the code groups get their level numbers.
    const int tallHeader = kFirstRowTop + 1 - kHeaderTop;
    GridCells::headerBox(panel, QStringLiteral("Hesap No"),
                         QRect(columnLeft(1), kHeaderTop, kAccountWidth, tallHeader));
    struct Group
    {
        QString caption;
        int firstColumn;
        int columns;
    };
    const Group groups[] = {
        {QStringLiteral("Kurumsal Kod"), AccountCodeLine::kFirstInstitutional, 4},
        {QStringLiteral("Fonsiyonel Kod"), AccountCodeLine::kFirstFunctional, 4},
        {QStringLiteral("Fin Kd"), AccountCodeLine::kFinancing, 1},
        {QStringLiteral("Ekonomik / Ayrıntı Kodu"), AccountCodeLine::kFirstEconomic, 4},
    };
    int levelCell = 0;
    for (const Group &group : groups) {
        GridCells::headerBox(panel, group.caption,
                             QRect(columnLeft(group.firstColumn), kHeaderTop, groupWidth(group.columns), kHeaderHeight));
        for (int level = 1; level <= group.columns; ++level) {
            const int column = group.firstColumn + level - 1;
            GridCells::labelCell(panel, QString::fromUtf16(look.levelNames[std::size_t(levelCell++)]),
                                 QStringLiteral(" %1").arg(level),
                                 QRect(columnLeft(column), kLevelTop, kCodeWidth, GridCells::kHeight));
        }
    }
    if (category == PaymentCategory::Private) {
        GridCells::headerBox(panel, QStringLiteral("Hesap / Ayrıntı Adı"),
                             QRect(columnLeft(AccountCodeLine::kName), kHeaderTop, kNameWidth, tallHeader));
    }

    const CodeSheet &sheet = m_sheets[std::size_t(index)];
    QList<QLineEdit *> &cells = m_cells[std::size_t(index)];
    for (int row = 1; row <= sheet.rowCount(); ++row) {
        const int top = kFirstRowTop + (row - 1) * GridCells::kPitch;
        for (int column = 1; column <= AccountCodeLine::kColumnCount; ++column) {
            const QRect geometry(columnLeft(column), top, columnWidth(column), GridCells::kHeight);
            if (sheet.isFixed(row, column)) {
                cells.append(GridCells::labelCell(panel, cellName(category, row, column), CodeSheet::fixedText(),
                                                  geometry));
                continue;
            }
            QLineEdit *cell = GridCells::valueCell(panel, cellName(category, row, column), geometry);
            connect(cell, &QLineEdit::textChanged, this, [this, index, row, column](const QString &text) {
                m_sheets[std::size_t(index)].setText(row, column, text);
            });
            cells.append(cell);
        }
    }
}

QString TForm5::cellName(PaymentCategory category, int row, int column)
{
    const SheetLook &look = lookOf(category);
    if (column != AccountCodeLine::kName)
        return QStringLiteral("Edit%1").arg(look.codeBase + (row - 1) * AccountCodeLine::kCodeColumnCount + column);
    if (look.firstNameNumber == 0)
        return QStringLiteral("EditH%1").arg(row);
    return QStringLiteral("Edit%1").arg(look.firstNameNumber + row - 1);
}

QLineEdit *TForm5::cell(PaymentCategory category, int row, int column)
{
    if (!sheet(category).contains(row, column))
        return nullptr;
    ensureBuilt();
    return m_cells[std::size_t(categoryIndex(category))].at((row - 1) * AccountCodeLine::kColumnCount + column - 1);
}

const CodeSheet &TForm5::sheet(PaymentCategory category) const
{
    return m_sheets[std::size_t(categoryIndex(category))];
}

QString TForm5::cellText(PaymentCategory category, int row, int column) const
{
    return sheet(category).text(row, column);
}

void TForm5::FormCreate()
{
    CodeSheetSettings::load(ProfileFile(), m_sheets);
}

void TForm5::showCells()
{
    for (PaymentCategory category : kAllCategories) {
        const CodeSheet &codes = sheet(category);
        for (int row = 1; row <= codes.rowCount(); ++row) {
            for (int column = 1; column <= AccountCodeLine::kColumnCount; ++column)
                GridCells::showText(cell(category, row, column), codes.text(row, column));
        }
    }
}

void TForm5::FormClose()
{
    // The cells keep their texts whatever happens: the next close tries again.
    ProfileFile file;
    if (const Result<> saved = CodeSheetSettings::save(file, m_sheets); saved.failed())
        MessageBoxes::showError(this, saved.message());
}

void TForm5::done(int result)
{
    FormClose();
    QDialog::done(result);
}

int TForm5::showAllSheets()
{
    ensureBuilt();
    for (int index = 0; index < categoryIndex(PaymentCategory::Private); ++index)
        pages()->setTabVisible(index, true);
    pages()->setCurrentIndex(categoryIndex(PaymentCategory::Pharmacy));
    return exec();
}

int TForm5::showPrivateSheetOnly()
{
    ensureBuilt();
    for (int index = 0; index < categoryIndex(PaymentCategory::Private); ++index)
        pages()->setTabVisible(index, false);
    pages()->setCurrentIndex(categoryIndex(PaymentCategory::Private));
    return exec();
}
