#include "base/SettingsTextValidator.h"

#include "base/WindowsTurkishCodePage.h"

QValidator::State SettingsTextValidator::validate(QString &input, int &) const
{
    return isStorable(input) ? Acceptable : Invalid;
}

bool SettingsTextValidator::isStorable(QStringView text)
{
    if (text.contains(u'\n') || text.contains(u'\r'))
        return false;
    return WindowsTurkishCodePage::firstUnencodable(text) < 0;
}
