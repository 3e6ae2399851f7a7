#include "app/MainWindowSettings.h"

#include "base/ProfileFile.h"

namespace {
constexpr QStringView kExtra = u"Extra";
constexpr QStringView kPane = u"Pen Ayar";
constexpr QStringView kColours = u"Colors";
} // namespace

void MainWindowSettings::load(const ProfileFile &file)
{
    privateAmountCaption = file.readString(kExtra, u"Baslik2", privateAmountCaption);
    leftPaneWidth = file.readInteger(kPane, u"Konum", leftPaneWidth);
    attachments.load(file);
    colours.gridAlternative = file.readColour(kColours, u"GridAlternatif", colours.gridAlternative);
    colours.gridSelect = file.readColour(kColours, u"GridSelect", colours.gridSelect);
    colours.gridSelectText = file.readColour(kColours, u"GridSelectTxt", colours.gridSelectText);
    colours.edits = file.readColour(kColours, u"Edits", colours.edits);
    colours.editsFont = file.readColour(kColours, u"EditsFont", colours.editsFont);
    colours.background = file.readColour(kColours, u"BRound", colours.background);
}

Result<> MainWindowSettings::save(ProfileFile &file) const
{
    file.writeString(kExtra, u"Baslik2", privateAmountCaption);
    file.writeInteger(kPane, u"Konum", leftPaneWidth);
    attachments.write(file);
    file.writeColour(kColours, u"GridAlternatif", colours.gridAlternative);
    file.writeColour(kColours, u"GridSelect", colours.gridSelect);
    file.writeColour(kColours, u"GridSelectTxt", colours.gridSelectText);
    file.writeColour(kColours, u"Edits", colours.edits);
    file.writeColour(kColours, u"EditsFont", colours.editsFont);
    file.writeColour(kColours, u"BRound", colours.background);
    return file.save();
}
