#pragma once

#include "base/DataSetLink.h"
#include "base/Result.h"
#include "registry/OrderRegister.h"
#include "registry/SqlCipherConnection.h"

#include <QCache>
#include <QDate>
#include <QObject>
#include <QString>
#include <QVector>

class PayeeDatabase;

// The records of the register as the orders window shows them: newest first,
// those whose payee name begins with the typed text (the payee lists' rules)
// and that were issued within a range of days, with their count and sums.
//
// Like the payee lists it holds only the ordered numbers of its records and
// reads a record's fields when the grid asks for them, into a small cache:
// opening and searching stay instant with a hundred thousand records. The
// sums are counted in whole kuruş while the numbers are read.
class OrderList : public QObject, public DataSetLink
{
    Q_OBJECT

public:
    struct Filter
    {
        QString namePrefix; // empty: every record
        QDate from{}; // null: no first day
        QDate to{}; // null: no last day; inclusive

        friend bool operator==(const Filter &, const Filter &) = default;
    };

    // The shown records' figures. Reprints are counted apart and left out
    // of the sums: they are copies of a payment, not payments.
    struct Totals
    {
        int originals = 0;
        int reprints = 0;
        qint64 gross = 0; // kuruş
        qint64 net = 0;

        friend bool operator==(const Totals &, const Totals &) = default;
    };

    explicit OrderList(PayeeDatabase &database, QObject *parent = nullptr);
    ~OrderList() override;

    // Reads the numbers anew (records issued since are seen); on failure the
    // list is left empty and closed.
    Result<> open(const Filter &filter);
    void close();
    const Filter &filter() const { return m_filter; }

    int rowCount() const { return int(m_numbers.size()); }
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
    Result<> prepare() const;
    Result<IssuedOrder> load(qint64 number) const;

    PayeeDatabase &m_database;
    bool m_open = false;
    Filter m_filter;
    QVector<qint64> m_numbers;
    Totals m_totals;
    int m_current = -1;

    mutable quint64 m_preparedGeneration = 0;
    mutable SqlCipherConnection::Statement m_select;
    mutable QCache<qint64, IssuedOrder> m_cache;
};
