#include "printing/AskingGuard.h"

#include <QWidget>

#include "desktop/MessageBoxes.h"
#include "issuing/OrderRecording.h"

AskingGuard::AskingGuard(QWidget *window)
    : m_window(window)
{
}

bool AskingGuard::proceed(const IssuedOrder &earlier)
{
    return MessageBoxes::askYesNoDefaultNo(m_window, QStringLiteral("Dikkat !"),
                                           OrderRecording::duplicateQuestion(earlier), MessageBoxes::Icon::Warning);
}
