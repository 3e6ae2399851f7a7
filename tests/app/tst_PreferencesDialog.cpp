#include "computation/PreferenceSettings.h"
#include "app/TFrmAyar.h"
#include "base/ProfileFile.h"
#include "controls/ColourSwatch.h"
#include "controls/TAmountEdit.h"
#include "desktop/HelpViewer.h"
#include "desktop/MessageBoxes.h"
#include "support/BlockedSettingsFile.h"
#include "support/MessageRecorder.h"
#include "support/ProgramFolderFixture.h"
#include "support/SettingsFileKeys.h"
#include "support/WidgetLayout.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QToolButton>
#include "desktop/ProgramFont.h"

#include <QSpinBox>
#include <QtTest>

namespace {

// The dialog with its signals counted and its colour chooser answered.
struct Harness
{
    TFrmAyar dialog;
    QList<MainWindowColours> confirmed;
    int clears = 0;
    QList<QColor> presets; // what the chooser opened with
    QList<std::pair<QColor, bool>> answers; // colour picked, confirmed

    Harness()
    {
        QObject::connect(&dialog, &TFrmAyar::coloursConfirmed,
                         [this](const MainWindowColours &colours) { confirmed << colours; });
        QObject::connect(&dialog, &TFrmAyar::worksheetsClearRequested, [this] {
            QVERIFY(!dialog.isVisible());
            ++clears;
        });
        dialog.setColourChooser([this](QColorDialog &chooser) {
            presets << chooser.currentColor();
            if (answers.isEmpty())
                return false;
            const auto [colour, confirm] = answers.takeFirst();
            chooser.setCurrentColor(colour);
            return confirm;
        });
    }

    // The dialog builds its widgets when first shown; a look at them before
    // that has them built.
    template<typename T>
    T *child(const char *name)
    {
        dialog.ensureBuilt();
        return dialog.findChild<T *>(QString::fromLatin1(name));
    }
    QCheckBox *chkYazdir() { return child<QCheckBox>("ChkYazdir"); }
    QCheckBox *chkTarih() { return child<QCheckBox>("ChkTarih"); }
    TAmountEdit *edit1() { return child<TAmountEdit>("Edit1"); }
    QComboBox *cPara() { return child<QComboBox>("CPara"); }
    QSpinBox *guardDays() { return child<QSpinBox>("SpinMukerrer"); }
    ColourSwatch *swatch(const char *name) { return child<ColourSwatch>(name); }

    void click(const char *button)
    {
        auto *widget = child<QAbstractButton>(button);
        QVERIFY(widget);
        QTest::mouseClick(widget, Qt::LeftButton);
    }

    void open(const MainWindowColours &colours = MainWindowColours())
    {
        dialog.setSwatches(colours);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    }
};

MainWindowColours someColours()
{
    MainWindowColours colours;
    colours.gridAlternative = 0x00FFEEDD;
    colours.gridSelect = 0x00800000;
    colours.gridSelectText = 0x0000FFFF;
    colours.edits = 0x00E0FFFF;
    colours.editsFont = 0x00000080;
    colours.background = qint32(0xFF00000F); // a system colour, kept as it is
    return colours;
}

const QByteArray kSavedPreferences("[Ayar]\r\nOnIzle=0\r\nTarih=1\r\nDM=10,00\r\nPara=0\r\n");

} // namespace

class TestPreferencesDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void freshStart();
    void fileValuesReachTheControls_data();
    void fileValuesReachTheControls();
    void preferencesAreReadLive();
    void tamamStoresAndHandsOverTheColours();
    void tamamRefusedStaysOpenAppliesNothing_data();
    void tamamRefusedStaysOpenAppliesNothing();
    void iptalRestoresTheStoredValues();
    void resetThenIptal();
    void closeBoxKeepsTheControlsAsLeft_data();
    void closeBoxKeepsTheControlsAsLeft();
    void everyCloseRequestsTheClear_data();
    void everyCloseRequestsTheClear();
    void chooserStartsWithTheLastChosenColour();
    void anyButtonOnSwatchOrCaption_data();
    void anyButtonOnSwatchOrCaption();
    void openingShowsTheMainWindowsColoursAndTheLastPage();
    void helpTopic();
    void layoutReadsWell();
};

void TestPreferencesDialog::initTestCase()
{
    ProgramFont::applyToApplication();
}

