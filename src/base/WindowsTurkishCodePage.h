#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The Windows Turkish code page (1254), in which the Windows build of the
// program keeps its settings file. It is Latin-1 but for the 0x80-0x9F block
// and the six Turkish letters at 0xD0 0xDD 0xDE 0xF0 0xFD 0xFE.
namespace WindowsTurkishCodePage {

// Every byte decodes; the seven bytes the code page leaves undefined decode to
// the C1 control of the same number, so they survive a read and a write.
QChar toUnicode(char byte);
QString decode(QByteArrayView bytes);

// True when the character has a byte in the code page.
bool canEncode(QChar character);

// The index of the first character that has no byte, or -1 when all have one.
qsizetype firstUnencodable(QStringView text);

// Callers check firstUnencodable() first; a character without a byte is
// written as "?", as Windows does.
QByteArray encode(QStringView text);

} // namespace WindowsTurkishCodePage
