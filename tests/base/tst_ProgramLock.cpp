#include "base/ProgramFolder.h"
#include "base/ProgramLock.h"
#include "support/ProgramFolderFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QSysInfo>
#include <QThread>
#include <QtTest>

#include <cstdio>
#include <memory>

#include <pwd.h>
#include <sys/file.h>
#include <unistd.h>

using ProgramLock::Status;

namespace {

// "--lock-child FOLDER hold": takes the folder's lock, says "locked" and
// keeps it until killed. "--lock-child FOLDER try": exits with the status of
// its attempt and prints its message. "--lock-child FOLDER race": as "hold",
// but first waits for the file "go" in FOLDER, so that many start together;
// says "refused" when it does not get the lock. "--lock-child FILE flock":
// keeps FILE locked as a holder does, until killed. "--lock-child - sleep":
// only runs, until killed.
const char kChildMode[] = "--lock-child";

[[noreturn]] void sleepForGood()
{
    for (;;)
        QThread::sleep(60);
}

int runChild(const QString &folder, const QByteArray &mode)
{
    if (mode == "sleep")
        sleepForGood();
    if (mode == "flock") {
        QFile file(folder);
        if (!file.open(QIODevice::ReadOnly) || ::flock(file.handle(), LOCK_EX) != 0)
            return 1;
        std::puts("locked");
        std::fflush(stdout);
        sleepForGood();
    }
    const auto programFolder = ProgramFolder::override(folder);
    if (mode == "race") {
        while (!QFileInfo::exists(QDir(folder).filePath(QStringLiteral("go"))))
            QThread::usleep(200);
    }
    const ProgramLock::Attempt attempt = ProgramLock::acquire();
    if (mode == "try") {
        std::printf("%s\n", qPrintable(attempt.message()));
        return int(attempt.status);
    }
    std::puts(attempt.status == Status::Taken ? "locked" : "refused");
    std::fflush(stdout);
    if (attempt.status != Status::Taken)
        return 1;
    sleepForGood();
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

// A child process that runs until the end of the test.
class Running
{
public:
    Running(const QString &folder, const QString &mode)
    {
        m_process.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kChildMode), folder, mode});
        m_process.waitForStarted(30000);
    }
    ~Running()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(30000);
        }
    }
    qint64 pid() const { return m_process.processId(); }
    bool saysLocked() { return m_process.waitForReadyRead(30000) && m_process.readLine() == "locked\n"; }
    void kill()
    {
        m_process.kill();
        m_process.waitForFinished(30000);
    }

private:
    QProcess m_process;
};

QString processStartOf(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return {};
    const QByteArray line = stat.readAll();
    return QString::fromLatin1(line.mid(line.lastIndexOf(')') + 1).simplified().split(' ').value(19));
}

QString userName()
{
    const passwd *user = ::getpwuid(::geteuid());
    return user ? QString::fromLocal8Bit(user->pw_name) : QString();
}

// A lock file as a copy of the program writes it; the fields given replace
// those of a copy on this computer.
QByteArray lockRecord(const QMap<QString, QString> &fields)
{
    QMap<QString, QString> all{
        {QStringLiteral("host"), QSysInfo::machineHostName()},
        {QStringLiteral("user"), userName()},
        {QStringLiteral("pid"), QString::number(QCoreApplication::applicationPid())},
        {QStringLiteral("started"), QStringLiteral("2026-03-05T14:07:00+03:00")},
        {QStringLiteral("machine"), QString::fromLatin1(QSysInfo::machineUniqueId())},
        {QStringLiteral("boot"), QString::fromLatin1(QSysInfo::bootUniqueId())},
        {QStringLiteral("process-start"), processStartOf(QCoreApplication::applicationPid())},
    };
    for (auto it = fields.cbegin(); it != fields.cend(); ++it)
        all.insert(it.key(), it.value());
    QByteArray record = "Zenparol.lock 1\n";
    for (auto it = all.cbegin(); it != all.cend(); ++it)
        record += (it.key() + u'=' + it.value() + u'\n').toUtf8();
    return record + "end\n";
}

// Another computer's copy, started on 5 March 2026 at 14:07 its time.
QByteArray otherComputer(const QString &host = QStringLiteral("MUHASEBE-2"))
{
    return lockRecord({{QStringLiteral("host"), host},
                       {QStringLiteral("user"), QStringLiteral("ayşe")},
                       {QStringLiteral("pid"), QStringLiteral("4242")},
                       {QStringLiteral("machine"), QStringLiteral("0123456789abcdef0123456789abcdef")},
                       {QStringLiteral("boot"), QStringLiteral("ba5eba11-0000-4000-8000-000000000000")},
                       {QStringLiteral("process-start"), QStringLiteral("777")}});
}

