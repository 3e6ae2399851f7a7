#include "registry/TurkishCollation.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace TurkishCollation {

namespace {

// Each capital is followed by its own small letter: I pairs with ı, İ with i.
constexpr char32_t kAlphabet[] = U"AaBbCcÇçDdEeFfGgĞğHhIıİiJjKkLlMmNnOoÖöPpQqRrSsŞşTtUuÜüVvWwXxYyZz";
constexpr quint32 kAlphabetLength = sizeof(kAlphabet) / sizeof(kAlphabet[0]) - 1;
constexpr quint32 kFirstLetterWeight = 128;
constexpr quint32 kOtherWeightBase = kFirstLetterWeight + kAlphabetLength;

// Every letter of the alphabet lies below U+0180, so one table covers the
// characters that make up nearly all names.
constexpr char32_t kTableSize = 0x180;

using WeightTable = std::array<quint32, kTableSize>;

// Strict weights tell a capital from its small letter; folded weights give
// both the capital's weight.
WeightTable buildWeights(bool folded)
{
    WeightTable weights{};
    for (char32_t c = 0; c < kTableSize; ++c)
        weights[c] = (c < 128) ? quint32(c) : kOtherWeightBase + quint32(c);
    for (quint32 i = 0; i < kAlphabetLength; ++i)
        weights[kAlphabet[i]] = kFirstLetterWeight + (folded ? i & ~1u : i);
    return weights;
}

const WeightTable &strictWeights()
{
    static const WeightTable table = buildWeights(false);
    return table;
}

const WeightTable &foldedWeights()
{
    static const WeightTable table = buildWeights(true);
    return table;
}

// Decodes one UTF-8 character. A malformed byte stands for itself, mapped
// past the last code point so that it cannot pose as a real character.
char32_t decode(const unsigned char *text, int length, int &position)
{
    const unsigned char lead = text[position];
    int extra = 0;
    char32_t value = 0;
    if (lead < 0x80) {
        ++position;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        value = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        value = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        value = lead & 0x07;
    } else {
        ++position;
        return 0x110000 + lead;
    }
    if (position + extra >= length) {
        ++position;
        return 0x110000 + lead;
    }
    for (int i = 1; i <= extra; ++i) {
        const unsigned char next = text[position + i];
        if ((next & 0xC0) != 0x80) {
            ++position;
            return 0x110000 + lead;
        }
        value = (value << 6) | (next & 0x3F);
    }
    position += extra + 1;
    return value;
}

quint32 weightIn(const WeightTable &table, char32_t character)
{
    if (character < kTableSize)
        return table[character];
    return kOtherWeightBase + quint32(character);
}

// Equal weights all along leave two texts equal; a strict comparison then
// tells them apart by their bytes.
int compareWith(const WeightTable &table, bool strict, const char *left, int leftLength, const char *right,
                int rightLength)
{
    const auto *l = reinterpret_cast<const unsigned char *>(left);
    const auto *r = reinterpret_cast<const unsigned char *>(right);
    int i = 0;
    int j = 0;
    while (i < leftLength && j < rightLength) {
        quint32 leftWeight;
        quint32 rightWeight;
        if (l[i] < 0x80 && r[j] < 0x80) {
            if (l[i] == r[j]) {
                ++i;
                ++j;
                continue;
            }
            leftWeight = table[l[i++]];
            rightWeight = table[r[j++]];
        } else {
            leftWeight = weightIn(table, decode(l, leftLength, i));
            rightWeight = weightIn(table, decode(r, rightLength, j));
        }
        if (leftWeight != rightWeight)
            return leftWeight < rightWeight ? -1 : 1;
    }
    if (i < leftLength)
        return 1;
    if (j < rightLength)
        return -1;
    if (!strict)
        return 0;
    // Only malformed texts get here unequal; the bytes keep the order strict.
    const int common = std::min(leftLength, rightLength);
    const int bytes = common > 0 ? std::memcmp(left, right, size_t(common)) : 0;
    if (bytes != 0)
        return bytes;
    return leftLength == rightLength ? 0 : (leftLength < rightLength ? -1 : 1);
}

} // namespace

quint32 weight(char32_t character)
{
    return weightIn(strictWeights(), character);
}

int compareUtf8(const char *left, int leftLength, const char *right, int rightLength)
{
    const int folded = compareWith(foldedWeights(), false, left, leftLength, right, rightLength);
    if (folded != 0)
        return folded;
    return compareWith(strictWeights(), true, left, leftLength, right, rightLength);
}

int compare(const QString &left, const QString &right)
{
    const QByteArray l = left.toUtf8();
    const QByteArray r = right.toUtf8();
    return compareUtf8(l.constData(), int(l.size()), r.constData(), int(r.size()));
}

QString prefixLowerBound(const QString &prefix)
{
    QString bound = prefix;
    for (QChar &character : bound) {
        const char16_t c = character.unicode();
        for (quint32 i = 1; i < kAlphabetLength; i += 2) {
            if (kAlphabet[i] == c) {
                character = QChar(char16_t(kAlphabet[i - 1]));
                break;
            }
        }
    }
    return bound;
}

QString prefixUpperBound(const QString &prefix)
{
    static const QString heaviest = QString::fromUcs4(U"\U0010FFFF", 1);
    return prefixLowerBound(prefix) + heaviest;
}

} // namespace TurkishCollation
