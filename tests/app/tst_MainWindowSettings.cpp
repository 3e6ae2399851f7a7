#include "app/MainWindowSettings.h"
#include "app/PayeeFieldGroup.h"
#include "app/TForm1.h"
#include "base/ProfileFile.h"
#include "support/MessageRecorder.h"
#include "support/ProgramFolderFixture.h"
#include "support/TemporaryPayeeDatabase.h"

#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QSplitter>
#include <QtTest>

using MessageBoxes::Button;

class TestMainWindowSettings : public QObject
{
    Q_OBJECT

private slots:
    void freshStart();
    void valuesFromTheFile();
    void closeWritesEverySectionInOrder();
    void roundTripThroughTheWindow();
    void paneWidthFollowsTheSplitter();
    void failedSaveIsReportedAndTheExitQuestionFollows();
};

void TestMainWindowSettings::freshStart()
{
    ProgramFolderFixture folder;
    createEmptyPayeeDatabase();
    TForm1 window;
    window.show();
    const MainWindowColours colours = window.colours();
    QCOMPARE(colours, MainWindowColours{});
    QCOMPARE(colours.gridAlternative, 14738665);
    QCOMPARE(window.leftPaneWidth(), 185);

    QLineEdit *name = window.payeeFields(PaymentCategory::Pharmacy)->edit(0);
    QCOMPARE(name->palette().color(QPalette::Base), QColor(Qt::white));
    QCOMPARE(name->palette().color(QPalette::Text), QColor(Qt::black));
    auto *workArea = window.findChild<QWidget *>(QStringLiteral("Panel5"));
    QCOMPARE(workArea->palette().color(QPalette::Window), QColor(192, 192, 192));
    QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("Zenparol.ini"))));
}

void TestMainWindowSettings::valuesFromTheFile()
{
    ProgramFolderFixture folder;
    createEmptyPayeeDatabase();
    folder.writeFile(QStringLiteral("Zenparol.ini"),
                     "[Pen Ayar]\r\nKonum=0x100\r\n"
                     "[Ek Dokumanlar]\r\nRakam3=abc\r\nRakam4=2\r\nYazi5=Adet Fatura (as\xFDl)\r\n"
                     "[Colors]\r\nEdits=65535\r\nEditsFont=255\r\nBRound=$FF0000\r\n");
    MainWindowSettings settings;
    settings.attachments.counts[2] = 7;
    settings.load(ProfileFile());
    QCOMPARE(settings.leftPaneWidth, 256);
    QCOMPARE(settings.attachments.counts[2], 7); // not a number: the current value stays
    QCOMPARE(settings.attachments.counts[3], 2);
    QCOMPARE(settings.attachments.descriptions[4], QStringLiteral("Adet Fatura (asıl)"));

    TForm1 window;
    window.resize(900, 600);
    window.show();
    QCOMPARE(window.leftPaneWidth(), 256);
    QCOMPARE(window.colours().edits, 65535);
    QCOMPARE(window.colours().gridSelect, 0); // absent: the default
    QLineEdit *search = window.findChild<QLineEdit *>(QStringLiteral("Edit33"));
    QCOMPARE(search->palette().color(QPalette::Base), QColor(255, 255, 0));
    QCOMPARE(search->palette().color(QPalette::Text), QColor(255, 0, 0));
    auto *selector = window.findChild<QComboBox *>(QStringLiteral("ComboBox1"));
    QCOMPARE(selector->palette().color(QPalette::Base), QColor(255, 255, 0));
    // A combo box without typing paints its face in the button colour.
    const QImage face = selector->grab().toImage();
    int yellowish = 0;
    for (int y = 0; y < face.height(); ++y) {
        for (int x = 0; x < face.width(); ++x) {
            const QColor pixel = face.pixelColor(x, y);
            yellowish += pixel.red() > 200 && pixel.green() > 200 && pixel.blue() < 120;
        }
    }
    QVERIFY2(yellowish * 2 > face.width() * face.height(), qPrintable(QString::number(yellowish)));
    QLineEdit *taxOffice = window.payeeFields(PaymentCategory::Private)->edit(4);
    QCOMPARE(taxOffice->palette().color(QPalette::Base), QColor(255, 255, 0));
    auto *workArea = window.findChild<QWidget *>(QStringLiteral("Panel5"));
    QCOMPARE(workArea->palette().color(QPalette::Window), QColor(0, 0, 255));
}

