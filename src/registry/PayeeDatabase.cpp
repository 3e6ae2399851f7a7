#include "registry/PayeeDatabase.h"

#include "base/ApplicationInfo.h"
#include "base/ProgramFolder.h"
#include "registry/OrderRegister.h"
#include "registry/PayeeTable.h"
#include "registry/TurkishCollation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#ifndef Q_OS_WIN
#include <cerrno>
#include <unistd.h>
#endif

namespace {

using SqlFailure = SqlCipherConnection::Failure;

QString shownPath(const QString &filePath)
{
    return QDir::toNativeSeparators(QFileInfo(filePath).absoluteFilePath());
}

PayeeDatabase::OpenResult opened()
{
    return {PayeeDatabase::OpenStatus::Opened, {}};
}

PayeeDatabase::OpenResult openFailure(const QString &filePath, const SqlCipherConnection::Error &error)
{
    using Status = PayeeDatabase::OpenStatus;
    const QString head = QStringLiteral("Veritabanı dosyası açılamadı: %1 ").arg(shownPath(filePath));
    switch (error.failure) {
    case SqlFailure::Missing:
        return {Status::Missing, QStringLiteral("Veritabanı dosyası bulunamadı: %1").arg(shownPath(filePath))};
    case SqlFailure::NotADatabase:
        return {Status::NotADatabase,
                head + QStringLiteral("başka bir parolayla şifrelenmiş ya da bir veritabanı dosyası değil.")};
    case SqlFailure::Busy:
        return {Status::Locked, head + QStringLiteral("başka bir program tarafından kilitlenmiş. "
                                                      "O program işini bitirince yeniden deneyin.")};
    case SqlFailure::Corrupt:
        return {Status::IoError,
                head + QStringLiteral("bozuk. Bakım ve Onarım ile onarmayı deneyin.")};
    default:
        return {Status::IoError, head + PayeeDatabase::failureReason(error, filePath)};
    }
}

PayeeDatabase::OpenResult incompatible(const QString &filePath, const QString &reason)
{
    return {PayeeDatabase::OpenStatus::Incompatible,
            QStringLiteral("Veritabanı dosyası açılamadı: %1 %2").arg(shownPath(filePath), reason)};
}

PayeeDatabase::OpenResult createFailure(const QString &filePath, PayeeDatabase::OpenStatus status,
                                        const QString &reason)
{
    return {status, QStringLiteral("Veritabanı dosyası oluşturulamadı: %1 %2").arg(shownPath(filePath), reason)};
}

// The statements of a schema, one a line, in the order a compacted copy
// makes their objects: tables, then indexes, then triggers. A new file laid
// out so is what its compaction gives back, page for page.
QString inCopyOrder(const QString &schema)
{
    QStringList tables;
    QStringList indexes;
    QStringList others;
    for (const QString &statement : schema.split(u'\n', Qt::SkipEmptyParts)) {
        if (statement.startsWith(QLatin1String("CREATE TABLE")))
            tables.append(statement);
        else if (statement.startsWith(QLatin1String("CREATE INDEX")))
            indexes.append(statement);
        else
            others.append(statement);
    }
    return (tables + indexes + others).join(u'\n') + u'\n';
}

void removeStaging(const QString &stagingPath)
{
    QFile::remove(stagingPath);
    QFile::remove(stagingPath + QStringLiteral("-journal"));
}

enum class Naming { Named, Taken, Failed };

// Gives the finished staging file the database's name only while that name
// is free. QFile::rename falls back to copying over the target when the
// system's rename refuses, which could overwrite the file another copy of
// the program put there a moment ago; a hard link fails instead.
Naming nameAsNew(const QString &stagingPath, const QString &filePath)
{
#ifndef Q_OS_WIN
    const QByteArray from = QFile::encodeName(stagingPath);
    const QByteArray to = QFile::encodeName(filePath);
    if (::link(from.constData(), to.constData()) == 0) {
        ::unlink(from.constData());
        return Naming::Named;
    }
    if (errno == EEXIST)
        return Naming::Taken;
    // Some file systems (FAT on a memory stick) have no hard links.
#endif
    if (QFileInfo::exists(filePath))
        return Naming::Taken;
    // Windows never renames over an existing file.
    if (QFile::rename(stagingPath, filePath))
        return Naming::Named;
    return QFileInfo::exists(filePath) ? Naming::Taken : Naming::Failed;
}

} // namespace

QString PayeeDatabase::defaultFilePath()
{
    return ProgramFolder::filePath(ApplicationInfo::databaseFileName());
}

QByteArray PayeeDatabase::password()
{
    return QByteArrayLiteral("*.417305");
}

PayeeDatabase::PayeeDatabase() = default;

PayeeDatabase::~PayeeDatabase() = default;

PayeeDatabase::OpenResult PayeeDatabase::openConnection(SqlCipherConnection &connection, const QString &filePath,
                                                        bool create)
{
    const SqlCipherConnection::Error error = create ? connection.create(filePath, password())
                                                    : connection.open(filePath, password());
    if (error.isError())
        return openFailure(filePath, error);
    const SqlCipherConnection::Error collation
        = connection.registerCollation(TurkishCollation::kName, TurkishCollation::compareUtf8);
    if (collation.isError()) {
        connection.close();
        return openFailure(filePath, collation);
    }
    return opened();
}

