#include "registry/OrderList.h"

#include <algorithm>

namespace {

// A screenful or two of the grid.
constexpr int kCachedRecords = 1024;

} // namespace

OrderList::OrderList(const OrderStore &orders, QObject *parent)
    : QObject(parent)
    , m_orders(orders)
    , m_cache(kCachedRecords)
{
}

OrderList::~OrderList() = default;

Result<> OrderList::open(const Filter &filter)
{
    Result<OrderSelection> selected = m_orders.select(filter);
    if (selected.failed()) {
        close();
        return selected.prefixed(QStringLiteral("Belge listesi açılamadı: ")).error();
    }
    emit rowsAboutToBeReset();
    m_open = true;
    m_filter = filter;
    m_numbers = std::move(selected->numbers);
    m_totals = selected->totals;
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
    Result<IssuedOrder> read = m_orders.read(number);
    if (read.succeeded())
        m_cache.insert(number, new IssuedOrder(*read));
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
