// Kills the two writes a clerk makes every day at random moments with
// SIGKILL, and checks what the next start finds: the payment order printed
// with the real program ("Zenparol --pdf") is recorded whole, with its page,
// or not at all, and its PDF is whole or absent; a payee being saved is there
// with all five fields or not at all; nothing that was there before is lost,
// and the file passes its integrity check.
//
// The payee saves run in this executable, started with --kill-child.
// MIRVASEL_KILL_TRIALS sets the trials per write (a few by default, for the
// test run; scripts/kill-trials runs hundreds), MIRVASEL_KILL_SEED the seed.

#include "registry/DatabaseCopy.h"
#include "registry/OrderList.h"
#include "registry/OrderRegister.h"
#include "registry/PayeeDatabase.h"
#include "registry/PayeeList.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <cstdio>

namespace {

const char kChildMode[] = "--kill-child";
constexpr int kDefaultTrials = 4;
constexpr int kPayeesPerChild = 40;

const QByteArray kPayment = R"({"kind": "Hastane",
  "payee": ["ANKARA ŞEHİR HASTANESİ", "11111111110", "ZİRAAT", "TR33 0001", "ÇANKAYA"],
  "amounts": ["12.345,67"], "stamp": true})";

int trials()
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue("MIRVASEL_KILL_TRIALS", &ok);
    return ok && value > 0 ? value : kDefaultTrials;
}

quint32 seed()
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue("MIRVASEL_KILL_SEED", &ok);
    return ok ? quint32(value) : 20261210u;
}

PayeeFields payeeNumbered(int number)
{
    const QString n = QString::number(number);
    return {QStringLiteral("ECZANE ") + n, QStringLiteral("1000000") + n, QStringLiteral("ŞUBE ") + n,
            QStringLiteral("TR") + n, QStringLiteral("VERGİ ") + n};
}

// The killed process: saves one payee after another through the list, as
// the main window does, and says after each that it is saved.
int runChild(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    PayeeDatabase database;
    if (!database.open(QString::fromLocal8Bit(argv[2])).isOpened())
        return 2;
    PayeeList list(database, PaymentCategory::Pharmacy);
    if (list.openSorted().failed())
        return 2;
    const int first = QByteArray(argv[3]).toInt();
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    for (int number = first; number < first + kPayeesPerChild; ++number) {
        const PayeeFields fields = payeeNumbered(number);
        if (list.insert().failed())
            return 1;
        for (int column = 0; column < kPayeeColumnCount; ++column) {
            if (list.setField(PayeeColumn(column), fields[std::size_t(column)]).failed())
                return 1;
        }
        if (list.post().failed())
            return 1;
        std::printf("saved %d\n", number);
        std::fflush(stdout);
    }
    return 0;
}

// Kills the process delay microseconds after it said "ready", unless the
// delay is negative; its standard output.
QByteArray runAndKill(QProcess &child, qint64 delay)
{
    if (!child.waitForStarted(30000))
        qFatal("the child did not start");
    if (delay >= 0) {
        QThread::usleep(quint64(delay));
        child.kill();
    }
    child.waitForFinished(120000);
    return child.readAllStandardOutput();
}

QString integrityOf(const QString &path)
{
    const DatabaseCopy::Outcome inspected = DatabaseCopy::inspect(path);
    return inspected.succeeded() ? QString() : QStringLiteral("not whole: ") + inspected.detail;
}

QList<IssuedOrder> ordersIn(PayeeDatabase &database)
{
    OrderRegister listRegister(database);
    OrderList list(listRegister);
    if (list.open({}).failed())
        return {};
    QList<IssuedOrder> orders;
    for (int row = list.rowCount() - 1; row >= 0; --row)
        orders.append(list.orderAt(row));
    return orders;
}

} // namespace

class TestRecordKillTrials : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void killedPdfIsRecordedWholeOrNotAtAll();
    void killedPayeeSaveIsWholeOrNotAtAll();

private:
    QRandomGenerator m_random;
};

void TestRecordKillTrials::initTestCase()
{
    m_random.seed(seed());
    qInfo("seed %u, %d trials per write", seed(), trials());
}

