// An old program's folder brought into the folder in use: the settings file
// and the database byte for byte, the files they replace kept beside them,
// and nothing changed when it cannot be done.
#include "base/FolderAccess.h"
#include "maintenance/OldProgramTransfer.h"
#include "support/JetFixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

namespace {

void write(const QString &folder, const QString &name, const QByteArray &bytes)
{
    QFile file(QDir(folder).filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// name=bytes of every file in the folder, sorted.
QStringList contents(const QString &folder)
{
    QStringList files;
    const QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
        if (name == FolderAccess::fileName())
            continue; // the folder's access lock, which stays for good
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        files << name + u'=' + QString::fromLatin1(file.readAll());
    }
    return files;
}

} // namespace

class TestOldProgramTransfer : public QObject
{
    Q_OBJECT

private slots:
    void bringsTheFiles_data();
    void bringsTheFiles();
    void theOldDatabaseIsToBeConverted();
    void refusals_data();
    void refusals();
    void aFolderThatCannotBeWrittenStaysAsItWas();
};

void TestOldProgramTransfer::bringsTheFiles_data()
{
    QTest::addColumn<QStringList>("old");
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QStringList>("kept");

    QTest::newRow("into an empty folder")
        << QStringList{"Data.dat=eski veri", "Zenparol.ini=[Ayar]\r\n"} << QStringList{}
        << QStringList{"Data.dat=eski veri", "Zenparol.ini=[Ayar]\r\n"} << QStringList{};
    QTest::newRow("over the files there, kept beside them")
        << QStringList{"Data.dat=eski veri", "Zenparol.ini=eski ayar"}
        << QStringList{"Data.dat=yeni veri", "Zenparol.ini=yeni ayar"}
        << QStringList{"Data.dat=eski veri", "Data.dat.onceki=yeni veri", "Zenparol.ini=eski ayar",
                       "Zenparol.ini.onceki=yeni ayar"}
        << QStringList{"Zenparol.ini.onceki", "Data.dat.onceki"};
    QTest::newRow("a second time: the first kept files stay")
        << QStringList{"Zenparol.ini=ikinci"}
        << QStringList{"Zenparol.ini=birinci", "Zenparol.ini.onceki=ilk"}
        << QStringList{"Zenparol.ini=ikinci", "Zenparol.ini.onceki=ilk", "Zenparol.ini.onceki-2=birinci"}
        << QStringList{"Zenparol.ini.onceki-2"};
    QTest::newRow("only the settings file: the database stays")
        << QStringList{"Zenparol.ini=eski ayar", "notlar.txt=x"} << QStringList{"Data.dat=yeni veri"}
        << QStringList{"Data.dat=yeni veri", "Zenparol.ini=eski ayar"} << QStringList{};
    QTest::newRow("Turkish bytes of the old settings file, as they are")
        << QStringList{QString::fromLatin1("Zenparol.ini=[Kurum Imza]\r\n11=KARAB\xdc\xdd\r\n")} << QStringList{}
        << QStringList{QString::fromLatin1("Zenparol.ini=[Kurum Imza]\r\n11=KARAB\xdc\xdd\r\n")} << QStringList{};
}

void TestOldProgramTransfer::bringsTheFiles()
{
    QFETCH(QStringList, old);
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    QFETCH(QStringList, kept);
    QTemporaryDir oldFolder;
    QTemporaryDir folder;
    for (const QString &file : old)
        write(oldFolder.path(), file.section(u'=', 0, 0), file.section(u'=', 1).toLatin1());
    for (const QString &file : before)
        write(folder.path(), file.section(u'=', 0, 0), file.section(u'=', 1).toLatin1());
    const QStringList oldBefore = contents(oldFolder.path());

    const Result<OldProgramTransfer::Brought> brought = OldProgramTransfer::bring(oldFolder.path(), folder.path());
    QVERIFY2(brought, qPrintable(brought.message()));
    QCOMPARE(contents(folder.path()), after);
    QStringList keptPaths;
    for (const QString &name : kept)
        keptPaths << QDir(folder.path()).filePath(name);
    QCOMPARE(brought->keptPaths, keptPaths);
    QVERIFY(!brought->oldDatabase);
    QCOMPARE(contents(oldFolder.path()), oldBefore);
}

void TestOldProgramTransfer::theOldDatabaseIsToBeConverted()
{
    QTemporaryDir oldFolder;
    QTemporaryDir folder;
    QVERIFY(JetFixture::payees(JetFixture::many(3)).write(QDir(oldFolder.path()).filePath(QStringLiteral("Data.dat"))));
    const Result<OldProgramTransfer::Brought> brought = OldProgramTransfer::bring(oldFolder.path(), folder.path());
    QVERIFY2(brought, qPrintable(brought.message()));
    QCOMPARE(brought->files, QStringList{QStringLiteral("Data.dat")});
    QVERIFY(brought->oldDatabase);
}

void TestOldProgramTransfer::refusals_data()
{
    QTest::addColumn<bool>("sameFolder");
    QTest::addColumn<QString>("message");
    QTest::newRow("a folder without the old program's files")
        << false << "Seçilen klasörde eski programın dosyaları (Zenparol.ini, Data.dat) yok: ";
    QTest::newRow("the folder in use itself") << true << "Seçilen klasör, programın kullandığı klasörün kendisi: ";
}

void TestOldProgramTransfer::refusals()
{
    QFETCH(bool, sameFolder);
    QFETCH(QString, message);
    QTemporaryDir oldFolder;
    QTemporaryDir folder;
    write(oldFolder.path(), QStringLiteral("Data.txt"), "x");
    write(folder.path(), QStringLiteral("Data.dat"), "veri");
    const QString from = sameFolder ? folder.path() : oldFolder.path();
    const QStringList before = contents(folder.path());
    const Result<OldProgramTransfer::Brought> brought = OldProgramTransfer::bring(from, folder.path());
    QVERIFY(!brought);
    QVERIFY2(brought.message().startsWith(message), qPrintable(brought.message()));
    QCOMPARE(contents(folder.path()), before);
}

void TestOldProgramTransfer::aFolderThatCannotBeWrittenStaysAsItWas()
{
    QVERIFY2(geteuid() != 0, "root writes into a read-only folder all the same; scripts/test runs the tests as an "
                             "unprivileged user");
    QTemporaryDir oldFolder;
    QTemporaryDir folder;
    write(oldFolder.path(), QStringLiteral("Zenparol.ini"), "eski ayar");
    write(oldFolder.path(), QStringLiteral("Data.dat"), "eski veri");
    write(folder.path(), QStringLiteral("Zenparol.ini"), "yeni ayar");
    write(folder.path(), QStringLiteral("Data.dat"), "yeni veri");
    const QStringList before = contents(folder.path());
    QVERIFY(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner));
    const Result<OldProgramTransfer::Brought> brought = OldProgramTransfer::bring(oldFolder.path(), folder.path());
    QVERIFY(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QVERIFY(!brought);
    QVERIFY2(brought.message().contains(folder.path()), qPrintable(brought.message()));
    QCOMPARE(contents(folder.path()), before);
}

QTEST_GUILESS_MAIN(TestOldProgramTransfer)
#include "tst_OldProgramTransfer.moc"
