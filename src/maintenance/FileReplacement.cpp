#include "maintenance/FileReplacement.h"

#include "maintenance/MaintenanceFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace FileReplacement {

namespace {

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

Result<> failure(const QString &head, const QString &path)
{
    // Taken first: building the path's text may touch errno.
    const QString reason = lastSystemError();
    return Result<>::failure(QStringLiteral("%1: %2 (%3).").arg(head, shown(path), reason));
}

#ifdef Q_OS_WIN
std::wstring nativePath(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()).toStdWString();
}
#else
QByteArray nativePath(const QString &path)
{
    return QFile::encodeName(path);
}

int syncDescriptorOf(const QString &path, int flags)
{
    const int descriptor = ::open(nativePath(path).constData(), flags | O_CLOEXEC);
    if (descriptor < 0)
        return -1;
    int result;
    do {
        result = ::fsync(descriptor);
    } while (result != 0 && errno == EINTR);
    const int saved = errno;
    ::close(descriptor);
    errno = saved;
    return result;
}
#endif

// Gives from the name to, only when to does not exist.
Result<> renameAsNew(const QString &from, const QString &to)
{
#ifdef Q_OS_WIN
    if (!MoveFileExW(nativePath(from).c_str(), nativePath(to).c_str(), MOVEFILE_WRITE_THROUGH))
        return failure(QStringLiteral("Dosya yerine konamadı"), to);
    return Result<>::success();
#else
    // A hard link fails when the name is taken, where rename would replace.
    if (::link(nativePath(from).constData(), nativePath(to).constData()) == 0) {
        ::unlink(nativePath(from).constData());
        return Result<>::success();
    }
    if (errno == EEXIST)
        return failure(QStringLiteral("Dosya zaten var"), to);
    // Some file systems (FAT on a memory stick) have no hard links.
    if (QFileInfo::exists(to)) {
        errno = EEXIST;
        return failure(QStringLiteral("Dosya zaten var"), to);
    }
    if (::rename(nativePath(from).constData(), nativePath(to).constData()) != 0)
        return failure(QStringLiteral("Dosya yerine konamadı"), to);
    return Result<>::success();
#endif
}

} // namespace

QString lastSystemError()
{
#ifdef Q_OS_WIN
    const DWORD code = GetLastError();
    switch (code) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return QStringLiteral("diskte yer kalmadı");
    case ERROR_ACCESS_DENIED:
        return QStringLiteral("erişim izni yok");
    case ERROR_WRITE_PROTECT:
        return QStringLiteral("disk yazmaya karşı korumalı");
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return QStringLiteral("dosya başka bir program tarafından kullanılıyor");
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return QStringLiteral("dosya ya da klasör bulunamadı");
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
        return QStringLiteral("aynı adda bir dosya var");
    case ERROR_NOT_READY:
        return QStringLiteral("sürücü hazır değil");
    default:
        return QStringLiteral("sistem hatası %1").arg(code);
    }
#else
    const int code = errno;
    switch (code) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("diskte yer kalmadı");
    case EACCES:
    case EPERM:
        return QStringLiteral("erişim izni yok");
    case EROFS:
        return QStringLiteral("disk yalnızca okunabilir");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("dosya kullanımda");
    case ENOENT:
        return QStringLiteral("dosya ya da klasör bulunamadı");
    case EEXIST:
        return QStringLiteral("aynı adda bir dosya var");
    case ENOTDIR:
        return QStringLiteral("yolda klasör yerine bir dosya var");
    case EIO:
        return QStringLiteral("disk okunurken ya da yazılırken donanım hatası oluştu");
    case EXDEV:
        return QStringLiteral("dosyalar ayrı disklerde");
    default:
        return QStringLiteral("sistem hatası %1").arg(code);
    }
#endif
}

Result<> syncFile(const QString &path)
{
#ifdef Q_OS_WIN
    const HANDLE file = CreateFileW(nativePath(path).c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return failure(QStringLiteral("Dosya diske yazılamadı"), path);
    const BOOL flushed = FlushFileBuffers(file);
    const DWORD error = GetLastError();
    CloseHandle(file);
    if (!flushed) {
        SetLastError(error);
        return failure(QStringLiteral("Dosya diske yazılamadı"), path);
    }
    return Result<>::success();
#else
    if (syncDescriptorOf(path, O_RDONLY) != 0)
        return failure(QStringLiteral("Dosya diske yazılamadı"), path);
    return Result<>::success();
#endif
}

Result<> syncFolder(const QString &path)
{
#ifdef Q_OS_WIN
    Q_UNUSED(path);
    return Result<>::success();
#else
    // Some file systems cannot flush a folder; they write renames at once.
    if (syncDescriptorOf(path, O_RDONLY | O_DIRECTORY) != 0 && errno != EINVAL && errno != ENOTSUP)
        return failure(QStringLiteral("Klasör diske yazılamadı"), path);
    return Result<>::success();
#endif
}

Result<> replace(const QString &newFile, const QString &target)
{
    if (const Result<> synced = syncFile(newFile); synced.failed())
        return synced;
#ifdef Q_OS_WIN
    if (!MoveFileExW(nativePath(newFile).c_str(), nativePath(target).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return failure(QStringLiteral("Dosya yerine konamadı"), target);
#else
    if (::rename(nativePath(newFile).constData(), nativePath(target).constData()) != 0)
        return failure(QStringLiteral("Dosya yerine konamadı"), target);
#endif
    // The rename has happened: target is the new file whatever follows, and
    // a failure to flush now must not be reported as a file not replaced.
    (void)syncFolder(QFileInfo(target).absolutePath());
    (void)syncFile(target);
    return Result<>::success();
}

Result<> copyAsNew(const QString &source, const QString &target)
{
    if (QFileInfo::exists(target)) {
#ifdef Q_OS_WIN
        SetLastError(ERROR_FILE_EXISTS);
#else
        errno = EEXIST;
#endif
        return failure(QStringLiteral("Dosya kopyalanamadı"), target);
    }
    const QString staging = MaintenanceFiles::stagingPathFor(target);
    // Not QFile::copy: it builds the copy under a temporary name of its own,
    // which a stop half way would leave behind under a name nobody cleans.
    Result<> result = Result<>::success();
    {
        QFile in(source);
        QFile out(staging);
        if (!in.open(QIODevice::ReadOnly)) {
            result = failure(QStringLiteral("Dosya okunamadı"), source);
        } else if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            result = failure(QStringLiteral("Dosya yazılamadı"), staging);
        } else {
            QByteArray block;
            while (result.succeeded() && !(block = in.read(1 << 20)).isEmpty()) {
                if (out.write(block) != block.size())
                    result = failure(QStringLiteral("Dosya yazılamadı"), staging);
            }
            if (result.succeeded() && in.error() != QFileDevice::NoError)
                result = failure(QStringLiteral("Dosya okunamadı"), source);
            if (result.succeeded() && !out.flush())
                result = failure(QStringLiteral("Dosya yazılamadı"), staging);
        }
    }
    if (result.succeeded())
        result = syncFile(staging);
    if (result.succeeded())
        result = renameAsNew(staging, target);
    if (result.succeeded())
        result = syncFolder(QFileInfo(target).absolutePath());
    if (result.failed())
        QFile::remove(staging);
    return result;
}

} // namespace FileReplacement
