#include "issuing/CupsPrinting.h"

#include <cups/cups.h>

namespace {

const QString kNotPrinted = QStringLiteral(" Belge yazdırılmadı; ");

// The queues the print service names, freed on leaving.
class Destinations
{
public:
    Destinations() : m_count(cupsGetDests2(CUPS_HTTP_DEFAULT, &m_list)), m_status(cupsLastError()) {}
    ~Destinations() { cupsFreeDests(m_count, m_list); }
    Destinations(const Destinations &) = delete;
    Destinations &operator=(const Destinations &) = delete;

    // An empty list comes with "not found" from a service without queues,
    // and with an error from one that cannot be reached.
    bool reached() const
    {
        return m_count > 0 || m_status <= IPP_STATUS_OK_EVENTS_COMPLETE || m_status == IPP_STATUS_ERROR_NOT_FOUND;
    }
    ipp_status_t status() const { return m_status; }
    int count() const { return m_count; }
    const cups_dest_t &at(int index) const { return m_list[index]; }

    // "queue" or "queue/instance"; the default (or the only queue) for an empty name.
    const cups_dest_t *find(const QString &name) const
    {
        if (name.isEmpty()) {
            const cups_dest_t *fallback = m_count == 1 ? m_list : nullptr;
            const cups_dest_t *chosen = cupsGetDest(nullptr, nullptr, m_count, m_list);
            return chosen ? chosen : fallback;
        }
        const QByteArray queue = name.section(QLatin1Char('/'), 0, 0).toUtf8();
        const QByteArray instance = name.section(QLatin1Char('/'), 1).toUtf8();
        return cupsGetDest(queue.constData(), instance.isEmpty() ? nullptr : instance.constData(), m_count, m_list);
    }

private:
    cups_dest_t *m_list = nullptr;
    int m_count = 0;
    ipp_status_t m_status = IPP_STATUS_OK;
};

QString option(const cups_dest_t &destination, const char *name)
{
    return QString::fromUtf8(cupsGetOption(name, destination.num_options, destination.options));
}

// CUPS's own words for the last failure, without a closing full stop.
QString cupsReason()
{
    QString reason = QString::fromUtf8(cupsLastErrorString()).trimmed();
    while (reason.endsWith(QLatin1Char('.')))
        reason.chop(1);
    return reason.isEmpty() ? QString() : QStringLiteral(" (CUPS: %1)").arg(reason);
}

QString serviceProblem(ipp_status_t status)
{
    return status == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE
               ? QStringLiteral("Yazdırma hizmetine (CUPS) ulaşılamadı.")
               : QStringLiteral("Yazdırma hizmeti (CUPS) yazıcıları bildirmedi%1.").arg(cupsReason());
}

QString serviceDown(ipp_status_t status)
{
    return serviceProblem(status) + kNotPrinted
           + QStringLiteral("yazdırma hizmetinin çalıştığını denetleyip yeniden deneyin.");
}

QString notAccepting(const QString &queue)
{
    return QStringLiteral("'%1' yazıcısı şu anda iş kabul etmiyor.").arg(queue) + kNotPrinted
           + QStringLiteral("yazıcıyı iş kabul eder duruma getirip yeniden deneyin.");
}

PrintSubmission ended(PrintSubmission submission, PrintSubmission::Outcome outcome, const QString &message)
{
    submission.outcome = outcome;
    submission.message = message;
    return submission;
}

// The answer of the queue, or of the connection to it, to a step of the job.
PrintSubmission turnedDown(PrintSubmission submission)
{
    const ipp_status_t status = cupsLastError();
    const QString &queue = submission.printer;
    if (status == IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS)
        return ended(submission, PrintSubmission::Outcome::Refused, notAccepting(queue));
    if (status == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE)
        return ended(submission, PrintSubmission::Outcome::Failed, serviceDown(status));
    // Client errors are the queue's verdict on the job (not allowed, over
    // quota, a format it does not take); server errors are a failed hand-over.
    if (status >= IPP_STATUS_ERROR_BAD_REQUEST && status < IPP_STATUS_ERROR_INTERNAL)
        return ended(submission, PrintSubmission::Outcome::Refused,
                     QStringLiteral("'%1' yazıcısı belgeyi geri çevirdi%2.").arg(queue, cupsReason()) + kNotPrinted
                         + QStringLiteral("yazıcının ayarlarını denetleyip yeniden deneyin."));
    return ended(submission, PrintSubmission::Outcome::Failed,
                 QStringLiteral("Belge '%1' yazıcısına gönderilemedi%2.").arg(queue, cupsReason()) + kNotPrinted
                     + QStringLiteral("yazıcının açık ve bağlı olduğunu denetleyip yeniden deneyin."));
}

} // namespace

