#include "app/PayeeFieldGroup.h"
#include "app/ProgramWindows.h"
#include "app/TAbout.h"
#include "app/TForm1.h"
#include "app/TFrmAyar.h"
#include "maintenance/ProgramRestart.h"
#include "maintenance/TFrmTamir.h"
#include "maintenance/TFrmYedek.h"
#include "orders/TFrmBelgeler.h"
#include "issuing/PageOutput.h"
#include "printing/PaymentOrderPrinting.h"
#include "registry/OrderList.h"
#include "registry/PayeeList.h"
#include "base/ProfileFile.h"
#include "controls/TAmountEdit.h"
#include "controls/TStripedDBGrid.h"
#include "reference/TForm4.h"
#include "reference/TForm5.h"
#include "support/MessageRecorder.h"
#include "support/ProgramFolderFixture.h"
#include "support/TemporaryPayeeDatabase.h"
#include "support/UserActions.h"
#include "worksheets/WorksheetSet.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using MessageBoxes::Button;

// The six windows of a run, wired as the program wires them.
class TestProgramWindows : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void windowsAreCreatedOnceAndLive();
    void confirmedColoursReachTheMainWindow();
    void cancelledColoursDoNot();
    void everyPreferencesCloseClearsTheWorksheets();
    void choosingAKindClearsItsWorksheet();
    void stampDutyFollowsTheRateInEffect();
    void codesWindowOpeningModes();
    void idlePassFillsTheInstitutionYear();
    void yazdirPrintsTheChosenPayee();
    void issuedOrdersAreFoundAndNotPaidTwice();
    void onarHandsTheFileOverToTheWizard();
    void anOldProgramsFolderIsBroughtOver();
    void ordersWindowMarksItsRowsAsThePayeeLists();
    void fixedSizeDialogsHaveOnlyATitleAndAClose_data();
    void fixedSizeDialogsHaveOnlyATitleAndAClose();
    void startupNoticeOpensOverTheMainWindow();

private:
    std::unique_ptr<ProgramFolderFixture> m_folder;
    std::unique_ptr<ProgramWindows> m_windows;
    std::unique_ptr<MessageRecorder> m_recorder;
};

void TestProgramWindows::init()
{
    m_folder = std::make_unique<ProgramFolderFixture>();
    createEmptyPayeeDatabase();
    m_recorder = std::make_unique<MessageRecorder>();
    m_windows = std::make_unique<ProgramWindows>();
    m_windows->mainWindow()->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_windows->mainWindow()));
}

void TestProgramWindows::cleanup()
{
    m_windows.reset();
    m_recorder.reset();
    m_folder.reset();
}

void TestProgramWindows::windowsAreCreatedOnceAndLive()
{
    QVERIFY(m_windows->institution());
    QVERIFY(m_windows->codes());
    QVERIFY(m_windows->preferences());
    QVERIFY(m_windows->backup());
    QVERIFY(m_windows->repair());
    QVERIFY(m_windows->institution()->isHidden());
    QCOMPARE(m_windows->mainWindow()->windowTitle(), QStringLiteral("Mirvasel Belgesi 2.0.1"));
    QVERIFY(m_recorder->requests().isEmpty());
}

void TestProgramWindows::confirmedColoursReachTheMainWindow()
{
    TForm1 *window = m_windows->mainWindow();
    TFrmAyar *preferences = m_windows->preferences();
    MainWindowColours chosen = window->colours();
    chosen.gridSelect = 0x000000FF;
    chosen.edits = 0x00E0FFFF;
    chosen.background = 0x00404040;

    MainWindowColours shownAtOpening;
    QTimer::singleShot(0, preferences, [&] {
        shownAtOpening = preferences->swatches();
        preferences->setSwatches(chosen);
        UserActions::click(*preferences, "Button1");
    });
    UserActions::trigger(*window, "Ayarlar1");
    QCOMPARE(shownAtOpening, MainWindowColours{});
    QCOMPARE(window->colours(), chosen);
    QLineEdit *name = window->payeeFields(PaymentCategory::Hospital)->edit(0);
    QCOMPARE(name->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0xE0));
    QCOMPARE(window->listGrid(PaymentCategory::Private)->colorSelect(), QColor(0xFF, 0, 0));

    // The next opening shows the confirmed colours; the file gets them with
    // the main window's next save.
    QTimer::singleShot(0, preferences, [&] {
        shownAtOpening = preferences->swatches();
        UserActions::click(*preferences, "Button2");
    });
    UserActions::trigger(*window, "Ayarlar1");
    QCOMPARE(shownAtOpening, chosen);
    QCOMPARE(ProfileFile().readColour(u"Colors", u"GridSelect", -7), -7);
}