void TestMainWindowSettings::closeWritesEverySectionInOrder()
{
    ProgramFolderFixture folder;
    createEmptyPayeeDatabase();
    TForm1 window;
    window.show();
    MessageRecorder recorder({Button::No});
    window.close();
    QVERIFY(window.isVisible()); // the user stayed, but the settings are written
    const QString text = QString::fromLatin1(folder.readFile(QStringLiteral("Zenparol.ini")));
    const QStringList expectedOrder{
        QStringLiteral("[Extra]"), QStringLiteral("Baslik2=Kamu Personeli .......... Giderleri"),
        QStringLiteral("[Pen Ayar]"), QStringLiteral("Konum=185"),
        QStringLiteral("[Ek Dokumanlar]"), QStringLiteral("Yazi1="), QStringLiteral("Yazi20="),
        QStringLiteral("Rakam1=0"), QStringLiteral("Rakam20=0"),
        QStringLiteral("[Colors]"), QStringLiteral("GridAlternatif=14738665"), QStringLiteral("GridSelect=0"),
        QStringLiteral("GridSelectTxt=65280"), QStringLiteral("Edits=16777215"), QStringLiteral("EditsFont=0"),
        QStringLiteral("BRound=12632256")};
    qsizetype from = 0;
    for (const QString &line : expectedOrder) {
        const qsizetype at = text.indexOf(line, from);
        QVERIFY2(at >= 0, qPrintable(line + QStringLiteral(" missing or out of order in\n") + text));
        from = at + line.size();
    }
}

void TestMainWindowSettings::roundTripThroughTheWindow()
{
    ProgramFolderFixture folder;
    createEmptyPayeeDatabase();
    MainWindowColours chosen;
    chosen.gridAlternative = 0x00FFEEDD;
    chosen.edits = 0x00CCFFFF;
    chosen.editsFont = 0x00000080;
    chosen.background = 0x00808000;
    {
        TForm1 window;
        window.show();
        window.applyColours(chosen);
        MessageRecorder recorder({Button::Yes});
        window.close();
    }
    TForm1 reopened;
    QCOMPARE(reopened.colours(), chosen);
}

void TestMainWindowSettings::paneWidthFollowsTheSplitter()
{
    ProgramFolderFixture folder;
    createEmptyPayeeDatabase();
    {
        TForm1 window;
        window.resize(900, 600);
        window.show();
        auto *splitter = window.findChild<QSplitter *>(QStringLiteral("Splitter1"));
        splitter->setSizes({240, 600});
        QCOMPARE(window.leftPaneWidth(), 240);
        MessageRecorder recorder({Button::Yes});
        window.close();
    }
    QCOMPARE(ProfileFile().readInteger(u"Pen Ayar", u"Konum", 0), 240);
    TForm1 reopened;
    reopened.resize(900, 600);
    reopened.show();
    QCOMPARE(reopened.leftPaneWidth(), 240);
}

void TestMainWindowSettings::failedSaveIsReportedAndTheExitQuestionFollows()
{
    ProgramFolderFixture folder;
    createEmptyPayeeDatabase();
    // A folder in the place of the file: no save can replace it.
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("Zenparol.ini")));
    TForm1 window;
    window.show();
    MessageRecorder recorder({Button::Ok, Button::No});
    window.close();
    QCOMPARE(recorder.requests().size(), 2);
    QCOMPARE(recorder.requests()[0].caption, QStringLiteral("Mirvasel"));
    QVERIFY(recorder.requests()[0].text.startsWith(QStringLiteral("Unable to write to ")));
    QVERIFY(recorder.requests()[0].text.contains(QStringLiteral("Zenparol.ini")));
    QCOMPARE(recorder.requests()[1].text, QStringLiteral("Programdan çıkmak istiyor musunuz?"));
}

QTEST_MAIN(TestMainWindowSettings)
#include "tst_MainWindowSettings.moc"
