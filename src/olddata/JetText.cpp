#include "olddata/JetText.h"

namespace JetText {

std::optional<QString> decode(QByteArrayView bytes)
{
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype size = bytes.size();
    QString text;
    if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) {
        text.reserve(size);
        bool compressed = true;
        for (qsizetype i = 2; i < size;) {
            if (data[i] == 0) {
                compressed = !compressed;
                ++i;
            } else if (compressed) {
                text.append(QChar(char16_t(data[i])));
                ++i;
            } else {
                if (i + 1 >= size)
                    return std::nullopt;
                text.append(QChar(char16_t(data[i] | (data[i + 1] << 8))));
                i += 2;
            }
        }
        return text;
    }
    if (size % 2 != 0)
        return std::nullopt;
    text.resize(size / 2);
    for (qsizetype i = 0; i < size / 2; ++i)
        text[i] = QChar(char16_t(data[2 * i] | (data[2 * i + 1] << 8)));
    return text;
}

namespace {

QByteArray ucs2(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size() * 2);
    for (QChar character : text) {
        bytes.append(char(character.unicode() & 0xFF));
        bytes.append(char(character.unicode() >> 8));
    }
    return bytes;
}

} // namespace

QByteArray encode(const QString &text, bool allowCompression)
{
    QByteArray plain = ucs2(text);
    if (!allowCompression || text.isEmpty())
        return plain;
    QByteArray compressed("\xFF\xFE", 2);
    bool inCompressed = true;
    for (QChar character : text) {
        const char16_t code = character.unicode();
        if ((code & 0xFF) == 0)
            return plain;
        const bool single = code < 0x100;
        if (single != inCompressed) {
            compressed.append('\0');
            inCompressed = single;
        }
        compressed.append(char(code & 0xFF));
        if (!single)
            compressed.append(char(code >> 8));
    }
    return compressed.size() < plain.size() ? compressed : plain;
}

} // namespace JetText
