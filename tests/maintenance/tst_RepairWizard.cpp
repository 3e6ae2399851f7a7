#include "base/FolderAccess.h"
#include "desktop/HelpViewer.h"
#include "desktop/ProgramFont.h"
#include "maintenance/FileSizeText.h"
#include "maintenance/MaintenanceFiles.h"
#include "maintenance/ProgramRestart.h"
#include "maintenance/ProgressPause.h"
#include "maintenance/TFrmTamir.h"
#include "support/DatabaseFiles.h"
#include "support/MessageRecorder.h"
#include "support/TemporaryPayeeDatabase.h"
#include "support/WidgetLayout.h"

#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include <chrono>
#include <functional>

using namespace std::chrono_literals;
using MessageBoxes::Button;
using MessageBoxes::Icon;
using Steps = QList<std::pair<int, int>>;

namespace {

const QString kFailureStatus = QStringLiteral("Hata! Veritabanının adı değiştirilmiş veya kullanımda !");

// The wizard as the main window leaves it: the database released. Boxes
// are answered, pauses counted at once with where the bar stood, and the
// restart recorded instead of done.
struct Harness
{
    TemporaryPayeeDatabase database;
    MessageRecorder boxes;
    Steps pauses;
    QStringList startCaptions; // the start button's caption at each pause
    std::function<void(int)> duringPause;
    QList<ProgramRestart::Launch> launches;
    QList<int> exits;
    TFrmTamir wizard;
    // They end first, while the wizard and what they record are still there.
    const ScopedOverride<ProgressPause::Handler> pauseCounter
        = ProgressPause::overrideHandler([this](int milliseconds) {
              pauses.append({child<QProgressBar>("ProgressBar1")->value(), milliseconds});
              startCaptions.append(child<QPushButton>("BitBtn1")->text());
              if (duringPause)
                  duringPause(int(pauses.size()));
          });
    const ScopedOverride<ProgramRestart::Launcher> launchRecorder
        = ProgramRestart::overrideLauncher([this](const ProgramRestart::Launch &launch) {
              launches.append(launch);
              return true;
          });
    const ScopedOverride<ProgramRestart::Ender> exitRecorder
        = ProgramRestart::overrideEnder([this](int code) { exits.append(code); });

    template<typename T>
    T *child(const char *name) const
    {
        return wizard.findChild<T *>(QString::fromLatin1(name));
    }
    QString text(const char *label) const { return child<QLabel>(label)->text(); }
    QColor colour(const char *label) const { return child<QLabel>(label)->palette().color(QPalette::WindowText); }
    void click(const char *button) { QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton); }
    QString databasePath() const { return database.filePath(); }

    void open()
    {
        database.database().close();
        wizard.show();
        QVERIFY(QTest::qWaitForWindowExposed(&wizard));
    }
};

void restartsOnce(Harness &h)
{
    QCOMPARE(h.launches, QList<ProgramRestart::Launch>{ProgramRestart::ownLaunch()});
    QCOMPARE(h.exits, QList<int>{0});
}

} // namespace

class TestRepairWizard : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void opensWithTheSizeBeforeAndNoWayOutButItsButtons();
    void cancelRestartsWithTheDatabaseUntouched();
    void compactionRunsItsStepsAndOffersTheRestart();
    void unchangedSizeIsSaidSo();
    void failureEndsInTheFailureBranch_data();
    void failureEndsInTheFailureBranch();
    void repairTellsHowManyRecordsCameBack();
    void commandsWaitForTheWholeCompaction();
    void aRunningCommandIsSaidSoAndTheWizardStays();
    void helpIsTopicFour();
    void layoutReadsWell();
};

void TestRepairWizard::initTestCase()
{
    ProgramFont::applyToApplication();
}

