#include "base/CsvText.h"

#include <QRegularExpression>

namespace CsvText {

namespace {

QString quoted(const QString &text)
{
    QString doubled = text;
    doubled.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + doubled + u'"';
}

} // namespace

bool startsAFormula(const QString &text)
{
    if (text.isEmpty())
        return false;
    switch (text.front().unicode()) {
    case u'=':
    case u'+':
    case u'-':
    case u'@':
    case u'\t':
    case u'\r':
        return true;
    default:
        return false;
    }
}

QString field(const QString &text)
{
    if (startsAFormula(text))
        return quoted(u'\'' + text);
    const bool needsQuotes = text.contains(kSeparator) || text.contains(u'"') || text.contains(u'\n')
        || text.contains(u'\r');
    return needsQuotes ? quoted(text) : text;
}

QString number(const QString &figure)
{
    static const QRegularExpression plainFigure(QStringLiteral("^-?[0-9]+(,[0-9]+)?$"));
    if (figure.isEmpty() || plainFigure.match(figure).hasMatch())
        return figure;
    return field(figure);
}

QString line(const QStringList &fields, const QList<int> &numberColumns)
{
    QStringList written;
    written.reserve(fields.size());
    for (qsizetype column = 0; column < fields.size(); ++column) {
        const QString &value = fields[column];
        written.append(numberColumns.contains(int(column)) ? number(value) : field(value));
    }
    return written.join(kSeparator) + QLatin1String(kLineEnd);
}

QByteArray fileBytes(const QString &text)
{
    return QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
}

} // namespace CsvText
