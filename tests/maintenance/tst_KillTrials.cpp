// Kills a backup, a compaction and a repair at random moments with SIGKILL
// and checks, after every kill, what a clerk would find at the next start:
// "Data.dat" opens with the password, passes the integrity check and holds
// every record it held; the backup folder holds the old backup or the new
// one, whole; a backup into folders it had to make left either those
// folders with the whole new backup or no folder at all; and nothing is
// left over that the start-up clean-up does not take away.
//
// A payment order printed by the real program ("Zenparol --pdf") while a
// compaction of its folder runs, and is killed or not, in another process:
// the order is recorded in the database that is left, or the command said
// that the folder was busy; it is never lost with the old file.
//
// The conversion of the old program's database, killed at any moment: the
// folder holds the old file or the whole new register, the original is
// kept whole when the register is there, the reading child is gone with
// its parent, and no copy of the old file is left in the temporary folder
// (the child reads it from memory).
//
// The same executable, started with --kill-child, is the process that is
// killed (and, with the old database reader's hidden option, the reading
// child). MIRVASEL_KILL_TRIALS sets the trials per operation (a few by
// default, for the test run; scripts/kill-trials runs hundreds), and
// MIRVASEL_KILL_SEED the seed of the moments.

#include "base/FolderAccess.h"
#include "maintenance/DatabaseBackup.h"
#include "maintenance/DatabaseCompaction.h"
#include "maintenance/OldDatabaseConversion.h"
#include "maintenance/StartupCleanup.h"
#include "olddata/OldDatabaseChild.h"
#include "registry/PayeeDatabase.h"
#include "support/DatabaseFiles.h"
#include "support/JetFixture.h"
#include "support/TemporaryPayeeDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <cstdio>
#include <limits>
#include <memory>

#include <unistd.h>

namespace {

const char kChildMode[] = "--kill-child";
constexpr int kDefaultTrials = 3;

using Rows = QMap<QString, QStringList>;

// The killed process: says when it starts the operation, then runs it.
int runChild(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    const QByteArray operation = argv[2];
    const QString first = QString::fromLocal8Bit(argv[3]);
    const QString second = QString::fromLocal8Bit(argv[4]);
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    QElapsedTimer timer;
    timer.start();
    bool succeeded = false;
    if (operation == "backup")
        succeeded = DatabaseBackup::copy(first, second).succeeded();
    else if (operation == "convert")
        succeeded = OldDatabaseConversion::convert(first).status == OldDatabaseConversion::Outcome::Status::Converted;
    else
        succeeded = DatabaseCompaction::compactInPlace(first, second).succeeded();
    std::printf("done %lld\n", static_cast<long long>(timer.nsecsElapsed() / 1000));
    std::fflush(stdout);
    return succeeded ? 0 : 1;
}

int trialsPerOperation()
{
    bool ok = false;
    const int trials = qEnvironmentVariableIntValue("MIRVASEL_KILL_TRIALS", &ok);
    return ok && trials > 0 ? trials : kDefaultTrials;
}

quint32 seed()
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue("MIRVASEL_KILL_SEED", &ok);
    return ok ? quint32(value) : 20261210u;
}

// Without the lock file of commands and maintenance, which stays once made.
QStringList entries(const QString &folder)
{
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    names.removeOne(FolderAccess::fileName());
    return names;
}

void copyFolder(const QString &from, const QString &to)
{
    QDir(to).removeRecursively();
    QVERIFY(QDir().mkpath(to));
    for (const QString &name : entries(from))
        QVERIFY(QFile::copy(QDir(from).filePath(name), QDir(to).filePath(name)));
}

// One operation's scene: the program folder and the backup folder as they
// are before it starts, laid anew for every trial.
struct Scene
{
    QTemporaryDir root;
    QString pristineProgram = QDir(root.path()).filePath(QStringLiteral("pristine/program"));
    QString pristineBackup = QDir(root.path()).filePath(QStringLiteral("pristine/backup"));
    QString program = QDir(root.path()).filePath(QStringLiteral("trial/program"));
    QString location = QDir(root.path()).filePath(QStringLiteral("trial/backup"));
    QString backup = QDir(location).filePath(QStringLiteral("Yedek"));
    // The backup goes into "Yedek/2026" below an empty location: it makes
    // both folders itself.
    bool intoNewFolders = false;

