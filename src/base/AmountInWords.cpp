#include "base/AmountInWords.h"

#include <QStringView>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int kSignificantDigits = 18;
constexpr int kWholeDigits = 24; // eight groups of three, up to the KatTrilyar group

constexpr QStringView kHundreds[10] = {u"",        u"Yüz",     u"İkiYüz",   u"ÜçYüz",
                                       u"DörtYüz", u"BeşYüz",  u"AltıYüz",  u"YediYüz",
                                       u"SekizYüz", u"DokuzYüz"};
constexpr QStringView kTens[10] = {u"",      u"On",     u"Yirmi",  u"Otuz",   u"Kırk",
                                   u"Elli",  u"Altmış", u"Yetmiş", u"Seksen", u"Doksan"};
constexpr QStringView kUnits[10] = {u"",     u"Bir",  u"İki",   u"Üç",    u"Dört",
                                    u"Beş",  u"Altı", u"Yedi",  u"Sekiz", u"Dokuz"};
constexpr QStringView kGroupWords[kWholeDigits / 3] = {u"KatTrilyar", u"Trilyar", u"KatTrilyon",
                                                       u"Trilyon",    u"Milyar",  u"Milyon",
                                                       u"Bin",        u""};

// The value rounded to a whole number the way the printed forms always have
// done it: first to 18 significant digits, then to no decimals with a half
// going up (so a fraction that is 56,4999... in binary still reads 56 or 57
// exactly as before). Gives the digits without leading zeros, "" for 0, and
// false when the value is not a number or needs more than 24 digits.
bool roundedWholeDigits(long double value, std::string &whole)
{
    whole.clear();
    if (!std::isfinite(value))
        return false;
    if (value <= 0.0L)
        return true;

    // "d.ddddddddddddddddde+XX": 18 significant digits and a decimal exponent.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*Le", kSignificantDigits - 1, value);
    std::string significant;
    const char *p = buffer;
    for (; *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9')
            significant.push_back(*p);
    }
    const int before = std::atoi(p + 1) + 1; // digits before the decimal point

    if (before > kWholeDigits)
        return false;

    if (before <= 0) {
        // Only 0,5 up to 1 can round to a whole number; smaller gave < 0,1.
        if (before == 0 && significant[0] >= '5')
            whole.push_back('1');
        return true;
    }

    whole = significant.substr(0, std::min<std::size_t>(before, significant.size()));
    if (before < kSignificantDigits && significant[before] >= '5') {
        int i = int(whole.size()) - 1;
        for (; i >= 0 && whole[i] == '9'; --i)
            whole[i] = '0';
        if (i >= 0)
            ++whole[i];
        else
            whole = '1' + whole;
    }
    if (int(whole.size()) < before)
        whole.append(before - whole.size(), '0');
    return int(whole.size()) <= kWholeDigits;
}

} // namespace

QString NumberToWords(long double value)
{
    std::string whole;
    if (!roundedWholeDigits(value, whole) || whole.empty())
        return QString();
    whole = std::string(kWholeDigits - whole.size(), '0') + whole;

    QString result;
    for (int group = 0; group < kWholeDigits / 3; ++group) {
        const char *digits = whole.data() + 3 * group;
        QString text;
        text += kHundreds[digits[0] - '0'];
        text += kTens[digits[1] - '0'];
        text += kUnits[digits[2] - '0'];
        if (!text.isEmpty())
            text += kGroupWords[group];
        // One thousand is plain "Bin"; "BirMilyon" and the larger ones keep "Bir".
        if (text == u"BirBin")
            text = QStringLiteral("Bin");
        result += text;
    }
    return result;
}

QString AmountToWords(const QString &mainUnit, const QString &fractionUnit, int fractionDigits,
                      long double value)
{
    if (!std::isfinite(value))
        return QString();
    if (value == 0.0L)
        return QStringLiteral("Sıfır") + mainUnit;

    const long double scale = fractionDigits > 0 ? std::pow(10.0L, fractionDigits) : 0.0L;
    const long double whole = std::trunc(value);
    // Not rounded here: 12,57 leaves a fraction just off 57 that the rounding
    // inside NumberToWords brings back to "ElliYedi".
    const long double fraction = (value - whole) * scale;

    if (whole > 0 && fraction > 0)
        return NumberToWords(whole) + mainUnit + QLatin1Char(' ') + NumberToWords(fraction)
            + fractionUnit;
    if (whole > 0)
        return NumberToWords(whole) + mainUnit;
    if (fraction > 0)
        return NumberToWords(fraction) + fractionUnit;
    return QString();
}
