#pragma once

#include <QImage>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

// The private CUPS scheduler that scripts/test starts (scripts/test-printer):
// its socket (CUPS_SERVER), its default queue MirvaselPDF, a cups-pdf printer,
// and the folder that queue writes each job into (MIRVASEL_TEST_PDF_OUT).
namespace PrivateQueue {

QString name();
QString server();
QString outFolder();

// Why the queue cannot be used by this test run; empty when it can.
QString unavailable();

// A CUPS tool (in sbin too, which a user's PATH may lack); empty when missing.
QString program(const QString &tool);
// Runs a CUPS tool against the private scheduler ("-h SOCKET" after its
// name); what went wrong, or nothing.
QString run(const QStringList &command, QString *output = nullptr);

// Puts the queue back as it was when it goes, whatever the test found.
class Restore
{
public:
    explicit Restore(QList<QStringList> undo);
    ~Restore();
    Restore(const Restore &) = delete;
    Restore &operator=(const Restore &) = delete;

private:
    QList<QStringList> m_undo;
};

// The PDF files the queue has written so far.
QSet<QString> pdfFiles();
// The jobs the scheduler has not done yet ("MirvaselPDF-3").
QSet<QString> pendingJobs(QString *problem);
// The first file, among those not in before and named with suffix, that the
// queue has written whole within two minutes; empty when none came.
QString awaitNewFile(const QSet<QString> &before, const QString &suffix = QStringLiteral(".pdf"));

// How far the page in the queue's PDF differs from the page in ours, drawn
// as pictures by the same program (the queue's PDF went through PostScript
// and lost its text): empty when the frames and lines stand in the same
// places, else what differs.
QString pageDifference(const QString &queuePdf, const QString &ourPdf);

} // namespace PrivateQueue
