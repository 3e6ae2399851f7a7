#pragma once

#include "base/Result.h"
#include "issuing/PageLayout.h"
#include "issuing/PaymentOrderPage.h"

#include <QImage>
#include <QPageLayout>
#include <QString>

class QIODevice;
class QPainter;

// Paints the payment order on any device: the preview, a printer, a PDF
// writer, an image. One function draws every page, so what is previewed is
// what is printed.
namespace PagePainter {

// Paints on a device whose origin is the sheet's top-left corner and whose
// logical resolution is its unit (a printer set up with sheetLayout() as its full page, a
// PDF writer without margins, an image).
void paint(QPainter &painter, const PageLayout::Layout &layout);
void paint(QPainter &painter, const PaymentOrderPage &page);

// A4 portrait without margins: the whole sheet is the painting area.
QPageLayout sheetLayout();

// The page as a one-page PDF with its fonts embedded.
Result<> writePdf(const PaymentOrderPage &page, QIODevice *device, const QString &title);
// Writes the file in one step: on failure no file, and an earlier file of the
// same name stays as it was.
Result<> savePdf(const PaymentOrderPage &page, const QString &filePath, const QString &title);

// The sheet at the given resolution on white.
QImage toImage(const PaymentOrderPage &page, int dotsPerInch);

} // namespace PagePainter
