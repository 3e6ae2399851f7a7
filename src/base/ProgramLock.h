#pragma once

#include "base/Result.h"

// One running copy of the program per program folder. Two copies over the
// same "Data.dat" would each trust their own view of it: a compaction in one
// replaces the file under the other, whose later saves then go to the file
// that was replaced, and the clean-up at start could take another copy's
// backup in progress for a leftover.
//
// The lock is a file beside the database that names the process holding it;
// a lock left by a copy that crashed or was killed is taken over at once.
// The windowless commands (--pdf, --orders-csv) do not take it: the engine's
// own file locks keep their short writes apart.
namespace ProgramLock {

// Takes the lock of the program folder for the rest of the process. Fails,
// with the message to show, only when another running copy holds it; a
// folder where no lock can be made does not stop the program, whose files
// will report their own problem.
Result<> acquire();

// Gives the lock up before the program starts itself again.
void release();

QString fileName();

} // namespace ProgramLock
