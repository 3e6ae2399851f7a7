#include "base/ProgramLock.h"
#include "maintenance/StartupLock.h"
#include "support/MessageRecorder.h"
#include "support/ProgramFolderFixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSysInfo>
#include <QtTest>

using MessageBoxes::Button;
using MessageBoxes::Icon;

namespace {

QString processStart()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return {};
    const QByteArray line = stat.readAll();
    return QString::fromLatin1(line.mid(line.lastIndexOf(')') + 1).simplified().split(' ').value(19));
}

// A lock file as a copy of the program writes it: on another computer, or
// this very process (which runs, on this computer).
QByteArray lockRecord(bool elsewhere)
{
    const QString pid = QString::number(QCoreApplication::applicationPid());
    const QStringList lines{
        QStringLiteral("Zenparol.lock 1"),
        QStringLiteral("host=") + (elsewhere ? QStringLiteral("MUHASEBE-2") : QSysInfo::machineHostName()),
        QStringLiteral("user=ayşe"),
        QStringLiteral("pid=") + (elsewhere ? QStringLiteral("4242") : pid),
        QStringLiteral("started=2026-03-05T14:07:00+03:00"),
        QStringLiteral("machine=") + (elsewhere ? QStringLiteral("0123456789abcdef")
                                                : QString::fromLatin1(QSysInfo::machineUniqueId())),
        QStringLiteral("boot=") + (elsewhere ? QStringLiteral("ba5eba11") : QString::fromLatin1(QSysInfo::bootUniqueId())),
        QStringLiteral("process-start=") + (elsewhere ? QStringLiteral("777") : processStart()),
        QStringLiteral("end"),
    };
    return (lines.join(u'\n') + u'\n').toUtf8();
}

QString started()
{
    return ProgramLock::shownTime(QDateTime::fromString(QStringLiteral("2026-03-05T14:07:00+03:00"), Qt::ISODate));
}

} // namespace

class TestStartupLock : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { ProgramLock::release(); }
    void eachLockAsTheUserMeetsIt_data();
    void eachLockAsTheUserMeetsIt();
};

void TestStartupLock::eachLockAsTheUserMeetsIt_data()
{
    QTest::addColumn<QString>("lock"); // what lies in the folder
    QTest::addColumn<QList<Button>>("answers");
    QTest::addColumn<bool>("goesOn");
    QTest::addColumn<QStringList>("boxes"); // the start of each box's text
    QTest::addColumn<bool>("lockIsOurs"); // else it is as it was

    const QString question = QStringLiteral("Program bu klasörden başka bir bilgisayarda açık görünüyor:");
    const QString unreadable = QStringLiteral("Program klasöründeki kilit dosyası (Zenparol.lock) okunamadı");
    QTest::newRow("none") << "none" << QList<Button>{} << true << QStringList{} << true;
    QTest::newRow("another computer's, Evet") << "elsewhere" << QList<Button>{Button::Yes} << true
                                              << QStringList{question} << true;
    QTest::newRow("another computer's, Hayır") << "elsewhere" << QList<Button>{Button::No} << false
                                               << QStringList{question} << false;
    QTest::newRow("unreadable, Evet") << "garbage" << QList<Button>{Button::Yes} << true << QStringList{unreadable}
                                      << true;
    QTest::newRow("unreadable, Hayır") << "garbage" << QList<Button>{Button::No} << false << QStringList{unreadable}
                                       << false;
    QTest::newRow("a running copy") << "running" << QList<Button>{} << false
                                    << QStringList{QStringLiteral("Program bu klasörden zaten çalışıyor.")} << false;
    QTest::newRow("a folder in its place, Evet")
        << "folder" << QList<Button>{Button::Yes} << false
        << QStringList{unreadable, QStringLiteral("Kilit dosyası kaldırılamadı: ")} << false;
}

void TestStartupLock::eachLockAsTheUserMeetsIt()
{
    QFETCH(QString, lock);
    QFETCH(QList<Button>, answers);
    QFETCH(bool, goesOn);
    QFETCH(QStringList, boxes);
    QFETCH(bool, lockIsOurs);
    ProgramFolderFixture folder;
    QByteArray before;
    if (lock == QLatin1String("folder"))
        QVERIFY(QDir(folder.path()).mkdir(ProgramLock::fileName()));
    else if (lock != QLatin1String("none"))
        before = lock == QLatin1String("garbage") ? QByteArray("?") : lockRecord(lock == QLatin1String("elsewhere"));
    if (!before.isEmpty())
        folder.writeFile(ProgramLock::fileName(), before);

    MessageRecorder recorder(answers);
    QCOMPARE(StartupLock::take(), goesOn);
    QCOMPARE(recorder.requests().size(), boxes.size());
    for (qsizetype i = 0; i < boxes.size(); ++i) {
        const MessageBoxes::Request &box = recorder.requests()[i];
        QVERIFY2(box.text.startsWith(boxes[i]), qPrintable(box.text));
        QCOMPARE(box.icon, Icon::Warning);
        const bool question = box.buttons.size() == 2;
        if (question) {
            // A step that is hard to take back: Enter and Esc say no.
            QCOMPARE(box.buttons, (QList<Button>{Button::Yes, Button::No}));
            QCOMPARE(box.defaultButton, Button::No);
            QCOMPARE(box.caption, QStringLiteral("Mirvasel"));
        } else {
            QCOMPARE(box.buttons, QList<Button>{Button::Ok});
        }
    }
    if (lock == QLatin1String("elsewhere")) {
        const QString &text = recorder.requests().first().text;
        for (const QString &said : {QStringLiteral("Bilgisayar: MUHASEBE-2"), QStringLiteral("Kullanıcı: ayşe"),
                                    QStringLiteral("Açılış: ") + started(),
                                    QStringLiteral("yalnızca program orada gerçekten kapalıysa güvenlidir")})
            QVERIFY2(text.contains(said), qPrintable(said));
    }
    if (lock == QLatin1String("running")) {
        const QString &text = recorder.requests().first().text;
        QVERIFY2(text.contains(QStringLiteral("Bilgisayar: %1 (bu bilgisayar)").arg(QSysInfo::machineHostName()))
                     && text.contains(QStringLiteral("Açılış: ") + started()),
                 qPrintable(text));
    }

    const QByteArray after = folder.readFile(ProgramLock::fileName());
    if (lockIsOurs) {
        QVERIFY2(after.contains("\npid=" + QByteArray::number(QCoreApplication::applicationPid()) + '\n')
                     && !after.contains("MUHASEBE-2"),
                 after.constData());
    } else {
        QCOMPARE(after, before);
    }
}

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    TestStartupLock test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_StartupLock.moc"
