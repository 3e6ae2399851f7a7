#include "maintenance/OldProgramTransfer.h"

#include "base/ApplicationInfo.h"
#include "base/FolderAccess.h"
#include "maintenance/FileReplacement.h"
#include "maintenance/MaintenanceFiles.h"
#include "olddata/OldDatabaseReading.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace OldProgramTransfer {

namespace {

QString freeReplacedPath(const QString &path)
{
    for (int n = 1;; ++n) {
        const QString candidate = MaintenanceFiles::replacedFilePath(path, n);
        if (!QFileInfo::exists(candidate))
            return candidate;
    }
}

struct Step
{
    QString staging;
    QString target;
};

} // namespace

QStringList filesIn(const QString &folder)
{
    QStringList files;
    const QDir dir(folder);
    for (const QString &name : {ApplicationInfo::settingsFileName(), ApplicationInfo::databaseFileName()}) {
        if (QFileInfo(dir.filePath(name)).isFile())
            files.append(name);
    }
    return files;
}

Result<Brought> bring(const QString &oldFolder, const QString &targetFolder)
{
    const QString oldCanonical = QFileInfo(oldFolder).canonicalFilePath();
    if (!oldCanonical.isEmpty() && oldCanonical == QFileInfo(targetFolder).canonicalFilePath())
        return Result<Brought>::failure(
            QStringLiteral("Seçilen klasör, programın kullandığı klasörün kendisi: %1").arg(QDir::toNativeSeparators(oldFolder)));
    Brought brought;
    brought.files = filesIn(oldFolder);
    if (brought.files.isEmpty())
        return Result<Brought>::failure(QStringLiteral("Seçilen klasörde eski programın dosyaları (%1, %2) yok: %3")
                                            .arg(ApplicationInfo::settingsFileName(), ApplicationInfo::databaseFileName(),
                                                 QDir::toNativeSeparators(oldFolder)));
    // No windowless command records an order in between.
    const Result<FolderAccess> access = FolderAccess::forMaintenance(targetFolder);
    if (!access)
        return Result<Brought>::failure(access.message());

    const QDir from(oldFolder);
    const QDir to(targetFolder);
    QList<Step> steps;
    const auto removeStaging = [&steps] {
        for (const Step &step : steps)
            QFile::remove(step.staging);
    };
    for (const QString &name : brought.files) {
        const QString target = to.filePath(name);
        if (QFileInfo::exists(target)) {
            const QString kept = freeReplacedPath(target);
            if (const Result<> copied = FileReplacement::copyAsNew(target, kept); !copied) {
                removeStaging();
                return Result<Brought>::failure(copied.message());
            }
            brought.keptPaths.append(kept);
        }
        const Step step{MaintenanceFiles::stagingPathFor(target), target};
        if (const Result<> copied = FileReplacement::copyAsNew(from.filePath(name), step.staging); !copied) {
            removeStaging();
            return Result<Brought>::failure(copied.message());
        }
        steps.append(step);
    }
    for (qsizetype i = 0; i < steps.size(); ++i) {
        if (const Result<> replaced = FileReplacement::replace(steps[i].staging, steps[i].target); !replaced) {
            for (qsizetype rest = i; rest < steps.size(); ++rest)
                QFile::remove(steps[rest].staging);
            return Result<Brought>::failure(replaced.message());
        }
    }
    brought.oldDatabase = brought.files.contains(ApplicationInfo::databaseFileName())
        && OldDatabaseReading::looksLikeJet4(to.filePath(ApplicationInfo::databaseFileName()));
    return brought;
}

} // namespace OldProgramTransfer