const QString kRefusal = QStringLiteral("Program bu klasörden zaten çalışıyor.");

// The lock file names this process, as it is now.
void namesThisProcess(const ProgramFolderFixture &folder)
{
    const QByteArray record = folder.readFile(ProgramLock::fileName());
    QVERIFY2(record.contains("\npid=" + QByteArray::number(QCoreApplication::applicationPid()) + '\n'),
             record.constData());
}

} // namespace

class TestProgramLock : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { ProgramLock::release(); }
    void aRunningCopyKeepsOthersOutAndSaysWhoItIs();
    void aKilledCopyIsTakenOver();
    void copiesOfThisComputerThatNoLongerRun_data();
    void copiesOfThisComputerThatNoLongerRun();
    void aRunningCopyWithoutTheSystemsLockStillCounts();
    void anotherComputersLockIsTakenOverOnlyOnRequest();
    void aLockThatChangedSinceTheQuestionIsJudgedAnew();
    void aLockTheFileSystemShowsHeldIsNotAsked();
    void unreadableLocks_data();
    void unreadableLocks();
    void aLockThatCannotBeRemoved();
    void copiesStartingTogetherGetOneLock_data();
    void copiesStartingTogetherGetOneLock();
    void aFolderWithoutALockStillStarts();
};

void TestProgramLock::aRunningCopyKeepsOthersOutAndSaysWhoItIs()
{
    ProgramFolderFixture folder;
    const QDateTime before = QDateTime::currentDateTime();
    QCOMPARE(ProgramLock::acquire().status, Status::Taken);
    const QDateTime after = QDateTime::currentDateTime();
    QVERIFY(QFileInfo::exists(folder.filePath(ProgramLock::fileName())));
    QCOMPARE(ProgramLock::acquire().status, Status::Taken);

    const Child refused = tryInChild(folder.path());
    QCOMPARE(refused.exitCode, int(Status::Running));
    QVERIFY2(refused.output.startsWith(kRefusal), qPrintable(refused.output));
    QVERIFY2(refused.output.contains(QStringLiteral("Bilgisayar: %1 (bu bilgisayar)\n").arg(QSysInfo::machineHostName())),
             qPrintable(refused.output));
    QVERIFY2(refused.output.contains(QStringLiteral("Kullanıcı: %1\n").arg(userName())), qPrintable(refused.output));
    QVERIFY2(refused.output.contains(QStringLiteral("Açılış: ") + ProgramLock::shownTime(before))
                 || refused.output.contains(QStringLiteral("Açılış: ") + ProgramLock::shownTime(after)),
             qPrintable(refused.output));

    // Once this copy lets go (as a restart does), the next one starts.
    ProgramLock::release();
    QVERIFY(!QFileInfo::exists(folder.filePath(ProgramLock::fileName())));
    QCOMPARE(tryInChild(folder.path()).exitCode, int(Status::Taken));
}

void TestProgramLock::aKilledCopyIsTakenOver()
{
    ProgramFolderFixture folder;
    Running holder(folder.path(), QStringLiteral("hold"));
    QVERIFY(holder.saysLocked());

    const ProgramLock::Attempt refused = ProgramLock::acquire();
    QCOMPARE(refused.status, Status::Running);
    QVERIFY(refused.holder);
    QCOMPARE(refused.holder->pid, holder.pid());
    QCOMPARE(refused.holder->host, QSysInfo::machineHostName());
    QCOMPARE(refused.holder->user, userName());
    QVERIFY(refused.holder->onThisComputer());
    QVERIFY(qAbs(refused.holder->started.secsTo(QDateTime::currentDateTime())) < 60);
    QVERIFY2(refused.message().startsWith(kRefusal), qPrintable(refused.message()));

    // Killed without a chance to clean up: its lock file stays, naming a
    // process that no longer runs, and the next copy takes it over at once.
    holder.kill();
    QVERIFY(QFileInfo::exists(folder.filePath(ProgramLock::fileName())));
    QCOMPARE(ProgramLock::acquire().status, Status::Taken);
    namesThisProcess(folder);
}

void TestProgramLock::copiesOfThisComputerThatNoLongerRun_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("its process has ended") << "ended";
    QTest::newRow("its process number belongs to another process now") << "number reused";
    QTest::newRow("it ran before the computer was last started") << "earlier boot";
}

