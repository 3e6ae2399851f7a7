#include "registry/SharedRegisterCopy.h"

#include "registry/OrderRegister.h"
#include "registry/PayeeDatabase.h"
#include "registry/PayeeTable.h"
#include "registry/SharedRegisterConnection.h"
#include "registry/SqlCipherConnection.h"

#include <QDate>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <QTime>

#include <algorithm>
#include <optional>

namespace SharedRegisterCopy {

namespace {

using Parameters = SharedRegisterConnection::Parameters;
using Statement = SqlCipherConnection::Statement;

const QString kNothingCopied = QStringLiteral(" Paylaşılan kayıt olduğu gibi kaldı; hiçbir şey aktarılmadı.");

const QString kInsertPayee = QStringLiteral(
    "INSERT INTO mirvasel.kisi (tur, no, adi, kimlik, banka_sube, banka_hesap, vergi_daire) "
    "VALUES ($1, $2, $3, $4, $5, $6, $7)");
const QString kInsertOrder = QStringLiteral(
    "INSERT INTO mirvasel.belge (no, zaman, tur, adi, kimlik, banka_sube, banka_hesap, vergi_daire, brut, damga, net, "
    "asil_no) VALUES ($1, $2::timestamp, $3, $4, $5, $6, $7, $8, $9, $10, $11, $12)");
const QString kInsertPage = QStringLiteral("INSERT INTO mirvasel.belge_sayfa (no, sayfa) VALUES ($1, $2)");
const QString kInsertWay = QStringLiteral("INSERT INTO mirvasel.belge_cikis (no, yol) VALUES ($1, $2)");

// What was read from the local register, to be found again on the server.
struct Read
{
    Counts counts;
    qint64 ways = 0;
    qint64 pageBytes = 0;
    qint64 highestPayeeNumber = 0;
};

Outcome failed(Problem problem, const QString &message)
{
    Outcome outcome;
    outcome.problem = problem;
    outcome.message = message;
    return outcome;
}

// A moment as the register stores it ("2024-03-05T14:30:00"), checked as a
// day and a time of their own: the server keeps it as it is, whatever the
// clock did that night.
bool isStoredMoment(const QString &text)
{
    return text.size() == 19 && text[10] == u'T'
           && QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd")).isValid()
           && QTime::fromString(text.mid(11), QStringLiteral("HH:mm:ss")).isValid();
}

class Copier
{
public:
    Copier(PayeeDatabase &local, SharedRegisterConnection &shared)
        : m_local(local)
        , m_file(local.connection())
        , m_shared(shared)
    {
    }

    Outcome run();

private:
    Outcome localFailure(const SqlCipherConnection::Error &error) const;
    Outcome sharedFailure() const;
    std::optional<Outcome> prepareShared();
    std::optional<Outcome> copyPayees(SharedRegisterConnection::Batch &batch);
    std::optional<Outcome> copyOrders(SharedRegisterConnection::Batch &batch);
    std::optional<Outcome> checkCopy();

