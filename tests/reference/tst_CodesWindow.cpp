#include "base/ProfileFile.h"
#include "desktop/MessageBoxes.h"
#include "referencedata/CodeSheetSettings.h"
#include "reference/TForm5.h"
#include "support/BlockedSettingsFile.h"
#include "support/MessageRecorder.h"
#include "support/ProgramFolderFixture.h"
#include "support/SettingsFileKeys.h"
#include "support/WidgetLayout.h"

#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include "desktop/ProgramFont.h"

#include <QtTest>

#include <functional>

namespace {

// The window builds its widgets when first shown; tests that look at them
// before that have them built.
QTabWidget *pagesOf(TForm5 &window)
{
    window.ensureBuilt();
    return window.findChild<QTabWidget *>(QStringLiteral("PageControl1"));
}

QList<bool> visibleTabs(TForm5 &window)
{
    QList<bool> visible;
    const QTabWidget *pages = pagesOf(window);
    for (int index = 0; index < pages->count(); ++index)
        visible << pages->isTabVisible(index);
    return visible;
}

// Runs the opening while a zero timer looks at the window and closes it.
void whileOpen(TForm5 &window, const std::function<int()> &open, const std::function<void()> &look)
{
    bool looked = false;
    QTimer::singleShot(0, &window, [&] {
        look();
        looked = true;
        window.close();
    });
    open();
    QVERIFY(looked);
    QVERIFY(!window.isVisible());
}

QLineEdit *named(TForm5 &window, const QString &name)
{
    window.ensureBuilt();
    return window.findChild<QLineEdit *>(name);
}

} // namespace

class TestCodesWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void cellNames_data();
    void cellNames();
    void freshStartShowsTheDefaults();
    void closingWritesEveryStoredCell();
    void everyCloseSaves_data();
    void everyCloseSaves();
    void typingReachesTheSheetAtOnce();
    void valuesFromTheFileShowInTheCells();
    void clearedCellStaysEmptyAfterRestart();
    void privateFixedNamesIgnoreTheFile();
    void failedSaveKeepsTheTexts_data();
    void failedSaveKeepsTheTexts();
    void openingModes();
    void layoutReadsWell();
};

void TestCodesWindow::initTestCase()
{
    ProgramFont::applyToApplication();
}

void TestCodesWindow::cellNames_data()
{
    QTest::addColumn<PaymentCategory>("category");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("name");

    QTest::newRow("pharmacy first") << PaymentCategory::Pharmacy << 1 << 1 << "Edit1";
    QTest::newRow("pharmacy row 2 account") << PaymentCategory::Pharmacy << 2 << 1 << "Edit15";
    QTest::newRow("pharmacy last code") << PaymentCategory::Pharmacy << 7 << 14 << "Edit98";
    QTest::newRow("pharmacy names") << PaymentCategory::Pharmacy << 1 << 15 << "Edit336";
    QTest::newRow("pharmacy last name") << PaymentCategory::Pharmacy << 7 << 15 << "Edit342";
    QTest::newRow("hospital first") << PaymentCategory::Hospital << 1 << 1 << "Edit101";
    QTest::newRow("hospital last code") << PaymentCategory::Hospital << 7 << 14 << "Edit198";
    QTest::newRow("hospital names") << PaymentCategory::Hospital << 1 << 15 << "Edit343";
    QTest::newRow("treatment first") << PaymentCategory::Treatment << 1 << 1 << "Edit201";
    QTest::newRow("treatment economic 4 row 9") << PaymentCategory::Treatment << 9 << 14 << "Edit326";
    QTest::newRow("treatment last name") << PaymentCategory::Treatment << 9 << 15 << "Edit358";
    QTest::newRow("private first") << PaymentCategory::Private << 1 << 1 << "Edit401";
    QTest::newRow("private last code") << PaymentCategory::Private << 7 << 14 << "Edit498";
    QTest::newRow("private name") << PaymentCategory::Private << 1 << 15 << "EditH1";
    QTest::newRow("private fixed name") << PaymentCategory::Private << 7 << 15 << "EditH7";
}

void TestCodesWindow::cellNames()
{
    QFETCH(PaymentCategory, category);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, name);
    QCOMPARE(TForm5::cellName(category, row, column), name);
}

