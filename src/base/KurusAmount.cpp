#include "base/KurusAmount.h"

#include "base/WrittenAmount.h"

namespace KurusAmount {

namespace {

// More whole digits than any amount field holds, few enough to add up a
// register of millions of records without overflow.
constexpr int kMaxWholeDigits = 15;

// An amount field's text: "." groups, a "-", at most two decimals.
constexpr WrittenAmount::Rules kFieldText{};

WrittenAmount written(qint64 kurus)
{
    // The magnitude as unsigned, so that the smallest qint64 has one too.
    const quint64 magnitude = kurus < 0 ? quint64(0) - quint64(kurus) : quint64(kurus);
    return {kurus < 0, QString::number(magnitude / 100),
            QStringLiteral("%1").arg(magnitude % 100, 2, 10, QLatin1Char('0'))};
}

} // namespace

std::optional<qint64> fromText(const QString &text)
{
    if (QStringView(text).trimmed().isEmpty())
        return qint64(0);
    const std::optional<WrittenAmount> amount = WrittenAmount::read(text, kFieldText);
    if (!amount || amount->whole.size() > kMaxWholeDigits)
        return std::nullopt;
    const qint64 magnitude = amount->whole.toLongLong() * 100 + amount->decimals.leftJustified(2, u'0').toLongLong();
    return amount->negative ? -magnitude : magnitude;
}

QString toText(qint64 kurus)
{
    return written(kurus).displayForm();
}

QString toPlainText(qint64 kurus)
{
    return written(kurus).plainForm();
}

} // namespace KurusAmount