    QString database() const { return QDir(program).filePath(QStringLiteral("Data.dat")); }
    QString compacted() const { return QDir(program).filePath(QStringLiteral("Yedek.dat")); }
    QString backupFile() const { return QDir(backup).filePath(QStringLiteral("Data.dat")); }
    // The killed process's temporary folder.
    QString temporary() const { return QDir(root.path()).filePath(QStringLiteral("trial/tmp")); }

    void useNewFolders()
    {
        intoNewFolders = true;
        backup = QDir(location).filePath(QStringLiteral("Yedek/2026"));
    }

    void lay()
    {
        QDir(temporary()).removeRecursively();
        QVERIFY(QDir().mkpath(temporary()));
        copyFolder(pristineProgram, program);
        if (intoNewFolders) {
            QDir(location).removeRecursively();
            QVERIFY(QDir().mkpath(location));
        } else {
            copyFolder(pristineBackup, backup);
        }
    }
};

enum class Operation { Backup, Compaction, Repair, Conversion };

QStringList childArguments(Operation operation, const Scene &scene)
{
    if (operation == Operation::Backup)
        return {QString::fromLatin1(kChildMode), QStringLiteral("backup"), scene.database(), scene.backup};
    if (operation == Operation::Conversion)
        return {QString::fromLatin1(kChildMode), QStringLiteral("convert"), scene.database(), QString()};
    return {QString::fromLatin1(kChildMode), QStringLiteral("compact"), scene.database(), scene.compacted()};
}

struct Run
{
    bool killed = false;
    int exitCode = -1;
    qint64 microseconds = 0; // of the operation, when it finished
};

// Starts the child and, unless delay is negative, kills it delay
// microseconds after it has begun the operation.
Run runOnce(Operation operation, const Scene &scene, qint64 delay)
{
    Run run;
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), scene.temporary());
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), childArguments(operation, scene));
    if (!child.waitForStarted(30000) || !child.waitForReadyRead(30000))
        qFatal("the child did not start");
    if (delay >= 0) {
        QThread::usleep(quint64(delay));
        child.kill();
    }
    child.waitForFinished(60000);
    run.killed = child.exitStatus() == QProcess::CrashExit;
    run.exitCode = child.exitCode();
    const QByteArray output = child.readAllStandardOutput();
    const qsizetype done = output.indexOf("done ");
    if (done >= 0)
        run.microseconds = output.mid(done + 5).trimmed().toLongLong();
    return run;
}

} // namespace

class TestKillTrials : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void killedBackup();
    void killedBackupIntoNewFolders();
    void killedCompaction();
    void killedRepair();
    void killedConversion();
    void pdfDuringACompaction();

private:
    void runTrials(Operation operation, Scene &scene, const Rows &before, const Rows &after);
    void checkBackup(const Scene &scene, const Rows &database, const Rows &oldBackup, QMap<QString, int> &seen);
    void checkCompaction(const Scene &scene, const Rows &before, const Rows &after, const QByteArray &original,
                         bool repair, QMap<QString, int> &seen);
    void checkConversion(const Scene &scene, const QByteArray &original, qsizetype payees, QMap<QString, int> &seen);
    void checkPdfTrial(const Scene &scene, QProcess &compaction, QProcess &pdf, const Rows &before,
                       QMap<QString, int> &seen);

    QRandomGenerator m_random;
    qsizetype m_payees = 0;
};

void TestKillTrials::initTestCase()
{
    m_random.seed(seed());
    qInfo("seed %u, %d trials per operation", seed(), trialsPerOperation());
}

