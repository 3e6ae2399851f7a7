#include "base/WrittenAmount.h"

#include "base/AmountText.h"

#include <algorithm>

namespace {

using AmountText::kDecimalSeparator;
using AmountText::kThousandsSeparator;

constexpr QChar kLiraSign = u'\u20BA';

bool isDigit(QChar character)
{
    return character >= u'0' && character <= u'9';
}

// The unit after the amount, then a lira sign before it; the longer "YTL"
// is looked for before "TL", which it ends with.
QStringView withoutCurrencyUnit(QStringView text)
{
    for (const QStringView unit : {QStringView(u"YTL"), QStringView(u"TL"), QStringView(u"\u20BA")}) {
        if (text.endsWith(unit, Qt::CaseInsensitive)) {
            text = text.chopped(unit.size()).trimmed();
            break;
        }
    }
    if (text.startsWith(kLiraSign))
        text = text.mid(1).trimmed();
    return text;
}

// The whole part's digits, or nothing where its separators do not stand
// between groups of three after a first group of one to three digits.
std::optional<QString> wholeDigits(QStringView whole, QStringView separators)
{
    QString digits;
    digits.reserve(whole.size());
    QChar separator;
    int groupLength = -1; // digits since the last separator; -1 before the first
    int firstGroup = 0;
    for (const QChar character : whole) {
        if (isDigit(character)) {
            digits += character;
            if (groupLength >= 0)
                ++groupLength;
            else
                ++firstGroup;
            continue;
        }
        if (!separators.contains(character) || (!separator.isNull() && character != separator))
            return std::nullopt;
        if ((groupLength < 0 && (firstGroup == 0 || firstGroup > 3)) || (groupLength >= 0 && groupLength != 3))
            return std::nullopt;
        separator = character;
        groupLength = 0;
    }
    if (groupLength >= 0 && groupLength != 3)
        return std::nullopt;
    return digits;
}

} // namespace

std::optional<WrittenAmount> WrittenAmount::read(QStringView text, const Rules &rules)
{
    QStringView rest = text.trimmed();
    if (rules.currencyUnit)
        rest = withoutCurrencyUnit(rest);

    bool negative = false;
    if (!rest.isEmpty() && ((rules.minusSign && rest.front() == u'-') || (rules.plusSign && rest.front() == u'+'))) {
        negative = rest.front() == u'-';
        rest = rest.mid(1);
    }

    const qsizetype comma = rest.indexOf(kDecimalSeparator);
    const QStringView decimals = comma < 0 ? QStringView() : rest.mid(comma + 1);
    if ((comma >= 0 && decimals.isEmpty()) || decimals.size() > std::max(rules.maxDecimals, 0)
        || !std::all_of(decimals.begin(), decimals.end(), isDigit))
        return std::nullopt;

    std::optional<QString> digits = wholeDigits(comma < 0 ? rest : rest.left(comma), rules.thousandsSeparators);
    if (!digits || (digits->isEmpty() && (decimals.isEmpty() || !rules.bareDecimals)))
        return std::nullopt;

    WrittenAmount amount;
    const qsizetype leadingZeros = std::find_if(digits->cbegin(), digits->cend(), [](QChar c) { return c != u'0'; })
                                   - digits->cbegin();
    if (leadingZeros < digits->size())
        amount.whole = digits->mid(leadingZeros);
    amount.decimals = decimals.toString();
    const bool zero = amount.whole == u"0" && std::all_of(decimals.begin(), decimals.end(), [](QChar c) {
                          return c == u'0';
                      });
    amount.negative = negative && !zero;
    return amount;
}

QString WrittenAmount::grouped(QStringView digits)
{
    QString text;
    appendGrouped(text, digits);
    return text;
}

void WrittenAmount::appendGrouped(QString &text, QStringView digits)
{
    const qsizetype length = digits.size();
    text.reserve(text.size() + length + length / 3);
    for (qsizetype i = 0; i < length; ++i) {
        if (i > 0 && (length - i) % 3 == 0)
            text += kThousandsSeparator;
        text += digits[i];
    }
}

QString WrittenAmount::displayForm() const
{
    return form(true);
}

QString WrittenAmount::plainForm() const
{
    return form(false);
}

QString WrittenAmount::form(bool thousands) const
{
    QString text;
    // Room for the sign, the separators and the comma: one allocation.
    text.reserve(whole.size() + whole.size() / 3 + decimals.size() + 2);
    if (negative)
        text += u'-';
    if (thousands)
        appendGrouped(text, whole);
    else
        text += whole;
    if (!decimals.isEmpty()) {
        text += kDecimalSeparator;
        text += decimals;
    }
    return text;
}