void TestProgramWindows::cancelledColoursDoNot()
{
    TForm1 *window = m_windows->mainWindow();
    TFrmAyar *preferences = m_windows->preferences();
    QTimer::singleShot(0, preferences, [&] {
        MainWindowColours changed;
        changed.background = 0x00112233;
        preferences->setSwatches(changed);
        UserActions::click(*preferences, "Button2");
    });
    UserActions::trigger(*window, "Ayarlar1");
    QCOMPARE(window->colours(), MainWindowColours{});
}

void TestProgramWindows::everyPreferencesCloseClearsTheWorksheets()
{
    TForm1 *window = m_windows->mainWindow();
    auto *amount = window->findChild<TAmountEdit *>(QStringLiteral("Edit50"));
    auto *rateAmount = window->findChild<TAmountEdit *>(QStringLiteral("Edit70"));
    QVERIFY(amount && rateAmount);
    amount->setTextAsFloat(150);
    rateAmount->setTextAsFloat(10);

    TFrmAyar *preferences = m_windows->preferences();
    QTimer::singleShot(0, preferences, [preferences] { preferences->reject(); });
    UserActions::trigger(*window, "Ayarlar1");
    QCOMPARE(amount->text(), QString());
    QCOMPARE(rateAmount->text(), QString());
}

void TestProgramWindows::choosingAKindClearsItsWorksheet()
{
    TForm1 *window = m_windows->mainWindow();
    auto *pharmacy = window->findChild<TAmountEdit *>(QStringLiteral("Edit1"));
    auto *hospital = window->findChild<TAmountEdit *>(QStringLiteral("Edit17"));
    QCOMPARE(pharmacy->text(), QStringLiteral("0,00"));
    hospital->setTextAsFloat(12);
    UserActions::choose(*window, "ComboBox1", 0);
    QCOMPARE(pharmacy->text(), QString());
    QCOMPARE(hospital->text(), QStringLiteral("12,00"));
    QVERIFY(window->findChild<QWidget *>(QStringLiteral("PageControl1"))->isHidden());
}

void TestProgramWindows::stampDutyFollowsTheRateInEffect()
{
    TForm1 *window = m_windows->mainWindow();
    UserActions::choose(*window, "ComboBox1", 0);
    m_windows->preferences()->ensureBuilt();
    auto *rate = m_windows->preferences()->findChild<TAmountEdit *>(QStringLiteral("Edit1"));
    QVERIFY(rate);
    rate->setText(QStringLiteral("10,00")); // not confirmed, but in effect
    auto *amount = window->findChild<TAmountEdit *>(QStringLiteral("Edit1"));
    amount->setTextAsFloat(1000);
    QCOMPARE(window->findChild<TAmountEdit *>(QStringLiteral("Edit4"))->text(), QStringLiteral("10,00"));
}

void TestProgramWindows::codesWindowOpeningModes()
{
    TForm1 *window = m_windows->mainWindow();
    TForm5 *codes = m_windows->codes();
    codes->ensureBuilt();
    auto *tabs = codes->findChild<QTabWidget *>();
    QVERIFY(tabs);
    QList<bool> visibleTabs;
    const auto recordAndClose = [&] {
        visibleTabs.clear();
        for (int i = 0; i < tabs->count(); ++i)
            visibleTabs.append(tabs->isTabVisible(i));
        codes->reject();
    };
    QTimer::singleShot(0, codes, recordAndClose);
    UserActions::click(*window, "BtnAyar");
    QCOMPARE(visibleTabs, (QList<bool>{false, false, false, true}));

    QTimer::singleShot(0, codes, recordAndClose);
    UserActions::trigger(*window, "Kodlar1");
    QCOMPARE(visibleTabs, (QList<bool>{true, true, true, true}));
    QCOMPARE(tabs->currentIndex(), 0);
}

