#pragma once

#include "base/Result.h"

#include <QString>

// Files that must be whole at every moment, even when the program is killed
// or the machine loses power half way: the new file is written beside its
// target under another name, flushed to the disk, and renamed in one step.
//
// These functions open files by descriptor. Never call them on a database
// file that a connection of this process keeps open: on POSIX systems
// closing any descriptor of a file drops every lock the process holds on it,
// the engine's too.
namespace FileReplacement {

// Flushes the file's contents to the disk.
Result<> syncFile(const QString &path);

// Flushes the folder's list of names, so that a rename in it survives a
// power cut (Linux); Windows writes renames through by itself.
Result<> syncFolder(const QString &path);

// Puts newFile in place of target in one step, replacing what is there: at
// every moment target names either the old file or the new one, whole. Both
// must be in one folder. newFile is flushed before the rename, the folder and
// the file again after it as far as the system lets; once the rename is done
// the result is a success.
Result<> replace(const QString &newFile, const QString &target);

// Copies source to target, which must not exist, through a staging file
// beside target: target appears only once it is whole and on the disk, and
// an existing file is never replaced.
Result<> copyAsNew(const QString &source, const QString &target);

// The Turkish words for the last error of the system (errno, or
// GetLastError() on Windows).
QString lastSystemError();

} // namespace FileReplacement
