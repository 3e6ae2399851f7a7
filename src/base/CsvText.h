#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Comma-separated text in the form a Turkish spreadsheet opens without
// asking: UTF-8 with a byte order mark, ";" between fields (the comma is the
// decimal separator), lines ended by CR LF. A field is put between double
// quotes, its own quotes doubled, when it holds ";", a quote or a line
// break; any other field is written as it is.
//
// Text stays text: a spreadsheet takes a field that begins with "=", "+",
// "-", "@", a tab or a carriage return for a formula, so such a text gets a
// single quote in front and goes between double quotes. Figures the program
// writes itself (amounts, numbers) are written bare, as numbers.
namespace CsvText {

inline constexpr QChar kSeparator = u';';
inline constexpr char kLineEnd[] = "\r\n";

// Whether a spreadsheet would take the text for a formula.
bool startsAFormula(const QString &text);

// A field of text, whatever it holds.
QString field(const QString &text);

// A figure: digits, an optional "-" before them and a decimal comma
// ("1234,50", "-12,05", "17"), written bare so that it stays a number; an
// empty field stays empty. Anything else is text, written as field() does.
QString number(const QString &figure);

// The fields of one line, with its line end: those at numberColumns (from 0)
// as number() writes them, the others as text.
QString line(const QStringList &fields, const QList<int> &numberColumns = {});

// The text as the file's bytes: the byte order mark, then UTF-8.
QByteArray fileBytes(const QString &text);

} // namespace CsvText
