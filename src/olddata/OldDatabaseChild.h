#pragma once

// The short-lived child process that reads an old program's database with
// libmdb (OldDatabaseFile) and hands the payees to its parent
// (OldDatabaseReading) on standard output. It is the program's own
// executable started with a hidden option, so that nothing a damaged file
// does to libmdb (a crash, a hang, memory run wild) reaches the program:
// the parent sees a child that died, took too long or answered garbage.
namespace OldDatabaseChild {

// The hidden option, followed by the path of the copy to read.
inline constexpr char kOption[] = "--eski-veritabani-oku";

// Whether argv asks for the child.
bool requested(int argc, char **argv);

// Reads, answers and ends the process: never returns.
[[noreturn]] void run(int argc, char **argv);

} // namespace OldDatabaseChild
