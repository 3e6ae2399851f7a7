#include "issuing/PdfFileOutput.h"

#include "base/FileProblem.h"
#include "issuing/PagePainter.h"

#include <QFileInfo>

PdfFileOutput::PdfFileOutput(QString filePath)
    : m_filePath(std::move(filePath))
{
}

std::optional<Delivery> PdfFileOutput::obstacle() const
{
    const QFileInfo file(m_filePath);
    if (!QFileInfo(file.absolutePath()).isDir() || file.isDir())
        return Delivery::failed(FileProblem::notWritten(m_filePath, QFileDevice::OpenError));
    return std::nullopt;
}

Delivery PdfFileOutput::deliver(const PaymentOrderPage &page, const QString &documentName, const Departure &left)
{
    if (const Result<> saved = PagePainter::savePdf(page, m_filePath, documentName); saved.failed())
        return Delivery::failed(saved.message());
    if (left)
        left(OrderWay::Pdf);
    return Delivery::left();
}
