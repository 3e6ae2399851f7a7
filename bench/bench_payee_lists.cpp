// How quickly the payee lists answer with 100 000 payees of each kind:
// opening the four lists, each keystroke of a search, a screenful of rows at
// random places, and saving a new payee. Prints median, min and max in ms.

#include "registry/PayeeDatabase.h"
#include "registry/PayeeList.h"
#include "registry/PayeeTable.h"

#include "BenchPayees.h"
#include "BenchTiming.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kPayeesPerCategory = 100000;
constexpr int kScreenRows = 30;

BenchTiming::Spread measure(int times, const std::function<void()> &operation)
{
    return BenchTiming::timeRuns(times, [&](int) { operation(); });
}

void check(const Result<> &result)
{
    if (result.failed()) {
        std::fprintf(stderr, "%s\n", qPrintable(result.message()));
        std::exit(1);
    }
}

// What the window does after a list changed: the fields of the current
// payee and the grid's visible rows.
void showScreen(const PayeeList &list, int firstRow)
{
    volatile qsizetype sink = list.fields()[0].size();
    for (int row = firstRow; row < std::min(firstRow + kScreenRows, list.rowCount()); ++row)
        sink = sink + list.nameAt(row).size();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Data.dat"));

    QElapsedTimer timer;
    timer.start();
    {
        PayeeDatabase database;
        if (!BenchPayees::create(database, path) || !BenchPayees::fill(database, kPayeesPerCategory))
            return 1;
    }
    std::printf("generated %d payees of each kind in %.1f s (%.1f MiB)\n\n", kPayeesPerCategory,
                double(timer.elapsed()) / 1000, double(QFileInfo(path).size()) / (1024 * 1024));

    PayeeDatabase database;
    measure(1, [&] {
        const PayeeDatabase::OpenResult opened = database.open(path);
        check(opened.isOpened() ? Result<>::success() : Result<>::failure(opened.message));
    }).print(QStringLiteral("open the database file (key derivation)"));

    std::vector<std::unique_ptr<PayeeList>> lists;
    for (PaymentCategory category : kAllCategories)
        lists.push_back(std::make_unique<PayeeList>(database, category));
    measure(10, [&] {
        for (auto &list : lists) {
            check(list->openSorted());
            showScreen(*list, 0);
        }
    }).print(QStringLiteral("open the four lists sorted (first one cold)"));

    for (auto &list : lists) {
        measure(10, [&] {
            check(list->openSorted());
            showScreen(*list, 0);
        }).print(QStringLiteral("open sorted: %1").arg(list->table().tableName()));
    }

    PayeeList &pharmacies = *lists[0];
    const QString typed = QStringLiteral("ŞİŞLİ ECZ");
    for (int length = 1; length <= typed.size(); ++length) {
        const QString prefix = typed.left(length);
        int found = 0;
        measure(20, [&] {
            check(pharmacies.search(prefix));
            showScreen(pharmacies, 0);
            found = pharmacies.recordCount();
        }).print(QStringLiteral("keystroke \"%1\" (%2 found)").arg(prefix).arg(found));
    }
    int all = 0;
    measure(20, [&] {
        check(pharmacies.search(QString()));
        showScreen(pharmacies, 0);
        all = pharmacies.recordCount();
    }).print(QStringLiteral("empty search (%1 found)").arg(all));

    check(pharmacies.openSorted());
    QRandomGenerator random(7);
    measure(200, [&] {
        const int row = random.bounded(pharmacies.rowCount() - kScreenRows);
        check(pharmacies.moveTo(row));
        showScreen(pharmacies, row);
    }).print(QStringLiteral("move and show a screenful at a random place"));

    QRandomGenerator payees(99);
    measure(30, [&] {
        check(pharmacies.insert());
        const PayeeFields fields = BenchPayees::payee(PaymentCategory::Pharmacy, payees);
        for (PayeeColumn column : kAllPayeeColumns)
            check(pharmacies.setField(column, fields[size_t(column)]));
        check(pharmacies.post());
    }).print(QStringLiteral("insert and save a payee (synchronous write)"));

    measure(30, [&] {
        check(pharmacies.setField(PayeeColumn::BankAccount, QString::number(payees.generate())));
        check(pharmacies.next());
    }).print(QStringLiteral("edit a field and move on (saves)"));

    // A file of the first version has its name indexes rebuilt once, when
    // the program first opens it.
    lists.clear();
    if (const SqlCipherConnection::Error error = database.connection().execute(QStringLiteral("PRAGMA user_version = 1"));
        error.isError())
        check(Result<>::failure(error.detail));
    database.close();
    measure(1, [&] {
        const PayeeDatabase::OpenResult opened = database.open(path);
        check(opened.isOpened() ? Result<>::success() : Result<>::failure(opened.message));
    }).print(QStringLiteral("open an older file (rebuilds 4 indexes)"));
    return 0;
}
