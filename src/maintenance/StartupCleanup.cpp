#include "maintenance/StartupCleanup.h"

#include "base/ApplicationInfo.h"
#include "base/FolderAccess.h"
#include "base/PaymentCategory.h"
#include "maintenance/FileReplacement.h"
#include "maintenance/MaintenanceFiles.h"
#include "registry/DatabaseCopy.h"
#include "registry/PayeeTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace StartupCleanup {

namespace {

class Cleanup
{
public:
    explicit Cleanup(const QString &folder) : m_folder(folder) {}

    Report run();

private:
    void remove(const QString &path);
    void settleBackupRecord(const QString &name, const QString &hex);
    void settleCompaction();
    bool isPayeeDatabase(const DatabaseCopy::Contents &contents) const;

    QDir m_folder;
    Report m_report;
};

void Cleanup::remove(const QString &path)
{
    if (QFile::remove(path))
        m_report.removed.append(path);
}

Report Cleanup::run()
{
    const QString database = ApplicationInfo::databaseFileName();
    const QString settings = ApplicationInfo::settingsFileName();
    const QStringList names = m_folder.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString &name : names) {
        QString hex;
        if (MaintenanceFiles::isBackupMarkerName(name, &hex)) {
            settleBackupRecord(name, hex);
            continue;
        }
        const QString target = MaintenanceFiles::stagingTarget(name);
        if (target == database || MaintenanceFiles::isDamagedCopyName(target, database)
            || MaintenanceFiles::isKeptOldDatabaseName(target, database)
            || MaintenanceFiles::isReplacedFileName(target, database) || target == settings
            || MaintenanceFiles::isReplacedFileName(target, settings))
            remove(m_folder.filePath(name));
    }
    settleCompaction();
    return m_report;
}

void Cleanup::settleBackupRecord(const QString &name, const QString &hex)
{
    const QString record = m_folder.filePath(name);
    QFile file(record);
    // A record holds the staging file's path, then the folders the backup
    // made, one a line; anything longer is not one of ours.
    const QStringList lines = file.open(QIODevice::ReadOnly)
        ? QString::fromUtf8(file.read(16384)).split(u'\n', Qt::SkipEmptyParts)
        : QStringList();
    file.close();
    const QString staging = lines.value(0).trimmed();
    QString stagingHex;
    const QFileInfo info(staging);
    if (info.isAbsolute()
        && MaintenanceFiles::stagingTarget(info.fileName(), &stagingHex) == ApplicationInfo::databaseFileName()
        && stagingHex == hex && !info.fileName().endsWith(QLatin1String("-journal"))) {
        if (info.exists())
            remove(staging);
        if (QFileInfo::exists(MaintenanceFiles::journalOf(staging)))
            remove(MaintenanceFiles::journalOf(staging));
        // The folders the stopped backup made for itself, innermost first:
        // only folders that hold the staging file's place, and only empty.
        const QString stagingFolder = QDir::cleanPath(info.absolutePath());
        for (qsizetype line = lines.size() - 1; line >= 1; --line) {
            const QString folder = QDir::cleanPath(lines[line].trimmed());
            const bool holdsStaging = stagingFolder == folder || stagingFolder.startsWith(folder + u'/');
            if (QFileInfo(folder).isAbsolute() && holdsStaging && QDir().rmdir(folder))
                m_report.removed.append(folder);
        }
    }
    remove(record);
}

bool Cleanup::isPayeeDatabase(const DatabaseCopy::Contents &contents) const
{
    for (PaymentCategory category : kAllCategories) {
        if (!contents.rows.contains(PayeeTable::of(category).tableName()))
            return false;
    }
    return true;
}

void Cleanup::settleCompaction()
{
    const QString compacted = m_folder.filePath(MaintenanceFiles::compactionFileName());
    const QString journal = MaintenanceFiles::journalOf(compacted);
    if (!QFileInfo::exists(compacted) && !QFileInfo::exists(journal))
        return;
    const QString database = m_folder.filePath(ApplicationInfo::databaseFileName());
    if (QFileInfo::exists(database)) {
        if (!DatabaseCopy::open(database).succeeded())
            return;
        // The file before its journal: a journal alone is nothing, while a
        // file without the journal it needed could pass for whole.
        if (QFileInfo::exists(compacted))
            remove(compacted);
        if (QFileInfo::exists(journal))
            remove(journal);
        return;
    }
    if (!QFileInfo::exists(compacted))
        return;
    // Opening it plays back a journal of a half-written transaction first.
    const DatabaseCopy::Outcome checked = DatabaseCopy::inspect(compacted);
    if (!checked.succeeded() || !isPayeeDatabase(checked.contents) || QFileInfo::exists(journal))
        return;
    if (FileReplacement::replace(compacted, database).succeeded())
        m_report.databaseRestored = true;
}

} // namespace

QString Report::message() const
{
    if (folderBusy)
        return QStringLiteral("Program klasöründe pencere olmadan çalışan bir komut (--pdf, --orders-csv) sürdüğü "
                              "için yarım kalmış işlemlerden kalan dosyalara bu açılışta bakılmadı. Hiçbir dosya "
                              "silinmedi; bu iş programın bir sonraki açılışında yapılacak.");
    if (!databaseRestored)
        return {};
    return QStringLiteral("Veritabanı dosyası (Data.dat) bulunamadı. Yarıda kalmış bir bakım işleminden kalan "
                          "sağlam kopya (Yedek.dat) denetlendi ve veritabanı olarak yerine konuldu; kayıtlarınız "
                          "bu kopyadadır.");
}

Report run(const QString &programFolder)
{
    // Its removals and renames must not happen under a command that has
    // the database open.
    const Result<FolderAccess> access = FolderAccess::forMaintenance(programFolder);
    if (access.failed()) {
        Report busy;
        busy.folderBusy = true;
        return busy;
    }
    Cleanup cleanup(programFolder);
    return cleanup.run();
}

} // namespace StartupCleanup
