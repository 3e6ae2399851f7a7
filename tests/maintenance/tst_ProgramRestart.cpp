#include "base/ProgramFolder.h"
#include "base/ProgramLock.h"
#include "desktop/MessageBoxes.h"
#include "maintenance/ProgramRestart.h"
#include "maintenance/TFrmTamir.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <cstdio>

namespace {

const char kChildMode[] = "--restart-child";

// Stands for the main window: its close sequence would announce itself.
class MainWindowStandIn : public QWidget
{
protected:
    void closeEvent(QCloseEvent *event) override
    {
        std::puts("close sequence");
        std::fflush(stdout);
        event->accept();
    }
};

// The program as it meets the wizard: it holds the lock of its folder (the
// working folder), the main window hides ("hidden"), the wizard shows
// modally, and "İptal" is pressed. The launch is written to a file instead of
// being made; "fails" makes it fail.
int runChild(int argc, char **argv)
{
    QApplication application(argc, argv);
    const auto programFolder = ProgramFolder::override(QDir::currentPath());
    if (ProgramLock::acquire().status != ProgramLock::Status::Taken)
        return 3;
    const QString record = QString::fromLocal8Bit(argv[2]);
    const bool launches = qstrcmp(argv[3], "fails") != 0;
    const bool hidden = qstrcmp(argv[4], "hidden") == 0;
    const auto launcher = ProgramRestart::overrideLauncher([&](const ProgramRestart::Launch &launch) {
        QFile file(record);
        if (file.open(QIODevice::WriteOnly)) {
            const QStringList lines = QStringList{launch.program, launch.workingFolder} + launch.arguments;
            file.write(lines.join(u'\n').toUtf8());
        }
        // The new instance must find the folder's lock free: no lock file.
        std::puts(QFileInfo::exists(ProgramFolder::filePath(ProgramLock::fileName())) ? "lock held" : "lock free");
        return launches;
    });
    const auto responder = MessageBoxes::overrideResponder([](const MessageBoxes::Request &request) {
        std::printf("box: %s\n", qPrintable(request.text));
        return MessageBoxes::Button::Ok;
    });

    MainWindowStandIn mainWindow;
    mainWindow.show();
    TFrmTamir wizard(&mainWindow);
    QTimer::singleShot(0, &mainWindow, [&] {
        if (hidden)
            mainWindow.hide();
        QTimer::singleShot(0, &wizard, [&] { wizard.findChild<QPushButton *>(QStringLiteral("BitBtn2"))->click(); });
        wizard.exec();
        std::puts("wizard left");
    });
    const int code = application.exec();
    std::printf("exited %d\n", code);
    return code;
}

} // namespace

class TestProgramRestart : public QObject
{
    Q_OBJECT

private slots:
    void endsWithoutTheCloseSequence_data();
    void endsWithoutTheCloseSequence();
};

void TestProgramRestart::endsWithoutTheCloseSequence_data()
{
    QTest::addColumn<QString>("launch");
    QTest::addColumn<QString>("mainWindow");
    QTest::newRow("the new instance starts") << "starts" << "hidden";
    QTest::newRow("the new instance cannot start") << "fails" << "hidden";
    // Even a window still on screen is never asked to close.
    QTest::newRow("a window left visible") << "starts" << "visible";
}

void TestProgramRestart::endsWithoutTheCloseSequence()
{
    QFETCH(QString, launch);
    QFETCH(QString, mainWindow);
    QTemporaryDir working;
    const QString record = QDir(working.path()).filePath(QStringLiteral("launch.txt"));
    const QStringList arguments{QString::fromLatin1(kChildMode), record, launch, mainWindow,
                                QStringLiteral("bir argüman")};
    QProcess child;
    child.setWorkingDirectory(working.path());
    child.start(QCoreApplication::applicationFilePath(), arguments);
    QVERIFY(child.waitForFinished(30000));
    const QString output = QString::fromLocal8Bit(child.readAllStandardOutput());
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QVERIFY2(child.exitCode() == 0, qPrintable(output + QString::fromLocal8Bit(child.readAllStandardError())));
    QVERIFY2(output.contains(QStringLiteral("wizard left\nexited 0")), qPrintable(output));
    QVERIFY2(!output.contains(QStringLiteral("close sequence")), qPrintable(output));
    QVERIFY2(output.contains(QStringLiteral("lock free\n")), qPrintable(output));

    // Our own executable again, with the same arguments and working folder.
    QFile file(record);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    QCOMPARE(lines, QStringList({QCoreApplication::applicationFilePath(), QDir(working.path()).canonicalPath()})
                        + arguments);
    QCOMPARE(output.contains(QStringLiteral("box: Program yeniden başlatılamadı.")), launch == QLatin1String("fails"));
}

int main(int argc, char **argv)
{
    if (argc >= 5 && qstrcmp(argv[1], kChildMode) == 0)
        return runChild(argc, argv);
    QApplication application(argc, argv);
    TestProgramRestart test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ProgramRestart.moc"
