#include "registry/PayeeImport.h"

#include "base/WrittenAmount.h"
#include "registry/PayeeBulkInsert.h"

#include <QFileInfo>
#include <QSet>

namespace PayeeImport {

namespace {

// "1.204": thousands points, as the program writes every count.
QString countText(qsizetype count)
{
    return WrittenAmount::grouped(QString::number(count));
}

constexpr qsizetype kProgressStep = 1000;

// The five fields as one key, an absent value apart from an empty one.
QString recordKey(const PayeeFields &fields)
{
    QString key;
    for (const QString &field : fields) {
        key += field.isNull() ? QStringLiteral("\x01-") : QStringLiteral("\x01+") + field;
    }
    return key;
}

Result<QSet<QString>> existingKeys(SqlCipherConnection &connection, PaymentCategory category)
{
    const PayeeTable &table = PayeeTable::of(category);
    QStringList columns;
    for (PayeeColumn column : kAllPayeeColumns)
        columns.append(table.columnName(column));
    SqlCipherConnection::Statement statement
        = connection.prepare(QStringLiteral("SELECT %1 FROM %2").arg(columns.join(QStringLiteral(", ")), table.tableName()));
    QSet<QString> keys;
    while (statement.next()) {
        PayeeFields fields;
        for (int i = 0; i < kPayeeColumnCount; ++i)
            fields[std::size_t(i)] = statement.text(i);
        keys.insert(recordKey(fields));
    }
    if (statement.error().isError())
        return Failure(PayeeDatabase::failureReason(statement.error(), connection.filePath()));
    return keys;
}

} // namespace

qsizetype Counts::totalAdded() const
{
    qsizetype total = 0;
    for (qsizetype count : added)
        total += count;
    return total;
}

qsizetype Counts::totalSkipped() const
{
    qsizetype total = 0;
    for (qsizetype count : skipped)
        total += count;
    return total;
}

SqlCipherConnection::Error insertAll(SqlCipherConnection &connection, const PayeeRecords &records,
                                     const Progress &progress)
{
    const qsizetype total = payeeCount(records);
    qsizetype done = 0;
    PayeeBulkInsert insert(connection);
    for (PaymentCategory category : kAllCategories) {
        for (const PayeeFields &fields : records[std::size_t(categoryIndex(category))]) {
            if (const SqlCipherConnection::Error error = insert.append(category, fields); error.isError())
                return error;
            if (progress && ++done % kProgressStep == 0)
                progress(done, total);
        }
    }
    if (const SqlCipherConnection::Error error = insert.finish(); error.isError())
        return error;
    if (progress)
        progress(total, total);
    return {};
}

Result<Counts> add(PayeeDatabase &database, const PayeeRecords &records, const Progress &progress)
{
    SqlCipherConnection &connection = database.connection();
    const auto failed = [&](const SqlCipherConnection::Error &error) {
        if (connection.inTransaction())
            connection.execute(QStringLiteral("ROLLBACK"));
        return Failure(PayeeDatabase::failureReason(error, connection.filePath()));
    };
    // Written at once, so that no one else writes between the look at what
    // is there and the additions.
    if (const SqlCipherConnection::Error error = connection.execute(QStringLiteral("BEGIN IMMEDIATE")); error.isError())
        return failed(error);
    Counts counts;
    PayeeRecords fresh;
    for (PaymentCategory category : kAllCategories) {
        const std::size_t index = std::size_t(categoryIndex(category));
        Result<QSet<QString>> keys = existingKeys(connection, category);
        if (keys.failed()) {
            if (connection.inTransaction())
                connection.execute(QStringLiteral("ROLLBACK"));
            return keys.error();
        }
        for (const PayeeFields &fields : records[index]) {
            // Two equal records of the import both come, as the source has them.
            if (keys->contains(recordKey(fields))) {
                ++counts.skipped[index];
                continue;
            }
            fresh[index].append(fields);
            ++counts.added[index];
        }
    }
    if (const SqlCipherConnection::Error error = insertAll(connection, fresh, progress); error.isError())
        return failed(error);
    if (const SqlCipherConnection::Error error = connection.execute(QStringLiteral("COMMIT")); error.isError())
        return failed(error);
    return counts;
}

Result<Counts> addToFile(const QString &filePath, const PayeeRecords &records, const Progress &progress)
{
    PayeeDatabase database;
    if (!QFileInfo::exists(filePath)) {
        const PayeeDatabase::OpenResult created = database.create(
            filePath, [&](SqlCipherConnection &connection) { return insertAll(connection, records, progress); });
        if (!created.isOpened())
            return Failure(created.message);
        if (created.created) {
            Counts counts;
            for (PaymentCategory category : kAllCategories)
                counts.added[std::size_t(categoryIndex(category))] = records[std::size_t(categoryIndex(category))].size();
            return counts;
        }
        // Another copy of the program made it meanwhile: added to as any.
    } else {
        const PayeeDatabase::OpenResult opened = database.open(filePath);
        if (!opened.isOpened())
            return Failure(opened.message);
    }
    Result<Counts> counts = add(database, records, progress);
    if (counts.failed())
        return Failure(QStringLiteral("Kayıtlar veritabanına yazılamadı: %1").arg(counts.message()));
    return counts;
}

QString countsText(const std::array<qsizetype, kCategoryCount> &counts)
{
    QStringList parts;
    for (PaymentCategory category : kAllCategories) {
        parts.append(QStringLiteral("%1: %2").arg(categoryWord(category),
                                                  countText(counts[std::size_t(categoryIndex(category))])));
    }
    return parts.join(QStringLiteral(", "));
}

QString transferredSentence(const Counts &counts)
{
    return countsText(counts.added) + QStringLiteral(" kayıt aktarıldı.");
}

QStringList reportLines(const Counts &counts)
{
    QStringList lines;
    for (PaymentCategory category : kAllCategories) {
        const std::size_t index = std::size_t(categoryIndex(category));
        QString line = QStringLiteral("%1: %2 kayıt eklendi").arg(categoryWord(category), countText(counts.added[index]));
        if (counts.skipped[index] > 0)
            line += QStringLiteral(", %1 kayıt zaten vardı (atlandı)").arg(countText(counts.skipped[index]));
        lines.append(line + u'.');
    }
    return lines;
}

} // namespace PayeeImport