void TestPreferencesDialog::freshStart()
{
    ProgramFolderFixture folder;
    Harness h;
    QCOMPARE(h.dialog.windowTitle(), QStringLiteral("Ayarlar"));
    QCOMPARE(h.dialog.size(), QSize(402, 234));
    QVERIFY(h.chkYazdir()->isChecked());
    QVERIFY(h.chkTarih()->isChecked());
    QCOMPARE(h.edit1()->text(), QStringLiteral("8,25"));
    QCOMPARE(h.edit1()->editType(), TAmountEdit::CurrencyType);
    QCOMPARE(h.edit1()->decimals(), 2);
    QCOMPARE(h.edit1()->amountMaxLength(), 20);
    QCOMPARE(h.edit1()->width(), 39);
    QCOMPARE(h.cPara()->count(), 2);
    QCOMPARE(h.cPara()->itemText(0), QStringLiteral("YTL - YKr"));
    QCOMPARE(h.cPara()->itemText(1), QStringLiteral("TL - Kr"));
    QCOMPARE(h.cPara()->currentIndex(), 1);

    const PaymentPreferences &preferences = h.dialog;
    QCOMPARE(double(preferences.stampDutyRate()), 8.25);
    QCOMPARE(preferences.currencyChoice(), 1);
    QVERIFY(preferences.previewBeforePrinting());
    QVERIFY(preferences.fillApprovalDates());
    QCOMPARE(h.dialog.preferences(), Preferences());

    const struct
    {
        const char *name;
        const char *text;
        const char *hint;
    } buttons[] = {
        {"SpeedButton1", "", "Yardım (F1)|Konu ile ilgili yardımı görüntüle"},
        {"BtnRenk", "Ayarları Sıfırla", "Sıfırla |Ayarları geri al ve orijinal ayarlara dön"},
        {"Button2", "İptal", "İptal Et|Değişiklikleri iptal et"},
        {"Button1", "Tamam", "Onayla |Değişiklikleri onayla"},
    };
    int previousLeft = -1;
    for (const auto &look : buttons) {
        auto *button = h.child<QAbstractButton>(look.name);
        QVERIFY2(button, look.name);
        QCOMPARE(button->text(), QString::fromUtf8(look.text));
        const QString hint = QString::fromUtf8(look.hint);
        QCOMPARE(button->toolTip(), hint.section(u'|', 0, 0));
        QCOMPARE(button->statusTip(), hint.section(u'|', 1));
        QVERIFY2(!(button->focusPolicy() & Qt::TabFocus), look.name);
        QVERIFY(button->x() > previousLeft);
        previousLeft = button->x();
    }
    QVERIFY(!h.child<QToolButton>("SpeedButton1")->icon().isNull());

    const char *swatchNames[] = {"Shape1", "Shape2", "Shape3", "Shape4", "Shape5", "Shape7"};
    const QStringList captions = {"Liste satırı alternatif renk", "Liste seçim rengi", "Liste seçili yazı rengi",
                                  "Zemin rengi", "Font rengi", "Arkaplan rengi"};
    for (int i = 0; i < 6; ++i) {
        ColourSwatch *swatch = h.swatch(swatchNames[i]);
        QVERIFY2(swatch, swatchNames[i]);
        QCOMPARE(swatch->size(), QSize(17, 17));
        QCOMPARE(swatch->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(swatch->caption()->text(), captions.at(i));
        QCOMPARE(swatch->caption()->cursor().shape(), Qt::PointingHandCursor);
        QVERIFY(swatch->caption()->x() > swatch->x());
        // Three to a column, the left column first.
        QCOMPARE(swatch->x() == h.swatch("Shape1")->x(), i < 3);
    }
    QCOMPARE(h.dialog.swatches(), MainWindowColours());
    QCOMPARE(h.child<QColorDialog>("CDlg")->parent(), &h.dialog);
}

void TestPreferencesDialog::fileValuesReachTheControls_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("preview");
    QTest::addColumn<bool>("dates");
    QTest::addColumn<QString>("rateText");
    QTest::addColumn<double>("rate");
    QTest::addColumn<int>("currency");

    QTest::addColumn<int>("guardDays");

    QTest::newRow("all of them")
        << QByteArray("[Ayar]\r\nOnIzle=0\r\nTarih=0\r\nDM=12,50\r\nPara=0\r\nMukerrerGun=0\r\n") << false << false
        << "12,50" << 12.5 << 0 << 0;
    QTest::newRow("any other index is TL") << QByteArray("[ayar]\r\nPara=7\r\n") << true << true << "8,25" << 8.25 << 1
                                           << 45;
    QTest::newRow("numbers as Windows reads them")
        << QByteArray("[Ayar]\r\nOnIzle=0x0\r\nTarih=2\r\nPara=$0\r\nMukerrerGun=0x1E\r\n") << false << true << "8,25"
        << 8.25 << 0 << 30;
    QTest::newRow("unreadable keeps the default")
        << QByteArray("[Ayar]\r\nOnIzle=evet\r\nPara=TL\r\nMukerrerGun=otuz\r\n") << true << true << "8,25" << 8.25
        << 1 << 45;
    QTest::newRow("days the dialog cannot show keep the default")
        << QByteArray("[Ayar]\r\nMukerrerGun=-3\r\n") << true << true << "8,25" << 8.25 << 1 << 45;
    QTest::newRow("empty rate reads 0") << QByteArray("[Ayar]\r\nDM=\r\n") << true << true << "" << 0.0 << 1 << 45;
}

