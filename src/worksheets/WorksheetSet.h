#pragma once

#include "base/PaymentCategory.h"
#include "computation/AttachmentSettings.h"
#include "computation/WorksheetDefinition.h"
#include "computation/WorksheetEntry.h"

#include <QDate>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <array>
#include <functional>

class PaymentPreferences;
class QTabWidget;
class QWidget;
class WorksheetPanel;
class WorksheetStates;

// One line of a category's accounting entry as printing reads it.
struct WorksheetLine
{
    QString caption;
    EntryColumn column = EntryColumn::Debit;
    QString text; // empty after a clear: printed as a blank row
    long double value = 0; // the text read as an amount field reads it
};

// One attachment line as printing reads it: printed only when highlighted.
struct WorksheetAttachment
{
    int count = 0;
    QString description;
    bool highlighted = false;
};

// The four payment worksheets of the main window, their hidden result pages
// and the idle-time pass that keeps their controls in step. The main window
// places the panels and the result pages, hands over the preferences and the
// institution window's automatic date, and reads and writes the attachment
// lines with its settings; printing reads the entries through this class.
class WorksheetSet : public QObject
{
    Q_OBJECT

public:
    explicit WorksheetSet(QObject *parent = nullptr);
    ~WorksheetSet() override;

    // --- The main window

    WorksheetPanel *panel(PaymentCategory category) const;
    // Puts the category's worksheet below the payee fields of its panel.
    void placeInto(PaymentCategory category, QWidget *categoryPanel);
    // PageControl1, the result pages: the caller takes it over and never
    // shows it.
    QTabWidget *resultPages() const;
    void placeResultPages(QWidget *owner);

    // The preferences dialog, read at every computation. Until it is set a
    // fresh start's preferences apply (Preferences{}).
    void setPreferences(const PaymentPreferences *preferences);

    // The category selector's choice; every close of the preferences dialog.
    void clear(PaymentCategory category);
    void clearAll();

    // Caption of Label68, the private category's amount ("Extra" "Baslik2").
    QString privateAmountCaption() const;
    void setPrivateAmountCaption(const QString &caption);

    // The twenty attachment lines as the settings file keeps them.
    AttachmentSettings attachments() const;
    void setAttachments(const AttachmentSettings &attachments);

    // Installs UpdateWorksheetStates as the application's idle-time handler.
    void installIdleHandler();
    // The institution window's applyAutomaticYearAndDate, run at the end of
    // every idle pass.
    void setAutomaticYearAndDate(std::function<void(const QDate &today)> hook);
    WorksheetStates *states() const { return m_states; }

    // --- Printing

    int lineCount(PaymentCategory category) const;
    // line 1..lineCount: the lines in the order the form prints them.
    WorksheetLine line(PaymentCategory category, int line) const;
    WorksheetLine debitTotal(PaymentCategory category) const;
    WorksheetLine creditTotal(PaymentCategory category) const;
    QString firstSentence(PaymentCategory category) const;
    QString secondSentence(PaymentCategory category) const;
    QList<WorksheetAttachment> attachments(PaymentCategory category) const;
    // The category's computed entry as the form is filled from it.
    WorksheetEntry entry(PaymentCategory category) const;
    bool isPrintEnabled(PaymentCategory category) const;
    // Every print disables YAZDIR until the next HESAPLA (a preview closed
    // without printing too).
    void disablePrint(PaymentCategory category);
    // The end of a print that YAZDIR started: when nothing left the program
    // and the user may try again (declined, refused by the printer, failed),
    // YAZDIR is enabled again.
    void printEnded(PaymentCategory category, bool mayTryAgain);

public slots:
    // The worksheets' handlers.
    void Edit1Change();
    void Edit17Change();
    void Edit50Change();
    void Edit52Change();
    void Edit70Change();
    void BtnHazir1Click();
    void BtnHazir2Click();
    void BtnHazir3Click();
    void BtnHazir4Click();
    void BtnSil1Click();
    void BtnSil2Click();
    void BtnSil3Click();
    void BtnSil4Click();
    void ChkHastaneClick();
    void ChkTedaviClick();
    void ChkOzelClick();
    void UpdateWorksheetStates();

signals:
    // YAZDIR pressed (BtnPrint, BtnPrint2, BtnPrint3, BtnPrint4).
    void printRequested(PaymentCategory category);
    // "Nakit Ayarları" (BtnAyar): the main window opens the codes window.
    void cashSettingsRequested();

private:
    WorksheetPanel &sheet(PaymentCategory category) const;
    const PaymentPreferences &preferences() const;
    void amountChanged(PaymentCategory category, const QString &field);
    void compute(PaymentCategory category);
    void stampSwitchClicked(PaymentCategory category);
    void connectHandlers();
    WorksheetLine lineOf(PaymentCategory category, int field) const;

    std::array<QPointer<WorksheetPanel>, kCategoryCount> m_panels{};
    QPointer<QTabWidget> m_resultPages;
    WorksheetStates *m_states = nullptr;
    const PaymentPreferences *m_preferences = nullptr;
};
