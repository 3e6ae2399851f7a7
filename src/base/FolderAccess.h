#pragma once

#include "base/Result.h"
#include "base/ScopedOverride.h"

#include <QString>

#include <chrono>
#include <optional>

// Who may touch the files of a program folder at the same time. The
// windowless commands (--pdf, --orders-csv) may run together and beside an
// open window, but never while a backup, a compaction, a repair or the
// clean-up at start works on the folder: a command recorded between a
// compaction's copy and its rename would go with the old file.
//
// The access is a lock on a file beside the database that stays there for
// good: a command holds it shared, maintenance exclusively. The operating
// system lets go of it when its process ends in any way, so a killed holder
// leaves nothing that stands in the way.
//
// A command waits a few seconds for maintenance to end, maintenance a little
// longer for the commands (which are short); then each gives up with a
// Turkish message before it has touched anything.
class [[nodiscard]] FolderAccess
{
public:
    static constexpr std::chrono::milliseconds kCommandWait{5000};
    static constexpr std::chrono::milliseconds kMaintenanceWait{10000};

    // A folder where no lock file can be made (missing, read-only, a file
    // system without locks) is not refused: its own files report their
    // problems, and no one else can be writing there either.
    static Result<FolderAccess> forCommand(const QString &folder);
    static Result<FolderAccess> forCommand(const QString &folder, std::chrono::milliseconds wait);
    static Result<FolderAccess> forMaintenance(const QString &folder);
    static Result<FolderAccess> forMaintenance(const QString &folder, std::chrono::milliseconds wait);

    FolderAccess(FolderAccess &&other) noexcept;
    FolderAccess &operator=(FolderAccess &&other) noexcept;
    FolderAccess(const FolderAccess &) = delete;
    FolderAccess &operator=(const FolderAccess &) = delete;
    ~FolderAccess();

    // False where the folder could hold no lock (see above).
    bool isLocked() const;

    static QString fileName();

    // Tests shorten the waits of the operations that use the defaults while
    // the override lives.
    [[nodiscard]] static ScopedOverride<std::optional<std::chrono::milliseconds>>
    overrideWait(std::chrono::milliseconds wait);

private:
    enum class Kind { Command, Maintenance };

    FolderAccess() = default;
    static Result<FolderAccess> acquire(const QString &folder, Kind kind, std::chrono::milliseconds wait);
    void release();

    // A file descriptor; a HANDLE on Windows.
    qintptr m_handle = -1;
};
