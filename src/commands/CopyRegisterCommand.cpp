#include "commands/CopyRegisterCommand.h"

#include "base/FolderAccess.h"
#include "base/ProgramFolder.h"
#include "commands/CommandName.h"
#include "olddata/OldDatabaseReading.h"
#include "registry/PayeeDatabase.h"
#include "registry/SharedRegisterConnection.h"
#include "registry/SharedRegisterCopy.h"

#include <QDir>
#include <QFileInfo>

namespace CopyRegisterCommand {

namespace {

QString usage()
{
    return QStringLiteral("Kullanım: %1 --copy-register-to BAĞLANTI\n"
                          "BAĞLANTI: paylaşılan kaydın libpq bağlantı dizesi, örneğin \"service=mirvasel\" ya da "
                          "\"host=sunucu dbname=mirvasel user=yonetici\".")
        .arg(CommandName::started());
}

QString shown(const QString &filePath)
{
    return QDir::toNativeSeparators(QFileInfo(filePath).absoluteFilePath());
}

} // namespace

CommandOutcome run(const QStringList &arguments)
{
    if (arguments.size() != 2 || arguments[0] != QLatin1String("--copy-register-to") || arguments[1].trimmed().isEmpty())
        return {ExitStatus::kBadInput, usage()};
    const QString connectionString = arguments[1];

    // Not while maintenance works on the register; held until it is read.
    const Result<FolderAccess> access = FolderAccess::forCommand(ProgramFolder::path());
    if (access.failed())
        return {ExitStatus::kBusy, access.message()};

    const QString registerPath = PayeeDatabase::defaultFilePath();
    if (OldDatabaseReading::looksLikeJet4(registerPath))
        return {ExitStatus::kFailed,
                QStringLiteral("Program klasöründeki '%1' henüz eski programın veritabanı: önce programı açıp "
                               "dönüştürün. Paylaşılan kayda hiçbir şey aktarılmadı.")
                    .arg(shown(registerPath))};
    PayeeDatabase local;
    const PayeeDatabase::OpenResult opened = local.open(registerPath);
    if (!opened.isOpened())
        return {ExitStatus::kFailed, opened.message + QStringLiteral(" Paylaşılan kayda hiçbir şey aktarılmadı.")};

    SharedRegisterConnection shared;
    if (const Result<> connected = shared.open(connectionString); connected.failed()) {
        const bool unreadable = shared.error().failure == SharedRegisterConnection::Failure::BadConnectionString;
        return {unreadable ? ExitStatus::kBadInput : ExitStatus::kNotRecorded,
                connected.message() + QStringLiteral(" Hiçbir şey aktarılmadı.")};
    }
    const SharedRegisterCopy::Outcome copied = SharedRegisterCopy::copy(local, shared);
    switch (copied.problem) {
    case SharedRegisterCopy::Problem::None:
        return {ExitStatus::kDone, QString(),
                QStringLiteral("Paylaşılan kayda aktarıldı: %1.").arg(SharedRegisterCopy::countsText(copied.counts))};
    case SharedRegisterCopy::Problem::LocalUnreadable:
    case SharedRegisterCopy::Problem::Uncertain:
        return {ExitStatus::kFailed, copied.message};
    case SharedRegisterCopy::Problem::NotEmpty:
    case SharedRegisterCopy::Problem::NotAdministrator:
    case SharedRegisterCopy::Problem::Refused:
        break;
    }
    return {ExitStatus::kNotRecorded, copied.message};
}

} // namespace CopyRegisterCommand
