#pragma once

#include "issuing/PageOutput.h"

// The page straight onto a printer, one copy, no dialog: as a PDF job to the
// print service, so that a queue that does not take it is told apart from
// one that did. Only a job the queue took has left.
class PrinterOutput final : public PageOutput
{
public:
    // printer: a queue's name; empty for the default printer.
    explicit PrinterOutput(QString printer = QString());

    // A printer that is missing, stopped or refusing jobs, or no print service.
    std::optional<Delivery> obstacle() const override;
    Delivery deliver(const PaymentOrderPage &page, const QString &documentName, const Departure &left) override;

private:
    QString m_printer;
};
