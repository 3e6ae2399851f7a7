#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

// One running copy of the program per program folder. Two copies over the
// same "Data.dat" would each trust their own view of it: a compaction in one
// replaces the file under the other, whose later saves then go to the file
// that was replaced, and the clean-up at start could take another copy's
// backup in progress for a leftover.
//
// The lock is the file "Zenparol.lock" beside the database. It is made only
// where none exists (two copies starting together cannot both make it), it
// names the computer, the user, the process and the start of the copy that
// holds it, and that copy keeps it locked with the operating system for as
// long as it runs. A lock of this computer whose copy no longer runs (a
// crash, a kill, a power cut) is taken over at once. A lock of another
// computer (a shared folder) cannot be judged from here: the user is asked,
// and takeOver() takes it on their word. The windowless commands do not take
// this lock; FolderAccess keeps them apart from maintenance.
namespace ProgramLock {

// Whom a lock file names.
struct Holder
{
    QString host;
    QString user;
    qint64 pid = 0;
    QDateTime started;
    // What tells this computer's copies apart from another's and a running
    // process from one whose number came back: the computer's and this
    // boot's identifiers and the process's own start. Empty where unknown.
    QString machine;
    QString boot;
    QString processStart;

    bool onThisComputer() const;
};

enum class Status {
    Taken, // this copy holds the lock
    Unprotected, // the folder can hold no lock file: the program runs, its files report their own problems
    Running, // a running copy holds it, here or on a computer whose lock the file system shows
    Elsewhere, // another computer's lock: taken over only on the user's word
    Unreadable, // a lock file that cannot be read or makes no sense: the same question
    NotTakenOver, // the old lock file could not be removed
};

struct Attempt
{
    Status status = Status::Taken;
    std::optional<Holder> holder; // Running (when the file names one) and Elsewhere
    QString problem; // NotTakenOver: why

    // What to tell the user: the refusal (Running, NotTakenOver) or the
    // question (Elsewhere, Unreadable); empty for Taken and Unprotected.
    QString message() const;
};

// Takes the lock of the program folder for the rest of the process.
Attempt acquire();

// After Elsewhere or Unreadable, on the user's "Evet": removes the lock file
// that was asked about and takes the lock. A file that has changed since is
// not removed: it is judged anew, and the new judgement is returned.
Attempt takeOver();

// Gives the lock up (before the program starts itself again), or the lock
// file that was asked about.
void release();

QString fileName();

// The start as the messages show it: "05.03.2026 14:07".
QString shownTime(const QDateTime &moment);

} // namespace ProgramLock
