#include "registry/OrderRegister.h"

#include "registry/PayeeDatabase.h"
#include "registry/TurkishCollation.h"

#include <QStringList>

#include <algorithm>
#include <array>
#include <functional>
#include <utility>

namespace {

using Statement = SqlCipherConnection::Statement;

const QString kMomentFormat = QStringLiteral("yyyy-MM-ddTHH:mm:ss");

// Columns of Belge after No, in the order the statements bind and read them.
const QString kColumns = QStringLiteral(
    "Zaman, Cikis, Tur, Adi, Kimlik, BankaSube, BankaHesap, VergiDaire, Brut, Damga, Net, AsilNo");

void bindOrder(Statement &statement, const IssuedOrder &order)
{
    statement.bindText(1, OrderRegister::storedMoment(order.issuedAt));
    statement.bindInt64(2, order.ways);
    statement.bindInt64(3, categoryIndex(order.category));
    for (std::size_t column = 0; column < order.payee.size(); ++column)
        statement.bindText(4 + int(column), order.payee[column]);
    statement.bindInt64(9, order.gross);
    statement.bindInt64(10, order.stamp);
    statement.bindInt64(11, order.net);
    if (order.reprintOf != 0)
        statement.bindInt64(12, order.reprintOf);
    else
        statement.bindText(12, QString());
}

} // namespace

OrderRegister::OrderRegister(PayeeDatabase &database)
    : m_database(database)
{
}

QString OrderRegister::createSql()
{
    // Amounts are whole kuruş. AUTOINCREMENT: a number is never given twice.
    // Adi keeps the Turkish order of the payee lists, so that its index
    // serves the same prefix search. The triggers make the register an audit
    // trail in the file itself: no record is deleted, none is changed but for
    // a way out added to it. The name index carries the day and the amounts,
    // so that a name search reads its count and sums from the index alone,
    // never from the records themselves.
    return QStringLiteral(
        "CREATE TABLE IF NOT EXISTS Belge (No INTEGER PRIMARY KEY AUTOINCREMENT, Zaman TEXT NOT NULL, "
        "Cikis INTEGER NOT NULL, Tur INTEGER NOT NULL, Adi TEXT COLLATE %1, Kimlik TEXT, BankaSube TEXT, "
        "BankaHesap TEXT, VergiDaire TEXT, Brut INTEGER NOT NULL, Damga INTEGER NOT NULL, Net INTEGER NOT NULL, "
        "AsilNo INTEGER);\n"
        "CREATE TABLE IF NOT EXISTS BelgeSayfa (No INTEGER PRIMARY KEY, Sayfa BLOB NOT NULL);\n"
        "CREATE INDEX IF NOT EXISTS Belge_AdiTutar ON Belge (Adi, Zaman, Brut, Net, AsilNo);\n"
        "CREATE INDEX IF NOT EXISTS Belge_Zaman ON Belge (Zaman);\n"
        "CREATE INDEX IF NOT EXISTS Belge_Brut ON Belge (Brut);\n"
        "CREATE TRIGGER IF NOT EXISTS Belge_Silinmez BEFORE DELETE ON Belge "
        "BEGIN SELECT RAISE(ABORT, 'belge kaydı silinemez'); END;\n"
        "CREATE TRIGGER IF NOT EXISTS Belge_Degismez BEFORE UPDATE OF No, Zaman, Tur, Adi, Kimlik, BankaSube, "
        "BankaHesap, VergiDaire, Brut, Damga, Net, AsilNo ON Belge "
        "BEGIN SELECT RAISE(ABORT, 'belge kaydı değiştirilemez'); END;\n"
        "CREATE TRIGGER IF NOT EXISTS Belge_CikisEklenir BEFORE UPDATE OF Cikis ON Belge "
        "WHEN (NEW.Cikis & OLD.Cikis) != OLD.Cikis "
        "BEGIN SELECT RAISE(ABORT, 'belge kaydı değiştirilemez'); END;\n"
        "CREATE TRIGGER IF NOT EXISTS BelgeSayfa_Silinmez BEFORE DELETE ON BelgeSayfa "
        "BEGIN SELECT RAISE(ABORT, 'belge sayfası silinemez'); END;\n"
        "CREATE TRIGGER IF NOT EXISTS BelgeSayfa_Degismez BEFORE UPDATE ON BelgeSayfa "
        "BEGIN SELECT RAISE(ABORT, 'belge sayfası değiştirilemez'); END;\n")
        .arg(QString::fromLatin1(TurkishCollation::kName));
}

