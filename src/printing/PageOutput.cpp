#include "printing/PageOutput.h"

#include "printing/PagePainter.h"
#include "printing/PreviewWindow.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>

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

Result<> printOn(QPrinter &printer, const PaymentOrderPage &page, const QString &documentName)
{
    PagePainter::setUpPrinter(printer);
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

QString documentName(PaymentCategory category, const QString &payeeName)
{
    const QString word = categoryWord(category);
    static const QRegularExpression unfit(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]"));
    const QString name = QString(payeeName).replace(unfit, QStringLiteral(" ")).simplified();
    return name.isEmpty() ? word : word + QStringLiteral(" - ") + name;
}
