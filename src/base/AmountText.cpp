#include "base/AmountText.h"

#include "base/WrittenAmount.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace AmountText {

namespace {

// Rounding works on the decimal form with as many significant digits as the
// value's type holds faithfully, at most 18: that is the 18-digit form of an
// 80-bit extended value, and 15 digits where long double is a plain double
// (MSVC). Rounding the exact binary value instead would turn 0,825 into
// "0,82", since 0,825 lies just below its nearest binary neighbour.
constexpr int kSignificantDigits = std::min(std::numeric_limits<long double>::digits10, 18);

bool isDigit(QChar character)
{
    return character >= u'0' && character <= u'9';
}

bool allDigits(QStringView text)
{
    return std::all_of(text.begin(), text.end(), isDigit);
}

// The magnitude of value times 10^decimals, rounded half away from zero on
// the value's decimal form, as a string of digits without leading zeros.
std::string scaledDigits(long double value, int decimals, bool *negative)
{
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value,
                                       std::chars_format::scientific, kSignificantDigits - 1);
    // "-d.ddd…e+XX": the digits before the exponent, then the exponent.
    const std::string_view form(buffer, std::size_t(written.ptr - buffer));
    *negative = !form.empty() && form.front() == '-';
    const std::size_t exponentAt = form.find('e');
    std::string digits;
    for (const char c : form.substr(0, exponentAt))
        if (c >= '0' && c <= '9')
            digits.push_back(c);
    std::string_view exponentText = form.substr(exponentAt + 1);
    if (!exponentText.empty() && exponentText.front() == '+')
        exponentText.remove_prefix(1);
    int exponent = 0;
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);

    // Digits that stand at or above the last kept decimal place.
    const long long keep = (long long)exponent + 1 + decimals;
    std::string scaled;
    if (keep < 0) {
        scaled.assign(1, '0');
    } else if (keep == 0) {
        scaled.assign(1, digits.front() >= '5' ? '1' : '0');
    } else if (keep >= (long long)digits.size()) {
        scaled = digits;
        scaled.append(std::size_t(keep) - digits.size(), '0');
    } else {
        scaled = digits.substr(0, std::size_t(keep));
        if (digits[std::size_t(keep)] >= '5') {
            auto position = scaled.rbegin();
            for (; position != scaled.rend() && *position == '9'; ++position)
                *position = '0';
            if (position == scaled.rend())
                scaled.insert(scaled.begin(), '1');
            else
                ++*position;
        }
    }
    const std::size_t firstSignificant = scaled.find_first_not_of('0');
    return firstSignificant == std::string::npos ? std::string("0") : scaled.substr(firstSignificant);
}

// Converts "[-]digits[,digits]" (either side may be empty); our own texts
// only, already checked. Values beyond the type's range read as unreadable.
std::optional<long double> convert(QStringView sign, QStringView whole, QStringView fraction)
{
    std::string plain;
    plain.reserve(std::size_t(sign.size() + whole.size() + fraction.size() + 3));
    if (sign == u"-")
        plain.push_back('-');
    plain += whole.isEmpty() ? std::string("0") : whole.toLatin1().toStdString();
    if (!fraction.isEmpty()) {
        plain.push_back('.');
        plain += fraction.toLatin1().toStdString();
    }
    long double value = 0;
    // from_chars is locale-independent and correctly rounded.
    const auto parsed = std::from_chars(plain.data(), plain.data() + plain.size(), value,
                                        std::chars_format::fixed);
    if (parsed.ec != std::errc() || parsed.ptr != plain.data() + plain.size())
        return std::nullopt;
    return value;
}

} // namespace

QString currencySuffix(TCurrSymbolSet symbol)
{
    switch (symbol) {
    case TCurrSymbolSet::None:
        return QString();
    case TCurrSymbolSet::TL:
        return QStringLiteral(" TL");
    case TCurrSymbolSet::YTL:
        return QStringLiteral(" YTL");
    case TCurrSymbolSet::EURO:
        return QStringLiteral(" \u20AC");
    case TCurrSymbolSet::DOLAR:
        return QStringLiteral(" $");
    }
    return QString();
}

QString stripCurrencySuffix(const QString &text, TCurrSymbolSet symbol)
{
    QString stripped = text;
    stripped.chop(currencySuffix(symbol).size());
    return stripped;
}

QString pattern(int decimals)
{
    if (decimals <= 0)
        return QStringLiteral("#,##0");
    return QStringLiteral("#,##0.") + QString(decimals, u'0');
}

