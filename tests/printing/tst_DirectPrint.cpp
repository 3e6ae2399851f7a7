// A computed payment printed straight to the default printer of a real CUPS
// scheduler: scripts/test starts a private one whose default queue is a
// cups-pdf printer, and names its socket (CUPS_SERVER) and the folder the
// queue writes to (MIRVASEL_TEST_PDF_OUT). Without them the test skips.
#include "computation/PaymentPreferences.h"
#include "computation/PlainWorksheet.h"
#include "computation/WorksheetDefinition.h"
#include "printing/DocumentFilling.h"
#include "printing/PageOutput.h"
#include "printing/PaymentOrderPage.h"

#include "printing/PdfWords.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QSet>
#include <QtTest>

namespace {

const char *const kChild = "MIRVASEL_DIRECT_PRINT_CHILD";

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
    raporlar.apply(DocumentFilling::paymentFields(DocumentFilling::paymentInputs(
        worksheet, {payeeName, QString(), QString(), QString(), QString()}, CodeSheet(PaymentCategory::Pharmacy), {})));
    return raporlar.prepare(today);
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
    const Result printed = DefaultPrinter::print(pharmacyPage(name), documentName(PaymentCategory::Pharmacy, name));
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
    if (!PdfWords::available())
        return;
    const QString text = PdfWords::allText(PdfWords::read(written));
    QVERIFY2(text.contains(QStringLiteral("Toplam")) && text.contains(QStringLiteral("991"))
                 && text.contains(QStringLiteral("2008")),
             qPrintable(text));
}

void TestDirectPrint::noDefaultPrinter()
{
    // The print system is asked once per process; a scheduler that is not
    // there takes a process of its own.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kChild), QStringLiteral("1"));
    environment.insert(QStringLiteral("CUPS_SERVER"), QDir::temp().filePath(QStringLiteral("mirvasel-no-cups.sock")));
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
    const Result printed = DefaultPrinter::print(pharmacyPage(QStringLiteral("YOK")), QStringLiteral("Eczane - YOK"));
    QVERIFY(printed.failed());
    QVERIFY2(printed.message().startsWith(QStringLiteral("Varsayılan yazıcı bulunamadı")), qPrintable(printed.message()));
}

QTEST_MAIN(TestDirectPrint)
#include "tst_DirectPrint.moc"
