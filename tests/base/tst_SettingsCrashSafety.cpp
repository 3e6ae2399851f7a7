// The settings file survives a program killed in the middle of a save, and
// the next start removes what such a save left behind, nothing else.

#include "base/ProfileFile.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int kKeys = 448; // as many values as the codes window writes
const char *const kSaveLoop = "--save-loop";

QString value(int round, int key)
{
    return QStringLiteral("Tur %1 anahtar %2 Şİ").arg(round).arg(key);
}

// The child: saves the whole set of keys again and again, each round with
// its own values, until it is killed.
int saveForever(const QString &path)
{
    for (int round = 1;; ++round) {
        ProfileFile file(path);
        for (int key = 1; key <= kKeys; ++key)
            file.writeString(u"Kod", QString::number(key), value(round, key));
        if (file.save().failed())
            return 1;
    }
}

// The round every key of the file holds, 0 for an absent file, -1 when the
// keys disagree or one is missing: a half-written file.
int wholeRound(const QString &path)
{
    if (!QFileInfo::exists(path))
        return 0;
    const ProfileFile file(path);
    const QString first = file.readString(u"Kod", u"1", QString());
    const int round = first.section(u' ', 1, 1).toInt();
    for (int key = 1; key <= kKeys; ++key) {
        if (file.readString(u"Kod", QString::number(key), QString()) != value(round, key))
            return -1;
    }
    return round;
}

void makeFile(const QString &path, const QDateTime &written)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[Ayar]\r\nDM=8,25\r\n");
    QVERIFY(file.flush()); // a later flush would date the file anew
    QVERIFY(file.setFileTime(written, QFileDevice::FileModificationTime));
}

} // namespace

class TestSettingsCrashSafety : public QObject
{
    Q_OBJECT

private slots:
    void removesInterruptedSavesOnly_data();
    void removesInterruptedSavesOnly();
    void killedSaveLeavesAWholeFile();
};

void TestSettingsCrashSafety::removesInterruptedSavesOnly_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("ageSeconds");
    QTest::addColumn<bool>("removed");

    QTest::newRow("a save's leftover") << "Zenparol.ini.Ab3xYz" << 3600 << true;
    QTest::newRow("digits only") << "Zenparol.ini.123456" << 60 << true;
    QTest::newRow("the settings file itself") << "Zenparol.ini" << 3600 << false;
    QTest::newRow("a backup the user made") << "Zenparol.ini.bak" << 3600 << false;
    QTest::newRow("five characters") << "Zenparol.ini.Ab3xY" << 3600 << false;
    QTest::newRow("seven characters") << "Zenparol.ini.Ab3xYz7" << 3600 << false;
    QTest::newRow("not letters or digits") << "Zenparol.ini.Ab3-Yz" << 3600 << false;
    QTest::newRow("another file's leftover") << "Baska.ini.Ab3xYz" << 3600 << false;
    QTest::newRow("the database") << "Data.dat" << 3600 << false;
    QTest::newRow("a save that may be running now") << "Zenparol.ini.Ab3xYz" << 0 << false;
}

void TestSettingsCrashSafety::removesInterruptedSavesOnly()
{
    QFETCH(QString, name);
    QFETCH(int, ageSeconds);
    QFETCH(bool, removed);

    QTemporaryDir folder;
    const QString settings = folder.filePath(QStringLiteral("Zenparol.ini"));
    const QDateTime now = QDateTime::currentDateTime();
    makeFile(settings, now.addSecs(-3600));
    const QString path = folder.filePath(name);
    makeFile(path, now.addSecs(-ageSeconds));
    // A folder named like a leftover is not a file of ours.
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("Zenparol.ini.Dir123")));

    QCOMPARE(ProfileFile::removeInterruptedSaves(settings), removed ? 1 : 0);
    QCOMPARE(QFileInfo::exists(path), !removed);
    QVERIFY(QFileInfo::exists(settings));
    QVERIFY(QFileInfo(folder.filePath(QStringLiteral("Zenparol.ini.Dir123"))).isDir());
}

// Seeded trials: a child saves in a loop and is killed at a random moment.
// After every kill the file is one whole save or the one before it, and a
// start leaves no temporary copy behind. MIRVASEL_KILL_TRIALS sets the count.
void TestSettingsCrashSafety::killedSaveLeavesAWholeFile()
{
    const int trials = qEnvironmentVariableIntValue("MIRVASEL_KILL_TRIALS") > 0
                           ? qEnvironmentVariableIntValue("MIRVASEL_KILL_TRIALS")
                           : 24;
    QTemporaryDir folder;
    const QString settings = folder.filePath(QStringLiteral("Zenparol.ini"));
    QRandomGenerator random(20261210);
    int lastRound = 0;
    int killsAfterASave = 0;
    for (int trial = 0; trial < trials; ++trial) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kSaveLoop), settings});
        QVERIFY(child.waitForStarted());
        // From before the first save is done to well into the loop.
        QTest::qSleep(int(random.bounded(30, 400)));
        child.kill();
        QVERIFY(child.waitForFinished());

        const int round = wholeRound(settings);
        QVERIFY2(round >= 0, qPrintable(QStringLiteral("trial %1: a half-written file").arg(trial)));
        lastRound = round;
        killsAfterASave += round > 0 ? 1 : 0;

        // The next start: leftovers are old by then.
        const QDir dir(folder.path());
        for (const QString &name : dir.entryList({QStringLiteral("Zenparol.ini.*")}, QDir::Files)) {
            QFile leftover(dir.filePath(name));
            QVERIFY(leftover.open(QIODevice::ReadWrite));
            QVERIFY(leftover.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                                         QFileDevice::FileModificationTime));
        }
        ProfileFile::removeInterruptedSaves(settings);
        QCOMPARE(dir.entryList({QStringLiteral("Zenparol.ini.*")}, QDir::Files), QStringList());
        QCOMPARE(wholeRound(settings), round);
    }
    qInfo("%d kills, %d of them after a save; the last file held round %d", trials, killsAfterASave, lastRound);
    QVERIFY(killsAfterASave > 0);
}

int main(int argc, char *argv[])
{
    if (argc == 3 && qstrcmp(argv[1], kSaveLoop) == 0)
        return saveForever(QString::fromLocal8Bit(argv[2]));
    QCoreApplication application(argc, argv);
    TestSettingsCrashSafety test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_SettingsCrashSafety.moc"
