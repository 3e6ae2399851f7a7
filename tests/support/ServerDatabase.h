#pragma once

#include <QString>
#include <QStringList>

// The private PostgreSQL server that scripts/test starts (scripts/test-postgres):
// its superuser's connection string (MIRVASEL_TEST_PG), and psql to talk to
// it as the office's administrator would, apart from the code under test.
namespace PrivateServer {

// The superuser's libpq connection string; empty when the run has no server.
QString connectionString();
// Why this run cannot use the server (MIRVASEL_TEST_PG unset, no psql);
// empty when it can. A test that needs the server fails with it.
QString unavailable();
// The server's TLS address under a host name that is not local, with its CA
// (MIRVASEL_TEST_PG_TLS); empty when unset.
QString tlsConnectionString();

// The repository's script that makes the shared register's schema.
QString schemaScript();

struct PsqlRun
{
    int status = -1; // psql's exit status; -1 when it did not run to its end
    QString output; // unaligned, tuples only: a row a line, columns joined by "|"
    QString errors;
    bool succeeded() const { return status == 0; }
    QStringList rows() const;
};

// Runs SQL (several statements, or a psql script) on its standard input,
// stopping at the first error; connectionString may add " dbname=... user=..."
// to connectionString() (libpq takes the last value of a key).
PsqlRun psql(const QString &connection, const QString &sql);
PsqlRun psqlFile(const QString &connection, const QString &file);

} // namespace PrivateServer

// A fresh database on the private server for one test, with the shared
// register's schema made by the repository's script unless asked not to; it
// and the login roles made through it are removed when it goes.
class ServerDatabase
{
public:
    enum class Schema { Made, None };
    explicit ServerDatabase(Schema schema = Schema::Made);
    ~ServerDatabase();
    ServerDatabase(const ServerDatabase &) = delete;
    ServerDatabase &operator=(const ServerDatabase &) = delete;

    // Empty when the database (and its schema) was made.
    QString error() const { return m_error; }
    QString name() const { return m_name; }

    // The superuser's connection to this database.
    QString adminConnection() const;
    // A new login role with kPassword, member of group (empty: of none);
    // its name.
    QString addRole(const QString &group = QStringLiteral("mirvasel_katip"));
    // The connection of role to this database, with its password or
    // another one.
    QString connectionAs(const QString &role, const QString &password = QString::fromUtf8(kPassword)) const;

    // SQL as the superuser on this database.
    PrivateServer::PsqlRun admin(const QString &sql) const;
    // The rows of a query as the superuser; empty, with the error in
    // lastError(), when it fails.
    QStringList rows(const QString &sql);
    QString lastError() const { return m_lastError; }

    static constexpr char kPassword[] = "Gizli Parola 'ş%_";

private:
    QString m_name;
    QString m_error;
    QString m_lastError;
    QStringList m_roles;
};
