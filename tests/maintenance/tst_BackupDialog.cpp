#include "desktop/HelpViewer.h"
#include "desktop/ProgramFont.h"
#include "maintenance/ProgressPause.h"
#include "maintenance/TFrmYedek.h"
#include "support/DatabaseFiles.h"
#include "support/MessageRecorder.h"
#include "support/TemporaryPayeeDatabase.h"
#include "support/WidgetLayout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using MessageBoxes::Button;
using MessageBoxes::Icon;

namespace {

// The dialog over a payee database that the main window keeps open, with
// its boxes answered and its pauses counted at once: each pause is kept
// with where the bar stood.
struct Harness
{
    TemporaryPayeeDatabase database;
    QTemporaryDir location;
    MessageRecorder boxes;
    QList<std::pair<int, int>> pauses; // bar value, milliseconds
    TFrmYedek dialog; // made after the program folder is set
    // Ends first, while the dialog and the pauses are still there.
    const ScopedOverride<ProgressPause::Handler> pauseCounter
        = ProgressPause::overrideHandler([this](int milliseconds) {
              pauses.append({child<QProgressBar>("ProgressBar1")->value(), milliseconds});
              QVERIFY2(!child<QPushButton>("Button1")->isEnabled(), "a second run could start");
          });

    Harness() { DatabaseFiles::addPayees(database, PaymentCategory::Pharmacy, 40); }

    template<typename T>
    T *child(const char *name) const
    {
        return dialog.findChild<T *>(QString::fromLatin1(name));
    }

    void open()
    {
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    }

    void backUp(const QString &folderName)
    {
        dialog.selectLocation(location.path());
        child<QLineEdit>("Edit1")->setText(folderName);
        QTest::mouseClick(child<QPushButton>("Button1"), Qt::LeftButton);
    }
};

} // namespace

class TestBackupDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void backsUpIntoTheComposedFolderStepByStep();
    void nothingTickedIsWarnedOfAndNothingMade();
    void failureSaysWhyAndNeverSuccess_data();
    void failureSaysWhyAndNeverSuccess();
    void startsAtTheWorkingFolderAndKeepsTheLastChoice();
    void helpIsTopicThree();
    void layoutReadsWell();
};

void TestBackupDialog::initTestCase()
{
    ProgramFont::applyToApplication();
}

void TestBackupDialog::backsUpIntoTheComposedFolderStepByStep()
{
    Harness h;
    QVERIFY2(h.database.error().isEmpty(), qPrintable(h.database.error()));
    h.open();
    QCOMPARE(h.dialog.windowTitle(), QStringLiteral(" Yedekleme İşlemi"));
    QCOMPARE(h.child<QLineEdit>("Edit1")->text(), QStringLiteral("Yedek"));
    QVERIFY(h.child<QCheckBox>("CheckBox1")->isChecked());

    h.backUp(QStringLiteral("Yedek/2026"));
    const QList<std::pair<int, int>> steps = {{25, 100}, {50, 100}, {75, 100}, {100, 100}, {0, 100}};
    QCOMPARE(h.pauses, steps);
    QCOMPARE(h.boxes.requests().size(), 1);
    const MessageBoxes::Request box = h.boxes.requests().first();
    QCOMPARE(box.caption, QStringLiteral("Mirvasel"));
    QCOMPARE(box.text, QStringLiteral("Yedekleme işlemi başarıyla tamamlandı."));
    QCOMPARE(box.icon, Icon::Information);
    QCOMPARE(box.buttons, QList<Button>{Button::Ok});

    const QString backup = QDir(h.location.path()).filePath(QStringLiteral("Yedek/2026/Data.dat"));
    QCOMPARE(DatabaseFiles::allRows(backup), DatabaseFiles::allRows(h.database.filePath()));
    QCOMPARE(h.child<QProgressBar>("ProgressBar1")->value(), 0);
    QVERIFY(h.child<QPushButton>("Button1")->isEnabled());
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TestBackupDialog::nothingTickedIsWarnedOfAndNothingMade()
{
    Harness h;
    h.open();
    h.child<QCheckBox>("CheckBox1")->setChecked(false);
    h.backUp(QStringLiteral("Yedek"));
    QCOMPARE(h.boxes.requests().size(), 1);
    const MessageBoxes::Request box = h.boxes.requests().first();
    QCOMPARE(box.caption, QStringLiteral("Dikkat !"));
    QCOMPARE(box.text, QStringLiteral("Yedekleme için seçim yapılmadı !"));
    QCOMPARE(box.icon, Icon::Warning);
    QCOMPARE(box.buttons, QList<Button>{Button::Ok});
    QVERIFY(h.pauses.isEmpty());
    QVERIFY(QDir(h.location.path()).isEmpty());
}

void TestBackupDialog::failureSaysWhyAndNeverSuccess_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("said");
    QTest::addColumn<int>("pauses");
    QTest::newRow("no database") << "missing" << "Yedekleme yapılamadı: veritabanı dosyası bulunamadı" << 5;
    QTest::newRow("a folder that cannot be made") << "blocked" << "Yedekleme klasörü oluşturulamadı" << 5;
}

