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
using Outcome = PrintSubmission::Outcome;
Q_DECLARE_METATYPE(PrintSubmission::Outcome)

namespace {

const QString kQueue = QStringLiteral("MirvaselPDF");
constexpr int kDotsPerInch = 50;

QString server()
{
    return qEnvironmentVariable("CUPS_SERVER");
}

QString outFolder()
{
    return qEnvironmentVariable("MIRVASEL_TEST_PDF_OUT");
}

// CUPS's administration tools live in sbin, which a user's PATH may lack.
QString program(const QString &name)
{
    const QString found = QStandardPaths::findExecutable(name);
    return found.isEmpty() ? QStandardPaths::findExecutable(name, {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")})
                           : found;
}

// Runs a CUPS tool against the private scheduler ("-h SOCKET" after its
// name); what went wrong, or nothing.
QString runCups(const QStringList &command, QString *output = nullptr)
{
    const QString tool = program(command.first());
    if (tool.isEmpty())
        return command.first() + QStringLiteral(" is missing (cups-client)");
    QProcess process;
    process.start(tool, QStringList{QStringLiteral("-h"), server()} + command.mid(1));
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return command.join(u' ') + QStringLiteral(": ") + QString::fromLocal8Bit(process.readAllStandardError());
    if (output)
        *output = QString::fromLocal8Bit(process.readAllStandardOutput());
    return QString();
}

// Puts the queue back as it was when it goes, whatever the test found.
class QueueRestore
{
public:
    explicit QueueRestore(Commands undo) : m_undo(std::move(undo)) {}
    ~QueueRestore()
    {
        for (const QStringList &command : std::as_const(m_undo)) {
            if (const QString problem = runCups(command); !problem.isEmpty())
                QTest::qFail(qPrintable(QStringLiteral("the queue was not put back: ") + problem), __FILE__, __LINE__);
        }
    }
    QueueRestore(const QueueRestore &) = delete;
    QueueRestore &operator=(const QueueRestore &) = delete;

private:
    Commands m_undo;
};

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

QSet<QString> pdfFiles()
{
    const QStringList names = QDir(outFolder()).entryList({QStringLiteral("*.pdf")}, QDir::Files);
    return QSet<QString>(names.cbegin(), names.cend());
}

// The jobs the scheduler has not done yet ("MirvaselPDF-3"): one left there
// would come out later.
QSet<QString> pendingJobs(QString *problem)
{
    QString listing;
    *problem = runCups({QStringLiteral("lpstat"), QStringLiteral("-o")}, &listing);
    QSet<QString> found;
    for (const QString &line : listing.split(u'\n', Qt::SkipEmptyParts))
        found.insert(line.section(u' ', 0, 0));
    return found;
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

QImage picture(const QString &pdf, const QString &pngStem)
{
    QProcess raster;
    raster.setStandardErrorFile(QProcess::nullDevice());
    raster.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(kDotsPerInch),
                                              QStringLiteral("-gray"), QStringLiteral("-png"),
                                              QStringLiteral("-singlefile"), pdf, pngStem});
    raster.waitForFinished(60000);
    return QImage(pngStem + QStringLiteral(".png")).convertToFormat(QImage::Format_Grayscale8);
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
    QVERIFY2(!server().isEmpty() && !outFolder().isEmpty(),
             "CUPS_SERVER and MIRVASEL_TEST_PDF_OUT are not set: scripts/test starts the private CUPS queue and "
             "names them");
    // The scheduler shows root the queues it hides from a user who may not
    // print on them.
    QVERIFY2(geteuid() != 0, "run as root; scripts/test runs the tests as an unprivileged user");
    QVERIFY2(QFileInfo(outFolder()).isDir(), qPrintable(outFolder() + QStringLiteral(": the queue's folder is missing")));
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty(),
             "pdftoppm (poppler-utils) is missing");
    for (const char *tool : {"lpstat", "lpadmin", "cupsaccept", "cupsreject", "cupsenable", "cupsdisable"})
        QVERIFY2(!program(QString::fromLatin1(tool)).isEmpty(),
                 qPrintable(QStringLiteral("%1 (CUPS) is missing").arg(QString::fromLatin1(tool))));

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
        const QueueRestore restore(undo);
        for (const QStringList &command : change)
            QVERIFY2(runCups(command).isEmpty(), qPrintable(runCups(command)));
        submission = CupsPrinting::submitPdf(pdf, title, printer);
    }
    QVERIFY2(submission.outcome == Outcome::Accepted, qPrintable(submission.message));
    QCOMPARE(submission.printer, kQueue);
    QVERIFY(submission.jobId > 0);
    QVERIFY(submission.message.isEmpty());

    // The queue converts and writes the job in its own time; a file is
    // whole once it ends with the PDF's trailer.
    const QString suffix = QStringLiteral("-job_%1.pdf").arg(submission.jobId);
    QString written;
    QElapsedTimer waited;
    waited.start();
    while (written.isEmpty() && waited.elapsed() < 120000) {
        for (const QString &file : pdfFiles()) {
            QFile out(QDir(outFolder()).filePath(file));
            if (file.endsWith(suffix) && out.open(QIODevice::ReadOnly) && out.readAll().trimmed().endsWith("%%EOF"))
                written = file;
        }
        if (written.isEmpty())
            QTest::qWait(250);
    }
    QVERIFY2(!written.isEmpty(), qPrintable(QStringLiteral("the queue wrote no *%1 within two minutes").arg(suffix)));

    // The job's title reached the queue as UTF-8, Turkish letters and all
    // (cups-pdf may add bytes of its own after it).
    const QByteArray received = titleBytes(written);
    QVERIFY2(received.startsWith(title.toUtf8()),
             qPrintable(QStringLiteral("%1 holds the title's bytes \"%2\"")
                            .arg(written, QString::fromLatin1(received.toPercentEncoding(" -")))));

    // The queue's PDF went through PostScript and lost its text, so compare
    // the pictures of the queue's page and of ours, drawn by the same program.
    QTemporaryDir folder;
    QFile ours(folder.filePath(QStringLiteral("ours.pdf")));
    QVERIFY(ours.open(QIODevice::WriteOnly) && ours.write(pdf) == pdf.size());
    ours.close();
    const QImage queueImage = picture(QDir(outFolder()).filePath(written), folder.filePath(QStringLiteral("queue")));
    const QImage ourImage = picture(ours.fileName(), folder.filePath(QStringLiteral("ours")));
    QVERIFY2(!queueImage.isNull() && !ourImage.isNull(), "pdftoppm drew no picture");
    QCOMPARE(queueImage.size(), ourImage.size()); // one A4 page
    // The ink per row and per column of the two pictures must rise and fall
    // together: the same frames and lines in the same places.
    QList<double> queueRows(ourImage.height()), ourRows(ourImage.height());
    QList<double> queueColumns(ourImage.width()), ourColumns(ourImage.width());
    for (int y = 0; y < ourImage.height(); ++y) {
        const uchar *a = queueImage.constScanLine(y);
        const uchar *b = ourImage.constScanLine(y);
        for (int x = 0; x < ourImage.width(); ++x) {
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
        const QueueRestore restore(undo);
        for (const QStringList &command : change)
            QVERIFY2(runCups(command).isEmpty(), qPrintable(runCups(command)));
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
