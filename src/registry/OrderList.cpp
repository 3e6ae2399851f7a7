#include "registry/OrderList.h"

#include "registry/PayeeDatabase.h"
#include "registry/TurkishCollation.h"

#include <QStringList>

#include <algorithm>
#include <functional>

namespace {

// A screenful or two of the grid.
constexpr int kCachedRecords = 1024;

} // namespace

OrderList::OrderList(PayeeDatabase &database, QObject *parent)
    : QObject(parent)
    , m_database(database)
    , m_cache(kCachedRecords)
{
}

OrderList::~OrderList() = default;

Result<> OrderList::prepare() const
{
    if (!m_database.isOpen())
        return Result<>::failure(QStringLiteral("veritabanı açık değil."));
    if (m_preparedGeneration == m_database.generation() && m_select.isValid())
        return Result<>::success();
    m_select = m_database.connection().prepare(OrderRegister::selectByNumberSql());
    if (!m_select.isValid())
        return Result<>::failure(PayeeDatabase::failureReason(m_select.error(), m_database.filePath()));
    m_cache.clear();
    m_preparedGeneration = m_database.generation();
    return Result<>::success();
}

Result<> OrderList::open(const Filter &filter)
{
    const QString head = QStringLiteral("Belge listesi açılamadı: ");
    auto fail = [&](const QString &reason) {
        close();
        return Result<>::failure(head + reason);
    };
    if (const Result<> prepared = prepare(); prepared.failed())
        return fail(prepared.message());
    if (!m_database.hasOrderRegister())
        return fail(QStringLiteral("veritabanı dosyası eski bir sürümden kalma ve henüz güncellenemedi; belge "
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
    SqlCipherConnection::Statement query = m_database.connection().prepare(sql);
    if (!query.isValid())
        return fail(PayeeDatabase::failureReason(query.error(), m_database.filePath()));
    if (!filter.namePrefix.isEmpty()) {
        query.bindText(1, TurkishCollation::prefixLowerBound(filter.namePrefix));
        query.bindText(2, TurkishCollation::prefixUpperBound(filter.namePrefix));
    }
    if (filter.from.isValid())
        query.bindText(3, OrderRegister::storedMoment(QDateTime(filter.from, QTime(0, 0))));
    if (filter.to.isValid())
        query.bindText(4, OrderRegister::storedMoment(QDateTime(filter.to.addDays(1), QTime(0, 0))));

    QVector<qint64> numbers;
    Totals totals;
    while (query.next()) {
        numbers.append(query.int64(0));
        if (query.int64(3) != 0) {
            ++totals.reprints;
        } else {
            ++totals.originals;
            totals.gross += query.int64(1);
            totals.net += query.int64(2);
        }
    }
    if (query.error().isError())
        return fail(PayeeDatabase::failureReason(query.error(), m_database.filePath()));
    if (!conditions.isEmpty())
        std::sort(numbers.begin(), numbers.end(), std::greater<>());

    emit rowsAboutToBeReset();
    m_open = true;
    m_filter = filter;
    m_numbers = std::move(numbers);
    m_totals = totals;
    m_current = m_numbers.isEmpty() ? -1 : 0;
    // Ways out may have been added to records since they were read.
    m_cache.clear();
    emit rowsReset();
    emit currentChanged();
    return Result<>::success();
}

void OrderList::close()
{
    const bool hadRows = !m_numbers.isEmpty();
    if (hadRows)
        emit rowsAboutToBeReset();
    m_open = false;
    m_numbers.clear();
    m_totals = {};
    m_current = -1;
    m_cache.clear();
    // A statement still prepared keeps the connection, and with it the
    // file, open after the database is closed.
    m_select = {};
    m_preparedGeneration = 0;
    if (hadRows)
        emit rowsReset();
    emit currentChanged();
}

qint64 OrderList::numberAt(int row) const
{
    return row >= 0 && row < rowCount() ? m_numbers[row] : 0;
}

Result<IssuedOrder> OrderList::load(qint64 number) const
{
    if (IssuedOrder *cached = m_cache.object(number))
        return *cached;
    if (const Result<> prepared = prepare(); prepared.failed())
        return prepared.error();
    m_select.bindInt64(1, number);
    if (!m_select.next()) {
        const SqlCipherConnection::Error error = m_select.error();
        m_select.reset();
        return Failure(error.isError() ? PayeeDatabase::failureReason(error, m_database.filePath())
                                       : QStringLiteral("%1 numaralı belge kayıtlı değil.").arg(number));
    }
    const IssuedOrder read = OrderRegister::fromRow(m_select);
    m_select.reset();
    m_cache.insert(number, new IssuedOrder(read));
    return read;
}

IssuedOrder OrderList::orderAt(int row) const
{
    if (row < 0 || row >= rowCount())
        return {};
    Result<IssuedOrder> loaded = load(m_numbers[row]);
    if (loaded.succeeded())
        return std::move(loaded).value();
    // A record that does not read keeps its number, so that it can be named.
    IssuedOrder unread;
    unread.number = m_numbers[row];
    return unread;
}

bool OrderList::isReadable(int row) const
{
    if (row < 0 || row >= rowCount())
        return true;
    // The answer of a read, never of a mark alone: a row not read yet has
    // no mark. A row read before comes from the cache.
    return load(m_numbers[row]).succeeded();
}

int OrderList::recordNumber(int row) const
{
    return row >= 0 && row < rowCount() ? row + 1 : 0;
}

bool OrderList::moveToRow(int row)
{
    if (row < 0 || row >= rowCount())
        return false;
    if (row != m_current) {
        m_current = row;
        emit currentChanged();
    }
    return true;
}

int OrderList::moveBy(int distance)
{
    if (m_current < 0)
        return 0;
    const int target = std::clamp(m_current + distance, 0, rowCount() - 1);
    const int moved = target - m_current;
    moveToRow(target);
    return moved;
}