void TestCodesWindow::freshStartShowsTheDefaults()
{
    ProgramFolderFixture folder;
    TForm5 window;
    QCOMPARE(window.windowTitle(), QStringLiteral("Kurumsal / Fonksiyonel / Ek. Ayrıntı Kodları"));
    QCOMPARE(window.size(), QSize(469, 258));

    const CodeSheets defaults = defaultCodeSheets();
    for (PaymentCategory category : kAllCategories)
        QCOMPARE(window.sheet(category), defaults[std::size_t(categoryIndex(category))]);
    QVERIFY(!window.isBuilt()); // the cells come with the first show

    window.ensureBuilt();
    for (PaymentCategory category : kAllCategories) {
        const CodeSheet &expected = defaults[std::size_t(categoryIndex(category))];
        QCOMPARE(window.sheet(category), expected);
        for (int row = 1; row <= expected.rowCount(); ++row) {
            for (int column = 1; column <= AccountCodeLine::kColumnCount; ++column) {
                const QString name = TForm5::cellName(category, row, column);
                const QList<QLineEdit *> cells = window.findChildren<QLineEdit *>(name);
                QCOMPARE(cells.size(), 1);
                QLineEdit *cell = cells.first();
                QCOMPARE(cell, window.cell(category, row, column));
                QCOMPARE(cell->text(), expected.text(row, column));
                QCOMPARE(cell->isEnabled(), !expected.isFixed(row, column));
                QVERIFY2(!(cell->focusPolicy() & Qt::TabFocus), qPrintable(name));
            }
        }
    }
    QVERIFY(!named(window, QStringLiteral("EditH2"))->isEnabled());
    QCOMPARE(window.cellText(PaymentCategory::Private, 7, 15), QStringLiteral("Damga Vergisi"));

    // The level numbers above the code groups, tab by tab, left to right.
    const QStringList levelNames[] = {
        {"EdKur1", "EdKur2", "EdKur3", "EdKur4", "EdFon1", "EdFon2", "EdFon3", "EdFon4", "EdFin1", "EdEko1",
         "EdEko2", "EdEko3", "EdEko4"},
        {"EdKur_1", "EdKur_2", "EdKur_3", "EdKur_4", "EdFon_1", "EdFon_2", "EdFon_3", "EdFon_4", "EdFin_1",
         "EdEko_1", "EdEko_2", "EdEko_3", "EdEko_4"},
        {"EdKur_1_", "EdKur_2_", "EdKur_3_", "EdKur_4_", "EdFon_1_", "EdFon_2_", "EdFon_3_", "EdFon_4_",
         "EdFin_1_", "EdEko_1_", "EdEko_2_", "EdEko_3_", "EdEko_4_"},
        {"Edit335", "Edit330", "Edit329", "Edit328", "Edit327", "Edit200", "Edit199", "Edit100", "Edit99",
         "Edit334", "Edit333", "Edit332", "Edit331"},
    };
    const QStringList levels = {" 1", " 2", " 3", " 4", " 1", " 2", " 3", " 4", " 1", " 1", " 2", " 3", " 4"};
    QTabWidget *pages = pagesOf(window);
    for (int tab = 0; tab < kCategoryCount; ++tab) {
        QWidget *page = pages->widget(tab);
        QCOMPARE(page->objectName(), QStringLiteral("TabSheet%1").arg(tab + 1));
        int previousLeft = -1;
        for (int i = 0; i < levels.size(); ++i) {
            const QString &name = levelNames[tab].at(i);
            auto *cell = page->findChild<QLineEdit *>(name);
            QVERIFY2(cell, qPrintable(name));
            QCOMPARE(cell->text(), levels.at(i));
            QVERIFY(!cell->isEnabled());
            QVERIFY(cell->x() > previousLeft);
            previousLeft = cell->x();
        }
    }
    const QStringList captions = {"Eczane Nakit", "Hastane/Öz.Hst Nakit", "Tedavi Nakit", "ÖZEL NAKİT"};
    for (int tab = 0; tab < kCategoryCount; ++tab)
        QCOMPARE(pages->tabText(tab), captions.at(tab));
}

