#include "base/ProfileFile.h"
#include "desktop/MessageBoxes.h"
#include "referencedata/AutomaticDates.h"
#include "referencedata/InstitutionSettings.h"
#include "reference/TForm4.h"
#include "support/BlockedSettingsFile.h"
#include "support/MessageRecorder.h"
#include "support/ProgramFolderFixture.h"
#include "support/SettingsFileKeys.h"
#include "support/WidgetLayout.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTabWidget>
#include "desktop/ProgramFont.h"

#include <QtTest>

namespace {

// The window builds its widgets when first shown; tests that look at them
// before that have them built.
QLineEdit *field(TForm4 &window, const QString &name)
{
    window.ensureBuilt();
    return window.findChild<QLineEdit *>(name);
}

QCheckBox *checkBox(TForm4 &window, const QString &name)
{
    window.ensureBuilt();
    return window.findChild<QCheckBox *>(name);
}

void closeOnce(TForm4 &window)
{
    window.show();
    window.close();
    QVERIFY(!window.isVisible());
}

} // namespace

class TestInstitutionWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void freshStartDefaults_data();
    void freshStartDefaults();
    void closingWritesTheValuesInOrder();
    void valuesFromTheFileShowInTheFields();
    void clearedNameStaysEmptyAfterRestart();
    void failedSaveKeepsTheTexts_data();
    void failedSaveKeepsTheTexts();
    void automaticYearAndDate_data();
    void automaticYearAndDate();
    void automaticUpdateChangesNothingWhenRight();
    void automaticDatesIgnoreTheLocale();
    void keyboardAndTabs();
    void layoutReadsWell();
};

void TestInstitutionWindow::initTestCase()
{
    ProgramFont::applyToApplication();
}

void TestInstitutionWindow::freshStartDefaults_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::newRow("accounting unit code") << "EdSaymanKod" << "07-50";
    QTest::newRow("accounting unit name") << "EdSaymanAd" << "Muhasebe Müd.";
    QTest::newRow("unit") << "EdBirim" << "358";
    QTest::newRow("institution code 1") << "EdBirim1" << "1";
    QTest::newRow("institution code 3") << "EdBirim3" << "13";
    QTest::newRow("institution code 4 ends with a point") << "EdBirim4" << "01.";
    QTest::newRow("budget year") << "EdButceYili" << "";
    QTest::newRow("journal date") << "EdTarih" << "";
    QTest::newRow("institution") << "EdKurumAdi" << "Milli Eğitim Müdürlüğü";
    QTest::newRow("unit name") << "EdBirimAdi" << "Deneme Okulu";
    QTest::newRow("preparer heading") << "Edit29" << "Düzenleyen";
    QTest::newRow("preparer") << "Edit1" << "";
    QTest::newRow("column 1 heading") << "Edit28" << "Vize Kontrol Edilmiştir";
    QTest::newRow("misspelt title kept") << "Edit19" << "Mali Kontol Yetkilisi";
    QTest::newRow("spending officer") << "Edit22" << "Harcama Yetkilisi";
    QTest::newRow("accounting officer") << "Edit25" << "Muhasebe Yetkilisi";
    QTest::newRow("reviewer 2") << "Edit14" << "Şef";
    QTest::newRow("reviewer 3") << "Edit15" << "Muhasebe Yetkilisi Yrd.";
    QTest::newRow("footnote")
        << "Edit30"
        << "(*) Gerçekleştirme görevlileri arasında harcama yetkilisince görevlendirilen kişi tarafından imzalanacaktır.";
    QTest::newRow("a label cell is not a field") << "Edit3" << "";
}

void TestInstitutionWindow::freshStartDefaults()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    ProgramFolderFixture folder;
    TForm4 window;
    QCOMPARE(window.windowTitle(), QStringLiteral("Kurum - İmza Bilgileri Girişi"));
    QCOMPARE(window.size(), QSize(518, 261));
    QCOMPARE(window.fieldText(name), text);
    // A label cell keeps no value: asking for one is a programming error.
    if (InstitutionSettings::isStored(name, false))
        QCOMPARE(window.values().text(name), text);
    else
        QVERIFY(!window.values().texts.contains(name));
    QVERIFY(!checkBox(window, QStringLiteral("CheckBox1"))->isChecked());
    QVERIFY(!checkBox(window, QStringLiteral("CheckBox2"))->isChecked());
    QCOMPARE(window.values(), InstitutionSettings::defaults());
}