// The database of the scene: payees of every kind, many of them deleted.
void makeDatabase(const QString &folder, int payees, bool damaged)
{
    TemporaryPayeeDatabase fixture;
    QVERIFY2(fixture.error().isEmpty(), qPrintable(fixture.error()));
    DatabaseFiles::addPayees(fixture, PaymentCategory::Pharmacy, payees, 120);
    DatabaseFiles::addPayees(fixture, PaymentCategory::Treatment, payees / 10, 0, QStringLiteral("HASTA"));
    if (!damaged)
        fixture.connection().execute(QStringLiteral("DELETE FROM Eczane WHERE Id % 3 = 0"));
    fixture.database().close();
    if (damaged) {
        const int page = DatabaseFiles::pageToDamage(fixture.filePath(), QStringLiteral("Eczane"),
                                                     QStringLiteral("Eczane_EczaneAdi"), true);
        QVERIFY(page > 0);
        DatabaseFiles::damagePage(fixture.filePath(), page);
    }
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(QFile::copy(fixture.filePath(), QDir(folder).filePath(QStringLiteral("Data.dat"))));
}

void TestKillTrials::killedBackup()
{
    Scene scene;
    makeDatabase(scene.pristineProgram, 800, false);
    // The earlier backup: the same database before its newest payees.
    QVERIFY(QDir().mkpath(scene.pristineBackup));
    {
        TemporaryPayeeDatabase older;
        DatabaseFiles::addPayees(older, PaymentCategory::Pharmacy, 200, 120);
        older.database().close();
        QVERIFY(QFile::copy(older.filePath(), QDir(scene.pristineBackup).filePath(QStringLiteral("Data.dat"))));
    }
    const Rows database = DatabaseFiles::allRows(QDir(scene.pristineProgram).filePath(QStringLiteral("Data.dat")));
    const Rows oldBackup = DatabaseFiles::allRows(QDir(scene.pristineBackup).filePath(QStringLiteral("Data.dat")));
    runTrials(Operation::Backup, scene, database, oldBackup);
}

void TestKillTrials::killedBackupIntoNewFolders()
{
    Scene scene;
    scene.useNewFolders();
    makeDatabase(scene.pristineProgram, 800, false);
    const Rows database = DatabaseFiles::allRows(QDir(scene.pristineProgram).filePath(QStringLiteral("Data.dat")));
    runTrials(Operation::Backup, scene, database, Rows());
}

void TestKillTrials::killedCompaction()
{
    Scene scene;
    makeDatabase(scene.pristineProgram, 800, false);
    QVERIFY(QDir().mkpath(scene.pristineBackup));
    const Rows rows = DatabaseFiles::allRows(QDir(scene.pristineProgram).filePath(QStringLiteral("Data.dat")));
    runTrials(Operation::Compaction, scene, rows, rows);
}

void TestKillTrials::killedRepair()
{
    Scene scene;
    makeDatabase(scene.pristineProgram, 800, true);
    QVERIFY(QDir().mkpath(scene.pristineBackup));
    // What a repair that runs to its end makes of the file.
    scene.lay();
    const Run whole = runOnce(Operation::Repair, scene, -1);
    QCOMPARE(whole.exitCode, 0);
    const Rows repaired = DatabaseFiles::allRows(scene.database());
    QVERIFY(!repaired.isEmpty());
    runTrials(Operation::Repair, scene, Rows(), repaired);
}

void TestKillTrials::killedConversion()
{
    Scene scene;
    QVERIFY(QDir().mkpath(scene.pristineProgram));
    QVERIFY(QDir().mkpath(scene.pristineBackup));
    const PayeeRecords records = JetFixture::many(2500);
    QVERIFY(JetFixture::payees(records).write(QDir(scene.pristineProgram).filePath(QStringLiteral("Data.dat"))));
    m_payees = payeeCount(records);
    runTrials(Operation::Conversion, scene, Rows(), Rows());
}

