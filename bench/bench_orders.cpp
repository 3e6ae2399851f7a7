// How quickly the orders window answers with 100 000 issued orders in the
// register, against the payee lists with 100 000 payees in the same file:
// opening newest first (with the count and the sums), each keystroke of a
// name search, a screenful at a random place, a quarter's range of days, the
// whole window's keystroke with the grid painted, and YAZDIR's look-up of a
// recent same payment. Prints median, min and max in ms.

#include "orders/TFrmBelgeler.h"
#include "issuing/PaymentOrderPage.h"
#include "registry/OrderList.h"
#include "registry/OrderListModel.h"
#include "registry/OrderRegister.h"
#include "registry/PayeeDatabase.h"
#include "registry/PayeeList.h"
#include "registry/PayeeTable.h"

#include "BenchPayees.h"
#include "BenchTiming.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace {

constexpr int kRecords = 100000;
constexpr int kScreenRows = 30;
const QDate kLastDay(2026, 12, 10);

template <typename T>
void check(const Result<T> &result)
{
    if (result.failed()) {
        std::fprintf(stderr, "%s\n", qPrintable(result.message()));
        std::exit(1);
    }
}

void check(const SqlCipherConnection::Error &error)
{
    if (error.isError()) {
        std::fprintf(stderr, "%s\n", qPrintable(error.detail));
        std::exit(1);
    }
}

// What the grid shows of a screenful: every cell of the orders' six columns,
// the payee lists' one.
void showOrders(const OrderListModel &model, int firstRow)
{
    volatile qsizetype sink = 0;
    for (int row = firstRow; row < std::min(firstRow + kScreenRows, model.rowCount()); ++row) {
        for (int column = 0; column < OrderListModel::ColumnCount; ++column)
            sink = sink + model.data(model.index(row, column)).toString().size();
    }
}

void showPayees(const PayeeList &list, int firstRow)
{
    volatile qsizetype sink = list.fields()[0].size();
    for (int row = firstRow; row < std::min(firstRow + kScreenRows, list.rowCount()); ++row)
        sink = sink + list.nameAt(row).size();
}

void pair(const QString &what, int runs, const std::function<void()> &orders, const std::function<void()> &payees)
{
    BenchTiming::timeRuns(runs, [&](int) { orders(); }).print(QStringLiteral("orders: ") + what);
    BenchTiming::timeRuns(runs, [&](int) { payees(); }).print(QStringLiteral("payees: ") + what);
}

