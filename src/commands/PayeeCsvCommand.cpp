#include "commands/PayeeCsvCommand.h"

#include "base/FolderAccess.h"
#include "base/ProgramFolder.h"
#include "commands/CommandName.h"
#include "olddata/OldDatabaseReading.h"
#include "registry/PayeeCsv.h"
#include "registry/PayeeDatabase.h"
#include "registry/PayeeExport.h"
#include "registry/PayeeImport.h"

#include <QDir>
#include <QFileInfo>

#include <optional>

namespace PayeeCsvCommand {

namespace {

QString exportUsage()
{
    return QStringLiteral("Kullanım: %1 --export-payees ÇIKTI.csv [--kind Eczane|Hastane|Tedavi|Ozel]").arg(CommandName::started());
}

QString importUsage()
{
    return QStringLiteral("Kullanım: %1 --import-payees GİRDİ.csv --kind Eczane|Hastane|Tedavi|Ozel [--skip-bad-rows]")
        .arg(CommandName::started());
}

const QString kKind = QStringLiteral("--kind");
const QString kSkipBadRows = QStringLiteral("--skip-bad-rows");

struct Options
{
    QString file;
    std::optional<PaymentCategory> kind;
    bool skipBadRows = false;
    QString problem; // Turkish; empty when the options are right
};

Options optionsOf(const QStringList &arguments, bool import, const QString &usage)
{
    Options options;
    if (arguments.size() < 2 || arguments[1].isEmpty() || arguments[1].startsWith(QLatin1String("--"))) {
        options.problem = usage;
        return options;
    }
    options.file = arguments[1];
    for (qsizetype i = 2; i < arguments.size(); ++i) {
        if (arguments[i] == kKind && i + 1 < arguments.size() && !options.kind) {
            options.kind = PayeeCsv::categoryNamed(arguments[++i]);
            if (!options.kind) {
                options.problem = QStringLiteral("Bilinmeyen tür \"%1\": Eczane, Hastane, Tedavi ya da Ozel olmalı.")
                                      .arg(arguments[i]);
                return options;
            }
        } else if (import && arguments[i] == kSkipBadRows && !options.skipBadRows) {
            options.skipBadRows = true;
        } else {
            options.problem = usage;
            return options;
        }
    }
    if (import && !options.kind)
        options.problem = QStringLiteral("İçe aktarılacak kişilerin türü --kind ile verilmeli.\n") + usage;
    return options;
}

QString shown(const QString &filePath)
{
    return QDir::toNativeSeparators(QFileInfo(filePath).absoluteFilePath());
}

CommandOutcome exportPayees(const Options &options)
{
    PayeeDatabase database;
    const PayeeDatabase::OpenResult opened = database.open();
    if (!opened.isOpened())
        return {ExitStatus::kFailed, opened.message};
    Result<PayeeRecords> records = PayeeExport::allPayees(database.connection());
    if (records.failed())
        return {ExitStatus::kFailed, QStringLiteral("Kişiler okunamadı: %1").arg(records.message())};
    const QByteArray bytes = options.kind ? PayeeCsv::fileBytes((*records)[std::size_t(categoryIndex(*options.kind))])
                                          : PayeeCsv::fileBytes(*records);
    if (const Result<> written = PayeeCsv::writeFile(options.file, bytes); written.failed())
        return {ExitStatus::kBadInput, written.message()};
    return {ExitStatus::kDone, QString()};
}

CommandOutcome importPayees(const Options &options)
{
    const PaymentCategory kind = *options.kind;
    const Result<PayeeCsv::Parsed> parsed = PayeeCsv::readFile(options.file, kind);
    if (parsed.failed())
        return {ExitStatus::kBadInput, parsed.message() + QStringLiteral(" Hiçbir kayıt aktarılmadı.")};
    QString said;
    if (!parsed->badRows.isEmpty()) {
        const QString rows = PayeeCsv::badRowsText(parsed->badRows);
        if (!options.skipBadRows)
            return {ExitStatus::kBadInput,
                    QStringLiteral("'%1' dosyasında hatalı satırlar var; hiçbir kayıt aktarılmadı (hatalı satırları "
                                   "atlayıp gerisini aktarmak için %2):\n%3")
                        .arg(shown(options.file), kSkipBadRows, rows)};
        said = QStringLiteral("'%1' dosyasının hatalı satırları atlandı:\n%2").arg(shown(options.file), rows);
    }
    const QString registerPath = PayeeDatabase::defaultFilePath();
    if (OldDatabaseReading::looksLikeJet4(registerPath))
        return {ExitStatus::kNotRecorded,
                QStringLiteral("Program klasöründeki '%1' henüz eski programın veritabanı: önce programı açıp "
                               "dönüştürün. Hiçbir kayıt aktarılmadı.")
                    .arg(shown(registerPath))};
    PayeeRecords records;
    records[std::size_t(categoryIndex(kind))] = parsed->payees;
    const Result<PayeeImport::Counts> counts = PayeeImport::addToFile(registerPath, records);
    if (counts.failed())
        return {ExitStatus::kNotRecorded, counts.message() + QStringLiteral(" Hiçbir kayıt aktarılmadı.")};
    return {ExitStatus::kDone, said, PayeeImport::reportLines(*counts).at(categoryIndex(kind))};
}

} // namespace

CommandOutcome run(const QStringList &arguments)
{
    const bool import = !arguments.isEmpty() && arguments[0] == QLatin1String("--import-payees");
    if (!import && (arguments.isEmpty() || arguments[0] != QLatin1String("--export-payees")))
        return {ExitStatus::kBadInput, exportUsage()};
    const Options options = optionsOf(arguments, import, import ? importUsage() : exportUsage());
    if (!options.problem.isEmpty())
        return {ExitStatus::kBadInput, options.problem};

    // Not while maintenance works on the register; held until it is closed.
    const Result<FolderAccess> access = FolderAccess::forCommand(ProgramFolder::path());
    if (access.failed())
        return {ExitStatus::kBusy, access.message()};
    return import ? importPayees(options) : exportPayees(options);
}

} // namespace PayeeCsvCommand