void TestCodesWindow::closingWritesEveryStoredCell()
{
    ProgramFolderFixture folder;
    TForm5 window;
    window.show();
    window.close();

    const QList<SettingsFileKey> keys = settingsFileKeys(folder.readFile(QStringLiteral("Zenparol.ini")));
    QCOMPARE(keys.size(), CodeSheetSettings::kStoredCellCount);
    const CodeSheets defaults = defaultCodeSheets();
    for (qsizetype i = 0; i < keys.size(); ++i) {
        const CodeSheetSettings::StoredCell &cell = CodeSheetSettings::storedCells().at(i);
        QCOMPARE(keys.at(i).section, cell.key.section);
        QCOMPARE(keys.at(i).key, cell.key.key);
        QCOMPARE(keys.at(i).value, defaults[std::size_t(categoryIndex(cell.category))].text(cell.row, cell.column));
    }
}

void TestCodesWindow::everyCloseSaves_data()
{
    QTest::addColumn<int>("how");
    QTest::newRow("close box") << 0;
    QTest::newRow("Esc") << 1;
    QTest::newRow("reject") << 2;
}

void TestCodesWindow::everyCloseSaves()
{
    QFETCH(int, how);
    ProgramFolderFixture folder;
    TForm5 window;
    for (int visit = 1; visit <= 2; ++visit) {
        const QString typed = QStringLiteral("9%1").arg(visit);
        whileOpen(window, [&] { return window.showAllSheets(); }, [&] {
            named(window, QStringLiteral("Edit15"))->setText(typed);
            if (how == 1)
                QTest::keyClick(&window, Qt::Key_Escape);
            else if (how == 2)
                window.reject();
        });
        const ProfileFile file;
        QCOMPARE(file.readString(u"Eczane Kod", u"15", QString()), typed);
    }
}

void TestCodesWindow::typingReachesTheSheetAtOnce()
{
    ProgramFolderFixture folder;
    TForm5 window;
    QLineEdit *account = named(window, QStringLiteral("Edit215")); // treatment row 2 account number
    account->selectAll();
    QTest::keyClicks(account, QStringLiteral("830"));
    QCOMPARE(window.cellText(PaymentCategory::Treatment, 2, 1), QStringLiteral("830"));
    QTest::keyClick(account, Qt::Key_Backspace);
    QCOMPARE(window.sheet(PaymentCategory::Treatment).line(2).text(1), QStringLiteral("83"));

    QLineEdit *name = named(window, QStringLiteral("EditH3"));
    name->setText(QStringLiteral("Şartlı Bağış"));
    QCOMPARE(window.sheet(PaymentCategory::Private).name(3), QStringLiteral("Şartlı Bağış"));
    // Nothing else moved.
    QCOMPARE(window.cellText(PaymentCategory::Pharmacy, 2, 1), QStringLiteral("800"));
}

void TestCodesWindow::valuesFromTheFileShowInTheCells()
{
    ProgramFolderFixture folder;
    folder.writeFile(QStringLiteral("Zenparol.ini"),
                     "[Eczane Kod]\r\n15=801\r\n99=\xDD" "la\xE7 Giderleri\r\n"
                     "[Hastane Kod]\r\n02=\r\n"
                     "[Nakit Kod]\r\n126=09\r\n135=Damga\r\n"
                     "[Hesap Ayrinti]\r\n1 :=Sa\xF0l\xFDk\r\n6 :=Gelir\r\n"
                     "[Ozel Kod]\r\n01=831\r\n");
    TForm5 window;
    const struct
    {
        const char *cell;
        PaymentCategory category;
        int row;
        int column;
        QString text;
    } expected[] = {
        {"Edit15", PaymentCategory::Pharmacy, 2, 1, QStringLiteral("801")},
        {"Edit336", PaymentCategory::Pharmacy, 1, 15, QStringLiteral("İlaç Giderleri")},
        {"Edit102", PaymentCategory::Hospital, 1, 2, QString()},
        {"Edit103", PaymentCategory::Hospital, 1, 3, QStringLiteral("01")},
        {"Edit326", PaymentCategory::Treatment, 9, 14, QStringLiteral("09")},
        {"Edit358", PaymentCategory::Treatment, 9, 15, QStringLiteral("Damga")},
        {"EditH1", PaymentCategory::Private, 1, 15, QStringLiteral("Sağlık")},
        {"EditH6", PaymentCategory::Private, 6, 15, QStringLiteral("Gelir")},
        {"Edit401", PaymentCategory::Private, 1, 1, QStringLiteral("831")},
    };
    for (const auto &cell : expected) {
        QCOMPARE(named(window, QString::fromLatin1(cell.cell))->text(), cell.text);
        QCOMPARE(window.cellText(cell.category, cell.row, cell.column), cell.text);
    }
}