void TestProgramWindows::idlePassFillsTheInstitutionYear()
{
    TForm4 *institution = m_windows->institution();
    institution->ensureBuilt();
    auto *automaticYear = institution->findChild<QCheckBox *>(QStringLiteral("CheckBox1"));
    auto *year = institution->findChild<QLineEdit *>(QStringLiteral("EdButceYili"));
    QVERIFY(automaticYear && year);
    // The pass runs when the event loop is about to wait for input.
    const auto idle = [] {
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    };
    automaticYear->setChecked(true);
    idle();
    QCOMPARE(year->text(), QString::number(QDate::currentDate().year()));
    automaticYear->setChecked(false);
    idle();
    QCOMPARE(year->text(), QString());
}

namespace {

// Where the printed pages go in a test: kept, not shown.
class KeptPages : public PageOutput
{
public:
    explicit KeptPages(QList<std::pair<PaymentOrderPage, QString>> *pages) : m_pages(pages) {}
    // The page is printed, from the preview or straight.
    Delivery deliver(const PaymentOrderPage &page, const QString &name, const Departure &left) override
    {
        m_pages->append({page, name});
        left(OrderWay::Printer);
        return Delivery::left();
    }

private:
    QList<std::pair<PaymentOrderPage, QString>> *m_pages;
};

// This process's open file descriptors on path, as "/proc/self/fd/N".
QStringList descriptorsOn(const QString &path)
{
    const QString target = QFileInfo(path).canonicalFilePath();
    QStringList held;
    const QDir descriptors(QStringLiteral("/proc/self/fd"));
    if (!descriptors.exists())
        qFatal("/proc/self/fd is needed to see the open files");
    for (const QString &name : descriptors.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        const QString link = descriptors.filePath(name);
        if (QFileInfo(link).symLinkTarget() == target)
            held.append(link);
    }
    return held;
}

} // namespace

// YAZDIR on a computed pharmacy payment puts the chosen payee and the entry
// on the form, with the institution's and the codes window's data, and is
// disabled until the next HESAPLA.
void TestProgramWindows::yazdirPrintsTheChosenPayee()
{
    TForm1 *window = m_windows->mainWindow();
    QList<std::pair<PaymentOrderPage, QString>> pages;
    window->printing()->setOutputs([&pages](bool) { return std::make_unique<KeptPages>(&pages); });
    UserActions::choose(*window, "ComboBox1", 0);
    PayeeList *pharmacies = window->payeeList(PaymentCategory::Pharmacy);
    QVERIFY(pharmacies->setField(PayeeColumn::Name, QStringLiteral("ŞİFA ECZANESİ")).succeeded());
    QVERIFY(pharmacies->setField(PayeeColumn::BankAccount, QStringLiteral("TR12 0001")).succeeded());
    QVERIFY(pharmacies->post().succeeded());

    window->findChild<TAmountEdit *>(QStringLiteral("Edit1"))->setTextAsFloat(1000);
    QCoreApplication::processEvents();
    UserActions::click(*window, "BtnHazir1");
    UserActions::click(*window, "BtnPrint");

    QCOMPARE(pages.size(), 1);
    const PaymentOrderPage &page = pages.first().first;
    QCOMPARE(pages.first().second, QStringLiteral("Eczane - ŞİFA ECZANESİ"));
    QCOMPARE(page.text(QStringLiteral("MUst1")), QStringLiteral("ŞİFA ECZANESİ"));
    QCOMPARE(page.text(QStringLiteral("MUst4")), QStringLiteral("TR12 0001"));
    QCOMPARE(page.text(QStringLiteral("MH11")), QStringLiteral("1000"));
    QCOMPARE(page.text(QStringLiteral("MH22")), QStringLiteral("8"));
    QCOMPARE(page.text(QStringLiteral("MH22_")), QStringLiteral("25"));
    QCOMPARE(page.text(QStringLiteral("MToplam1")), QStringLiteral("2008"));
    QCOMPARE(page.text(QStringLiteral("MHesap1")), m_windows->codes()->sheet(PaymentCategory::Pharmacy).name(1));
    QCOMPARE(page.text(QStringLiteral("MKurum")), m_windows->institution()->fieldText(QStringLiteral("EdKurumAdi")));
    QVERIFY(!window->findChild<QPushButton *>(QStringLiteral("BtnPrint"))->isEnabled());
}

