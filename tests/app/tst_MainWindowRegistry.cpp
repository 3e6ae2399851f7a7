#include "app/PayeeFieldGroup.h"
#include "app/TForm1.h"
#include "controls/TStripedDBGrid.h"
#include "registry/PayeeDatabase.h"
#include "registry/PayeeList.h"
#include "support/MessageRecorder.h"
#include "support/ProgramFolderFixture.h"
#include "support/TemporaryPayeeDatabase.h"
#include "support/TypeText.h"
#include "support/UserActions.h"

#include <QAction>
#include <QLineEdit>
#include <QMenuBar>
#include <QTabBar>
#include <QToolButton>
#include <QtTest>

using MessageBoxes::Button;

namespace {

// A main window over a temporary database, shown and active so that its
// shortcuts work.
struct OpenWindow
{
    explicit OpenWindow(TemporaryPayeeDatabase &fixture)
    {
        QVERIFY(fixture.error().isEmpty());
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }
    TForm1 window;
};

QLineEdit *field(TForm1 &window, PaymentCategory category, int row)
{
    return window.payeeFields(category)->edit(row);
}

} // namespace

class TestMainWindowRegistry : public QObject
{
    Q_OBJECT

private slots:
    void firstStartAsksBeforeCreatingTheDatabase_data();
    void firstStartAsksBeforeCreatingTheDatabase();
    void foreignFileIsReportedAndLeftAlone();
    void listsOpenSortedWithTheRecordStatus();
    void addingAPayeeByTyping();
    void typedLettersBecomeTurkishCapitals();
    void firstKeyInTheMiddleOfANameStaysThere_data();
    void firstKeyInTheMiddleOfANameStaysThere();
    void tabVisitsTheFieldsInTheKindsOrder_data();
    void tabVisitsTheFieldsInTheKindsOrder();
    void deleteAsksWithTheKindsQuestion_data();
    void deleteAsksWithTheKindsQuestion();
    void deleteShortcutWinsInAField();
    void searchTypedIntoTheSearchBox();
    void statusKeepsItsTextAcrossTabs();
    void editAndSaveFollowTheFocusedList();
    void closeAsksOncePerListInKindOrder();
    void refusedSaveInTheCloseSequenceKeepsTheWindowOpen();
};

void TestMainWindowRegistry::firstStartAsksBeforeCreatingTheDatabase_data()
{
    QTest::addColumn<bool>("create");
    QTest::newRow("Evet") << true;
    QTest::newRow("Hayır") << false;
}

void TestMainWindowRegistry::firstStartAsksBeforeCreatingTheDatabase()
{
    QFETCH(bool, create);
    ProgramFolderFixture folder;
    MessageRecorder recorder({create ? Button::Yes : Button::No});
    TForm1 window;
    window.show();
    QCOMPARE(recorder.requests().size(), 1);
    const auto &question = recorder.requests().first();
    QCOMPARE(question.caption, QStringLiteral("Dikkat !"));
    QVERIFY(question.text.contains(folder.filePath(QStringLiteral("Data.dat"))));
    QCOMPARE(question.buttons, (QList<Button>{Button::Yes, Button::No}));

    QCOMPARE(QFile::exists(folder.filePath(QStringLiteral("Data.dat"))), create);
    for (PaymentCategory category : kAllCategories) {
        QCOMPARE(window.payeeList(category)->isOpen(), create);
        QCOMPARE(field(window, category, 0)->isReadOnly(), !create);
    }
    UserActions::choose(window, "ComboBox1", 0);
    UserActions::click(window, "ToolButton1"); // "Yeni" on a closed list is reported, not lost
    QCOMPARE(recorder.requests().size(), create ? 1 : 2);
}

