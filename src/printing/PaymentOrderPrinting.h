#pragma once

#include "base/PaymentCategory.h"
#include "base/Result.h"
#include "issuing/DocumentFilling.h"
#include "issuing/IssueOutcome.h"
#include "issuing/PaymentOrderIssue.h"
#include "issuing/PaymentOrderPage.h"
#include "referencedata/InstitutionSettings.h"

#include <QDateTime>
#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class OrderStore;
class PageOutput;
class PaymentPreferences;
class QWidget;

// YAZDIR of the main window: it owns the form Raporlar, gathers what one
// payment needs at the moment of printing through the sources it is given,
// runs the payment order's one road (PaymentOrderIssue) with the preview or
// the default printer as the preferences say and with a guard that asks,
// and says the outcome. It writes nothing but the form; the worksheets follow
// the outcome through printEnded.
class PaymentOrderPrinting : public QObject
{
    Q_OBJECT

public:
    struct Sources
    {
        std::function<InstitutionValues()> institution; // TForm4::values()
        // The category's computed entry, its current payee and its codes; a
        // failure when the payee's record cannot be read.
        std::function<Result<DocumentFilling::PaymentInputs>(PaymentCategory)> payment;
    };
    // Where a page goes: the preview (true) or the default printer (false).
    using Outputs = std::function<std::unique_ptr<PageOutput>(bool preview)>;

    // The preferences and the register must outlive this object; window is
    // the parent of the preview and of the message boxes.
    PaymentOrderPrinting(const PaymentPreferences &preferences, OrderStore &orders, Sources sources,
                         QWidget *window);
    ~PaymentOrderPrinting() override;

    Raporlar &raporlar() { return m_raporlar; }
    const Raporlar &raporlar() const { return m_raporlar; }

    // The preview window and the default printer unless replaced (tests).
    void setOutputs(Outputs outputs);
    // The moment of an issue; now unless fixed (tests).
    void setClock(std::function<QDateTime()> clock);

    // The last page handed to an output.
    const PaymentOrderPage &lastPage() const { return m_issue.lastPage(); }

    // One YAZDIR, without its message boxes: a payee record that cannot be
    // read stops it before anything is written (Failed).
    IssueOutcome print(PaymentCategory category);

public slots:
    // The common fields step, run by every print first.
    void BtnSabitClick();
    // YAZDIR of the four worksheets: the print, its outcome said, then
    // printEnded.
    void BtnPrintClick();
    void BtnPrint2Click();
    void BtnPrint3Click();
    void BtnPrint4Click();
    // WorksheetSet::printRequested.
    void printRequested(PaymentCategory category);

signals:
    void printEnded(PaymentCategory category, const IssueOutcome &outcome);

private:
    IssueSettings settings() const;

    const PaymentPreferences &m_preferences;
    Sources m_sources;
    QPointer<QWidget> m_window;
    Outputs m_outputs;
    Raporlar m_raporlar;
    PaymentOrderIssue m_issue;
};
