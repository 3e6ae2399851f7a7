#pragma once

#include "registry/PayeeImport.h"

#include <QString>

#include <optional>

class PayeeDatabase;
class QWidget;

// What the user sees of the old program's database: the conversion of
// "Data.dat" at start, and the import of another old database from the
// menu. Both read the file with a progress bar (OldDatabaseReading, in a
// child process on a copy) and ask before they take a file that holds the
// payee tables under another password than the old program's: after a
// look at its tables, before any of its rows is read.
namespace OldDatabaseDialogs {

// At start, before the lists open: when "Data.dat" in the program folder is
// the old program's database, asks whether to convert it ("Evet" by
// default) and, on "Evet", converts it with a progress bar
// (OldDatabaseConversion) and tells how many payees of each kind came
// over: "Eczane: 312, Hastane: 48, Tedavi: 1.204, Özel: 17 kayıt
// aktarıldı." On "Hayır" or a failure the file stays as it is and the
// lists stay closed, as with any file they cannot open; the next start
// asks again. Whether the register was converted.
bool offerConversion(QWidget *parent = nullptr, const QString &databasePath = QString());

// "Eski Veritabanından Aktar ...": the payees of the old database at
// oldPath added to the open register, skipping those equal in all five
// fields to one there, all or nothing; the report tells how many were
// added and skipped of each kind. Nothing when nothing was added (a
// message said why).
std::optional<PayeeImport::Counts> importFile(QWidget *parent, PayeeDatabase &database, const QString &oldPath);

} // namespace OldDatabaseDialogs
