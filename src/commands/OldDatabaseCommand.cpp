#include "commands/OldDatabaseCommand.h"

#include "base/FolderAccess.h"
#include "base/ProgramFolder.h"
#include "commands/CommandName.h"
#include "olddata/OldDatabaseReading.h"
#include "registry/PayeeDatabase.h"
#include "registry/PayeeImport.h"

#include <QDir>
#include <QFileInfo>

namespace OldDatabaseCommand {

namespace {

QString usage()
{
    return QStringLiteral("Kullanım: %1 --import-old ESKİ.dat [--other-password]").arg(CommandName::started());
}
const QString kOtherPassword = QStringLiteral("--other-password");

QString shown(const QString &filePath)
{
    return QDir::toNativeSeparators(QFileInfo(filePath).absoluteFilePath());
}

} // namespace

CommandOutcome run(const QStringList &arguments)
{
    if (arguments.size() < 2 || arguments.size() > 3 || arguments[0] != QLatin1String("--import-old")
        || arguments[1].isEmpty() || arguments[1].startsWith(QLatin1String("--"))
        || (arguments.size() == 3 && arguments[2] != kOtherPassword))
        return {ExitStatus::kBadInput, usage()};
    const QString oldPath = arguments[1];
    const bool otherPasswordAccepted = arguments.size() == 3;

    // Not while maintenance works on the register; held until it is written.
    const Result<FolderAccess> access = FolderAccess::forCommand(ProgramFolder::path());
    if (access.failed())
        return {ExitStatus::kBusy, access.message()};

    const QString registerPath = PayeeDatabase::defaultFilePath();
    if (QFileInfo(oldPath).absoluteFilePath() == QFileInfo(registerPath).absoluteFilePath())
        return {ExitStatus::kBadInput,
                QStringLiteral("'%1' programın kendi veritabanı; eski veritabanı olarak başka bir dosya verin. "
                               "Program klasöründeki eski veritabanı, program açılırken dönüştürülür.")
                    .arg(shown(oldPath))};
    // The answer to the question about another password is the option:
    // without it such a file is refused after a look at its tables, before
    // its rows are read.
    OldDatabaseReading::Options options;
    options.acceptOtherPassword = [otherPasswordAccepted](const OldDatabaseReading::OldDatabase &) {
        return otherPasswordAccepted;
    };
    const OldDatabaseReading::Outcome read = OldDatabaseReading::read(oldPath, options);
    if (read.status == OldDatabaseReading::Outcome::Status::Declined) {
        const QString protection = read.database.header.password().isEmpty()
            ? QStringLiteral("parolasız")
            : QStringLiteral("eski programınkinden başka bir parolayla korunuyor");
        return {ExitStatus::kBadInput,
                QStringLiteral("'%1' kişi tablolarını taşıyor, ancak %2; eski programın dosyası olmayabilir. "
                               "Yine de aktarmak için komutu %3 ile yeniden çalıştırın. Hiçbir kayıt aktarılmadı.")
                    .arg(shown(oldPath), protection, kOtherPassword)};
    }
    if (!read.succeeded())
        return {ExitStatus::kBadInput, read.message + QStringLiteral(" Hiçbir kayıt aktarılmadı.")};
    if (OldDatabaseReading::looksLikeJet4(registerPath))
        return {ExitStatus::kNotRecorded,
                QStringLiteral("Program klasöründeki '%1' henüz eski programın veritabanı: önce programı açıp "
                               "dönüştürün. Hiçbir kayıt aktarılmadı.")
                    .arg(shown(registerPath))};

    const Result<PayeeImport::Counts> counts = PayeeImport::addToFile(registerPath, read.database.records);
    if (counts.failed())
        return {ExitStatus::kNotRecorded, counts.message() + QStringLiteral(" Hiçbir kayıt aktarılmadı.")};
    return {ExitStatus::kDone, QString(), PayeeImport::reportLines(*counts).join(u'\n')};
}

} // namespace OldDatabaseCommand
