#pragma once

// The short-lived child process that reads an old program's database with
// libmdb (OldDatabaseFile) and hands the payees to its parent
// (OldDatabaseReading) on standard output. It is the program's own
// executable started with a hidden option, so that nothing a damaged file
// does to libmdb (a crash, a hang, memory run wild) reaches the program:
// the parent sees a child that died, took too long or answered garbage.
namespace OldDatabaseChild {

// The hidden option, followed by the path of the copy to read: its rows
// are streamed to the parent as they are read (OldPayeeStream).
inline constexpr char kOption[] = "--eski-veritabani-oku";
// The first look, followed by the path: only whether the four tables are
// there, no row read. A file under another password than the old
// program's is looked at before the user is asked about it.
inline constexpr char kLookOption[] = "--eski-veritabani-bak";

// Whether argv asks for the child, in either mode.
bool requested(int argc, char **argv);

// Reads, answers and ends the process: never returns.
[[noreturn]] void run(int argc, char **argv);

} // namespace OldDatabaseChild
