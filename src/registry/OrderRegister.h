#pragma once

#include "base/PaymentCategory.h"
#include "base/Result.h"
#include "registry/PayeeTable.h"
#include "registry/SqlCipherConnection.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>

class PayeeDatabase;

// How an order left the program. One record can have left both ways: a
// preview printed and then saved as a PDF is one order, not two.
enum class OrderWay : int {
    Printer = 1,
    Pdf = 2,
};

// One record of the register as the window, the export and the guard read
// it: everything but the page. Amounts are whole kuruş.
struct IssuedOrder
{
    qint64 number = 0; // the running number, from 1
    QDateTime issuedAt; // local time, to the second
    int ways = 0; // OrderWay flags
    PaymentCategory category = PaymentCategory::Pharmacy;
    PayeeFields payee;
    qint64 gross = 0;
    qint64 stamp = 0;
    qint64 net = 0;
    qint64 reprintOf = 0; // the original's number for a reprint, 0 for an original

    bool isReprint() const { return reprintOf != 0; }
    bool leftBy(OrderWay way) const { return (ways & int(way)) != 0; }
    QString name() const { return payee[std::size_t(PayeeColumn::Name)]; }

    friend bool operator==(const IssuedOrder &, const IssuedOrder &) = default;
};

// The register of issued payment orders, in the payee database's file: every
// order that left the program, with the page as it was printed, so that it
// can be found, reprinted as the same page and exported. Records are only
// added: the register is an audit trail, and the file itself refuses to
// delete a record or to change one except to add a way out (triggers).
//
// Two tables: Belge holds what is listed and searched, one short row per
// order; BelgeSayfa holds the stored page of each, read only for a reprint.
class OrderRegister
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

    // Whether the register can be read and written now; the Turkish reason
    // when it cannot (no database open, an older file that could not be
    // brought up to date).
    Result<> availability() const;

    // Adds a record and gives its number. The page is stored as given.
    // order.number is ignored; a reprint names its original in reprintOf.
    Result<qint64> record(const IssuedOrder &order, const QByteArray &page);
    // Marks a record as having left another way too.
    Result<> addWay(qint64 number, OrderWay way);

    Result<IssuedOrder> read(qint64 number) const;
    Result<QByteArray> page(qint64 number) const;

    // The latest original order of the same category, the same payee name (see
    // TurkishCollation::sameName) and the same gross amount issued on or
    // after `since`; nothing when there is none.
    Result<std::optional<IssuedOrder>> findSame(PaymentCategory category, const QString &payeeName, qint64 gross,
                                                const QDate &since) const;

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

// One issue of a page: recorded once, at the first way it leaves the
// program; each later way out of the same issue (the preview's print after
// its PDF, a second print) is added to that record, not recorded anew.
class OrderIssue
{
public:
    OrderIssue(OrderRegister *orders, IssuedOrder order, QByteArray page);

    // The page has left the program this way.
    Result<> left(OrderWay way);
    // 0 until recorded.
    qint64 number() const { return m_number; }
    // OrderWay flags of the ways recorded so far.
    int ways() const { return m_ways; }

private:
    OrderRegister *m_orders;
    IssuedOrder m_order;
    QByteArray m_page;
    qint64 m_number = 0;
    int m_ways = 0;
};
