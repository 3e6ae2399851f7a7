#include "olddata/JetText.h"

namespace JetText {

namespace {

// Hands each UTF-16 unit of a Jet text to take, in order: false for bytes
// that are no such text, which may have handed some units already.
template <typename Take>
bool forEachUnit(QByteArrayView bytes, Take take)
{
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype size = bytes.size();
    if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) {
        bool compressed = true;
        for (qsizetype i = 2; i < size;) {
            if (data[i] == 0) {
                compressed = !compressed;
                ++i;
            } else if (compressed) {
                take(char16_t(data[i]));
                ++i;
            } else {
                if (i + 1 >= size)
                    return false;
                take(char16_t(data[i] | (data[i + 1] << 8)));
                i += 2;
            }
        }
        return true;
    }
    if (size % 2 != 0)
        return false;
    for (qsizetype i = 0; i < size; i += 2)
        take(char16_t(data[i] | (data[i + 1] << 8)));
    return true;
}

} // namespace

std::optional<QString> decode(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    if (!forEachUnit(bytes, [&text](char16_t unit) { text.append(QChar(unit)); }))
        return std::nullopt;
    return text;
}

namespace {

void appendCode(char32_t code, QByteArray *utf8)
{
    if (code < 0x80) {
        utf8->append(char(code));
    } else if (code < 0x800) {
        utf8->append(char(0xC0 | (code >> 6)));
        utf8->append(char(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        utf8->append(char(0xE0 | (code >> 12)));
        utf8->append(char(0x80 | ((code >> 6) & 0x3F)));
        utf8->append(char(0x80 | (code & 0x3F)));
    } else {
        utf8->append(char(0xF0 | (code >> 18)));
        utf8->append(char(0x80 | ((code >> 12) & 0x3F)));
        utf8->append(char(0x80 | ((code >> 6) & 0x3F)));
        utf8->append(char(0x80 | (code & 0x3F)));
    }
}

// UTF-16 units to UTF-8, surrogate pairs joined.
class Utf16ToUtf8
{
public:
    explicit Utf16ToUtf8(QByteArray *utf8) : m_utf8(utf8) {}

    void add(char16_t unit)
    {
        if (unit < 0x80 && !m_high) {
            m_utf8->append(char(unit));
            return;
        }
        if (m_high) {
            if (QChar::isLowSurrogate(unit)) {
                appendCode(QChar::surrogateToUcs4(m_high, unit), m_utf8);
                m_high = 0;
                return;
            }
            finish();
        }
        if (QChar::isHighSurrogate(unit))
            m_high = unit;
        else if (QChar::isLowSurrogate(unit))
            appendCode(0xFFFD, m_utf8);
        else
            appendCode(unit, m_utf8);
    }

    void finish()
    {
        if (m_high)
            appendCode(0xFFFD, m_utf8);
        m_high = 0;
    }

private:
    QByteArray *m_utf8;
    char16_t m_high = 0;
};

} // namespace

bool appendUtf8(QByteArrayView bytes, QByteArray *utf8)
{
    const qsizetype before = utf8->size();
    Utf16ToUtf8 out(utf8);
    if (!forEachUnit(bytes, [&out](char16_t unit) { out.add(unit); })) {
        utf8->truncate(before);
        return false;
    }
    out.finish();
    return true;
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