QString format(long double value, int decimals)
{
    decimals = std::max(decimals, 0);
    // The program never computes these; zero is safer on a payment order
    // than "inf" or "nan".
    if (!std::isfinite(value))
        value = 0;
    bool negative = false;
    std::string digits = scaledDigits(value, decimals, &negative);
    const bool zero = digits == "0";
    if (digits.size() < std::size_t(decimals) + 1)
        digits.insert(0, std::size_t(decimals) + 1 - digits.size(), '0');

    const std::size_t wholeLength = digits.size() - std::size_t(decimals);
    const WrittenAmount shown{negative && !zero, QString::fromLatin1(digits.data(), qsizetype(wholeLength)),
                              QString::fromLatin1(digits.data() + wholeLength, qsizetype(decimals))};
    return shown.displayForm();
}

QString normalForm(const QString &text, int decimals)
{
    decimals = std::max(decimals, 0);
    QString digits = text;
    digits.remove(kThousandsSeparator);
    digits.remove(kDecimalSeparator);

    // A valid number here is an optional sign followed by at least one digit;
    // blanks, letters, a suffix, an exponent or a sign elsewhere make it
    // unreadable. The sign stays in front, and the digits are padded with
    // zeros on the left to fill the decimals, so "-5" with two decimals
    // becomes "-,05" and reads -0,05 (not ",-5", which would read nothing).
    QStringView body(digits);
    QString sign;
    if (!body.isEmpty() && (body.front() == u'-' || body.front() == u'+')) {
        if (body.front() == u'-')
            sign = QStringLiteral("-");
        body = body.mid(1);
    }
    if (body.isEmpty() || !allDigits(body))
        return QStringLiteral("0");

    QString padded = body.toString();
    if (padded.size() < decimals)
        padded.prepend(QString(decimals - padded.size(), u'0'));
    return sign + padded.left(padded.size() - decimals) + kDecimalSeparator
           + padded.right(decimals);
}

long double TextAsFloat(const QString &text, int decimals, TCurrSymbolSet symbol)
{
    const QString normal = normalForm(stripCurrencySuffix(text, symbol), decimals);
    QStringView view(normal);
    QStringView sign;
    if (view.startsWith(u'-')) {
        sign = view.left(1);
        view = view.mid(1);
    }
    const qsizetype separator = view.indexOf(kDecimalSeparator);
    const QStringView whole = separator < 0 ? view : view.left(separator);
    const QStringView fraction = separator < 0 ? QStringView() : view.mid(separator + 1);
    return convert(sign, whole, fraction).value_or(0.0L);
}

QString reformat(const QString &text, int decimals)
{
    return format(TextAsFloat(text, decimals), decimals);
}

std::optional<long double> TextToValue(const QString &text, TCurrSymbolSet symbol)
{
    QString plain = stripCurrencySuffix(text, symbol);
    plain.remove(kThousandsSeparator);
    QStringView view(plain);
    QStringView sign;
    if (!view.isEmpty() && (view.front() == u'-' || view.front() == u'+')) {
        sign = view.left(1);
        view = view.mid(1);
    }
    const qsizetype separator = view.indexOf(kDecimalSeparator);
    const QStringView whole = separator < 0 ? view : view.left(separator);
    const QStringView fraction = separator < 0 ? QStringView() : view.mid(separator + 1);
    if (whole.size() + fraction.size() == 0 || !allDigits(whole) || !allDigits(fraction))
        return std::nullopt;
    return convert(sign, whole, fraction);
}

qint64 liraValue(const QString &text, int decimals)
{
    const long double whole = std::trunc(TextAsFloat(text, decimals));
    // 64 bits hold every amount a field can take (13 whole digits) exactly;
    // a longer pasted text is held at the ends of the range.
    constexpr long double limit = 0x1p63L;
    if (whole >= limit)
        return std::numeric_limits<qint64>::max();
    if (whole < -limit)
        return std::numeric_limits<qint64>::min();
    return qint64(whole);
}

QString LiraPart(const QString &text, int decimals)
{
    return QString::number(liraValue(text, decimals));
}

QString KurusPart(const QString &text)
{
    return text.right(2);
}

std::optional<QString> pastedAmount(const QString &text, int decimals)
{
    decimals = std::max(decimals, 0);
    const WrittenAmount::Rules pasted{.thousandsSeparators = u". \u00A0\u202F",
                                      .plusSign = true,
                                      .currencyUnit = true,
                                      .bareDecimals = true,
                                      .maxDecimals = decimals};
    std::optional<WrittenAmount> amount = WrittenAmount::read(text, pasted);
    if (!amount)
        return std::nullopt;
    // The display form of the digits as they stand: no rounding.
    amount->decimals = amount->decimals.leftJustified(decimals, u'0');
    return amount->displayForm();
}

} // namespace AmountText