namespace {

// The processes still running that this test's executable started as the
// old database's reading child.
QStringList readersLeft()
{
    QStringList left;
    const QString self = QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
    for (const QString &pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool number = false;
        pid.toInt(&number);
        if (!number)
            continue;
        QFile command(QStringLiteral("/proc/%1/cmdline").arg(pid));
        if (!command.open(QIODevice::ReadOnly))
            continue;
        const QList<QByteArray> arguments = command.readAll().split('\0');
        const bool reader = arguments.size() >= 2
            && (arguments[1] == OldDatabaseChild::kOption || arguments[1] == OldDatabaseChild::kLookOption);
        if (reader && QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).canonicalFilePath() == self)
            left.append(pid);
    }
    return left;
}

} // namespace

void TestKillTrials::checkConversion(const Scene &scene, const QByteArray &original, qsizetype payees,
                                     QMap<QString, int> &seen)
{
    // The reader dies with the process that started it.
    QElapsedTimer waited;
    waited.start();
    while (!readersLeft().isEmpty() && waited.elapsed() < 5000)
        QThread::msleep(20);
    QCOMPARE(readersLeft(), QStringList());
    // Nothing in the temporary folder, before any clean-up.
    QCOMPARE(QDir(scene.temporary()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());

    const QString keptName = QStringLiteral("Data.dat.eski");
    const QString kept = QDir(scene.program).filePath(keptName);
    const bool converted = DatabaseFiles::fileBytes(scene.database()) != original;
    if (converted) {
        QVERIFY2(QFileInfo::exists(kept), "the register is in place without the original kept");
        PayeeDatabase database;
        QVERIFY(database.open(scene.database()).isOpened());
        for (const char *table : {"Eczane", "Hastane", "Tedavi", "Ozel"})
            QCOMPARE(database.connection().queryInt64(QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(table))),
                     qint64(payees / 4));
    }
    ++seen[converted ? QStringLiteral("new register in place") : QStringLiteral("old database kept")];
    if (QFileInfo::exists(kept))
        QCOMPARE(DatabaseFiles::fileBytes(kept), original);

    QStringList expected{QStringLiteral("Data.dat")};
    if (QFileInfo::exists(kept))
        expected << keptName;
    if (entries(scene.program) != expected)
        ++seen[QStringLiteral("leftovers cleaned at start")];
    StartupCleanup::run(scene.program);
    QCOMPARE(entries(scene.program), expected);
}

namespace {

const QByteArray kPayment = R"({"kind": "Eczane",
  "payee": ["ŞİFA ECZANESİ", "12345678901", "ZİRAAT KIZILAY", "TR12 0001", "ÇANKAYA"],
  "amounts": ["1.000,00"], "stamp": true})";

// The program's own files: its folder is the folder of its executable.
void placeProgram(const Scene &scene)
{
    const QString program = QDir(scene.program).filePath(QStringLiteral("Zenparol"));
    if (::link(MIRVASEL_PROGRAM, QFile::encodeName(program).constData()) != 0)
        QVERIFY(QFile::copy(QStringLiteral(MIRVASEL_PROGRAM), program));
}

QStringList pdfArguments(const Scene &scene)
{
    return {QStringLiteral("--pdf"), QDir(scene.root.path()).filePath(QStringLiteral("out.pdf")),
            QDir(scene.root.path()).filePath(QStringLiteral("payment.json"))};
}

std::unique_ptr<QProcess> startPdf(const Scene &scene)
{
    auto pdf = std::make_unique<QProcess>();
    pdf->start(QDir(scene.program).filePath(QStringLiteral("Zenparol")), pdfArguments(scene));
    if (!pdf->waitForStarted(30000))
        qFatal("the program did not start");
    return pdf;
}

std::unique_ptr<QProcess> startCompaction(const Scene &scene)
{
    auto child = std::make_unique<QProcess>();
    child->start(QCoreApplication::applicationFilePath(), childArguments(Operation::Compaction, scene));
    if (!child->waitForStarted(30000) || !child->waitForReadyRead(30000))
        qFatal("the child did not start");
    return child;
}

qint64 payeeRows(const Rows &rows)
{
    qint64 count = 0;
    for (const char *table : {"Eczane", "Hastane", "Tedavi", "Ozel"})
        count += rows.value(QString::fromLatin1(table)).size();
    return count;
}

