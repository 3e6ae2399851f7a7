#include "base/CsvText.h"

namespace CsvText {

QString field(const QString &text)
{
    const bool quoted = text.contains(kSeparator) || text.contains(u'"') || text.contains(u'\n')
        || text.contains(u'\r');
    if (!quoted)
        return text;
    QString doubled = text;
    doubled.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + doubled + u'"';
}

QString line(const QStringList &fields)
{
    QStringList written;
    written.reserve(fields.size());
    for (const QString &text : fields)
        written.append(field(text));
    return written.join(kSeparator) + QLatin1String(kLineEnd);
}

QByteArray fileBytes(const QString &text)
{
    return QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
}

} // namespace CsvText