PayeeDatabase::OpenResult PayeeDatabase::open(const QString &filePath)
{
    close();
    OpenResult result = openConnection(m_connection, filePath, false);
    if (!result.isOpened())
        return result;

    // Only reads until the file has proven to be ours.
    SqlCipherConnection::Error error;
    const qint64 version = m_connection.queryInt64(QStringLiteral("PRAGMA user_version"), &error);
    if (!error.isError() && version > kSchemaVersion) {
        m_connection.close();
        return incompatible(filePath, QStringLiteral("programın daha yeni bir sürümüyle oluşturulmuş; "
                                                     "bu sürüm onu kullanamaz."));
    }
    for (PaymentCategory category : kAllCategories) {
        if (error.isError())
            break;
        SqlCipherConnection::Statement probe = m_connection.prepare(PayeeTable::of(category).selectSql());
        error = probe.error();
    }
    if (error.isError()) {
        m_connection.close();
        if (error.failure == SqlFailure::Other)
            return incompatible(filePath, QStringLiteral("kişi ve kurum tablolarını içermiyor."));
        return openFailure(filePath, error);
    }
    result = opened();
    m_nameIndexesCurrent = true;
    m_hasOrderRegister = true;
    // A file of version 4 that cannot be written loses nothing but the
    // quicker name search of the register: it opens without a notice.
    if (version < kSchemaVersion && !upgrade(version) && version < 4) {
        // Versions 1 and 2 keep their names in an older order; 3 has today's.
        m_nameIndexesCurrent = version >= 3;
        m_hasOrderRegister = false;
        QString consequences;
        if (!m_nameIndexesCurrent)
            consequences = QStringLiteral("Listeler ad sırası dizini kullanılmadan sıralanacak ve aranacak; çok "
                                          "kayıtlı listelerde bu yavaş olabilir. ");
        consequences += QStringLiteral("Yazdırılan belgeler belge kaydına işlenemeyecek. ");
        result.notice = QStringLiteral("Veritabanı dosyası eski bir sürümden kalma ve yazılamadığı için güncellenemedi: "
                                       "%1\n\n%2Dosyanın ve klasörünün yazma iznini düzeltip programı yeniden "
                                       "açtığınızda dosya bir kez güncellenir.")
                            .arg(shownPath(filePath), consequences);
    }
    ++m_generation;
    return result;
}

bool PayeeDatabase::upgrade(qint64 version)
{
    // Versions 1 and 2 hold their name indexes in an older order; the sorted
    // lists and the range search need today's. Every older file gets the
    // register of issued orders. One transaction: the file is brought up to
    // date whole or not at all. A file that cannot be written now still
    // opens, and the upgrade runs at a later open.
    QString sql = QStringLiteral("BEGIN;\n");
    if (version < 3)
        sql += QStringLiteral("REINDEX %1;\n").arg(QString::fromLatin1(TurkishCollation::kName));
    sql += OrderRegister::upgradeSql(version);
    sql += QStringLiteral("PRAGMA user_version = %1;\nCOMMIT;\n").arg(kSchemaVersion);
    const SqlCipherConnection::Error error = m_connection.execute(sql);
    if (error.isError())
        m_connection.execute(QStringLiteral("ROLLBACK"));
    return !error.isError();
}

PayeeDatabase::OpenResult PayeeDatabase::create(const QString &filePath)
{
    return create(filePath, Fill());
}

Result<QString> PayeeDatabase::buildStaging(const QString &filePath, const Fill &fill)
{
    QString stagingPath;
    do {
        stagingPath = QStringLiteral("%1.%2.yeni").arg(filePath).arg(QRandomGenerator::global()->generate(), 8, 16,
                                                                       QLatin1Char('0'));
    } while (QFileInfo::exists(stagingPath));

    SqlCipherConnection staging;
    SqlCipherConnection::Error error = staging.create(stagingPath, password());
    if (!error.isError())
        error = staging.registerCollation(TurkishCollation::kName, TurkishCollation::compareUtf8);
    if (error.isError()) {
        staging.close();
        removeStaging(stagingPath);
        return Failure(QStringLiteral("yazılamadı."));
    }
    QString objects;
    for (PaymentCategory category : kAllCategories)
        objects += PayeeTable::of(category).createSql();
    objects += OrderRegister::createSql();
    // The tables first, then what fills them, then their indexes: an index
    // made over rows that are there is built in one sort.
    const QStringList ordered = inCopyOrder(objects).split(u'\n', Qt::SkipEmptyParts);
    QString tables;
    QString rest;
    for (const QString &statement : ordered)
        (statement.startsWith(QLatin1String("CREATE TABLE")) ? tables : rest) += statement + u'\n';
    error = staging.execute(QStringLiteral("BEGIN;\n") + tables);
    if (!error.isError() && fill)
        error = fill(staging);
    if (!error.isError())
        error = staging.execute(rest + QStringLiteral("PRAGMA user_version = %1;\nCOMMIT;\n").arg(kSchemaVersion));
    if (error.isError() && staging.inTransaction())
        staging.execute(QStringLiteral("ROLLBACK"));
    staging.close();
    if (error.isError()) {
        removeStaging(stagingPath);
        return Failure(QStringLiteral("yazılamadı: %1").arg(failureReason(error, stagingPath)));
    }
    return stagingPath;
}

