#include "printing/PaymentOrderPrinting.h"

#include "computation/PaymentPreferences.h"
#include "issuing/PrinterOutput.h"
#include "printing/AskingGuard.h"
#include "printing/OutcomeMessages.h"
#include "printing/PreviewOutput.h"

#include <QWidget>

PaymentOrderPrinting::PaymentOrderPrinting(const PaymentPreferences &preferences, OrderStore &orders,
                                           Sources sources, QWidget *window)
    : m_preferences(preferences)
    , m_sources(std::move(sources))
    , m_window(window)
    , m_issue(m_raporlar, orders)
{
}

PaymentOrderPrinting::~PaymentOrderPrinting() = default;

void PaymentOrderPrinting::setOutputs(Outputs outputs)
{
    m_outputs = std::move(outputs);
}

void PaymentOrderPrinting::setClock(std::function<QDateTime()> clock)
{
    m_issue.setClock(std::move(clock));
}

IssueSettings PaymentOrderPrinting::settings() const
{
    IssueSettings settings;
    if (m_sources.institution)
        settings.institution = m_sources.institution();
    settings.currencyChoice = m_preferences.currencyChoice();
    settings.fillApprovalDates = m_preferences.fillApprovalDates();
    settings.duplicateGuardDays = m_preferences.duplicateGuardDays();
    return settings;
}

void PaymentOrderPrinting::BtnSabitClick()
{
    m_issue.fillCommonFields(settings());
}

IssueOutcome PaymentOrderPrinting::print(PaymentCategory category)
{
    const Result<DocumentFilling::PaymentInputs> payment
        = m_sources.payment ? m_sources.payment(category)
                            : Result<DocumentFilling::PaymentInputs>(Failure(QStringLiteral("Ödeme bilgisi yok.")));
    if (payment.failed()) {
        IssueOutcome stopped;
        stopped.kind = IssueOutcome::Kind::Failed;
        stopped.message = QStringLiteral("Belge yazdırılmadı, ilgilinin kaydı okunamadı: ") + payment.message();
        return stopped;
    }
    const bool preview = m_preferences.previewBeforePrinting();
    std::unique_ptr<PageOutput> output;
    if (m_outputs)
        output = m_outputs(preview);
    else if (preview)
        output = std::make_unique<PreviewOutput>(m_window);
    else
        output = std::make_unique<PrinterOutput>();
    AskingGuard guard(m_window);
    return m_issue.issue(*payment, settings(), guard, *output);
}

void PaymentOrderPrinting::printRequested(PaymentCategory category)
{
    const IssueOutcome outcome = print(category);
    OutcomeMessages::show(m_window, outcome);
    emit printEnded(category, outcome);
}

void PaymentOrderPrinting::BtnPrintClick()
{
    printRequested(PaymentCategory::Pharmacy);
}

void PaymentOrderPrinting::BtnPrint2Click()
{
    printRequested(PaymentCategory::Hospital);
}

void PaymentOrderPrinting::BtnPrint3Click()
{
    printRequested(PaymentCategory::Treatment);
}

void PaymentOrderPrinting::BtnPrint4Click()
{
    printRequested(PaymentCategory::Private);
}
