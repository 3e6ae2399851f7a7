#pragma once

#include "base/Result.h"
#include "issuing/IssueOutcome.h"
#include "issuing/PageOutput.h"
#include "issuing/PaymentOrderIssue.h"
#include "registry/OrderStore.h"

#include <QDateTime>

#include <functional>
#include <memory>

class QWidget;

// A stored order out again from the orders window, through the payment
// order's one road: its page exactly as it was issued (its date included),
// in the preview or straight into a PDF file, recorded as a reprint of the
// original once it has left.
class OrderReprinting
{
public:
    explicit OrderReprinting(OrderStore &orders);

    // The preview window over its parent unless replaced (tests).
    using PreviewFactory = std::function<std::unique_ptr<PageOutput>(QWidget *parent)>;
    void setPreview(PreviewFactory preview);
    // The moment a reprint is recorded at; now unless fixed (tests).
    void setClock(std::function<QDateTime()> clock);

    // The stored page of a record and the record itself.
    Result<StoredOrder> stored(qint64 number) const { return m_issue.stored(number); }

    // The record's page in the preview, over parent.
    IssueOutcome reprint(qint64 number, QWidget *parent);
    // The record's page into a PDF file.
    IssueOutcome savePdf(qint64 number, const QString &filePath);

    // "Eczane - ŞİFA ECZANESİ": the name of the print job and of the PDF.
    static QString documentNameOf(const IssuedOrder &order);

private:
    Raporlar m_form; // not written: a reprint takes its stored page
    PaymentOrderIssue m_issue;
    PreviewFactory m_preview;
};