void TestCodesWindow::clearedCellStaysEmptyAfterRestart()
{
    ProgramFolderFixture folder;
    {
        TForm5 window;
        named(window, QStringLiteral("Edit342"))->clear(); // pharmacy row 7 name
        named(window, QStringLiteral("Edit401"))->clear();
        window.show();
        window.close();
    }
    const ProfileFile file;
    QCOMPARE(file.readString(u"Eczane Kod", u"105", QStringLiteral("absent")), QString());

    TForm5 restarted;
    QCOMPARE(named(restarted, QStringLiteral("Edit342"))->text(), QString());
    QCOMPARE(restarted.cellText(PaymentCategory::Pharmacy, 7, 15), QString());
    QCOMPARE(restarted.cellText(PaymentCategory::Private, 1, 1), QString());
    QCOMPARE(restarted.cellText(PaymentCategory::Pharmacy, 6, 15), QStringLiteral("Gelir Yansıtma Hesabı"));
}

void TestCodesWindow::privateFixedNamesIgnoreTheFile()
{
    ProgramFolderFixture folder;
    folder.writeFile(QStringLiteral("Zenparol.ini"), "[Hesap Ayrinti]\r\n2 :=Baska\r\n7 :=\r\n3 :=Xy\r\n");
    TForm5 window;
    QCOMPARE(named(window, QStringLiteral("EditH2"))->text(), QStringLiteral("Damga Vergisi"));
    QCOMPARE(named(window, QStringLiteral("EditH7"))->text(), QStringLiteral("Damga Vergisi"));
    QCOMPARE(window.cellText(PaymentCategory::Private, 2, 15), QStringLiteral("Damga Vergisi"));
    QCOMPARE(window.cellText(PaymentCategory::Private, 7, 15), QStringLiteral("Damga Vergisi"));
    QCOMPARE(window.cellText(PaymentCategory::Private, 3, 15), QStringLiteral("Xy"));

    // Whatever lands in the disabled cells by code stays out of the sheet.
    named(window, QStringLiteral("EditH2"))->setText(QStringLiteral("Zorla"));
    QCOMPARE(window.cellText(PaymentCategory::Private, 2, 15), QStringLiteral("Damga Vergisi"));

    window.show();
    window.close();
    // The keys the file had are left as they were; none is written.
    const QList<SettingsFileKey> keys = settingsFileKeys(folder.readFile(QStringLiteral("Zenparol.ini")));
    QStringList nameKeys;
    for (const SettingsFileKey &key : keys) {
        if (key.section == u"Hesap Ayrinti")
            nameKeys << key.key + u'=' + key.value;
    }
    QCOMPARE(nameKeys, QStringList({"2 :=Baska", "7 :=", "3 :=Xy", "1 :=Kamu Personeli .......... Giderleri",
                                    "4 :=Kamu Personeli ............ Gid.", "5 :=Xxxx", "6 :=Xxxxx"}));

    ProgramFolderFixture fresh;
    TForm5 freshWindow;
    freshWindow.show();
    freshWindow.close();
    for (const SettingsFileKey &key : settingsFileKeys(fresh.readFile(QStringLiteral("Zenparol.ini"))))
        QVERIFY2(key.key != u"2 :" && key.key != u"7 :", qPrintable(key.key));
}

void TestCodesWindow::failedSaveKeepsTheTexts_data()
{
    BlockedSettingsFile::addRows();
}