Rows payeesOf(const Rows &rows)
{
    Rows payees;
    for (const char *table : {"Eczane", "Hastane", "Tedavi", "Ozel"})
        payees.insert(QString::fromLatin1(table), rows.value(QString::fromLatin1(table)));
    return payees;
}

} // namespace

void TestKillTrials::checkPdfTrial(const Scene &scene, QProcess &compaction, QProcess &pdf, const Rows &before,
                                   QMap<QString, int> &seen)
{
    QVERIFY(compaction.waitForFinished(60000));
    QVERIFY(pdf.waitForFinished(120000));
    const bool killed = compaction.exitStatus() == QProcess::CrashExit;
    if (!killed)
        QCOMPARE(compaction.exitCode(), 0);
    ++seen[killed ? QStringLiteral("compaction killed") : QStringLiteral("compaction finished")];
    QCOMPARE(pdf.exitStatus(), QProcess::NormalExit);
    const int status = pdf.exitCode();
    const QString error = QString::fromUtf8(pdf.readAllStandardError());
    QVERIFY2(status == 0 || status == 5, qPrintable(QStringLiteral("%1: %2").arg(status).arg(error)));
    ++seen[status == 0 ? QStringLiteral("printed") : QStringLiteral("refused: the folder was busy")];

    // What the next start finds: the order printed is there, or there was
    // none.
    QVERIFY(QFile::remove(QDir(scene.program).filePath(QStringLiteral("Zenparol"))));
    QVERIFY(!StartupCleanup::run(scene.program).databaseRestored);
    QCOMPARE(entries(scene.program), QStringList{QStringLiteral("Data.dat")});
    QCOMPARE(DatabaseFiles::integrity(scene.database()), QStringLiteral("ok"));
    const Rows after = DatabaseFiles::allRows(scene.database());
    QCOMPARE(payeesOf(after), payeesOf(before));
    QCOMPARE(after.value(QStringLiteral("Belge")).size(), before.value(QStringLiteral("Belge")).size() + (status == 0 ? 1 : 0));
    QCOMPARE(QFileInfo::exists(pdfArguments(scene)[1]), status == 0);
}

void TestKillTrials::pdfDuringACompaction()
{
    Scene scene;
    makeDatabase(scene.pristineProgram, 800, false);
    QVERIFY(QDir().mkpath(scene.pristineBackup));
    QFile payment(QDir(scene.root.path()).filePath(QStringLiteral("payment.json")));
    QVERIFY(payment.open(QIODevice::WriteOnly));
    payment.write(kPayment);
    payment.close();
    const Rows before = DatabaseFiles::allRows(QDir(scene.pristineProgram).filePath(QStringLiteral("Data.dat")));
    QVERIFY(payeeRows(before) > 0);

    // How long each takes alone.
    scene.lay();
    const Run compaction = runOnce(Operation::Compaction, scene, -1);
    QCOMPARE(compaction.exitCode, 0);
    const qint64 compactionSpan = std::max<qint64>(compaction.microseconds, 1000);
    scene.lay();
    placeProgram(scene);
    QElapsedTimer timer;
    timer.start();
    std::unique_ptr<QProcess> alone = startPdf(scene);
    QVERIFY(alone->waitForFinished(120000));
    QCOMPARE(alone->exitCode(), 0);
    const qint64 pdfSpan = std::max<qint64>(timer.nsecsElapsed() / 1000, 1000);

    QMap<QString, int> seen;
    const int trials = trialsPerOperation();
    for (int trial = 0; trial < trials; ++trial) {
        scene.lay();
        placeProgram(scene);
        QFile::remove(pdfArguments(scene)[1]);
        // The command starts anywhere from a whole run of its own before the
        // compaction to the compaction's end; every other compaction is
        // killed at a moment of its own.
        const qint64 offset = qint64(m_random.bounded(quint64(pdfSpan + compactionSpan + 1))) - pdfSpan;
        const bool kill = trial % 2 == 1;
        const qint64 killAt = qint64(m_random.bounded(quint64(compactionSpan * 13 / 10 + 1)));

        std::unique_ptr<QProcess> pdf;
        if (offset < 0) {
            pdf = startPdf(scene);
            QThread::usleep(quint64(-offset));
        }
        std::unique_ptr<QProcess> child = startCompaction(scene);
        QElapsedTimer since;
        since.start();
        const auto waitUntil = [&since](qint64 microseconds) {
            const qint64 now = since.nsecsElapsed() / 1000;
            if (microseconds > now)
                QThread::usleep(quint64(microseconds - now));
        };
        if (kill && killAt < offset) {
            waitUntil(killAt);
            child->kill();
        }
        if (!pdf) {
            waitUntil(offset);
            pdf = startPdf(scene);
        }
        if (kill && killAt >= std::max<qint64>(offset, 0)) {
            waitUntil(killAt);
            child->kill();
        }
        checkPdfTrial(scene, *child, *pdf, before, seen);
        if (QTest::currentTestFailed()) {
            qWarning("trial %d: the command %lld us after the compaction's start, %s at %lld us of %lld us", trial,
                     static_cast<long long>(offset), kill ? "killed" : "not killed",
                     static_cast<long long>(killAt), static_cast<long long>(compactionSpan));
            return;
        }
    }
    QStringList counts;
    for (auto it = seen.cbegin(); it != seen.cend(); ++it)
        counts << QStringLiteral("%1: %2").arg(it.key()).arg(it.value());
    qInfo("%d trials, compaction %lld us, command %lld us: %s", trials, static_cast<long long>(compactionSpan),
          static_cast<long long>(pdfSpan), qPrintable(counts.join(QStringLiteral("; "))));
}

