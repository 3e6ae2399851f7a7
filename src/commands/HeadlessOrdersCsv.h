#pragma once

#include <QString>
#include <QStringList>

// "Zenparol --orders-csv OUT.csv [--from dd.MM.yyyy] [--to dd.MM.yyyy]": the
// register of issued orders of "Data.dat" in the program folder, newest
// first, into the same CSV file the orders window exports, without a window.
// The days are inclusive; without them every record is written.
//
// The command runs beside an open window, never during maintenance of the
// program folder (FolderAccess): it waits a few seconds for a backup, a
// compaction, a repair or the clean-up at start to end, and otherwise ends
// with Busy before it has written anything.
namespace HeadlessOrdersCsv {

enum ExitStatus : int {
    Written = 0,
    Failed = 1, // the database could not be opened or read
    BadInput = 2, // wrong arguments, a bad date, or a file that cannot be written
    Busy = 5, // a backup, compaction, repair or start-up clean-up held the program folder; nothing written
};

struct Outcome
{
    int status = Written;
    QString message; // one line, Turkish; empty on success
};

// Whether the command line asks for the export: "--orders-csv" first.
bool requested(int argc, char **argv);

// arguments: the command line after the program's name.
Outcome run(const QStringList &arguments);

// The whole command: a window-less application, the run, the message on
// standard error, the exit status.
int main(int argc, char **argv);

} // namespace HeadlessOrdersCsv
