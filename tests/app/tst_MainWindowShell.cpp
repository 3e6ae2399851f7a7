#include "app/PayeeFieldGroup.h"
#include "app/TAbout.h"
#include "app/TForm1.h"
#include "controls/TStripedDBGrid.h"
#include "controls/WebLinkLabel.h"
#include "desktop/HelpViewer.h"
#include "desktop/HintText.h"
#include "desktop/ShellServices.h"
#include "support/JetFixture.h"
#include "support/MessageRecorder.h"
#include "support/ProgramFolderFixture.h"
#include "support/TemporaryPayeeDatabase.h"
#include "support/UserActions.h"

#include <QComboBox>
#include <QEnterEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QSignalSpy>
#include <QStatusTipEvent>
#include <QTabBar>
#include <QToolButton>
#include <QtTest>

using MessageBoxes::Button;

namespace {

// The mouse moving onto a control: the desktop enters it, and the hint is
// taken once the event loop has turned.
void enterWith(QWidget *control)
{
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(control, &enter);
    QCoreApplication::processEvents();
}

} // namespace

class TestMainWindowShell : public QObject
{
    Q_OBJECT

private slots:
    void hintParts_data();
    void hintParts();
    void hintLine();
    void messageBoxLeavesTheInitialHint();
    void controlsWithoutAHintBlankTheLine();
    void clock();
    void choosingAKindShowsItsListAndPanel();
    void tabChangeEmptiesSearch();
    void escapeInAFieldStartsTheCloseSequence();
    void exitQuestion();
    void helpContents();
    void aboutBox();
    void webLink();
    void transferItems();
    void oldDatabaseLeftAsItIs();
};

void TestMainWindowShell::hintParts_data()
{
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QString>("shortPart");
    QTest::addColumn<QString>("longPart");
    QTest::newRow("both parts") << "Sil (Ctrl+Del)|Aktif kaydı sil" << "Sil (Ctrl+Del)" << "Aktif kaydı sil";
    QTest::newRow("no bar") << "Kapat (ESC)" << "Kapat (ESC)" << "Kapat (ESC)";
    QTest::newRow("blank kept") << "Sıfırla |Ayarları geri al" << "Sıfırla " << "Ayarları geri al";
    QTest::newRow("empty") << "" << "" << "";
}

void TestMainWindowShell::hintParts()
{
    QFETCH(QString, hint);
    QFETCH(QString, shortPart);
    QFETCH(QString, longPart);
    QCOMPARE(HintText::shortPart(hint), shortPart);
    QCOMPARE(HintText::longPart(hint), longPart);
}

void TestMainWindowShell::hintLine()
{
    ProgramFolderFixture folder;
    createEmptyPayeeDatabase();
    TForm1 window;
    window.show();
    QCOMPARE(window.statusPanelText(1), QStringLiteral("Z e n p a r o l   M ü z e k k e r e s i   3 . 2"));
    QWidget *noHint = window.centralWidget();
    // Nothing with a hint yet: the initial text stays.
    enterWith(noHint);
    QCOMPARE(window.statusPanelText(1), QStringLiteral("Z e n p a r o l   M ü z e k k e r e s i   3 . 2"));

    auto *button = window.findChild<QToolButton *>(QStringLiteral("ToolButton2"));
    QVERIFY(button);
    QCOMPARE(button->toolTip(), QStringLiteral("Sil (Ctrl+Del)"));
    enterWith(button);
    QCOMPARE(window.statusPanelText(1), QStringLiteral(" Aktif kaydı sil"));
    enterWith(noHint);
    QCOMPARE(window.statusPanelText(1), QStringLiteral(" "));

    // A menu item's whole hint goes to the status bar.
    auto *menuItem = window.findChild<QAction *>(QStringLiteral("Yeni1"));
    QVERIFY(menuItem);
    QCOMPARE(menuItem->statusTip(), QStringLiteral("Yeni eczane ya da hastane ekle"));
    QStatusTipEvent highlighted(menuItem->statusTip());
    QCoreApplication::sendEvent(window.findChild<QMenu *>(), &highlighted);
    QCOMPARE(window.statusPanelText(1), QStringLiteral(" Yeni eczane ya da hastane ekle"));

    // The hints of the program's other windows reach the same line.
    TAbout about;
    about.show();
    enterWith(about.link(0));
    QCOMPARE(window.statusPanelText(1), QStringLiteral(" Siteye git"));
    // Only a hint change changes the line: the box closing does not; the
    // mouse on the main window again does.
    about.close();
    QCOMPARE(window.statusPanelText(1), QStringLiteral(" Siteye git"));
    enterWith(noHint);
    QCOMPARE(window.statusPanelText(1), QStringLiteral(" "));
}

