// Which folder holds the user's files: the executable's own, or the user's
// data folder for a program installed in the system's folders; and where the
// files that come with the program are found.
#include "base/ApplicationInfo.h"
#include "base/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

namespace {

void writeFile(const QString &path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("x");
}

} // namespace

class TestProgramFolder : public QObject
{
    Q_OBJECT

private slots:
    void choose_data();
    void choose();
    void missingFolder();
    void systemFolders_data();
    void systemFolders();
    void installedFiles();
    void userDataFolder();
};

void TestProgramFolder::choose_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<bool>("writable");
    QTest::addColumn<bool>("programFolder");
    QTest::newRow("a writable folder of its own") << QStringList{} << true << true;
    QTest::newRow("a read-only folder without files") << QStringList{} << false << false;
    QTest::newRow("a read-only folder with the settings file") << QStringList{"Zenparol.ini"} << false << true;
    QTest::newRow("a read-only folder with the database") << QStringList{"Data.dat"} << false << true;
    QTest::newRow("only the help document beside it") << QStringList{"ZENPAROL.html"} << false << false;
}

void TestProgramFolder::choose()
{
    QFETCH(QStringList, files);
    QFETCH(bool, writable);
    QFETCH(bool, programFolder);
    QTemporaryDir executable;
    for (const QString &name : files)
        writeFile(executable.filePath(name));
    if (!writable) {
        QVERIFY2(geteuid() != 0, "root writes into a read-only folder all the same; scripts/test runs the tests as an "
                                 "unprivileged user");
        QVERIFY(QFile::setPermissions(executable.path(), QFile::ReadOwner | QFile::ExeOwner));
    }
    const ProgramFolder::Choice choice = ProgramFolder::choose(executable.path(), QStringLiteral("/home/katip/veri"));
    QVERIFY(QFile::setPermissions(executable.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    if (programFolder)
        QCOMPARE(choice, (ProgramFolder::Choice{executable.path(), ProgramFolder::Kind::ProgramFolder}));
    else
        QCOMPARE(choice, (ProgramFolder::Choice{QStringLiteral("/home/katip/veri"), ProgramFolder::Kind::UserDataFolder}));
}

void TestProgramFolder::missingFolder()
{
    QCOMPARE(ProgramFolder::choose(QStringLiteral("/nonexistent/bin"), QStringLiteral("/home/katip/veri")).kind,
             ProgramFolder::Kind::UserDataFolder);
    // The system's folders, writable or not (as for root): installed, so the
    // user's files go elsewhere.
    QCOMPARE(ProgramFolder::choose(QStringLiteral("/usr/bin"), QStringLiteral("/home/katip/veri")).kind,
             ProgramFolder::Kind::UserDataFolder);
}

void TestProgramFolder::systemFolders_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("system");
    QTest::newRow("/usr/bin") << "/usr/bin" << true;
    QTest::newRow("/usr/local/bin") << "/usr/local/bin" << true;
    QTest::newRow("/opt/mirvasel") << "/opt/mirvasel" << true;
    QTest::newRow("/usr itself") << "/usr" << true;
    QTest::newRow("a trailing slash") << "/usr/bin/" << true;
    QTest::newRow("/usrx is another folder") << "/usrx/bin" << false;
    QTest::newRow("a home folder") << "/home/katip/Mirvasel" << false;
    QTest::newRow("an unpacked tree") << "/tmp/paket/usr/bin" << false;
    QTest::newRow("a USB stick") << "/media/katip/USB/Mirvasel" << false;
}

void TestProgramFolder::systemFolders()
{
    QFETCH(QString, folder);
    QFETCH(bool, system);
    QCOMPARE(ProgramFolder::isSystemFolder(folder), system);
}

void TestProgramFolder::installedFiles()
{
    QTemporaryDir tree;
    QVERIFY(QDir(tree.path()).mkpath(QStringLiteral("usr/bin")));
    QVERIFY(QDir(tree.path()).mkpath(QStringLiteral("usr/share/mirvasel")));
    const QString bin = tree.filePath(QStringLiteral("usr/bin"));
    const auto folder = ProgramFolder::override(bin);
    const QString name = ApplicationInfo::helpFileName();
    const QString beside = QDir(bin).filePath(name);
    const QString shared = tree.filePath(QStringLiteral("usr/share/mirvasel/") + name);

    // In neither place: the place beside the executable, for the message.
    QCOMPARE(ProgramFolder::installedFile(name), beside);
    writeFile(shared);
    QCOMPARE(ProgramFolder::installedFile(name), shared);
    writeFile(beside);
    QCOMPARE(ProgramFolder::installedFile(name), beside);
}

void TestProgramFolder::userDataFolder()
{
    QTemporaryDir home;
    const QByteArray previous = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
    const QString folder = ProgramFolder::userDataFolder();
    if (previous.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", previous);
    QCOMPARE(folder, QDir(home.path()).filePath(QStringLiteral("Mirvasel")));
}

QTEST_GUILESS_MAIN(TestProgramFolder)
#include "tst_ProgramFolder.moc"
