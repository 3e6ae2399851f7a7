// A payment order sent to a real CUPS queue: scripts/test starts a private
// scheduler (scripts/test-printer), names its socket (CUPS_SERVER) and the
// folder its default queue MirvaselPDF, a cups-pdf printer, writes each job
// into (MIRVASEL_TEST_PDF_OUT). The cases change the queue with CUPS's own
// tools and always put it back.
#include "computation/PaymentPreferences.h"
#include "computation/PlainWorksheet.h"
#include "computation/WorksheetDefinition.h"
#include "issuing/CupsPrinting.h"
#include "issuing/DocumentFilling.h"
#include "issuing/DocumentName.h"
#include "issuing/PagePainter.h"
#include "issuing/PaymentOrderPage.h"
#include "support/PrivateQueue.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <cups/cups.h>

#include <cmath>
#include <optional>

#include <unistd.h>

using Commands = QList<QStringList>;
using PrivateQueue::pdfFiles;
using PrivateQueue::pendingJobs;
using Outcome = PrintSubmission::Outcome;
Q_DECLARE_METATYPE(PrintSubmission::Outcome)

namespace {

const QString kQueue = PrivateQueue::name();

// Points this process's CUPS at a socket nobody listens on, as CUPS_SERVER
// does for any CUPS program, for the life of the object.
class ServiceAway
{
public:
    ServiceAway() : m_server(qgetenv("CUPS_SERVER"))
    {
        qputenv("CUPS_SERVER", QDir::temp().filePath(QStringLiteral("mirvasel-no-cups-%1.sock")
                                                         .arg(QCoreApplication::applicationPid()))
                                   .toUtf8());
        cupsSetServer(nullptr); // forgets the server and its connection
    }
    ~ServiceAway()
    {
        qputenv("CUPS_SERVER", m_server);
        cupsSetServer(nullptr);
    }
    ServiceAway(const ServiceAway &) = delete;
    ServiceAway &operator=(const ServiceAway &) = delete;

private:
    QByteArray m_server;
};

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

// The page's PDF, titled inside otherwise than the job, so that the file the
// queue names shows the job's title.
QByteArray pdfOf(const PaymentOrderPage &page)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (PagePainter::writePdf(page, &buffer, QStringLiteral("iç başlık")).failed())
        return {};
    return buffer.data();
}

// cups-pdf names a job's file after the title in its PostScript
// ("TITLE-job_N.pdf"), with blanks and signs as "_" and each byte outside
// ASCII as "_" and its three octal digits. The title's bytes, as far as the
// name keeps them.
QByteArray titleBytes(const QString &fileName)
{
    static const QRegularExpression named(QStringLiteral("^(.*)-job_\\d+\\.pdf$"));
    static const QRegularExpression escaped(QStringLiteral("^_([0-3][0-7]{2})"));
    const QString stem = named.match(fileName).captured(1);
    QByteArray bytes;
    for (qsizetype i = 0; i < stem.size(); ++i) {
        if (const QRegularExpressionMatch octal = escaped.match(QStringView(stem).mid(i)); octal.hasMatch()) {
            bytes.append(char(octal.captured(1).toInt(nullptr, 8)));
            i += 3;
        } else {
            bytes.append(stem[i] == u'_' ? ' ' : stem[i].toLatin1());
        }
    }
    return bytes;
}

} // namespace

class TestCupsPrinting : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void printersListsTheQueue();
    void printersNeedThePrintService();
    void acceptedPageComesOut_data();
    void acceptedPageComesOut();
    void nothingPrinted_data();
    void nothingPrinted();

private:
    QTemporaryDir m_folder;
};

void TestCupsPrinting::initTestCase()
{
    const QString unavailable = PrivateQueue::unavailable();
    QVERIFY2(unavailable.isEmpty(), qPrintable(unavailable));

    // A printer that takes plain text only, for a queue to turn a PDF down.
    QVERIFY(m_folder.isValid());
    QFile description(m_folder.filePath(QStringLiteral("metin.ppd")));
    QVERIFY(description.open(QIODevice::WriteOnly));
    description.write("*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n"
                      "*LanguageVersion: English\n*LanguageEncoding: ISOLatin1\n*PCFileName: \"MIRMETIN.PPD\"\n"
                      "*Manufacturer: \"Mirvasel\"\n*Product: \"(Mirvasel Metin)\"\n*ModelName: \"Mirvasel Metin\"\n"
                      "*ShortNickName: \"Mirvasel Metin\"\n*NickName: \"Mirvasel Metin\"\n*PSVersion: \"(3010.000) 0\"\n"
                      "*cupsFilter: \"text/plain 0 -\"\n"
                      "*OpenUI *PageSize: PickOne\n*DefaultPageSize: A4\n*PageSize A4: \"\"\n*CloseUI: *PageSize\n"
                      "*DefaultImageableArea: A4\n*ImageableArea A4: \"0 0 595 842\"\n"
                      "*DefaultPaperDimension: A4\n*PaperDimension A4: \"595 842\"\n");
    QVERIFY(description.flush());
}

