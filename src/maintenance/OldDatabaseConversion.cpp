#include "maintenance/OldDatabaseConversion.h"

#include "base/FileProblem.h"
#include "base/FolderAccess.h"
#include "maintenance/FileReplacement.h"
#include "maintenance/MaintenanceFiles.h"
#include "registry/PayeeDatabase.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace OldDatabaseConversion {

namespace {

QString shown(const QString &filePath)
{
    return QDir::toNativeSeparators(QFileInfo(filePath).absoluteFilePath());
}

// The file's SHA-256, or nothing when it cannot be read.
std::optional<QByteArray> digestOf(const QString &filePath)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file) || file.error() != QFileDevice::NoError)
        return std::nullopt;
    return hash.result();
}

bool holdsTheBytesRead(const QString &filePath, const OldDatabaseReading::OldDatabase &database)
{
    return QFileInfo(filePath).size() == database.size && digestOf(filePath) == database.sha256;
}

// Whether the two files hold the same bytes: cheaper than their digests.
bool sameBytes(const QString &first, const QString &second)
{
    QFile a(first);
    QFile b(second);
    if (!a.open(QIODevice::ReadOnly) || !b.open(QIODevice::ReadOnly) || a.size() != b.size())
        return false;
    for (;;) {
        const QByteArray x = a.read(1 << 20);
        const QByteArray y = b.read(1 << 20);
        if (x != y || a.error() != QFileDevice::NoError || b.error() != QFileDevice::NoError)
            return false;
        if (x.isEmpty())
            return true;
    }
}

Result<QString> keepOriginal(const QString &databasePath, const OldDatabaseReading::OldDatabase &database)
{
    for (int n = 1;; ++n) {
        const QString kept = MaintenanceFiles::keptOldDatabasePath(databasePath, n);
        if (QFileInfo::exists(kept)) {
            // Kept by a conversion that was interrupted after it.
            if (holdsTheBytesRead(kept, database))
                return kept;
            continue;
        }
        if (const Result<> copied = FileReplacement::copyAsNew(databasePath, kept); copied.failed())
            return Failure(QStringLiteral("Eski veritabanının kopyası '%1' yazılamadı: %2").arg(shown(kept), copied.message()));
        if (!holdsTheBytesRead(kept, database)) {
            // A copy just made of what the database became since: not the
            // original that was read, and the database itself is still there.
            QFile::remove(kept);
            return Failure(QStringLiteral("'%1' okunduktan sonra değişti. Dönüştürme yapılmadı; program yeniden açıldığında yeniden denenir.")
                               .arg(shown(databasePath)));
        }
        return kept;
    }
}

} // namespace

Result<Converted> convert(const QString &databasePath, const OldDatabaseReading::OldDatabase &database,
                          const PayeeImport::Progress &progress)
{
    // No command writes the folder's database meanwhile.
    const Result<FolderAccess> access = FolderAccess::forMaintenance(QFileInfo(databasePath).absolutePath());
    if (access.failed())
        return access.error();
    if (QFileInfo(databasePath).size() != database.size)
        return Failure(QStringLiteral("'%1' okunduktan sonra değişti. Dönüştürme yapılmadı; program yeniden açıldığında "
                                      "yeniden denenir.")
                           .arg(shown(databasePath)));
    // The kept copy is checked against the bytes read, and the database
    // against the kept copy: both are what was read.
    const Result<QString> kept = keepOriginal(databasePath, database);
    if (kept.failed())
        return kept.error();
    if (!sameBytes(databasePath, *kept))
        return Failure(QStringLiteral("'%1' okunduktan sonra değişti. Dönüştürme yapılmadı; program yeniden açıldığında "
                                      "yeniden denenir.")
                           .arg(shown(databasePath)));

    const Result<QString> staging = PayeeDatabase::buildStaging(databasePath, [&](SqlCipherConnection &connection) {
        return PayeeImport::insertAll(connection, database.records, progress);
    });
    if (staging.failed())
        return Failure(QStringLiteral("Yeni veritabanı '%1' %2").arg(shown(databasePath), staging.message()));
    if (!sameBytes(databasePath, *kept)) {
        QFile::remove(*staging);
        return Failure(QStringLiteral("'%1' okunduktan sonra değişti. Dönüştürme yapılmadı; program yeniden açıldığında "
                                      "yeniden denenir.")
                           .arg(shown(databasePath)));
    }
    if (const Result<> replaced = FileReplacement::replace(*staging, databasePath); replaced.failed()) {
        QFile::remove(*staging);
        return Failure(QStringLiteral("Yeni veritabanı '%1' yerine konamadı: %2 Eski dosya olduğu gibi duruyor.")
                           .arg(shown(databasePath), replaced.message()));
    }
    Converted converted;
    for (PaymentCategory category : kAllCategories) {
        const std::size_t index = std::size_t(categoryIndex(category));
        converted.counts.added[index] = database.records[index].size();
    }
    converted.keptPath = *kept;
    return converted;
}

} // namespace OldDatabaseConversion
