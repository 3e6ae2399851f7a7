// What YAZDIR costs before the preview or the printer takes over: writing
// the boxes of a computed payment (the common fields and the payment's),
// laying the page out and painting it into a PDF in memory, timed against
// painting an empty A4 page into a PDF in the same run.
#include "computation/PaymentEntry.h"
#include "computation/PaymentPreferences.h"
#include "computation/PlainWorksheet.h"
#include "computation/WorksheetDefinition.h"
#include "issuing/DocumentFilling.h"
#include "issuing/PageLayout.h"
#include "issuing/PagePainter.h"
#include "issuing/PaymentOrderPage.h"
#include "referencedata/CodeSheet.h"
#include "referencedata/InstitutionSettings.h"

#include "BenchTiming.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace {

constexpr int kRuns = 101;

DocumentFilling::PaymentInputs treatmentPayment(int round)
{
    const StoredPaymentPreferences preferences;
    PlainWorksheet worksheet(worksheetDefinition(PaymentCategory::Treatment), preferences);
    worksheet.pressClear();
    worksheet.setStampSwitch(true);
    worksheet.enter(1, PaymentEntry::valueText(1787787.87L + round));
    worksheet.enter(2, QStringLiteral("9.999.999.999,99"));
    worksheet.pressCompute();
    QList<EntryAttachment> attachments;
    for (int line = 1; line <= 6; ++line)
        attachments.append({line, QStringLiteral("Adet Fatura")});
    return {worksheet.entry(attachments),
            {QStringLiteral("AHMET YILMAZ"), QStringLiteral("12345678901"), QStringLiteral("ZİRAAT BANKASI KIZILAY ŞUBESİ"),
             QStringLiteral("TR12 0001 0000 0000 1234 5678 90"), QStringLiteral("ÇANKAYA VERGİ DAİRESİ")},
            defaultCodeSheets()[std::size_t(categoryIndex(PaymentCategory::Treatment))]};
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication application(argc, argv);
    const QDate today(2024, 3, 5);
    const DocumentFilling::CommonInputs common{InstitutionSettings::defaults(), 1, true, today};
    std::vector<DocumentFilling::PaymentInputs> payments;
    for (int round = 0; round < 10; ++round)
        payments.push_back(treatmentPayment(round));

    Raporlar raporlar;
    // The first page pays for loading the fonts once; the program pays it at
    // its first print.
    QBuffer warmUp;
    warmUp.open(QIODevice::WriteOnly);
    (void)PagePainter::writePdf(raporlar.prepare(today), &warmUp, QStringLiteral("warm"));

    qsizetype bytes = 0;
    const auto report = [](const char *name, const std::function<void(int)> &run) {
        BenchTiming::printSpread(QString::fromUtf8(name), kRuns, run);
    };
    report("baseline: empty A4 page into a PDF", [&](int) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(1200);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
        QPainter painter(&writer);
        painter.end();
        bytes += buffer.size();
    });
    report("boxes: common fields and a treatment payment", [&](int round) {
        raporlar.apply(DocumentFilling::commonFields(common));
        raporlar.apply(DocumentFilling::paymentFields(payments[std::size_t(round % 10)]));
        bytes += raporlar.prepare(today).texts.size();
    });
    const PaymentOrderPage page = raporlar.prepare(today);
    report("layout of the page (fit rule included)",
           [&](int) { bytes += PageLayout::layOut(page).texts.size(); });
    report("painting the laid-out page into a PDF", [&](int) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        (void)PagePainter::writePdf(page, &buffer, QStringLiteral("Tedavi"));
        bytes += buffer.size();
    });
    report("all: boxes, layout and PDF (YAZDIR to PDF)", [&](int round) {
        raporlar.apply(DocumentFilling::commonFields(common));
        raporlar.apply(DocumentFilling::paymentFields(payments[std::size_t(round % 10)]));
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        (void)PagePainter::writePdf(raporlar.prepare(today), &buffer, QStringLiteral("Tedavi"));
        bytes += buffer.size();
    });
    return bytes > 0 ? 0 : 1;
}
