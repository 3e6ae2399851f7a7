#include "computation/PreferenceSettings.h"

#include "base/AmountText.h"
#include "base/ProfileFile.h"

long double Preferences::stampDutyRate() const
{
    return AmountText::TextAsFloat(stampDutyRateText, 2);
}

namespace PreferenceSettings {

namespace {
constexpr QStringView kSection = u"Ayar";
} // namespace

void load(const ProfileFile &file, Preferences &preferences)
{
    preferences.previewBeforePrinting = file.readBool(kSection, u"OnIzle", preferences.previewBeforePrinting);
    preferences.fillApprovalDates = file.readBool(kSection, u"Tarih", preferences.fillApprovalDates);
    preferences.stampDutyRateText = file.readString(kSection, u"DM", preferences.stampDutyRateText);
    preferences.currencyChoice = file.readInteger(kSection, u"Para", preferences.currencyChoice);
    // A number of days the dialog cannot show keeps the one given.
    const int days = file.readInteger(kSection, u"MukerrerGun", preferences.duplicateGuardDays);
    if (days >= 0 && days <= Preferences::kMostDuplicateGuardDays)
        preferences.duplicateGuardDays = days;
}

Result<> save(ProfileFile &file, const Preferences &preferences)
{
    file.writeBool(kSection, u"OnIzle", preferences.previewBeforePrinting);
    file.writeBool(kSection, u"Tarih", preferences.fillApprovalDates);
    file.writeString(kSection, u"DM", preferences.stampDutyRateText);
    file.writeInteger(kSection, u"Para", preferences.currencyChoice);
    file.writeInteger(kSection, u"MukerrerGun", preferences.duplicateGuardDays);
    return file.save();
}

Preferences reset(const Preferences &current)
{
    Preferences result = current;
    result.previewBeforePrinting = Preferences().previewBeforePrinting;
    result.stampDutyRateText = Preferences().stampDutyRateText;
    return result;
}

} // namespace PreferenceSettings