// The first start asks before it creates the database: a box comes and goes
// over the window, and the hint line still shows its initial text.
void TestMainWindowShell::messageBoxLeavesTheInitialHint()
{
    ProgramFolderFixture folder;
    MessageRecorder recorder({MessageBoxes::Button::Yes});
    TForm1 window;
    window.show();
    QCOMPARE(recorder.requests().size(), 1);
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Dikkat !"), recorder.texts().first(),
                    QMessageBox::Yes | QMessageBox::No, &window);
    box.show();
    enterWith(box.button(QMessageBox::Yes));
    box.hide();
    enterWith(window.centralWidget());
    QCOMPARE(window.statusPanelText(1), QStringLiteral("Z e n p a r o l   M ü z e k k e r e s i   3 . 2"));
}

// Moving from the selector onto the list, the fields or the search box, none
// of which has a hint, leaves the line blank.
void TestMainWindowShell::controlsWithoutAHintBlankTheLine()
{
    ProgramFolderFixture folder;
    createEmptyPayeeDatabase();
    TForm1 window;
    window.show();
    UserActions::choose(window, "ComboBox1", 0);
    auto *selector = window.findChild<QComboBox *>(QStringLiteral("ComboBox1"));
    for (QWidget *withoutHint : std::initializer_list<QWidget *>{
             window.listGrid(PaymentCategory::Pharmacy), window.listGrid(PaymentCategory::Pharmacy)->viewport(),
             window.payeeFields(PaymentCategory::Pharmacy)->edit(0),
             window.findChild<QLineEdit *>(QStringLiteral("Edit33"))}) {
        enterWith(selector);
        QCOMPARE(window.statusPanelText(1), QStringLiteral(" İşlem yapmak için kişi/kurum listesi seçimi"));
        enterWith(withoutHint);
        QCOMPARE(window.statusPanelText(1), QStringLiteral(" "));
    }
}

void TestMainWindowShell::clock()
{
    ProgramFolderFixture folder;
    createEmptyPayeeDatabase();
    TForm1 window;
    QCOMPARE(window.statusPanelText(2), QString());
    window.Timer1Timer();
    const QString text = window.statusPanelText(2);
    QVERIFY2(QRegularExpression(QStringLiteral("^\\d{1,2} \\S+ \\S+ - \\d\\d:\\d\\d:\\d\\d  $"))
                 .match(text)
                 .hasMatch(),
             qPrintable(text));
}

void TestMainWindowShell::choosingAKindShowsItsListAndPanel()
{
    ProgramFolderFixture folder;
    createEmptyPayeeDatabase();
    TForm1 window;
    window.show();
    QCOMPARE(window.currentCategory(), -1);
    for (PaymentCategory category : kAllCategories) {
        QVERIFY(window.listGrid(category)->isHidden());
        QVERIFY(window.categoryPanel(category)->isHidden());
    }
    auto *selector = window.findChild<QComboBox *>(QStringLiteral("ComboBox1"));
    QCOMPARE(selector->placeholderText(), QStringLiteral("İşlem Seçiniz ..."));
    QCOMPARE(selector->itemText(1), QStringLiteral("Hastane/Öz Hst. Nakit"));

    UserActions::choose(window, "ComboBox1", 2);
    QCOMPARE(window.currentCategory(), 2);
    for (PaymentCategory category : kAllCategories) {
        const bool chosen = category == PaymentCategory::Treatment;
        QCOMPARE(window.listGrid(category)->isVisible(), chosen);
        QCOMPARE(window.categoryPanel(category)->isVisible(), chosen);
    }
    QCOMPARE(window.listGrid(PaymentCategory::Treatment)->objectName(), QStringLiteral("DBGrid3"));
    QCOMPARE(window.categoryPanel(PaymentCategory::Private)->objectName(), QStringLiteral("PanelOzel"));

    window.ComboBox1Change(7); // not a kind: nothing changes
    QCOMPARE(window.currentCategory(), 2);
    QVERIFY(window.categoryPanel(PaymentCategory::Treatment)->isVisible());
}

