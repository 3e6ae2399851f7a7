#include "registry/SharedOrderRegister.h"

#include "registry/OrderRegister.h"
#include "registry/TurkishCollation.h"

#include <utility>

namespace {

using Parameters = SharedRegisterConnection::Parameters;
using Rows = SharedRegisterConnection::Rows;

// Every column of an order in the order fromRow() reads them: the moment in
// the stored form of the local register, the ways out gathered from their
// rows.
const QString kSelectOrders = QStringLiteral(
    "SELECT b.no, to_char(b.zaman, 'YYYY-MM-DD\"T\"HH24:MI:SS'), "
    "(SELECT coalesce(bit_or(c.yol), 0) FROM mirvasel.belge_cikis c WHERE c.no = b.no), "
    "b.tur, b.adi, b.kimlik, b.banka_sube, b.banka_hesap, b.vergi_daire, b.brut, b.damga, b.net, "
    "coalesce(b.asil_no, 0), b.duzenleyen FROM mirvasel.belge b");

IssuedOrder fromRow(const Rows &rows, int row)
{
    IssuedOrder order;
    order.number = rows.int64(row, 0);
    order.issuedAt = OrderRegister::momentFromStore(rows.text(row, 1));
    order.ways = int(rows.int64(row, 2));
    const int kind = int(rows.int64(row, 3));
    order.category = isCategoryIndex(kind) ? PaymentCategory(kind) : PaymentCategory::Pharmacy;
    for (std::size_t column = 0; column < order.payee.size(); ++column)
        order.payee[column] = rows.text(row, 4 + int(column));
    order.gross = rows.int64(row, 9);
    order.stamp = rows.int64(row, 10);
    order.net = rows.int64(row, 11);
    order.reprintOf = rows.int64(row, 12);
    order.clerk = rows.text(row, 13);
    return order;
}

constexpr OrderWay kWays[] = {OrderWay::Printer, OrderWay::Pdf};

} // namespace

SharedOrderRegister::SharedOrderRegister(SharedRegisterConnection &connection)
    : m_connection(connection)
{
}

Result<> SharedOrderRegister::availability() const
{
    if (!m_connection.isOpen())
        return Result<>::failure(QStringLiteral("paylaşılan kayda bağlı değil."));
    return Result<>::success();
}

Result<qint64> SharedOrderRegister::record(const IssuedOrder &order, const QByteArray &page)
{
    const QString head = QStringLiteral("Belge kaydı yazılamadı: ");
    if (const Result<> available = availability(); available.failed())
        return available.prefixed(head).error();
    // The order, its page and its ways out, or none of them. The server
    // gives the number under a lock of its counter, so that an order that
    // is not committed gives its number back.
    if (const Result<> begun = m_connection.begin(); begun.failed())
        return begun.prefixed(head).error();
    auto rollBack = [&](const Result<> &failed) {
        m_connection.rollBack();
        return failed.prefixed(head).error();
    };
    Parameters values;
    values.text(OrderRegister::storedMoment(order.issuedAt)).int64(categoryIndex(order.category));
    for (const QString &field : order.payee)
        values.text(field);
    values.int64(order.gross).int64(order.stamp).int64(order.net);
    if (order.reprintOf != 0)
        values.int64(order.reprintOf);
    else
        values.nullInt64();
    const Result<Rows> added = m_connection.execute(
        QStringLiteral("INSERT INTO mirvasel.belge (zaman, tur, adi, kimlik, banka_sube, banka_hesap, vergi_daire, "
                       "brut, damga, net, asil_no) VALUES ($1::timestamp, $2, $3, $4, $5, $6, $7, $8, $9, $10, $11) "
                       "RETURNING no"),
        values);
    if (added.failed())
        return rollBack(Result<>::failure(added.message()));
    const qint64 number = added->int64(0, 0);
    const Result<Rows> stored
        = m_connection.execute(QStringLiteral("INSERT INTO mirvasel.belge_sayfa (no, sayfa) VALUES ($1, $2)"),
                               Parameters().int64(number).bytes(page.isNull() ? QByteArray("") : page));
    if (stored.failed())
        return rollBack(Result<>::failure(stored.message()));
    for (const OrderWay way : kWays) {
        if ((order.ways & int(way)) == 0)
            continue;
        const Result<Rows> left
            = m_connection.execute(QStringLiteral("INSERT INTO mirvasel.belge_cikis (no, yol) VALUES ($1, $2)"),
                                   Parameters().int64(number).int64(int(way)));
        if (left.failed())
            return rollBack(Result<>::failure(left.message()));
    }
    if (const Result<> committed = m_connection.commit(); committed.failed())
        return rollBack(committed);
    return number;
}

