#pragma once

#include <QChar>
#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>

// Turkish conventions the program keeps whatever the system locale says.
namespace TurkishText {

QLocale locale();

// Raises one typed character to its Turkish capital: a..z (but q and w) to
// A..Z, i to İ, ı to I, ç ğ ö ş ü to Ç Ğ Ö Ş Ü; everything else unchanged.
QChar upperCaseTyped(QChar character);
QString upperCaseTyped(const QString &text);

// "dd.MM.yyyy".
QString shortDate(const QDate &date);

// The status bar clock: "9 Aralık Çarşamba - 22:05:09" followed by two blanks.
QString clockText(const QDateTime &moment);

} // namespace TurkishText