void TestRepairWizard::opensWithTheSizeBeforeAndNoWayOutButItsButtons()
{
    Harness h;
    DatabaseFiles::addPayees(h.database, PaymentCategory::Pharmacy, 100, 100);
    h.open();
    QCOMPARE(h.wizard.windowTitle(), QStringLiteral(" Veritabanı Bakım ve Onarım Sihirbazı"));
    QCOMPARE(h.text("Label5"), FileSizeText(h.databasePath()));
    QVERIFY(h.text("Label5").endsWith(QStringLiteral(" KB")));
    QCOMPARE(h.colour("Label5"), QColor(0x80, 0, 0));
    QCOMPARE(h.text("Label6"), QStringLiteral("..."));
    QCOMPARE(h.colour("Label6"), QColor(0, 0, 0xFF));
    QCOMPARE(h.text("Label3"), QStringLiteral("Gösterge Paneli "));
    QVERIFY(!h.child<QLabel>("Label3")->isEnabled());
    QCOMPARE(h.child<QPushButton>("BitBtn1")->text(), QStringLiteral("Başla"));
    QCOMPARE(h.child<QPushButton>("BitBtn2")->text(), QStringLiteral("İptal"));

    QVERIFY(!(h.wizard.windowFlags() & Qt::WindowCloseButtonHint));
    QTest::keyClick(&h.wizard, Qt::Key_Escape);
    h.wizard.close();
    QVERIFY(h.wizard.isVisible());
    QCOMPARE(h.wizard.state(), TFrmTamir::State::Shown);
    QVERIFY(h.launches.isEmpty());
}

void TestRepairWizard::cancelRestartsWithTheDatabaseUntouched()
{
    Harness h;
    DatabaseFiles::addPayees(h.database, PaymentCategory::Pharmacy, 100);
    h.open();
    const QByteArray before = DatabaseFiles::fileBytes(h.databasePath());
    h.click("BitBtn2");
    restartsOnce(h);
    QCOMPARE(DatabaseFiles::fileBytes(h.databasePath()), before);
    QCOMPARE(h.database.folderEntries(), QStringList{QStringLiteral("Data.dat")});
    QVERIFY(h.pauses.isEmpty());
}

void TestRepairWizard::compactionRunsItsStepsAndOffersTheRestart()
{
    Harness h;
    DatabaseFiles::addPayees(h.database, PaymentCategory::Pharmacy, 1200, 150);
    QVERIFY(!h.database.connection().execute(QStringLiteral("DELETE FROM Eczane WHERE Id > 300")).isError());
    h.open();
    const QMap<QString, QStringList> rows = DatabaseFiles::allRows(h.databasePath());

    h.click("BitBtn1");
    QCOMPARE(h.pauses, (Steps{{25, 500}, {35, 500}, {45, 500}, {50, 500}, {60, 500}, {75, 1000}, {100, 1500}}));
    QCOMPARE(h.startCaptions, QStringList(7, QStringLiteral("Bekleyiniz ...")));
    QCOMPARE(h.wizard.state(), TFrmTamir::State::Finished);
    QCOMPARE(h.text("Label3"), QStringLiteral("İşlem başarıyla tamamlandı"));
    QVERIFY(h.child<QLabel>("Label3")->isEnabled());
    QCOMPARE(h.child<QPushButton>("BitBtn1")->text(), QStringLiteral("Programı Başlat"));
    QVERIFY(h.child<QPushButton>("BitBtn1")->isEnabled());
    QVERIFY(!h.child<QPushButton>("BitBtn2")->isEnabled());
    QVERIFY(!QGuiApplication::overrideCursor());
    QCOMPARE(h.text("Label6"), FileSizeText(h.databasePath()));
    QVERIFY(h.text("Label6") != h.text("Label5"));
    QVERIFY2(h.boxes.requests().isEmpty(), qPrintable(h.boxes.texts().join(u'\n')));
    QCOMPARE(DatabaseFiles::allRows(h.databasePath()), rows);
    QCOMPARE(h.database.folderEntries(), QStringList{QStringLiteral("Data.dat")});

    QVERIFY(h.launches.isEmpty());
    h.click("BitBtn2");
    h.click("BitBtn1");
    restartsOnce(h);
}

void TestRepairWizard::unchangedSizeIsSaidSo()
{
    Harness h;
    h.open();
    h.click("BitBtn1");
    QCOMPARE(h.text("Label3"), QStringLiteral("İşlem başarıyla tamamlandı"));
    QCOMPARE(h.text("Label6"), h.text("Label5"));
    QCOMPARE(h.boxes.requests().size(), 1);
    const MessageBoxes::Request box = h.boxes.requests().first();
    QCOMPARE(box.caption, QStringLiteral("Mirvasel"));
    QCOMPARE(box.text, QStringLiteral("Veritabanı performansı en iyi durumda. Değişik yapılmadı."));
    QCOMPARE(box.icon, Icon::Information);
    QCOMPARE(box.buttons, QList<Button>{Button::Ok});
}