void TestMainWindowRegistry::foreignFileIsReportedAndLeftAlone()
{
    ProgramFolderFixture folder;
    const QByteArray foreign = QByteArray("Bu bir veritabanı değil\n").repeated(200);
    folder.writeFile(QStringLiteral("Data.dat"), foreign);
    MessageRecorder recorder;
    TForm1 window;
    window.show();
    QCOMPARE(recorder.requests().size(), 1);
    QCOMPARE(recorder.requests().first().caption, QStringLiteral("Mirvasel"));
    QCOMPARE(recorder.requests().first().icon, MessageBoxes::Icon::Stop);
    QVERIFY(recorder.requests().first().text.contains(QStringLiteral("bir veritabanı dosyası değil")));
    QVERIFY(!window.payeeList(PaymentCategory::Pharmacy)->isOpen());
    QCOMPARE(folder.readFile(QStringLiteral("Data.dat")), foreign);
}

void TestMainWindowRegistry::listsOpenSortedWithTheRecordStatus()
{
    TemporaryPayeeDatabase fixture;
    fixture.addNames(PaymentCategory::Pharmacy,
                     {QStringLiteral("ŞİFA"), QStringLiteral("ÇINAR"), QStringLiteral("AKDENİZ")});
    fixture.addNames(PaymentCategory::Treatment, {QStringLiteral("ZEKİ"), QStringLiteral("ALİ")});
    OpenWindow open(fixture);
    TForm1 &window = open.window;
    QCOMPARE(window.statusPanelText(0), QString());

    UserActions::choose(window, "ComboBox1", 0);
    QCOMPARE(window.statusPanelText(0), QStringLiteral("  Toplam 3 eczane - Gösterilen:  1"));
    QCOMPARE(field(window, PaymentCategory::Pharmacy, 0)->text(), QStringLiteral("AKDENİZ"));
    QVERIFY(window.payeeList(PaymentCategory::Pharmacy)->moveTo(2).succeeded());
    QCOMPARE(window.statusPanelText(0), QStringLiteral("  Toplam 3 eczane - Gösterilen:  3"));
    QCOMPARE(field(window, PaymentCategory::Pharmacy, 0)->text(), QStringLiteral("ŞİFA"));

    // Only the chosen kind's list writes the panel.
    QVERIFY(window.payeeList(PaymentCategory::Treatment)->moveTo(1).succeeded());
    QCOMPARE(window.statusPanelText(0), QStringLiteral("  Toplam 3 eczane - Gösterilen:  3"));
    UserActions::choose(window, "ComboBox1", 2);
    QCOMPARE(window.statusPanelText(0), QStringLiteral("  Toplam 2 kayıt - Gösterilen:  2"));

    // The grid follows the list and moves it.
    TStripedDBGrid *grid = window.listGrid(PaymentCategory::Treatment);
    QCOMPARE(grid->currentIndex().row(), 1);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(0, 0)).center());
    QCOMPARE(window.statusPanelText(0), QStringLiteral("  Toplam 2 kayıt - Gösterilen:  1"));
    QCOMPARE(field(window, PaymentCategory::Treatment, 0)->text(), QStringLiteral("ALİ"));
}

void TestMainWindowRegistry::addingAPayeeByTyping()
{
    TemporaryPayeeDatabase fixture;
    fixture.addNames(PaymentCategory::Hospital, {QStringLiteral("DEVLET HASTANESİ")});
    OpenWindow open(fixture);
    TForm1 &window = open.window;
    UserActions::choose(window, "ComboBox1", 1);

    MessageRecorder recorder;
    QTest::keyClick(&window, Qt::Key_N, Qt::ControlModifier);
    QLineEdit *name = field(window, PaymentCategory::Hospital, 0);
    QCOMPARE(QApplication::focusWidget(), name);
    QCOMPARE(window.payeeList(PaymentCategory::Hospital)->state(), PayeeList::State::Inserting);
    typeText(name, QStringLiteral("özel hastane"));
    QTest::keyClick(name, Qt::Key_Tab);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("1234567890"));
    QVERIFY(window.postAction()->isEnabled());
    QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
    QVERIFY(recorder.requests().isEmpty());

    QCOMPARE(window.payeeList(PaymentCategory::Hospital)->state(), PayeeList::State::Browsing);
    QCOMPARE(window.statusPanelText(0), QStringLiteral("  Toplam 2 hastane - Gösterilen:  1"));
    QList<PayeeFields> rows = fixture.tableContents(PaymentCategory::Hospital);
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows.last()[0], QStringLiteral("ÖZEL HASTANE"));
    QCOMPARE(rows.last()[1], QStringLiteral("1234567890"));
}

