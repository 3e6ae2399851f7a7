#include "app/MainWindowSettings.h"

#include "app/ProfileFile.h"

namespace {
const QString kExtra = QStringLiteral("Extra");
const QString kPane = QStringLiteral("Pen Ayar");
const QString kAttachments = QStringLiteral("Ek Dokumanlar");
const QString kColours = QStringLiteral("Colors");

QString descriptionKey(int number)
{
    return QStringLiteral("Yazi%1").arg(number);
}

QString countKey(int number)
{
    return QStringLiteral("Rakam%1").arg(number);
}
} // namespace

void MainWindowSettings::load(const ProfileFile &file)
{
    privateAmountCaption = file.readString(kExtra, QStringLiteral("Baslik2"), privateAmountCaption);
    leftPaneWidth = file.readInteger(kPane, QStringLiteral("Konum"), leftPaneWidth);
    for (int k = 1; k <= kAttachmentKeys; ++k) {
        QString &description = attachmentDescriptions[std::size_t(k - 1)];
        description = file.readString(kAttachments, descriptionKey(k), description);
    }
    for (int k = 1; k <= kAttachmentKeys; ++k) {
        int &count = attachmentCounts[std::size_t(k - 1)];
        count = file.readInteger(kAttachments, countKey(k), count);
    }
    colours.gridAlternative = file.readColour(kColours, QStringLiteral("GridAlternatif"), colours.gridAlternative);
    colours.gridSelect = file.readColour(kColours, QStringLiteral("GridSelect"), colours.gridSelect);
    colours.gridSelectText = file.readColour(kColours, QStringLiteral("GridSelectTxt"), colours.gridSelectText);
    colours.edits = file.readColour(kColours, QStringLiteral("Edits"), colours.edits);
    colours.editsFont = file.readColour(kColours, QStringLiteral("EditsFont"), colours.editsFont);
    colours.background = file.readColour(kColours, QStringLiteral("BRound"), colours.background);
}

bool MainWindowSettings::save(ProfileFile &file) const
{
    bool written = file.writeString(kExtra, QStringLiteral("Baslik2"), privateAmountCaption);
    written = written && file.writeInteger(kPane, QStringLiteral("Konum"), leftPaneWidth);
    for (int k = 1; written && k <= kAttachmentKeys; ++k)
        written = file.writeString(kAttachments, descriptionKey(k), attachmentDescriptions[std::size_t(k - 1)]);
    for (int k = 1; written && k <= kAttachmentKeys; ++k)
        written = file.writeInteger(kAttachments, countKey(k), attachmentCounts[std::size_t(k - 1)]);
    written = written && file.writeColour(kColours, QStringLiteral("GridAlternatif"), colours.gridAlternative);
    written = written && file.writeColour(kColours, QStringLiteral("GridSelect"), colours.gridSelect);
    written = written && file.writeColour(kColours, QStringLiteral("GridSelectTxt"), colours.gridSelectText);
    written = written && file.writeColour(kColours, QStringLiteral("Edits"), colours.edits);
    written = written && file.writeColour(kColours, QStringLiteral("EditsFont"), colours.editsFont);
    written = written && file.writeColour(kColours, QStringLiteral("BRound"), colours.background);
    return written;
}