void TestInstitutionWindow::closingWritesTheValuesInOrder()
{
    ProgramFolderFixture folder;
    folder.writeFile(QStringLiteral("Zenparol.ini"), "[Eczane Kod]\r\n01=830\r\n");
    TForm4 window;
    checkBox(window, QStringLiteral("CheckBox2"))->setChecked(true);
    field(window, QStringLiteral("Edit23"))->setText(QStringLiteral("Ayşe Işık"));
    closeOnce(window);

    const QList<SettingsFileKey> keys = settingsFileKeys(folder.readFile(QStringLiteral("Zenparol.ini"))).mid(1);
    const QList<InstitutionSettings::StoredValue> &stored = InstitutionSettings::storedValues();
    QCOMPARE(stored.size(), InstitutionSettings::kStoredValueCount);
    QCOMPARE(keys.size(), stored.size());
    QStringList written;
    for (const SettingsFileKey &key : keys)
        written << key.section + u'/' + key.key;
    QStringList expected;
    for (int key = 1; key <= 12; ++key)
        expected << QStringLiteral("Kurum Imza/%1").arg(key, 2, 10, QChar(u'0'));
    for (int key = 1; key <= 13; ++key)
        expected << QStringLiteral("Kurum Amirler/%1").arg(key);
    expected << "Tercih/1" << "Tercih/2";
    for (int key = 1; key <= 7; ++key)
        expected << QStringLiteral("Tetkik/%1").arg(key);
    QCOMPARE(written, expected);

    QCOMPARE(keys.at(6).value, QStringLiteral("01."));
    QCOMPARE(keys.at(18).value, QStringLiteral("Ayşe Işık")); // "Kurum Amirler" "7"
    QCOMPARE(keys.at(25).value, QStringLiteral("0"));
    QCOMPARE(keys.at(26).value, QStringLiteral("1"));
    QCOMPARE(keys.at(33).value, window.fieldText(QStringLiteral("Edit30")));
}

void TestInstitutionWindow::valuesFromTheFileShowInTheFields()
{
    ProgramFolderFixture folder;
    folder.writeFile(QStringLiteral("Zenparol.ini"),
                     "[Kurum Imza]\r\n01=07-51\r\n07=\r\n08=1999\r\n11=Sa\xF0l\xFDk M\xFC" "d\xFCrl\xFC\xF0\xFC\r\n"
                     "[kurum amirler]\r\n3=Mali Kontrol Yetkilisi\r\n13=Haz\xFDrlayan\r\n"
                     "[Tercih]\r\n1=1\r\n2=5\r\n"
                     "[Tetkik]\r\n2=\xDE" "ef Yrd.\r\n7=\r\n");
    TForm4 window;
    QCOMPARE(window.fieldText(QStringLiteral("EdSaymanKod")), QStringLiteral("07-51"));
    QCOMPARE(window.fieldText(QStringLiteral("EdBirim4")), QString());
    QCOMPARE(window.fieldText(QStringLiteral("EdButceYili")), QStringLiteral("1999"));
    QCOMPARE(window.fieldText(QStringLiteral("EdKurumAdi")), QStringLiteral("Sağlık Müdürlüğü"));
    QCOMPARE(window.fieldText(QStringLiteral("Edit19")), QStringLiteral("Mali Kontrol Yetkilisi"));
    QCOMPARE(window.fieldText(QStringLiteral("Edit29")), QStringLiteral("Hazırlayan"));
    QCOMPARE(window.fieldText(QStringLiteral("Edit14")), QStringLiteral("Şef Yrd."));
    QCOMPARE(window.fieldText(QStringLiteral("Edit30")), QString());
    QCOMPARE(window.fieldText(QStringLiteral("Edit22")), QStringLiteral("Harcama Yetkilisi"));
    QVERIFY(!window.isBuilt()); // read at start; the fields come with the first show

    // The idle pass keeps the values in step before the window was ever
    // opened, and the fields show them when it is.
    window.applyAutomaticYearAndDate(QDate(2026, 12, 10));
    QCOMPARE(window.fieldText(QStringLiteral("EdButceYili")), QStringLiteral("2026"));
    QCOMPARE(field(window, QStringLiteral("EdButceYili"))->text(), QStringLiteral("2026"));
    QCOMPARE(field(window, QStringLiteral("EdSaymanKod"))->text(), QStringLiteral("07-51"));
    QCOMPARE(field(window, QStringLiteral("EdKurumAdi"))->text(), QStringLiteral("Sağlık Müdürlüğü"));
    QVERIFY(checkBox(window, QStringLiteral("CheckBox1"))->isChecked());
    QVERIFY(checkBox(window, QStringLiteral("CheckBox2"))->isChecked());
    QVERIFY(window.values().isTicked(QStringLiteral("CheckBox2")));
}