void TestPreferencesDialog::fileValuesReachTheControls()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, preview);
    QFETCH(bool, dates);
    QFETCH(QString, rateText);
    QFETCH(double, rate);
    QFETCH(int, currency);
    QFETCH(int, guardDays);

    ProgramFolderFixture folder;
    folder.writeFile(QStringLiteral("Zenparol.ini"), file);
    Harness h;
    QCOMPARE(h.dialog.duplicateGuardDays(), guardDays);
    // In effect from the start, before the dialog's widgets exist.
    QCOMPARE(double(h.dialog.stampDutyRate()), rate);
    QCOMPARE(h.dialog.currencyChoice(), currency);
    QCOMPARE(h.dialog.previewBeforePrinting(), preview);
    QCOMPARE(h.dialog.fillApprovalDates(), dates);
    QVERIFY(!h.dialog.isBuilt());

    QCOMPARE(h.chkYazdir()->isChecked(), preview);
    QCOMPARE(h.chkTarih()->isChecked(), dates);
    QCOMPARE(h.edit1()->text(), rateText);
    QCOMPARE(h.cPara()->currentIndex(), currency);
    QCOMPARE(h.guardDays()->value(), guardDays);
    QCOMPARE(h.guardDays()->text(), guardDays == 0 ? QStringLiteral("Kapalı") : QStringLiteral("%1 gün").arg(guardDays));
    QCOMPARE(double(h.dialog.stampDutyRate()), rate);
    QCOMPARE(h.dialog.currencyChoice(), currency);
    QCOMPARE(h.dialog.previewBeforePrinting(), preview);
    QCOMPARE(h.dialog.fillApprovalDates(), dates);
}

void TestPreferencesDialog::preferencesAreReadLive()
{
    ProgramFolderFixture folder;
    Harness h;
    h.open();
    const PaymentPreferences &preferences = h.dialog;

    h.chkYazdir()->setChecked(false);
    QVERIFY(!preferences.previewBeforePrinting());
    h.chkTarih()->setChecked(false);
    QVERIFY(!preferences.fillApprovalDates());
    h.cPara()->setCurrentIndex(0);
    QCOMPARE(preferences.currencyChoice(), 0);

    // Typed like the user does: the amount control keeps its display form.
    h.edit1()->setFocus();
    h.edit1()->selectAll();
    QTest::keyClicks(h.edit1(), QStringLiteral("15"));
    QCOMPARE(double(preferences.stampDutyRate()), double(h.edit1()->textAsFloat()));
    QVERIFY(preferences.stampDutyRate() != 8.25L);
    // Nothing was stored: the file knows nothing of it.
    QVERIFY(!QFile::exists(ProfileFile::settingsFilePath()));
}

void TestPreferencesDialog::tamamStoresAndHandsOverTheColours()
{
    ProgramFolderFixture folder;
    folder.writeFile(QStringLiteral("Zenparol.ini"), "[Colors]\r\nBRound=12632256\r\n");
    Harness h;
    h.open(someColours());
    h.chkYazdir()->setChecked(false);
    h.cPara()->setCurrentIndex(0);
    h.edit1()->setText(QStringLiteral("6,50"));
    h.guardDays()->setValue(30);
    h.answers = {{QColor(255, 0, 0), true}};
    QTest::mousePress(h.swatch("Shape2"), Qt::LeftButton);

    h.click("Button1");
    QVERIFY(!h.dialog.isVisible());
    MainWindowColours expected = someColours();
    expected.gridSelect = 255;
    QCOMPARE(h.confirmed, QList<MainWindowColours>({expected}));

    const QList<SettingsFileKey> keys = settingsFileKeys(folder.readFile(QStringLiteral("Zenparol.ini")));
    QStringList written;
    for (const SettingsFileKey &key : keys)
        written << key.section + u'/' + key.key + u'=' + key.value;
    QCOMPARE(written, QStringList({"Colors/BRound=12632256", "Ayar/OnIzle=0", "Ayar/Tarih=1", "Ayar/DM=6,50",
                                   "Ayar/Para=0", "Ayar/MukerrerGun=30"}));

    // The next run starts with them.
    Harness restarted;
    QCOMPARE(restarted.dialog.preferences(), h.dialog.preferences());
    QCOMPARE(restarted.dialog.duplicateGuardDays(), 30);
}

