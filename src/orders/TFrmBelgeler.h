#pragma once

#include "base/ScopedOverride.h"
#include "controls/LazyDialog.h"
#include "orders/OrderReprinting.h"
#include "registry/OrderList.h"
#include "registry/OrderRegister.h"

#include <QColor>

#include <functional>

class OrderListModel;
class PayeeDatabase;
class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class TStripedDBGrid;
class UpperCaseKeyFilter;

// The orders window "Belgeler": the register of issued payment orders, newest
// first, found by the beginning of the payee's name and a range of days, with
// the count and the sums of what is shown; a record is reprinted as the same
// page, saved as a PDF, and the shown records are exported to a CSV file.
// Records are never deleted here: the register is an audit trail.
//
// Created at start and kept for the run; its widgets are built when it is
// first shown, and every show reads the register anew.
class TFrmBelgeler : public LazyDialog
{
    Q_OBJECT

public:
    explicit TFrmBelgeler(PayeeDatabase &database, QWidget *parent = nullptr);
    ~TFrmBelgeler() override;

    OrderRegister &orders() { return m_orders; }
    OrderList *list() const { return m_list; }
    OrderReprinting &reprinting() { return m_reprinting; }

    // "12 belge (2 yeniden basım)".
    QString countText() const;
    // "Brüt toplam: 1.234,50    Net toplam: 1.224,32" (reprints left out).
    QString totalsText() const;

    // The file dialog for the CSV export, for tests, while the override
    // lives: the chooser gets the suggested path and answers a path, empty
    // for cancel.
    using FileChooser = std::function<QString(QWidget *parent, const QString &suggested)>;
    [[nodiscard]] static ScopedOverride<FileChooser> overrideCsvChooser(FileChooser chooser);

    // The colours of the payee lists (the settings' "Colors"), so that the
    // grid stripes its rows and marks the current one as they do. Invalid
    // colours keep the grid's own.
    void setListColours(const QColor &alternative, const QColor &select, const QColor &selectText);

public slots:
    // Reads the register again with the window's filter.
    void refresh();
    void EdAraChange(const QString &text);
    void ChkTarihClick(bool checked);
    void DtBaslangicChange();
    void DtBitisChange();
    void BtnYenidenClick();
    void BtnPdfClick();
    void BtnCsvClick();
    void SpeedButton1Click();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildWidgets() override;
    OrderList::Filter currentFilter() const;
    void showFigures();
    void showFailure(const Result<> &result);
    // Says a reprint's outcome and shows its new record.
    void reprinted(const IssueOutcome &outcome);
    QString suggestedCsvPath() const;

    OrderRegister m_orders;
    OrderReprinting m_reprinting;
    OrderList *m_list;
    OrderListModel *m_model;
    UpperCaseKeyFilter *m_upperCase = nullptr;

    QLineEdit *m_search = nullptr; // EdAra
    QCheckBox *m_dateRange = nullptr; // ChkTarih
    QDateEdit *m_from = nullptr; // DtBaslangic
    QDateEdit *m_to = nullptr; // DtBitis
    TStripedDBGrid *m_grid = nullptr; // DBGridBelge
    QLabel *m_count = nullptr; // LabSayi
    QLabel *m_totals = nullptr; // LabToplam
    QPushButton *m_reprintButton = nullptr; // BtnYeniden
    QPushButton *m_pdfButton = nullptr; // BtnPdf
    QPushButton *m_csvButton = nullptr; // BtnCsv
    QToolButton *m_helpButton = nullptr; // SpeedButton1
    QColor m_alternative;
    QColor m_select;
    QColor m_selectText;
};
