#pragma once

#include "base/Result.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// What became of a page sent to a printer.
struct PrintSubmission
{
    enum class Outcome {
        Accepted, // the queue took the job
        Refused,  // the queue is there and said no: stopped, not accepting jobs, or the job turned down
        Failed,   // no queue to send to, or the print service could not be reached
    };
    Outcome outcome = Outcome::Failed;
    QString printer; // the queue it went to (the default queue's name when none was named)
    int jobId = 0;   // the queue's job number when accepted
    QString message; // Turkish, for Refused and Failed: why, naming the printer
};

// Printing through the print service (CUPS) itself, so that a queue that
// refuses the job is told apart from one that took it. CUPS_SERVER and the
// user's default printer settings are honoured as every CUPS program does.
namespace CupsPrinting {

struct Printer
{
    QString name; // "queue" or "queue/instance"
    QString description;
    bool isDefault = false;
};

// The queues this computer can print on; a failure when the print service
// cannot be reached.
Result<QList<Printer>> printers();

// Why printer (the default queue when empty) cannot take a job now: no
// such queue, a stopped queue, one that refuses jobs, no print service;
// nothing when it can.
std::optional<PrintSubmission> obstacle(const QString &printer = QString());

// Submits a one-page PDF (the bytes of PagePainter::writePdf) as one job, one
// copy, titled `title`, to `printer`, or to the default queue when it is
// empty (the only queue, when there is one and no default).
PrintSubmission submitPdf(const QByteArray &pdf, const QString &title, const QString &printer = QString());

} // namespace CupsPrinting
