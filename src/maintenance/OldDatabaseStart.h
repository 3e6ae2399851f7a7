#pragma once

#include <QString>

class QWidget;

// At start, before the lists open: when "Data.dat" in the program folder is
// the old program's database, asks whether to convert it ("Evet" by
// default) and, on "Evet", reads it, converts it with a progress bar
// (OldDatabaseConversion) and tells how many payees of each kind came
// over: "Eczane: 312, Hastane: 48, Tedavi: 1.204, Özel: 17 kayıt
// aktarıldı." On "Hayır" or a failure the file stays as it is and the
// lists stay closed, as with any file they cannot open; the next start
// asks again.
namespace OldDatabaseStart {

// Whether the register was converted.
bool offer(QWidget *parent = nullptr, const QString &databasePath = QString());

} // namespace OldDatabaseStart