PayeeDatabase::OpenResult PayeeDatabase::create(const QString &filePath, const Fill &fill)
{
    close();
    // The file has appeared since the caller found it missing: another copy
    // of the program (windowless commands started together) has made it. A
    // file under this name is always whole, for the name is given only to a
    // finished file; it is opened as it is, and never replaced.
    if (QFileInfo::exists(filePath))
        return open(filePath);

    // Built under another name and renamed when complete, so that a failure
    // half way leaves no half database under the real name.
    const Result<QString> staging = buildStaging(filePath, fill);
    if (staging.failed())
        return createFailure(filePath, OpenStatus::IoError, staging.message());
    const QString &stagingPath = *staging;
    const Naming naming = nameAsNew(stagingPath, filePath);
    if (naming != Naming::Named)
        removeStaging(stagingPath);
    if (naming == Naming::Failed)
        return createFailure(filePath, OpenStatus::IoError, QStringLiteral("yazılamadı."));
    // Ours, or the one another copy finished first.
    OpenResult opened = open(filePath);
    opened.created = naming == Naming::Named && opened.isOpened();
    return opened;
}

void PayeeDatabase::close()
{
    if (m_connection.isOpen()) {
        m_connection.close();
        ++m_generation;
    }
}

QString PayeeDatabase::failureReason(const SqlCipherConnection::Error &error, const QString &filePath)
{
    // The engine's own words are English: every reason is said here, and a
    // reason this program cannot name carries the engine's number only.
    constexpr int kCantOpen = 14;
    constexpr int kCantOpenIsDirectory = 526;
    constexpr int kConstraintTrigger = 1811;
    constexpr int kReadOnlyDirectory = 1544;
    switch (error.failure) {
    case SqlFailure::None:
        return {};
    case SqlFailure::Busy:
        return QStringLiteral("veritabanı dosyası başka bir program tarafından kilitlenmiş. "
                              "Biraz sonra yeniden deneyin.");
    case SqlFailure::ReadOnly:
        if (error.code == kReadOnlyDirectory)
            return QStringLiteral("veritabanı dosyasının bulunduğu klasör salt okunur; değişiklik yazılamıyor.");
        return QStringLiteral("veritabanı dosyası salt okunur; değişiklik yazılamıyor.");
    case SqlFailure::Constraint:
        // A trigger of the office's own says why in its own words.
        if (error.code == kConstraintTrigger && !error.detail.isEmpty())
            return QStringLiteral("veritabanı kaydı kabul etmedi (%1).").arg(error.detail);
        return QStringLiteral("veritabanı kaydı kabul etmedi: kayıt veritabanının kurallarına uymuyor.");
    case SqlFailure::DiskFull:
        return QStringLiteral("disk dolu. Yer açıp yeniden deneyin.");
    case SqlFailure::Corrupt:
        return QStringLiteral("veritabanı dosyası bozuk. Bakım ve Onarım ile onarmayı deneyin.");
    case SqlFailure::NotADatabase:
        return QStringLiteral("veritabanı dosyası başka bir parolayla şifrelenmiş ya da bir veritabanı dosyası değil.");
    case SqlFailure::Missing:
        return QStringLiteral("veritabanı dosyası bulunamadı.");
    case SqlFailure::AlreadyExists:
        return QStringLiteral("dosya zaten var.");
    case SqlFailure::Io:
        if ((error.code & 0xFF) == kCantOpen) {
            const QFileInfo file(filePath);
            if (error.code == kCantOpenIsDirectory || (!filePath.isEmpty() && file.isDir()))
                return QStringLiteral("bir klasör; veritabanı dosyası değil.");
            if (!filePath.isEmpty() && !QFileInfo(file.absolutePath()).isWritable())
                return QStringLiteral("dosyanın bulunduğu klasöre yazılamıyor (yazma izni yok); "
                                      "değişiklikler için geçici günlük dosyası oluşturulamadı.");
            if (!filePath.isEmpty() && file.exists() && !file.isReadable())
                return QStringLiteral("dosyayı okuma izni yok.");
            return QStringLiteral("dosya ya da yanındaki geçici günlük dosyası açılamadı; "
                                  "klasörün ve dosyanın izinlerini denetleyin.");
        }
        return QStringLiteral("diskte bir okuma ya da yazma hatası oluştu (SQLite hata kodu %1).").arg(error.code);
    case SqlFailure::Other:
        break;
    }
    return QStringLiteral("beklenmeyen bir veritabanı hatası oluştu (SQLite hata kodu %1).").arg(error.code);
}