void TestRepairWizard::failureEndsInTheFailureBranch_data()
{
    QTest::addColumn<bool>("missing");
    QTest::addColumn<QString>("said");
    QTest::addColumn<Steps>("steps");
    QTest::newRow("no database") << true << "Veritabanı sıkıştırılamadı: veritabanı dosyası bulunamadı"
                                 << Steps{{10, 500}, {20, 500}};
    // Another program starts writing while the wizard pauses.
    QTest::newRow("the database written meanwhile")
        << false << "Sıkıştırılan veritabanı yerine konamadı: "
        << Steps{{25, 500}, {35, 500}, {45, 500}, {50, 500}};
}

void TestRepairWizard::failureEndsInTheFailureBranch()
{
    QFETCH(bool, missing);
    QFETCH(QString, said);
    QFETCH(Steps, steps);
    Harness h;
    DatabaseFiles::addPayees(h.database, PaymentCategory::Pharmacy, 100);
    const QString journal = MaintenanceFiles::journalOf(h.databasePath());
    if (missing) {
        h.database.database().close();
        QVERIFY(QFile::remove(h.databasePath()));
    } else {
        h.duringPause = [journal](int pause) {
            if (pause == 2)
                QFile(journal).open(QIODevice::WriteOnly);
        };
    }
    h.open();
    const QByteArray before = DatabaseFiles::fileBytes(h.databasePath());
    if (missing)
        QCOMPARE(h.text("Label5"), QStringLiteral("Veritabanı dosyası bulunamadı!"));

    h.click("BitBtn1");
    QCOMPARE(h.pauses, steps);
    QCOMPARE(h.text("Label3"), kFailureStatus);
    QVERIFY(h.child<QLabel>("Label3")->isEnabled());
    QCOMPARE(h.colour("Label3"), QColor(0x80, 0, 0));
    QCOMPARE(h.child<QPushButton>("BitBtn1")->text(), QStringLiteral("İşlem Başarısız"));
    QVERIFY(h.child<QPushButton>("BitBtn1")->isEnabled());
    QVERIFY(!h.child<QPushButton>("BitBtn2")->isEnabled());
    QCOMPARE(h.text("Label6"), QStringLiteral("..."));
    QVERIFY(!QGuiApplication::overrideCursor());
    QCOMPARE(h.boxes.requests().size(), 1);
    QCOMPARE(h.boxes.requests().first().caption, QStringLiteral("Hata"));
    QVERIFY2(h.boxes.requests().first().text.startsWith(said), qPrintable(h.boxes.texts().first()));
    QCOMPARE(DatabaseFiles::fileBytes(h.databasePath()), before);
    QVERIFY(!QFileInfo::exists(MaintenanceFiles::compactionFilePath()));

    h.click("BitBtn1");
    restartsOnce(h);
    QFile::remove(journal);
}

void TestRepairWizard::repairTellsHowManyRecordsCameBack()
{
    Harness h;
    DatabaseFiles::addPayees(h.database, PaymentCategory::Pharmacy, 1500, 200);
    h.database.database().close();
    const int page = DatabaseFiles::pageToDamage(h.databasePath(), QStringLiteral("Eczane"),
                                                 QStringLiteral("Eczane_EczaneAdi"), true);
    QVERIFY(page > 0);
    DatabaseFiles::damagePage(h.databasePath(), page);
    h.open();

    h.click("BitBtn1");
    QCOMPARE(h.pauses.size(), 7);
    const qint64 saved = DatabaseFiles::allRows(h.databasePath()).value(QStringLiteral("Eczane")).size();
    QVERIFY(saved > 1400 && saved < 1500);
    const QString status = h.text("Label3");
    QCOMPARE(status, QStringLiteral("Onarıldı: %1 kayıt kurtarıldı, %2 kayıt okunamadı")
                         .arg(QLocale(QLocale::Turkish).toString(saved))
                         .arg(1500 - saved));
    QCOMPARE(h.colour("Label3"), QColor(0x80, 0, 0));
    QCOMPARE(h.child<QPushButton>("BitBtn1")->text(), QStringLiteral("Programı Başlat"));

    // One box tells the counts and where the damaged file is kept.
    QCOMPARE(h.boxes.requests().size(), 1);
    const QString report = h.boxes.texts().first();
    QVERIFY2(report.contains(QStringLiteral("Okunamayan kayıt: %1").arg(1500 - saved)), qPrintable(report));
    const QString kept = QStringLiteral("Data.dat.bozuk-") + QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
    QVERIFY2(report.contains(kept), qPrintable(report));
    QCOMPARE(h.database.folderEntries(), (QStringList{QStringLiteral("Data.dat"), kept}));
}

