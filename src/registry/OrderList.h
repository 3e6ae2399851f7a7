#pragma once

#include "base/DataSetLink.h"
#include "base/Result.h"
#include "registry/OrderStore.h"

#include <QCache>
#include <QDate>
#include <QObject>
#include <QString>
#include <QVector>

// The records of the register as the orders window shows them: newest first,
// those a filter shows, with their count and sums.
//
// Like the payee lists it holds only the ordered numbers of its records and
// reads a record's fields when the grid asks for them, into a small cache:
// opening and searching stay instant with a hundred thousand records. The
// sums are counted in whole kuruş while the numbers are read.
class OrderList : public QObject, public DataSetLink
{
    Q_OBJECT

public:
    using Filter = OrderFilter;
    using Totals = OrderTotals;

    explicit OrderList(const OrderStore &orders, QObject *parent = nullptr);
    ~OrderList() override;

    // Reads the numbers anew (records issued since are seen); on failure the
    // list is left empty and closed.
    Result<> open(const Filter &filter);
    void close();
    const Filter &filter() const { return m_filter; }

    int rowCount() const { return int(m_numbers.size()); }
    // Whether the records name the clerk who issued each (a shared register).
    bool recordsClerks() const { return m_orders.recordsClerks(); }
    const Totals &totals() const { return m_totals; }
    qint64 numberAt(int row) const;
    // The record on row; a record that cannot be read gives an empty one with
    // its number, and isReadable() tells so.
    IssuedOrder orderAt(int row) const;
    // Whether the row's record reads, asked of the file itself: true also
    // before the row was ever read only when it would read.
    bool isReadable(int row) const;
    // The current record's row, -1 when the list is empty.
    int current() const { return m_current; }
    IssuedOrder currentOrder() const { return orderAt(m_current); }

    // DataSetLink, for the grid.
    bool isActive() const override { return m_open; }
    int recordNumber(int row) const override;
    int currentRow() const override { return m_current; }
    bool moveToRow(int row) override;
    int moveBy(int distance) override;

    int cachedRecordCount() const { return int(m_cache.size()); }

signals:
    void rowsAboutToBeReset();
    void rowsReset();
    void currentChanged();

private:
    Result<IssuedOrder> load(qint64 number) const;

    const OrderStore &m_orders;
    bool m_open = false;
    Filter m_filter;
    QVector<qint64> m_numbers;
    Totals m_totals;
    int m_current = -1;

    mutable QCache<qint64, IssuedOrder> m_cache;
};
