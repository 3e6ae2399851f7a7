#include "commands/OrdersCsvCommand.h"

#include "base/FolderAccess.h"
#include "base/ProgramFolder.h"
#include "commands/CommandName.h"
#include "registry/OrderCsv.h"
#include "registry/OrderList.h"
#include "registry/OrderRegister.h"
#include "registry/PayeeDatabase.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>


namespace OrdersCsvCommand {

namespace {

QString usage()
{
    return QStringLiteral("Kullanım: %1 --orders-csv ÇIKTI.csv [--from gg.aa.yyyy] [--to gg.aa.yyyy]")
        .arg(CommandName::started());
}

} // namespace

CommandOutcome run(const QStringList &arguments)
{
    if (arguments.size() < 2 || arguments[0] != QLatin1String("--orders-csv") || arguments[1].isEmpty()
        || arguments[1].startsWith(QLatin1String("--")))
        return {ExitStatus::kBadInput, usage()};
    const QString outputPath = arguments[1];
    OrderList::Filter filter;
    for (qsizetype i = 2; i < arguments.size(); i += 2) {
        const QString option = arguments[i];
        const bool from = option == QLatin1String("--from");
        if ((!from && option != QLatin1String("--to")) || i + 1 >= arguments.size())
            return {ExitStatus::kBadInput, usage()};
        QDate &day = from ? filter.from : filter.to;
        if (day.isValid())
            return {ExitStatus::kBadInput, QStringLiteral("%1 bir kez verilebilir.").arg(option)};
        day = QDate::fromString(arguments[i + 1], QStringLiteral("dd.MM.yyyy"));
        if (!day.isValid())
            return {ExitStatus::kBadInput, QStringLiteral("Geçersiz tarih \"%1\": tarih gg.aa.yyyy biçiminde olmalı (05.03.2024 gibi).")
                                  .arg(arguments[i + 1])};
    }
    if (filter.from.isValid() && filter.to.isValid() && filter.from > filter.to)
        return {ExitStatus::kBadInput, QStringLiteral("Başlangıç tarihi (--from) bitiş tarihinden (--to) sonra olamaz.")};

    // Not while maintenance works on the database; held until the database
    // is closed.
    const Result<FolderAccess> access = FolderAccess::forCommand(ProgramFolder::path());
    if (access.failed())
        return {ExitStatus::kBusy, access.message()};
    PayeeDatabase database;
    const PayeeDatabase::OpenResult opened = database.open();
    if (!opened.isOpened())
        return {ExitStatus::kFailed, opened.message};
    OrderRegister listRegister(database);
    OrderList list(listRegister);
    if (const Result<> listed = list.open(filter); listed.failed())
        return {ExitStatus::kFailed, listed.message()};
    bool unreadable = false;
    if (const Result<> written = OrderCsv::write(list, outputPath, &unreadable); written.failed())
        return {unreadable ? ExitStatus::kFailed : ExitStatus::kBadInput, written.message()};
    return {ExitStatus::kDone, QString()};
}

} // namespace OrdersCsvCommand
