#include "maintenance/DatabaseBackup.h"

#include "base/FolderAccess.h"
#include "maintenance/BackupLocation.h"
#include "maintenance/CopyProblemText.h"
#include "maintenance/FileReplacement.h"
#include "maintenance/MaintenanceFiles.h"
#include "registry/DatabaseCopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace DatabaseBackup {

namespace {

using CopyProblemText::shown;

QString databaseFileName()
{
    return QStringLiteral("Data.dat");
}

bool sameFolder(const QString &left, const QString &right)
{
    const QString a = QFileInfo(left).canonicalFilePath();
    const QString b = QFileInfo(right).canonicalFilePath();
    return !a.isEmpty() && a.compare(b, BackupLocation::pathCase()) == 0;
}

void removeWithJournal(const QString &path)
{
    QFile::remove(path);
    QFile::remove(MaintenanceFiles::journalOf(path));
}

// Staging files of backups that a stopped program left in the folder.
void removeStaleStaging(const QString &folder)
{
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        if (MaintenanceFiles::stagingTarget(name) == databaseFileName())
            QFile::remove(QDir(folder).filePath(name));
    }
}

// The folders of path that do not exist yet, the outermost first.
QStringList missingFolders(const QString &path)
{
    QStringList missing;
    QString folder = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    while (!QFileInfo::exists(folder)) {
        missing.prepend(folder);
        const QString parent = QFileInfo(folder).absolutePath();
        if (parent == folder)
            break;
        folder = parent;
    }
    return missing;
}

// The folders this backup made, the innermost first, as far as they are
// empty: never a file of anyone's, never a folder someone filled meanwhile.
void removeMadeFolders(const QStringList &made)
{
    for (auto folder = made.crbegin(); folder != made.crend(); ++folder)
        QDir().rmdir(*folder);
}

// Best effort: without the record a staging file left by a stop is still
// removed by the next backup into the same folder. The record names the
// staging file, then the folders the backup makes for itself, so that the
// next start removes those too when a stop left them empty.
bool writeMarker(const QString &marker, const QString &staging, const QStringList &madeFolders)
{
    QFile file(marker);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return false;
    QStringList lines{QFileInfo(staging).absoluteFilePath()};
    lines += madeFolders;
    const QByteArray path = lines.join(u'\n').toUtf8();
    const bool written = file.write(path) == path.size() && file.flush();
    file.close();
    if (!written || FileReplacement::syncFile(marker).failed()) {
        QFile::remove(marker);
        return false;
    }
    (void)FileReplacement::syncFolder(QFileInfo(marker).absolutePath());
    return true;
}

class Backup
{
public:
    Backup(const QString &databasePath, const QString &folder)
        : m_database(databasePath)
        , m_folder(folder)
        , m_target(targetPath(folder))
        , m_hadBackup(QFileInfo::exists(m_target))
    {
    }

    Result<> run();

private:
    Result<> build(const QString &staging);
    Result<> refused(const QString &reason) const;

    QString m_database;
    QString m_folder;
    QString m_target;
    bool m_hadBackup;
};

Result<> createFolder(const QString &folder)
{
    if (QFileInfo(folder).isDir())
        return Result<>::success();
    if (QDir().mkpath(folder) && QFileInfo(folder).isDir())
        return Result<>::success();
    return Result<>::failure(QStringLiteral("Yedekleme klasörü oluşturulamadı: %1. Klasörün adını ve konumunu "
                                          "denetleyin; seçilen konuma yazma izniniz olmayabilir.")
                               .arg(shown(folder)));
}

Result<> Backup::refused(const QString &reason) const
{
    // A reason may be a sentence of its own ("Dosya yerine konamadı: ...").
    const bool sentence = !reason.isEmpty() && reason.front().isUpper();
    QString text = QStringLiteral("Yedekleme yapılamadı%1%2").arg(sentence ? QStringLiteral(". ") : QStringLiteral(": "), reason);
    if (!text.endsWith(QLatin1Char('.')))
        text += QLatin1Char('.');
    if (m_hadBackup)
        text += QStringLiteral(" Önceki yedek olduğu gibi korunuyor.");
    return Result<>::failure(text);
}

Result<> Backup::run()
{
    if (!QFileInfo::exists(m_database)) {
        return refused(CopyProblemText::reason(DatabaseCopy::Problem::SourceMissing, {}, m_database, m_target));
    }
    if (sameFolder(QFileInfo(m_database).absolutePath(), m_folder)) {
        return Result<>::failure(QStringLiteral("Yedekleme klasörü veritabanının kendi klasörü olamaz: %1. "
                                              "Yedek için başka bir klasör seçin.")
                                   .arg(shown(m_folder)));
    }
    // The windowless commands stay out of the program folder until the
    // backup is in place: they wait for it, or it for them.
    const Result<FolderAccess> access = FolderAccess::forMaintenance(QFileInfo(m_database).absolutePath());
    if (access.failed())
        return refused(access.message());
    // The folder is made only now, when the backup is about to be written
    // into it, and goes again with a backup that does not finish.
    const QStringList made = missingFolders(m_folder);
    const QString staging = MaintenanceFiles::stagingPathFor(m_target);
    const QString marker
        = MaintenanceFiles::backupMarkerPath(QFileInfo(m_database).absolutePath(), staging);
    const bool marked = writeMarker(marker, staging, made);
    Result<> result = createFolder(m_folder);
    if (result.succeeded()) {
        removeStaleStaging(m_folder);
        result = build(staging);
    }
    if (result.failed()) {
        removeWithJournal(staging);
        removeMadeFolders(made);
    }
    if (marked)
        QFile::remove(marker);
    return result;
}

Result<> Backup::build(const QString &staging)
{
    const DatabaseCopy::Outcome exported = DatabaseCopy::exportCopy(m_database, staging);
    if (exported.problem == DatabaseCopy::Problem::SourceDamaged) {
        return refused(QStringLiteral("veritabanı dosyası bozuk olduğu için yedeklenmedi. Veritabanını "
                                      "Bakım ve Onarım (F9) ile onarmayı deneyin"));
    }
    if (!exported.succeeded())
        return refused(CopyProblemText::reason(exported.problem, exported.detail, m_database, m_target));

    const DatabaseCopy::Outcome checked = DatabaseCopy::inspect(staging);
    if (!checked.succeeded() || checked.contents != exported.contents) {
        return refused(
            CopyProblemText::reason(DatabaseCopy::Problem::CopyDiffers, checked.detail, m_database, m_target));
    }

    // A journal that a program stopped while writing the old backup left
    // beside it would be played back into the new backup when it is next
    // opened. Opening the old backup settles it first.
    const QString journal = MaintenanceFiles::journalOf(m_target);
    if (QFileInfo::exists(journal)) {
        (void)DatabaseCopy::open(m_target);
        if (QFileInfo::exists(journal)) {
            return refused(QStringLiteral("eski yedeğin yanında yarım kalmış bir işlemin günlük dosyası var: %1")
                               .arg(shown(journal)));
        }
    }
    if (const Result<> placed = FileReplacement::replace(staging, m_target); placed.failed())
        return refused(placed.message());
    return Result<>::success();
}

} // namespace

QString targetPath(const QString &folder)
{
    return QDir(folder).filePath(databaseFileName());
}

Result<> copy(const QString &databasePath, const QString &folder)
{
    Backup backup(databasePath, folder);
    return backup.run();
}

} // namespace DatabaseBackup
