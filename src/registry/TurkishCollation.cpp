#include "registry/TurkishCollation.h"

#include <QChar>
#include <QList>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

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

// The weight that tells every character apart.
quint32 strictWeight(char32_t character)
{
    for (quint32 i = 0; i < kAlphabetLength; ++i) {
        if (kAlphabet[i] == character)
            return kFirstLetterWeight + i;
    }
    return character < 128 ? quint32(character) : kOtherWeightBase + quint32(character);
}

// The letter that stands for a character's case pair: the capital of the
// Turkish alphabet's pairs (I with ı, İ with i), and for every other letter
// its capital by the simple case mapping (Â for â, É for é).
char32_t representative(char32_t character)
{
    for (quint32 i = 1; i < kAlphabetLength; i += 2) {
        if (kAlphabet[i] == character)
            return kAlphabet[i - 1];
    }
    for (quint32 i = 0; i < kAlphabetLength; i += 2) {
        if (kAlphabet[i] == character)
            return character;
    }
    return QChar::toUpper(character);
}

// Strict weights tell a capital from its small letter; folded weights give
// both the capital's weight.
WeightTable buildWeights(bool folded)
{
    WeightTable weights{};
    for (char32_t c = 0; c < kTableSize; ++c)
        weights[c] = strictWeight(folded ? representative(c) : c);
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

quint32 weightIn(const WeightTable &table, bool folded, char32_t character)
{
    if (character < kTableSize)
        return table[character];
    // strictWeight(representative(character)) without their walks through
    // the alphabet, none of whose letters lies past the table: the search's
    // upper bound ends in such a character, compared with every row found.
    if (folded && character <= 0x10FFFF) {
        const char32_t capital = QChar::toUpper(character);
        return capital < kTableSize ? strictWeights()[capital] : kOtherWeightBase + quint32(capital);
    }
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
            leftWeight = weightIn(table, !strict, decode(l, leftLength, i));
            rightWeight = weightIn(table, !strict, decode(r, rightLength, j));
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
    return weightIn(strictWeights(), false, character);
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

bool sameName(const QString &left, const QString &right)
{
    const QByteArray l = left.simplified().toUtf8();
    const QByteArray r = right.simplified().toUtf8();
    return compareWith(foldedWeights(), false, l.constData(), int(l.size()), r.constData(), int(r.size())) == 0;
}

// Every character of the 16-bit range by the lightest member of its case
// pair (or group: ſ goes with S and s): the bound's characters.
const std::vector<char16_t> &lightestOfEachGroup()
{
    static const std::vector<char16_t> lightest = [] {
        // strictWeight() and representative() as they are, without their
        // walk through the alphabet past the table, where no letter of it
        // lies: built at the first search of a run, which waits for it.
        const WeightTable &strict = strictWeights();
        const auto weightOf = [&strict](char32_t c) {
            return c < kTableSize ? strict[c] : kOtherWeightBase + quint32(c);
        };
        const auto groupOf = [](char32_t c) {
            return c < kTableSize ? representative(c) : char32_t(QChar::toUpper(c));
        };
        constexpr char32_t kNone = 0x110000;
        std::vector<char32_t> groups(0x10000);
        std::vector<char32_t> byGroup(0x10000, kNone);
        for (char32_t c = 0; c < 0x10000; ++c) {
            const char32_t group = groups[c] = groupOf(c);
            if (group < 0x10000 && (byGroup[group] == kNone || weightOf(c) < weightOf(byGroup[group])))
                byGroup[group] = c;
        }
        std::vector<char16_t> result(0x10000);
        for (char32_t c = 0; c < 0x10000; ++c) {
            const char32_t group = groups[c];
            result[c] = char16_t(group < 0x10000 ? byGroup[group] : c);
        }
        return result;
    }();
    return lightest;
}

QString prefixLowerBound(const QString &prefix)
{
    // The bound must sort at or before every text that begins with the
    // prefix in any case: each character becomes the lightest of its group.
    const std::vector<char16_t> &lightest = lightestOfEachGroup();
    QString bound;
    bound.reserve(prefix.size());
    for (const char32_t character : prefix.toUcs4()) {
        if (character < 0x10000) {
            bound += QChar(lightest[character]);
            continue;
        }
        char32_t best = character;
        for (const char32_t candidate : {representative(character), QChar::toLower(representative(character))}) {
            if (representative(candidate) == representative(character) && strictWeight(candidate) < strictWeight(best))
                best = candidate;
        }
        bound += QString::fromUcs4(&best, 1);
    }
    return bound;
}

QString prefixUpperBound(const QString &prefix)
{
    static const QString heaviest = QString::fromUcs4(U"\U0010FFFF", 1);
    return prefixLowerBound(prefix) + heaviest;
}

} // namespace TurkishCollation
