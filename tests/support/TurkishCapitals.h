#pragma once

#include <QList>
#include <QString>

// A text with every letter as its capital, the Turkish way (i to İ, ı to I)
// and Unicode's simple case mapping for the rest (â to Â): how the name
// order and the payee search see names, whatever the case they were written
// in. Written out here so that tests do not lean on the code they check.
inline QString turkishCapitals(const QString &text)
{
    static const QString small = QStringLiteral("abcçdefgğhıijklmnoöpqrsştuüvwxyz");
    static const QString capital = QStringLiteral("ABCÇDEFGĞHIİJKLMNOÖPQRSŞTUÜVWXYZ");
    QString result;
    for (const char32_t character : text.toUcs4()) {
        const qsizetype at = character < 0x10000 ? small.indexOf(QChar(char16_t(character))) : -1;
        const char32_t upper = at >= 0 ? capital[at].unicode() : QChar::toUpper(character);
        result += QString::fromUcs4(&upper, 1);
    }
    return result;
}
