#include "maintenance/StartupLock.h"

#include "base/ApplicationInfo.h"
#include "base/ProgramLock.h"
#include "desktop/MessageBoxes.h"

namespace StartupLock {

bool take(QWidget *parent)
{
    ProgramLock::Attempt attempt = ProgramLock::acquire();
    for (;;) {
        switch (attempt.status) {
        case ProgramLock::Status::Taken:
        case ProgramLock::Status::Unprotected:
            return true;
        case ProgramLock::Status::Running:
        case ProgramLock::Status::NotTakenOver:
            MessageBoxes::warning(parent, attempt.message());
            return false;
        case ProgramLock::Status::Elsewhere:
        case ProgramLock::Status::Unreadable:
            if (!MessageBoxes::askYesNoDefaultNo(parent, ApplicationInfo::title(), attempt.message(),
                                                 MessageBoxes::Icon::Warning)) {
                ProgramLock::release();
                return false;
            }
            // Another copy may have been quicker: its lock is judged anew,
            // and asked about again when it is another computer's.
            attempt = ProgramLock::takeOver();
            break;
        }
    }
}

} // namespace StartupLock
