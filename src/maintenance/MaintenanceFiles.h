#pragma once

#include <QDate>
#include <QString>

// The names of the files that the backup and the compaction write beside the
// database and its backups. Only files of these names are ever removed by
// the program (see StartupCleanup); everything else in the folders is the
// user's.
//
//   Yedek.dat, Yedek.dat-journal       the compacted database being built
//   Data.dat.1a2b3c4d.yeni[-journal]   a file being built under another name
//                                      (a backup, a new database, a copy)
//   Data.dat.1a2b3c4d.yedekleniyor     in the program folder while a backup
//                                      is built elsewhere: where it is
//   Data.dat.bozuk-2026-12-10[-2]      a damaged database kept by a repair;
//                                      never removed
//   Data.dat.eski[-2]                  the old program's database, kept as
//                                      it was when it was converted; never
//                                      removed
//   Data.dat.onceki[-2],               the files an old program's folder
//   Zenparol.ini.onceki[-2]            brought over replaced; never removed
namespace MaintenanceFiles {

// The compacted database being built, "Yedek.dat", in the program folder.
QString compactionFileName();
QString compactionFilePath();

QString journalOf(const QString &databasePath);

// A new, unused name beside target for building its next version:
// target + "." + eight hex digits + ".yeni".
QString stagingPathFor(const QString &target);
// The name that a staging file is building: "Data.dat" for
// "Data.dat.1a2b3c4d.yeni" and for its "-journal"; empty for any name that
// is not a staging name. hex receives the eight digits.
QString stagingTarget(const QString &fileName, QString *hex = nullptr);

// The record, in the program folder, of a backup being built at stagingPath.
QString backupMarkerPath(const QString &programFolder, const QString &stagingPath);
// Whether fileName is such a record; hex receives its eight digits.
bool isBackupMarkerName(const QString &fileName, QString *hex = nullptr);

// Where a repair keeps the damaged database: "Data.dat.bozuk-2026-12-10",
// or with "-2", "-3"... when that name is taken.
QString damagedCopyPath(const QString &databasePath, const QDate &date);
bool isDamagedCopyName(const QString &fileName, const QString &base);

// Where the conversion of the old program's database keeps the original:
// "Data.dat.eski", then "Data.dat.eski-2", "-3"... number n (from 1).
QString keptOldDatabasePath(const QString &databasePath, int n);
bool isKeptOldDatabaseName(const QString &fileName, const QString &base);

// Where bringing an old program's files over keeps the file it replaces:
// "Data.dat.onceki", "Zenparol.ini.onceki", then "-2", "-3"... number n
// (from 1).
QString replacedFilePath(const QString &path, int n);
bool isReplacedFileName(const QString &fileName, const QString &base);

} // namespace MaintenanceFiles
