#include "base/ProgramLock.h"

#include "base/FileProblem.h"
#include "base/ProgramFolder.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <QThread>

#include <limits>
#include <memory>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace ProgramLock {

namespace {

const QByteArray kHeader = QByteArrayLiteral("Zenparol.lock 1");
const QByteArray kEnd = QByteArrayLiteral("end");
// A lock file is a few short lines; anything longer is not one.
constexpr qint64 kLongestRecord = 4096;

// How long a lock file may look half made or half taken over before it is
// judged as it is: a copy that is making or taking it over needs a moment.
// It also covers the moment of a restart, when the old copy lets go.
constexpr int kSettleMilliseconds = 1000;
constexpr int kRetryMilliseconds = 25;

// The identity of a file, to tell whether the name still leads to the file
// that was read.
struct FileIdentity
{
    qint64 device = -1;
    qint64 inode = -1;
    friend bool operator==(const FileIdentity &, const FileIdentity &) = default;
};

// The lock file that was asked about, kept open (and locked, where the file
// system keeps locks) until the answer, so that no other copy takes it
// over meanwhile.
struct Pending
{
    std::unique_ptr<QFile> file;
    QByteArray record;
    std::optional<FileIdentity> identity;
};

struct State
{
    std::unique_ptr<QFile> held;
    std::optional<Pending> pending;
};

State &state()
{
    static State current;
    return current;
}

QString lockPath()
{
    return ProgramFolder::filePath(fileName());
}

QString oneLine(QString text)
{
    text.replace(u'\n', u' ');
    text.replace(u'\r', u' ');
    return text.trimmed();
}

#ifdef Q_OS_WIN

// Windows keeps no lock of ours on the file: the process tells a live
// holder from a dead one.
enum class Probe { Free, Busy, Unsupported };

Probe probe(QFile &)
{
    return Probe::Unsupported;
}

bool lockForLife(QFile &)
{
    return false;
}

std::optional<FileIdentity> identityOf(QFile &)
{
    return FileIdentity{};
}

std::optional<FileIdentity> identityAt(const QString &path)
{
    return QFileInfo::exists(path) ? std::optional<FileIdentity>(FileIdentity{}) : std::nullopt;
}

QString processStartOf(qint64)
{
    return {};
}

bool processExists(qint64 pid)
{
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, DWORD(pid));
    if (!process)
        return GetLastError() == ERROR_ACCESS_DENIED;
    DWORD code = 0;
    const bool running = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
    CloseHandle(process);
    return running;
}

QString userName()
{
    return qEnvironmentVariable("USERNAME");
}

enum class Creation { Created, Exists, Impossible };

Creation createNew(const QString &path, QFile &file)
{
    file.setFileName(path);
    if (file.open(QIODevice::ReadWrite | QIODevice::NewOnly))
        return Creation::Created;
    return QFileInfo::exists(path) ? Creation::Exists : Creation::Impossible;
}

#else

enum class Probe { Free, Busy, Unsupported };

// Tries to lock the file as its holder does; a holder that runs keeps it.
Probe probe(QFile &file)
{
    for (;;) {
        if (::flock(file.handle(), LOCK_EX | LOCK_NB) == 0)
            return Probe::Free;
        if (errno == EINTR)
            continue;
        return errno == EWOULDBLOCK ? Probe::Busy : Probe::Unsupported;
    }
}

// The holder's own lock for as long as it runs. Another copy looking at
// the new file may hold it for a moment.
bool lockForLife(QFile &file)
{
    const QDeadlineTimer deadline(kSettleMilliseconds / 2);
    for (;;) {
        const Probe locked = probe(file);
        if (locked != Probe::Busy)
            return locked == Probe::Free;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(kRetryMilliseconds);
    }
}

std::optional<FileIdentity> identityOf(QFile &file)
{
    struct stat info;
    if (::fstat(file.handle(), &info) != 0)
        return std::nullopt;
    return FileIdentity{qint64(info.st_dev), qint64(info.st_ino)};
}

std::optional<FileIdentity> identityAt(const QString &path)
{
    struct stat info;
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return FileIdentity{qint64(info.st_dev), qint64(info.st_ino)};
}

