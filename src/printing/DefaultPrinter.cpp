#include "printing/DefaultPrinter.h"

#include "issuing/PagePainter.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

Delivery DefaultPrinterOutput::deliver(const PaymentOrderPage &page, const QString &documentName,
                                      const Departure &left)
{
    if (const Result<> printed = DefaultPrinter::print(page, documentName); printed.failed())
        return Delivery::failed(printed.message());
    if (left)
        left(OrderWay::Printer);
    return Delivery::left();
}

namespace DefaultPrinter {

Result<> print(const PaymentOrderPage &page, const QString &documentName)
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return Result<>::failure(QStringLiteral("Varsayılan yazıcı bulunamadı. Belge yazdırılmadı; bir yazıcıyı "
                                              "varsayılan yazıcı yapıp yeniden deneyin ya da önizleme "
                                              "penceresinden PDF olarak kaydedin"));
    QPrinter printer(info, QPrinter::HighResolution);
    return printOn(printer, page, documentName);
}

void setUp(QPrinter &printer)
{
    printer.setPageLayout(PagePainter::sheetLayout());
    printer.setFullPage(true);
    printer.setCopyCount(1);
    printer.setColorMode(QPrinter::GrayScale);
}

Result<> printOn(QPrinter &printer, const PaymentOrderPage &page, const QString &documentName)
{
    setUp(printer);
    printer.setDocName(documentName);
    const QString name = printer.printerName().isEmpty() ? QStringLiteral("yazıcı") : printer.printerName();
    const Result<> failed = Result<>::failure(
        QStringLiteral("Belge '%1' yazıcısına gönderilemedi. Yazıcının açık ve bağlı olduğunu denetleyip "
                       "yeniden deneyin")
            .arg(name));
    if (!printer.isValid())
        return failed;
    QPainter painter;
    if (!painter.begin(&printer))
        return failed;
    PagePainter::paint(painter, page);
    if (!painter.end() || printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted)
        return failed;
    return Result<>::success();
}

} // namespace DefaultPrinter
