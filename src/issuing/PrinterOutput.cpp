#include "issuing/PrinterOutput.h"

#include "issuing/CupsPrinting.h"
#include "issuing/PagePainter.h"

#include <QBuffer>

namespace {

Delivery deliveryOf(const PrintSubmission &submission)
{
    switch (submission.outcome) {
    case PrintSubmission::Outcome::Accepted:
        return Delivery::left();
    case PrintSubmission::Outcome::Refused:
        return Delivery::refused(submission.message);
    case PrintSubmission::Outcome::Failed:
        break;
    }
    return Delivery::failed(submission.message);
}

} // namespace

PrinterOutput::PrinterOutput(QString printer)
    : m_printer(std::move(printer))
{
}

std::optional<Delivery> PrinterOutput::obstacle() const
{
    if (const std::optional<PrintSubmission> stopped = CupsPrinting::obstacle(m_printer))
        return deliveryOf(*stopped);
    return std::nullopt;
}

Delivery PrinterOutput::deliver(const PaymentOrderPage &page, const QString &documentName, const Departure &left)
{
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    if (const Result<> written = PagePainter::writePdf(page, &pdf, documentName); written.failed())
        return Delivery::failed(written.message());
    const Delivery delivery = deliveryOf(CupsPrinting::submitPdf(pdf.data(), documentName, m_printer));
    if (delivery.end == Delivery::End::Left && left)
        left(OrderWay::Printer);
    return delivery;
}
