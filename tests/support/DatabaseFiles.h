#pragma once

#include "base/PaymentCategory.h"

#include <QMap>
#include <QString>
#include <QStringList>

class TemporaryPayeeDatabase;

// Looks into encrypted database files the way the program's own connection
// would (the password and the Turkish collation), so that tests can compare
// a copy with its source, and damages them the way a bad sector would.
namespace DatabaseFiles {

// Adds count payees with every field filled: names "<prefix> 00001"... and a
// bank branch of padding characters, so that rows fill many pages.
void addPayees(TemporaryPayeeDatabase &database, PaymentCategory category, int count, int padding = 0,
               const QString &prefix = QStringLiteral("ECZANE"));

// Adds count records to the register of issued orders, each with a page
// of its own, every fifth a reprint of the one before.
void addOrders(TemporaryPayeeDatabase &database, int count);

// Every row of every table of the file, SQLite's own included, as text:
// each row its quoted values joined by "|", in key order. Empty with error
// set when the file cannot be read whole.
QMap<QString, QStringList> allRows(const QString &path, QString *error = nullptr);

// The integrity check's first line: "ok" for a sound file.
QString integrity(const QString &path);

qint64 userVersion(const QString &path);

// Overwrites part of one page (numbered from 1) with other bytes.
void damagePage(const QString &path, int page);

// A page whose damage loses some of table's rows but leaves index readable
// (rows), or the other way round (!rows); with no index, a page of the
// table's rows. Found by trying pages on copies of the file, from the root
// of the table (or of the index) on; 0 when there is none.
int pageToDamage(const QString &path, const QString &table, const QString &index, bool rows);

QByteArray fileBytes(const QString &path);

} // namespace DatabaseFiles