// The fields of /proc/PID/stat from the third on (the state first); empty
// where there is no such file.
QList<QByteArray> processFields(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return {};
    const QByteArray line = stat.readAll();
    // The name in parentheses may hold spaces and parentheses itself.
    const qsizetype nameEnd = line.lastIndexOf(')');
    if (nameEnd < 0)
        return {};
    return line.mid(nameEnd + 1).simplified().split(' ');
}

// The process's start in clock ticks since the boot (the 22nd field).
QString processStartOf(qint64 pid)
{
    const QList<QByteArray> fields = processFields(pid);
    constexpr int kStartField = 22 - 3;
    return fields.size() > kStartField ? QString::fromLatin1(fields[kStartField]) : QString();
}

// A process that has ended but is not yet collected by its parent holds
// nothing any more.
bool processEnded(qint64 pid)
{
    const QList<QByteArray> fields = processFields(pid);
    return !fields.isEmpty() && (fields.first() == "Z" || fields.first() == "X");
}

bool processExists(qint64 pid)
{
    if (pid <= 0 || pid > qint64(std::numeric_limits<pid_t>::max()))
        return false;
    return (::kill(pid_t(pid), 0) == 0 || errno == EPERM) && !processEnded(pid);
}

QString userName()
{
    if (const passwd *user = ::getpwuid(::geteuid()); user && user->pw_name)
        return QString::fromLocal8Bit(user->pw_name);
    return qEnvironmentVariable("USER");
}

enum class Creation { Created, Exists, Impossible };