void TestMainWindowShell::tabChangeEmptiesSearch()
{
    ProgramFolderFixture folder;
    createEmptyPayeeDatabase();
    TForm1 window;
    auto *tabs = window.findChild<QTabBar *>(QStringLiteral("TabSet1"));
    auto *search = window.findChild<QLineEdit *>(QStringLiteral("Edit33"));
    QCOMPARE(tabs->tabText(0), QStringLiteral("   Listeler   "));
    tabs->setCurrentIndex(1);
    search->setText(QStringLiteral("ECZ"));
    tabs->setCurrentIndex(0);
    QCOMPARE(search->text(), QString());
}

void TestMainWindowShell::escapeInAFieldStartsTheCloseSequence()
{
    ProgramFolderFixture folder;
    createEmptyPayeeDatabase();
    TForm1 window;
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    UserActions::choose(window, "ComboBox1", 0);
    QLineEdit *name = window.payeeFields(PaymentCategory::Pharmacy)->edit(0);
    name->setFocus();

    MessageRecorder recorder({Button::No});
    QTest::keyClick(name, Qt::Key_Escape);
    QVERIFY(!recorder.requests().isEmpty());
    QCOMPARE(recorder.requests().last().text, QStringLiteral("Programdan çıkmak istiyor musunuz?"));
    QVERIFY(window.isVisible());
}

void TestMainWindowShell::exitQuestion()
{
    ProgramFolderFixture folder;
    createEmptyPayeeDatabase();
    TForm1 window;
    window.show();
    QSignalSpy closed(&window, &TForm1::closed);

    MessageRecorder recorder({Button::No});
    UserActions::trigger(window, "Kapat1");
    QCOMPARE(recorder.requests().size(), 1);
    const auto &question = recorder.requests().first();
    QCOMPARE(question.caption, QStringLiteral(" Mirvasel Belgesi"));
    QCOMPARE(question.icon, MessageBoxes::Icon::Question);
    QCOMPARE(question.buttons, (QList<Button>{Button::Yes, Button::No}));
    QVERIFY(window.isVisible());
    QCOMPARE(closed.count(), 0);

    recorder.setAnswers({Button::Yes});
    UserActions::trigger(window, "Kapat1");
    QVERIFY(!window.isVisible());
    QCOMPARE(closed.count(), 1);
}

void TestMainWindowShell::helpContents()
{
    ProgramFolderFixture folder;
    createEmptyPayeeDatabase();
    QList<int> topics;
    const auto help = HelpViewer::overrideRequestHandler([&topics](int topic) { topics.append(topic); });
    TForm1 window;
    UserActions::trigger(window, "Yardm1");
    QCOMPARE(topics, QList<int>{0});
}

void TestMainWindowShell::aboutBox()
{
    QStringList opened;
    const auto shell = ShellServices::overrideOpenHandler([&opened](const QString &address) { opened.append(address); });
    TAbout about;
    QCOMPARE(about.windowTitle(), QStringLiteral("Program Hakkında"));
    QCOMPARE(about.size(), QSize(330, 187));
    about.show();
    WebLinkLabel *link = about.link(0);
    QCOMPARE(link->toolTip(), QStringLiteral("Siteye git"));
    QCOMPARE(link->palette().color(link->foregroundRole()), QColor(Qt::blue));
    QTest::mouseMove(link);
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(link, &enter);
    QCOMPARE(link->palette().color(link->foregroundRole()), QColor(Qt::red));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(link, &leave);
    QCOMPARE(link->palette().color(link->foregroundRole()), QColor(Qt::blue));
    QTest::mouseClick(link, Qt::LeftButton);
    QCOMPARE(opened, QStringList{link->address()});
}