QString OrderRegister::upgradeSql(qint64 schemaVersion)
{
    QString sql;
    if (schemaVersion == 4)
        sql = QStringLiteral("DROP INDEX IF EXISTS Belge_Adi;\n");
    return sql + createSql();
}

QString OrderRegister::waysText(int ways)
{
    QStringList words;
    if (ways & int(OrderWay::Printer))
        words.append(QStringLiteral("Yazıcı"));
    if (ways & int(OrderWay::Pdf))
        words.append(QStringLiteral("PDF"));
    return words.join(QStringLiteral(", "));
}

QString OrderRegister::storedMoment(const QDateTime &moment)
{
    return moment.toString(kMomentFormat);
}

QDateTime OrderRegister::momentFromStore(const QString &text)
{
    // Read by hand: the format's parser costs more than all the rest of a
    // record, and the orders window reads a screenful at every keystroke.
    // Whatever is not plainly a moment of the clock goes to the parser.
    constexpr int kLength = 19;
    constexpr std::array<std::pair<int, int>, 6> kNumbers = {{{0, 4}, {5, 2}, {8, 2}, {11, 2}, {14, 2}, {17, 2}}};
    if (text.size() == kLength && text[4] == u'-' && text[7] == u'-' && text[10] == u'T' && text[13] == u':'
        && text[16] == u':') {
        std::array<int, 6> numbers{};
        bool digits = true;
        for (std::size_t i = 0; i < kNumbers.size() && digits; ++i) {
            for (int at = kNumbers[i].first; at < kNumbers[i].first + kNumbers[i].second; ++at) {
                const char16_t c = text[at].unicode();
                digits = digits && c >= u'0' && c <= u'9';
                numbers[i] = numbers[i] * 10 + (c - u'0');
            }
        }
        const QDate day(numbers[0], numbers[1], numbers[2]);
        const QTime time(numbers[3], numbers[4], numbers[5]);
        if (digits && day.isValid() && time.isValid()) {
            // A moment the clock skipped is moved; the parser decides those.
            const QDateTime moment(day, time);
            if (moment.date() == day && moment.time() == time)
                return moment;
        }
    }
    return QDateTime::fromString(text, kMomentFormat);
}

Result<> OrderRegister::availability() const
{
    if (!m_database.isOpen())
        return Result<>::failure(QStringLiteral("veritabanı açık değil."));
    if (!m_database.hasOrderRegister())
        return Result<>::failure(QStringLiteral("veritabanı dosyası eski bir sürümden kalma ve yazılamadığı için "
                                              "belge kaydı eklenemedi. Dosyanın ve klasörünün yazma iznini "
                                              "düzeltip programı yeniden açın."));
    return Result<>::success();
}

Result<> OrderRegister::failure(const QString &head, const QString &reason) const
{
    return Result<>::failure(head + reason);
}