void TestKillTrials::runTrials(Operation operation, Scene &scene, const Rows &before, const Rows &after)
{
    // How long the operation takes when it is left alone; for many trials
    // the quicker of two runs, as the first one meets cold caches.
    scene.lay();
    const QByteArray original = DatabaseFiles::fileBytes(scene.database());
    const int trials = trialsPerOperation();
    qint64 span = std::numeric_limits<qint64>::max();
    for (int run = 0; run < (trials > 10 ? 2 : 1); ++run) {
        scene.lay();
        const Run calibration = runOnce(operation, scene, -1);
        QCOMPARE(calibration.exitCode, 0);
        span = std::min(span, std::max<qint64>(calibration.microseconds, 1000));
    }

    QMap<QString, int> seen;
    for (int trial = 0; trial < trials; ++trial) {
        scene.lay();
        // Half the moments anywhere in the operation, half near its end and
        // past it, where the new file is checked, put in place and flushed.
        const bool late = trial % 2 == 1;
        const qint64 from = late ? span * 8 / 10 : 0;
        const qint64 to = late ? span * 13 / 10 : span;
        const qint64 delay = from + qint64(m_random.bounded(quint64(to - from + 1)));
        const Run run = runOnce(operation, scene, delay);
        if (!run.killed) {
            QCOMPARE(run.exitCode, 0);
            ++seen[QStringLiteral("finished before the kill")];
        }
        if (operation == Operation::Backup)
            checkBackup(scene, before, after, seen);
        else if (operation == Operation::Conversion)
            checkConversion(scene, original, m_payees, seen);
        else
            checkCompaction(scene, before, after, original, operation == Operation::Repair, seen);
        if (QTest::currentTestFailed()) {
            qWarning("trial %d, killed %lld us after the start of a %lld us operation", trial,
                     static_cast<long long>(delay), static_cast<long long>(span));
            return;
        }
    }
    QStringList counts;
    for (auto it = seen.cbegin(); it != seen.cend(); ++it)
        counts << QStringLiteral("%1: %2").arg(it.key()).arg(it.value());
    qInfo("%d trials of %lld us: %s", trials, static_cast<long long>(span), qPrintable(counts.join(QStringLiteral("; "))));
}

