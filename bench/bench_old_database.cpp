// Converting the old program's database of 4 x 25 000 payees into the
// register (reading in the child process on a copy, keeping the original,
// building the register, renaming it into place), against reading the same
// file with mdb-export in the same run. The goal: at most twice as long as
// mdb-export. Prints median, min and max in ms and the ratio of the medians.

#include "maintenance/OldDatabaseConversion.h"
#include "olddata/OldDatabaseChild.h"
#include "olddata/OldDatabaseReading.h"
#include "registry/PayeeTable.h"
#include "support/JetFixture.h"

#include "BenchTiming.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kPayeesPerCategory = 25000;
constexpr int kRuns = 5;

[[noreturn]] void fail(const QString &message)
{
    std::fprintf(stderr, "%s\n", qPrintable(message));
    std::exit(1);
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        fail(QStringLiteral("%1 could not be written").arg(path));
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

} // namespace

int main(int argc, char **argv)
{
    // This program is also its own reading child, as the program is.
    if (OldDatabaseChild::requested(argc, argv))
        OldDatabaseChild::run(argc, argv);
    QCoreApplication application(argc, argv);
    const QString mdbExport = QStandardPaths::findExecutable(QStringLiteral("mdb-export"));
    if (mdbExport.isEmpty())
        fail(QStringLiteral("mdb-export is missing (mdbtools, scripts/install-deps)"));

    QTemporaryDir folder;
    const QByteArray old = JetFixture::payees(JetFixture::many(kPayeesPerCategory)).bytes();
    const QString source = folder.filePath(QStringLiteral("Eski.dat"));
    writeFile(source, old);
    std::printf("old database: 4 x %d payees, %lld bytes\n", kPayeesPerCategory, static_cast<long long>(old.size()));

    // mdb-export's reading of the four tables, its output taken in as a
    // reader would take it.
    const BenchTiming::Spread exported = BenchTiming::timeRuns(kRuns, [&](int) {
        for (PaymentCategory category : kAllCategories) {
            QProcess process;
            process.start(mdbExport, {source, PayeeTable::of(category).tableName()});
            QByteArray output;
            while (process.state() != QProcess::NotRunning) {
                process.waitForReadyRead(100);
                output += process.readAllStandardOutput();
            }
            output += process.readAllStandardOutput();
            if (process.exitCode() != 0 || output.count('\n') != kPayeesPerCategory + 1)
                fail(QStringLiteral("mdb-export did not read %1").arg(PayeeTable::of(category).tableName()));
        }
    });
    exported.print(QStringLiteral("mdb-export, four tables"));

    const BenchTiming::Spread converted = BenchTiming::timeRuns(kRuns, [&](int round) {
        const QString programFolder = folder.filePath(QStringLiteral("klasor%1").arg(round));
        QDir().mkpath(programFolder);
        const QString database = QDir(programFolder).filePath(QStringLiteral("Data.dat"));
        if (!QFile::copy(source, database))
            fail(QStringLiteral("%1 could not be copied").arg(database));
        const OldDatabaseConversion::Outcome done = OldDatabaseConversion::convert(database);
        if (done.status != OldDatabaseConversion::Outcome::Status::Converted)
            fail(done.message);
        if (done.counts.totalAdded() != 4 * kPayeesPerCategory)
            fail(QStringLiteral("not every payee came over"));
    });
    converted.print(QStringLiteral("conversion into the register"));
    const BenchTiming::Spread readOnly = BenchTiming::timeRuns(kRuns, [&](int) {
        const OldDatabaseReading::Outcome read = OldDatabaseReading::read(source);
        if (!read.succeeded())
            fail(read.message);
    });
    readOnly.print(QStringLiteral("of it: reading in the child, on a copy"));
    std::printf("conversion / mdb-export: %.2f (goal: at most 2)\n",
                median(converted.milliseconds) / median(exported.milliseconds));
    return 0;
}