Result<qint64> OrderRegister::record(const IssuedOrder &order, const QByteArray &page)
{
    const QString head = QStringLiteral("Belge kaydı yazılamadı: ");
    if (const Result<> available = availability(); available.failed())
        return available.prefixed(head).error();
    SqlCipherConnection &connection = m_database.connection();
    // Both rows or neither.
    if (const auto error = connection.execute(QStringLiteral("BEGIN IMMEDIATE")); error.isError())
        return failure(head, PayeeDatabase::failureReason(error, m_database.filePath())).error();
    auto rollBack = [&](const SqlCipherConnection::Error &error) {
        connection.execute(QStringLiteral("ROLLBACK"));
        return failure(head, PayeeDatabase::failureReason(error, m_database.filePath())).error();
    };
    Statement insert = connection.prepare(
        QStringLiteral("INSERT INTO Belge (%1) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12)")
            .arg(kColumns));
    if (!insert.isValid())
        return rollBack(insert.error());
    bindOrder(insert, order);
    if (const auto error = insert.run(); error.isError())
        return rollBack(error);
    const qint64 added = connection.lastInsertRowId();
    Statement storePage = connection.prepare(QStringLiteral("INSERT INTO BelgeSayfa (No, Sayfa) VALUES (?1, ?2)"));
    if (!storePage.isValid())
        return rollBack(storePage.error());
    storePage.bindInt64(1, added);
    storePage.bindBlob(2, page.isNull() ? QByteArray("") : page);
    if (const auto error = storePage.run(); error.isError())
        return rollBack(error);
    if (const auto error = connection.execute(QStringLiteral("COMMIT")); error.isError())
        return rollBack(error);
    return added;
}

Result<> OrderRegister::addWay(qint64 number, OrderWay way)
{
    const QString head = QStringLiteral("Belge kaydı güncellenemedi: ");
    if (const Result<> available = availability(); available.failed())
        return available.prefixed(head);
    Statement update = m_database.connection().prepare(QStringLiteral("UPDATE Belge SET Cikis = Cikis | ?2 WHERE No = ?1"));
    if (!update.isValid())
        return failure(head, PayeeDatabase::failureReason(update.error(), m_database.filePath()));
    update.bindInt64(1, number);
    update.bindInt64(2, int(way));
    if (const auto error = update.run(); error.isError())
        return failure(head, PayeeDatabase::failureReason(error, m_database.filePath()));
    return Result<>::success();
}

QString OrderRegister::selectByNumberSql()
{
    return QStringLiteral("SELECT No, %1 FROM Belge WHERE No = ?1").arg(kColumns);
}

IssuedOrder OrderRegister::fromRow(const Statement &row)
{
    // No, then kColumns.
    IssuedOrder order;
    order.number = row.int64(0);
    order.issuedAt = momentFromStore(row.text(1));
    order.ways = int(row.int64(2));
    const int kind = int(row.int64(3));
    order.category = isCategoryIndex(kind) ? PaymentCategory(kind) : PaymentCategory::Pharmacy;
    for (std::size_t column = 0; column < order.payee.size(); ++column)
        order.payee[column] = row.text(4 + int(column));
    order.gross = row.int64(9);
    order.stamp = row.int64(10);
    order.net = row.int64(11);
    order.reprintOf = row.int64(12);
    return order;
}

Result<> OrderRegister::selectOne(const QString &sql, qint64 number, const QString &head, const QString &missing,
                                const std::function<void(const Statement &)> &take) const
{
    if (!m_database.isOpen())
        return Result<>::failure(head + QStringLiteral("veritabanı açık değil."));
    Statement select = m_database.connection().prepare(sql);
    if (!select.isValid())
        return failure(head, PayeeDatabase::failureReason(select.error(), m_database.filePath()));
    select.bindInt64(1, number);
    if (!select.next()) {
        if (select.error().isError())
            return failure(head, PayeeDatabase::failureReason(select.error(), m_database.filePath()));
        return Result<>::failure(head + missing);
    }
    take(select);
    select.reset();
    return Result<>::success();
}

Result<IssuedOrder> OrderRegister::read(qint64 number) const
{
    IssuedOrder order;
    const Result<> found = selectOne(selectByNumberSql(), number, QStringLiteral("Belge kaydı okunamadı: "),
                                     QStringLiteral("%1 numaralı belge kayıtlı değil.").arg(number),
                                     [&order](const Statement &row) { order = fromRow(row); });
    if (found.failed())
        return found.error();
    return order;
}

Result<QByteArray> OrderRegister::page(qint64 number) const
{
    QByteArray page;
    const Result<> found = selectOne(QStringLiteral("SELECT Sayfa FROM BelgeSayfa WHERE No = ?1"), number,
                                     QStringLiteral("Belgenin sayfası okunamadı: "),
                                     QStringLiteral("%1 numaralı belgenin sayfası kayıtlı değil.").arg(number),
                                     [&page](const Statement &row) { page = row.blob(0); });
    if (found.failed())
        return found.error();
    return page;
}

