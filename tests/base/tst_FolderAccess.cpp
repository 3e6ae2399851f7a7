#include "base/FolderAccess.h"
#include "base/ProgramFolder.h"
#include "base/ProgramLock.h"
#include "support/ProgramFolderFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <QtTest>

#include <chrono>
#include <cstdio>

using namespace std::chrono_literals;

namespace {

// "--access-child FOLDER KIND MILLISECONDS": takes the folder as KIND
// ("command", "maintenance", or "window": the window's lock and the folder
// for maintenance, as the window holds them during a compaction), says
// "held", keeps it that long (for good when negative) and ends.
const char kChildMode[] = "--access-child";

int runChild(const QString &folder, const QByteArray &kind, int milliseconds)
{
    const auto programFolder = ProgramFolder::override(folder);
    if (kind == "window" && ProgramLock::acquire().status != ProgramLock::Status::Taken)
        return 2;
    const Result<FolderAccess> access
        = kind == "command" ? FolderAccess::forCommand(folder, 0ms) : FolderAccess::forMaintenance(folder, 0ms);
    if (access.failed() || !access->isLocked())
        return 1;
    std::puts("held");
    std::fflush(stdout);
    if (milliseconds < 0) {
        for (;;)
            QThread::sleep(60);
    }
    QThread::msleep(ulong(milliseconds));
    return 0;
}

// A holder in a process of its own, ended with SIGKILL when still there.
class Holder
{
public:
    Holder(const QString &folder, const QString &kind, int milliseconds)
    {
        m_process.start(QCoreApplication::applicationFilePath(),
                        {QString::fromLatin1(kChildMode), folder, kind, QString::number(milliseconds)});
    }
    ~Holder()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(30000);
        }
    }

    // Whether it holds the folder now.
    bool holds()
    {
        return m_process.waitForReadyRead(30000) && m_process.readLine() == "held\n";
    }
    void kill()
    {
        m_process.kill();
        QVERIFY(m_process.waitForFinished(30000));
    }
    bool endedNormally()
    {
        return m_process.waitForFinished(30000) && m_process.exitStatus() == QProcess::NormalExit
               && m_process.exitCode() == 0;
    }

private:
    QProcess m_process;
};

Result<FolderAccess> take(const QString &folder, const QString &kind, std::chrono::milliseconds wait)
{
    return kind == QLatin1String("command") ? FolderAccess::forCommand(folder, wait)
                                            : FolderAccess::forMaintenance(folder, wait);
}

const QString kBusyForCommand = QStringLiteral(
    "Program klasörü şu anda meşgul: veritabanı yedekleniyor, sıkıştırılıyor ya da onarılıyor (ya da program "
    "açılırken klasörü temizliyor). Komut çalıştırılmadı, hiçbir dosya yazılmadı; işlem bittikten sonra komutu "
    "yeniden çalıştırın.");
const QString kBusyForMaintenance = QStringLiteral(
    "Program klasöründe şu anda pencere olmadan çalışan bir komut (--pdf, --orders-csv) sürüyor. İşlem "
    "başlatılmadı, hiçbir dosya değiştirilmedi; komut bittikten sonra yeniden deneyin.");

} // namespace

class TestFolderAccess : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { ProgramLock::release(); }
    void waitsOrGivesUp_data();
    void waitsOrGivesUp();
    void aKilledHolderLeavesNothingInTheWay_data();
    void aKilledHolderLeavesNothingInTheWay();
    void theAccessGoesWithItsOwner();
    void aFolderWithoutLocksIsNotRefused();
};

void TestFolderAccess::waitsOrGivesUp_data()
{
    QTest::addColumn<QString>("holder");
    QTest::addColumn<int>("holds"); // milliseconds; for good when negative
    QTest::addColumn<QString>("asker");
    QTest::addColumn<int>("wait");
    QTest::addColumn<QString>("refusal"); // empty: the asker gets the folder

    QTest::newRow("commands run together") << "command" << -1 << "command" << 0 << "";
    QTest::newRow("a command waits for maintenance that ends") << "maintenance" << 700 << "command" << 10000 << "";
    QTest::newRow("a command gives up on maintenance that goes on")
        << "maintenance" << -1 << "command" << 300 << kBusyForCommand;
    QTest::newRow("maintenance waits for a command that ends") << "command" << 700 << "maintenance" << 10000 << "";
    QTest::newRow("maintenance gives up on a command that goes on")
        << "command" << -1 << "maintenance" << 300 << kBusyForMaintenance;
    QTest::newRow("maintenance gives up on other maintenance")
        << "maintenance" << -1 << "maintenance" << 300 << kBusyForMaintenance;
}

