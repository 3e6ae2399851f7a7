#include "registry/DatabaseSalvage.h"

#include "registry/CopyTarget.h"
#include "registry/SqlCipherConnection.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

namespace DatabaseCopy {

namespace {

using SqlFailure = SqlCipherConnection::Failure;
using Error = SqlCipherConnection::Error;
using Statement = SqlCipherConnection::Statement;

constexpr qint64 kFirstRowid = std::numeric_limits<qint64>::min();
constexpr qint64 kLastRowid = std::numeric_limits<qint64>::max();

struct SchemaEntry
{
    QString type;
    QString name;
    QString sql;
};

// The statement that made an object, made to make it in the target instead.
QString inTarget(const QString &sql)
{
    static const QRegularExpression head(
        QStringLiteral("^\\s*CREATE\\s+(UNIQUE\\s+)?(TABLE|INDEX|VIEW|TRIGGER)\\s+(IF\\s+NOT\\s+EXISTS\\s+)?"
                       "((main|\"main\")\\s*\\.\\s*)?"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = head.match(sql);
    if (!match.hasMatch())
        return {};
    // The object's name follows the head; a "main." in front of it goes.
    const bool qualified = match.capturedStart(4) >= 0;
    QString rewritten = sql;
    rewritten.replace(qualified ? match.capturedStart(4) : match.capturedEnd(0),
                      qualified ? match.capturedLength(4) : 0, CopyTarget::name() + QLatin1Char('.'));
    return rewritten;
}

bool isFatal(SqlFailure failure)
{
    return failure == SqlFailure::DiskFull || failure == SqlFailure::ReadOnly || failure == SqlFailure::Busy;
}

Problem fatalProblem(SqlFailure failure)
{
    return failure == SqlFailure::Busy ? Problem::SourceLocked : CopyTarget::copyProblem(failure);
}

class Salvager
{
public:
    explicit Salvager(SqlCipherConnection &connection) : m_connection(connection) {}

    Salvage run();

private:
    struct Probe
    {
        enum Kind { Found, End, Failed } kind;
        qint64 rowid = 0;
    };

    bool copyTable(const QString &table);
    bool walkTable(const QString &table, std::vector<qint64> &recovered, std::vector<qint64> &unreadable,
                   bool *skippedDamage);
    bool copyRun(Statement &run, Statement &single, std::vector<qint64> &rows, std::vector<qint64> &recovered,
                 std::vector<qint64> &unreadable);
    Probe probe(Statement &statement, qint64 from);
    std::optional<qint64> nextReadable(Statement &statement, qint64 from);
    std::optional<std::vector<qint64>> indexedRowids(const QString &table);
    void copySequences(const QStringList &tables);
    bool stop(SqlFailure failure, const QString &detail);

    SqlCipherConnection &m_connection;
    Salvage m_result;
};

bool Salvager::stop(SqlFailure failure, const QString &detail)
{
    m_result.problem = fatalProblem(failure);
    m_result.detail = detail;
    return false;
}

Salvage Salvager::run()
{
    QList<SchemaEntry> schema;
    {
        Statement entries = m_connection.prepare(
            QStringLiteral("SELECT type, name, sql FROM main.sqlite_master WHERE sql IS NOT NULL ORDER BY rowid"));
        while (entries.next())
            schema.append({entries.text(0), entries.text(1), entries.text(2)});
        if (entries.error().isError()) {
            m_result.problem = Problem::SourceDamaged;
            m_result.detail = entries.error().detail;
            return m_result;
        }
    }
    // No transaction spans the salvage: once a page fails its check, the
    // engine refuses every further read of the source until the read
    // transaction that met it has ended. Each statement is its own
    // transaction, so a failed one clears the way for the next. The target
    // keeps its journal in memory and is not flushed on every commit; it is
    // checked and flushed as a whole before it is used.
    if (const Error error = m_connection.execute(
            QStringLiteral("PRAGMA %1.journal_mode = MEMORY; PRAGMA %1.synchronous = OFF;").arg(CopyTarget::name()));
        error.isError()) {
        stop(error.failure, error.detail);
        return m_result;
    }

    auto isTable = [](const SchemaEntry &entry) {
        return entry.type == QLatin1String("table") && !entry.name.startsWith(QLatin1String("sqlite_"));
    };
    QStringList tables;
    for (const SchemaEntry &entry : schema) {
        if (!isTable(entry))
            continue;
        const QString create = inTarget(entry.sql);
        if (create.isEmpty())
            continue;
        const Error error = m_connection.execute(create);
        if (error.isError() && isFatal(error.failure)) {
            stop(error.failure, error.detail);
            return m_result;
        }
        if (!error.isError())
            tables.append(entry.name);
    }
    for (const SchemaEntry &entry : schema) {
        if (!isTable(entry))
            continue;
        if (!tables.contains(entry.name)) {
            // A table the target cannot hold: its rows count as lost.
            if (const std::optional<std::vector<qint64>> rows = indexedRowids(entry.name))
                m_result.lost += qint64(rows->size());
            else
                m_result.lostExact = false;
            continue;
        }
        if (!copyTable(entry.name))
            return m_result;
    }
    copySequences(tables);
    // Indexes come after the rows, built from what was saved; views and
    // triggers last, so that no trigger fires on the rows being put back.
    for (const QString &type : {QStringLiteral("index"), QStringLiteral("view"), QStringLiteral("trigger")}) {
        for (const SchemaEntry &entry : schema) {
            const QString create = inTarget(entry.sql);
            if (entry.type != type || create.isEmpty())
                continue;
            const Error error = m_connection.execute(create);
            if (error.isError() && isFatal(error.failure)) {
                stop(error.failure, error.detail);
                return m_result;
            }
        }
    }
    // The first page was read when the file opened: its header is whole.
    Error error;
    const qint64 version = m_connection.queryInt64(QStringLiteral("PRAGMA main.user_version"), &error);
    if (!error.isError())
        error = m_connection.execute(QStringLiteral("PRAGMA %1.user_version = %2").arg(CopyTarget::name()).arg(version));
    if (error.isError())
        stop(error.failure, error.detail);
    return m_result;
}

bool Salvager::copyTable(const QString &table)
{
    // Most tables of a damaged file are whole: one statement copies them.
    // One that fails is rolled back whole, and the table is walked instead.
    const Error whole = m_connection.execute(
        QStringLiteral("INSERT INTO %1.%2 SELECT * FROM main.%2").arg(CopyTarget::name(), CopyTarget::quoted(table)));
    if (!whole.isError()) {
        m_result.recovered += m_connection.changes();
        return true;
    }
    if (isFatal(whole.failure))
        return stop(whole.failure, whole.detail);

    std::vector<qint64> recovered;
    std::vector<qint64> unreadable;
    bool skippedDamage = false;
    const bool walked = walkTable(table, recovered, unreadable, &skippedDamage);
    if (m_result.problem != Problem::None)
        return false;
    m_result.recovered += qint64(recovered.size());

    // An intact index still names every row the table held.
    if (const std::optional<std::vector<qint64>> indexed = indexedRowids(table)) {
        std::vector<qint64> sorted = *indexed;
        std::sort(sorted.begin(), sorted.end());
        std::vector<qint64> missing;
        std::set_difference(sorted.begin(), sorted.end(), recovered.begin(), recovered.end(),
                            std::back_inserter(missing));
        m_result.lost += qint64(missing.size());
        return true;
    }
    m_result.lost += qint64(unreadable.size());
    if (!walked || skippedDamage)
        m_result.lostExact = false;
    return true;
}

// Copies the table row by row in rowid order. Where the rows cannot be
// walked any further, finds the first readable row after the damage and
// goes on from there. recovered ends up sorted.
bool Salvager::walkTable(const QString &table, std::vector<qint64> &recovered, std::vector<qint64> &unreadable,
                         bool *skippedDamage)
{
    Statement cursor = m_connection.prepare(
        QStringLiteral("SELECT rowid FROM main.%1 WHERE rowid >= ?1 ORDER BY rowid").arg(CopyTarget::quoted(table)));
    Statement seek = m_connection.prepare(
        QStringLiteral("SELECT rowid FROM main.%1 WHERE rowid >= ?1 ORDER BY rowid LIMIT 1").arg(CopyTarget::quoted(table)));
    Statement run = m_connection.prepare(
        QStringLiteral("INSERT INTO %1.%2 SELECT * FROM main.%2 WHERE rowid BETWEEN ?1 AND ?2")
            .arg(CopyTarget::name(), CopyTarget::quoted(table)));
    Statement single = m_connection.prepare(
        QStringLiteral("INSERT INTO %1.%2 SELECT * FROM main.%2 WHERE rowid = ?1").arg(CopyTarget::name(), CopyTarget::quoted(table)));
    if (!cursor.isValid() || !seek.isValid() || !run.isValid() || !single.isValid())
        return false; // a table without rowids: nothing beyond the whole copy

    constexpr std::size_t kRun = 500;
    std::vector<qint64> found;
    found.reserve(kRun);
    qint64 position = kFirstRowid;
    bool positionFromSeek = false;
    for (;;) {
        cursor.bindInt64(1, position);
        bool any = false;
        qint64 last = position;
        while (cursor.next()) {
            last = cursor.int64(0);
            any = true;
            found.push_back(last);
            if (found.size() == kRun && !copyRun(run, single, found, recovered, unreadable)) {
                cursor.reset();
                return false;
            }
        }
        const Error error = cursor.error();
        if (!copyRun(run, single, found, recovered, unreadable))
            return false;
        if (!error.isError())
            return true;
        if (isFatal(error.failure))
            return stop(error.failure, error.detail);
        *skippedDamage = true;

        // Always move past what was tried, so that the walk ends.
        if (!any && positionFromSeek)
            unreadable.push_back(position);
        const qint64 from = any ? last : position;
        if (from == kLastRowid)
            return true;
        const std::optional<qint64> next = nextReadable(seek, from + 1);
        if (m_result.problem != Problem::None)
            return false;
        if (!next)
            return true;
        position = *next;
        positionFromSeek = true;
    }
}

// Copies rows the walk has found. The rows between two of them are exactly
// the ones it found in between, so one statement copies a run of them; a
// run that fails (a damaged page of a long text) goes row by row.
bool Salvager::copyRun(Statement &run, Statement &single, std::vector<qint64> &rows,
                       std::vector<qint64> &recovered, std::vector<qint64> &unreadable)
{
    if (rows.empty())
        return true;
    run.bindInt64(1, rows.front());
    run.bindInt64(2, rows.back());
    const Error error = run.run();
    if (!error.isError()) {
        recovered.insert(recovered.end(), rows.begin(), rows.end());
        rows.clear();
        return true;
    }
    if (isFatal(error.failure))
        return stop(error.failure, error.detail);
    for (const qint64 rowid : rows) {
        single.bindInt64(1, rowid);
        const Error failure = single.run();
        if (!failure.isError()) {
            recovered.push_back(rowid);
        } else if (isFatal(failure.failure)) {
            return stop(failure.failure, failure.detail);
        } else {
            unreadable.push_back(rowid);
        }
    }
    rows.clear();
    return true;
}

Salvager::Probe Salvager::probe(Statement &statement, qint64 from)
{
    statement.bindInt64(1, from);
    if (statement.next()) {
        const qint64 rowid = statement.int64(0);
        statement.reset();
        return {Probe::Found, rowid};
    }
    const Error error = statement.error();
    if (!error.isError())
        return {Probe::End, 0};
    if (isFatal(error.failure))
        stop(error.failure, error.detail);
    return {Probe::Failed, 0};
}

// The first row at or after from that a seek can reach. Seeks into a
// damaged part of the tree fail; beyond it they work again. Steps forward in
// doubling strides until a seek works, then halves the last stride back to
// the first position that works, so that no readable row is stepped over.
std::optional<qint64> Salvager::nextReadable(Statement &statement, qint64 from)
{
    Probe found = probe(statement, from);
    if (found.kind != Probe::Failed)
        return found.kind == Probe::Found ? std::optional<qint64>(found.rowid) : std::nullopt;

    qint64 bad = from;
    quint64 stride = 1;
    for (;;) {
        if (m_result.problem != Problem::None || bad == kLastRowid)
            return std::nullopt;
        const quint64 room = quint64(kLastRowid) - quint64(from);
        qint64 good = stride >= room ? kLastRowid : qint64(quint64(from) + stride);
        if (good <= bad)
            good = bad + 1;
        found = probe(statement, good);
        if (found.kind == Probe::Failed) {
            bad = good;
            stride = stride > room ? room : stride * 2;
            continue;
        }
        // The border lies in (bad, good].
        while (quint64(good) - quint64(bad) > 1) {
            const qint64 middle = qint64(quint64(bad) + (quint64(good) - quint64(bad)) / 2);
            const Probe tried = probe(statement, middle);
            if (m_result.problem != Problem::None)
                return std::nullopt;
            if (tried.kind == Probe::Failed) {
                bad = middle;
            } else {
                good = middle;
                found = tried;
            }
        }
        return found.kind == Probe::Found ? std::optional<qint64>(found.rowid) : std::nullopt;
    }
}

// The rowids of a table as one of its complete indexes holds them, read
// from the index alone; none when no index can be read to its end.
std::optional<std::vector<qint64>> Salvager::indexedRowids(const QString &table)
{
    QStringList indexes;
    Statement list = m_connection.prepare(QStringLiteral("PRAGMA main.index_list(%1)").arg(CopyTarget::quoted(table)));
    while (list.next()) {
        // Columns: seq, name, unique, origin, partial. A partial index
        // names only some rows.
        if (list.int64(4) == 0)
            indexes.append(list.text(1));
    }
    for (const QString &index : indexes) {
        Statement scan = m_connection.prepare(
            QStringLiteral("SELECT rowid FROM main.%1 INDEXED BY %2").arg(CopyTarget::quoted(table), CopyTarget::quoted(index)));
        if (!scan.isValid())
            continue;
        std::vector<qint64> rowids;
        while (scan.next())
            rowids.push_back(scan.int64(0));
        if (!scan.error().isError())
            return rowids;
    }
    return std::nullopt;
}

// Inserting the rows with their keys has moved the AUTOINCREMENT counters
// up to the highest key saved; the source's counters, where they can still
// be read, also keep the keys of lost rows from being handed out again.
void Salvager::copySequences(const QStringList &tables)
{
    Statement read = m_connection.prepare(QStringLiteral("SELECT name, seq FROM main.sqlite_sequence"));
    Statement raise = m_connection.prepare(
        QStringLiteral("UPDATE %1.sqlite_sequence SET seq = max(seq, ?2) WHERE name = ?1").arg(CopyTarget::name()));
    Statement add = m_connection.prepare(
        QStringLiteral("INSERT INTO %1.sqlite_sequence (name, seq) VALUES (?1, ?2)").arg(CopyTarget::name()));
    if (!read.isValid() || !raise.isValid() || !add.isValid())
        return;
    // Copying a table that came out empty left a counter of 0 for it, which
    // means the same as none.
    (void)m_connection.execute(QStringLiteral("DELETE FROM %1.sqlite_sequence WHERE seq = 0").arg(CopyTarget::name()));
    QList<std::pair<QString, qint64>> counters;
    while (read.next())
        counters.append({read.text(0), read.int64(1)});
    for (const auto &[name, sequence] : counters) {
        if (!tables.contains(name))
            continue;
        raise.bindText(1, name);
        raise.bindInt64(2, sequence);
        if (raise.run().isError())
            continue;
        if (m_connection.changes() == 0) {
            add.bindText(1, name);
            add.bindInt64(2, sequence);
            (void)add.run();
        }
    }
}

} // namespace

Salvage salvage(const QString &source, const QString &target)
{
    Salvage result;
    if (CopyTarget::inTheWay(target)) {
        result.problem = Problem::TargetExists;
        result.detail = target;
        return result;
    }
    SqlCipherConnection connection;
    if (const Error error = CopyTarget::openKeyed(connection, source); error.isError()) {
        result.problem = CopyTarget::sourceProblem(error.failure);
        result.detail = error.detail;
        return result;
    }
    if (const Error error = CopyTarget::attach(connection, target); error.isError()) {
        result.problem = CopyTarget::copyProblem(error.failure);
        result.detail = error.detail;
    } else {
        Salvager salvager(connection);
        result = salvager.run();
        CopyTarget::detach(connection);
    }
    connection.close();
    if (!result.succeeded() && result.problem != Problem::TargetExists)
        CopyTarget::remove(target);
    return result;
}

} // namespace DatabaseCopy
