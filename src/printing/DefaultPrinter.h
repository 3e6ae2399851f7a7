#pragma once

#include "base/Result.h"
#include "issuing/PageOutput.h"
#include "issuing/PaymentOrderPage.h"

#include <QString>

class QPrinter;

// The page straight on the default printer, one copy, no dialog.
class DefaultPrinterOutput final : public PageOutput
{
public:
    Delivery deliver(const PaymentOrderPage &page, const QString &documentName, const Departure &left) override;
};

namespace DefaultPrinter {

// The page on the system's default printer: one copy, no dialog. Fails with
// a Turkish message when there is no default printer or the job could not
// be handed over.
Result<> print(const PaymentOrderPage &page, const QString &documentName);
// A4 portrait, one copy, the whole sheet as the painting area.
void setUp(QPrinter &printer);
// The page on a printer that is already chosen and set up.
Result<> printOn(QPrinter &printer, const PaymentOrderPage &page, const QString &documentName);

} // namespace DefaultPrinter