Result<> SharedOrderRegister::addWay(qint64 number, OrderWay way)
{
    const QString head = QStringLiteral("Belge kaydı güncellenemedi: ");
    if (const Result<> available = availability(); available.failed())
        return available.prefixed(head);
    // A way is a row of its own: added, never changed; a way already there
    // stays as it was.
    const Result<Rows> added = m_connection.execute(
        QStringLiteral("INSERT INTO mirvasel.belge_cikis (no, yol) VALUES ($1, $2) ON CONFLICT DO NOTHING"),
        Parameters().int64(number).int64(int(way)));
    if (added.failed())
        return Result<>::failure(head + added.message());
    return Result<>::success();
}

Result<IssuedOrder> SharedOrderRegister::read(qint64 number) const
{
    const QString head = QStringLiteral("Belge kaydı okunamadı: ");
    if (const Result<> available = availability(); available.failed())
        return available.prefixed(head).error();
    const Result<Rows> rows = m_connection.execute(kSelectOrders + QStringLiteral(" WHERE b.no = $1"),
                                                   Parameters().int64(number));
    if (rows.failed())
        return Failure(head + rows.message());
    if (rows->count() == 0)
        return Failure(head + QStringLiteral("%1 numaralı belge kayıtlı değil.").arg(number));
    return fromRow(*rows, 0);
}

Result<QByteArray> SharedOrderRegister::page(qint64 number) const
{
    const QString head = QStringLiteral("Belgenin sayfası okunamadı: ");
    if (const Result<> available = availability(); available.failed())
        return available.prefixed(head).error();
    const Result<Rows> rows = m_connection.execute(
        QStringLiteral("SELECT sayfa FROM mirvasel.belge_sayfa WHERE no = $1"), Parameters().int64(number));
    if (rows.failed())
        return Failure(head + rows.message());
    if (rows->count() == 0)
        return Failure(head + QStringLiteral("%1 numaralı belgenin sayfası kayıtlı değil.").arg(number));
    return rows->bytes(0, 0);
}

Result<std::optional<IssuedOrder>> SharedOrderRegister::findSame(PaymentCategory category, const QString &payeeName,
                                                                 qint64 gross, const QDate &since) const
{
    const QString head = QStringLiteral("Belge kaydına bakılamadı: ");
    if (const Result<> available = availability(); available.failed())
        return available.prefixed(head).error();
    // Every clerk's orders. Few share a gross amount: the name is compared
    // here, with the rules of the local register's name order, so that both
    // registers find the same payments.
    const Result<Rows> rows = m_connection.execute(
        kSelectOrders
            + QStringLiteral(" WHERE b.brut = $1 AND b.tur = $2 AND b.asil_no IS NULL AND b.zaman >= $3::timestamp "
                             "ORDER BY b.no DESC"),
        Parameters()
            .int64(gross)
            .int64(categoryIndex(category))
            .text(OrderRegister::storedMoment(QDateTime(since, QTime(0, 0)))));
    if (rows.failed())
        return Failure(head + rows.message());
    for (int row = 0; row < rows->count(); ++row) {
        IssuedOrder order = fromRow(*rows, row);
        if (TurkishCollation::sameName(order.name(), payeeName))
            return std::optional<IssuedOrder>(std::move(order));
    }
    return std::optional<IssuedOrder>();
}

Result<OrderSelection> SharedOrderRegister::select(const OrderFilter &filter) const
{
    if (const Result<> available = availability(); available.failed())
        return available.error();
    // The typed text is lowered by the server with the names' own Turkish
    // rules (I to ı, İ to i), so that both sides of the comparison fold
    // alike; starts_with takes every character literally.
    QStringList conditions;
    Parameters values;
    int next = 1;
    if (!filter.namePrefix.isEmpty()) {
        conditions.append(
            QStringLiteral("starts_with(lower(adi), lower($%1::text COLLATE \"tr-TR-x-icu\"))").arg(next++));
        values.text(filter.namePrefix);
    }
    if (filter.from.isValid()) {
        conditions.append(QStringLiteral("zaman >= $%1::timestamp").arg(next++));
        values.text(OrderRegister::storedMoment(QDateTime(filter.from, QTime(0, 0))));
    }
    if (filter.to.isValid()) {
        conditions.append(QStringLiteral("zaman < $%1::timestamp").arg(next++));
        values.text(OrderRegister::storedMoment(QDateTime(filter.to.addDays(1), QTime(0, 0))));
    }
    QString sql = QStringLiteral("SELECT no, brut, net, asil_no IS NOT NULL FROM mirvasel.belge");
    if (!conditions.isEmpty())
        sql += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    sql += QStringLiteral(" ORDER BY no DESC");
    const Result<Rows> rows = m_connection.execute(sql, values);
    if (rows.failed())
        return rows.error();
    OrderSelection selection;
    selection.numbers.reserve(rows->count());
    for (int row = 0; row < rows->count(); ++row) {
        selection.numbers.append(rows->int64(row, 0));
        if (rows->boolean(row, 3)) {
            ++selection.totals.reprints;
        } else {
            ++selection.totals.originals;
            selection.totals.gross += rows->int64(row, 1);
            selection.totals.net += rows->int64(row, 2);
        }
    }
    return selection;
}