// A printed order goes into the register, the orders window (menu item and
// tool button) shows it, and the same payment again is asked about first.
void TestProgramWindows::issuedOrdersAreFoundAndNotPaidTwice()
{
    TForm1 *window = m_windows->mainWindow();
    QList<std::pair<PaymentOrderPage, QString>> pages;
    window->printing()->setOutputs([&pages](bool) { return std::make_unique<KeptPages>(&pages); });
    UserActions::choose(*window, "ComboBox1", 0);
    PayeeList *pharmacies = window->payeeList(PaymentCategory::Pharmacy);
    QVERIFY(pharmacies->setField(PayeeColumn::Name, QStringLiteral("DEVA ECZANESİ")).succeeded());
    QVERIFY(pharmacies->post().succeeded());
    auto payOneThousand = [&] {
        window->findChild<TAmountEdit *>(QStringLiteral("Edit1"))->setTextAsFloat(1000);
        QCoreApplication::processEvents();
        UserActions::click(*window, "BtnHazir1");
        UserActions::click(*window, "BtnPrint");
    };
    payOneThousand();
    QCOMPARE(pages.size(), 1);

    TFrmBelgeler *orders = m_windows->orders();
    QVERIFY(orders);
    QVERIFY(!orders->isBuilt());
    for (const char *command : {"Belgeler1", "ToolButton14"}) {
        QStringList shown;
        QTimer::singleShot(0, orders, [&] {
            for (int row = 0; row < orders->list()->rowCount(); ++row)
                shown.append(orders->list()->orderAt(row).name());
            UserActions::click(*orders, "BtnKapat");
        });
        if (QByteArray(command) == "Belgeler1")
            UserActions::trigger(*window, command);
        else
            UserActions::click(*window, command);
        QCOMPARE(shown, QStringList{QStringLiteral("DEVA ECZANESİ")});
    }
    QCOMPARE(window->findChild<QAction *>(QStringLiteral("Belgeler1"))->shortcut(), QKeySequence(Qt::Key_F6));

    m_recorder->setAnswers({MessageBoxes::Button::No});
    payOneThousand();
    QCOMPARE(pages.size(), 1);
    QCOMPARE(m_recorder->requests().size(), 1);
    QVERIFY2(m_recorder->texts().first().startsWith(QStringLiteral("Bu kişiye aynı tutarda ")),
             qPrintable(m_recorder->texts().first()));
    QVERIFY(window->findChild<QPushButton *>(QStringLiteral("BtnPrint"))->isEnabled());
}

