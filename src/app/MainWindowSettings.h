#pragma once

#include "app/MainWindowColours.h"
#include "base/Result.h"
#include "computation/AttachmentSettings.h"

#include <QString>

class ProfileFile;

// The main window's sections of the settings file: "Extra", "Pen Ayar",
// "Ek Dokumanlar" and "Colors". The window fills this from its controls, so
// that every value read falls back to what the control shows, then applies
// what was read; the save writes the same keys in the same order.
struct MainWindowSettings
{
    QString privateAmountCaption; // "Extra" "Baslik2"
    int leftPaneWidth = 185; // "Pen Ayar" "Konum"
    AttachmentSettings attachments; // "Ek Dokumanlar"
    MainWindowColours colours;

    void load(const ProfileFile &file);
    // Writes every key, then saves the file in one step; a refused value
    // fails the whole save with its reason and nothing is written.
    Result<> save(ProfileFile &file) const;
};
