#pragma once

#include "base/Result.h"
#include "issuing/DocumentFilling.h"
#include "issuing/IssueOutcome.h"
#include "issuing/PaymentOrderPage.h"
#include "referencedata/InstitutionSettings.h"
#include "registry/OrderStore.h"

#include <QDateTime>

#include <functional>

class DuplicateGuard;
class PageOutput;

// The reference data and preferences a payment order is issued with: the
// institution window's values, the currency, the approval dates and the
// guard's window of days.
struct IssueSettings
{
    InstitutionValues institution;
    int currencyChoice = 1; // 0 "YTL - YKr", any other "TL - Kr"
    bool fillApprovalDates = true;
    int duplicateGuardDays = 45; // 0: no guard
};

// A record of the register with its stored page.
struct StoredOrder
{
    IssuedOrder order;
    PaymentOrderPage page;
};

// The one road of a payment order, whatever starts it (YAZDIR, the windowless
// commands, a reprint from the orders window): the guard against paying
// twice, the filling of the form, the page to its output, and the record of
// every way it left. Nothing here reads or writes a widget; the adapters
// gather the inputs and show the outcome.
class PaymentOrderIssue
{
public:
    // form: the report object whose boxes are written; a box keeps its last
    // text until it is written again. Both must outlive this object.
    PaymentOrderIssue(Raporlar &form, OrderStore &orders);

    // The moment of an issue: now unless fixed (tests).
    void setClock(std::function<QDateTime()> clock);
    QDateTime now() const;

    // The common fields of every document, written into the form.
    void fillCommonFields(const IssueSettings &settings);

    // An original order. Before anything is written, an output that cannot
    // take the page ends it (Refused or Failed), and an order of the same
    // category, payee name and gross amount issued in the guard's window of
    // days goes to the guard (Declined when it says no). Then the form is
    // filled, the page prepared and handed to the output, and recorded once,
    // at its first way out, with every later way out added to that record.
    IssueOutcome issue(const DocumentFilling::PaymentInputs &payment, const IssueSettings &settings,
                       DuplicateGuard &guard, PageOutput &output);

    // A stored order again: its page exactly as it was issued (its date
    // included), recorded as a reprint of the original. No guard: it is the
    // same payment.
    IssueOutcome reissue(qint64 number, PageOutput &output);

    // A record with its page; a failure when either cannot be read.
    Result<StoredOrder> stored(qint64 number) const;

    // The last page handed to an output.
    const PaymentOrderPage &lastPage() const { return m_lastPage; }

private:
    IssueOutcome deliver(const IssuedOrder &order, const PaymentOrderPage &page, PageOutput &output,
                         QStringList notes);

    Raporlar &m_form;
    OrderStore &m_orders;
    std::function<QDateTime()> m_clock;
    PaymentOrderPage m_lastPage;
};
