#include "support/TemporaryPayeeDatabase.h"

#include "base/FolderAccess.h"

#include <QDir>
#include <QFile>

namespace {

// Deriving the key is the slow part of create and open; one database created
// per test program and copied for each fixture halves what fixtures cost.
QString templateDatabase(QString *error)
{
    static QTemporaryDir folder;
    static QString path;
    static QString failure;
    if (path.isEmpty() && failure.isEmpty()) {
        const QString candidate = QDir(folder.path()).filePath(QStringLiteral("Data.dat"));
        PayeeDatabase database;
        const PayeeDatabase::OpenResult result = database.create(candidate);
        if (result.isOpened())
            path = candidate;
        else
            failure = result.message;
    }
    *error = failure;
    return path;
}

} // namespace

TemporaryPayeeDatabase::TemporaryPayeeDatabase()
    : m_programFolder(ProgramFolder::override(m_folder.path()))
{
    if (!m_folder.isValid()) {
        m_error = QStringLiteral("no temporary folder");
        return;
    }
    const QString source = templateDatabase(&m_error);
    if (!m_error.isEmpty())
        return;
    if (!QFile::copy(source, filePath())) {
        m_error = QStringLiteral("cannot copy the template database");
        return;
    }
    const PayeeDatabase::OpenResult result = m_database.open();
    if (!result.isOpened())
        m_error = result.message;
}

TemporaryPayeeDatabase::~TemporaryPayeeDatabase()
{
    m_database.close();
}

QString TemporaryPayeeDatabase::filePath() const
{
    return QDir(m_folder.path()).filePath(QStringLiteral("Data.dat"));
}

void TemporaryPayeeDatabase::addNames(PaymentCategory category, const QStringList &names)
{
    connection().execute(QStringLiteral("BEGIN"));
    for (const QString &name : names) {
        PayeeFields fields;
        fields[0] = name;
        addPayee(category, fields);
    }
    connection().execute(QStringLiteral("COMMIT"));
}

void TemporaryPayeeDatabase::addPayee(PaymentCategory category, const PayeeFields &fields)
{
    SqlCipherConnection::Statement insert = connection().prepare(PayeeTable::of(category).insertSql());
    for (int i = 0; i < kPayeeColumnCount; ++i)
        insert.bindText(i + 1, fields[size_t(i)]);
    const SqlCipherConnection::Error error = insert.run();
    if (error.isError())
        qFatal("addPayee: %s", qPrintable(error.detail));
}

QList<PayeeFields> TemporaryPayeeDatabase::tableContents(PaymentCategory category)
{
    const PayeeTable &table = PayeeTable::of(category);
    QStringList columns;
    for (PayeeColumn column : kAllPayeeColumns)
        columns.append(table.columnName(column));
    SqlCipherConnection::Statement select = connection().prepare(
        QStringLiteral("SELECT %1 FROM %2 ORDER BY Id").arg(columns.join(QLatin1Char(',')), table.tableName()));
    QList<PayeeFields> rows;
    while (select.next()) {
        PayeeFields fields;
        for (int i = 0; i < kPayeeColumnCount; ++i)
            fields[size_t(i)] = select.text(i);
        rows.append(fields);
    }
    if (select.error().isError())
        qFatal("tableContents: %s", qPrintable(select.error().detail));
    return rows;
}

QStringList TemporaryPayeeDatabase::tableNames(PaymentCategory category)
{
    QStringList names;
    for (const PayeeFields &fields : tableContents(category))
        names.append(fields[0]);
    return names;
}

std::unique_ptr<PayeeDatabase> TemporaryPayeeDatabase::openSecondConnection()
{
    auto other = std::make_unique<PayeeDatabase>();
    const PayeeDatabase::OpenResult result = other->open(filePath());
    if (!result.isOpened())
        qFatal("second connection: %s", qPrintable(result.message));
    return other;
}

void TemporaryPayeeDatabase::refuseName(PaymentCategory category, const QString &name)
{
    const PayeeTable &table = PayeeTable::of(category);
    const QString body = QStringLiteral("ON %1 WHEN NEW.%2 = '%3' BEGIN SELECT RAISE(ABORT, 'ad reddedildi'); END;")
                             .arg(table.tableName(), table.columnName(PayeeColumn::Name), name);
    const SqlCipherConnection::Error error = connection().execute(
        QStringLiteral("CREATE TRIGGER RefuseInsert BEFORE INSERT %1 CREATE TRIGGER RefuseUpdate BEFORE UPDATE %1")
            .arg(body));
    if (error.isError())
        qFatal("refuseName: %s", qPrintable(error.detail));
}

void TemporaryPayeeDatabase::stopRefusing()
{
    connection().execute(QStringLiteral("DROP TRIGGER RefuseInsert; DROP TRIGGER RefuseUpdate;"));
}

QByteArray TemporaryPayeeDatabase::fileContents(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QStringList TemporaryPayeeDatabase::folderEntries() const
{
    QStringList names = QDir(m_folder.path()).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot,
                                                        QDir::Name);
    names.removeOne(FolderAccess::fileName());
    return names;
}

void createEmptyPayeeDatabase()
{
    PayeeDatabase database;
    (void)database.create();
}
