#pragma once

#include "base/PaymentCategory.h"
#include "reference/CellWindow.h"
#include "referencedata/CodeSheet.h"

#include <QList>

#include <array>

class QLineEdit;

// The codes window: one tab per code sheet, a cell per code. The sheets, read
// from the settings file at start, are the live store that printing reads;
// once the window is built every keystroke reaches them at once, and every
// close writes them to the settings file. There is no cancel.
class TForm5 : public CellWindow
{
    Q_OBJECT

public:
    explicit TForm5(QWidget *parent = nullptr);

    // What printing reads: rows and columns from 1, as on the form.
    const CodeSheet &sheet(PaymentCategory category) const;
    QString cellText(PaymentCategory category, int row, int column) const;

    // The cell's object name: Edit(B + (row - 1) * 14 + column) for codes with
    // B = 0, 100, 200, 400; names Edit336.., Edit343.., Edit350.., EditH1...
    static QString cellName(PaymentCategory category, int row, int column);
    // The cell's edit; builds the window's widgets when they are not built yet.
    QLineEdit *cell(PaymentCategory category, int row, int column);

    // The menu's way in (Kodlar1Click): the first three tabs come back and
    // the first is selected. Runs the window modally.
    int showAllSheets();
    // "Nakit Ayarları" (BtnAyarClick): only the private tab, until the menu
    // shows the others again. Runs the window modally.
    int showPrivateSheetOnly();

    void done(int result) override;

private:
    void FormCreate();
    void FormClose();
    void buildPages() override;
    void buildSheetTab(PaymentCategory category);
    void showCells();

    CodeSheets m_sheets = defaultCodeSheets();
    std::array<QList<QLineEdit *>, kCategoryCount> m_cells; // row-major, 15 per row
};
