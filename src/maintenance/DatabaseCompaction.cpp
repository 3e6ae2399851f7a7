#include "maintenance/DatabaseCompaction.h"

#include "maintenance/CopyProblemText.h"
#include "maintenance/FileReplacement.h"
#include "maintenance/MaintenanceFiles.h"
#include "registry/DatabaseSalvage.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>

namespace DatabaseCompaction {

namespace {

using CopyProblemText::shown;
using Problem = DatabaseCopy::Problem;

QString count(qint64 value)
{
    return QLocale(QLocale::Turkish, QLocale::Turkey).toString(value);
}

bool inTheWay(const QString &path)
{
    return QFileInfo::exists(path) || QFileInfo::exists(MaintenanceFiles::journalOf(path));
}

void removeWithJournal(const QString &path)
{
    QFile::remove(path);
    QFile::remove(MaintenanceFiles::journalOf(path));
}

Result<> notCompacted(const QString &reason)
{
    return Result<>::failure(
        QStringLiteral("Veritabanı sıkıştırılamadı: %1. Veritabanı dosyası değiştirilmedi.").arg(reason));
}

Result<> notPlaced(const QString &reason)
{
    return Result<>::failure(
        QStringLiteral("Sıkıştırılan veritabanı yerine konamadı: %1. Veritabanı dosyası değiştirilmedi.")
            .arg(reason));
}

Outcome failedWith(Result<> result)
{
    Outcome outcome;
    outcome.result = std::move(result);
    return outcome;
}

} // namespace

QString Outcome::repairSummary() const
{
    if (lost == 0 && lostExact)
        return QStringLiteral("Onarıldı: %1 kayıt kurtarıldı, kayıp yok").arg(count(recovered));
    return QStringLiteral("Onarıldı: %1 kayıt kurtarıldı, %2%3 kayıt okunamadı")
        .arg(count(recovered), lostExact ? QString() : QStringLiteral("en az "), count(lost));
}

QString Outcome::repairReport() const
{
    QString text = QStringLiteral("Veritabanı dosyası bozuktu ve onarıldı: okunabilen kayıtlar yeni "
                                  "veritabanına aktarıldı.\n\nKurtarılan kayıt: %1\nOkunamayan kayıt: %2")
                       .arg(count(recovered), count(lost));
    if (!lostExact)
        text += QStringLiteral(" ya da daha fazla (bozuk bölümdeki kayıtların sayısı bilinemiyor)");
    if (!damagedCopyPath.isEmpty()) {
        text += QStringLiteral("\n\nBozuk dosya silinmedi, şu adla saklandı:\n%1").arg(shown(damagedCopyPath));
    }
    return text;
}

Outcome CompactDatabaseFile(const QString &source, const QString &destination)
{
    if (!QFileInfo::exists(source))
        return failedWith(notCompacted(CopyProblemText::reason(Problem::SourceMissing, {}, source, destination)));

    if (inTheWay(destination)) {
        // Left by a run that was stopped. Only a database that opens makes
        // it a spare: otherwise it may hold the only readable copy.
        const DatabaseCopy::Outcome opened = DatabaseCopy::open(source);
        if (!opened.succeeded()) {
            return failedWith(
                notCompacted(CopyProblemText::reason(opened.problem, opened.detail, source, destination)));
        }
        removeWithJournal(destination);
        if (inTheWay(destination)) {
            return failedWith(notCompacted(
                QStringLiteral("önceki bir işlemden kalan %1 silinemedi").arg(shown(destination))));
        }
    }

    const DatabaseCopy::Outcome exported = DatabaseCopy::exportCopy(source, destination);
    if (exported.succeeded()) {
        Outcome outcome;
        outcome.contents = exported.contents;
        return outcome;
    }
    if (exported.problem != Problem::SourceDamaged) {
        return failedWith(
            notCompacted(CopyProblemText::reason(exported.problem, exported.detail, source, destination)));
    }

    const DatabaseCopy::Salvage salvage = DatabaseCopy::salvage(source, destination);
    if (!salvage.succeeded()) {
        const QString reason = salvage.problem == Problem::SourceDamaged
                                   ? QStringLiteral("veritabanı dosyası onarılamayacak kadar bozuk")
                                   : CopyProblemText::reason(salvage.problem, salvage.detail, source, destination);
        return failedWith(notCompacted(reason));
    }
    Outcome outcome;
    outcome.repaired = true;
    outcome.recovered = salvage.recovered;
    outcome.lost = salvage.lost;
    outcome.lostExact = salvage.lostExact;
    return outcome;
}

Result<> putInPlace(const QString &destination, const QString &source, Outcome &outcome, const QDate &today)
{
    auto fail = [&](const QString &reason) {
        removeWithJournal(destination);
        return notPlaced(reason);
    };

    const DatabaseCopy::Outcome checked = DatabaseCopy::inspect(destination);
    if (!checked.succeeded()) {
        return fail(QStringLiteral("%1 denetlenemedi (%2)")
                        .arg(shown(destination),
                             CopyProblemText::reason(checked.problem, checked.detail, destination, destination)));
    }
    const bool holdsAll = outcome.repaired ? checked.contents.totalRows() == outcome.recovered
                                           : checked.contents == outcome.contents;
    if (!holdsAll)
        return fail(CopyProblemText::reason(Problem::CopyDiffers, {}, source, destination));

    if (outcome.repaired) {
        const QString kept = MaintenanceFiles::damagedCopyPath(source, today);
        if (const Result<> copied = FileReplacement::copyAsNew(source, kept); copied.failed())
            return fail(QStringLiteral("bozuk dosya saklanamadı (%1)").arg(copied.message()));
        outcome.damagedCopyPath = kept;
    }

    // The engine plays a journal back into the file of the same name: a
    // journal of the old database must not meet the new one. Opening the
    // database for the compaction settled any that was left; one here now
    // means that another program is writing to it.
    const QString journal = MaintenanceFiles::journalOf(source);
    if (QFileInfo::exists(journal)) {
        return fail(QStringLiteral("veritabanı dosyası şu anda başka bir program tarafından yazılıyor (%1)")
                        .arg(shown(journal)));
    }
    // The new file takes the old one's permissions, as if it were the same.
    QFile::setPermissions(destination, QFile::permissions(source));
    if (const Result<> placed = FileReplacement::replace(destination, source); placed.failed())
        return fail(placed.message());
    return Result<>::success();
}

Result<FolderAccess> reserveFolder(const QString &source)
{
    Result<FolderAccess> access = FolderAccess::forMaintenance(QFileInfo(source).absolutePath());
    if (access.failed())
        return Failure(QStringLiteral("Veritabanı sıkıştırılamadı. %1").arg(access.message()));
    return access;
}

Outcome compactInPlace(const QString &source, const QString &destination)
{
    const Result<FolderAccess> access = reserveFolder(source);
    if (access.failed())
        return failedWith(access.error());
    Outcome outcome = CompactDatabaseFile(source, destination);
    if (outcome.succeeded())
        outcome.result = putInPlace(destination, source, outcome);
    return outcome;
}

} // namespace DatabaseCompaction
