#include "maintenance/MaintenanceFiles.h"

#include "base/ApplicationInfo.h"
#include "base/ProgramFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

namespace MaintenanceFiles {

namespace {

const QString kStagingSuffix = QStringLiteral(".yeni");
const QString kMarkerSuffix = QStringLiteral(".yedekleniyor");

QString hexName()
{
    return QStringLiteral("%1").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
}

// A kept file's name: path + suffix, then "-2", "-3"... for n past 1.
QString numberedPath(const QString &path, const QString &suffix, int n)
{
    const QString first = path + suffix;
    return n <= 1 ? first : first + QLatin1Char('-') + QString::number(n);
}

// Whether fileName is base followed by what tail matches.
bool hasTail(const QString &fileName, const QString &base, const QRegularExpression &tail)
{
    return fileName.startsWith(base) && tail.match(QStringView(fileName).mid(base.size())).hasMatch();
}

} // namespace

QString compactionFileName()
{
    return ApplicationInfo::compactionFileName();
}

QString compactionFilePath()
{
    return ProgramFolder::filePath(compactionFileName());
}

QString journalOf(const QString &databasePath)
{
    return databasePath + QStringLiteral("-journal");
}

QString stagingPathFor(const QString &target)
{
    QString path;
    do {
        path = target + QLatin1Char('.') + hexName() + kStagingSuffix;
    } while (QFileInfo::exists(path) || QFileInfo::exists(journalOf(path)));
    return path;
}

QString stagingTarget(const QString &fileName, QString *hex)
{
    static const QRegularExpression name(QStringLiteral("^(.+)\\.([0-9a-f]{8})\\.yeni(-journal)?$"));
    const QRegularExpressionMatch match = name.match(fileName);
    if (!match.hasMatch())
        return {};
    if (hex)
        *hex = match.captured(2);
    return match.captured(1);
}

QString backupMarkerPath(const QString &programFolder, const QString &stagingPath)
{
    QString hex;
    stagingTarget(QFileInfo(stagingPath).fileName(), &hex);
    return QDir(programFolder).filePath(QStringLiteral("Data.dat.") + hex + kMarkerSuffix);
}

bool isBackupMarkerName(const QString &fileName, QString *hex)
{
    static const QRegularExpression name(QStringLiteral("^Data\\.dat\\.([0-9a-f]{8})\\.yedekleniyor$"));
    const QRegularExpressionMatch match = name.match(fileName);
    if (!match.hasMatch())
        return false;
    if (hex)
        *hex = match.captured(1);
    return true;
}

QString damagedCopyPath(const QString &databasePath, const QDate &date)
{
    const QString first = databasePath + QStringLiteral(".bozuk-") + date.toString(QStringLiteral("yyyy-MM-dd"));
    QString path = first;
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = first + QLatin1Char('-') + QString::number(n);
    return path;
}

bool isDamagedCopyName(const QString &fileName, const QString &base)
{
    static const QRegularExpression tail(QStringLiteral("^\\.bozuk-\\d{4}-\\d{2}-\\d{2}(-\\d+)?$"));
    return hasTail(fileName, base, tail);
}

QString keptOldDatabasePath(const QString &databasePath, int n)
{
    return numberedPath(databasePath, QStringLiteral(".eski"), n);
}

bool isKeptOldDatabaseName(const QString &fileName, const QString &base)
{
    static const QRegularExpression tail(QStringLiteral("^\\.eski(-\\d+)?$"));
    return hasTail(fileName, base, tail);
}

QString replacedFilePath(const QString &path, int n)
{
    return numberedPath(path, QStringLiteral(".onceki"), n);
}

bool isReplacedFileName(const QString &fileName, const QString &base)
{
    static const QRegularExpression tail(QStringLiteral("^\\.onceki(-\\d+)?$"));
    return hasTail(fileName, base, tail);
}

} // namespace MaintenanceFiles
