#include "base/FolderAccess.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>

#include <algorithm>
#include <utility>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace {

using std::chrono::milliseconds;

// Between two tries: short beside the waits, long beside a try.
constexpr milliseconds kRetryPause{25};

std::optional<milliseconds> &overriddenWait()
{
    static std::optional<milliseconds> wait;
    return wait;
}

milliseconds defaultWait(milliseconds wait)
{
    return overriddenWait().value_or(wait);
}

enum class Try { Locked, Busy, NoLocks };

#ifdef Q_OS_WIN

qintptr openLockFile(const QString &path)
{
    const std::wstring native = QDir::toNativeSeparators(path).toStdWString();
    const HANDLE handle = CreateFileW(native.c_str(), GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    return handle == INVALID_HANDLE_VALUE ? -1 : qintptr(handle);
}

Try tryLock(qintptr handle, bool exclusive)
{
    OVERLAPPED whole = {};
    const DWORD flags = LOCKFILE_FAIL_IMMEDIATELY | (exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0);
    if (LockFileEx(HANDLE(handle), flags, 0, MAXDWORD, MAXDWORD, &whole))
        return Try::Locked;
    return GetLastError() == ERROR_LOCK_VIOLATION ? Try::Busy : Try::NoLocks;
}

void closeLockFile(qintptr handle)
{
    CloseHandle(HANDLE(handle));
}

#else

qintptr openLockFile(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    // Every user of a shared folder opens the same file: the mode asks for
    // everyone's read and write, as far as the umask lets it.
    int descriptor = ::open(native.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    // A read-only file still takes a lock where the file system keeps them
    // locally.
    if (descriptor < 0 && (errno == EACCES || errno == EROFS))
        descriptor = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    return descriptor;
}

Try tryLock(qintptr descriptor, bool exclusive)
{
    for (;;) {
        if (::flock(int(descriptor), (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) == 0)
            return Try::Locked;
        if (errno == EINTR)
            continue;
        return errno == EWOULDBLOCK ? Try::Busy : Try::NoLocks;
    }
}

void closeLockFile(qintptr descriptor)
{
    ::close(int(descriptor));
}

#endif

QString busyForCommand()
{
    return QStringLiteral("Program klasörü şu anda meşgul: veritabanı yedekleniyor, sıkıştırılıyor ya da onarılıyor "
                          "(ya da program açılırken klasörü temizliyor). Komut çalıştırılmadı, hiçbir dosya "
                          "yazılmadı; işlem bittikten sonra komutu yeniden çalıştırın.");
}

QString busyForMaintenance()
{
    return QStringLiteral("Program klasöründe şu anda pencere olmadan çalışan bir komut (--pdf, --orders-csv) "
                          "sürüyor. İşlem başlatılmadı, hiçbir dosya değiştirilmedi; komut bittikten sonra yeniden "
                          "deneyin.");
}

} // namespace

Result<FolderAccess> FolderAccess::forCommand(const QString &folder)
{
    return acquire(folder, Kind::Command, defaultWait(kCommandWait));
}

Result<FolderAccess> FolderAccess::forCommand(const QString &folder, milliseconds wait)
{
    return acquire(folder, Kind::Command, wait);
}

Result<FolderAccess> FolderAccess::forMaintenance(const QString &folder)
{
    return acquire(folder, Kind::Maintenance, defaultWait(kMaintenanceWait));
}

Result<FolderAccess> FolderAccess::forMaintenance(const QString &folder, milliseconds wait)
{
    return acquire(folder, Kind::Maintenance, wait);
}

Result<FolderAccess> FolderAccess::acquire(const QString &folder, Kind kind, milliseconds wait)
{
    FolderAccess access;
    const qintptr handle = openLockFile(QDir(folder).filePath(fileName()));
    if (handle < 0)
        return access;
    const QDeadlineTimer deadline(wait);
    for (;;) {
        switch (tryLock(handle, kind == Kind::Maintenance)) {
        case Try::Locked:
            access.m_handle = handle;
            return access;
        case Try::NoLocks:
            closeLockFile(handle);
            return access;
        case Try::Busy:
            break;
        }
        if (deadline.hasExpired()) {
            closeLockFile(handle);
            return Failure(kind == Kind::Command ? busyForCommand() : busyForMaintenance());
        }
        QThread::msleep(ulong(std::min(qint64(kRetryPause.count()), deadline.remainingTime())));
    }
}

FolderAccess::FolderAccess(FolderAccess &&other) noexcept
    : m_handle(std::exchange(other.m_handle, -1))
{
}

FolderAccess &FolderAccess::operator=(FolderAccess &&other) noexcept
{
    if (this != &other) {
        release();
        m_handle = std::exchange(other.m_handle, -1);
    }
    return *this;
}

FolderAccess::~FolderAccess()
{
    release();
}

void FolderAccess::release()
{
    // Closing the file lets go of its lock.
    if (m_handle >= 0)
        closeLockFile(m_handle);
    m_handle = -1;
}

bool FolderAccess::isLocked() const
{
    return m_handle >= 0;
}

QString FolderAccess::fileName()
{
    return QStringLiteral("Zenparol.erisim.lock");
}

ScopedOverride<std::optional<milliseconds>> FolderAccess::overrideWait(milliseconds wait)
{
    return {overriddenWait(), wait};
}