void TestMainWindowShell::webLink()
{
    ProgramFolderFixture folder;
    createEmptyPayeeDatabase();
    TForm1 window;
    auto *link = window.findChild<WebLinkLabel *>(QStringLiteral("Label43"));
    QVERIFY(link);
    QCOMPARE(link->palette().color(link->foregroundRole()), QColor(192, 192, 192));
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(link, &enter);
    QCOMPARE(link->palette().color(link->foregroundRole()), QColor(Qt::yellow));
    QCOMPARE(link->palette().color(link->backgroundRole()), QColor(Qt::black));
    QCOMPARE(link->statusTip(), QStringLiteral("Üreticinin web sitesi"));
}

void TestMainWindowShell::transferItems()
{
    ProgramFolderFixture folder;
    createEmptyPayeeDatabase();
    TForm1 window;
    window.show();
    // "Eski Veritabanından Aktar ..." and "Eski Programdan Aktar ..." in
    // Veritabanı İşlemleri, after a line;
    // "Dışa Aktar ..." and "İçe Aktar ..." in Dosya.
    auto *group = window.findChild<QAction *>(QStringLiteral("Veritabanlemleri1"));
    QVERIFY(group && group->menu());
    const QList<QAction *> items = group->menu()->actions();
    QCOMPARE(items.size(), 5);
    QCOMPARE(items[2]->isSeparator(), true);
    QCOMPARE(items[3]->objectName(), QStringLiteral("EskiVeritabanindanAktar1"));
    QCOMPARE(items[3]->text(), QStringLiteral("Eski Veritabanından Aktar ..."));
    QCOMPARE(items[3]->statusTip(), QStringLiteral("Eski programın veritabanındaki kişileri bu veritabanına ekle"));
    QCOMPARE(items[4]->objectName(), QStringLiteral("EskiProgramdanAktar1"));
    QCOMPARE(items[4]->text(), QStringLiteral("Eski Programdan Aktar ..."));
    QCOMPARE(items[4]->statusTip(), QStringLiteral("Eski programın klasöründen ayar dosyasını ve veritabanını getir"));
    QCOMPARE(window.findChild<QAction *>(QStringLiteral("DisaAktar1"))->text(), QStringLiteral("Dışa Aktar ..."));
    QCOMPARE(window.findChild<QAction *>(QStringLiteral("IceAktar1"))->text(), QStringLiteral("İçe Aktar ..."));

    // Before a kind is chosen there is no list to take out or bring into.
    MessageRecorder recorder;
    UserActions::trigger(window, "DisaAktar1");
    UserActions::trigger(window, "IceAktar1");
    QCOMPARE(recorder.texts(), (QStringList{QStringLiteral("Önce aktarılacak listenin türünü seçin."),
                                            QStringLiteral("Önce kişilerin aktarılacağı listenin türünü seçin.")}));
}

void TestMainWindowShell::oldDatabaseLeftAsItIs()
{
    // "Hayır" at start: the old program's file stays, and so do the lists
    // closed, with a word on how to convert it.
    ProgramFolderFixture folder;
    const QByteArray old = JetFixture::payees(JetFixture::many(3)).bytes();
    folder.writeFile(QStringLiteral("Data.dat"), old);
    MessageRecorder recorder;
    TForm1 window;
    window.show();
    QCOMPARE(recorder.requests().size(), 1);
    QCOMPARE(recorder.requests()[0].icon, MessageBoxes::Icon::Stop);
    QVERIFY2(recorder.texts()[0].contains(QStringLiteral("Bu dosya eski programın veritabanı. Program yeniden açıldığında "
                                                          "dönüştürülmesi için yine sorulur.")),
             qPrintable(recorder.texts()[0]));
    QCOMPARE(folder.readFile(QStringLiteral("Data.dat")), old);
}

QTEST_MAIN(TestMainWindowShell)
#include "tst_MainWindowShell.moc"
