#pragma once

#include "app/MainWindowColours.h"
#include "computation/PaymentPreferences.h"
#include "controls/LazyDialog.h"

#include <QColor>

#include <array>
#include <functional>

class QCheckBox;
class QColorDialog;
class QComboBox;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QToolButton;
class ColourSwatch;
class TAmountEdit;

// The preferences dialog. Its controls are the preferences in effect: the
// worksheets and printing read them through PaymentPreferences at the moment
// they need them (until the dialog is first shown, the values read from the
// settings file at start). "Tamam" stores them and hands the six colours to
// the main window; every close asks the main window to clear its worksheets.
class TFrmAyar : public LazyDialog, public PaymentPreferences
{
    Q_OBJECT

public:
    explicit TFrmAyar(QWidget *parent = nullptr);

    // PaymentPreferences, read from the controls at each call.
    long double stampDutyRate() const override; // Edit1
    int currencyChoice() const override; // CPara
    bool previewBeforePrinting() const override; // ChkYazdir
    bool fillApprovalDates() const override; // ChkTarih
    int duplicateGuardDays() const override; // SpinMukerrer

    Preferences preferences() const;

    // The main window's colours, set before each opening (Ayarlar1Click).
    void setSwatches(const MainWindowColours &colours);
    MainWindowColours swatches() const;

    // Runs the colour chooser CDlg, preset with the colour last chosen in
    // it; true when the user confirms, with the choice as CDlg's current
    // colour. Tests answer it instead of the user.
    using ColourChooser = std::function<bool(QColorDialog &dialog)>;
    void setColourChooser(ColourChooser chooser);

public slots:
    void SpeedButton1Click();
    void BtnRenkClick();
    void Button2Click();
    void Button1Click();

signals:
    // "Tamam": the main window takes these colours (TForm1::applyColours).
    void coloursConfirmed(const MainWindowColours &colours);
    // Every close, whatever closes the dialog: the main window clears its
    // four worksheets, pharmacy, hospital, treatment, private.
    void worksheetsClearRequested();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void done(int result) override;

private:
    void FormCreate();
    void readPreferences();
    void showPreferences(const Preferences &preferences);
    void ShapeMouseDown(ColourSwatch *swatch);

    void buildWidgets() override;
    void buildPrintingPage(QWidget *page);
    void buildColoursPage(QWidget *page);
    void buildButtons();

    QTabWidget *m_pages = nullptr; // PageControl1
    QCheckBox *m_previewCheck = nullptr; // ChkYazdir
    QCheckBox *m_approvalDatesCheck = nullptr; // ChkTarih
    TAmountEdit *m_stampDutyRateEdit = nullptr; // Edit1
    QComboBox *m_currencyChoice = nullptr; // CPara
    QSpinBox *m_duplicateGuardDays = nullptr; // SpinMukerrer
    // Shape1, Shape2, Shape3, Shape4, Shape5, Shape7.
    std::array<ColourSwatch *, 6> m_swatches{};
    MainWindowColours m_swatchColours; // what the swatches show, before they exist
    QColorDialog *m_colourDialog = nullptr; // CDlg
    QColor m_lastChosen = Qt::black;
    ColourChooser m_chooser;
    // What the file holds as far as this run knows: read at creation,
    // written by "Tamam". "İptal" falls back on it for a key the file lacks.
    Preferences m_confirmed;
};