void TestBackupDialog::failureSaysWhyAndNeverSuccess()
{
    QFETCH(QString, failure);
    QFETCH(QString, said);
    QFETCH(int, pauses);
    Harness h;
    h.open();
    if (failure == QLatin1String("missing")) {
        h.database.database().close();
        QVERIFY(QFile::remove(h.database.filePath()));
    } else {
        QFile blocker(QDir(h.location.path()).filePath(QStringLiteral("Yedek")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    }
    h.backUp(QStringLiteral("Yedek"));

    QCOMPARE(h.boxes.requests().size(), 1);
    const MessageBoxes::Request box = h.boxes.requests().first();
    QCOMPARE(box.caption, QStringLiteral("Hata"));
    QCOMPARE(box.icon, Icon::Error);
    QVERIFY2(box.text.startsWith(said), qPrintable(box.text));
    QCOMPARE(h.pauses.size(), pauses);
    QCOMPARE(h.pauses.last(), (std::pair<int, int>(0, 100)));
    QCOMPARE(h.child<QProgressBar>("ProgressBar1")->value(), 0);
    QVERIFY(h.child<QPushButton>("Button1")->isEnabled());
    QVERIFY(!QGuiApplication::overrideCursor());
    // No folder made for a backup that was not made.
    const QStringList left = QDir(h.location.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    QCOMPARE(left, failure == QLatin1String("missing") ? QStringList() : QStringList{QStringLiteral("Yedek")});
    QVERIFY(!QFileInfo(QDir(h.location.path()).filePath(QStringLiteral("Yedek"))).isDir());
}

void TestBackupDialog::startsAtTheWorkingFolderAndKeepsTheLastChoice()
{
    Harness h;
    const QString working = QDir::currentPath();
    QVERIFY(QDir(h.location.path()).mkpath(QStringLiteral("Birinci/İkinci")));
    const QString first = QDir(h.location.path()).filePath(QStringLiteral("Birinci"));
    const QString second = QDir(first).filePath(QStringLiteral("İkinci"));
    QVERIFY(QDir::setCurrent(first));
    h.open();
    QDir::setCurrent(working);
    QCOMPARE(h.dialog.location(), first);
    QCOMPARE(h.dialog.backupFolder(), first + QStringLiteral("/Yedek/"));

    h.dialog.selectLocation(second);
    h.dialog.hide();
    h.open();
    QCOMPARE(h.dialog.location(), second);

    // Choosing a drive shows it from its root, which is then the location.
    auto *drives = h.child<QComboBox>("DriveComboBox1");
    QVERIFY(drives->count() > 0);
    drives->setCurrentIndex(0);
    h.dialog.DriveComboBox1Change();
    const QString root = drives->currentData().toString();
    QCOMPARE(h.dialog.location(), root);
    QCOMPARE(h.dialog.backupFolder(), root + QStringLiteral("Yedek/"));
}

void TestBackupDialog::helpIsTopicThree()
{
    Harness h;
    QList<int> topics;
    const auto help = HelpViewer::overrideRequestHandler([&topics](int topic) { topics << topic; });
    h.open();
    QTest::mouseClick(h.child<QToolButton>("SpeedButton1"), Qt::LeftButton);
    QTest::keyClick(&h.dialog, Qt::Key_F1);
    QCOMPARE(topics, (QList<int>{3, 3}));
}

void TestBackupDialog::layoutReadsWell()
{
    Harness h;
    h.open();
    QCOMPARE(h.dialog.size(), QSize(408, 228));
    const QStringList problems = WidgetLayout::problems(&h.dialog);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
}

QTEST_MAIN(TestBackupDialog)
#include "tst_BackupDialog.moc"
