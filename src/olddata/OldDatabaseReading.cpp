#include "olddata/OldDatabaseReading.h"

#include "base/FileProblem.h"
#include "olddata/OldDatabaseChild.h"
#include "olddata/OldPayeeStream.h"
#include "registry/PayeeDatabase.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

namespace OldDatabaseReading {

namespace {

using Status = Outcome::Status;

// A second for every megabyte on top of a minute: libmdb reads a clerk's
// file of a hundred thousand payees in a second or two.
std::chrono::milliseconds defaultTimeLimit(qint64 size)
{
    return std::chrono::milliseconds(60000 + size / 1024);
}

QString shown(const QString &filePath)
{
    return QDir::toNativeSeparators(QFileInfo(filePath).absoluteFilePath());
}

Outcome failure(Status status, const QString &filePath, const QString &reason)
{
    Outcome outcome;
    outcome.status = status;
    if (status == Status::NotOldDatabase)
        outcome.message = QStringLiteral("'%1' eski programın veritabanı dosyası değil: %2").arg(shown(filePath), reason);
    else
        outcome.message = QStringLiteral("'%1' okunamadı: %2").arg(shown(filePath), reason);
    return outcome;
}

// Copies the file into the temporary folder, hashing what it copies: what
// the child reads and what a kept copy must be are the same bytes.
Outcome copyForReading(const QString &filePath, const QString &copyPath, QByteArray *firstPage)
{
    Outcome outcome;
    outcome.status = Status::Read;
    QFile source(filePath);
    if (!source.open(QIODevice::ReadOnly))
        return failure(Status::Unreadable, filePath, FileProblem::reading(filePath, source.error()) + u'.');
    QFile copy(copyPath);
    if (!copy.open(QIODevice::WriteOnly))
        return failure(Status::Unreadable, filePath,
                       QStringLiteral("geçici kopyası yazılamadı (%1).").arg(FileProblem::writing(copyPath, copy.error())));
    QCryptographicHash hash(QCryptographicHash::Sha256);
    qint64 size = 0;
    QByteArray chunk;
    for (;;) {
        chunk = source.read(1 << 20);
        if (chunk.isEmpty()) {
            if (source.error() != QFileDevice::NoError)
                return failure(Status::Unreadable, filePath, FileProblem::reading(filePath, source.error()) + u'.');
            break;
        }
        if (firstPage->size() < JetHeader::kPageSize)
            firstPage->append(chunk.first(std::min<qsizetype>(chunk.size(), JetHeader::kPageSize - firstPage->size())));
        hash.addData(chunk);
        size += chunk.size();
        if (copy.write(chunk) != chunk.size())
            return failure(Status::Unreadable, filePath,
                           QStringLiteral("geçici kopyası yazılamadı (%1).")
                               .arg(FileProblem::writing(copyPath, copy.error())));
    }
    if (!copy.flush())
        return failure(Status::Unreadable, filePath, QStringLiteral("geçici kopyası yazılamadı."));
    outcome.database.sha256 = hash.result();
    outcome.database.size = size;
    return outcome;
}

// Progress lines of the child: "ilerleme <category> <rows>".
void reportProgress(QByteArray *pending, const OldDatabaseFile::Progress &progress)
{
    qsizetype end = 0;
    while ((end = pending->indexOf('\n')) >= 0) {
        const QList<QByteArray> words = pending->first(end).split(' ');
        pending->remove(0, end + 1);
        bool categoryOk = false;
        bool rowsOk = false;
        if (words.size() != 3 || words[0] != "ilerleme")
            continue;
        const int category = words[1].toInt(&categoryOk);
        const qlonglong rows = words[2].toLongLong(&rowsOk);
        if (categoryOk && rowsOk && isCategoryIndex(category) && progress)
            progress(PaymentCategory(category), qsizetype(rows));
    }
    // Whatever else the child says (a sanitizer's report) is not kept.
    if (pending->size() > 65536)
        pending->clear();
}

} // namespace

bool OldDatabase::hasOldProgramPassword() const
{
    return header.password() == QString::fromLatin1(PayeeDatabase::password());
}

bool looksLikeJet4(const QString &filePath)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return JetHeader::parse(file.read(JetHeader::kPageSize)).kind() == JetHeader::Kind::Jet4;
}

