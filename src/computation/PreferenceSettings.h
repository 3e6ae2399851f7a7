#pragma once

#include "base/Result.h"

#include <QString>

class ProfileFile;

// The preferences as the preferences dialog's controls hold them and the
// "Ayar" section keeps them. The member defaults are those of a fresh start;
// every other place that needs a default takes it from here.
struct Preferences
{
    bool previewBeforePrinting = true; // "OnIzle": ChkYazdir
    bool fillApprovalDates = true; // "Tarih": ChkTarih
    QString stampDutyRateText = QStringLiteral("8,25"); // "DM": the text of Edit1, per thousand
    int currencyChoice = 1; // "Para": CPara, 0 "YTL - YKr", any other "TL - Kr"
    // "MukerrerGun": an order like one issued this many days ago or later is
    // asked about (the day itself counts); 0 asks about none.
    int duplicateGuardDays = 45;
    static constexpr int kMostDuplicateGuardDays = 3660;

    // The rate as its amount field reads it: an unreadable text counts as 0.
    long double stampDutyRate() const;

    friend bool operator==(const Preferences &, const Preferences &) = default;
};

namespace PreferenceSettings {

// Each value reads the one given as its default, so a missing key keeps it.
void load(const ProfileFile &file, Preferences &preferences);

// Writes "OnIzle", "Tarih", "DM", "Para", "MukerrerGun" in this order, then saves the file
// in one step; a refused value fails the whole save with its reason.
Result<> save(ProfileFile &file, const Preferences &preferences);

// "Ayarları Sıfırla": the preview comes back on and the rate to its default;
// the date and currency choices stay as the user left them.
Preferences reset(const Preferences &current);

} // namespace PreferenceSettings
