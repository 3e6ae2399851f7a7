#include "issuing/DuplicateGuard.h"

#include "issuing/OrderRecording.h"

bool WarningGuard::proceed(const IssuedOrder &earlier)
{
    m_notes.append(OrderRecording::duplicateWarning(earlier));
    return true;
}