void TestRepairWizard::helpIsTopicFour()
{
    Harness h;
    QList<int> topics;
    const auto help = HelpViewer::overrideRequestHandler([&topics](int topic) { topics << topic; });
    h.open();
    QTest::mouseClick(h.child<QToolButton>("SpeedButton1"), Qt::LeftButton);
    QTest::keyClick(&h.wizard, Qt::Key_F1);
    QCOMPARE(topics, (QList<int>{4, 4}));
}

void TestRepairWizard::layoutReadsWell()
{
    Harness h;
    h.open();
    QCOMPARE(h.wizard.size(), QSize(408, 175));
    QStringList problems = WidgetLayout::problems(&h.wizard);
    // The longest captions the start button and the status line take.
    h.child<QPushButton>("BitBtn1")->setText(QStringLiteral("Programı Başlat"));
    h.child<QLabel>("Label3")->setText(kFailureStatus);
    h.child<QLabel>("Label6")->setText(QStringLiteral("Veritabanı dosyası bulunamadı!"));
    problems << WidgetLayout::problems(&h.wizard);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
}

void TestRepairWizard::commandsWaitForTheWholeCompaction()
{
    Harness h;
    DatabaseFiles::addPayees(h.database, PaymentCategory::Pharmacy, 100);
    h.open();
    QList<bool> refused;
    h.duringPause = [&](int) { refused.append(FolderAccess::forCommand(h.database.folder(), 0ms).failed()); };
    h.click("BitBtn1");
    QCOMPARE(h.wizard.state(), TFrmTamir::State::Finished);
    // From the copy to the rename, and not a moment longer.
    QCOMPARE(refused, (QList<bool>{true, true, true, true, false, false, false}));
}

void TestRepairWizard::aRunningCommandIsSaidSoAndTheWizardStays()
{
    Harness h;
    DatabaseFiles::addPayees(h.database, PaymentCategory::Pharmacy, 100);
    h.open();
    const QByteArray before = DatabaseFiles::fileBytes(h.databasePath());
    {
        const Result<FolderAccess> command = FolderAccess::forCommand(h.database.folder(), 0ms);
        QVERIFY(command.succeeded() && command->isLocked());
        const auto shortWait = FolderAccess::overrideWait(200ms);
        h.click("BitBtn1");
    }
    QCOMPARE(h.boxes.requests().size(), 1);
    const MessageBoxes::Request box = h.boxes.requests().first();
    QCOMPARE(box.caption, QStringLiteral("Hata"));
    QCOMPARE(box.icon, Icon::Error);
    QCOMPARE(box.text, QStringLiteral("Veritabanı sıkıştırılamadı. Program klasöründe şu anda pencere olmadan "
                                      "çalışan bir komut (--pdf, --orders-csv) sürüyor. İşlem başlatılmadı, hiçbir "
                                      "dosya değiştirilmedi; komut bittikten sonra yeniden deneyin."));
    // As it was shown: start again, or cancel.
    QCOMPARE(h.wizard.state(), TFrmTamir::State::Shown);
    QVERIFY(h.pauses.isEmpty());
    QCOMPARE(h.child<QPushButton>("BitBtn1")->text(), QStringLiteral("Başla"));
    QVERIFY(h.child<QPushButton>("BitBtn1")->isEnabled());
    QVERIFY(h.child<QPushButton>("BitBtn2")->isEnabled());
    QVERIFY(!QGuiApplication::overrideCursor());
    QVERIFY(h.launches.isEmpty());
    QCOMPARE(DatabaseFiles::fileBytes(h.databasePath()), before);
    QCOMPARE(h.database.folderEntries(), QStringList{QStringLiteral("Data.dat")});

    // The command has ended.
    h.click("BitBtn1");
    QCOMPARE(h.wizard.state(), TFrmTamir::State::Finished);
    QCOMPARE(h.text("Label3"), QStringLiteral("İşlem başarıyla tamamlandı"));
}

QTEST_MAIN(TestRepairWizard)
#include "tst_RepairWizard.moc"
