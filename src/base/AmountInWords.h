#pragma once

#include <QString>

// Amounts in Turkish words, in the compact style of payment orders: the words
// are joined without blanks ("BinİkiYüzOtuzDört").

// The words of a whole number below 10^24; the value is rounded to the nearest
// whole number (a half away from zero) at 18 significant digits first. Gives
// the empty text for 0, for anything below one half, for negative values and
// for values outside the range.
QString NumberToWords(long double value);

// The whole part in words followed by mainUnit, then a blank and the
// fractionDigits-digit fractional part in words followed by fractionUnit; a
// part that is zero is left out, and an amount of exactly 0 is "Sıfır" +
// mainUnit. Negative amounts give the empty text. fractionDigits 0 or less
// writes no fractional part.
QString AmountToWords(const QString &mainUnit, const QString &fractionUnit, int fractionDigits,
                      long double value);
