#pragma once

#include "base/Result.h"
#include "registry/PayeeRecords.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// Payees as a CSV file for a Turkish spreadsheet, in the form of the orders
// export (CsvText: UTF-8 with a byte order mark, ";", lines ended by CR LF,
// quotes where needed): a header in Turkish, then one payee a line with its
// five fields, or with the kind in front ("Tür") when the file holds all
// four kinds.
//
// An absent value is an empty field, an empty text a quoted empty field
// (""). A text that a spreadsheet would run as a formula (one that begins
// with "=", "+", "-", "@", a tab or a carriage return) gets a single quote
// in front so that it stays text, and so does a text that begins with a
// single quote itself; reading takes that one quote away again.
//
// Reading takes what Turkish spreadsheets write: UTF-8 with or without the
// byte order mark or Windows-1254, ";" or "," between fields, the header's
// columns in any order (the Turkish captions or the old database's column
// names, in either case), the name column required. Values are raised to
// Turkish capitals as typed values are, and never cut: a value longer than
// its field is a bad row, reported with its line.
namespace PayeeCsv {

QStringList header(bool withKind);

// The file's bytes: one kind's payees, or every kind's with the kind column.
QByteArray fileBytes(const QList<PayeeFields> &payees);
QByteArray fileBytes(const PayeeRecords &records);

// Writes bytes in one step: on failure no file, an earlier one unchanged.
Result<> writeFile(const QString &filePath, const QByteArray &bytes);

struct BadRow
{
    int line = 0; // of the file, from 1, where the row begins
    QString reason; // Turkish
};

struct Parsed
{
    QList<PayeeFields> payees;
    QList<BadRow> badRows;
};

// The rows of the file for category. Fails only when the file as a whole
// is not a payee list (no header to recognise); rows of another kind in a
// file with the kind column are bad rows.
Result<Parsed> parse(const QByteArray &bytes, PaymentCategory category);
Result<Parsed> readFile(const QString &filePath, PaymentCategory category);

// "3. satır: ..." one a line, at most limit of them with a line for the rest.
QString badRowsText(const QList<BadRow> &rows, int limit = 20);

// "Eczane", "Hastane", "Tedavi", "Ozel" (also "Özel", in any case): the
// kind a command line or a file names.
std::optional<PaymentCategory> categoryNamed(const QString &word);

} // namespace PayeeCsv
