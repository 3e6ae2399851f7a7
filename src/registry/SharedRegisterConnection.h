#pragma once

#include "base/Result.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <QVector>

#include <memory>

struct pg_conn;
struct pg_result;

// One connection to an office's shared register on a PostgreSQL server
// (the schema of sql/mirvasel-shared-register.sql), through libpq. Everything
// that depends on libpq stays inside this class.
//
// The connection string is libpq's own ("service=mirvasel", or "host=...
// dbname=... user=..."); a password comes from libpq's password file or
// service file, or is handed to open() and kept only in libpq's memory:
// nothing here writes one anywhere, and no message shows one. A connection to
// a host that is not this computer gets TLS with the server's certificate
// checked (sslmode=verify-full) unless the connection string, its service or
// PGSSLMODE says otherwise.
//
// Every statement is prepared once per connection and run with its values
// as parameters, never pasted into its text. Used by one thread at a time.
class SharedRegisterConnection
{
public:
    // The version of the schema this program reads and writes
    // (mirvasel.sema); a register of another version is refused.
    static constexpr int kSchemaVersion = 1;

    // What went wrong, in the terms the program reacts to.
    enum class Failure {
        None,
        BadConnectionString, // libpq cannot read it
        Unreachable, // no server answers there
        PasswordNeeded, // the server asks for a password that nobody gave
        WrongPassword, // the server refused the user name or the password
        NoSuchDatabase,
        Tls, // no checked secure connection (certificate, name, a server without TLS)
        NoSchema, // the database holds no shared register
        NoAccess, // the user is not one of the office's clerks
        OlderSchema, // made by an older script than this program's
        NewerSchema, // made for a newer program
        Refused, // a statement the user has no privilege for
        Constraint, // a value the register's rules refuse
        Conflict, // another clerk's transaction was in the way: try again
        DiskFull,
        Lost, // the connection broke
        Other,
    };

    struct Error
    {
        Failure failure = Failure::None;
        QString sqlState; // the server's five-character code, when it sent one
        QString detail; // the server's or libpq's own words: never shown alone
        bool isError() const { return failure != Failure::None; }
    };

    // The values of a statement, in the order of $1, $2, ... A null QString
    // or QByteArray is NULL; an empty one is the empty text or no bytes.
    class Parameters
    {
    public:
        Parameters &text(const QString &value);
        Parameters &int64(qint64 value);
        Parameters &bytes(const QByteArray &value);
        // NULL where a number is expected.
        Parameters &nullInt64();

        int count() const { return int(m_types.size()); }

    private:
        friend class SharedRegisterConnection;
        QVector<unsigned int> m_types; // the types' object ids
        QVector<QByteArray> m_values; // in the binary format
        QVector<bool> m_nulls;
    };

    // The rows a statement gave, read in the binary format. Integers of any
    // width read as int64 (sums must be cast to bigint: numeric is not read).
    class Rows
    {
    public:
        Rows() = default;
        int count() const;
        int columns() const;
        bool isNull(int row, int column) const;
        // NULL reads as a null QString; the text as it was stored (a byte
        // order mark at its start included).
        QString text(int row, int column) const;
        qint64 int64(int row, int column) const;
        bool boolean(int row, int column) const;
        QByteArray bytes(int row, int column) const;
        // Rows an INSERT, UPDATE or DELETE changed.
        qint64 affected() const;

    private:
        friend class SharedRegisterConnection;
        explicit Rows(pg_result *result);
        std::shared_ptr<pg_result> m_result;
    };

    struct Notification
    {
        QString channel;
        QString payload;
    };

    SharedRegisterConnection();
    ~SharedRegisterConnection();
    SharedRegisterConnection(const SharedRegisterConnection &) = delete;
    SharedRegisterConnection &operator=(const SharedRegisterConnection &) = delete;

    // Connects and checks that the database holds a shared register of this
    // program's schema version that the user may use. The Turkish message
    // says what failed and where; error() tells which failure it was. A
    // password given here is used for this connection only.
    Result<> open(const QString &connectionString, const QByteArray &password = {});
    void close();
    bool isOpen() const { return m_connection != nullptr; }

    // The failure of the last call that failed.
    const Error &error() const { return m_error; }

    // Where the connection goes, for messages: the server, the database and
    // the user, never a password.
    QString description() const { return m_description; }
    // The database role the clerk works as (current_user), which orders and
    // changes record.
    QString role() const { return m_role; }

    // Runs a statement with its values; prepared on its first use.
    Result<Rows> execute(const QString &sql, const Parameters &parameters = {});

    Result<> begin();
    Result<> commit();
    // Never fails where it matters: a transaction that cannot be rolled
    // back on a broken connection is rolled back by the server.
    void rollBack();
    bool inTransaction() const;

    // Many statements sent without waiting for each answer (libpq's pipeline
    // mode), for copying whole registers. The answers are read every few
    // hundred statements and at finish(); the first failure ends the batch,
    // and the transaction it ran in can then only be rolled back.
    class Batch
    {
    public:
        explicit Batch(SharedRegisterConnection &connection);
        ~Batch();
        Batch(const Batch &) = delete;
        Batch &operator=(const Batch &) = delete;

        Result<> add(const QString &sql, const Parameters &parameters);
        Result<> finish();

    private:
        Result<> drain();

        SharedRegisterConnection &m_connection;
        int m_pending = 0;
        bool m_inPipeline = false;
        bool m_failed = false;
    };

    // Asks for the notifications of a channel; takeNotifications() gives
    // those that have come since, reading what the socket holds.
    Result<> listen(const QString &channel);
    QList<Notification> takeNotifications();
    // The connection's socket, to watch for notifications; -1 when closed.
    int socket() const;

    // The keywords and values open() hands to libpq besides the connection
    // string itself: sslmode=verify-full for a host that is not this
    // computer when nothing chose a mode, a connection timeout when none is
    // set, the program's name and UTF-8. Reads the string, its service and
    // the environment as libpq does (it starts a connection and drops it
    // before anything is sent).
    static Result<QMap<QString, QString>> addedParameters(const QString &connectionString);

    // The Turkish reason for a failed statement, to follow "...: ".
    static QString failureReason(const Error &error);

private:
    friend class Batch;

    Result<> fail(Error error, const QString &message);
    Result<> failStatement(pg_result *result, const QString &head = {});
    Result<> command(const char *sql);
    Result<QByteArray> prepared(const QString &sql, const Parameters &parameters);
    Error errorOf(pg_result *result) const;
    Result<> checkSchema();

    pg_conn *m_connection = nullptr;
    Error m_error;
    QString m_description;
    QString m_role;
    // Statement names by their text and the types of their values.
    QHash<QByteArray, QByteArray> m_prepared;
};
