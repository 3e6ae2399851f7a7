// The program's command line, run as the real program without a display:
// --help and --version in Turkish, an unknown option refused in one line.
#include <QProcess>
#include <QtTest>

namespace {

struct Run
{
    int status = -1;
    QString out;
    QString error;
};

Run runProgram(const QStringList &arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(MIRVASEL_PROGRAM), arguments);
    Run run;
    if (!process.waitForFinished(60000))
        return run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.error = QString::fromUtf8(process.readAllStandardError());
    return run;
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void helpAndVersion_data();
    void helpAndVersion();
    void unknownOptions_data();
    void unknownOptions();
};

void TestCommandLine::helpAndVersion_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("begins");
    QTest::newRow("--help") << "--help" << "Kullanım: Zenparol [SEÇENEK]\n";
    QTest::newRow("-h") << "-h" << "Kullanım: Zenparol [SEÇENEK]\n";
    QTest::newRow("--version") << "--version" << "Zenparol (Mirvasel) 2.0.1\n";
}

void TestCommandLine::helpAndVersion()
{
    QFETCH(QString, option);
    QFETCH(QString, begins);
    const Run run = runProgram({option});
    QCOMPARE(run.status, 0);
    QVERIFY2(run.out.startsWith(begins), qPrintable(run.out));
    QCOMPARE(run.error, QString());
    if (option != QLatin1String("--version")) {
        for (const char *named : {"--pdf", "--print", "--printer", "--orders-csv", "--version", "Çıkış durumu"})
            QVERIFY2(run.out.contains(QString::fromUtf8(named)), named);
    }
}

void TestCommandLine::unknownOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("named");
    QTest::newRow("unknown option") << QStringList{"--yardim"} << "--yardim";
    QTest::newRow("a file") << QStringList{"Data.dat"} << "Data.dat";
    QTest::newRow("after a window system option") << QStringList{"-platform", "offscreen", "--pdff"} << "--pdff";
    QTest::newRow("Turkish letters") << QStringList{"--yazdır"} << "--yazdır";
}

void TestCommandLine::unknownOptions()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, named);
    const Run run = runProgram(arguments);
    QCOMPARE(run.status, 2);
    QCOMPARE(run.out, QString());
    QCOMPARE(run.error, QStringLiteral("Bilinmeyen seçenek \"%1\". Seçenekler için: Zenparol --help\n").arg(named));
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_CommandLine.moc"
