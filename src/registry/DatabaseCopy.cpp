#include "registry/DatabaseCopy.h"

#include "registry/CopyTarget.h"
#include "registry/SqlCipherConnection.h"

#include <QStringList>

namespace DatabaseCopy {

namespace {

using SqlFailure = SqlCipherConnection::Failure;
using Error = SqlCipherConnection::Error;
using Statement = SqlCipherConnection::Statement;

Outcome failed(Problem problem, const QString &detail)
{
    Outcome outcome;
    outcome.problem = problem;
    outcome.detail = detail;
    return outcome;
}

// PRAGMA integrity_check of one schema. A check that cannot run to its end
// found a fault too, unless a lock or an unreadable file stopped it.
Outcome checkIntegrity(SqlCipherConnection &connection, const QString &schema)
{
    Statement check = connection.prepare(QStringLiteral("PRAGMA %1.integrity_check(20)").arg(schema));
    QStringList faults;
    while (check.next()) {
        const QString line = check.text(0);
        if (line != QLatin1String("ok"))
            faults.append(line);
    }
    const Error error = check.error();
    if (error.isError()) {
        switch (error.failure) {
        case SqlFailure::Busy:
            return failed(Problem::SourceLocked, error.detail);
        case SqlFailure::Io:
            return failed(Problem::SourceUnreadable, error.detail);
        default:
            return failed(Problem::SourceDamaged, error.detail);
        }
    }
    if (!faults.isEmpty())
        return failed(Problem::SourceDamaged, faults.join(QStringLiteral("; ")));
    return {};
}

QStringList tableNames(SqlCipherConnection &connection, const QString &schema, Error *error)
{
    Statement tables = connection.prepare(
        QStringLiteral("SELECT name FROM %1.sqlite_master WHERE type = 'table' AND rootpage > 0 "
                       "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY name")
            .arg(schema));
    QStringList names;
    while (tables.next())
        names.append(tables.text(0));
    *error = tables.error();
    return names;
}

Contents contentsOf(SqlCipherConnection &connection, const QString &schema, Error *error)
{
    Contents contents;
    const QStringList tables = tableNames(connection, schema, error);
    for (const QString &table : tables) {
        if (error->isError())
            return contents;
        contents.rows.insert(table, connection.queryInt64(
                                        QStringLiteral("SELECT count(*) FROM %1.%2").arg(schema, CopyTarget::quoted(table)), error));
    }
    if (!error->isError())
        contents.userVersion = connection.queryInt64(QStringLiteral("PRAGMA %1.user_version").arg(schema), error);
    return contents;
}

// The export itself, on a connection to the source with the target not yet
// attached. Leaves the target detached; the caller removes it on failure.
Outcome exportInto(SqlCipherConnection &connection, const QString &target)
{
    if (const Error error = CopyTarget::attach(connection, target); error.isError())
        return failed(CopyTarget::copyProblem(error.failure), error.detail);
    auto fail = [&](Problem problem, const QString &detail) {
        CopyTarget::detach(connection);
        return failed(problem, detail);
    };

    // One transaction over both files: the source's shared lock, taken at
    // its first read, stays until the copy is committed.
    if (const Error error = connection.execute(QStringLiteral("BEGIN")); error.isError())
        return fail(CopyTarget::copyProblem(error.failure), error.detail);
    if (const Outcome check = checkIntegrity(connection, QStringLiteral("main")); !check.succeeded())
        return fail(check.problem, check.detail);
    Error error;
    const Contents source = contentsOf(connection, QStringLiteral("main"), &error);
    if (error.isError())
        return fail(CopyTarget::sourceProblem(error.failure), error.detail);

    // sqlcipher_export copies tables, rows, indexes, views, triggers and the
    // AUTOINCREMENT counters, but not the header's user_version.
    error = connection.execute(QStringLiteral("SELECT sqlcipher_export('%1')").arg(CopyTarget::name()));
    if (!error.isError())
        error = connection.execute(QStringLiteral("PRAGMA %1.user_version = %2").arg(CopyTarget::name()).arg(source.userVersion));
    if (error.isError())
        return fail(CopyTarget::copyProblem(error.failure), error.detail);
    const Contents copied = contentsOf(connection, CopyTarget::name(), &error);
    if (error.isError())
        return fail(CopyTarget::copyProblem(error.failure), error.detail);
    if (copied != source)
        return fail(Problem::CopyDiffers, QStringLiteral("row counts differ"));
    if (const Error commit = connection.execute(QStringLiteral("COMMIT")); commit.isError())
        return fail(CopyTarget::copyProblem(commit.failure), commit.detail);
    CopyTarget::detach(connection);

    Outcome outcome;
    outcome.contents = source;
    return outcome;
}

} // namespace

qint64 Contents::totalRows() const
{
    qint64 total = 0;
    for (qint64 rows : this->rows)
        total += rows;
    return total;
}

Outcome open(const QString &path)
{
    SqlCipherConnection connection;
    const Error error = CopyTarget::openKeyed(connection, path);
    return error.isError() ? failed(CopyTarget::sourceProblem(error.failure), error.detail) : Outcome();
}

Outcome inspect(const QString &path)
{
    SqlCipherConnection connection;
    if (const Error error = CopyTarget::openKeyed(connection, path); error.isError())
        return failed(CopyTarget::sourceProblem(error.failure), error.detail);
    if (Outcome check = checkIntegrity(connection, QStringLiteral("main")); !check.succeeded())
        return check;
    Error error;
    Outcome outcome;
    outcome.contents = contentsOf(connection, QStringLiteral("main"), &error);
    if (error.isError())
        return failed(CopyTarget::sourceProblem(error.failure), error.detail);
    return outcome;
}

Outcome exportCopy(const QString &source, const QString &target)
{
    if (CopyTarget::inTheWay(target))
        return failed(Problem::TargetExists, target);
    SqlCipherConnection connection;
    if (const Error error = CopyTarget::openKeyed(connection, source); error.isError())
        return failed(CopyTarget::sourceProblem(error.failure), error.detail);
    const Outcome outcome = exportInto(connection, target);
    connection.close();
    if (!outcome.succeeded() && outcome.problem != Problem::TargetExists)
        CopyTarget::remove(target);
    return outcome;
}

} // namespace DatabaseCopy
