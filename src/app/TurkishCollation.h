#pragma once

#include <QString>

// Turkish alphabetical order for payee names: A a B b C c Ç ç D d ... I ı İ i
// ... Z z, with digits, blanks and ASCII punctuation before the letters and
// every other character after them, by code point.
//
// The order is strict and compares character by character: distinct texts
// never compare equal, and every text that begins with a prefix p sorts at or
// after p and before p followed by U+10FFFF (the heaviest character). The
// payee search relies on that to run as a range over the name index.
//
// The name indexes of existing databases are stored in this order: changing
// a weight means every database needs a REINDEX.
namespace TurkishCollation {

// The name the collation is registered under on every connection.
inline constexpr char kName[] = "TURKISH";

// The sort weight of one character; distinct characters have distinct weights.
quint32 weight(char32_t character);

// Compares two UTF-8 texts: negative, zero or positive.
int compareUtf8(const char *left, int leftLength, const char *right, int rightLength);

int compare(const QString &left, const QString &right);

// The smallest text that sorts after every text beginning with prefix (short
// of texts that continue with U+10FFFF, a noncharacter nobody types).
QString prefixUpperBound(const QString &prefix);

} // namespace TurkishCollation