void TestPreferencesDialog::tamamRefusedStaysOpenAppliesNothing_data()
{
    BlockedSettingsFile::addRows();
}

void TestPreferencesDialog::tamamRefusedStaysOpenAppliesNothing()
{
    QFETCH(bool, directoryInTheWay);
    ProgramFolderFixture folder;
    const QString path = ProfileFile::settingsFilePath();
    folder.writeFile(QStringLiteral("Zenparol.ini"), kSavedPreferences);
    Harness h;
    h.open(someColours());
    h.chkYazdir()->setChecked(true);
    h.edit1()->setText(QStringLiteral("7,00"));
    h.answers = {{QColor(0, 0, 255), true}};
    QTest::mousePress(h.swatch("Shape7"), Qt::LeftButton);
    const Preferences typed = h.dialog.preferences();
    const MainWindowColours chosen = h.dialog.swatches();

    BlockedSettingsFile blocked(path, directoryInTheWay);
    QVERIFY(blocked.isBlocked());
    MessageRecorder messages;
    h.click("Button1");
    QCOMPARE(messages.requests().size(), 1);
    const MessageBoxes::Request &box = messages.requests().first();
    QVERIFY2(BlockedSettingsFile::isUnableToWriteBox(box, path), qPrintable(box.text));
    QVERIFY(h.dialog.isVisible());
    QVERIFY(h.confirmed.isEmpty());
    QCOMPARE(h.clears, 0);
    QCOMPARE(h.dialog.preferences(), typed);
    QCOMPARE(h.dialog.swatches(), chosen);

    // Once the file can be written, the same "Tamam" goes through.
    QVERIFY(blocked.release());
    if (directoryInTheWay)
        folder.writeFile(QStringLiteral("Zenparol.ini"), kSavedPreferences);
    h.click("Button1");
    QCOMPARE(messages.requests().size(), 1);
    QCOMPARE(h.confirmed, QList<MainWindowColours>({chosen}));
    Harness restarted;
    QCOMPARE(restarted.dialog.preferences(), typed);
}

void TestPreferencesDialog::iptalRestoresTheStoredValues()
{
    {
        ProgramFolderFixture folder;
        folder.writeFile(QStringLiteral("Zenparol.ini"), kSavedPreferences);
        Harness h;
        const Preferences saved = h.dialog.preferences();
        QCOMPARE(saved, Preferences({false, true, QStringLiteral("10,00"), 0}));
        h.open(someColours());
        h.chkYazdir()->setChecked(true);
        h.chkTarih()->setChecked(false);
        h.edit1()->setText(QStringLiteral("1,00"));
        h.cPara()->setCurrentIndex(1);
        h.answers = {{QColor(0, 255, 0), true}};
        QTest::mousePress(h.swatch("Shape1"), Qt::LeftButton);
        h.click("Button2");
        QVERIFY(!h.dialog.isVisible());
        QCOMPARE(h.dialog.preferences(), saved);
        QVERIFY(h.confirmed.isEmpty());
        QCOMPARE(folder.readFile(QStringLiteral("Zenparol.ini")), kSavedPreferences);
    }
    {
        // Nothing stored yet: "İptal" still takes back what was changed.
        ProgramFolderFixture folder;
        Harness h;
        h.open();
        h.chkYazdir()->setChecked(false);
        h.edit1()->setText(QStringLiteral("3,00"));
        h.click("Button2");
        QCOMPARE(h.dialog.preferences(), Preferences());
        QVERIFY(!QFile::exists(ProfileFile::settingsFilePath()));
    }
}

