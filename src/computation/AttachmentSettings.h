#pragma once

#include "computation/AttachmentLines.h"

#include <QString>

#include <array>

class ProfileFile;

// The twenty attachment lines as the settings file keeps them, in the
// section "Ek Dokumanlar": by key number, element k - 1 is "Yazi<k>" (the
// description) and "Rakam<k>" (the count). AttachmentLines says which line
// of which worksheet each key number belongs to.
struct AttachmentSettings
{
    std::array<QString, AttachmentLines::kCount> descriptions;
    std::array<int, AttachmentLines::kCount> counts{};

    // Each value reads the one it holds as its default, so a missing key
    // keeps it.
    void load(const ProfileFile &file);
    // Writes "Yazi1".."Yazi20", then "Rakam1".."Rakam20".
    void write(ProfileFile &file) const;

    friend bool operator==(const AttachmentSettings &, const AttachmentSettings &) = default;
};
