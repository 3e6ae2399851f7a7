#include "base/KurusAmount.h"

#include <QRegularExpression>

#include <limits>

namespace KurusAmount {

namespace {

// More whole digits than any amount field holds, few enough to add up a
// register of millions of records without overflow.
constexpr int kMaxWholeDigits = 15;

QString withThousands(const QString &digits)
{
    QString grouped;
    const qsizetype length = digits.size();
    for (qsizetype i = 0; i < length; ++i) {
        if (i > 0 && (length - i) % 3 == 0)
            grouped += u'.';
        grouped += digits[i];
    }
    return grouped;
}

QString format(qint64 kurus, bool thousands)
{
    const bool negative = kurus < 0;
    // The magnitude as unsigned, so that the smallest qint64 has one too.
    const quint64 magnitude = negative ? quint64(0) - quint64(kurus) : quint64(kurus);
    const QString whole = QString::number(magnitude / 100);
    const QString cents = QStringLiteral("%1").arg(magnitude % 100, 2, 10, QLatin1Char('0'));
    return (negative ? QStringLiteral("-") : QString()) + (thousands ? withThousands(whole) : whole) + u','
        + cents;
}

} // namespace

std::optional<qint64> fromText(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return qint64(0);
    static const QRegularExpression form(
        QStringLiteral("^(-?)(\\d{1,3}(?:\\.\\d{3})+|\\d+)(?:,(\\d{1,2}))?$"));
    const QRegularExpressionMatch match = form.match(trimmed);
    if (!match.hasMatch())
        return std::nullopt;
    QString whole = match.captured(2);
    whole.remove(u'.');
    while (whole.size() > 1 && whole.startsWith(u'0'))
        whole.remove(0, 1);
    if (whole.size() > kMaxWholeDigits)
        return std::nullopt;
    const QString decimals = match.captured(3).leftJustified(2, u'0');
    const qint64 magnitude = whole.toLongLong() * 100 + decimals.toLongLong();
    return match.captured(1).isEmpty() ? magnitude : -magnitude;
}

QString toText(qint64 kurus)
{
    return format(kurus, true);
}

QString toPlainText(qint64 kurus)
{
    return format(kurus, false);
}

} // namespace KurusAmount
