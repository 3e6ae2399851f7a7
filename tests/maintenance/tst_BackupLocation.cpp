#include "maintenance/BackupLocation.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using BackupLocation::MountedVolume;
using BackupLocation::Volume;

class TestBackupLocation : public QObject
{
    Q_OBJECT

private slots:
    void composesTheBackupFolder_data();
    void composesTheBackupFolder();
    void offersTheVolumesAUserKeepsFilesOn();
    void findsTheVolumeThatHoldsAFolder_data();
    void findsTheVolumeThatHoldsAFolder();
};

void TestBackupLocation::composesTheBackupFolder_data()
{
    QTest::addColumn<QString>("location");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("folder");
    QTest::newRow("under a folder") << "/home/memur" << "Yedek" << "/home/memur/Yedek/";
    QTest::newRow("under the system's root") << "/" << "Yedek" << "/Yedek/";
    QTest::newRow("under a drive's root") << "C:/" << "Yedek" << "C:/Yedek/";
    QTest::newRow("empty name: the location itself") << "/home/memur" << "" << "/home/memur/";
    QTest::newRow("empty name at a root") << "/" << "" << "/";
    QTest::newRow("blank name") << "/home/memur" << "   " << "/home/memur/";
    QTest::newRow("nested with /") << "/media/usb" << "Yedek/2026/Ocak" << "/media/usb/Yedek/2026/Ocak/";
    QTest::newRow("nested with \\") << "/media/usb" << "Yedek\\2026" << "/media/usb/Yedek/2026/";
    QTest::newRow("separators around and doubled") << "/media/usb" << "/Yedek//2026/" << "/media/usb/Yedek/2026/";
    QTest::newRow("blanks around the parts") << "/media/usb" << " Yedek / Aralık " << "/media/usb/Yedek/Aralık/";
}

void TestBackupLocation::composesTheBackupFolder()
{
    QFETCH(QString, location);
    QFETCH(QString, name);
    QFETCH(QString, folder);
    QCOMPARE(BackupLocation::composeFolder(location, name), folder);
}

void TestBackupLocation::offersTheVolumesAUserKeepsFilesOn()
{
    // Real folders stand for the mount points: a single file mounted into a
    // container is no place for a backup.
    QTemporaryDir disk;
    QTemporaryDir stick;
    const QString file = QDir(disk.path()).filePath(QStringLiteral("hosts"));
    QFile(file).open(QIODevice::WriteOnly);
    const QList<MountedVolume> mounted = {
        {stick.path(), QStringLiteral("vfat"), QStringLiteral("KINGSTON"), true},
        {QStringLiteral("/"), QStringLiteral("overlay"), QString(), true},
        {QStringLiteral("/proc"), QStringLiteral("proc"), QString(), true},
        {QStringLiteral("/dev/shm"), QStringLiteral("tmpfs"), QString(), true},
        {disk.path(), QStringLiteral("tmpfs"), QString(), true},
        {QStringLiteral("/run/user/1000"), QStringLiteral("ext4"), QString(), true},
        {disk.path() + QStringLiteral("/"), QStringLiteral("ext4"), QStringLiteral("Veri"), true},
        {file, QStringLiteral("ext4"), QString(), true},
        {QStringLiteral("/media/cdrom"), QStringLiteral("iso9660"), QString(), false},
        {stick.path(), QStringLiteral("vfat"), QStringLiteral("KINGSTON"), true},
    };
    const QString diskRoot = QDir(disk.path()).absolutePath() + QLatin1Char('/');
    const QString stickRoot = QDir(stick.path()).absolutePath() + QLatin1Char('/');
    QList<Volume> expected = {
        {QStringLiteral("/"), QStringLiteral("/")},
        {diskRoot, QStringLiteral("%1  [Veri]").arg(QDir::toNativeSeparators(diskRoot))},
        {stickRoot, QStringLiteral("%1  [KINGSTON]").arg(QDir::toNativeSeparators(stickRoot))},
    };
    if (stickRoot < diskRoot)
        expected.swapItemsAt(1, 2);
    QCOMPARE(BackupLocation::offeredVolumes(mounted), expected);
}

void TestBackupLocation::findsTheVolumeThatHoldsAFolder_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("volume");
    QTest::newRow("on the system's root") << "/home/memur" << 0;
    QTest::newRow("the root itself") << "/" << 0;
    QTest::newRow("on a stick") << "/media/usb/Yedek" << 1;
    QTest::newRow("the stick's root without its separator") << "/media/usb" << 1;
    QTest::newRow("a sibling that only begins alike") << "/media/usb2/Yedek" << 0;
    QTest::newRow("a nested mount") << "/media/usb/ag/x" << 2;
}

void TestBackupLocation::findsTheVolumeThatHoldsAFolder()
{
    QFETCH(QString, path);
    QFETCH(int, volume);
    const QList<Volume> volumes = {{QStringLiteral("/"), QStringLiteral("/")},
                                   {QStringLiteral("/media/usb/"), QStringLiteral("usb")},
                                   {QStringLiteral("/media/usb/ag/"), QStringLiteral("ag")}};
    QCOMPARE(BackupLocation::volumeIndexOf(volumes, path), volume);
}

QTEST_GUILESS_MAIN(TestBackupLocation)
#include "tst_BackupLocation.moc"