void TestCupsPrinting::printersListsTheQueue()
{
    const Result<QList<CupsPrinting::Printer>> listed = CupsPrinting::printers();
    QVERIFY2(listed.succeeded(), qPrintable(listed.message()));
    QCOMPARE(listed->size(), 1);
    QCOMPARE(listed->first().name, kQueue);
    QVERIFY(listed->first().isDefault);
    QVERIFY(!listed->first().description.isEmpty());
}

void TestCupsPrinting::printersNeedThePrintService()
{
    const ServiceAway away;
    const Result<QList<CupsPrinting::Printer>> listed = CupsPrinting::printers();
    QVERIFY(listed.failed());
    QVERIFY2(listed.message().startsWith(QStringLiteral("Yazdırma hizmetine (CUPS) ulaşılamadı.")),
             qPrintable(listed.message()));
}

void TestCupsPrinting::acceptedPageComesOut_data()
{
    QTest::addColumn<Commands>("change");
    QTest::addColumn<Commands>("undo");
    QTest::addColumn<QString>("printer");

    QTest::newRow("the default queue") << Commands() << Commands() << QString();
    QTest::newRow("the queue by its name") << Commands() << Commands() << kQueue;
    // A scheduler whose default printer was removed, left with one queue.
    const QString other = QStringLiteral("MirvaselGecici");
    QTest::newRow("the only queue, without a default")
        << Commands{{"lpadmin", "-p", other, "-E", "-v", "cups-pdf:/yok"}, {"lpadmin", "-d", other}, {"lpadmin", "-x", other}}
        << Commands{{"lpadmin", "-d", kQueue}} << QString();
}