void TestInstitutionWindow::clearedNameStaysEmptyAfterRestart()
{
    ProgramFolderFixture folder;
    {
        TForm4 window;
        field(window, QStringLiteral("Edit1"))->setText(QStringLiteral("Ali Veli"));
        field(window, QStringLiteral("Edit25"))->clear();
        closeOnce(window);
    }
    {
        TForm4 window;
        QCOMPARE(window.fieldText(QStringLiteral("Edit1")), QStringLiteral("Ali Veli"));
        QCOMPARE(window.fieldText(QStringLiteral("Edit25")), QString());
        field(window, QStringLiteral("Edit1"))->clear();
        closeOnce(window);
    }
    TForm4 restarted;
    QCOMPARE(restarted.fieldText(QStringLiteral("Edit1")), QString());
    QCOMPARE(restarted.fieldText(QStringLiteral("Edit25")), QString());
    QCOMPARE(restarted.fieldText(QStringLiteral("Edit22")), QStringLiteral("Harcama Yetkilisi"));
}

void TestInstitutionWindow::failedSaveKeepsTheTexts_data()
{
    BlockedSettingsFile::addRows();
}

void TestInstitutionWindow::failedSaveKeepsTheTexts()
{
    QFETCH(bool, directoryInTheWay);
    ProgramFolderFixture folder;
    const QString path = ProfileFile::settingsFilePath();
    folder.writeFile(QStringLiteral("Zenparol.ini"), "[Tetkik]\r\n1=Memur\r\n");
    TForm4 window;
    field(window, QStringLiteral("Edit16"))->setText(QStringLiteral("Zeynep Öztürk"));
    checkBox(window, QStringLiteral("CheckBox1"))->setChecked(true);

    BlockedSettingsFile blocked(path, directoryInTheWay);
    QVERIFY(blocked.isBlocked());
    MessageRecorder messages;
    closeOnce(window);
    QCOMPARE(messages.requests().size(), 1);
    const MessageBoxes::Request &box = messages.requests().first();
    QVERIFY2(BlockedSettingsFile::isUnableToWriteBox(box, path), qPrintable(box.text));
    QCOMPARE(window.fieldText(QStringLiteral("Edit16")), QStringLiteral("Zeynep Öztürk"));
    QVERIFY(checkBox(window, QStringLiteral("CheckBox1"))->isChecked());

    QVERIFY(blocked.release());
    closeOnce(window);
    QCOMPARE(messages.requests().size(), 1);
    const ProfileFile file;
    QCOMPARE(file.readString(u"Tetkik", u"4", QString()), QStringLiteral("Zeynep Öztürk"));
    QCOMPARE(file.readBool(u"Tercih", u"1", false), true);
}

void TestInstitutionWindow::automaticYearAndDate_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<bool>("yearTicked");
    QTest::addColumn<bool>("dateTicked");
    QTest::addColumn<QString>("typedYear");
    QTest::addColumn<QString>("typedDate");
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("date");

    const QDate march5(2024, 3, 5);
    QTest::newRow("both on") << march5 << true << true << "" << "" << "2024" << "05.03.2024";
    QTest::newRow("both off") << march5 << false << false << "" << "" << "" << "";
    QTest::newRow("typed year gone while off") << march5 << false << true << "2023" << "" << "" << "05.03.2024";
    QTest::newRow("typed date gone while off") << march5 << true << false << "" << "01.01.2024" << "2024" << "";
    QTest::newRow("typed values replaced while on")
        << march5 << true << true << "1999" << "31.12.1999" << "2024" << "05.03.2024";
    QTest::newRow("last day of a year") << QDate(1999, 12, 31) << true << true << "" << "" << "1999" << "31.12.1999";
}

