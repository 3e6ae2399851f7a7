// A computed payment printed straight to the default printer of a real CUPS
// scheduler: scripts/test starts a private one whose default queue is a
// cups-pdf printer, and names its socket (CUPS_SERVER) and the folder the
// queue writes to (MIRVASEL_TEST_PDF_OUT). Without them the test skips.
#include "computation/PaymentPreferences.h"
#include "computation/PlainWorksheet.h"
#include "computation/WorksheetDefinition.h"
#include "issuing/DocumentFilling.h"
#include "issuing/DocumentName.h"
#include "issuing/PagePainter.h"
#include "issuing/PaymentOrderPage.h"
#include "printing/DefaultPrinter.h"
#include "referencedata/InstitutionSettings.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QImage>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

namespace {

const char *const kChild = "MIRVASEL_DIRECT_PRINT_CHILD";
constexpr int kDotsPerInch = 50;

PaymentOrderPage pharmacyPage(const QString &payeeName)
{
    const StoredPaymentPreferences preferences;
    PlainWorksheet worksheet(worksheetDefinition(PaymentCategory::Pharmacy), preferences);
    worksheet.pressClear();
    worksheet.enter(1, QStringLiteral("1.000,00"));
    worksheet.pressCompute();
    Raporlar raporlar;
    const QDate today = QDate::currentDate();
    raporlar.apply(DocumentFilling::commonFields({InstitutionSettings::defaults(), 1, true, today}));
    raporlar.apply(DocumentFilling::paymentFields(
        {worksheet.entry(), {payeeName, QString(), QString(), QString(), QString()}, CodeSheet(PaymentCategory::Pharmacy)}));
    return raporlar.prepare(today);
}

double correlation(const QList<double> &a, const QList<double> &b)
{
    const double n = double(a.size());
    double meanA = 0, meanB = 0;
    for (qsizetype i = 0; i < a.size(); ++i) {
        meanA += a[i] / n;
        meanB += b[i] / n;
    }
    double ab = 0, aa = 0, bb = 0;
    for (qsizetype i = 0; i < a.size(); ++i) {
        ab += (a[i] - meanA) * (b[i] - meanB);
        aa += (a[i] - meanA) * (a[i] - meanA);
        bb += (b[i] - meanB) * (b[i] - meanB);
    }
    return aa > 0 && bb > 0 ? ab / std::sqrt(aa * bb) : 0;
}

QSet<QString> pdfFiles(const QString &folder)
{
    const QStringList names = QDir(folder).entryList({QStringLiteral("*.pdf")}, QDir::Files);
    return QSet<QString>(names.cbegin(), names.cend());
}

} // namespace

class TestDirectPrint : public QObject
{
    Q_OBJECT

private slots:
    void printsOnTheDefaultQueue();
    void noDefaultPrinter();
    void noDefaultPrinterChild();
};

void TestDirectPrint::printsOnTheDefaultQueue()
{
    const QString out = qEnvironmentVariable("MIRVASEL_TEST_PDF_OUT");
    if (qEnvironmentVariableIsEmpty("CUPS_SERVER") || out.isEmpty())
        QSKIP("no private CUPS queue (scripts/test starts one)");
    const QSet<QString> before = pdfFiles(out);

    const QString name = QStringLiteral("DENEME %1").arg(QCoreApplication::applicationPid());
    const PaymentOrderPage page = pharmacyPage(name);
    const Result<> printed = DefaultPrinter::print(page, documentName(PaymentCategory::Pharmacy, name));
    QVERIFY2(printed.succeeded(), qPrintable(printed.message()));

    // The queue converts and writes the file in its own time.
    QString written;
    QElapsedTimer waited;
    waited.start();
    while (written.isEmpty() && waited.elapsed() < 120000) {
        const QSet<QString> now = pdfFiles(out);
        for (const QString &file : now - before) {
            const QString path = QDir(out).filePath(file);
            // Written whole once it ends with the PDF's trailer.
            QFile pdf(path);
            if (pdf.open(QIODevice::ReadOnly) && pdf.readAll().trimmed().endsWith("%%EOF"))
                written = path;
        }
        if (written.isEmpty())
            QTest::qWait(250);
    }
    QVERIFY2(!written.isEmpty(), "the queue wrote no PDF within two minutes");
    if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
        return;

    // The queue's PDF went through PostScript and lost its text, so compare
    // the pictures of the queue's page and of ours, drawn by the same program.
    QTemporaryDir folder;
    const QString ourPdf = folder.filePath(QStringLiteral("ours.pdf"));
    QVERIFY(PagePainter::savePdf(page, ourPdf, QStringLiteral("ours")).succeeded());
    const auto picture = [&folder](const QString &pdf, const QString &name) {
        QProcess raster;
        raster.setStandardErrorFile(QProcess::nullDevice());
        raster.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(kDotsPerInch),
                                                  QStringLiteral("-gray"), QStringLiteral("-png"),
                                                  QStringLiteral("-singlefile"), pdf, folder.filePath(name)});
        raster.waitForFinished(60000);
        return QImage(folder.filePath(name + QStringLiteral(".png"))).convertToFormat(QImage::Format_Grayscale8);
    };
    const QImage queue = picture(written, QStringLiteral("queue"));
    const QImage ours = picture(ourPdf, QStringLiteral("ours"));
    QVERIFY(!queue.isNull() && !ours.isNull());
    QCOMPARE(queue.size(), ours.size()); // one A4 page
    // The ink per row and per column of the two pictures must rise and fall
    // together: the same frames and lines in the same places.
    QList<double> queueRows(ours.height()), ourRows(ours.height()), queueColumns(ours.width()), ourColumns(ours.width());
    for (int y = 0; y < ours.height(); ++y) {
        const uchar *a = queue.constScanLine(y);
        const uchar *b = ours.constScanLine(y);
        for (int x = 0; x < ours.width(); ++x) {
            queueRows[y] += 255 - a[x];
            ourRows[y] += 255 - b[x];
            queueColumns[x] += 255 - a[x];
            ourColumns[x] += 255 - b[x];
        }
    }
    const double rows = correlation(queueRows, ourRows);
    const double columns = correlation(queueColumns, ourColumns);
    QVERIFY2(rows > 0.95 && columns > 0.95, qPrintable(QStringLiteral("rows %1, columns %2").arg(rows).arg(columns)));
}

void TestDirectPrint::noDefaultPrinter()
{
    // The print system is asked once per process; a scheduler that is not
    // there takes a process of its own.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kChild), QStringLiteral("1"));
    environment.insert(QStringLiteral("CUPS_SERVER"), QDir::temp().filePath(QStringLiteral("mirvasel-no-cups.sock")));
    environment.remove(QStringLiteral("PRINTER"));
    environment.remove(QStringLiteral("LPDEST"));
    QProcess child;
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("noDefaultPrinterChild")});
    QVERIFY(child.waitForFinished(120000));
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
             child.readAllStandardOutput().constData());
}

void TestDirectPrint::noDefaultPrinterChild()
{
    if (qEnvironmentVariableIsEmpty(kChild))
        QSKIP("run by noDefaultPrinter");
    const Result<> printed = DefaultPrinter::print(pharmacyPage(QStringLiteral("YOK")), QStringLiteral("Eczane - YOK"));
    QVERIFY(printed.failed());
    QVERIFY2(printed.message().startsWith(QStringLiteral("Varsayılan yazıcı bulunamadı")), qPrintable(printed.message()));
}

QTEST_MAIN(TestDirectPrint)
#include "tst_DirectPrint.moc"