Result<std::optional<IssuedOrder>> OrderRegister::findSame(PaymentCategory category, const QString &payeeName,
                                                           qint64 gross, const QDate &since) const
{
    const QString head = QStringLiteral("Belge kaydına bakılamadı: ");
    if (const Result<> available = availability(); available.failed())
        return available.prefixed(head).error();
    // Few orders share a gross amount: the name is compared here, with the
    // rules of the name order, not by the index.
    Statement select = m_database.connection().prepare(
        QStringLiteral("SELECT No, %1 FROM Belge WHERE Brut = ?1 AND Tur = ?2 AND AsilNo IS NULL AND Zaman >= ?3 "
                       "ORDER BY No DESC")
            .arg(kColumns));
    if (!select.isValid())
        return failure(head, PayeeDatabase::failureReason(select.error(), m_database.filePath())).error();
    select.bindInt64(1, gross);
    select.bindInt64(2, categoryIndex(category));
    select.bindText(3, storedMoment(QDateTime(since, QTime(0, 0))));
    while (select.next()) {
        IssuedOrder order = fromRow(select);
        if (TurkishCollation::sameName(order.name(), payeeName)) {
            select.reset();
            return std::optional<IssuedOrder>(std::move(order));
        }
    }
    if (select.error().isError())
        return failure(head, PayeeDatabase::failureReason(select.error(), m_database.filePath())).error();
    return std::optional<IssuedOrder>();
}

Result<OrderSelection> OrderRegister::select(const OrderFilter &filter) const
{
    if (!m_database.isOpen())
        return Failure(QStringLiteral("veritabanı açık değil."));
    if (!m_database.hasOrderRegister())
        return Failure(QStringLiteral("veritabanı dosyası eski bir sürümden kalma ve henüz güncellenemedi; belge "
                                      "kaydı yok."));
    // The name range and the days use their indexes; the engine picks the
    // narrower. The name index carries the figures read here, so a name
    // search never reads the records themselves.
    QStringList conditions;
    if (!filter.namePrefix.isEmpty())
        conditions.append(QStringLiteral("Adi >= ?1 AND Adi < ?2"));
    if (filter.from.isValid())
        conditions.append(QStringLiteral("Zaman >= ?3"));
    if (filter.to.isValid())
        conditions.append(QStringLiteral("Zaman < ?4"));
    QString sql = QStringLiteral("SELECT No, Brut, Net, AsilNo IS NOT NULL FROM Belge");
    // Newest first: the whole register by its numbers backwards; a search
    // is sorted here, which is far quicker than the engine's sorter.
    if (conditions.isEmpty())
        sql += QStringLiteral(" ORDER BY No DESC");
    else
        sql += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    Statement query = m_database.connection().prepare(sql);
    if (!query.isValid())
        return Failure(PayeeDatabase::failureReason(query.error(), m_database.filePath()));
    if (!filter.namePrefix.isEmpty()) {
        query.bindText(1, TurkishCollation::prefixLowerBound(filter.namePrefix));
        query.bindText(2, TurkishCollation::prefixUpperBound(filter.namePrefix));
    }
    if (filter.from.isValid())
        query.bindText(3, storedMoment(QDateTime(filter.from, QTime(0, 0))));
    if (filter.to.isValid())
        query.bindText(4, storedMoment(QDateTime(filter.to.addDays(1), QTime(0, 0))));

    OrderSelection selection;
    while (query.next()) {
        selection.numbers.append(query.int64(0));
        if (query.int64(3) != 0) {
            ++selection.totals.reprints;
        } else {
            ++selection.totals.originals;
            selection.totals.gross += query.int64(1);
            selection.totals.net += query.int64(2);
        }
    }
    if (query.error().isError())
        return Failure(PayeeDatabase::failureReason(query.error(), m_database.filePath()));
    if (!conditions.isEmpty())
        std::sort(selection.numbers.begin(), selection.numbers.end(), std::greater<>());
    return selection;
}