void TestKillTrials::checkBackup(const Scene &scene, const Rows &database, const Rows &oldBackup,
                                 QMap<QString, int> &seen)
{
    QCOMPARE(DatabaseFiles::integrity(scene.database()), QStringLiteral("ok"));
    QCOMPARE(DatabaseFiles::allRows(scene.database()), database);

    if (scene.intoNewFolders && !QFileInfo::exists(scene.backupFile())) {
        // Stopped before the backup was in place: after the start, not one
        // of the folders it made is left, empty or with a staging file.
        const bool leftovers = !QDir(scene.location).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
            || entries(scene.program).size() > 1;
        if (leftovers)
            ++seen[QStringLiteral("leftovers cleaned at start")];
        StartupCleanup::run(scene.program);
        QCOMPARE(entries(scene.program), QStringList{QStringLiteral("Data.dat")});
        QCOMPARE(QDir(scene.location).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList());
        ++seen[QStringLiteral("no folder left")];
        return;
    }
    QCOMPARE(DatabaseFiles::integrity(scene.backupFile()), QStringLiteral("ok"));
    const Rows backup = DatabaseFiles::allRows(scene.backupFile());
    QVERIFY2(backup == oldBackup || backup == database, "the backup folder holds neither backup whole");
    ++seen[backup == database ? QStringLiteral("new backup in place") : QStringLiteral("old backup kept")];

    const bool leftovers = entries(scene.program).size() > 1 || entries(scene.backup).size() > 1;
    if (leftovers)
        ++seen[QStringLiteral("leftovers cleaned at start")];
    StartupCleanup::run(scene.program);
    QCOMPARE(entries(scene.program), QStringList{QStringLiteral("Data.dat")});
    QCOMPARE(entries(scene.backup), QStringList{QStringLiteral("Data.dat")});
    QCOMPARE(DatabaseFiles::allRows(scene.backupFile()), backup);
    if (scene.intoNewFolders) {
        const QDir location(scene.location);
        QCOMPARE(location.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("Yedek")});
        QCOMPARE(QDir(location.filePath(QStringLiteral("Yedek"))).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("2026")});
    }
}

void TestKillTrials::checkCompaction(const Scene &scene, const Rows &before, const Rows &after,
                                     const QByteArray &original, bool repair, QMap<QString, int> &seen)
{
    const QByteArray bytes = DatabaseFiles::fileBytes(scene.database());
    const bool replaced = bytes != original;
    if (!repair || replaced) {
        QCOMPARE(DatabaseFiles::integrity(scene.database()), QStringLiteral("ok"));
        QCOMPARE(DatabaseFiles::allRows(scene.database()), replaced ? after : before);
        QVERIFY(PayeeDatabase().open(scene.database()).isOpened());
    }
    ++seen[replaced ? QStringLiteral("new database in place") : QStringLiteral("old database kept")];

    // A repair keeps the damaged file, whole, before it replaces it.
    const QString kept = QStringLiteral("Data.dat.bozuk-") + QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
    const bool keptThere = QFileInfo::exists(QDir(scene.program).filePath(kept));
    if (repair && replaced)
        QVERIFY2(keptThere, "the damaged file was replaced without being kept");
    if (keptThere)
        QCOMPARE(DatabaseFiles::fileBytes(QDir(scene.program).filePath(kept)), original);

    QStringList expected{QStringLiteral("Data.dat")};
    if (keptThere)
        expected << kept;
    if (entries(scene.program) != expected)
        ++seen[QStringLiteral("leftovers cleaned at start")];
    const StartupCleanup::Report report = StartupCleanup::run(scene.program);
    QVERIFY(!report.databaseRestored);
    QCOMPARE(entries(scene.program), expected);
    QCOMPARE(DatabaseFiles::fileBytes(scene.database()), bytes);
}

int main(int argc, char **argv)
{
    if (OldDatabaseChild::requested(argc, argv))
        OldDatabaseChild::run(argc, argv);
    if (argc >= 5 && qstrcmp(argv[1], kChildMode) == 0)
        return runChild(argc, argv);
    QCoreApplication application(argc, argv);
    TestKillTrials test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_KillTrials.moc"
