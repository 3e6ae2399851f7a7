// How long the program takes from its start to its main window on screen,
// with 1 000 and with 100 000 payees of each kind, against a program that
// shows an empty QMainWindow: both run as fresh processes of this same
// binary, so loading, linking and the platform's start cost the same. A run
// ends at the window's first paint, when the lists are open; the child then
// leaves at once, without tearing the windows down.
//
// Also prints one key derivation, the part of the program's start that
// opening the encrypted file costs whatever else it does. The program
// derives it on another thread while it builds its windows, so with a
// second core free its start is less than the two added up.
//
// To profile one start by hand:
//   bench_startup --make-database FOLDER 1000
//   valgrind --tool=callgrind bench_startup --child program FOLDER

#include "app/MirvaselApplication.h"
#include "app/ProgramStart.h"
#include "app/ProgramWindows.h"
#include "app/TForm1.h"
#include "base/ProgramFolder.h"
#include "maintenance/StartupCleanup.h"
#include "maintenance/StartupLock.h"
#include "registry/PayeeDatabase.h"

#include "BenchPayees.h"
#include "BenchTiming.h"

#include <QApplication>
#include <QMainWindow>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace {

constexpr int kRuns = 15;

qint64 monotonicNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// Prints the moment of the window's first paint and ends the process.
class FirstPaint : public QObject
{
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            std::printf("%lld\n", static_cast<long long>(monotonicNanoseconds()));
            std::fflush(stdout);
            _exit(0);
        }
        return false;
    }
};

int runEmptyWindow(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QMainWindow window;
    FirstPaint watcher;
    window.installEventFilter(&watcher);
    window.showMaximized();
    return application.exec();
}

int runProgram(int argc, char *argv[], const QString &folder)
{
    MirvaselApplication application(argc, argv);
    const auto programFolder = ProgramFolder::override(folder);
    ProgramStart::configure(application);
    // What main() does before the windows.
    if (!StartupLock::take())
        return 1;
    const StartupCleanup::Report cleanup = StartupCleanup::run();
    Q_UNUSED(cleanup);
    ProgramWindows windows;
    FirstPaint watcher;
    windows.mainWindow()->installEventFilter(&watcher);
    windows.mainWindow()->showMaximized();
    return application.exec();
}

// Milliseconds from starting the child to its first paint.
double timeChild(const QStringList &arguments)
{
    QProcess child;
    const qint64 started = monotonicNanoseconds();
    child.start(QCoreApplication::applicationFilePath(), arguments);
    if (!child.waitForFinished(60000) || child.exitCode() != 0) {
        std::fprintf(stderr, "child %s failed: %s\n", qPrintable(arguments.join(u' ')),
                     child.readAllStandardError().constData());
        std::exit(1);
    }
    const qint64 painted = child.readAllStandardOutput().trimmed().toLongLong();
    return double(painted - started) / 1e6;
}

bool makeDatabase(const QString &folder, int payeesPerCategory)
{
    PayeeDatabase database;
    return BenchPayees::create(database, QDir(folder).filePath(QStringLiteral("Data.dat")))
        && BenchPayees::fill(database, payeesPerCategory);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 4 && qstrcmp(argv[1], "--make-database") == 0) {
        QCoreApplication application(argc, argv);
        return makeDatabase(QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]).toInt()) ? 0 : 1;
    }
    if (argc >= 3 && qstrcmp(argv[1], "--child") == 0) {
        if (qstrcmp(argv[2], "empty") == 0)
            return runEmptyWindow(argc, argv);
        if (argc >= 4)
            return runProgram(argc, argv, QString::fromLocal8Bit(argv[3]));
        return 2;
    }

    QCoreApplication application(argc, argv);
    QTemporaryDir small;
    QTemporaryDir large;
    if (!makeDatabase(small.path(), 1000) || !makeDatabase(large.path(), 100000))
        return 1;

    PayeeDatabase database;
    const BenchTiming::Spread derivation = BenchTiming::timeRuns(5, [&](int) {
        (void)database.open(QDir(small.path()).filePath(QStringLiteral("Data.dat")));
        database.close();
    });

    const QStringList empty{QStringLiteral("--child"), QStringLiteral("empty")};
    const QStringList withSmall{QStringLiteral("--child"), QStringLiteral("program"), small.path()};
    const QStringList withLarge{QStringLiteral("--child"), QStringLiteral("program"), large.path()};
    timeChild(empty); // the first start warms the file cache for all
    std::vector<double> emptyTimes, smallTimes, largeTimes;
    for (int run = 0; run < kRuns; ++run) {
        emptyTimes.push_back(timeChild(empty));
        smallTimes.push_back(timeChild(withSmall));
        largeTimes.push_back(timeChild(withLarge));
    }

    const double emptyMedian = median(emptyTimes);
    const double keyMedian = median(derivation.milliseconds);
    std::printf("start to first paint, median of %d runs each\n", kRuns);
    std::printf("  empty QMainWindow                      %8.1f ms\n", emptyMedian);
    std::printf("  one key derivation (open the file)     %8.1f ms\n", keyMedian);
    for (const auto &[name, times] : {std::pair{"program, 1 000 payees a kind  ", &smallTimes},
                                      std::pair{"program, 100 000 payees a kind", &largeTimes}}) {
        const double value = median(*times);
        std::printf("  %s         %8.1f ms  = %.2f x empty; less one key derivation %.2f x empty\n", name, value,
                    value / emptyMedian, (value - keyMedian) / emptyMedian);
    }
    std::printf("  goal: at most 3 x empty + one key derivation = %.1f ms\n", 3 * emptyMedian + keyMedian);
    return 0;
}
