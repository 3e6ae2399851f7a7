#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

// The text of a Jet 4 text or memo value: UCS-2, little-endian, or its
// compressed form, which begins with FF FE and then holds the characters of
// U+0001 to U+00FF in one byte each, switching to two bytes a character and
// back at every 0x00 byte.
namespace JetText {

// Nothing for bytes that are no such text (an odd number of bytes in
// UCS-2): a damaged value, never guessed at.
std::optional<QString> decode(QByteArrayView bytes);

// The same text appended to utf8 as UTF-8, without a QString between:
// false, and utf8 as it was, for bytes that are no such text. A lone
// surrogate becomes U+FFFD, as QString::toUtf8() makes it.
bool appendUtf8(QByteArrayView bytes, QByteArray *utf8);

// The bytes Jet writes: compressed where that is shorter and possible (no
// character whose low byte is 0x00), UCS-2 otherwise.
QByteArray encode(const QString &text, bool allowCompression = true);

} // namespace JetText
