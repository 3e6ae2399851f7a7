#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Comma-separated text in the form a Turkish spreadsheet opens without
// asking: UTF-8 with a byte order mark, ";" between fields (the comma is the
// decimal separator), lines ended by CR LF. A field is put between double
// quotes, its own quotes doubled, when it holds ";", a quote or a line
// break; any other field is written as it is.
namespace CsvText {

inline constexpr QChar kSeparator = u';';
inline constexpr char kLineEnd[] = "\r\n";

QString field(const QString &text);

// The fields of one line, with its line end.
QString line(const QStringList &fields);

// The text as the file's bytes: the byte order mark, then UTF-8.
QByteArray fileBytes(const QString &text);

} // namespace CsvText