void TestInstitutionWindow::automaticYearAndDate()
{
    QFETCH(QDate, today);
    QFETCH(bool, yearTicked);
    QFETCH(bool, dateTicked);
    QFETCH(QString, typedYear);
    QFETCH(QString, typedDate);
    QFETCH(QString, year);
    QFETCH(QString, date);

    ProgramFolderFixture folder;
    TForm4 window;
    checkBox(window, QStringLiteral("CheckBox1"))->setChecked(yearTicked);
    checkBox(window, QStringLiteral("CheckBox2"))->setChecked(dateTicked);
    field(window, QStringLiteral("EdButceYili"))->setText(typedYear);
    field(window, QStringLiteral("EdTarih"))->setText(typedDate);
    window.applyAutomaticYearAndDate(today);
    QCOMPARE(window.fieldText(QStringLiteral("EdButceYili")), year);
    QCOMPARE(window.fieldText(QStringLiteral("EdTarih")), date);

    // Switching a box off empties its field at the next update.
    checkBox(window, QStringLiteral("CheckBox1"))->setChecked(false);
    checkBox(window, QStringLiteral("CheckBox2"))->setChecked(false);
    window.applyAutomaticYearAndDate(today);
    QCOMPARE(window.fieldText(QStringLiteral("EdButceYili")), QString());
    QCOMPARE(window.fieldText(QStringLiteral("EdTarih")), QString());
}

void TestInstitutionWindow::automaticUpdateChangesNothingWhenRight()
{
    ProgramFolderFixture folder;
    TForm4 window;
    QLineEdit *year = field(window, QStringLiteral("EdButceYili"));
    QLineEdit *date = field(window, QStringLiteral("EdTarih"));
    QSignalSpy yearChanges(year, &QLineEdit::textChanged);
    QSignalSpy dateChanges(date, &QLineEdit::textChanged);
    const QDate today(2024, 3, 5);

    window.applyAutomaticYearAndDate(today); // both off, both already empty
    QCOMPARE(yearChanges.size(), 0);
    QCOMPARE(dateChanges.size(), 0);

    checkBox(window, QStringLiteral("CheckBox1"))->setChecked(true);
    checkBox(window, QStringLiteral("CheckBox2"))->setChecked(true);
    window.applyAutomaticYearAndDate(today);
    QCOMPARE(yearChanges.size(), 1);
    QCOMPARE(dateChanges.size(), 1);

    // An idle program calls this all the time: the caret and any selection
    // the user made in the field must survive.
    date->setCursorPosition(3);
    for (int i = 0; i < 3; ++i)
        window.applyAutomaticYearAndDate(today);
    QCOMPARE(yearChanges.size(), 1);
    QCOMPARE(dateChanges.size(), 1);
    QCOMPARE(date->cursorPosition(), 3);

    window.applyAutomaticYearAndDate(today.addDays(1));
    QCOMPARE(yearChanges.size(), 1);
    QCOMPARE(dateChanges.size(), 2);
    QCOMPARE(date->text(), QStringLiteral("06.03.2024"));
}

void TestInstitutionWindow::automaticDatesIgnoreTheLocale()
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const QDate day(2024, 3, 5);
    const QString date = AutomaticDates::shortDate(day);
    const QString year = AutomaticDates::budgetYear(day);
    QLocale::setDefault(before);
    QCOMPARE(date, QStringLiteral("05.03.2024"));
    QCOMPARE(year, QStringLiteral("2024"));
    QCOMPARE(AutomaticDates::budgetYear(QDate(987, 6, 1)), QStringLiteral("987"));
}