Creation createNew(const QString &path, QFile &file)
{
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (descriptor < 0)
        return errno == EEXIST ? Creation::Exists : Creation::Impossible;
    if (!file.open(descriptor, QIODevice::ReadWrite, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        ::unlink(QFile::encodeName(path).constData());
        return Creation::Impossible;
    }
    return Creation::Created;
}

#endif

QString thisBoot()
{
    return QString::fromLatin1(QSysInfo::bootUniqueId());
}

QString thisMachine()
{
    return QString::fromLatin1(QSysInfo::machineUniqueId());
}

QByteArray ownRecord()
{
    const QDateTime now = QDateTime::currentDateTime();
    const qint64 pid = QCoreApplication::applicationPid();
    const QStringList lines{
        QString::fromLatin1(kHeader),
        QStringLiteral("host=") + oneLine(QSysInfo::machineHostName()),
        QStringLiteral("user=") + oneLine(userName()),
        QStringLiteral("pid=%1").arg(pid),
        QStringLiteral("started=") + now.toOffsetFromUtc(now.offsetFromUtc()).toString(Qt::ISODate),
        QStringLiteral("machine=") + oneLine(thisMachine()),
        QStringLiteral("boot=") + oneLine(thisBoot()),
        QStringLiteral("process-start=") + processStartOf(pid),
        QString::fromLatin1(kEnd),
    };
    return (lines.join(u'\n') + u'\n').toUtf8();
}

std::optional<Holder> parse(const QByteArray &record)
{
    if (record.size() > kLongestRecord)
        return std::nullopt;
    QList<QByteArray> lines = record.split('\n');
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    // A record without its last line is one being written or cut short.
    if (lines.size() < 2 || lines.first().trimmed() != kHeader || lines.last().trimmed() != kEnd)
        return std::nullopt;
    Holder holder;
    for (qsizetype i = 1; i + 1 < lines.size(); ++i) {
        const QString line = QString::fromUtf8(lines[i]);
        const qsizetype equals = line.indexOf(u'=');
        if (equals <= 0)
            return std::nullopt;
        const QString key = line.left(equals);
        const QString value = line.mid(equals + 1).trimmed();
        if (key == QLatin1String("host"))
            holder.host = value;
        else if (key == QLatin1String("user"))
            holder.user = value;
        else if (key == QLatin1String("pid"))
            holder.pid = value.toLongLong();
        else if (key == QLatin1String("started"))
            holder.started = QDateTime::fromString(value, Qt::ISODate);
        else if (key == QLatin1String("machine"))
            holder.machine = value;
        else if (key == QLatin1String("boot"))
            holder.boot = value;
        else if (key == QLatin1String("process-start"))
            holder.processStart = value;
    }
    if (holder.host.isEmpty() || holder.pid <= 0 || !holder.started.isValid())
        return std::nullopt;
    return holder;
}

// Whether the copy that a lock file of this computer names still runs.
bool isRunning(const Holder &holder)
{
    const QString boot = thisBoot();
    if (!holder.boot.isEmpty() && !boot.isEmpty() && holder.boot != boot)
        return false;
    if (!processExists(holder.pid))
        return false;
    const QString start = processStartOf(holder.pid);
    return holder.processStart.isEmpty() || start.isEmpty() || start == holder.processStart;
}

QByteArray readRecord(QFile &file)
{
    file.seek(0);
    return file.read(kLongestRecord + 1);
}

QString holderLines(const Holder &holder)
{
    QStringList lines;
    lines << QStringLiteral("Bilgisayar: %1%2")
                 .arg(holder.host, holder.onThisComputer() ? QStringLiteral(" (bu bilgisayar)") : QString());
    if (!holder.user.isEmpty())
        lines << QStringLiteral("Kullanıcı: %1").arg(holder.user);
    lines << QStringLiteral("Açılış: %1").arg(shownTime(holder.started));
    return lines.join(u'\n');
}

Attempt decided(Status status, std::optional<Holder> holder = std::nullopt)
{
    Attempt attempt;
    attempt.status = status;
    attempt.holder = std::move(holder);
    return attempt;
}

Attempt notRemoved(QFile &file, const QString &path)
{
    Attempt attempt = decided(Status::NotTakenOver);
    attempt.problem = QStringLiteral("%1 (%2)").arg(QDir::toNativeSeparators(path),
                                                   FileProblem::writing(path, file.error()));
    return attempt;
}

// Removes the lock file at path, which must still be the one that was
// read; false when it no longer is.
std::optional<Attempt> removeIfUnchanged(const QString &path, const std::optional<FileIdentity> &identity,
                                         const QByteArray &record, bool *removed)
{
    *removed = false;
    if (!identity || identityAt(path) != identity)
        return std::nullopt;
    QFile now(path);
    if (now.open(QIODevice::ReadOnly)) {
        if (readRecord(now) != record)
            return std::nullopt;
        now.close();
    }
    if (!now.remove() && QFileInfo::exists(path))
        return notRemoved(now, path);
    *removed = true;
    return std::nullopt;
}

// One look at the folder: the lock taken, or a judgement of the lock file
// there; nothing while it looks half made or half taken over, unless
// settled says that it has had its time.
std::optional<Attempt> tryOnce(bool settled)
{
    const QString path = lockPath();
    for (;;) {
        auto mine = std::make_unique<QFile>();
        switch (createNew(path, *mine)) {
        case Creation::Created: {
            (void)lockForLife(*mine);
            const QByteArray record = ownRecord();
            if (mine->write(record) != record.size() || !mine->flush()) {
                mine->close();
                QFile::remove(path);
                return decided(Status::Unprotected);
            }
            state().held = std::move(mine);
            return decided(Status::Taken);
        }
        case Creation::Impossible:
            return decided(Status::Unprotected);
        case Creation::Exists:
            break;
        }

        auto theirs = std::make_unique<QFile>(path);
        if (!theirs->open(QIODevice::ReadWrite) && !theirs->open(QIODevice::ReadOnly)) {
            const std::optional<FileIdentity> identity = identityAt(path);
            if (!identity)
                continue; // gone meanwhile: make it anew
            if (!settled)
                return std::nullopt;
            state().pending = Pending{nullptr, QByteArray(), identity};
            return decided(Status::Unreadable);
        }
        const Probe probed = probe(*theirs);
        const QByteArray record = readRecord(*theirs);
        const std::optional<Holder> holder = parse(record);
        const std::optional<FileIdentity> identity = identityOf(*theirs);

        if (probed == Probe::Busy) {
            // Kept locked by its holder, or by another copy judging it at
            // this moment; a record not yet whole is being written.
            const bool passing = !holder || (holder->onThisComputer() && !isRunning(*holder));
            if (passing && !settled)
                return std::nullopt;
            return decided(Status::Running, holder);
        }
        if (!holder) {
            if (!settled)
                return std::nullopt;
            state().pending = Pending{std::move(theirs), record, identity};
            return decided(Status::Unreadable);
        }
        if (!holder->onThisComputer()) {
            state().pending = Pending{std::move(theirs), record, identity};
            return decided(Status::Elsewhere, holder);
        }
        if (isRunning(*holder))
            return decided(Status::Running, holder);
        // Left by a copy of this computer that no longer runs: while it is
        // locked here, no other copy removes it too.
        bool removed = false;
        if (std::optional<Attempt> failed = removeIfUnchanged(path, identity, record, &removed))
            return failed;
        if (!removed && !settled)
            return std::nullopt;
        if (!removed)
            return decided(Status::Running, holder);
    }
}

Attempt judge()
{
    state().pending.reset();
    const QDeadlineTimer deadline(kSettleMilliseconds);
    for (;;) {
        if (std::optional<Attempt> attempt = tryOnce(deadline.hasExpired()))
            return *attempt;
        QThread::msleep(kRetryMilliseconds);
    }
}

} // namespace

