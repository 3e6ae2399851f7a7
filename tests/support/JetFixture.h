#pragma once

#include "registry/PayeeRecords.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Writes Jet 4.0 database files for the tests, from the public description
// of the format in mdbtools' HACKING document: the header page with its
// RC4-scrambled block (password, creation date, database key), the global
// page usage map on page 1, the MSysObjects catalog with its definition on
// page 2, a table definition page for each table, usage maps of type 0 (a
// bitmap within the row) or type 1 (pointers to bitmap pages) as the
// table's size needs, and data pages with the Jet 4 row layout and
// compressed unicode text. Tables hold text columns only, optionally after
// a long integer key.
//
// The files are checked against mdb-export as well as against our reader.
class JetFixture
{
public:
    struct Table
    {
        QString name;
        QStringList columns;
        // One text per column; a null text is NULL.
        QList<QStringList> rows;
        // A leading long integer column "Kimlik", numbered from 1, as a table
        // made with a key has.
        bool withKey = true;
        // Characters each text column holds.
        int textSize = 255;
    };

    // The old program's files: its four tables with their columns, holding
    // the given payees; the old program's password.
    static JetFixture payees(const PayeeRecords &records);
    // Payees that test the reading of values: every Turkish letter, quotes,
    // "%", "_", long values, NULL and empty names, duplicates.
    static PayeeRecords tricky();
    // count payees a category, with Turkish names that vary.
    static PayeeRecords many(int countPerCategory);

    // Empty: a file without a password.
    QString password;
    // Days since 30.12.1899, as Jet keeps dates.
    double creationDate = 38412.5;
    // Saved with "encode database": every page after the first RC4-encrypted.
    bool encoded = false;
    // Texts compressed where it is shorter, as Access writes them; plain
    // UCS-2 otherwise.
    bool compressText = true;
    // Every n-th row of each table (0: none) is written twice: a deleted
    // copy with other text first, then the row itself.
    int deletedEvery = 0;
    // Every n-th row of each table (0: none) lives on a later page behind an
    // overflow pointer, as a row that grew when it was edited does.
    int overflowEvery = 0;
    QList<Table> tables;

    QByteArray bytes() const;
    // The bytes of a file (not encoded) whose payee rows cannot be read:
    // the row table of every data page of a user table claims more rows
    // than a page holds, while the catalog and the table definitions stay
    // whole. What only a reading of the rows finds out.
    static QByteArray withDamagedRows(QByteArray bytes);
    bool write(const QString &filePath) const;
};
