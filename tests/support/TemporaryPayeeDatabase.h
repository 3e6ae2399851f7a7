#pragma once

#include "base/PaymentCategory.h"
#include "base/ProgramFolder.h"
#include "registry/PayeeDatabase.h"
#include "registry/PayeeTable.h"

#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// An empty payee database in the program folder, so that the main window
// opens its lists without asking to create one.
void createEmptyPayeeDatabase();

// A fresh, empty, encrypted payee database (a copy of one made by
// PayeeDatabase::create) in a temporary program folder, for one test. The
// program folder points there for the fixture's lifetime.
class TemporaryPayeeDatabase
{
public:
    TemporaryPayeeDatabase();
    ~TemporaryPayeeDatabase();
    TemporaryPayeeDatabase(const TemporaryPayeeDatabase &) = delete;
    TemporaryPayeeDatabase &operator=(const TemporaryPayeeDatabase &) = delete;

    // Empty when the database was created and opened.
    QString error() const { return m_error; }
    QString folder() const { return m_folder.path(); }
    QString filePath() const;
    PayeeDatabase &database() { return m_database; }
    SqlCipherConnection &connection() { return m_database.connection(); }

    // Writes payees straight into the table, bypassing the lists. A null
    // name is stored as NULL, an empty one as an empty text.
    void addNames(PaymentCategory category, const QStringList &names);
    void addPayee(PaymentCategory category, const PayeeFields &fields);
    // Every payee's fields in key order, read straight from the table.
    QList<PayeeFields> tableContents(PaymentCategory category);
    QStringList tableNames(PaymentCategory category);

    // Another connection to the same file, as another program would hold it.
    std::unique_ptr<PayeeDatabase> openSecondConnection();

    // Makes the table refuse any payee called name, as a constraint would.
    void refuseName(PaymentCategory category, const QString &name);
    void stopRefusing();

    static QByteArray fileContents(const QString &path);
    // The folder's files and folders but the lock file that the commands and
    // maintenance share, which stays there for good once made.
    QStringList folderEntries() const;

private:
    QTemporaryDir m_folder;
    // Ends after the database is closed, before the folder goes.
    const ScopedOverride<QString> m_programFolder;
    PayeeDatabase m_database;
    QString m_error;
};