void TestInstitutionWindow::keyboardAndTabs()
{
    ProgramFolderFixture folder;
    TForm4 window;
    window.ensureBuilt();
    // Value fields and the boxes take the Tab key; the grey captions do not.
    for (const InstitutionSettings::StoredValue &stored : InstitutionSettings::storedValues()) {
        auto *widget = window.findChild<QWidget *>(stored.objectName);
        QVERIFY2(widget, qPrintable(stored.objectName));
        QVERIFY2(widget->isEnabled(), qPrintable(stored.objectName));
        QVERIFY2(widget->focusPolicy() & Qt::TabFocus, qPrintable(stored.objectName));
    }
    const QStringList captions = {"Edit3", "Edit4", "Edit5", "Edit6", "Edit7", "Edit8", "Edit9", "Edit10",
                                  "Edit11", "Edit12"};
    const QStringList captionTexts = {"Muhasebe Birim Kodu", "Birim Adı", "Kurum - Birim Kodu", "Kurum Adı",
                                      "Muhasebe Birim Adı", "   Birim", " Yevmiyenin", "Bütçe Yılı", "Tarihi",
                                      "No.su"};
    for (qsizetype i = 0; i < captions.size(); ++i) {
        QLineEdit *caption = field(window, captions.at(i));
        QVERIFY2(caption, qPrintable(captions.at(i)));
        QCOMPARE(caption->text(), captionTexts.at(i));
        QVERIFY(!caption->isEnabled());
    }
    // The Tab key walks each tab's fields in reading order.
    const QStringList chains[] = {
        {"EdSaymanKod", "EdSaymanAd", "EdBirim1", "EdBirim2", "EdBirim3", "EdBirim4", "EdBirim", "EdKurumAdi",
         "EdBirimAdi", "EdButceYili", "CheckBox1", "EdTarih", "CheckBox2", "EdNo"},
        {"Edit29", "Edit1", "Edit2", "Edit19", "Edit20", "Edit21", "Edit22", "Edit23", "Edit24", "Edit25", "Edit26",
         "Edit27", "Edit28"},
        {"Edit13", "Edit14", "Edit15", "Edit16", "Edit17", "Edit18", "Edit30"},
    };
    for (const QStringList &chain : chains) {
        QWidget *first = window.findChild<QWidget *>(chain.first());
        QWidget *page = first->parentWidget();
        QStringList walked;
        QWidget *widget = first;
        do {
            if (widget->isEnabled() && (widget->focusPolicy() & Qt::TabFocus) && page->isAncestorOf(widget))
                walked << widget->objectName();
            widget = widget->nextInFocusChain();
        } while (widget != first);
        QCOMPARE(walked, chain);
    }

    // Headings and titles of the signatories are grey but editable.
    QVERIFY(field(window, QStringLiteral("Edit19"))->isEnabled());
    QVERIFY(field(window, QStringLiteral("Edit19"))->property("gridHeading").toBool());
    QCOMPARE(checkBox(window, QStringLiteral("CheckBox1"))->text(), QStringLiteral("Otm."));

    auto *pages = window.findChild<QTabWidget *>(QStringLiteral("PageControl1"));
    QCOMPARE(pages->tabText(0), QStringLiteral(" K u r u m  B i l g i l e r i "));
    QCOMPARE(pages->tabText(1), QStringLiteral(" İ m z a  Y e t k i l i l e r i "));
    QCOMPARE(pages->tabText(2), QStringLiteral(" T e t k i k  E d e n "));
    auto *heading = window.findChild<QLabel *>(QStringLiteral("Label1"));
    QCOMPARE(heading->text(), QStringLiteral("TETKİK EDEN"));
    QVERIFY(heading->font().bold());

    // The window opens again on the tab last selected.
    pages->setCurrentIndex(2);
    closeOnce(window);
    window.show();
    QCOMPARE(pages->currentIndex(), 2);
    window.close();
}

void TestInstitutionWindow::layoutReadsWell()
{
    ProgramFolderFixture folder;
    TForm4 window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *pages = window.findChild<QTabWidget *>(QStringLiteral("PageControl1"));
    for (int tab = 0; tab < pages->count(); ++tab) {
        pages->setCurrentIndex(tab);
        QCoreApplication::processEvents();
        const QStringList problems = WidgetLayout::problems(pages->widget(tab));
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
    }
    window.close();
}

QTEST_MAIN(TestInstitutionWindow)
#include "tst_InstitutionWindow.moc"
