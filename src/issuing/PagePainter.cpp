#include "issuing/PagePainter.h"

#include "base/ApplicationInfo.h"
#include "base/FileProblem.h"
#include "issuing/PaymentOrderTemplate.h"

#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <cmath>

namespace PagePainter {

QPageLayout sheetLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                       QPageLayout::Millimeter);
}

void paint(QPainter &painter, const PageLayout::Layout &layout)
{
    const QPaintDevice *device = painter.device();
    const double perMmX = device->logicalDpiX() / 25.4;
    const double perMmY = device->logicalDpiY() / 25.4;
    const auto onDevice = [perMmX, perMmY](const QPointF &mm) { return QPointF(mm.x() * perMmX, mm.y() * perMmY); };

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QPen pen(Qt::black);
    pen.setWidthF(PaymentOrderTemplate::kFrameWidth * perMmX);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    for (const QRectF &frame : layout.frames)
        painter.drawRect(QRectF(onDevice(frame.topLeft()), onDevice(frame.bottomRight())));

    painter.setPen(Qt::black);
    for (const PageLayout::PlacedText &text : layout.texts) {
        painter.setFont(PageLayout::font(text.pointSize, text.bold));
        if (!text.rotated) {
            painter.drawText(onDevice(text.baseline), text.text);
            continue;
        }
        painter.save();
        painter.translate(onDevice(text.origin));
        painter.rotate(-90);
        // The box's own frame: x runs up the sheet, y to the right.
        painter.drawText(QPointF(text.baseline.x() * perMmY, text.baseline.y() * perMmX), text.text);
        painter.restore();
    }
    painter.restore();
}

void paint(QPainter &painter, const PaymentOrderPage &page)
{
    paint(painter, PageLayout::layOut(page));
}

Result<> writePdf(const PaymentOrderPage &page, QIODevice *device, const QString &title)
{
    QPdfWriter writer(device);
    writer.setResolution(1200);
    writer.setPageLayout(sheetLayout());
    writer.setTitle(title);
    writer.setCreator(ApplicationInfo::mainWindowCaption());
    QPainter painter;
    if (!painter.begin(&writer))
        return Result<>::failure(QStringLiteral("PDF belgesi hazırlanamadı."));
    paint(painter, page);
    if (!painter.end())
        return Result<>::failure(QStringLiteral("PDF belgesi yazılamadı."));
    return Result<>::success();
}

Result<> savePdf(const PaymentOrderPage &page, const QString &filePath, const QString &title)
{
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly))
        return Failure(FileProblem::notWritten(filePath, file.error()));
    if (const Result<> written = writePdf(page, &file, title); written.failed()) {
        file.cancelWriting();
        return written.prefixed(
            QStringLiteral("'%1': ").arg(QDir::toNativeSeparators(QFileInfo(filePath).absoluteFilePath())));
    }
    if (!file.commit())
        return Failure(FileProblem::notWritten(filePath, file.error()));
    return Result<>::success();
}

QImage toImage(const PaymentOrderPage &page, int dotsPerInch)
{
    const double perMm = dotsPerInch / 25.4;
    QImage image(int(std::lround(PaymentOrderTemplate::kPaperWidth * perMm)),
                 int(std::lround(PaymentOrderTemplate::kPaperHeight * perMm)), QImage::Format_RGB32);
    const int dotsPerMetre = int(std::lround(dotsPerInch / 0.0254));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(Qt::white);
    QPainter painter(&image);
    paint(painter, page);
    painter.end();
    return image;
}

} // namespace PagePainter