// "Onar" saves what the close sequence would save (the wizard ends the
// program past it), lets the database go, hides the main window and shows
// the wizard, whose "İptal" starts the program again without the exit
// question.
void TestProgramWindows::onarHandsTheFileOverToTheWizard()
{
    TForm1 *window = m_windows->mainWindow();
    TFrmTamir *wizard = m_windows->repair();
    QList<ProgramRestart::Launch> launches;
    const auto launcher = ProgramRestart::overrideLauncher([&](const ProgramRestart::Launch &launch) {
        launches.append(launch);
        return true;
    });
    int ends = 0;
    const auto ender = ProgramRestart::overrideEnder([&](int) {
        ++ends;
        static_cast<QDialog *>(wizard)->done(0);
    });
    // Everything that reads the file has read it: an order issued and
    // recorded, the orders window shown, the lists browsed.
    QList<std::pair<PaymentOrderPage, QString>> pages;
    window->printing()->setOutputs([&pages](bool) { return std::make_unique<KeptPages>(&pages); });
    UserActions::choose(*window, "ComboBox1", 0);
    PayeeList *pharmacies = window->payeeList(PaymentCategory::Pharmacy);
    QVERIFY(pharmacies->setField(PayeeColumn::Name, QStringLiteral("ŞİFA ECZANESİ")).succeeded());
    QVERIFY(pharmacies->post().succeeded());
    window->findChild<TAmountEdit *>(QStringLiteral("Edit1"))->setTextAsFloat(1000);
    QCoreApplication::processEvents();
    UserActions::click(*window, "BtnHazir1");
    UserActions::click(*window, "BtnPrint");
    QCOMPARE(pages.size(), 1);
    TFrmBelgeler *orders = m_windows->orders();
    int listed = 0;
    QTimer::singleShot(0, orders, [&] {
        listed = orders->list()->rowCount();
        (void)orders->list()->orderAt(0);
        UserActions::click(*orders, "BtnKapat");
    });
    UserActions::trigger(*window, "Belgeler1");
    QCOMPARE(listed, 1);
    QVERIFY(pharmacies->insert().succeeded());
    QVERIFY(pharmacies->setField(PayeeColumn::Name, QStringLiteral("DEVA ECZANESİ")).succeeded());
    m_recorder->setAnswers({MessageBoxes::Button::Yes});
    const QString database = m_folder->filePath(QStringLiteral("Data.dat"));
    QVERIFY2(!descriptorsOn(database).isEmpty(), "the main window works on the file");

    bool handedOver = false;
    QStringList heldOpen;
    QTimer::singleShot(0, wizard, [&] {
        handedOver = wizard->isVisible() && !window->isVisible() && !window->database().isOpen();
        heldOpen = descriptorsOn(database);
        UserActions::click(*wizard, "BitBtn2");
    });
    UserActions::trigger(*window, "VeritabanBakmOnarm1");

    QVERIFY(handedOver);
    // Not one handle of the program's on the file the wizard replaces.
    QVERIFY2(heldOpen.isEmpty(), qPrintable(heldOpen.join(QStringLiteral(", "))));
    QCOMPARE(ends, 1);
    QCOMPARE(launches, QList<ProgramRestart::Launch>{ProgramRestart::ownLaunch()});
    QCOMPARE(m_recorder->texts(), QStringList{QStringLiteral("Değişiklikleri kaydetmek istiyor musunuz?")});
    PayeeDatabase reopened;
    QVERIFY(reopened.open().isOpened());
    PayeeList saved(reopened, PaymentCategory::Pharmacy);
    QVERIFY(saved.openSorted().succeeded());
    QCOMPARE(saved.nameAt(0), QStringLiteral("DEVA ECZANESİ"));
    QVERIFY(QFile::exists(m_folder->filePath(QStringLiteral("Zenparol.ini"))));
}

