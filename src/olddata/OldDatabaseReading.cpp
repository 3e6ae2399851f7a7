#include "olddata/OldDatabaseReading.h"

#include "olddata/OldDatabaseChild.h"
#include "registry/PayeeDatabase.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/prctl.h>
#endif

namespace OldDatabaseReading {

namespace {

using Status = Outcome::Status;

constexpr qsizetype kProgressStep = 500;

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

// Runs the child in the mode of option on the copy, its output fed to
// reader as it comes. Read when the child answered whole with its file read.
Outcome runChild(const QString &filePath, const OldDatabase &database, const char *option, const Options &options,
                 OldPayeeStreamReader &reader)
{
    QProcess child;
    child.setProgram(options.program.isEmpty() ? QCoreApplication::applicationFilePath() : options.program);
    child.setArguments({QString::fromLatin1(option), database.copy->path()});
    child.setWorkingDirectory(QDir::rootPath());
    child.setStandardInputFile(QProcess::nullDevice());
    // What else the child says (a sanitizer's report) is not the answer.
    child.setStandardErrorFile(QProcess::nullDevice());
#ifdef Q_OS_UNIX
    const int descriptor = database.copy->descriptor();
    const pid_t parent = ::getpid();
    child.setChildProcessModifier([descriptor, parent] {
        // The copy's descriptor, and no other, goes over to the child.
        if (descriptor >= 0)
            ::fcntl(descriptor, F_SETFD, ::fcntl(descriptor, F_GETFD) & ~FD_CLOEXEC);
#ifdef Q_OS_LINUX
        // The reader dies with its parent, even one killed before the
        // reader has started.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(127);
#else
        Q_UNUSED(parent);
#endif
    });
#endif
    child.start();
    if (!child.waitForStarted(30000))
        return failure(Status::Unreadable, filePath, QStringLiteral("okuma işlemi başlatılamadı."));

    const std::chrono::milliseconds limit
        = options.timeLimit.count() > 0 ? options.timeLimit : defaultTimeLimit(database.size);
    // An answer holds every text twice over at most, and a little for each field.
    const qint64 largestAnswer = (qint64(64) << 20) + 8 * database.size;
    QDeadlineTimer deadline(limit);
    qint64 received = 0;
    bool tooLarge = false;
    const auto take = [&] {
        const QByteArray bytes = child.readAllStandardOutput();
        received += bytes.size();
        tooLarge = received > largestAnswer;
        return reader.feed(bytes) && !tooLarge;
    };
    bool taking = true;
    while (taking) {
        if (child.waitForReadyRead(int(std::clamp<qint64>(deadline.remainingTime(), 0, 100)))) {
            taking = take();
            continue;
        }
        if (child.state() == QProcess::NotRunning || deadline.hasExpired())
            break;
    }
    if (child.state() != QProcess::NotRunning) {
        child.kill();
        child.waitForFinished(10000);
        if (reader.state() == OldPayeeStreamReader::State::Stopped)
            return Outcome{Status::Stopped, QString(), {}};
        if (tooLarge)
            return failure(Status::Unreadable, filePath,
                           QStringLiteral("okuyucu dosyanın büyüklüğüne göre olanaksız bir yanıt verdi; dosya bozuk olabilir."));
        if (!taking)
            return failure(Status::Unreadable, filePath,
                           QStringLiteral("okuyucudan eksik ya da bozuk bir yanıt geldi; dosya bozuk olabilir."));
        return failure(Status::Unreadable, filePath,
                       QStringLiteral("okuma %1 saniyede bitmedi ve durduruldu; dosya bozuk olabilir.")
                           .arg(std::chrono::duration_cast<std::chrono::seconds>(limit).count()));
    }
    if (taking)
        take();
    if (reader.state() == OldPayeeStreamReader::State::Stopped)
        return Outcome{Status::Stopped, QString(), {}};
    if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        return failure(Status::Unreadable, filePath,
                       QStringLiteral("okuyucu dosyayı okurken beklenmedik biçimde durdu; dosya bozuk olabilir."));
    if (reader.state() != OldPayeeStreamReader::State::Ended)
        return failure(Status::Unreadable, filePath,
                       QStringLiteral("okuyucudan eksik ya da bozuk bir yanıt geldi; dosya bozuk olabilir."));
    switch (reader.outcome().status) {
    case OldDatabaseFile::Status::NotPayeeDatabase:
        return failure(Status::NotOldDatabase, filePath, reader.outcome().message);
    case OldDatabaseFile::Status::Damaged:
        return failure(Status::Unreadable, filePath, reader.outcome().message);
    case OldDatabaseFile::Status::Read:
        break;
    }
    return Outcome{Status::Read, QString(), {}};
}

QString textOf(const std::optional<QByteArrayView> &utf8)
{
    if (!utf8)
        return QString();
    // Present but empty: an empty text, never an absent one.
    if (utf8->isEmpty())
        return QString(QLatin1String(""));
    return QString::fromUtf8(*utf8);
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

Outcome prepare(const QString &filePath, const Options &options)
{
    if (!QFileInfo(filePath).isFile())
        return failure(Status::Unreadable, filePath,
                       QFileInfo(filePath).isDir() ? QStringLiteral("bir klasör; veritabanı dosyası değil.")
                                                   : QStringLiteral("dosya bulunamadı."));
    Result<std::shared_ptr<const OldDatabaseCopy>> copy = OldDatabaseCopy::make(filePath);
    if (copy.failed())
        return failure(Status::Unreadable, filePath, copy.message());

    Outcome outcome;
    outcome.status = Status::Read;
    outcome.database.copy = *copy;
    outcome.database.size = (*copy)->size();
    const QByteArray &firstPage = (*copy)->firstPage();
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
    if (outcome.database.hasOldProgramPassword())
        return outcome;

    // Another password: whether it holds the four tables at all, before
    // anyone is asked about it and before a row is read.
    OldPayeeStreamReader reader({});
    const Outcome looked = runChild(filePath, outcome.database, OldDatabaseChild::kLookOption, options, reader);
    if (!looked.succeeded())
        return looked;
    if (!options.acceptOtherPassword || !options.acceptOtherPassword(outcome.database))
        outcome.status = Status::Declined;
    return outcome;
}

Outcome readRows(const QString &filePath, OldDatabase prepared, const Options &options,
                 const OldPayeeStreamReader::RowSink &sink)
{
    Outcome outcome;
    outcome.database = std::move(prepared);
    PayeeRecords &records = outcome.database.records;
    std::array<qsizetype, kCategoryCount> counted{};
    const auto tell = [&](PaymentCategory category) {
        if (options.progress)
            options.progress(category, counted[std::size_t(categoryIndex(category))]);
    };
    std::optional<PaymentCategory> last;
    OldPayeeStreamReader reader([&](PaymentCategory category, const PayeeUtf8Fields &fields) {
        if (last && *last != category)
            tell(*last);
        last = category;
        if (sink) {
            if (!sink(category, fields))
                return false;
        } else {
            PayeeFields record;
            for (int i = 0; i < kPayeeColumnCount; ++i)
                record[std::size_t(i)] = textOf(fields[std::size_t(i)]);
            records[std::size_t(categoryIndex(category))].append(std::move(record));
        }
        if (++counted[std::size_t(categoryIndex(category))] % kProgressStep == 0)
            tell(category);
        return true;
    });
    const Outcome read = runChild(filePath, outcome.database, OldDatabaseChild::kOption, options, reader);
    outcome.status = read.status;
    outcome.message = read.message;
    if (!read.succeeded()) {
        records = {};
        return outcome;
    }
    outcome.database.rows = reader.outcome().rows;
    if (last)
        tell(*last);
    return outcome;
}

Outcome read(const QString &filePath, const Options &options)
{
    Outcome prepared = prepare(filePath, options);
    if (!prepared.succeeded())
        return prepared;
    return readRows(filePath, std::move(prepared.database), options);
}

} // namespace OldDatabaseReading
