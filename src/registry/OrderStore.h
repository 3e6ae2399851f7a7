#pragma once

#include "base/PaymentCategory.h"
#include "base/Result.h"
#include "registry/PayeeTable.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVector>

#include <optional>

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
    // The clerk who issued it on a shared register (the server's role); null
    // in a clerk's own file, where there is only one. Given by the register,
    // never by whoever records the order.
    QString clerk;

    bool isReprint() const { return reprintOf != 0; }
    bool leftBy(OrderWay way) const { return (ways & int(way)) != 0; }
    QString name() const { return payee[std::size_t(PayeeColumn::Name)]; }

    friend bool operator==(const IssuedOrder &, const IssuedOrder &) = default;
};

// Which records a list of the register shows: those whose payee name begins
// with the typed text (the payee lists' rules) issued within a range of days.
struct OrderFilter
{
    QString namePrefix; // empty: every record
    QDate from{}; // null: no first day
    QDate to{}; // null: no last day; inclusive

    friend bool operator==(const OrderFilter &, const OrderFilter &) = default;
};

// The figures of the records a filter shows. Reprints are counted apart and
// left out of the sums: they are copies of a payment, not payments.
struct OrderTotals
{
    int originals = 0;
    int reprints = 0;
    qint64 gross = 0; // kuruş
    qint64 net = 0;

    friend bool operator==(const OrderTotals &, const OrderTotals &) = default;
};

struct OrderSelection
{
    QVector<qint64> numbers; // newest first
    OrderTotals totals;
};

// The register of issued payment orders, wherever it is kept: a clerk's own
// database file or an office's shared register on a server. Every order that
// left the program is in it with the page as it was printed, so that it can
// be found, reprinted as the same page and exported. Records are only added:
// the register is an audit trail, and whatever keeps it refuses to delete a
// record or to change one except to add a way out.
class OrderStore
{
public:
    virtual ~OrderStore() = default;

    // Whether the register can be read and written now; the Turkish reason
    // when it cannot.
    [[nodiscard]] virtual Result<> availability() const = 0;

    // Adds a record and gives its number: the next one, without gaps. The
    // page is stored as given. order.number and order.clerk are ignored; a
    // reprint names its original in reprintOf.
    [[nodiscard]] virtual Result<qint64> record(const IssuedOrder &order, const QByteArray &page) = 0;
    // Marks a record as having left another way too.
    [[nodiscard]] virtual Result<> addWay(qint64 number, OrderWay way) = 0;

    [[nodiscard]] virtual Result<IssuedOrder> read(qint64 number) const = 0;
    [[nodiscard]] virtual Result<QByteArray> page(qint64 number) const = 0;

    // The latest original order of the same category, the same payee name
    // (see TurkishCollation::sameName) and the same gross amount issued on
    // or after `since`, whoever issued it; nothing when there is none.
    [[nodiscard]] virtual Result<std::optional<IssuedOrder>>
    findSame(PaymentCategory category, const QString &payeeName, qint64 gross, const QDate &since) const = 0;

    // The numbers of the records the filter shows, newest first, with their
    // figures.
    [[nodiscard]] virtual Result<OrderSelection> select(const OrderFilter &filter) const = 0;

    // Whether the records name the clerk who issued them: what decides the
    // lists' and exports' "Düzenleyen" column.
    virtual bool recordsClerks() const = 0;
};