void TestPreferencesDialog::resetThenIptal()
{
    ProgramFolderFixture folder;
    folder.writeFile(QStringLiteral("Zenparol.ini"), kSavedPreferences);
    Harness h;
    h.open(someColours());
    h.chkTarih()->setChecked(false);

    h.click("BtnRenk");
    QVERIFY(h.dialog.isVisible());
    QCOMPARE(h.dialog.swatches(), MainWindowColours());
    QCOMPARE(h.dialog.swatches(), MainWindowColours());
    QVERIFY(h.chkYazdir()->isChecked());
    QCOMPARE(h.edit1()->text(), QStringLiteral("8,25"));
    QVERIFY(!h.chkTarih()->isChecked()); // as the user left it
    QCOMPARE(h.cPara()->currentIndex(), 0); // as stored, not the design value
    QVERIFY(h.confirmed.isEmpty());
    QCOMPARE(h.clears, 0);
    QCOMPARE(folder.readFile(QStringLiteral("Zenparol.ini")), kSavedPreferences);

    h.click("Button2");
    QVERIFY(!h.chkYazdir()->isChecked());
    QCOMPARE(h.edit1()->text(), QStringLiteral("10,00"));
    QVERIFY(h.chkTarih()->isChecked());
    QVERIFY(h.confirmed.isEmpty()); // the main window keeps its colours
    QCOMPARE(folder.readFile(QStringLiteral("Zenparol.ini")), kSavedPreferences);
}

void TestPreferencesDialog::closeBoxKeepsTheControlsAsLeft_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("close box") << false;
    QTest::newRow("Esc") << true;
}

void TestPreferencesDialog::closeBoxKeepsTheControlsAsLeft()
{
    QFETCH(bool, escape);
    ProgramFolderFixture folder;
    folder.writeFile(QStringLiteral("Zenparol.ini"), kSavedPreferences);
    Harness h;
    h.open();
    h.chkYazdir()->setChecked(true);
    h.edit1()->setText(QStringLiteral("2,00"));
    h.answers = {{QColor(1, 2, 3), true}};
    QTest::mousePress(h.swatch("Shape3"), Qt::LeftButton);
    const Preferences left = h.dialog.preferences();

    if (escape)
        QTest::keyClick(&h.dialog, Qt::Key_Escape);
    else
        h.dialog.close();
    QVERIFY(!h.dialog.isVisible());
    // In effect for the rest of the run, but neither stored nor applied.
    QCOMPARE(h.dialog.preferences(), left);
    QCOMPARE(double(h.dialog.stampDutyRate()), 2.0);
    QVERIFY(h.confirmed.isEmpty());
    QCOMPARE(folder.readFile(QStringLiteral("Zenparol.ini")), kSavedPreferences);
}

void TestPreferencesDialog::everyCloseRequestsTheClear_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Tamam") << "Button1";
    QTest::newRow("İptal") << "Button2";
    QTest::newRow("close box") << "close";
    QTest::newRow("Esc") << "Esc";
}

void TestPreferencesDialog::everyCloseRequestsTheClear()
{
    QFETCH(QString, how);
    ProgramFolderFixture folder;
    Harness h;
    for (int visit = 1; visit <= 2; ++visit) {
        // Nothing changed: the worksheets are cleared all the same.
        h.open();
        QCOMPARE(h.clears, visit - 1);
        if (how == u"close")
            h.dialog.close();
        else if (how == u"Esc")
            QTest::keyClick(&h.dialog, Qt::Key_Escape);
        else
            h.click(qPrintable(how));
        QVERIFY(!h.dialog.isVisible());
        QCOMPARE(h.clears, visit);
    }
}

void TestPreferencesDialog::chooserStartsWithTheLastChosenColour()
{
    ProgramFolderFixture folder;
    Harness h;
    h.open(someColours());
    const QColor red(255, 0, 0);

    h.answers = {{red, true}};
    QTest::mousePress(h.swatch("Shape1"), Qt::LeftButton);
    QCOMPARE(h.presets.value(0), QColor(Qt::black)); // not the swatch's colour
    QCOMPARE(h.swatch("Shape1")->colourValue(), 255);

    // Cancelled: the swatch keeps its colour and the chooser its last choice.
    h.answers = {{QColor(0, 0, 255), false}};
    QTest::mousePress(h.swatch("Shape4")->caption(), Qt::LeftButton);
    QCOMPARE(h.presets.value(1), red);
    QCOMPARE(h.swatch("Shape4")->colourValue(), someColours().edits);

    h.answers = {{QColor(0, 128, 0), true}};
    QTest::mousePress(h.swatch("Shape7"), Qt::LeftButton);
    QCOMPARE(h.presets.value(2), red);
    QCOMPARE(h.swatch("Shape7")->colourValue(), 128 * 256);

    // Also across openings and a cancelled dialog.
    h.click("Button2");
    h.open(someColours());
    QCOMPARE(h.dialog.swatches(), someColours());
    QTest::mousePress(h.swatch("Shape2"), Qt::LeftButton);
    QCOMPARE(h.presets.value(3), QColor(0, 128, 0));
    h.dialog.close();
}

