#include "support/DatabaseFiles.h"

#include "registry/OrderRegister.h"
#include "registry/PayeeDatabase.h"
#include "registry/PayeeTable.h"
#include "registry/TurkishCollation.h"
#include "support/TemporaryPayeeDatabase.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace DatabaseFiles {

namespace {

constexpr int kPageSize = 1024;

bool openKeyed(SqlCipherConnection &connection, const QString &path)
{
    if (connection.open(path, PayeeDatabase::password()).isError())
        return false;
    return !connection.registerCollation(TurkishCollation::kName, TurkishCollation::compareUtf8).isError();
}

// Whether the whole query can be read.
bool readsWhole(SqlCipherConnection &connection, const QString &sql)
{
    SqlCipherConnection::Statement statement = connection.prepare(sql);
    if (!statement.isValid())
        return false;
    while (statement.next()) {
    }
    return !statement.error().isError();
}

} // namespace

void addPayees(TemporaryPayeeDatabase &database, PaymentCategory category, int count, int padding,
               const QString &prefix)
{
    database.connection().execute(QStringLiteral("BEGIN"));
    for (int i = 1; i <= count; ++i) {
        PayeeFields fields;
        fields[0] = QStringLiteral("%1 %2").arg(prefix).arg(i, 5, 10, QLatin1Char('0'));
        fields[1] = QStringLiteral("%1").arg(10000000000LL + i);
        fields[2] = QStringLiteral("ŞUBE %1 ").arg(i) + QString(padding, QLatin1Char('x'));
        fields[3] = QStringLiteral("TR%1").arg(i, 24, 10, QLatin1Char('0'));
        fields[4] = QStringLiteral("ÇANKAYA");
        database.addPayee(category, fields);
    }
    database.connection().execute(QStringLiteral("COMMIT"));
}

void addOrders(TemporaryPayeeDatabase &database, int count)
{
    OrderRegister orders(database.database());
    for (int i = 1; i <= count; ++i) {
        IssuedOrder order;
        order.issuedAt = QDateTime(QDate(2024, 1, 1).addDays(i), QTime(10, 0));
        order.ways = int(OrderWay::Printer);
        order.category = kAllCategories[std::size_t(i % kCategoryCount)];
        order.payee = {QStringLiteral("ÖDEME %1").arg(i), QStringLiteral("%1").arg(20000000000LL + i),
                       QStringLiteral("ZİRAAT"), QStringLiteral("TR%1").arg(i), QStringLiteral("ÇANKAYA")};
        order.gross = 100000 + i;
        order.net = order.gross;
        order.reprintOf = i > 1 && i % 5 == 0 ? i - 1 : 0;
        QVERIFY(orders.record(order, QByteArray(1500, char('a' + i % 26))).succeeded());
    }
}

QMap<QString, QStringList> allRows(const QString &path, QString *error)
{
    QMap<QString, QStringList> rows;
    SqlCipherConnection connection;
    auto fail = [&](const QString &why) {
        if (error)
            *error = why;
        return QMap<QString, QStringList>();
    };
    if (!openKeyed(connection, path))
        return fail(QStringLiteral("cannot open"));
    QStringList tables;
    SqlCipherConnection::Statement list = connection.prepare(
        QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name"));
    while (list.next())
        tables.append(list.text(0));
    for (const QString &table : tables) {
        QStringList columns;
        SqlCipherConnection::Statement info = connection.prepare(QStringLiteral("PRAGMA table_info(\"%1\")").arg(table));
        while (info.next())
            columns.append(QStringLiteral("quote(\"%1\")").arg(info.text(1)));
        const QString order = table == QLatin1String("sqlite_sequence") ? QStringLiteral("name")
                                                                         : QStringLiteral("rowid");
        SqlCipherConnection::Statement select = connection.prepare(
            QStringLiteral("SELECT %1 FROM \"%2\" ORDER BY %3")
                .arg(columns.join(QStringLiteral(" || '|' || ")), table, order));
        QStringList &tableRows = rows[table];
        while (select.next())
            tableRows.append(select.text(0));
        if (select.error().isError())
            return fail(select.error().detail);
    }
    if (error)
        error->clear();
    return rows;
}

QString integrity(const QString &path)
{
    SqlCipherConnection connection;
    if (!openKeyed(connection, path))
        return QStringLiteral("cannot open");
    SqlCipherConnection::Statement check = connection.prepare(QStringLiteral("PRAGMA integrity_check"));
    if (!check.next())
        return check.error().detail;
    const QString first = check.text(0);
    check.reset();
    return first;
}

qint64 userVersion(const QString &path)
{
    SqlCipherConnection connection;
    if (!openKeyed(connection, path))
        return -1;
    return connection.queryInt64(QStringLiteral("PRAGMA user_version"));
}

void damagePage(const QString &path, int page)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        qFatal("damagePage: cannot open %s", qPrintable(path));
    file.seek(qint64(page - 1) * kPageSize + 200);
    file.write(QByteArray(64, '\xA5'));
}

int pageToDamage(const QString &path, const QString &table, const QString &index, bool rows)
{
    QTemporaryDir scratch;
    const QString copy = QDir(scratch.path()).filePath(QStringLiteral("scratch.dat"));
    const int pages = int(QFileInfo(path).size() / kPageSize);
    const QString tableScan = QStringLiteral("SELECT rowid FROM \"%1\" NOT INDEXED").arg(table);
    const QString indexScan = QStringLiteral("SELECT rowid FROM \"%1\" INDEXED BY \"%2\"").arg(table, index);
    // A table's or an index's pages follow its root when it was filled after
    // it was made, as in these tests.
    int first = 2;
    {
        SqlCipherConnection connection;
        if (openKeyed(connection, path)) {
            first = int(connection.queryInt64(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = '%1'")
                                                  .arg(rows || index.isEmpty() ? table : index)))
                    + 1;
        }
    }
    for (int page = first; page <= pages; ++page) {
        QFile::remove(copy);
        QFile::copy(path, copy);
        damagePage(copy, page);
        SqlCipherConnection connection;
        if (!openKeyed(connection, copy))
            continue;
        const bool tableWhole = readsWhole(connection, tableScan);
        const bool indexWhole = index.isEmpty() || readsWhole(connection, indexScan);
        // A page of rows in the middle: the first and the last row can still
        // be reached, so the damage is not in the table's root.
        const bool endsReadable
            = readsWhole(connection, QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid LIMIT 1").arg(table))
              && readsWhole(connection, QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid DESC LIMIT 1").arg(table));
        if (rows ? (!tableWhole && indexWhole && endsReadable) : (tableWhole && !indexWhole))
            return page;
    }
    return 0;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace DatabaseFiles
