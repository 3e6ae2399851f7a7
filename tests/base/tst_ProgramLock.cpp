#include "base/ProgramFolder.h"
#include "base/ProgramLock.h"
#include "support/ProgramFolderFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <QtTest>

#include <cstdio>

namespace {

// "--lock-child FOLDER hold": takes the folder's lock, says "locked" and
// keeps it until killed. "--lock-child FOLDER try": exits 0 when it could
// take the lock, 1 with the message when not.
const char kChildMode[] = "--lock-child";

int runChild(const QString &folder, bool hold)
{
    ProgramFolder::overrideForTesting(folder);
    const Result<> locked = ProgramLock::acquire();
    if (locked.failed()) {
        std::printf("%s\n", qPrintable(locked.message()));
        return 1;
    }
    if (!hold)
        return 0;
    std::puts("locked");
    std::fflush(stdout);
    for (;;)
        QThread::sleep(60);
}

struct Child
{
    int exitCode = -1;
    QString output;
};

Child tryInChild(const QString &folder)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                {QString::fromLatin1(kChildMode), folder, QStringLiteral("try")});
    if (!child.waitForFinished(30000))
        return {};
    return {child.exitCode(), QString::fromLocal8Bit(child.readAllStandardOutput())};
}

const QString kRefusal = QStringLiteral("Program bu klasörden zaten çalışıyor.");

} // namespace

class TestProgramLock : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { ProgramLock::release(); }
    void aRunningCopyKeepsOthersOut();
    void aKilledCopyLeavesNoLockBehind();
    void aFolderWithoutALockStillStarts();
};

void TestProgramLock::aRunningCopyKeepsOthersOut()
{
    ProgramFolderFixture folder;
    QVERIFY(ProgramLock::acquire().succeeded());
    QVERIFY(QFileInfo::exists(folder.filePath(ProgramLock::fileName())));

    const Child refused = tryInChild(folder.path());
    QCOMPARE(refused.exitCode, 1);
    QVERIFY2(refused.output.startsWith(kRefusal), qPrintable(refused.output));

    // Once this copy lets go (as a restart does), the next one starts.
    ProgramLock::release();
    QVERIFY(!QFileInfo::exists(folder.filePath(ProgramLock::fileName())));
    QCOMPARE(tryInChild(folder.path()).exitCode, 0);
}

void TestProgramLock::aKilledCopyLeavesNoLockBehind()
{
    ProgramFolderFixture folder;
    QProcess holder;
    holder.start(QCoreApplication::applicationFilePath(),
                 {QString::fromLatin1(kChildMode), folder.path(), QStringLiteral("hold")});
    QVERIFY(holder.waitForReadyRead(30000));
    QCOMPARE(holder.readLine(), QByteArray("locked\n"));

    const Result<> refused = ProgramLock::acquire();
    QVERIFY(refused.failed());
    QVERIFY2(refused.message().startsWith(kRefusal), qPrintable(refused.message()));

    // Killed without a chance to clean up: its lock file stays, naming a
    // process that no longer runs, and the next copy takes it over.
    holder.kill();
    QVERIFY(holder.waitForFinished(30000));
    QVERIFY(QFileInfo::exists(folder.filePath(ProgramLock::fileName())));
    QVERIFY(ProgramLock::acquire().succeeded());
    ProgramLock::release();
}

void TestProgramLock::aFolderWithoutALockStillStarts()
{
    // The files of a folder where no lock can be made report their own
    // problems; the lock does not stand in the program's way.
    ProgramFolderFixture folder;
    ProgramFolder::overrideForTesting(folder.filePath(QStringLiteral("yok/klasör")));
    QVERIFY(ProgramLock::acquire().succeeded());
}

int main(int argc, char *argv[])
{
    if (argc == 4 && qstrcmp(argv[1], kChildMode) == 0) {
        QCoreApplication application(argc, argv);
        return runChild(QString::fromLocal8Bit(argv[2]), qstrcmp(argv[3], "hold") == 0);
    }
    QCoreApplication application(argc, argv);
    TestProgramLock test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ProgramLock.moc"