void TestProgramLock::copiesOfThisComputerThatNoLongerRun()
{
    QFETCH(QString, how);
    ProgramFolderFixture folder;
    Running other(QStringLiteral("-"), QStringLiteral("sleep"));
    const QString pid = QString::number(other.pid());
    QMap<QString, QString> fields{{QStringLiteral("pid"), pid},
                                  {QStringLiteral("process-start"), processStartOf(other.pid())}};
    if (how == QLatin1String("ended"))
        other.kill();
    else if (how == QLatin1String("number reused"))
        fields.insert(QStringLiteral("process-start"), QStringLiteral("1"));
    else
        fields.insert(QStringLiteral("boot"), QStringLiteral("00000000-1111-4222-8333-444444444444"));
    folder.writeFile(ProgramLock::fileName(), lockRecord(fields));

    QCOMPARE(ProgramLock::acquire().status, Status::Taken);
    namesThisProcess(folder);
}

void TestProgramLock::aRunningCopyWithoutTheSystemsLockStillCounts()
{
    // A file system that keeps no locks: the running process alone tells.
    ProgramFolderFixture folder;
    Running other(QStringLiteral("-"), QStringLiteral("sleep"));
    const QByteArray record = lockRecord({{QStringLiteral("pid"), QString::number(other.pid())},
                                          {QStringLiteral("process-start"), processStartOf(other.pid())}});
    folder.writeFile(ProgramLock::fileName(), record);
    const ProgramLock::Attempt attempt = ProgramLock::acquire();
    QCOMPARE(attempt.status, Status::Running);
    QCOMPARE(attempt.holder->pid, other.pid());
    QCOMPARE(folder.readFile(ProgramLock::fileName()), record);
}

void TestProgramLock::anotherComputersLockIsTakenOverOnlyOnRequest()
{
    ProgramFolderFixture folder;
    folder.writeFile(ProgramLock::fileName(), otherComputer());
    const QString started = ProgramLock::shownTime(QDateTime::fromString(QStringLiteral("2026-03-05T14:07:00+03:00"), Qt::ISODate));

    const ProgramLock::Attempt asked = ProgramLock::acquire();
    QCOMPARE(asked.status, Status::Elsewhere);
    QVERIFY(asked.holder);
    QCOMPARE(asked.holder->host, QStringLiteral("MUHASEBE-2"));
    QCOMPARE(asked.holder->user, QStringLiteral("ayşe"));
    QCOMPARE(asked.holder->pid, 4242);
    QVERIFY(!asked.holder->onThisComputer());
    const QString question = asked.message();
    for (const QString &said : {QStringLiteral("Bilgisayar: MUHASEBE-2\n"), QStringLiteral("Kullanıcı: ayşe\n"),
                                QStringLiteral("Açılış: ") + started, QStringLiteral("gerçekten kapalıysa"),
                                QStringLiteral("Kilit devralınsın ve program açılsın mı?")})
        QVERIFY2(question.contains(said), qPrintable(said + QStringLiteral(" / ") + question));

    // "Hayır": the file stays as it was.
    ProgramLock::release();
    QCOMPARE(folder.readFile(ProgramLock::fileName()), otherComputer());

    // "Evet": this copy holds it now, as if the other had never been.
    QCOMPARE(ProgramLock::acquire().status, Status::Elsewhere);
    QCOMPARE(ProgramLock::takeOver().status, Status::Taken);
    namesThisProcess(folder);
    QCOMPARE(tryInChild(folder.path()).exitCode, int(Status::Running));
}

void TestProgramLock::aLockThatChangedSinceTheQuestionIsJudgedAnew()
{
    ProgramFolderFixture folder;
    folder.writeFile(ProgramLock::fileName(), otherComputer());
    QCOMPARE(ProgramLock::acquire().status, Status::Elsewhere);
    // Meanwhile a third computer took it over: that one is not removed on
    // an answer about the first.
    QVERIFY(QFile::remove(folder.filePath(ProgramLock::fileName())));
    folder.writeFile(ProgramLock::fileName(), otherComputer(QStringLiteral("VEZNE")));
    const ProgramLock::Attempt again = ProgramLock::takeOver();
    QCOMPARE(again.status, Status::Elsewhere);
    QCOMPARE(again.holder->host, QStringLiteral("VEZNE"));
    QCOMPARE(folder.readFile(ProgramLock::fileName()), otherComputer(QStringLiteral("VEZNE")));
}

void TestProgramLock::aLockTheFileSystemShowsHeldIsNotAsked()
{
    // A shared folder whose file system carries the holder's lock to this
    // computer: the copy there runs, beyond doubt.
    ProgramFolderFixture folder;
    folder.writeFile(ProgramLock::fileName(), otherComputer());
    Running locker(folder.filePath(ProgramLock::fileName()), QStringLiteral("flock"));
    QVERIFY(locker.saysLocked());
    const ProgramLock::Attempt attempt = ProgramLock::acquire();
    QCOMPARE(attempt.status, Status::Running);
    QVERIFY2(attempt.message().contains(QStringLiteral("Bilgisayar: MUHASEBE-2\n")), qPrintable(attempt.message()));
}

