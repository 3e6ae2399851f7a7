#pragma once

#include "base/PaymentCategory.h"
#include "base/Result.h"
#include "registry/OrderStore.h"
#include "registry/PayeeTable.h"
#include "registry/SqlCipherConnection.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>

class PayeeDatabase;

// The register of issued payment orders in a clerk's own database file (the
// file itself refuses to delete a record or to change one except to add a
// way out: triggers).
//
// Two tables: Belge holds what is listed and searched, one short row per
// order; BelgeSayfa holds the stored page of each, read only for a reprint.
class OrderRegister : public OrderStore
{
public:
    explicit OrderRegister(PayeeDatabase &database);

    // The tables, indexes and triggers of the register, for a new file and
    // for the upgrade of an older one (they are created only when missing).
    static QString createSql();
    // What brings the register of a file of an older schema version up to
    // date: createSql(), and in place of the name index of version 4 the one
    // that also carries what the orders window sums.
    static QString upgradeSql(qint64 schemaVersion);

    // "Yazıcı", "PDF", "Yazıcı, PDF".
    static QString waysText(int ways);

    // The reason names the file when it cannot be written (an older file
    // that could not be brought up to date).
    Result<> availability() const override;
    Result<qint64> record(const IssuedOrder &order, const QByteArray &page) override;
    Result<> addWay(qint64 number, OrderWay way) override;
    Result<IssuedOrder> read(qint64 number) const override;
    Result<QByteArray> page(qint64 number) const override;
    Result<std::optional<IssuedOrder>> findSame(PaymentCategory category, const QString &payeeName, qint64 gross,
                                                const QDate &since) const override;
    Result<OrderSelection> select(const OrderFilter &filter) const override;
    bool recordsClerks() const override { return false; }

    // Stored form of a moment: "2024-03-05T14:30:00".
    static QString storedMoment(const QDateTime &moment);
    static QDateTime momentFromStore(const QString &text);

    PayeeDatabase &database() const { return m_database; }

    // The record with number ?1, every column but the page; fromRow() reads
    // a row of it.
    static QString selectByNumberSql();
    static IssuedOrder fromRow(const SqlCipherConnection::Statement &row);

private:
    Result<> failure(const QString &head, const QString &reason) const;
    // Runs a query for the record ?1 and hands its row to take.
    Result<> selectOne(const QString &sql, qint64 number, const QString &head, const QString &missing,
                     const std::function<void(const SqlCipherConnection::Statement &)> &take) const;

    PayeeDatabase &m_database;
};
