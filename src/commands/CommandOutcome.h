#pragma once

#include <QString>

// The exit statuses of the windowless commands. Each command says in its
// usage which of them it gives.
namespace ExitStatus {

inline constexpr int kDone = 0;
inline constexpr int kFailed = 1; // nothing done: a file could not be read, written or sent
inline constexpr int kBadInput = 2; // a wrong command line or input file: nothing done
// The page left, but its record could not be written; or (an import) the
// register could not be written, and is as it was.
inline constexpr int kNotRecorded = 3;
inline constexpr int kRefused = 4; // the printer did not take the page
inline constexpr int kBusy = 5; // the program folder is busy with a backup, compaction or repair

} // namespace ExitStatus

// What a windowless command ends with: its exit status and what it says on
// standard error, one line a fact (something may be said on success too),
// and what it reports on standard output.
struct CommandOutcome
{
    int status = ExitStatus::kDone;
    QString message;
    QString output = {};
};
