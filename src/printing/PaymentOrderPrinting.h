#pragma once

#include "base/PaymentCategory.h"
#include "base/Result.h"
#include "issuing/DocumentFilling.h"
#include "printing/PageOutput.h"
#include "issuing/PaymentOrderPage.h"
#include "referencedata/CodeSheet.h"
#include "referencedata/InstitutionSettings.h"
#include "registry/PayeeTable.h"

#include <QDate>
#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class OrderRegister;
class PaymentPreferences;
class QWidget;
class WorksheetSet;

// The chosen payee's five fields as the category's list gives them, or the
// reason they could not be read.
struct PayeeReading
{
    PayeeFields fields;
    Result<> status = Result<>::success();
};

// The printing of the main window: it owns the form Raporlar and runs the
// common-fields step and the four print handlers. It reads everything at the
// moment of printing through the sources it is given, writes nothing but the
// form and the YAZDIR button, and hands the prepared page to its output.
class PaymentOrderPrinting : public QObject
{
    Q_OBJECT

public:
    struct Sources
    {
        std::function<InstitutionValues()> institution; // TForm4::values()
        std::function<CodeSheet(PaymentCategory)> codes; // TForm5::sheet(category)
        std::function<PayeeReading(PaymentCategory)> payee; // the category's current record
    };

    // The worksheets and the preferences must outlive this object; window is
    // the parent of the preview and of the message boxes.
    PaymentOrderPrinting(WorksheetSet &worksheets, const PaymentPreferences &preferences, Sources sources,
                         QWidget *window);
    ~PaymentOrderPrinting() override;

    Raporlar &raporlar() { return m_raporlar; }
    const Raporlar &raporlar() const { return m_raporlar; }

    // The preview window and the default printer unless replaced (tests).
    void setOutput(std::unique_ptr<PageOutput> output);
    // The day used for the approval dates and the preparation date; today
    // unless fixed (tests).
    void setToday(std::function<QDate()> today);

    // The register every issued order is recorded in, and that the guard
    // against paying twice looks into; none: nothing is recorded (tests).
    void setOrderRegister(OrderRegister *orders) { m_orders = orders; }

    // The last page handed to the output.
    const PaymentOrderPage &lastPage() const { return m_lastPage; }

    // The print of one category, without its message box: gathers the inputs,
    // writes the common fields and the payment's fields, disables YAZDIR, then
    // previews or prints by the preference. A payee record that cannot be
    // read stops it before anything is written. A failed direct print leaves
    // YAZDIR as it was, so that the user can print again.
    //
    // Before anything is written, an order of the same category, payee name and
    // gross amount issued in the last OrderRegister::kRecentDays days makes
    // it ask first (Evet/Hayır, Hayır by default); "Hayır" stops it there.
    // The order is recorded in the register when it leaves the program:
    // printed directly, or printed or saved as a PDF from the preview (one
    // record per YAZDIR, with every way it left). A preview closed without
    // either, or a failed print, records nothing. A record that cannot be
    // written is said in a warning; the order has left all the same.
    Result<> print(PaymentCategory category);

public slots:
    // The common fields step, run by every print first.
    void BtnSabitClick();
    // YAZDIR of the four worksheets; a failure is shown in the error box.
    void BtnPrintClick();
    void BtnPrint2Click();
    void BtnPrint3Click();
    void BtnPrint4Click();
    // WorksheetSet::printRequested.
    void printRequested(PaymentCategory category);

private:
    DocumentFilling::PaymentInputs gatherPayment(PaymentCategory category, const PayeeFields &payee) const;
    QDate today() const;
    bool confirmedNotTwice(const IssuedOrder &order);
    void reportRecording(const Result<> &recorded);

    WorksheetSet &m_worksheets;
    const PaymentPreferences &m_preferences;
    Sources m_sources;
    QPointer<QWidget> m_window;
    std::unique_ptr<PageOutput> m_output;
    OrderRegister *m_orders = nullptr;
    std::function<QDate()> m_today;
    Raporlar m_raporlar;
    PaymentOrderPage m_lastPage;
};