Outcome read(const QString &filePath, const Options &options)
{
    if (!QFileInfo(filePath).isFile())
        return failure(Status::Unreadable, filePath,
                       QFileInfo(filePath).isDir() ? QStringLiteral("bir klasör; veritabanı dosyası değil.")
                                                   : QStringLiteral("dosya bulunamadı."));
    QTemporaryDir folder;
    if (!folder.isValid())
        return failure(Status::Unreadable, filePath, QStringLiteral("geçici klasör oluşturulamadı."));
    const QString copyPath = folder.filePath(QStringLiteral("eski.mdb"));
    QByteArray firstPage;
    Outcome outcome = copyForReading(filePath, copyPath, &firstPage);
    if (!outcome.succeeded())
        return outcome;

    outcome.database.header = JetHeader::parse(firstPage);
    switch (outcome.database.header.kind()) {
    case JetHeader::Kind::NotJet:
        if (firstPage.size() < JetHeader::kPageSize && firstPage.startsWith(QByteArrayLiteral("\0\1\0\0Standard Jet DB")))
            return failure(Status::Unreadable, filePath, QStringLiteral("dosya yarım kalmış; ilk sayfası bile eksik."));
        return failure(Status::NotOldDatabase, filePath, QStringLiteral("bir Access (Jet) veritabanı değil."));
    case JetHeader::Kind::OtherVersion:
        return failure(Status::NotOldDatabase, filePath,
                       QStringLiteral("%1 biçiminde; eski program Jet 4.0 dosyası kullanır.")
                           .arg(outcome.database.header.versionName()));
    case JetHeader::Kind::Jet4:
        break;
    }

    QProcess child;
    child.setProgram(options.program.isEmpty() ? QCoreApplication::applicationFilePath() : options.program);
    child.setArguments({QString::fromLatin1(OldDatabaseChild::kOption), copyPath});
    child.setWorkingDirectory(folder.path());
    child.setStandardInputFile(QProcess::nullDevice());
    child.start();
    if (!child.waitForStarted(30000))
        return failure(Status::Unreadable, filePath, QStringLiteral("okuma işlemi başlatılamadı."));

    const std::chrono::milliseconds limit
        = options.timeLimit.count() > 0 ? options.timeLimit : defaultTimeLimit(outcome.database.size);
    // An answer holds every text twice over at most, and a little for each field.
    const qint64 largestAnswer = (qint64(64) << 20) + 8 * outcome.database.size;
    QDeadlineTimer deadline(limit);
    QByteArray answer;
    QByteArray pending;
    bool tooLarge = false;
    while (!child.waitForFinished(50)) {
        pending += child.readAllStandardError();
        reportProgress(&pending, options.progress);
        answer += child.readAllStandardOutput();
        tooLarge = answer.size() > largestAnswer;
        if (deadline.hasExpired() || tooLarge || child.state() == QProcess::NotRunning)
            break;
    }
    if (child.state() != QProcess::NotRunning) {
        child.kill();
        child.waitForFinished(10000);
        if (tooLarge)
            return failure(Status::Unreadable, filePath,
                           QStringLiteral("okuyucu dosyanın büyüklüğüne göre olanaksız bir yanıt verdi; dosya bozuk olabilir."));
        return failure(Status::Unreadable, filePath,
                       QStringLiteral("okuma %1 saniyede bitmedi ve durduruldu; dosya bozuk olabilir.")
                           .arg(std::chrono::duration_cast<std::chrono::seconds>(limit).count()));
    }
    pending += child.readAllStandardError();
    reportProgress(&pending, options.progress);
    answer += child.readAllStandardOutput();
    if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        return failure(Status::Unreadable, filePath,
                       QStringLiteral("okuyucu dosyayı okurken beklenmedik biçimde durdu; dosya bozuk olabilir."));
    std::optional<OldDatabaseFile::Outcome> decoded = OldPayeeStream::decode(answer);
    if (!decoded)
        return failure(Status::Unreadable, filePath,
                       QStringLiteral("okuyucudan eksik ya da bozuk bir yanıt geldi; dosya bozuk olabilir."));
    switch (decoded->status) {
    case OldDatabaseFile::Status::NotPayeeDatabase:
        return failure(Status::NotOldDatabase, filePath, decoded->message);
    case OldDatabaseFile::Status::Damaged:
        return failure(Status::Unreadable, filePath, decoded->message);
    case OldDatabaseFile::Status::Read:
        break;
    }
    outcome.database.records = std::move(decoded->records);
    return outcome;
}

} // namespace OldDatabaseReading