void TestPreferencesDialog::anyButtonOnSwatchOrCaption_data()
{
    QTest::addColumn<QString>("swatch");
    QTest::addColumn<bool>("onCaption");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("Shape1 left") << "Shape1" << false << Qt::LeftButton;
    QTest::newRow("Shape2 right") << "Shape2" << false << Qt::RightButton;
    QTest::newRow("Shape3 caption middle") << "Shape3" << true << Qt::MiddleButton;
    QTest::newRow("Shape4 caption right") << "Shape4" << true << Qt::RightButton;
    QTest::newRow("Shape5 caption left") << "Shape5" << true << Qt::LeftButton;
    QTest::newRow("Shape7 middle") << "Shape7" << false << Qt::MiddleButton;
}

void TestPreferencesDialog::anyButtonOnSwatchOrCaption()
{
    QFETCH(QString, swatch);
    QFETCH(bool, onCaption);
    QFETCH(Qt::MouseButton, button);
    ProgramFolderFixture folder;
    Harness h;
    h.open();
    h.child<QTabWidget>("PageControl1")->setCurrentIndex(1);
    ColourSwatch *target = h.swatch(qPrintable(swatch));
    h.answers = {{QColor(10, 20, 30), true}};
    QTest::mousePress(onCaption ? static_cast<QWidget *>(target->caption()) : target, button);
    QCOMPARE(h.presets.size(), 1);
    QCOMPARE(target->colourValue(), 10 + 20 * 256 + 30 * 65536);

    // Only that swatch changed.
    int changed = 0;
    const MainWindowColours now = h.dialog.swatches();
    const MainWindowColours before;
    for (auto member : {&MainWindowColours::gridAlternative, &MainWindowColours::gridSelect,
                        &MainWindowColours::gridSelectText, &MainWindowColours::edits, &MainWindowColours::editsFont,
                        &MainWindowColours::background})
        changed += now.*member != before.*member;
    QCOMPARE(changed, 1);
    h.dialog.close();
}

void TestPreferencesDialog::openingShowsTheMainWindowsColoursAndTheLastPage()
{
    ProgramFolderFixture folder;
    Harness h;
    auto *pages = h.child<QTabWidget>("PageControl1");
    h.open(someColours());
    QCOMPARE(pages->currentIndex(), 0);
    QCOMPARE(h.dialog.swatches(), someColours());
    pages->setCurrentIndex(1);
    h.answers = {{QColor(9, 9, 9), true}};
    QTest::mousePress(h.swatch("Shape5"), Qt::LeftButton);
    h.dialog.close();

    // Not confirmed: the next opening shows the main window's colours again.
    h.open(someColours());
    QCOMPARE(h.dialog.swatches(), someColours());
    QCOMPARE(pages->currentIndex(), 1);
    h.click("Button1");
    QCOMPARE(h.confirmed, QList<MainWindowColours>({someColours()}));
}

void TestPreferencesDialog::helpTopic()
{
    ProgramFolderFixture folder;
    QList<int> topics;
    const auto help = HelpViewer::overrideRequestHandler([&topics](int topic) { topics << topic; });
    Harness h;
    h.open();
    QTest::keyClick(&h.dialog, Qt::Key_F1);
    QTest::keyClick(h.chkTarih(), Qt::Key_F1);
    QTest::keyClick(h.edit1(), Qt::Key_F1);
    h.click("SpeedButton1");
    QCOMPARE(topics, QList<int>({2, 2, 2, 2}));
    QVERIFY(h.dialog.isVisible());
    h.dialog.close();
}

void TestPreferencesDialog::layoutReadsWell()
{
    ProgramFolderFixture folder;
    Harness h;
    h.open();
    auto *pages = h.child<QTabWidget>("PageControl1");
    QStringList problems = WidgetLayout::problems(&h.dialog);
    pages->setCurrentIndex(1);
    QCoreApplication::processEvents();
    problems << WidgetLayout::problems(pages->currentWidget());
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
    h.dialog.close();
}

QTEST_MAIN(TestPreferencesDialog)
#include "tst_PreferencesDialog.moc"
