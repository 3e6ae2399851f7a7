#pragma once

#include <QString>

// A text with the letters of the Turkish alphabet as capitals (i to İ, ı to
// I): how the name order and the payee search see names, whatever the case
// they were written in. Written out here so that tests do not lean on the
// code they check.
inline QString turkishCapitals(const QString &text)
{
    static const QString small = QStringLiteral("abcçdefgğhıijklmnoöpqrsştuüvwxyz");
    static const QString capital = QStringLiteral("ABCÇDEFGĞHIİJKLMNOÖPQRSŞTUÜVWXYZ");
    QString result = text;
    for (QChar &character : result) {
        const qsizetype at = small.indexOf(character);
        if (at >= 0)
            character = capital[at];
    }
    return result;
}
