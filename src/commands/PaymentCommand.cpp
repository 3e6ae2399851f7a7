#include "commands/PaymentCommand.h"

#include "base/ApplicationInfo.h"
#include "base/FileProblem.h"
#include "base/FolderAccess.h"
#include "base/ProfileFile.h"
#include "base/ProgramFolder.h"
#include "commands/CommandName.h"
#include "computation/PaymentPreferences.h"
#include "computation/PreferenceSettings.h"
#include "issuing/DuplicateGuard.h"
#include "issuing/PaymentFile.h"
#include "issuing/PaymentOrderIssue.h"
#include "issuing/PdfFileOutput.h"
#include "issuing/PrinterOutput.h"
#include "referencedata/CodeSheetSettings.h"
#include "referencedata/InstitutionSettings.h"
#include "registry/OrderRegister.h"
#include "registry/PayeeDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <memory>

namespace PaymentCommand {

namespace {

QString usage()
{
    return QStringLiteral("Kullanım: %1 --pdf ÇIKTI.pdf ÖDEME.json  ya da  %1 --print ÖDEME.json [--printer YAZICI]")
        .arg(CommandName::started());
}

struct Request
{
    QString paymentPath;
    QString pdfPath; // --pdf
    bool print = false; // --print
    QString printer; // --printer; empty: the default printer
};

std::optional<Request> requestOf(const QStringList &arguments)
{
    Request request;
    if (arguments.value(0) == QLatin1String("--pdf") && arguments.size() == 3) {
        request.pdfPath = arguments[1];
        request.paymentPath = arguments[2];
    } else if (arguments.value(0) == QLatin1String("--print") && (arguments.size() == 2 || arguments.size() == 4)) {
        request.print = true;
        request.paymentPath = arguments[1];
        if (arguments.size() == 4) {
            if (arguments[2] != QLatin1String("--printer") || arguments[3].isEmpty())
                return std::nullopt;
            request.printer = arguments[3];
        }
    } else {
        return std::nullopt;
    }
    if (request.paymentPath.isEmpty() || request.paymentPath.startsWith(QLatin1String("--"))
        || (!request.print && request.pdfPath.isEmpty()))
        return std::nullopt;
    return request;
}

// The settings as the windows hold them after start-up.
struct Settings
{
    IssueSettings issue;
    Preferences preferences;
    CodeSheets codes = defaultCodeSheets();
};

Result<Settings> readSettings()
{
    const ProfileFile file;
    if (const Result<> read = file.status(); read.failed())
        return read.error();
    Settings settings;
    CodeSheetSettings::load(file, settings.codes);
    settings.issue.institution = InstitutionSettings::defaults();
    InstitutionSettings::load(file, settings.issue.institution);
    PreferenceSettings::load(file, settings.preferences);
    settings.issue.currencyChoice = settings.preferences.currencyChoice;
    settings.issue.fillApprovalDates = settings.preferences.fillApprovalDates;
    settings.issue.duplicateGuardDays = settings.preferences.duplicateGuardDays;
    return settings;
}

// Opens the register's database, creating it where there is none; what the
// user must know goes to notes. A database that cannot be used does not stop
// the order: it leaves, and the failure to record it is said.
Result<> openDatabase(PayeeDatabase &database, QStringList &notes)
{
    PayeeDatabase::OpenResult opened = database.open();
    // A compaction cut short may have left the only copy of the payees in
    // Yedek.dat, which the program puts back when it starts: a new empty
    // database made now would stand in its place.
    const QString compacted = ProgramFolder::filePath(ApplicationInfo::compactionFileName());
    if (opened.status == PayeeDatabase::OpenStatus::Missing && QFileInfo::exists(compacted))
        return Failure(QStringLiteral("Veritabanı dosyası yok, ancak yarım kalmış bir sıkıştırmadan kalan '%1' var. "
                                      "Programı pencereyle bir kez açın: veritabanını ondan geri koyar.")
                           .arg(QDir::toNativeSeparators(compacted)));
    if (opened.status == PayeeDatabase::OpenStatus::Missing) {
        opened = database.create();
        if (opened.created)
            notes.append(QStringLiteral("Veritabanı dosyası yoktu; yeni, boş bir veritabanı oluşturuldu: %1")
                             .arg(QDir::toNativeSeparators(database.filePath())));
    }
    if (!opened.isOpened())
        return Failure(opened.message);
    return Result<>::success();
}

std::unique_ptr<PageOutput> outputOf(const Request &request)
{
    if (request.print)
        return std::make_unique<PrinterOutput>(request.printer);
    return std::make_unique<PdfFileOutput>(request.pdfPath);
}

QString leftText(const Request &request)
{
    return request.print ? QStringLiteral("Belge yazıcıya gönderildi") : QStringLiteral("PDF yazıldı");
}

CommandOutcome outcomeOf(const Request &request, const IssueOutcome &issued, const Result<> &database,
                         QStringList notes)
{
    notes += issued.notes;
    const auto said = [&notes](int status, const QString &last) {
        QStringList lines = notes;
        if (!last.isEmpty())
            lines.append(last);
        return CommandOutcome{status, lines.join(u'\n')};
    };
    switch (issued.kind) {
    case IssueOutcome::Kind::Issued:
        return said(ExitStatus::kDone, QString());
    case IssueOutcome::Kind::NotRecorded:
        return said(ExitStatus::kNotRecorded,
                    QStringLiteral("%1, ancak belge kaydına işlenemedi. %2")
                        .arg(leftText(request), database.failed() ? database.message() : issued.message));
    case IssueOutcome::Kind::Refused:
        return said(ExitStatus::kRefused, issued.message);
    case IssueOutcome::Kind::Declined: // a warning guard never declines
    case IssueOutcome::Kind::Closed: // nor is there a preview
    case IssueOutcome::Kind::Failed:
        break;
    }
    return said(ExitStatus::kFailed, issued.message);
}

} // namespace

bool requested(const QStringList &arguments)
{
    return arguments.value(0) == QLatin1String("--pdf") || arguments.value(0) == QLatin1String("--print");
}

CommandOutcome run(const QStringList &arguments, const std::function<QDateTime()> &clock)
{
    const std::optional<Request> request = requestOf(arguments);
    if (!request)
        return {ExitStatus::kBadInput, usage()};
    // Beside an open window, never during a backup, compaction or repair.
    const Result<FolderAccess> access = FolderAccess::forCommand(ProgramFolder::path());
    if (access.failed())
        return {ExitStatus::kBusy, access.message()};

    QFile paymentFile(request->paymentPath);
    if (!paymentFile.open(QIODevice::ReadOnly))
        return {ExitStatus::kBadInput, QStringLiteral("Ödeme dosyası ") + FileProblem::notRead(request->paymentPath,
                                                                                             paymentFile.error())};
    const Result<PaymentFile::Payment> payment = PaymentFile::parse(paymentFile.readAll());
    if (payment.failed())
        return {ExitStatus::kBadInput,
                QStringLiteral("%1: %2").arg(QFileInfo(request->paymentPath).fileName(), payment.message())};
    const Result<Settings> settings = readSettings();
    if (settings.failed())
        return {ExitStatus::kFailed, settings.message()};
    const std::unique_ptr<PageOutput> output = outputOf(*request);
    // Said before the register is touched or a new database made.
    if (const std::optional<Delivery> obstacle = output->obstacle())
        return {obstacle->end == Delivery::End::Refused ? ExitStatus::kRefused : ExitStatus::kFailed,
                obstacle->message};

    const StoredPaymentPreferences preferences(settings->preferences);
    const DocumentFilling::PaymentInputs inputs = PaymentFile::compute(
        *payment, preferences, settings->codes[std::size_t(categoryIndex(payment->category))]);

    QStringList notes;
    PayeeDatabase database;
    OrderRegister orders(database);
    const Result<> opened = openDatabase(database, notes);
    Raporlar form;
    PaymentOrderIssue issue(form, orders);
    if (clock)
        issue.setClock(clock);
    QStringList warnings;
    WarningGuard guard(warnings);
    IssueOutcome issued = issue.issue(inputs, settings->issue, guard, *output);
    issued.notes = warnings + issued.notes;
    return outcomeOf(*request, issued, opened, notes);
}

} // namespace PaymentCommand
