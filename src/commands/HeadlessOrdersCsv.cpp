#include "commands/HeadlessOrdersCsv.h"

#include "base/FolderAccess.h"
#include "base/ProgramFolder.h"
#include "registry/OrderCsv.h"
#include "registry/OrderList.h"
#include "registry/PayeeDatabase.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <cstring>

namespace HeadlessOrdersCsv {

namespace {

const QString kUsage = QStringLiteral("Kullanım: Zenparol --orders-csv ÇIKTI.csv [--from gg.aa.yyyy] [--to gg.aa.yyyy]");

} // namespace

bool requested(int argc, char **argv)
{
    return argc >= 2 && std::strcmp(argv[1], "--orders-csv") == 0;
}

Outcome run(const QStringList &arguments)
{
    if (arguments.size() < 2 || arguments[0] != QLatin1String("--orders-csv") || arguments[1].isEmpty()
        || arguments[1].startsWith(QLatin1String("--")))
        return {BadInput, kUsage};
    const QString outputPath = arguments[1];
    OrderList::Filter filter;
    for (qsizetype i = 2; i < arguments.size(); i += 2) {
        const QString option = arguments[i];
        const bool from = option == QLatin1String("--from");
        if ((!from && option != QLatin1String("--to")) || i + 1 >= arguments.size())
            return {BadInput, kUsage};
        QDate &day = from ? filter.from : filter.to;
        if (day.isValid())
            return {BadInput, QStringLiteral("%1 bir kez verilebilir.").arg(option)};
        day = QDate::fromString(arguments[i + 1], QStringLiteral("dd.MM.yyyy"));
        if (!day.isValid())
            return {BadInput, QStringLiteral("Geçersiz tarih \"%1\": tarih gg.aa.yyyy biçiminde olmalı (05.03.2024 gibi).")
                                  .arg(arguments[i + 1])};
    }
    if (filter.from.isValid() && filter.to.isValid() && filter.from > filter.to)
        return {BadInput, QStringLiteral("Başlangıç tarihi (--from) bitiş tarihinden (--to) sonra olamaz.")};

    // Not while maintenance works on the database; held until the database
    // is closed.
    const Result<FolderAccess> access = FolderAccess::forCommand(ProgramFolder::path());
    if (access.failed())
        return {Busy, access.message()};
    PayeeDatabase database;
    const PayeeDatabase::OpenResult opened = database.open();
    if (!opened.isOpened())
        return {Failed, opened.message};
    OrderList list(database);
    if (const Result<> listed = list.open(filter); listed.failed())
        return {Failed, listed.message()};
    bool unreadable = false;
    if (const Result<> written = OrderCsv::write(list, outputPath, &unreadable); written.failed())
        return {unreadable ? Failed : BadInput, written.message()};
    return {Written, QString()};
}

int main(int argc, char **argv)
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    QCoreApplication application(argc, argv);
    const Outcome outcome = run(QCoreApplication::arguments().mid(1));
    if (!outcome.message.isEmpty()) {
        QTextStream error(stderr);
        error << outcome.message << Qt::endl;
    }
    return outcome.status;
}

} // namespace HeadlessOrdersCsv
