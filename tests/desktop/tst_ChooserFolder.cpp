// Where the file choosers start: the last folder chosen for the kind of file
// during the run, else the documents folder, else home; never a folder that
// is not there.
#include "desktop/ChooserFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>

using ChooserFolder::Kind;

class TestChooserFolder : public QObject
{
    Q_OBJECT

public:
    explicit TestChooserFolder(const QString &home) : m_home(home) {}

private slots:
    void init() { m_memory.emplace(ChooserFolder::overrideMemory()); }
    void cleanup() { m_memory.reset(); }
    void documentsWhereThereAreAnyElseHome();
    void lastFolderOfTheSameKind();

private:
    QString m_home;
    // Each test starts with nothing remembered.
    std::optional<ScopedOverride<ChooserFolder::Memory>> m_memory;
};

void TestChooserFolder::documentsWhereThereAreAnyElseHome()
{
    const QString documents = QDir(m_home).filePath(QStringLiteral("Documents"));
    QDir(documents).removeRecursively();
    QCOMPARE(ChooserFolder::startFolder(Kind::Csv), m_home);
    QVERIFY(QDir().mkpath(documents));
    QCOMPARE(ChooserFolder::startFolder(Kind::Csv), documents);
    QCOMPARE(ChooserFolder::suggestedPath(Kind::Pdf, QStringLiteral("Eczane - ŞİFA.pdf")),
             QDir(documents).filePath(QStringLiteral("Eczane - ŞİFA.pdf")));
}

void TestChooserFolder::lastFolderOfTheSameKind()
{
    const QString documents = QDir(m_home).filePath(QStringLiteral("Documents"));
    QVERIFY(QDir().mkpath(documents));
    const QString chosen = QDir(m_home).filePath(QStringLiteral("Muhasebe/2024"));
    QVERIFY(QDir().mkpath(chosen));
    ChooserFolder::remember(Kind::Csv, QDir(chosen).filePath(QStringLiteral("Çeyrek.csv")));
    QCOMPARE(ChooserFolder::startFolder(Kind::Csv), chosen);
    QCOMPARE(ChooserFolder::startFolder(Kind::Pdf), documents);
    // A chooser that was cancelled chose nothing.
    ChooserFolder::remember(Kind::Csv, QString());
    QCOMPARE(ChooserFolder::startFolder(Kind::Csv), chosen);
    // The folder went away meanwhile.
    QVERIFY(QDir(chosen).removeRecursively());
    QCOMPARE(ChooserFolder::startFolder(Kind::Csv), documents);
}

int main(int argc, char **argv)
{
    // A home of the test's own, with no folder of the user's in it.
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", QDir(home.path()).filePath(QStringLiteral(".config")).toLocal8Bit());
    QCoreApplication application(argc, argv);
    TestChooserFolder test(home.path());
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ChooserFolder.moc"