// "Eski Programdan Aktar ...": the old program's folder chosen, the question
// (the folder in use has a settings file), the settings file brought byte
// for byte with the one it replaces kept beside it, and the program started
// again past its close sequence, which would have saved over it.
void TestProgramWindows::anOldProgramsFolderIsBroughtOver()
{
    TForm1 *window = m_windows->mainWindow();
    QTemporaryDir oldFolder;
    const QByteArray oldSettings("[Kurum Imza]\r\n11=ESK\xdd OKUL\r\n");
    {
        QFile file(QDir(oldFolder.path()).filePath(QStringLiteral("Zenparol.ini")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(oldSettings);
    }
    QList<ProgramRestart::Launch> launches;
    const auto launcher = ProgramRestart::overrideLauncher([&](const ProgramRestart::Launch &launch) {
        launches.append(launch);
        return true;
    });
    int ends = 0;
    const auto ender = ProgramRestart::overrideEnder([&](int) { ++ends; });
    const QString database = m_folder->filePath(QStringLiteral("Data.dat"));
    const QByteArray databaseBefore = m_folder->readFile(QStringLiteral("Data.dat"));
    if (!QFile::exists(m_folder->filePath(QStringLiteral("Zenparol.ini"))))
        m_folder->writeFile(QStringLiteral("Zenparol.ini"), "[Ayar]\r\n");

    // The folder chooser, answered as a user would: the folder typed, "Seç".
    bool chosen = false;
    QTimer chooser;
    chooser.setInterval(20);
    connect(&chooser, &QTimer::timeout, this, [&] {
        if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
            chooser.stop();
            chosen = dialog->fileMode() == QFileDialog::Directory;
            dialog->setDirectory(oldFolder.path());
            dialog->selectFile(oldFolder.path());
            QMetaObject::invokeMethod(dialog, "accept");
        }
    });
    chooser.start();
    m_recorder->setAnswers({MessageBoxes::Button::Yes, MessageBoxes::Button::Ok});
    UserActions::trigger(*window, "EskiProgramdanAktar1");

    QVERIFY(chosen);
    QCOMPARE(m_recorder->texts().size(), 2);
    QVERIFY2(m_recorder->texts()[0].startsWith(QStringLiteral("Programın kullandığı klasörde bu dosyalar zaten var: "
                                                              "Zenparol.ini\n")),
             qPrintable(m_recorder->texts()[0]));
    QVERIFY2(m_recorder->texts()[1].startsWith(QStringLiteral("Eski programın dosyaları getirildi: Zenparol.ini.")),
             qPrintable(m_recorder->texts()[1]));
    QCOMPARE(m_folder->readFile(QStringLiteral("Zenparol.ini")), oldSettings);
    // What the window saved before it let go is kept.
    const QByteArray kept = m_folder->readFile(QStringLiteral("Zenparol.ini.onceki"));
    QVERIFY(!kept.isEmpty() && kept != oldSettings);
    QCOMPARE(m_folder->readFile(QStringLiteral("Data.dat")), databaseBefore);
    QVERIFY(!window->database().isOpen());
    QVERIFY2(descriptorsOn(database).isEmpty(), "the window let go of the database");
    QCOMPARE(ends, 1);
    QCOMPARE(launches, QList<ProgramRestart::Launch>{ProgramRestart::ownLaunch()});
}

namespace {

// The pixels of the grid's current row, as painted.
QImage currentRowImage(TStripedDBGrid *grid)
{
    const int row = grid->dataSet()->currentRow();
    const QRect first = grid->visualRect(grid->model()->index(row, 0));
    const QRect last = grid->visualRect(grid->model()->index(row, grid->model()->columnCount() - 1));
    return grid->viewport()->grab(first.united(last)).toImage();
}

bool paintsWith(const QImage &image, const QColor &colour)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y).rgb() == colour.rgb())
                return true;
        }
    }
    return false;
}

} // namespace

void TestProgramWindows::ordersWindowMarksItsRowsAsThePayeeLists()
{
    TForm1 *window = m_windows->mainWindow();
    for (int i = 1; i <= 3; ++i) {
        IssuedOrder order;
        order.issuedAt = QDateTime(QDate(2024, 3, i), QTime(10, 0));
        order.ways = int(OrderWay::Printer);
        order.payee[0] = QStringLiteral("ECZANE %1").arg(i);
        order.gross = order.net = 100000 * i;
        QVERIFY(window->orderRegister().record(order, QByteArrayLiteral("sayfa")).succeeded());
    }
    MainWindowColours chosen = window->colours();
    chosen.gridAlternative = 0x00C0FFC0;
    chosen.gridSelect = 0x00800000; // navy
    chosen.gridSelectText = 0x0000FFFF; // yellow
    for (const MainWindowColours &colours : {window->colours(), chosen}) {
        window->applyColours(colours);
        TStripedDBGrid *payees = window->listGrid(PaymentCategory::Pharmacy);
        TFrmBelgeler *orders = m_windows->orders();
        TStripedDBGrid *grid = nullptr;
        QImage current;
        QTimer::singleShot(0, orders, [&] {
            grid = orders->findChild<TStripedDBGrid *>(QStringLiteral("DBGridBelge"));
            if (grid) {
                QVERIFY(orders->list()->moveToRow(1));
                grid->syncCurrentRow();
                current = currentRowImage(grid);
            }
            UserActions::click(*orders, "BtnKapat");
        });
        UserActions::trigger(*window, "Belgeler1");
        QVERIFY(grid);
        for (int record : {1, 2}) {
            for (bool selected : {false, true}) {
                const TStripedDBGrid::CellColours shown = grid->cellColours(record, selected);
                const TStripedDBGrid::CellColours listed = payees->cellColours(record, selected);
                QCOMPARE(shown.background, listed.background);
                QCOMPARE(shown.text, listed.text);
            }
        }
        // The current row is painted in the selection's own pair of colours,
        // not in red letters on the list's background.
        QVERIFY(!current.isNull());
        QVERIFY2(paintsWith(current, payees->colorSelect()), "the current row's background");
        QVERIFY2(!paintsWith(current, grid->palette().color(QPalette::Base)), "the list's background in the current row");
    }
}