void TestCupsPrinting::acceptedPageComesOut()
{
    QFETCH(Commands, change);
    QFETCH(Commands, undo);
    QFETCH(QString, printer);

    const QString title = documentName(PaymentCategory::Pharmacy, QStringLiteral("ŞİFA ÇAĞLAYAN ığüö"));
    const PaymentOrderPage page = pharmacyPage(QStringLiteral("ŞİFA ÇAĞLAYAN"));
    const QByteArray pdf = pdfOf(page);
    QVERIFY(!pdf.isEmpty());
    PrintSubmission submission;
    {
        const PrivateQueue::Restore restore(undo);
        for (const QStringList &command : change)
            QVERIFY2(PrivateQueue::run(command).isEmpty(), qPrintable(PrivateQueue::run(command)));
        submission = CupsPrinting::submitPdf(pdf, title, printer);
    }
    QVERIFY2(submission.outcome == Outcome::Accepted, qPrintable(submission.message));
    QCOMPARE(submission.printer, kQueue);
    QVERIFY(submission.jobId > 0);
    QVERIFY(submission.message.isEmpty());

    const QString suffix = QStringLiteral("-job_%1.pdf").arg(submission.jobId);
    const QString written = PrivateQueue::awaitNewFile({}, suffix);
    QVERIFY2(!written.isEmpty(), qPrintable(QStringLiteral("the queue wrote no *%1 within two minutes").arg(suffix)));

    // The job's title reached the queue as UTF-8, Turkish letters and all
    // (cups-pdf may add bytes of its own after it).
    const QByteArray received = titleBytes(written);
    QVERIFY2(received.startsWith(title.toUtf8()),
             qPrintable(QStringLiteral("%1 holds the title's bytes \"%2\"")
                            .arg(written, QString::fromLatin1(received.toPercentEncoding(" -")))));

    QTemporaryDir folder;
    QFile ours(folder.filePath(QStringLiteral("ours.pdf")));
    QVERIFY(ours.open(QIODevice::WriteOnly) && ours.write(pdf) == pdf.size());
    ours.close();
    const QString difference = PrivateQueue::pageDifference(QDir(PrivateQueue::outFolder()).filePath(written), ours.fileName());
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void TestCupsPrinting::nothingPrinted_data()
{
    QTest::addColumn<Commands>("change");
    QTest::addColumn<Commands>("undo");
    QTest::addColumn<bool>("serviceAway");
    QTest::addColumn<QString>("printer");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<QString>("reportedPrinter");
    QTest::addColumn<QString>("opening"); // the message's first sentence

    const QString user = QString::fromUtf8(cupsUser());
    const QString extra = QStringLiteral("MirvaselEk");
    const QString removed = QStringLiteral("MirvaselGecici");
    const QString textOnly = QStringLiteral("MirvaselMetin");

    QTest::newRow("queue refusing jobs")
        << Commands{{"cupsreject", kQueue}} << Commands{{"cupsaccept", kQueue}} << false << QString()
        << Outcome::Refused << kQueue << QStringLiteral("'MirvaselPDF' yazıcısı şu anda iş kabul etmiyor.");
    // A stopped queue takes jobs and holds them: the page would come out
    // when it is started again.
    QTest::newRow("queue stopped")
        << Commands{{"cupsdisable", kQueue}} << Commands{{"cupsenable", kQueue}} << false << QString()
        << Outcome::Refused << kQueue << QStringLiteral("'MirvaselPDF' yazıcısı durdurulmuş.");
    // A queue that prints plain text only turns the PDF down once it has it.
    QTest::newRow("document turned down by the queue")
        << Commands{{"lpadmin", "-p", textOnly, "-E", "-v", "cups-pdf:/yok", "-P",
                     m_folder.filePath(QStringLiteral("metin.ppd"))}}
        << Commands{{"lpadmin", "-x", textOnly}} << false << textOnly << Outcome::Refused << textOnly
        << QStringLiteral("'MirvaselMetin' yazıcısı belgeyi geri çevirdi (CUPS: Unsupported document-format");
    QTest::newRow("a printer that does not exist")
        << Commands() << Commands() << false << QStringLiteral("YokBöyleYazıcı") << Outcome::Failed
        << QStringLiteral("YokBöyleYazıcı")
        << QStringLiteral("Bu bilgisayarda 'YokBöyleYazıcı' adlı bir yazıcı yok.");
    // The scheduler shows this user no queue it may not print on.
    const Commands hidden{{"lpadmin", "-p", kQueue, "-u", "deny:" + user}};
    const Commands shown{{"lpadmin", "-p", kQueue, "-u", "allow:all"}};
    QTest::newRow("no printer set up") << hidden << shown << false << QString() << Outcome::Failed << QString()
                                       << QStringLiteral("Bu bilgisayarda kurulu bir yazıcı yok.");
    QTest::newRow("no printer set up, one named") << hidden << shown << false << kQueue << Outcome::Failed << kQueue
                                                  << QStringLiteral("Bu bilgisayarda kurulu bir yazıcı yok.");
    // Removing the default printer leaves the scheduler without one.
    QTest::newRow("no default among several")
        << Commands{{"lpadmin", "-p", extra, "-E", "-v", "cups-pdf:/yok"},
                    {"lpadmin", "-p", removed, "-E", "-v", "cups-pdf:/yok"},
                    {"lpadmin", "-d", removed},
                    {"lpadmin", "-x", removed}}
        << Commands{{"lpadmin", "-d", kQueue}, {"lpadmin", "-x", extra}} << false << QString() << Outcome::Failed
        << QString() << QStringLiteral("Varsayılan yazıcı seçilmemiş: bu bilgisayarda 2 yazıcı var.");
    QTest::newRow("print service unreachable")
        << Commands() << Commands() << true << QString() << Outcome::Failed << QString()
        << QStringLiteral("Yazdırma hizmetine (CUPS) ulaşılamadı.");
    QTest::newRow("print service unreachable, printer named")
        << Commands() << Commands() << true << kQueue << Outcome::Failed << kQueue
        << QStringLiteral("Yazdırma hizmetine (CUPS) ulaşılamadı.");
}

// Nothing reaches the queue: no job is left waiting, no file is written, and
// the message says why, naming the printer where there is one.
void TestCupsPrinting::nothingPrinted()
{
    QFETCH(Commands, change);
    QFETCH(Commands, undo);
    QFETCH(bool, serviceAway);
    QFETCH(QString, printer);
    QFETCH(Outcome, outcome);
    QFETCH(QString, reportedPrinter);
    QFETCH(QString, opening);

    const QByteArray pdf = pdfOf(pharmacyPage(QStringLiteral("YOK")));
    QVERIFY(!pdf.isEmpty());
    QString problem;
    const QSet<QString> pendingBefore = pendingJobs(&problem);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    const QSet<QString> filesBefore = pdfFiles();

    PrintSubmission submission;
    {
        const PrivateQueue::Restore restore(undo);
        for (const QStringList &command : change)
            QVERIFY2(PrivateQueue::run(command).isEmpty(), qPrintable(PrivateQueue::run(command)));
        std::optional<ServiceAway> away;
        if (serviceAway)
            away.emplace();
        submission = CupsPrinting::submitPdf(pdf, QStringLiteral("Eczane - YOK"), printer);
    }
    QVERIFY2(submission.outcome == outcome, qPrintable(submission.message));
    QCOMPARE(submission.printer, reportedPrinter);
    QCOMPARE(submission.jobId, 0);
    QVERIFY2(submission.message.startsWith(opening), qPrintable(submission.message));
    QVERIFY2(submission.message.contains(QStringLiteral("Belge yazdırılmadı; ")), qPrintable(submission.message));
    // Only a printer that is there is named.
    if (reportedPrinter.isEmpty())
        QVERIFY2(!submission.message.contains(u'\''), qPrintable(submission.message));

    const QSet<QString> pendingAfter = pendingJobs(&problem);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QVERIFY2((pendingAfter - pendingBefore).isEmpty(),
             qPrintable(QStringList(pendingAfter.cbegin(), pendingAfter.cend()).join(u' ')));
    QCOMPARE(pdfFiles(), filesBefore);
}

QTEST_MAIN(TestCupsPrinting)
#include "tst_CupsPrinting.moc"
