#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// Exact amounts in whole kuruş (hundredths of a lira), for the records that
// keep and add up amounts: never through binary floating point.
namespace KurusAmount {

// The largest amount an amount field holds, thirteen whole digits:
// "9.999.999.999.999,99".
inline constexpr qint64 kLargest = 999'999'999'999'999;

// The kuruş of an amount field's text: "1.234,50" gives 123450, "-12,5"
// gives -1250, "1234" gives 123400. The thousands points are optional but,
// where present, stand between groups of three digits; at most two
// decimals. An empty text is 0 kuruş, as the computation counts it. A text
// that is no such amount, or too large to count, gives nothing.
std::optional<qint64> fromText(const QString &text);

// Display form with thousands points: 123450 gives "1.234,50".
QString toText(qint64 kurus);

// Without thousands points, for spreadsheets: 123450 gives "1234,50".
QString toPlainText(qint64 kurus);

} // namespace KurusAmount