void TestProgramWindows::fixedSizeDialogsHaveOnlyATitleAndAClose_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<bool>("closable");
    QTest::newRow("preferences") << "FrmAyar" << true;
    QTest::newRow("backup") << "FrmYedek" << true;
    QTest::newRow("codes") << "Form5" << true;
    QTest::newRow("institution") << "Form4" << true;
    QTest::newRow("about") << "About" << true;
    // Never closed from its frame: it ends by starting the program again.
    QTest::newRow("repair wizard") << "FrmTamir" << false;
}

void TestProgramWindows::fixedSizeDialogsHaveOnlyATitleAndAClose()
{
    QFETCH(QString, dialog);
    QFETCH(bool, closable);
    TAbout about(m_windows->mainWindow());
    QDialog *shown = dialog == about.objectName() ? &about
                                                  : m_windows->mainWindow()->findChild<QDialog *>(dialog);
    QVERIFY2(shown, qPrintable(dialog));
    const Qt::WindowFlags flags = shown->windowFlags();
    const QString said = QStringLiteral("%1: flags 0x%2").arg(dialog).arg(int(flags), 0, 16);
    // Every button named, so that the window manager adds none of its own.
    QVERIFY2(flags.testFlag(Qt::CustomizeWindowHint), qPrintable(said));
    QVERIFY2(flags.testFlag(Qt::WindowTitleHint), qPrintable(said));
    QVERIFY2(flags.testFlag(Qt::WindowCloseButtonHint) == closable, qPrintable(said));
    QVERIFY2(!flags.testFlag(Qt::WindowMinimizeButtonHint), qPrintable(said));
    QVERIFY2(!flags.testFlag(Qt::WindowMaximizeButtonHint), qPrintable(said));
    QVERIFY2(!flags.testFlag(Qt::WindowContextHelpButtonHint), qPrintable(said));
    QCOMPARE(shown->windowType(), Qt::Dialog);
    QCOMPARE(shown->minimumSize(), shown->maximumSize());
}

void TestProgramWindows::startupNoticeOpensOverTheMainWindow()
{
    // The windows of a new run, not shown yet, and a real box.
    m_windows.reset();
    m_recorder.reset();
    m_windows = std::make_unique<ProgramWindows>();
    TForm1 *window = m_windows->mainWindow();
    // Where the window stood before it was maximized must not matter.
    window->move(300, 200);
    const QString notice = QStringLiteral("Veritabanı dosyası (Data.dat) bulunamadı.");
    QString shownText;
    QRect box;
    QTimer watcher;
    watcher.setInterval(10);
    connect(&watcher, &QTimer::timeout, this, [&] {
        auto *shown = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!shown || !shown->isVisible())
            return;
        shownText = shown->text();
        box = shown->frameGeometry();
        shown->done(0);
    });
    watcher.start();
    m_windows->show(notice);
    QTRY_VERIFY(box.isValid());
    QCOMPARE(shownText, notice);
    // Compared with the window as it ends up, maximized.
    const QRect screen = window->screen()->availableGeometry();
    QTRY_COMPARE(window->frameGeometry(), screen);
    const QRect main = window->frameGeometry();
    const QPoint offset = box.center() - main.center();
    QVERIFY2(offset.manhattanLength() <= 2,
             qPrintable(QStringLiteral("box %1,%2 %3x%4 over window %5,%6 %7x%8")
                            .arg(box.x()).arg(box.y()).arg(box.width()).arg(box.height())
                            .arg(main.x()).arg(main.y()).arg(main.width()).arg(main.height())));
}

QTEST_MAIN(TestProgramWindows)
#include "tst_ProgramWindows.moc"
