#include "base/ProgramLock.h"

#include "base/ProgramFolder.h"

#include <QLockFile>

#include <memory>

namespace ProgramLock {

namespace {

std::unique_ptr<QLockFile> &held()
{
    static std::unique_ptr<QLockFile> lock;
    return lock;
}

// A restarting copy lets go of the lock just before the new one starts;
// this covers the moment between the two.
constexpr int kWaitMilliseconds = 1000;

} // namespace

QString fileName()
{
    return QStringLiteral("Zenparol.lock");
}

Result<> acquire()
{
    if (held())
        return Result<>::success();
    auto lock = std::make_unique<QLockFile>(ProgramFolder::filePath(fileName()));
    // A copy may stay open for days: only a holder that is no longer running
    // makes the lock stale, never its age.
    lock->setStaleLockTime(0);
    if (lock->tryLock(kWaitMilliseconds)) {
        held() = std::move(lock);
        return Result<>::success();
    }
    if (lock->error() == QLockFile::LockFailedError)
        return Result<>::failure(QStringLiteral("Program bu klasörden zaten çalışıyor. Aynı veritabanı üzerinde "
                                              "aynı anda yalnızca bir kopyası açık olabilir; açık olan "
                                              "pencereyi kullanın."));
    return Result<>::success();
}

void release()
{
    held().reset();
}

} // namespace ProgramLock