void TestCodesWindow::failedSaveKeepsTheTexts()
{
    QFETCH(bool, directoryInTheWay);
    ProgramFolderFixture folder;
    const QString path = ProfileFile::settingsFilePath();
    folder.writeFile(QStringLiteral("Zenparol.ini"), "[Eczane Kod]\r\n01=830\r\n");
    TForm5 window;
    named(window, QStringLiteral("Edit1"))->setText(QStringLiteral("831"));
    named(window, QStringLiteral("EditH5"))->setText(QStringLiteral("Yeni Ad"));

    BlockedSettingsFile blocked(path, directoryInTheWay);
    QVERIFY(blocked.isBlocked());
    MessageRecorder messages;
    window.show();
    window.close();
    QVERIFY(!window.isVisible());
    QCOMPARE(messages.requests().size(), 1);
    const MessageBoxes::Request &box = messages.requests().first();
    QVERIFY2(BlockedSettingsFile::isUnableToWriteBox(box, path), qPrintable(box.text));
    QCOMPARE(named(window, QStringLiteral("Edit1"))->text(), QStringLiteral("831"));
    QCOMPARE(window.cellText(PaymentCategory::Private, 5, 15), QStringLiteral("Yeni Ad"));

    // Once the file can be written again, the next close keeps everything.
    QVERIFY(blocked.release());
    window.show();
    window.close();
    QCOMPARE(messages.requests().size(), 1);
    const ProfileFile file;
    QCOMPARE(file.readString(u"Eczane Kod", u"01", QString()), QStringLiteral("831"));
    QCOMPARE(file.readString(u"Hesap Ayrinti", u"5 :", QString()), QStringLiteral("Yeni Ad"));
}

void TestCodesWindow::openingModes()
{
    ProgramFolderFixture folder;
    TForm5 window;
    QTabWidget *pages = pagesOf(window);

    whileOpen(window, [&] { return window.showPrivateSheetOnly(); }, [&] {
        QVERIFY(window.isModal());
        QCOMPARE(visibleTabs(window), QList<bool>({false, false, false, true}));
        QCOMPARE(pages->currentIndex(), 3);
    });
    // Hidden until the menu brings them back.
    QCOMPARE(visibleTabs(window), QList<bool>({false, false, false, true}));
    whileOpen(window, [&] { return window.showPrivateSheetOnly(); }, [&] {
        QCOMPARE(visibleTabs(window), QList<bool>({false, false, false, true}));
    });

    whileOpen(window, [&] { return window.showAllSheets(); }, [&] {
        QVERIFY(window.isModal());
        QCOMPARE(visibleTabs(window), QList<bool>({true, true, true, true}));
        QCOMPARE(pages->currentIndex(), 0);
        pages->setCurrentIndex(2);
    });
    // The menu always starts on the pharmacy sheet.
    whileOpen(window, [&] { return window.showAllSheets(); }, [&] {
        QCOMPARE(pages->currentIndex(), 0);
    });
}

void TestCodesWindow::layoutReadsWell()
{
    ProgramFolderFixture folder;
    TForm5 window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTabWidget *pages = pagesOf(window);
    QCOMPARE(pages->geometry(), window.rect());
    for (int tab = 0; tab < pages->count(); ++tab) {
        pages->setCurrentIndex(tab);
        QCoreApplication::processEvents();
        QWidget *page = pages->widget(tab);
        const QStringList problems = WidgetLayout::problems(page);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));

        QStringList headers;
        for (const QLabel *label : page->findChildren<QLabel *>()) {
            headers << label->text();
            QCOMPARE(label->font().pixelSize(), 9);
        }
        QStringList expected = {"Hesap No", "Kurumsal Kod", "Fonsiyonel Kod", "Fin Kd", "Ekonomik / Ayrıntı Kodu"};
        if (tab == 3)
            expected << "Hesap / Ayrıntı Adı";
        QCOMPARE(headers, expected);

        // The last row still shows whole above the panel's lower edge.
        const QLineEdit *last = window.cell(kAllCategories[std::size_t(tab)], window.sheet(kAllCategories[std::size_t(tab)]).rowCount(), 15);
        const QWidget *panel = last->parentWidget();
        QVERIFY(panel->contentsRect().contains(last->geometry()));
    }
    window.close();
}

QTEST_MAIN(TestCodesWindow)
#include "tst_CodesWindow.moc"