    PayeeDatabase &m_local;
    SqlCipherConnection &m_file;
    SharedRegisterConnection &m_shared;
    Read m_read;
};

Outcome Copier::localFailure(const SqlCipherConnection::Error &error) const
{
    SqlCipherConnection::Error shown = error;
    // The file opened with its password: a page that fails now is damaged.
    if (shown.failure == SqlCipherConnection::Failure::NotADatabase)
        shown.failure = SqlCipherConnection::Failure::Corrupt;
    return failed(Problem::LocalUnreadable,
                  QStringLiteral("Yerel kayıt okunamadı: %1 Paylaşılan kayda hiçbir şey aktarılmadı.")
                      .arg(PayeeDatabase::failureReason(shown, m_local.filePath())));
}

Outcome Copier::sharedFailure() const
{
    return failed(Problem::Refused,
                  QStringLiteral("Paylaşılan kayda aktarılamadı: %1").arg(SharedRegisterConnection::failureReason(m_shared.error()))
                      + kNothingCopied);
}

std::optional<Outcome> Copier::prepareShared()
{
    if (m_shared.begin().failed())
        return sharedFailure();
    // Only the administrator gives orders the numbers they have.
    const Result<SharedRegisterConnection::Rows> administrator
        = m_shared.execute(QStringLiteral("SELECT mirvasel.yonetici_mi()"));
    if (administrator.failed())
        return sharedFailure();
    if (!administrator->boolean(0, 0)) {
        return failed(Problem::NotAdministrator,
                      QStringLiteral("Paylaşılan kayda aktarılamadı: %1 kullanıcısı yönetici değil. Yerel kaydı, "
                                     "mirvasel_yonetici rolündeki bir kullanıcı aktarabilir.")
                              .arg(m_shared.role())
                          + kNothingCopied);
    }
    // The clerks' payee changes wait for the copy; their orders cannot come
    // between, for the copy's numbers would then be taken.
    if (m_shared.execute(QStringLiteral("LOCK TABLE mirvasel.kisi IN SHARE ROW EXCLUSIVE MODE")).failed())
        return sharedFailure();
    // One announcement for the whole copy, not one a payee.
    if (m_shared.execute(QStringLiteral("SELECT set_config('mirvasel.toplu', 'evet', true)")).failed())
        return sharedFailure();
    const Result<SharedRegisterConnection::Rows> held = m_shared.execute(
        QStringLiteral("SELECT (SELECT count(*) FROM mirvasel.kisi), (SELECT count(*) FROM mirvasel.belge)"));
    if (held.failed())
        return sharedFailure();
    if (held->int64(0, 0) != 0 || held->int64(0, 1) != 0) {
        return failed(Problem::NotEmpty,
                      QStringLiteral("Paylaşılan kayda aktarılamadı: paylaşılan kayıt boş değil (%1 kişi ve %2 belge "
                                     "var). Yerel kayıt yalnızca boş bir paylaşılan kayda, bir kez aktarılır.")
                              .arg(held->int64(0, 0))
                              .arg(held->int64(0, 1))
                          + kNothingCopied);
    }
    return std::nullopt;
}

std::optional<Outcome> Copier::copyPayees(SharedRegisterConnection::Batch &batch)
{
    for (PaymentCategory category : kAllCategories) {
        const PayeeTable &table = PayeeTable::of(category);
        QStringList columns;
        for (PayeeColumn column : kAllPayeeColumns)
            columns.append(table.columnName(column));
        Statement rows = m_file.prepare(
            QStringLiteral("SELECT Id, %1 FROM %2 ORDER BY Id").arg(columns.join(QStringLiteral(", ")), table.tableName()));
        if (!rows.isValid())
            return localFailure(rows.error());
        while (rows.next()) {
            Parameters values;
            values.int64(categoryIndex(category)).int64(rows.int64(0));
            for (int column = 1; column <= kPayeeColumnCount; ++column)
                values.text(rows.text(column));
            m_read.highestPayeeNumber = std::max(m_read.highestPayeeNumber, rows.int64(0));
            ++m_read.counts.payees[std::size_t(categoryIndex(category))];
            if (batch.add(kInsertPayee, values).failed()) {
                rows.reset();
                return sharedFailure();
            }
        }
        if (rows.error().isError())
            return localFailure(rows.error());
        // The numbers the file has handed out, deleted payees' too.
        Statement given = m_file.prepare(QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = ?1"));
        given.bindText(1, table.tableName());
        if (given.next()) {
            m_read.highestPayeeNumber = std::max(m_read.highestPayeeNumber, given.int64(0));
            given.reset();
        } else if (given.error().isError()) {
            return localFailure(given.error());
        }
    }
    return std::nullopt;
}

std::optional<Outcome> Copier::copyOrders(SharedRegisterConnection::Batch &batch)
{
    // An older file that could not be brought up to date has no register,
    // and so no orders.
    if (!m_local.hasOrderRegister())
        return std::nullopt;
    Statement orders = m_file.prepare(QStringLiteral(
        "SELECT b.No, b.Zaman, b.Cikis, b.Tur, b.Adi, b.Kimlik, b.BankaSube, b.BankaHesap, b.VergiDaire, b.Brut, "
        "b.Damga, b.Net, b.AsilNo, s.Sayfa, s.No IS NOT NULL FROM Belge b LEFT JOIN BelgeSayfa s ON s.No = b.No "
        "ORDER BY b.No"));
    if (!orders.isValid())
        return localFailure(orders.error());
    constexpr int kKnownWays = int(OrderWay::Printer) | int(OrderWay::Pdf);
    while (orders.next()) {
        const qint64 number = orders.int64(0);
        const QString moment = orders.text(1);
        const int ways = int(orders.int64(2));
        const int kind = int(orders.int64(3));
        QString wrong;
        if (!isStoredMoment(moment))
            wrong = QStringLiteral("tarihi okunamıyor (\"%1\")").arg(moment);
        else if (!isCategoryIndex(kind))
            wrong = QStringLiteral("türü bilinmiyor (%1)").arg(kind);
        else if ((ways & ~kKnownWays) != 0)
            wrong = QStringLiteral("çıkış yolu bilinmiyor (%1)").arg(ways);
        if (!wrong.isEmpty()) {
            orders.reset();
            return failed(Problem::LocalUnreadable,
                          QStringLiteral("Yerel kayıt aktarılamadı: %1 numaralı belgenin %2. Paylaşılan kayda hiçbir "
                                         "şey aktarılmadı.")
                              .arg(number)
                              .arg(wrong));
        }
        Parameters values;
        values.int64(number).text(moment).int64(kind);
        for (int column = 4; column <= 8; ++column)
            values.text(orders.text(column));
        values.int64(orders.int64(9)).int64(orders.int64(10)).int64(orders.int64(11));
        if (orders.isNull(12))
            values.nullInt64();
        else
            values.int64(orders.int64(12));
        bool sent = batch.add(kInsertOrder, values).succeeded();
        if (sent && orders.int64(14) != 0) {
            const QByteArray page = orders.blob(13);
            // A stored page is never NULL; an empty one is no bytes.
            sent = batch.add(kInsertPage, Parameters().int64(number).bytes(page.isNull() ? QByteArray("") : page))
                       .succeeded();
            ++m_read.counts.pages;
            m_read.pageBytes += page.size();
        }
        for (const OrderWay way : {OrderWay::Printer, OrderWay::Pdf}) {
            if (sent && (ways & int(way)) != 0) {
                sent = batch.add(kInsertWay, Parameters().int64(number).int64(int(way))).succeeded();
                ++m_read.ways;
            }
        }
        if (!sent) {
            orders.reset();
            return sharedFailure();
        }
        ++m_read.counts.orders;
    }
    if (orders.error().isError())
        return localFailure(orders.error());
    // A page without its order would be left behind.
    SqlCipherConnection::Error error;
    const qint64 pages = m_file.queryInt64(QStringLiteral("SELECT count(*) FROM BelgeSayfa"), &error);
    if (error.isError())
        return localFailure(error);
    if (pages != m_read.counts.pages) {
        return failed(Problem::LocalUnreadable,
                      QStringLiteral("Yerel kayıt aktarılamadı: belge kaydında belgesi olmayan %1 sayfa var; dosya "
                                     "bozulmuş olabilir. Bakım ve Onarım ile onarmayı deneyin. Paylaşılan kayda hiçbir "
                                     "şey aktarılmadı.")
                          .arg(pages - m_read.counts.pages));
    }
    return std::nullopt;
}

std::optional<Outcome> Copier::checkCopy()
{
    // No number the file gave is given again.
    if (m_read.highestPayeeNumber > 0) {
        if (m_shared.execute(QStringLiteral("SELECT setval(pg_get_serial_sequence('mirvasel.kisi', 'no')::regclass, $1)"),
                             Parameters().int64(m_read.highestPayeeNumber))
                .failed())
            return sharedFailure();
    }
    const Result<SharedRegisterConnection::Rows> found = m_shared.execute(QStringLiteral(
        "SELECT (SELECT count(*) FROM mirvasel.kisi WHERE tur = 0), (SELECT count(*) FROM mirvasel.kisi WHERE tur = 1), "
        "(SELECT count(*) FROM mirvasel.kisi WHERE tur = 2), (SELECT count(*) FROM mirvasel.kisi WHERE tur = 3), "
        "(SELECT count(*) FROM mirvasel.belge), (SELECT count(*) FROM mirvasel.belge_sayfa), "
        "(SELECT coalesce(sum(length(sayfa)), 0)::bigint FROM mirvasel.belge_sayfa), "
        "(SELECT count(*) FROM mirvasel.belge_cikis)"));
    if (found.failed())
        return sharedFailure();
    Read copied;
    for (int kind = 0; kind < kCategoryCount; ++kind)
        copied.counts.payees[std::size_t(kind)] = found->int64(0, kind);
    copied.counts.orders = found->int64(0, 4);
    copied.counts.pages = found->int64(0, 5);
    copied.pageBytes = found->int64(0, 6);
    copied.ways = found->int64(0, 7);
    if (copied.counts != m_read.counts || copied.pageBytes != m_read.pageBytes || copied.ways != m_read.ways) {
        return failed(Problem::Refused,
                      QStringLiteral("Paylaşılan kayda aktarılamadı: sunucudaki kopya okunanı tutmuyor (%1 okundu, %2 "
                                     "yazıldı).")
                              .arg(countsText(m_read.counts), countsText(copied.counts))
                          + kNothingCopied);
    }
    const QByteArray payload = QJsonDocument(QJsonObject{{QStringLiteral("islem"), QStringLiteral("yenile")},
                                                         {QStringLiteral("rol"), m_shared.role()}})
                                   .toJson(QJsonDocument::Compact);
    if (m_shared.execute(QStringLiteral("SELECT pg_notify('mirvasel_kisi', $1)"), Parameters().text(QString::fromUtf8(payload)))
            .failed())
        return sharedFailure();
    return std::nullopt;
}

Outcome Copier::run()
{
    if (!m_local.isOpen())
        return failed(Problem::LocalUnreadable, QStringLiteral("Yerel kayıt okunamadı: veritabanı açık değil."));
    // One read of the file: what another program writes meanwhile waits.
    if (const SqlCipherConnection::Error error = m_file.execute(QStringLiteral("BEGIN")); error.isError())
        return localFailure(error);
    const auto endRead = [this] {
        if (m_file.inTransaction())
            m_file.execute(QStringLiteral("ROLLBACK"));
    };

    std::optional<Outcome> failure = prepareShared();
    if (!failure) {
        SharedRegisterConnection::Batch batch(m_shared);
        failure = copyPayees(batch);
        if (!failure)
            failure = copyOrders(batch);
        if (!failure && batch.finish().failed())
            failure = sharedFailure();
    }
    endRead();
    if (!failure)
        failure = checkCopy();
    if (failure) {
        m_shared.rollBack();
        return *failure;
    }
    if (m_shared.commit().failed()) {
        if (m_shared.error().failure == SharedRegisterConnection::Failure::Lost) {
            return failed(Problem::Uncertain,
                          QStringLiteral("Paylaşılan kayda aktarma bitirilirken sunucuyla bağlantı koptu; aktarmanın "
                                         "kaydedilip kaydedilmediği bilinmiyor. Paylaşılan kayda bakın: boşsa "
                                         "aktarmayı yineleyin."));
        }
        m_shared.rollBack();
        return sharedFailure();
    }
    Outcome outcome;
    outcome.counts = m_read.counts;
    return outcome;
}

} // namespace

qint64 Counts::totalPayees() const
{
    qint64 total = 0;
    for (qint64 count : payees)
        total += count;
    return total;
}

QString countsText(const Counts &counts)
{
    return QStringLiteral("%1 eczane, %2 hastane, %3 tedavi ve %4 özel kişi; %5 belge (%6 sayfasıyla)")
        .arg(counts.payees[0])
        .arg(counts.payees[1])
        .arg(counts.payees[2])
        .arg(counts.payees[3])
        .arg(counts.orders)
        .arg(counts.pages);
}

Outcome copy(PayeeDatabase &local, SharedRegisterConnection &shared)
{
    return Copier(local, shared).run();
}

} // namespace SharedRegisterCopy
