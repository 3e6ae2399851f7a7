#pragma once

#include <QColor>
#include <QtGlobal>

// Colours are kept in the settings file as 32-bit Windows colour values:
// red + 256 * green + 65536 * blue, written as signed decimal.
namespace WindowsColour {

inline constexpr qint32 kBlack = 0;
inline constexpr qint32 kWhite = 16777215;
inline constexpr qint32 kSilver = 12632256;
inline constexpr qint32 kLime = 65280;
inline constexpr qint32 kRed = 255;

qint32 fromQColor(const QColor &colour);

// System colour values (high byte 0xFF) map to the usual Windows defaults of
// the colours this program's files may hold; any other value of that kind
// yields an invalid QColor so that the caller keeps its current colour.
QColor toQColor(qint32 value);

// The standard Windows colours the controls use by name.
QColor buttonFace(); // clBtnFace
QColor skyBlue(); // clSkyBlue

} // namespace WindowsColour
