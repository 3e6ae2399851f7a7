#pragma once

#include <QByteArray>
#include <QString>

struct sqlite3;
struct sqlite3_stmt;

// One connection to an encrypted SQLCipher database file. Everything that
// depends on the engine or on its SQLCipher version stays inside this class,
// so that moving to another SQLCipher release is a change here only.
//
// Used by one thread at a time: the program's, or the one that opens the
// main window's database while the windows are built, before the program's
// uses it. Statements may outlive the connection's close() (the engine keeps
// what they need until they go).
class SqlCipherConnection
{
public:
    // What went wrong, in the terms the program reacts to.
    enum class Failure {
        None,
        Missing, // the file does not exist
        AlreadyExists, // create() found a file in the way
        NotADatabase, // another key, or not a database at all
        Busy, // another connection holds a lock
        ReadOnly,
        Constraint, // the database refused a value (constraint or trigger)
        DiskFull,
        Corrupt,
        Io, // cannot open, read or write the file
        Other,
    };

    struct Error
    {
        Failure failure = Failure::None;
        int code = 0; // the engine's extended result code
        QString detail; // the engine's own words, in English: never shown alone
        bool isError() const { return failure != Failure::None; }
    };

    // Compares two UTF-8 texts: negative, zero or positive.
    using Comparison = int (*)(const char *left, int leftLength, const char *right, int rightLength);

    // A prepared statement. Reuse it: bind, step with next(), and it rewinds
    // itself when it has run out; call reset() to stop early, which also
    // drops the read lock it holds.
    class Statement
    {
    public:
        Statement() = default;
        ~Statement();
        Statement(Statement &&other) noexcept;
        Statement &operator=(Statement &&other) noexcept;
        Statement(const Statement &) = delete;
        Statement &operator=(const Statement &) = delete;

        bool isValid() const { return m_statement != nullptr; }
        const Error &error() const { return m_error; }

        // Parameters are numbered from 1. A null text is bound as NULL, an
        // empty one as an empty text.
        void bindText(int index, const QString &text);
        // UTF-8 text that stays where it is until the statement has run
        // (no copy is made); nullptr binds NULL, any other pointer a text,
        // an empty one too.
        void bindUtf8(int index, const char *utf8, qsizetype size);
        void bindInt64(int index, qint64 value);
        // Bytes as they are; a null QByteArray is bound as NULL.
        void bindBlob(int index, const QByteArray &bytes);

        // True when a row is ready; false when the statement has finished or
        // failed (then error() tells which) and has rewound itself.
        bool next();
        // Runs a statement that returns no rows to its end.
        Error run();

        // Columns are numbered from 0. NULL reads as a null QString.
        QString text(int column) const;
        qint64 int64(int column) const;
        QByteArray blob(int column) const;
        bool isNull(int column) const;

        void reset();

    private:
        friend class SqlCipherConnection;
        Statement(sqlite3_stmt *statement, Error error);

        sqlite3_stmt *m_statement = nullptr;
        Error m_error;
    };

    // The SQLCipher release in use, as it names itself: "3.4.1" on Debian
    // 12, "4.6.1 community" on Debian 13. Our files open and are written the
    // same with either major version.
    static QString engineVersion();

    SqlCipherConnection();
    ~SqlCipherConnection();
    SqlCipherConnection(const SqlCipherConnection &) = delete;
    SqlCipherConnection &operator=(const SqlCipherConnection &) = delete;

    // Opens an existing file with key. Never creates a file, and writes
    // nothing to a file that the key does not open.
    Error open(const QString &filePath, const QByteArray &key);
    // Creates a new, empty database file encrypted with key; refuses when
    // the file exists. The file appears on the first write.
    Error create(const QString &filePath, const QByteArray &key);
    void close();
    bool isOpen() const { return m_database != nullptr; }
    QString filePath() const { return m_filePath; }

    // How long a statement waits for another connection's lock before it
    // fails as Busy; for this and later opens.
    void setBusyTimeout(int milliseconds);
    int busyTimeout() const { return m_busyTimeout; }

    Statement prepare(const QString &sql);
    // Runs one or more statements without parameters.
    Error execute(const QString &sql);
    // The first column of the first row of a query, as an integer.
    qint64 queryInt64(const QString &sql, Error *error = nullptr);

    qint64 lastInsertRowId() const;
    // Rows changed by the last INSERT, UPDATE or DELETE.
    int changes() const;
    // True between BEGIN and its COMMIT or ROLLBACK, also when the engine
    // has rolled a transaction back by itself after an error.
    bool inTransaction() const;

    Error registerCollation(const char *name, Comparison comparison);

private:
    Error openWith(const QString &filePath, const QByteArray &key, bool create);

    sqlite3 *m_database = nullptr;
    QString m_filePath;
    int m_busyTimeout = 2000;
};