namespace CupsPrinting {

Result<QList<Printer>> printers()
{
    const Destinations destinations;
    if (!destinations.reached())
        return Failure(serviceProblem(destinations.status())
                       + QStringLiteral(" Yazdırma hizmetinin çalıştığını denetleyip yeniden deneyin."));
    QList<Printer> found;
    for (int i = 0; i < destinations.count(); ++i) {
        const cups_dest_t &destination = destinations.at(i);
        QString name = QString::fromUtf8(destination.name);
        if (destination.instance)
            name += QLatin1Char('/') + QString::fromUtf8(destination.instance);
        const QString description = option(destination, "printer-info");
        found.append({name, description.isEmpty() ? name : description, destination.is_default != 0});
    }
    return found;
}

namespace {

// The queue a job for printer goes to, or nothing with why it cannot take
// one now in submission.
const cups_dest_t *usableQueue(const Destinations &destinations, const QString &printer, PrintSubmission &submission)
{
    submission.printer = printer;
    if (!destinations.reached()) {
        submission = ended(submission, PrintSubmission::Outcome::Failed, serviceDown(destinations.status()));
        return nullptr;
    }
    const cups_dest_t *destination = destinations.find(printer);
    if (!destination) {
        if (destinations.count() == 0)
            submission = ended(submission, PrintSubmission::Outcome::Failed,
                               QStringLiteral("Bu bilgisayarda kurulu bir yazıcı yok.") + kNotPrinted
                                   + QStringLiteral("bir yazıcı kurup yeniden deneyin ya da belgeyi önizleme "
                                                    "penceresinden PDF olarak kaydedin."));
        else if (!printer.isEmpty())
            submission = ended(submission, PrintSubmission::Outcome::Failed,
                               QStringLiteral("Bu bilgisayarda '%1' adlı bir yazıcı yok.").arg(printer) + kNotPrinted
                                   + QStringLiteral("kurulu yazıcılardan birini seçip yeniden deneyin."));
        else
            submission = ended(submission, PrintSubmission::Outcome::Failed,
                               QStringLiteral("Varsayılan yazıcı seçilmemiş: bu bilgisayarda %1 yazıcı var.")
                                       .arg(destinations.count())
                                   + kNotPrinted
                                   + QStringLiteral("birini varsayılan yazıcı yapıp yeniden deneyin ya da önizleme "
                                                    "penceresinden bir yazıcı seçin."));
        return nullptr;
    }

    submission.printer = QString::fromUtf8(destination->name);
    // The scheduler holds a job for a stopped queue until it is started again:
    // the page would come out later, unasked.
    if (option(*destination, "printer-state").toInt() == IPP_PSTATE_STOPPED) {
        submission = ended(submission, PrintSubmission::Outcome::Refused,
                           QStringLiteral("'%1' yazıcısı durdurulmuş.").arg(submission.printer) + kNotPrinted
                               + QStringLiteral("yazıcıyı yeniden başlatıp tekrar deneyin."));
        return nullptr;
    }
    if (option(*destination, "printer-is-accepting-jobs") == u"false") {
        submission = ended(submission, PrintSubmission::Outcome::Refused, notAccepting(submission.printer));
        return nullptr;
    }
    return destination;
}

} // namespace

std::optional<PrintSubmission> obstacle(const QString &printer)
{
    const Destinations destinations;
    PrintSubmission submission;
    if (usableQueue(destinations, printer, submission))
        return std::nullopt;
    return submission;
}

PrintSubmission submitPdf(const QByteArray &pdf, const QString &title, const QString &printer)
{
    PrintSubmission submission;
    const Destinations destinations;
    const cups_dest_t *destination = usableQueue(destinations, printer, submission);
    if (!destination)
        return submission;
    const QByteArray queue = destination->name;

    cups_option_t *options = nullptr;
    const int optionCount = cupsAddOption("copies", "1", 0, &options);
    const QByteArray name = title.toUtf8();
    const int job = cupsCreateJob(CUPS_HTTP_DEFAULT, queue.constData(), name.constData(), optionCount, options);
    cupsFreeOptions(optionCount, options);
    if (job == 0)
        return turnedDown(submission);
    // The queue's answer to the document comes with its end, even after a
    // failed write.
    bool sent = cupsStartDocument(CUPS_HTTP_DEFAULT, queue.constData(), job, name.constData(), CUPS_FORMAT_PDF, 1)
                == HTTP_STATUS_CONTINUE;
    if (sent) {
        sent = cupsWriteRequestData(CUPS_HTTP_DEFAULT, pdf.constData(), size_t(pdf.size())) == HTTP_STATUS_CONTINUE;
        sent = cupsFinishDocument(CUPS_HTTP_DEFAULT, queue.constData()) <= IPP_STATUS_OK_EVENTS_COMPLETE && sent;
    }
    if (!sent) {
        PrintSubmission failed = turnedDown(submission);
        // A job left without its document would wait in the queue.
        cupsCancelJob2(CUPS_HTTP_DEFAULT, queue.constData(), job, 0);
        return failed;
    }
    submission.outcome = PrintSubmission::Outcome::Accepted;
    submission.jobId = job;
    return submission;
}

} // namespace CupsPrinting
