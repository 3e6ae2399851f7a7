#include "app/FieldColours.h"

#include "base/WindowsColour.h"
#include "controls/ChangedOnly.h"

#include <QComboBox>

namespace FieldColours {

void apply(QWidget *field, const MainWindowColours &colours)
{
    const QColor face = WindowsColour::toQColor(colours.edits);
    const QColor text = WindowsColour::toQColor(colours.editsFont);
    QPalette palette = field->palette();
    // A combo box that takes no typing paints its face in the button roles.
    const bool buttonFace = qobject_cast<QComboBox *>(field) != nullptr;
    if (face.isValid()) {
        palette.setColor(QPalette::Base, face);
        if (buttonFace)
            palette.setColor(QPalette::Button, face);
    }
    if (text.isValid()) {
        palette.setColor(QPalette::Text, text);
        if (buttonFace)
            palette.setColor(QPalette::ButtonText, text);
    }
    ChangedOnly::setPalette(field, palette);
}

} // namespace FieldColours