void TestFolderAccess::waitsOrGivesUp()
{
    QFETCH(QString, holder);
    QFETCH(int, holds);
    QFETCH(QString, asker);
    QFETCH(int, wait);
    QFETCH(QString, refusal);
    ProgramFolderFixture folder;
    Holder other(folder.path(), holder, holds);
    QVERIFY(other.holds());

    const Result<FolderAccess> access = take(folder.path(), asker, std::chrono::milliseconds(wait));
    if (!refusal.isEmpty()) {
        QVERIFY(access.failed());
        QCOMPARE(access.message(), refusal);
        return;
    }
    QVERIFY2(access.succeeded(), qPrintable(access.message()));
    QVERIFY(access->isLocked());
    if (holds >= 0) {
        // It got the folder only once the holder let go of it.
        QVERIFY(other.endedNormally());
    } else {
        // Shared with the other command, which keeps it still: no
        // maintenance now.
        QVERIFY(FolderAccess::forMaintenance(folder.path(), 0ms).failed());
    }
}

void TestFolderAccess::aKilledHolderLeavesNothingInTheWay_data()
{
    QTest::addColumn<QString>("holder");
    QTest::newRow("a command") << "command";
    QTest::newRow("maintenance") << "maintenance";
    QTest::newRow("the window during a compaction") << "window";
}

void TestFolderAccess::aKilledHolderLeavesNothingInTheWay()
{
    QFETCH(QString, holder);
    ProgramFolderFixture folder;
    Holder other(folder.path(), holder, -1);
    QVERIFY(other.holds());
    QVERIFY(FolderAccess::forMaintenance(folder.path(), 0ms).failed());

    // SIGKILL: no chance to let go. The system lets go for it, at once.
    other.kill();
    for (const QString &kind : {QStringLiteral("command"), QStringLiteral("maintenance")}) {
        const Result<FolderAccess> access = take(folder.path(), kind, 0ms);
        QVERIFY2(access.succeeded() && access->isLocked(), qPrintable(kind));
    }
    if (holder == QLatin1String("window"))
        QCOMPARE(ProgramLock::acquire().status, ProgramLock::Status::Taken);
}

void TestFolderAccess::theAccessGoesWithItsOwner()
{
    ProgramFolderFixture folder;
    std::optional<FolderAccess> kept;
    {
        Result<FolderAccess> taken = FolderAccess::forMaintenance(folder.path(), 0ms);
        QVERIFY(taken.succeeded());
        kept.emplace(std::move(taken).value());
        FolderAccess moved = std::move(*kept);
        kept.emplace(std::move(moved));
    }
    // The objects it passed through are gone; the last one holds it still.
    QVERIFY(kept->isLocked());
    QVERIFY(FolderAccess::forCommand(folder.path(), 0ms).failed());
    kept.reset();
    QVERIFY(FolderAccess::forCommand(folder.path(), 0ms).succeeded());
    // The lock file stays for the next holder: removing it while another
    // process waits on it would let two hold the folder.
    QVERIFY(QFileInfo::exists(folder.filePath(FolderAccess::fileName())));
}

void TestFolderAccess::aFolderWithoutLocksIsNotRefused()
{
    // Nothing can be written there, by anyone: its own files say so.
    ProgramFolderFixture folder;
    const QString missing = folder.filePath(QStringLiteral("yok/klasör"));
    for (const QString &kind : {QStringLiteral("command"), QStringLiteral("maintenance")}) {
        const Result<FolderAccess> access = take(missing, kind, 0ms);
        QVERIFY(access.succeeded());
        QVERIFY(!access->isLocked());
    }
    QVERIFY(!QFileInfo::exists(missing));
}

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    if (argc == 5 && qstrcmp(argv[1], kChildMode) == 0)
        return runChild(QString::fromLocal8Bit(argv[2]), argv[3], QByteArray(argv[4]).toInt());
    TestFolderAccess test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_FolderAccess.moc"