void TestMainWindowRegistry::typedLettersBecomeTurkishCapitals()
{
    TemporaryPayeeDatabase fixture;
    fixture.addNames(PaymentCategory::Pharmacy, {QStringLiteral("A")});
    OpenWindow open(fixture);
    TForm1 &window = open.window;
    UserActions::choose(window, "ComboBox1", 0);
    QLineEdit *branch = field(window, PaymentCategory::Pharmacy, 2);
    branch->setFocus();
    typeText(branch, QStringLiteral("iıqwçğöşü x"));
    QCOMPARE(branch->text(), QStringLiteral("İIqwÇĞÖŞÜ X"));
    QCOMPARE(window.payeeList(PaymentCategory::Pharmacy)->state(), PayeeList::State::Editing);
    QCOMPARE(branch->maxLength(), PayeeTable::maxLength(PayeeColumn::BankBranch));

    // Pasted text is taken as it is.
    branch->clear();
    branch->insert(QStringLiteral("ziraat"));
    QCOMPARE(branch->text(), QStringLiteral("ziraat"));
    window.payeeList(PaymentCategory::Pharmacy)->cancel();
}

void TestMainWindowRegistry::firstKeyInTheMiddleOfANameStaysThere_data()
{
    QTest::addColumn<QList<int>>("keys"); // Qt::Key values, letters as typed
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("caret");
    QTest::newRow("two backspaces") << QList<int>{Qt::Key_Backspace, Qt::Key_Backspace} << "ECZA ALİ" << 4;
    QTest::newRow("two letters") << QList<int>{Qt::Key_X, Qt::Key_Y} << "ECZANEXY ALİ" << 8;
    QTest::newRow("delete") << QList<int>{Qt::Key_Delete} << "ECZANEALİ" << 6;
}

// The first key after an open, a move or a save starts the list's edit; the
// field keeps its caret, its text and what it can undo.
void TestMainWindowRegistry::firstKeyInTheMiddleOfANameStaysThere()
{
    QFETCH(QList<int>, keys);
    QFETCH(QString, text);
    QFETCH(int, caret);

    TemporaryPayeeDatabase fixture;
    fixture.addNames(PaymentCategory::Pharmacy, {QStringLiteral("ECZANE ALİ")});
    OpenWindow open(fixture);
    TForm1 &window = open.window;
    UserActions::choose(window, "ComboBox1", 0);
    QLineEdit *name = field(window, PaymentCategory::Pharmacy, 0);
    name->setFocus();
    name->setCursorPosition(6);
    for (int key : keys)
        QTest::keyClick(name, Qt::Key(key), Qt::NoModifier);
    QCOMPARE(name->text(), text);
    QCOMPARE(name->cursorPosition(), caret);
    QVERIFY(name->isUndoAvailable());

    // "Kaydet" saves what the field shows.
    UserActions::trigger(window, "Kaydet1");
    QCOMPARE(fixture.tableNames(PaymentCategory::Pharmacy), QStringList{text});
    QCOMPARE(name->text(), text);

    // Undo takes the field back to the saved name's predecessor, key by key.
    name->undo();
    QVERIFY(name->text() != text);
    window.payeeList(PaymentCategory::Pharmacy)->cancel();
}

void TestMainWindowRegistry::tabVisitsTheFieldsInTheKindsOrder_data()
{
    QTest::addColumn<int>("chosen");
    QTest::addColumn<QList<int>>("rows");
    QTest::newRow("pharmacy") << 0 << QList<int>{0, 1, 2, 3, 4};
    QTest::newRow("treatment") << 2 << QList<int>{0, 2, 4, 1, 3};
    QTest::newRow("private") << 3 << QList<int>{0, 1, 2, 3, 4};
}

