#include "base/WindowsTurkishCodePage.h"

#include <array>

namespace WindowsTurkishCodePage {

namespace {

// 0x80-0x9F; the undefined bytes map to themselves.
constexpr std::array<char16_t, 32> kHighControls = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u008E', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u009E', u'\u0178',
};

struct TurkishLetter
{
    unsigned char byte;
    char16_t letter;
};

constexpr std::array<TurkishLetter, 6> kTurkishLetters = {{
    {0xD0, u'Ğ'}, {0xDD, u'İ'}, {0xDE, u'Ş'}, {0xF0, u'ğ'}, {0xFD, u'ı'}, {0xFE, u'ş'},
}};

constexpr char16_t decodeByte(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return kHighControls[byte - 0x80];
    for (const TurkishLetter &entry : kTurkishLetters) {
        if (entry.byte == byte)
            return entry.letter;
    }
    return byte;
}

constexpr std::array<char16_t, 256> makeDecodeTable()
{
    std::array<char16_t, 256> table{};
    for (int byte = 0; byte < 256; ++byte)
        table[byte] = decodeByte(static_cast<unsigned char>(byte));
    return table;
}

constexpr std::array<char16_t, 256> kDecode = makeDecodeTable();

// The byte of a character, or -1.
int byteOf(char16_t character)
{
    if (character < 0x80)
        return character;
    if (character <= 0xFF) {
        // Latin-1 positions keep their letter unless a Turkish letter or a
        // 0x80-0x9F character took the byte.
        return kDecode[character] == character ? int(character) : -1;
    }
    for (const TurkishLetter &entry : kTurkishLetters) {
        if (entry.letter == character)
            return entry.byte;
    }
    for (int index = 0; index < int(kHighControls.size()); ++index) {
        if (kHighControls[index] == character)
            return 0x80 + index;
    }
    return -1;
}

} // namespace

QChar toUnicode(char byte)
{
    return QChar(kDecode[static_cast<unsigned char>(byte)]);
}

QString decode(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char byte : bytes)
        *out++ = QChar(kDecode[static_cast<unsigned char>(byte)]);
    return text;
}

bool canEncode(QChar character)
{
    return byteOf(character.unicode()) >= 0;
}

qsizetype firstUnencodable(QStringView text)
{
    for (qsizetype index = 0; index < text.size(); ++index) {
        if (byteOf(text[index].unicode()) < 0)
            return index;
    }
    return -1;
}

QByteArray encode(QStringView text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char *out = bytes.data();
    for (const QChar character : text) {
        const int byte = byteOf(character.unicode());
        *out++ = static_cast<char>(byte >= 0 ? byte : '?');
    }
    return bytes;
}

} // namespace WindowsTurkishCodePage
