#include "support/PrivateQueue.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

#include <unistd.h>

namespace PrivateQueue {

namespace {

constexpr int kDotsPerInch = 50;

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

QString name()
{
    return QStringLiteral("MirvaselPDF");
}

QString server()
{
    return qEnvironmentVariable("CUPS_SERVER");
}

QString outFolder()
{
    return qEnvironmentVariable("MIRVASEL_TEST_PDF_OUT");
}

QString unavailable()
{
    if (server().isEmpty() || outFolder().isEmpty())
        return QStringLiteral("CUPS_SERVER and MIRVASEL_TEST_PDF_OUT are not set: scripts/test starts the private "
                              "CUPS queue and names them");
    // The scheduler shows root the queues it hides from a user who may not
    // print on them.
    if (geteuid() == 0)
        return QStringLiteral("run as root; scripts/test runs the tests as an unprivileged user");
    if (!QFileInfo(outFolder()).isDir())
        return outFolder() + QStringLiteral(": the queue's folder is missing");
    if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
        return QStringLiteral("pdftoppm (poppler-utils) is missing");
    for (const char *tool : {"lpstat", "lpadmin", "cupsaccept", "cupsreject", "cupsenable", "cupsdisable"}) {
        if (program(QString::fromLatin1(tool)).isEmpty())
            return QStringLiteral("%1 (CUPS) is missing").arg(QString::fromLatin1(tool));
    }
    return QString();
}

QString program(const QString &tool)
{
    const QString found = QStandardPaths::findExecutable(tool);
    return found.isEmpty() ? QStandardPaths::findExecutable(tool, {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")})
                           : found;
}

QString run(const QStringList &command, QString *output)
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

Restore::Restore(QList<QStringList> undo)
    : m_undo(std::move(undo))
{
}

Restore::~Restore()
{
    for (const QStringList &command : std::as_const(m_undo)) {
        if (const QString problem = run(command); !problem.isEmpty())
            QTest::qFail(qPrintable(QStringLiteral("the queue was not put back: ") + problem), __FILE__, __LINE__);
    }
}

QSet<QString> pdfFiles()
{
    const QStringList names = QDir(outFolder()).entryList({QStringLiteral("*.pdf")}, QDir::Files);
    return QSet<QString>(names.cbegin(), names.cend());
}

QSet<QString> pendingJobs(QString *problem)
{
    QString listing;
    *problem = run({QStringLiteral("lpstat"), QStringLiteral("-o")}, &listing);
    QSet<QString> found;
    for (const QString &line : listing.split(u'\n', Qt::SkipEmptyParts))
        found.insert(line.section(u' ', 0, 0));
    return found;
}

QString awaitNewFile(const QSet<QString> &before, const QString &suffix)
{
    // The queue converts and writes the job in its own time; a file is
    // whole once it ends with the PDF's trailer.
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 120000) {
        for (const QString &file : pdfFiles() - before) {
            QFile out(QDir(outFolder()).filePath(file));
            if (file.endsWith(suffix) && out.open(QIODevice::ReadOnly) && out.readAll().trimmed().endsWith("%%EOF"))
                return file;
        }
        QTest::qWait(250);
    }
    return QString();
}

QString pageDifference(const QString &queuePdf, const QString &ourPdf)
{
    QTemporaryDir folder;
    const QImage queueImage = picture(queuePdf, folder.filePath(QStringLiteral("queue")));
    const QImage ourImage = picture(ourPdf, folder.filePath(QStringLiteral("ours")));
    if (queueImage.isNull() || ourImage.isNull())
        return QStringLiteral("pdftoppm drew no picture");
    if (queueImage.size() != ourImage.size())
        return QStringLiteral("pages of other sizes");
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
    if (rows > 0.95 && columns > 0.95)
        return QString();
    return QStringLiteral("rows %1, columns %2").arg(rows).arg(columns);
}

} // namespace PrivateQueue
