#pragma once

#include "app/MainWindowColours.h"

#include <QString>
#include <array>

class ProfileFile;

// The main window's sections of the settings file: "Extra", "Pen Ayar",
// "Ek Dokumanlar" and "Colors". The window fills this from its controls, so
// that every value read falls back to what the control shows, then applies
// what was read; the save writes the same keys in the same order.
struct MainWindowSettings
{
    static constexpr int kAttachmentKeys = 20;

    QString privateAmountCaption; // "Extra" "Baslik2"
    int leftPaneWidth = 185; // "Pen Ayar" "Konum"
    // By key number: element k - 1 is "Yazi<k>" and "Rakam<k>".
    std::array<QString, kAttachmentKeys> attachmentDescriptions;
    std::array<int, kAttachmentKeys> attachmentCounts{};
    MainWindowColours colours;

    void load(const ProfileFile &file);
    // Writes every key; false when the file refuses a value (the file's
    // error then says why and nothing is written).
    bool save(ProfileFile &file) const;
};
