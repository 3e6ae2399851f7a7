#pragma once

#include "registry/SqlCipherConnection.h"

#include "base/Result.h"

#include <QString>

#include <functional>

// The payee database "Data.dat" in the program folder: one encrypted file
// with the payee tables of the four payment categories. It owns the connection the four
// lists share.
class PayeeDatabase
{
public:
    enum class OpenStatus {
        Opened,
        Missing, // no such file; nothing was created
        NotADatabase, // another password, or not a database file; left untouched
        Locked, // another program holds the file
        Incompatible, // a database, but without our tables or from a newer program
        IoError, // any other failure to open, read or write
    };

    struct OpenResult
    {
        OpenStatus status = OpenStatus::IoError;
        QString message; // Turkish, naming the file; empty when opened
        // Opened, but with something the user must know (an older file that
        // could not be brought up to date); empty otherwise.
        QString notice{};
        // create(): this call made the file, rather than finding one that
        // another copy of the program had just made.
        bool created = false;
        bool isOpened() const { return status == OpenStatus::Opened; }
    };

    // Stored in PRAGMA user_version; a file with a higher one is refused.
    // 2: names ordered without regard to case of the Turkish alphabet.
    // 3: without regard to case of any letter (Â with â, too).
    // 4: the register of issued payment orders (OrderRegister).
    // 5: the register's name index carries the amounts it sums.
    // Older files are brought up to date once, when opened: versions 1 and 2
    // have their name indexes rebuilt, and every older file gets the
    // register's tables and indexes, all in one transaction.
    static constexpr int kSchemaVersion = 5;

    static QString defaultFilePath();
    static QByteArray password();

    PayeeDatabase();
    ~PayeeDatabase();
    PayeeDatabase(const PayeeDatabase &) = delete;
    PayeeDatabase &operator=(const PayeeDatabase &) = delete;

    // Opens an existing database; never creates, and never writes to a file
    // it cannot use.
    OpenResult open(const QString &filePath = defaultFilePath());
    // Creates a new, empty database with the four tables and opens it. The
    // file is built under another name and gets its own only when finished,
    // and never in place of an existing file: a file found under the name
    // (another copy of the program made it meanwhile) is opened as open()
    // does. A failed create leaves no file.
    OpenResult create(const QString &filePath = defaultFilePath());
    // Writes what a new file holds besides its empty tables (an import),
    // inside the transaction that makes the file.
    using Fill = std::function<SqlCipherConnection::Error(SqlCipherConnection &)>;
    // The same with payees: the file gets its name only when it holds them
    // all. created tells whether they went in: false when a file that
    // another copy made meanwhile was opened instead.
    OpenResult create(const QString &filePath, const Fill &fill);
    // A whole new database beside filePath under a staging name
    // ("Data.dat.1a2b3c4d.yeni", which the clean-up at start removes), with
    // the four tables, the register and what fill writes; closed and on the
    // disk. The caller gives it its name, or removes it.
    static Result<QString> buildStaging(const QString &filePath, const Fill &fill = {});
    void close();

    bool isOpen() const { return m_connection.isOpen(); }
    QString filePath() const { return m_connection.filePath(); }
    // Changes at every open and close: statements prepared under another
    // generation belong to a connection that is gone.
    quint64 generation() const { return m_generation; }
    // False when an older file's name indexes could not be rebuilt in
    // today's order (the file could not be written): the lists then sort
    // and search without them, never by an order that is no longer ours.
    bool nameIndexesCurrent() const { return m_nameIndexesCurrent; }
    // False when an older file could not be given the register of issued
    // orders (it could not be written): the payees still work, and the
    // register refuses to record with the reason.
    bool hasOrderRegister() const { return m_hasOrderRegister; }

    void setBusyTimeout(int milliseconds) { m_connection.setBusyTimeout(milliseconds); }
    SqlCipherConnection &connection() { return m_connection; }

    // The Turkish reason for a failed statement, to follow "...: " in a
    // message. With the file's path it can say more of a file that cannot
    // be opened or written.
    static QString failureReason(const SqlCipherConnection::Error &error, const QString &filePath = QString());

private:
    OpenResult openConnection(SqlCipherConnection &connection, const QString &filePath, bool create);
    bool upgrade(qint64 version);

    SqlCipherConnection m_connection;
    quint64 m_generation = 0;
    bool m_nameIndexesCurrent = true;
    bool m_hasOrderRegister = true;
};
