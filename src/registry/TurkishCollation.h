#pragma once

#include <QString>

// Turkish alphabetical order for payee names: A B C Ç D ... I İ ... Z, with
// digits, blanks and ASCII punctuation before the letters and every other
// character after them, by code point. A capital and its own small letter
// weigh the same (I with ı, İ with i, and every other letter with its capital
// by Unicode's simple case mapping: Â with â, É with é), so that a name typed
// in small letters sorts and is found among the capitals; only texts that
// differ in nothing else are ordered by case, capital first.
//
// The order is strict: distinct texts never compare equal. Every text that
// begins with a prefix p, whatever the case of its letters, sorts at or after
// prefixLowerBound(p) and before prefixUpperBound(p). The payee search relies
// on that to run as a range over the name index.
//
// The name indexes of existing databases are stored in this order: changing
// a weight means every database needs a REINDEX (see PayeeDatabase).
namespace TurkishCollation {

// The name the collation is registered under on every connection.
inline constexpr char kName[] = "TURKISH";

// The sort weight of one character; distinct characters have distinct weights.
quint32 weight(char32_t character);

// Compares two UTF-8 texts: negative, zero or positive.
int compareUtf8(const char *left, int leftLength, const char *right, int rightLength);

int compare(const QString &left, const QString &right);

// Whether two names are the same but for the case of their letters (the
// weights this order gives a capital and its small letter) and the blanks
// around and between their words: "ŞİFA  eczanesi " is "ŞİFA ECZANESİ".
bool sameName(const QString &left, const QString &right);

// The smallest text that sorts at or before every text beginning with prefix
// in any case: the prefix with its letters as capitals.
QString prefixLowerBound(const QString &prefix);

// The smallest text that sorts after every text beginning with prefix in any
// case (short of texts that continue with U+10FFFF, a noncharacter nobody
// types).
QString prefixUpperBound(const QString &prefix);

} // namespace TurkishCollation