bool Holder::onThisComputer() const
{
    const QString ours = thisMachine();
    if (!machine.isEmpty() && !ours.isEmpty())
        return machine == ours;
    return host.compare(QSysInfo::machineHostName(), Qt::CaseInsensitive) == 0;
}

QString Attempt::message() const
{
    const QString risk = QStringLiteral("iki kopya aynı veritabanı üzerinde çalışırsa yapılan kayıtlar kaybolabilir.");
    switch (status) {
    case Status::Taken:
    case Status::Unprotected:
        return {};
    case Status::Running: {
        QString text = QStringLiteral("Program bu klasörden zaten çalışıyor. Aynı veritabanı üzerinde aynı anda "
                                      "yalnızca bir kopyası açık olabilir; açık olan pencereyi kullanın.");
        if (holder)
            text += QStringLiteral("\n\n") + holderLines(*holder);
        return text;
    }
    case Status::Elsewhere:
        return QStringLiteral("Program bu klasörden başka bir bilgisayarda açık görünüyor:\n\n%1\n\n"
                              "Program o bilgisayarda kapatılmadan kesildiyse (elektrik kesintisi, kilitlenen "
                              "bilgisayar) kilidi devralıp burada devam edebilirsiniz. Kilidi devralmak yalnızca "
                              "program orada gerçekten kapalıysa güvenlidir: %2\n\n"
                              "Kilit devralınsın ve program açılsın mı?")
            .arg(holder ? holderLines(*holder) : QString(), risk);
    case Status::Unreadable:
        return QStringLiteral("Program klasöründeki kilit dosyası (%1) okunamadı; programın başka bir yerde açık "
                              "olup olmadığı anlaşılamıyor.\n\nProgramın bu klasörden başka hiçbir yerde açık "
                              "olmadığından eminseniz kilidi devralıp devam edebilirsiniz. Kilidi devralmak yalnızca "
                              "program başka hiçbir yerde açık değilse güvenlidir: %2\n\n"
                              "Kilit devralınsın ve program açılsın mı?")
            .arg(fileName(), risk);
    case Status::NotTakenOver:
        return QStringLiteral("Kilit dosyası kaldırılamadı: %1. Program kapanacak. Program başka hiçbir yerde "
                              "açık değilse dosyayı silin ya da klasöre yazma izni verin, sonra programı yeniden "
                              "açın.")
            .arg(problem);
    }
    return {};
}

Attempt acquire()
{
    if (state().held)
        return decided(Status::Taken);
    return judge();
}

Attempt takeOver()
{
    if (state().held)
        return decided(Status::Taken);
    if (!state().pending)
        return judge();
    Pending asked = std::move(*state().pending);
    state().pending.reset();
    bool removed = false;
    if (std::optional<Attempt> failed = removeIfUnchanged(lockPath(), asked.identity, asked.record, &removed))
        return *failed;
    // Removed or not (changed since the question), the folder is judged
    // again: another copy may have been quicker.
    asked.file.reset();
    return judge();
}

void release()
{
    state().pending.reset();
    if (!state().held)
        return;
    // Only our own file: one that a user elsewhere has taken over since is
    // theirs now.
    if (const std::optional<FileIdentity> ours = identityOf(*state().held); ours && identityAt(lockPath()) == ours)
        QFile::remove(lockPath());
    state().held.reset();
}

QString fileName()
{
    return QStringLiteral("Zenparol.lock");
}

QString shownTime(const QDateTime &moment)
{
    return moment.toLocalTime().toString(QStringLiteral("dd.MM.yyyy HH:mm"));
}

} // namespace ProgramLock
