#include "maintenance/FileSizeText.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestFileSizeText : public QObject
{
    Q_OBJECT

private slots:
    void formatsSizesTheTurkishWay_data();
    void formatsSizesTheTurkishWay();
    void readsTheFilesSize();
    void missingFileIsSaidSo();
};

void TestFileSizeText::formatsSizesTheTurkishWay_data()
{
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << qint64(0) << "0 bayt";
    QTest::newRow("bytes") << qint64(532) << "532 bayt";
    QTest::newRow("just under a thousand bytes") << qint64(999) << "999 bayt";
    QTest::newRow("a thousand bytes go up a unit") << qint64(1000) << "1,0 KB";
    QTest::newRow("a kilobyte") << qint64(1024) << "1,0 KB";
    QTest::newRow("one decimal under 100") << qint64(12800) << "12,5 KB";
    QTest::newRow("rounded half up") << qint64(12852) << "12,6 KB";
    QTest::newRow("none from 100 on") << qint64(544768) << "532 KB";
    QTest::newRow("would read 1000 KB") << qint64(1023 * 1024) << "1,0 MB";
    QTest::newRow("megabytes") << qint64(1258291) << "1,2 MB";
    QTest::newRow("gigabytes") << qint64(3) * 1024 * 1024 * 1024 << "3,0 GB";
}

void TestFileSizeText::formatsSizesTheTurkishWay()
{
    QFETCH(qint64, bytes);
    QFETCH(QString, text);
    QCOMPARE(formatByteSize(bytes), text);
}

void TestFileSizeText::readsTheFilesSize()
{
    QTemporaryDir folder;
    const QString path = QDir(folder.path()).filePath(QStringLiteral("Data.dat"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(12800, 'x'));
    file.close();
    QCOMPARE(FileSizeText(path), QStringLiteral("12,5 KB"));
}

void TestFileSizeText::missingFileIsSaidSo()
{
    QTemporaryDir folder;
    QCOMPARE(FileSizeText(QDir(folder.path()).filePath(QStringLiteral("Data.dat"))),
             QStringLiteral("Veritabanı dosyası bulunamadı!"));
    // A folder of that name is no database file either.
    QCOMPARE(FileSizeText(folder.path()), QStringLiteral("Veritabanı dosyası bulunamadı!"));
}

QTEST_GUILESS_MAIN(TestFileSizeText)
#include "tst_FileSizeText.moc"