void TestRecordKillTrials::killedPdfIsRecordedWholeOrNotAtAll()
{
    QTemporaryDir folder;
    const QString program = QDir(folder.path()).filePath(QStringLiteral("Zenparol"));
    QVERIFY(QFile::copy(QStringLiteral(MIRVASEL_PROGRAM), program));
    const QString database = QDir(folder.path()).filePath(QStringLiteral("Data.dat"));
    QVERIFY(PayeeDatabase().create(database).isOpened());
    const QString payment = QDir(folder.path()).filePath(QStringLiteral("payment.json"));
    QFile file(payment);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(kPayment) == kPayment.size());
    file.close();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));

    // How long one whole run takes: the kills fall within it.
    QElapsedTimer timer;
    QProcess whole;
    whole.setProcessEnvironment(environment);
    timer.start();
    whole.start(program, {QStringLiteral("--pdf"), QDir(folder.path()).filePath(QStringLiteral("0.pdf")), payment});
    runAndKill(whole, -1);
    const qint64 span = timer.nsecsElapsed() / 1000;
    QCOMPARE(whole.exitCode(), 0);

    int recorded = 1;
    QMap<QString, int> seen;
    for (int trial = 1; trial <= trials(); ++trial) {
        const QString pdf = QDir(folder.path()).filePath(QStringLiteral("%1.pdf").arg(trial));
        QProcess child;
        child.setProcessEnvironment(environment);
        child.start(program, {QStringLiteral("--pdf"), pdf, payment});
        // Most of a run is the program's start; the kills fall in its second
        // half, where the page is written and recorded, and just after it.
        runAndKill(child, span / 2 + qint64(m_random.bounded(quint32(span * 3 / 5))));
        const bool killed = child.exitStatus() == QProcess::CrashExit;
        QVERIFY2(killed || child.exitCode() == 0, qPrintable(child.readAllStandardError()));

        const QString damage = integrityOf(database);
        QVERIFY2(damage.isEmpty(), qPrintable(damage));
        PayeeDatabase opened;
        QVERIFY(opened.open(database).isOpened());
        const QList<IssuedOrder> orders = ordersIn(opened);
        // The one before stays; this one is there once, whole, or not at all.
        QVERIFY2(orders.size() == recorded || orders.size() == recorded + 1, qPrintable(QString::number(orders.size())));
        OrderRegister register_(opened);
        for (const IssuedOrder &order : orders) {
            QCOMPARE(order.gross, qint64(1234567));
            QCOMPARE(order.name(), QStringLiteral("ANKARA ŞEHİR HASTANESİ"));
            QVERIFY2(register_.page(order.number).succeeded(), qPrintable(register_.page(order.number).message()));
        }
        const bool thisOneRecorded = orders.size() == recorded + 1;
        recorded = int(orders.size());
        // The PDF is written before the record: a recorded order has its PDF,
        // and a PDF that is there is whole.
        QFile written(pdf);
        if (thisOneRecorded)
            QVERIFY(written.exists());
        if (written.open(QIODevice::ReadOnly))
            QVERIFY2(written.readAll().trimmed().endsWith("%%EOF"), "a PDF cut short");
        if (!killed)
            QVERIFY(thisOneRecorded);
        ++seen[!killed ? QStringLiteral("finished") : thisOneRecorded ? QStringLiteral("killed after recording")
                        : written.exists()                         ? QStringLiteral("killed with the PDF written")
                                                                   : QStringLiteral("killed before the PDF")];
    }
    for (auto it = seen.cbegin(); it != seen.cend(); ++it)
        qInfo("  %s: %d", qPrintable(it.key()), it.value());
}

void TestRecordKillTrials::killedPayeeSaveIsWholeOrNotAtAll()
{
    QTemporaryDir folder;
    const QString database = QDir(folder.path()).filePath(QStringLiteral("Data.dat"));
    QVERIFY(PayeeDatabase().create(database).isOpened());
    const auto childArguments = [&](int first) {
        return QStringList{QString::fromLatin1(kChildMode), database, QString::number(first)};
    };

    // How long a child takes to save all its payees.
    QElapsedTimer timer;
    QProcess whole;
    timer.start();
    whole.start(QCoreApplication::applicationFilePath(), childArguments(0));
    runAndKill(whole, -1);
    const qint64 span = timer.nsecsElapsed() / 1000;
    QCOMPARE(whole.exitCode(), 0);

    int next = kPayeesPerChild;
    QSet<int> saved;
    for (int number = 0; number < kPayeesPerChild; ++number)
        saved.insert(number);
    for (int trial = 1; trial <= trials(); ++trial) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), childArguments(next));
        const QByteArray output = runAndKill(child, qint64(m_random.bounded(quint32(span))));
        // What the child said it saved must be there: a save it finished is
        // on disk.
        for (const QByteArray &line : output.split('\n')) {
            if (line.startsWith("saved "))
                saved.insert(line.mid(6).toInt());
        }
        const QString damage = integrityOf(database);
        QVERIFY2(damage.isEmpty(), qPrintable(damage));

        PayeeDatabase opened;
        QVERIFY(opened.open(database).isOpened());
        PayeeList list(opened, PaymentCategory::Pharmacy);
        QVERIFY(list.openSorted().succeeded());
        QSet<int> found;
        for (int row = 0; row < list.rowCount(); ++row) {
            QVERIFY(list.moveTo(row).succeeded());
            const Result<PayeeFields> read = list.readCurrent();
            QVERIFY(read.succeeded());
            const PayeeFields &fields = *read;
            const int number = fields[0].mid(QStringLiteral("ECZANE ").size()).toInt();
            // Whole: all five fields of the payee it names.
            QCOMPARE(fields, payeeNumbered(number));
            found.insert(number);
        }
        QVERIFY2(found.contains(saved), "a payee the program had saved is gone");
        // At most the one being saved when the kill came is there beyond.
        QVERIFY(found.size() - saved.size() <= 1);
        saved = found;
        next += kPayeesPerChild;
    }
}

int main(int argc, char **argv)
{
    if (argc >= 4 && qstrcmp(argv[1], kChildMode) == 0)
        return runChild(argc, argv);
    QCoreApplication application(argc, argv);
    TestRecordKillTrials test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_RecordKillTrials.moc"
