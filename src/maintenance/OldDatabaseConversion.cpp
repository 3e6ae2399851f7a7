#include "maintenance/OldDatabaseConversion.h"

#include "base/FolderAccess.h"
#include "maintenance/FileReplacement.h"
#include "maintenance/MaintenanceFiles.h"
#include "registry/PayeeBulkInsert.h"
#include "registry/PayeeDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace OldDatabaseConversion {

namespace {

using Status = Outcome::Status;

QString shown(const QString &filePath)
{
    return QDir::toNativeSeparators(QFileInfo(filePath).absoluteFilePath());
}

Outcome notConverted(Status status, QString message)
{
    Outcome outcome;
    outcome.status = status;
    outcome.message = std::move(message);
    return outcome;
}

Outcome changedSinceRead(const QString &databasePath)
{
    return notConverted(Status::NotConverted,
                        QStringLiteral("'%1' okunduktan sonra değişti. Dönüştürme yapılmadı; program yeniden "
                                       "açıldığında yeniden denenir.")
                            .arg(shown(databasePath)));
}

struct Kept
{
    QString path;
    bool madeNow = false;
};

// The copy that was read, kept beside the database.
Result<Kept> keepOriginal(const QString &databasePath, const OldDatabaseCopy &copy)
{
    for (int n = 1;; ++n) {
        const QString kept = MaintenanceFiles::keptOldDatabasePath(databasePath, n);
        if (QFileInfo::exists(kept)) {
            // Kept by a conversion that was interrupted after it.
            if (copy.sameBytesAs(kept))
                return Kept{kept, false};
            continue;
        }
        if (const Result<> copied = FileReplacement::copyAsNew(copy.path(), kept); copied.failed())
            return Failure(QStringLiteral("Eski veritabanının kopyası '%1' yazılamadı: %2").arg(shown(kept), copied.message()));
        return Kept{kept, true};
    }
}

} // namespace

Outcome convert(const QString &databasePath, const OldDatabaseReading::Options &options)
{
    // No command writes the folder's database meanwhile.
    const Result<FolderAccess> access = FolderAccess::forMaintenance(QFileInfo(databasePath).absolutePath());
    if (access.failed())
        return notConverted(Status::NotConverted, access.message());

    OldDatabaseReading::Outcome prepared = OldDatabaseReading::prepare(databasePath, options);
    if (prepared.status == OldDatabaseReading::Outcome::Status::Declined)
        return notConverted(Status::Declined, QString());
    if (!prepared.succeeded())
        return notConverted(Status::NotRead, prepared.message);
    const std::shared_ptr<const OldDatabaseCopy> copy = prepared.database.copy;

    const Result<Kept> kept = keepOriginal(databasePath, *copy);
    if (kept.failed())
        return notConverted(Status::NotConverted, kept.message());
    // A kept file made now of bytes the database no longer holds is no
    // original: it goes with the failed conversion.
    const auto dropKept = [&] {
        if (kept->madeNow)
            QFile::remove(kept->path);
    };

    OldDatabaseReading::Outcome read;
    bool readingTried = false;
    SqlCipherConnection::Error written;
    const Result<QString> staging = PayeeDatabase::buildStaging(databasePath, [&](SqlCipherConnection &connection) {
        readingTried = true;
        PayeeBulkInsert insert(connection);
        read = OldDatabaseReading::readRows(databasePath, std::move(prepared.database), options,
                                            [&](PaymentCategory category, const PayeeUtf8Fields &fields) {
                                                written = insert.append(category, fields);
                                                return !written.isError();
                                            });
        if (!written.isError() && read.succeeded())
            written = insert.finish();
        if (written.isError())
            return written;
        // The rows are not the file's: the staging file goes.
        if (!read.succeeded())
            return SqlCipherConnection::Error{SqlCipherConnection::Failure::Other, 0, QStringLiteral("not read")};
        return SqlCipherConnection::Error{};
    });
    if (readingTried && !written.isError() && !read.succeeded()) {
        dropKept();
        return notConverted(Status::NotRead, read.message);
    }
    if (staging.failed()) {
        dropKept();
        return notConverted(Status::NotConverted,
                            QStringLiteral("Yeni veritabanı '%1' %2").arg(shown(databasePath), staging.message()));
    }
    if (!copy->sameBytesAs(databasePath)) {
        QFile::remove(*staging);
        dropKept();
        return changedSinceRead(databasePath);
    }
    if (const Result<> replaced = FileReplacement::replace(*staging, databasePath); replaced.failed()) {
        QFile::remove(*staging);
        return notConverted(Status::NotConverted,
                            QStringLiteral("Yeni veritabanı '%1' yerine konamadı: %2 Eski dosya olduğu gibi duruyor.")
                                .arg(shown(databasePath), replaced.message()));
    }
    Outcome outcome;
    outcome.status = Status::Converted;
    for (PaymentCategory category : kAllCategories) {
        const std::size_t index = std::size_t(categoryIndex(category));
        outcome.counts.added[index] = qsizetype(read.database.rows[index]);
    }
    outcome.keptPath = kept->path;
    return outcome;
}

} // namespace OldDatabaseConversion
