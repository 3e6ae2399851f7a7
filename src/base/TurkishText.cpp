#include "base/TurkishText.h"

namespace TurkishText {

QLocale locale()
{
    return QLocale(QLocale::Turkish, QLocale::Turkey);
}

QChar upperCaseTyped(QChar character)
{
    const char16_t c = character.unicode();
    if (c >= u'a' && c <= u'z') {
        if (c == u'q' || c == u'w')
            return character;
        if (c == u'i')
            return QChar(u'İ');
        return QChar(char16_t(c - u'a' + u'A'));
    }
    switch (c) {
    case u'ı':
        return QChar(u'I');
    case u'ç':
        return QChar(u'Ç');
    case u'ğ':
        return QChar(u'Ğ');
    case u'ö':
        return QChar(u'Ö');
    case u'ş':
        return QChar(u'Ş');
    case u'ü':
        return QChar(u'Ü');
    default:
        return character;
    }
}

QString upperCaseTyped(const QString &text)
{
    QString result = text;
    for (QChar &character : result)
        character = upperCaseTyped(character);
    return result;
}

QString shortDate(const QDate &date)
{
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

QString clockText(const QDateTime &moment)
{
    return locale().toString(moment.date(), QStringLiteral("d MMMM dddd"))
           + moment.time().toString(QStringLiteral(" - hh:mm:ss")) + QStringLiteral("  ");
}

} // namespace TurkishText