// 100 000 pharmacies, and 100 000 orders to payees of every kind over six
// years, one in twenty a reprint. Every order stores the same realistic page
// (the lists never read it).
void fill(PayeeDatabase &database)
{
    QRandomGenerator random(1923);
    SqlCipherConnection &connection = database.connection();
    check(connection.execute(QStringLiteral("BEGIN")));
    SqlCipherConnection::Statement payee = connection.prepare(PayeeTable::of(PaymentCategory::Pharmacy).insertSql());
    for (int i = 0; i < kRecords; ++i) {
        const PayeeFields fields = BenchPayees::payee(PaymentCategory::Pharmacy, random);
        for (int column = 0; column < kPayeeColumnCount; ++column)
            payee.bindText(column + 1, fields[size_t(column)]);
        check(payee.run());
    }

    Raporlar raporlar;
    raporlar.setText(QStringLiteral("MUst1"), QStringLiteral("ŞİŞLİ MERKEZ ECZANESİ"));
    raporlar.setText(QStringLiteral("MH11"), QStringLiteral("12345"));
    const QByteArray page = storedPage(raporlar.prepare(kLastDay));
    SqlCipherConnection::Statement order = connection.prepare(
        QStringLiteral("INSERT INTO Belge (No, Zaman, Cikis, Tur, Adi, Kimlik, BankaSube, BankaHesap, VergiDaire, "
                       "Brut, Damga, Net, AsilNo) VALUES (?1, ?2, 1, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12)"));
    SqlCipherConnection::Statement pageRow =
        connection.prepare(QStringLiteral("INSERT INTO BelgeSayfa (No, Sayfa) VALUES (?1, ?2)"));
    const qint64 span = qint64(6) * 365 * 24 * 3600;
    const QDateTime first(kLastDay.addYears(-6), QTime(9, 0));
    for (int number = 1; number <= kRecords; ++number) {
        const PaymentCategory category = kAllCategories[std::size_t(random.bounded(kCategoryCount))];
        const PayeeFields fields = BenchPayees::payee(category, random);
        const qint64 gross = random.bounded(100, 5000000);
        const qint64 stamp = category == PaymentCategory::Pharmacy ? gross * 825 / 100000 : 0;
        order.bindInt64(1, number);
        order.bindText(2, OrderRegister::storedMoment(first.addSecs(span * number / kRecords)));
        order.bindInt64(3, categoryIndex(category));
        for (int column = 0; column < kPayeeColumnCount; ++column)
            order.bindText(4 + column, fields[size_t(column)]);
        order.bindInt64(9, gross);
        order.bindInt64(10, stamp);
        order.bindInt64(11, gross - stamp);
        if (number > 1 && random.bounded(20) == 0)
            order.bindInt64(12, random.bounded(1, number));
        else
            order.bindText(12, QString());
        check(order.run());
        pageRow.bindInt64(1, number);
        pageRow.bindBlob(2, page);
        check(pageRow.run());
    }
    check(connection.execute(QStringLiteral("COMMIT")));
}

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Data.dat"));

    QElapsedTimer timer;
    timer.start();
    {
        PayeeDatabase database;
        if (!BenchPayees::create(database, path))
            return 1;
        fill(database);
    }
    std::printf("generated %d pharmacies and %d orders in %.1f s (%.1f MiB)\n\n", kRecords, kRecords,
                double(timer.elapsed()) / 1000, double(QFileInfo(path).size()) / (1024 * 1024));

    PayeeDatabase database;
    check(database.open(path).isOpened() ? Result<>::success() : Result<>::failure(QStringLiteral("open")));
    OrderRegister ordersRegister(database);
    OrderList orders(ordersRegister);
    OrderListModel model(&orders);
    PayeeList payees(database, PaymentCategory::Pharmacy);

    pair(QStringLiteral("open all, first screen (orders: newest first, count and sums)"), 10,
         [&] {
             check(orders.open({}));
             showOrders(model, 0);
         },
         [&] {
             check(payees.openSorted());
             showPayees(payees, 0);
         });

    const QString typed = QStringLiteral("ŞİŞLİ");
    for (int length = 1; length <= typed.size(); ++length) {
        const QString prefix = typed.left(length);
        int foundOrders = 0;
        int foundPayees = 0;
        pair(QStringLiteral("keystroke \"%1\"").arg(prefix), 20,
             [&] {
                 check(orders.open({prefix}));
                 showOrders(model, 0);
                 foundOrders = orders.rowCount();
             },
             [&] {
                 check(payees.search(prefix));
                 showPayees(payees, 0);
                 foundPayees = payees.recordCount();
             });
        std::printf("    (%d orders, %d payees found)\n", foundOrders, foundPayees);
    }

    check(orders.open({}));
    check(payees.openSorted());
    QRandomGenerator random(7);
    pair(QStringLiteral("move and show a screenful at a random place"), 200,
         [&] {
             const int row = random.bounded(orders.rowCount() - kScreenRows);
             orders.moveToRow(row);
             showOrders(model, row);
         },
         [&] {
             const int row = random.bounded(payees.rowCount() - kScreenRows);
             check(payees.moveTo(row));
             showPayees(payees, row);
         });

    BenchTiming::timeRuns(20, [&](int round) {
        const QDate from(2021 + round % 5, 1 + 3 * (round % 4), 1);
        check(orders.open({QString(), from, from.addMonths(3).addDays(-1)}));
        showOrders(model, 0);
    }).print(QStringLiteral("orders: a quarter's days, first screen and sums"));
    std::printf("    (%d orders, gross %lld kuruş)\n", orders.rowCount(), static_cast<long long>(orders.totals().gross));

    OrderRegister orderRegister(database);
    BenchTiming::timeRuns(50, [&](int round) {
        check(orderRegister.findSame(PaymentCategory::Pharmacy, QStringLiteral("ŞİŞLİ ECZANESİ"), 100 + round * 997,
                                     kLastDay.addDays(-45)));
    }).print(QStringLiteral("orders: YAZDIR's look-up of a recent same payment"));

    // The window itself: a keystroke in the name box runs the search, the
    // figures and the grid's repaint.
    TFrmBelgeler window(database);
    window.resize(900, 700);
    window.show();
    QCoreApplication::processEvents();
    auto *search = window.findChild<QLineEdit *>(QStringLiteral("EdAra"));
    auto *grid = window.findChild<QAbstractItemView *>(QStringLiteral("DBGridBelge"));
    BenchTiming::timeRuns(20, [&](int round) {
        search->setText(round % 2 ? QStringLiteral("ŞİŞ") : QString());
        grid->viewport()->repaint();
    }).print(QStringLiteral("window: keystroke in EdAra, grid painted"));
    BenchTiming::timeRuns(1, [&](int) {
        TFrmBelgeler fresh(database);
        fresh.show();
        QCoreApplication::processEvents();
    }).print(QStringLiteral("window: first show (widgets built, register read)"));
    return 0;
}
