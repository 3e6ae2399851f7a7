#pragma once

#include "base/PaymentCategory.h"
#include "base/Result.h"
#include "issuing/DocumentName.h"
#include "issuing/PaymentOrderPage.h"
#include "registry/OrderRegister.h"

#include <QString>

#include <functional>

class QPrinter;
class QWidget;

// Where a prepared page goes after YAZDIR: the preview window, or straight to
// the default printer. The main window's printing uses DesktopPageOutput;
// tests put their own in its place and see the pages instead.
class PageOutput
{
public:
    virtual ~PageOutput() = default;

    // Told each time the page leaves the preview: printed, or saved as a PDF.
    using IssueNotice = std::function<void(OrderWay way)>;

    // Modal; the user may print, save or close it. Closing it without either
    // tells nothing.
    virtual void preview(const PaymentOrderPage &page, const QString &documentName, QWidget *parent,
                         const IssueNotice &issued = {}) = 0;
    // The default printer, one copy, no dialog.
    virtual Result<> print(const PaymentOrderPage &page, const QString &documentName) = 0;
};

class DesktopPageOutput final : public PageOutput
{
public:
    void preview(const PaymentOrderPage &page, const QString &documentName, QWidget *parent,
                 const IssueNotice &issued = {}) override;
    Result<> print(const PaymentOrderPage &page, const QString &documentName) override;
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