void TestMainWindowRegistry::tabVisitsTheFieldsInTheKindsOrder()
{
    QFETCH(int, chosen);
    QFETCH(QList<int>, rows);
    TemporaryPayeeDatabase fixture;
    OpenWindow open(fixture);
    TForm1 &window = open.window;
    UserActions::choose(window, "ComboBox1", chosen);
    const auto category = PaymentCategory(chosen);
    field(window, category, rows.first())->setFocus();
    for (int row : rows) {
        QCOMPARE(QApplication::focusWidget(), field(window, category, row));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
}

void TestMainWindowRegistry::deleteAsksWithTheKindsQuestion_data()
{
    QTest::addColumn<int>("chosen");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("question");
    QTest::newRow("pharmacy") << 0 << "AY ECZANESİ" << "'AY ECZANESİ' ne ait kayıtlar silinsin mi?";
    QTest::newRow("hospital") << 1 << "DR. O'NEIL" << "'DR. O''NEIL' ne ait kayıtlar silinsin mi?";
    QTest::newRow("treatment") << 2 << "ALİ VELİ" << "'ALİ VELİ' adına kayıtlı bilgiler silinsin mi?";
    QTest::newRow("private") << 3 << "KİRA" << "'KİRA' ilgili kayıtlar silinsin mi?";
}

void TestMainWindowRegistry::deleteAsksWithTheKindsQuestion()
{
    QFETCH(int, chosen);
    QFETCH(QString, name);
    QFETCH(QString, question);
    const auto category = PaymentCategory(chosen);
    TemporaryPayeeDatabase fixture;
    fixture.addNames(category, {name, QStringLiteral("ZZZ")});
    OpenWindow open(fixture);
    TForm1 &window = open.window;
    UserActions::choose(window, "ComboBox1", chosen);

    MessageRecorder recorder({Button::No});
    UserActions::click(window, "ToolButton2");
    QCOMPARE(recorder.requests().size(), 1);
    QCOMPARE(recorder.requests().first().caption, QStringLiteral("Dikkat !"));
    QCOMPARE(recorder.requests().first().text, question);
    QCOMPARE(fixture.tableNames(category).size(), 2);

    recorder.setAnswers({Button::Yes});
    UserActions::click(window, "ToolButton2");
    QCOMPARE(fixture.tableNames(category), QStringList{QStringLiteral("ZZZ")});
    QCOMPARE(field(window, category, 0)->text(), QStringLiteral("ZZZ"));
}

void TestMainWindowRegistry::deleteShortcutWinsInAField()
{
    TemporaryPayeeDatabase fixture;
    OpenWindow open(fixture);
    TForm1 &window = open.window;
    UserActions::choose(window, "ComboBox1", 0);
    QLineEdit *name = field(window, PaymentCategory::Pharmacy, 0);
    name->setFocus();

    // An empty list: the question shows an empty name, "Evet" then fails
    // with a message and nothing changes.
    MessageRecorder recorder({Button::Yes, Button::Ok});
    QTest::keyClick(name, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(recorder.requests().size(), 2);
    QCOMPARE(recorder.requests()[0].text, QStringLiteral("'' ne ait kayıtlar silinsin mi?"));
    QCOMPARE(recorder.requests()[1].caption, QStringLiteral("Mirvasel"));
    QCOMPARE(recorder.requests()[1].text, QStringLiteral("Cannot perform this operation on an empty dataset."));
    QVERIFY(window.payeeList(PaymentCategory::Pharmacy)->isOpen());
}

void TestMainWindowRegistry::searchTypedIntoTheSearchBox()
{
    TemporaryPayeeDatabase fixture;
    fixture.addNames(PaymentCategory::Private,
                     {QStringLiteral("KİRA \"MERKEZ\""), QStringLiteral("KİRA %50"), QStringLiteral("KIRTASİYE"),
                      QStringLiteral("BAKKAL KİRA"), QString()});
    OpenWindow open(fixture);
    TForm1 &window = open.window;
    auto *search = window.findChild<QLineEdit *>(QStringLiteral("Edit33"));
    auto *tabs = window.findChild<QTabBar *>(QStringLiteral("TabSet1"));

    // Before a kind is chosen the search does nothing.
    tabs->setCurrentIndex(1);
    search->setFocus();
    QTest::keyClicks(search, QStringLiteral("k"));
    QCOMPARE(window.payeeList(PaymentCategory::Private)->recordCount(), 5);
    tabs->setCurrentIndex(0);

    UserActions::choose(window, "ComboBox1", 3);
    tabs->setCurrentIndex(1);
    MessageRecorder recorder;
    const struct
    {
        QString typed;
        int matches;
    } steps[] = {{QStringLiteral("k"), 3}, {QStringLiteral("i"), 2}, {QStringLiteral("ra \""), 1}};
    QString typedSoFar;
    for (const auto &step : steps) {
        QTest::keyClicks(search, step.typed);
        typedSoFar += step.typed;
        QCOMPARE(window.payeeList(PaymentCategory::Private)->recordCount(), step.matches);
    }
    QCOMPARE(search->text(), QStringLiteral("KİRA \""));
    QCOMPARE(field(window, PaymentCategory::Private, 0)->text(), QStringLiteral("KİRA \"MERKEZ\""));
    QCOMPARE(window.statusPanelText(0), QStringLiteral("  Toplam 1 kayıt - Gösterilen:  1"));

    // No match: the list is empty and the panel keeps the previous count.
    QTest::keyClicks(search, QStringLiteral("x"));
    QCOMPARE(window.payeeList(PaymentCategory::Private)->recordCount(), 0);
    QCOMPARE(window.statusPanelText(0), QStringLiteral("  Toplam 1 kayıt - Gösterilen:  1"));
    QVERIFY(recorder.requests().isEmpty());

    // Leaving the page empties the box: every named payee again.
    tabs->setCurrentIndex(0);
    QCOMPARE(search->text(), QString());
    QCOMPARE(window.payeeList(PaymentCategory::Private)->recordCount(), 4);
}

void TestMainWindowRegistry::statusKeepsItsTextAcrossTabs()
{
    TemporaryPayeeDatabase fixture;
    fixture.addNames(PaymentCategory::Pharmacy, {QStringLiteral("A"), QStringLiteral("B")});
    OpenWindow open(fixture);
    TForm1 &window = open.window;
    UserActions::choose(window, "ComboBox1", 0);
    const QString status = window.statusPanelText(0);
    auto *tabs = window.findChild<QTabBar *>(QStringLiteral("TabSet1"));
    tabs->setCurrentIndex(1);
    tabs->setCurrentIndex(0);
    QCOMPARE(window.statusPanelText(0), status);
}

void TestMainWindowRegistry::editAndSaveFollowTheFocusedList()
{
    TemporaryPayeeDatabase fixture;
    fixture.addNames(PaymentCategory::Pharmacy, {QStringLiteral("A")});
    fixture.addNames(PaymentCategory::Hospital, {QStringLiteral("B")});
    OpenWindow open(fixture);
    TForm1 &window = open.window;
    UserActions::choose(window, "ComboBox1", 0);
    auto *editButton = window.findChild<QToolButton *>(QStringLiteral("ToolButton3"));
    auto *saveButton = window.findChild<QToolButton *>(QStringLiteral("ToolButton4"));
    auto *editItem = window.findChild<QAction *>(QStringLiteral("Dzenle1"));

    auto *search = window.findChild<QLineEdit *>(QStringLiteral("Edit33"));
    search->setFocus();
    QVERIFY(!window.editAction()->isEnabled());
    QVERIFY(!editButton->isEnabled());

    QLineEdit *name = field(window, PaymentCategory::Pharmacy, 0);
    name->setFocus();
    QVERIFY(window.editAction()->isEnabled());
    QVERIFY(editButton->isEnabled());
    QVERIFY(editItem->isEnabled());
    QVERIFY(!saveButton->isEnabled());

    QTest::keyClick(&window, Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(window.payeeList(PaymentCategory::Pharmacy)->state(), PayeeList::State::Editing);
    QVERIFY(!window.editAction()->isEnabled());
    QVERIFY(saveButton->isEnabled());

    // Opening the menu from the keyboard takes the focus to the menu bar;
    // "Kaydet" still acts on the field the user came from.
    window.menuBar()->setFocus(Qt::MenuBarFocusReason);
    QCOMPARE(QApplication::focusWidget(), window.menuBar());
    QVERIFY(saveButton->isEnabled());
    QVERIFY(window.postAction()->isEnabled());
    name->setFocus();

    window.listGrid(PaymentCategory::Pharmacy)->setFocus();
    QVERIFY(window.postAction()->isEnabled());
    window.postAction()->trigger();
    QCOMPARE(window.payeeList(PaymentCategory::Pharmacy)->state(), PayeeList::State::Browsing);
    QVERIFY(window.editAction()->isEnabled());
}

void TestMainWindowRegistry::closeAsksOncePerListInKindOrder()
{
    TemporaryPayeeDatabase fixture;
    for (PaymentCategory category : kAllCategories)
        fixture.addNames(category, {QStringLiteral("ESKİ")});
    OpenWindow open(fixture);
    TForm1 &window = open.window;
    // Edits in the private and the hospital lists, made in that order.
    QVERIFY(window.payeeList(PaymentCategory::Private)->setField(PayeeColumn::Name, QStringLiteral("YENİ")).succeeded());
    QVERIFY(window.payeeList(PaymentCategory::Hospital)->setField(PayeeColumn::Name, QStringLiteral("YENİ")).succeeded());

    // Hospital: save; private: discard; then stay in the program.
    MessageRecorder recorder({Button::Yes, Button::No, Button::No});
    window.close();
    QCOMPARE(recorder.texts(), (QStringList{QStringLiteral("Değişiklikleri kaydetmek istiyor musunuz?"),
                                            QStringLiteral("Değişiklikleri kaydetmek istiyor musunuz?"),
                                            QStringLiteral("Programdan çıkmak istiyor musunuz?")}));
    QCOMPARE(recorder.requests()[0].icon, MessageBoxes::Icon::None);
    QCOMPARE(recorder.requests()[0].caption, QStringLiteral("Dikkat !"));
    QVERIFY(window.isVisible());
    QCOMPARE(fixture.tableNames(PaymentCategory::Hospital), QStringList{QStringLiteral("YENİ")});
    QCOMPARE(fixture.tableNames(PaymentCategory::Private), QStringList{QStringLiteral("ESKİ")});
    QVERIFY(!window.payeeList(PaymentCategory::Private)->hasUnsavedChanges());
    QVERIFY(QFile::exists(fixture.folder() + QStringLiteral("/Zenparol.ini")));

    // Nothing pending any more: only the exit question.
    recorder.clear();
    recorder.setAnswers({Button::Yes});
    window.close();
    QCOMPARE(recorder.texts(), QStringList{QStringLiteral("Programdan çıkmak istiyor musunuz?")});
    QVERIFY(!window.isVisible());
}

void TestMainWindowRegistry::refusedSaveInTheCloseSequenceKeepsTheWindowOpen()
{
    TemporaryPayeeDatabase fixture;
    fixture.addNames(PaymentCategory::Treatment, {QStringLiteral("ESKİ")});
    OpenWindow open(fixture);
    TForm1 &window = open.window;
    fixture.refuseName(PaymentCategory::Treatment, QStringLiteral("RED"));
    QVERIFY(window.payeeList(PaymentCategory::Treatment)->setField(PayeeColumn::Name, QStringLiteral("RED")).succeeded());

    MessageRecorder recorder({Button::Yes, Button::Ok});
    window.close();
    QCOMPARE(recorder.requests().size(), 2);
    QCOMPARE(recorder.requests()[1].caption, QStringLiteral("Mirvasel"));
    QVERIFY(recorder.requests()[1].text.startsWith(QStringLiteral("Kayıt kaydedilemedi")));
    QVERIFY(window.isVisible());
    QCOMPARE(window.payeeList(PaymentCategory::Treatment)->state(), PayeeList::State::Editing);
    QCOMPARE(window.payeeList(PaymentCategory::Treatment)->field(PayeeColumn::Name), QStringLiteral("RED"));
    QCOMPARE(fixture.tableNames(PaymentCategory::Treatment), QStringList{QStringLiteral("ESKİ")});
    fixture.stopRefusing();
    window.payeeList(PaymentCategory::Treatment)->cancel();
}

QTEST_MAIN(TestMainWindowRegistry)
#include "tst_MainWindowRegistry.moc"