void TestProgramLock::unreadableLocks_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("not a lock file") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0", 11);
    QTest::newRow("cut short") << otherComputer().chopped(4);
    QTest::newRow("an older program's") << QByteArray("4242\nZenparol\nMUHASEBE-2\n0123456789abcdef\n");
    QTest::newRow("no process named") << otherComputer().replace("pid=4242", "pid=");
    QTest::newRow("far too long") << otherComputer().repeated(100);
}

void TestProgramLock::unreadableLocks()
{
    QFETCH(QByteArray, contents);
    ProgramFolderFixture folder;
    folder.writeFile(ProgramLock::fileName(), contents);

    const ProgramLock::Attempt asked = ProgramLock::acquire();
    QCOMPARE(asked.status, Status::Unreadable);
    QVERIFY(!asked.holder);
    QVERIFY2(asked.message().startsWith(QStringLiteral("Program klasöründeki kilit dosyası (Zenparol.lock) okunamadı")),
             qPrintable(asked.message()));
    ProgramLock::release();
    QCOMPARE(folder.readFile(ProgramLock::fileName()), contents);

    QCOMPARE(ProgramLock::acquire().status, Status::Unreadable);
    QCOMPARE(ProgramLock::takeOver().status, Status::Taken);
    namesThisProcess(folder);
}

void TestProgramLock::aLockThatCannotBeRemoved()
{
    // A folder of that name: asked about, and on "Evet" said why it stays.
    ProgramFolderFixture folder;
    QVERIFY(QDir(folder.path()).mkdir(ProgramLock::fileName()));
    QDir(folder.filePath(ProgramLock::fileName())).mkdir(QStringLiteral("içinde"));
    QCOMPARE(ProgramLock::acquire().status, Status::Unreadable);
    const ProgramLock::Attempt failed = ProgramLock::takeOver();
    QCOMPARE(failed.status, Status::NotTakenOver);
    QVERIFY2(failed.message().startsWith(QStringLiteral("Kilit dosyası kaldırılamadı: %1")
                                             .arg(QDir::toNativeSeparators(folder.filePath(ProgramLock::fileName())))),
             qPrintable(failed.message()));
    QVERIFY(QFileInfo(folder.filePath(ProgramLock::fileName())).isDir());
}

void TestProgramLock::copiesStartingTogetherGetOneLock_data()
{
    QTest::addColumn<bool>("deadLock");
    QTest::newRow("no lock yet") << false;
    QTest::newRow("a lock left by a crash") << true;
}

void TestProgramLock::copiesStartingTogetherGetOneLock()
{
    QFETCH(bool, deadLock);
    ProgramFolderFixture folder;
    if (deadLock) {
        Running ended(QStringLiteral("-"), QStringLiteral("sleep"));
        const qint64 pid = ended.pid();
        ended.kill();
        folder.writeFile(ProgramLock::fileName(), lockRecord({{QStringLiteral("pid"), QString::number(pid)}}));
    }
    std::vector<std::unique_ptr<QProcess>> copies;
    for (int i = 0; i < 6; ++i) {
        copies.push_back(std::make_unique<QProcess>());
        copies.back()->start(QCoreApplication::applicationFilePath(),
                             {QString::fromLatin1(kChildMode), folder.path(), QStringLiteral("race")});
        QVERIFY(copies.back()->waitForStarted(30000));
    }
    folder.writeFile(QStringLiteral("go"), "");
    int locked = 0;
    int refused = 0;
    for (auto &copy : copies) {
        QVERIFY(copy->waitForReadyRead(30000));
        const QByteArray said = copy->readLine();
        locked += said == "locked\n";
        refused += said == "refused\n";
    }
    for (auto &copy : copies) {
        copy->kill();
        copy->waitForFinished(30000);
    }
    QCOMPARE(locked, 1);
    QCOMPARE(refused, 5);
}

void TestProgramLock::aFolderWithoutALockStillStarts()
{
    // The files of a folder where no lock can be made report their own
    // problems; the lock does not stand in the program's way.
    ProgramFolderFixture folder;
    const auto missing = ProgramFolder::override(folder.filePath(QStringLiteral("yok/klasör")));
    QCOMPARE(ProgramLock::acquire().status, Status::Unprotected);
    QVERIFY(ProgramLock::acquire().message().isEmpty());
}

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], kChildMode) == 0)
        return runChild(QString::fromLocal8Bit(argv[2]), argv[3]);
    TestProgramLock test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ProgramLock.moc"
