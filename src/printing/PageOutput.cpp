#include "printing/PageOutput.h"

#include "issuing/PagePainter.h"
#include "printing/PreviewWindow.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

void DesktopPageOutput::preview(const PaymentOrderPage &page, const QString &documentName, QWidget *parent,
                                const IssueNotice &issued)
{
    PreviewWindow window(page, documentName, parent);
    if (issued)
        QObject::connect(&window, &PreviewWindow::issued, &window, issued);
    window.run();
}

Result<> DesktopPageOutput::print(const PaymentOrderPage &page, const QString &documentName)
{
    return DefaultPrinter::print(page, documentName);
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
