// The program's command line, run as the real program without a display:
// --help and --version in Turkish with the folder in use, an unknown option
// refused in one line, and an installed copy that keeps its files in the
// user's data folder.
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

namespace {

struct Run
{
    int status = -1;
    QString out;
    QString error;
};

Run runProgram(const QStringList &arguments, const QString &program = QStringLiteral(MIRVASEL_PROGRAM),
               const QString &home = QString())
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    if (!home.isEmpty()) {
        environment.insert(QStringLiteral("HOME"), home);
        environment.remove(QStringLiteral("XDG_DATA_HOME"));
    }
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(QDir::tempPath());
    process.start(program, arguments);
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
    void installedProgram();
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
    // The folder in use, whichever the build folder's owner makes it (both
    // branches are tried with copies of their own below).
    static const QRegularExpression folderLine(QStringLiteral("^(Program|Kullanıcı veri) klasörü: /.+$"),
                                               QRegularExpression::MultilineOption);
    QVERIFY2(folderLine.match(run.out).hasMatch(), qPrintable(run.out));
    if (option != QLatin1String("--version")) {
        for (const char *named : {"--pdf", "--print", "--printer", "--orders-csv", "--version", "Çıkış durumu"})
            QVERIFY2(run.out.contains(QString::fromUtf8(named)), named);
    }
}

void TestCommandLine::installedProgram()
{
    // Installed: the executable in a folder the user cannot write, named as
    // the package names it.
    QVERIFY2(geteuid() != 0, "root writes into a read-only folder all the same; scripts/test runs the tests as an "
                             "unprivileged user");
    QTemporaryDir tree;
    QVERIFY(QDir(tree.path()).mkpath(QStringLiteral("usr/bin")));
    QVERIFY(QDir(tree.path()).mkpath(QStringLiteral("home")));
    const QString bin = tree.filePath(QStringLiteral("usr/bin"));
    const QString program = QDir(bin).filePath(QStringLiteral("mirvasel"));
    QVERIFY(QFile::copy(QStringLiteral(MIRVASEL_PROGRAM), program));
    QVERIFY(QFile::setPermissions(bin, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
    const auto writableAgain = qScopeGuard([&] {
        QFile::setPermissions(bin, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    });
    const QString home = tree.filePath(QStringLiteral("home"));
    const QString data = QDir(home).filePath(QStringLiteral(".local/share/Mirvasel"));

    const Run version = runProgram({QStringLiteral("--version")}, program, home);
    QCOMPARE(version.status, 0);
    QCOMPARE(version.out, QStringLiteral("mirvasel (Mirvasel) 2.0.1\nKullanıcı veri klasörü: %1\nSQLCipher 3.4.1\n").arg(data));
    QVERIFY(QFileInfo(data).isDir());

    const Run help = runProgram({QStringLiteral("--help")}, program, home);
    QVERIFY2(help.out.startsWith(QStringLiteral("Kullanım: mirvasel [SEÇENEK]\n")), qPrintable(help.out));
    QVERIFY2(help.out.contains(QStringLiteral("Kullanıcı veri klasörü: %1\n").arg(data)), qPrintable(help.out));

    // A windowless command makes the register there, and nothing beside the
    // executable.
    QFile payment(tree.filePath(QStringLiteral("payment.json")));
    QVERIFY(payment.open(QIODevice::WriteOnly));
    payment.write(R"({"kind": "Eczane",
      "payee": ["ŞİFA ECZANESİ", "12345678901", "ZİRAAT KIZILAY", "TR12 0001", "ÇANKAYA"],
      "amounts": ["1.000,00"], "stamp": true, "attachments": [{"count": 3, "description": "Adet Fatura"}]})");
    payment.close();
    const QString pdf = tree.filePath(QStringLiteral("out.pdf"));
    const Run pdfRun = runProgram({QStringLiteral("--pdf"), pdf, payment.fileName()}, program, home);
    QVERIFY2(pdfRun.status == 0, qPrintable(pdfRun.error));
    QVERIFY(QFileInfo(QDir(data).filePath(QStringLiteral("Data.dat"))).isFile());
    QVERIFY(QFileInfo(pdf).size() > 1000);
    QCOMPARE(QDir(bin).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("mirvasel")});

    const Run csv = runProgram({QStringLiteral("--orders-csv"), tree.filePath(QStringLiteral("orders.csv"))}, program, home);
    QVERIFY2(csv.status == 0, qPrintable(csv.error));
    QVERIFY2(QFile(tree.filePath(QStringLiteral("orders.csv"))).size() > 0, "no orders CSV");

    // Every command's usage line names the command the user typed.
    for (const char *command : {"--pdf", "--print", "--orders-csv", "--import-old", "--export-payees", "--import-payees",
                                "--copy-register-to"}) {
        const Run usage = runProgram({QString::fromLatin1(command)}, program, home);
        QCOMPARE(usage.status, 2);
        QVERIFY2(usage.error.startsWith(QStringLiteral("Kullanım: mirvasel "))
                     && usage.error.contains(QStringLiteral("mirvasel %1 ").arg(QString::fromLatin1(command)))
                     && !usage.error.contains(QStringLiteral("Zenparol")),
                 qPrintable(usage.error));
    }

    // A copy in a folder of the user's own keeps its files beside itself.
    QVERIFY(QDir(tree.path()).mkpath(QStringLiteral("portable")));
    const QString portable = tree.filePath(QStringLiteral("portable/Zenparol"));
    QVERIFY(QFile::copy(QStringLiteral(MIRVASEL_PROGRAM), portable));
    const Run own = runProgram({QStringLiteral("--version")}, portable, home);
    QVERIFY2(own.out.contains(QStringLiteral("\nProgram klasörü: %1\n").arg(tree.filePath(QStringLiteral("portable")))),
             qPrintable(own.out));
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
