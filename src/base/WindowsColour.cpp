#include "base/WindowsColour.h"

namespace WindowsColour {

qint32 fromQColor(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return rgb.red() + 256 * rgb.green() + 65536 * rgb.blue();
}

QColor toQColor(qint32 value)
{
    const quint32 bits = static_cast<quint32>(value);
    if ((bits >> 24) == 0)
        return QColor(int(bits & 0xFF), int((bits >> 8) & 0xFF), int((bits >> 16) & 0xFF));
    if ((bits >> 24) == 0xFF) {
        switch (bits & 0xFF) {
        case 5: // clWindow
            return QColor(255, 255, 255);
        case 8: // clWindowText
        case 18: // clBtnText
            return QColor(0, 0, 0);
        case 15: // clBtnFace
            return buttonFace();
        case 13: // clHighlight
            return QColor(0, 120, 215);
        case 14: // clHighlightText
            return QColor(255, 255, 255);
        default:
            break;
        }
    }
    return QColor();
}

QColor buttonFace()
{
    return QColor(240, 240, 240);
}

QColor skyBlue()
{
    return QColor(166, 202, 240);
}

} // namespace WindowsColour
