#include "base/ProfileFile.h"
#include "base/WindowsColour.h"
#include "computation/AttachmentLines.h"
#include "computation/AttachmentSettings.h"
#include "computation/FakePaymentPreferences.h"
#include "computation/WorksheetCases.h"
#include "computation/WorksheetDefinition.h"
#include "computation/WorksheetStates.h"
#include "controls/TAmountEdit.h"
#include "support/ProgramFolderFixture.h"
#include "worksheets/WorksheetPanel.h"
#include "worksheets/WorksheetSet.h"

#include <QAbstractEventDispatcher>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QClipboard>
#include <QtTest>

namespace {

// Lets the event loop run until it is about to wait for input, which is when
// the idle pass runs (it was connected first, so it runs before the quit).
void runUntilIdle()
{
    QEventLoop loop;
    const auto connection = QObject::connect(QAbstractEventDispatcher::instance(),
                                             &QAbstractEventDispatcher::aboutToBlock, &loop, &QEventLoop::quit);
    loop.exec();
    QObject::disconnect(connection);
}

QColor background(const QWidget *widget)
{
    return widget->palette().color(QPalette::Active, QPalette::Base);
}

// The main window as far as the worksheets see it: four kind panels with the
// worksheets placed below where the payee fields go, the result pages, the
// preferences and the idle handler.
struct Screen
{
    FakePaymentPreferences preferences;
    QWidget host;
    std::array<QWidget *, kCategoryCount> categoryPanels{};
    WorksheetSet set;

    Screen()
    {
        host.resize(576, 411);
        for (PaymentCategory category : kAllCategories) {
            auto *categoryPanel = new QFrame(&host);
            categoryPanel->setGeometry(0, 0, 576, 411);
            categoryPanel->hide();
            categoryPanels[std::size_t(categoryIndex(category))] = categoryPanel;
            set.placeInto(category, categoryPanel);
        }
        set.placeResultPages(&host);
        set.setPreferences(&preferences);
        set.installIdleHandler();
    }

    bool show(PaymentCategory category)
    {
        for (PaymentCategory other : kAllCategories)
            categoryPanels[std::size_t(categoryIndex(other))]->setVisible(other == category);
        host.show();
        host.activateWindow();
        return QTest::qWaitForWindowActive(&host);
    }

    template<typename Widget = TAmountEdit>
    Widget *find(const QString &name) const
    {
        return host.findChild<Widget *>(name);
    }

    // Tabs into the field as a clerk does (which selects its text), then
    // types; thousands separators are the field's own doing.
    void type(const QString &field, const QString &amount)
    {
        TAmountEdit *edit = find(field);
        edit->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(edit, QString(amount).remove(u'.'));
    }

    void click(const QString &button)
    {
        QTest::mouseClick(find<QAbstractButton>(button), Qt::LeftButton);
    }
};

// Records every change of the given fields' texts as "name=text".
struct TextLog
{
    QStringList entries;
    void watch(TAmountEdit *edit)
    {
        QObject::connect(edit, &QLineEdit::textChanged, edit, [this, edit](const QString &text) {
            entries.append(edit->objectName() + u'=' + text);
        });
    }
};

void runCase(PaymentCategory category)
{
    QFETCH(QStringList, amounts);
    QFETCH(QString, rate);
    QFETCH(bool, switchOn);
    QFETCH(int, currency);
    QFETCH(QString, stampByHand);

    const WorksheetDefinition &definition = worksheetDefinition(category);
    Screen screen;
    screen.preferences.rateText = rate;
    screen.preferences.currency = currency;
    QVERIFY(screen.show(category));
    screen.set.clear(category); // as the kind selector does
    if (switchOn)
        screen.click(definition.stampSwitchName);
    runUntilIdle();

    const std::vector<int> amountLines = definition.amountLines();
    for (qsizetype i = 0; i < amounts.size(); ++i) {
        if (!amounts[i].isEmpty())
            screen.type(definition.line(amountLines[std::size_t(i)]).fieldName, amounts[i]);
    }
    TAmountEdit *stamp = screen.find(definition.line(definition.stampLine()).fieldName);
    if (!stampByHand.isEmpty()) {
        QVERIFY(stamp->isEnabled());
        screen.type(stamp->objectName(), stampByHand);
    }
    runUntilIdle();
    QCOMPARE(stamp->isEnabled(), switchOn || definition.stampAlwaysApplies);
    screen.click(definition.computeButton);

    QFETCH(QStringList, lines);
    QStringList shown;
    QStringList read;
    for (int line = 1; line <= definition.lineCount(); ++line) {
        shown.append(screen.find(definition.line(line).fieldName)->text());
        read.append(screen.set.line(category, line).text);
    }
    QCOMPARE(shown, lines);
    QCOMPARE(read, lines);
    QTEST(screen.find(definition.debitTotalField)->text(), "debitTotal");
    QTEST(screen.find(definition.creditTotalField)->text(), "creditTotal");
    QTEST(screen.find<QLabel>(definition.firstSentenceLabel)->text(), "firstSentence");
    QTEST(screen.find<QLabel>(definition.secondSentenceLabel)->text(), "secondSentence");
    QTEST(screen.set.secondSentence(category), "secondSentence");
    QTEST(screen.find<QLabel>(definition.liveWordsLabel)->text(), "liveWords");
    QVERIFY(screen.find<QPushButton>(definition.printButton)->isEnabled());
}

// Counts what a change of a control would cause: repaints, update requests,
// enabled and palette changes.
class RepaintCounter : public QObject
{
public:
    int count = 0;
    QStringList seen;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::Paint:
        case QEvent::UpdateRequest:
        case QEvent::UpdateLater:
        case QEvent::EnabledChange:
        case QEvent::PaletteChange:
            ++count;
            seen.append(watched->objectName());
            break;
        default:
            break;
        }
        return false;
    }
};

} // namespace

class TestWorksheetSet : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void pharmacy_data() { WorksheetCases::pharmacy(); }
    void pharmacy() { runCase(PaymentCategory::Pharmacy); }
    void hospital_data() { WorksheetCases::hospital(); }
    void hospital() { runCase(PaymentCategory::Hospital); }
    void treatment_data() { WorksheetCases::treatment(); }
    void treatment() { runCase(PaymentCategory::Treatment); }
    void privateKind_data() { WorksheetCases::privateKind(); }
    void privateKind() { runCase(PaymentCategory::Private); }

    void stampDutyAndWordsFollowEachKeystroke();
    void pastedAmountReadsTheSameEverywhere();
    void treatmentWordsShowTheFieldChangedLast();
    void rateChangeWaitsForTheNextAmount();
    void computeShowsItIsBusy();
    void clearButton_data() { WorksheetCases::clearWrites(); }
    void clearButton();
    void clearFromTheMainWindow();
    void stampSwitch_data();
    void stampSwitch();

    void controlsAsDesigned();
    void layoutFitsBelowThePayeeFields();

    void idleEnablingRules();
    void idleHighlightsCountedAttachments();
    void idleReachesTheDateHook();
    void idlePassChangesNothingWhenNothingChanged();

    void attachmentKeysThroughTheSettingsFile();
    void readingForPrinting();
    void buttonsForTheMainWindow();
};

void TestWorksheetSet::initTestCase()
{
    // A blinking caret would repaint on its own.
    QApplication::setCursorFlashTime(0);
}

// A pasted amount is the amount the figures, the live words and both
// sentences read; a paste that is no amount changes none of them.
void TestWorksheetSet::pastedAmountReadsTheSameEverywhere()
{
    Screen screen;
    QVERIFY(screen.show(PaymentCategory::Pharmacy));
    TAmountEdit *amount = screen.find(QStringLiteral("Edit1"));
    amount->setFocus(Qt::TabFocusReason);
    QGuiApplication::clipboard()->setText(QStringLiteral("1.234,5"));
    QTest::keyClick(amount, Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(amount->text(), QStringLiteral("1.234,50"));
    QCOMPARE(screen.find(QStringLiteral("Edit4"))->text(), QStringLiteral("10,18"));
    QCOMPARE(screen.find<QLabel>(QStringLiteral("LabEczane"))->text(),
             QStringLiteral("BinİkiYüzOtuzDört TL. Elli Kr."));
    runUntilIdle();
    screen.click(QStringLiteral("BtnHazir1"));
    QCOMPARE(screen.find(QStringLiteral("Edit6"))->text(), QStringLiteral("1.224,32"));
    QCOMPARE(screen.find<QLabel>(QStringLiteral("LabelEcz1"))->text(),
             QStringLiteral("Yukarıda yazılı  YALNIZ: BinİkiYüzOtuzDört TL. Elli Kr. zenparol ettirilmiştir. "
                            "Ödenmesi / Mahsubu gerekir."));
    QCOMPARE(screen.find<QLabel>(QStringLiteral("LabelEcz2"))->text(),
             QStringLiteral("YALNIZ: BinİkiYüzYirmiDört TL. Otuzİki Kr. aldım."));

    QGuiApplication::clipboard()->setText(QStringLiteral("abc"));
    QTest::keyClick(amount, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(amount->text(), QStringLiteral("1.234,50"));
    QCOMPARE(screen.find(QStringLiteral("Edit4"))->text(), QStringLiteral("10,18"));
}

void TestWorksheetSet::stampDutyAndWordsFollowEachKeystroke()
{
    Screen screen;
    QVERIFY(screen.show(PaymentCategory::Pharmacy));
    TAmountEdit *amount = screen.find(QStringLiteral("Edit1"));
    TAmountEdit *stamp = screen.find(QStringLiteral("Edit4"));
    QLabel *words = screen.find<QLabel>(QStringLiteral("LabEczane"));
    amount->setFocus(Qt::TabFocusReason);

    struct Step
    {
        QChar key;
        const char *text;
        const char *stamp;
        const char *words;
    };
    const Step steps[] = {
        {u'1', "1,00", "0,01", "Bir TL."},
        {u'2', "12,00", "0,10", "Onİki TL."},
        {u'5', "125,00", "1,03", "YüzYirmiBeş TL."},
        {u',', "125,00", "1,03", "YüzYirmiBeş TL."},
        {u'5', "125,50", "1,04", "YüzYirmiBeş TL. Elli Kr."},
        {u'\b', "125,00", "1,03", "YüzYirmiBeş TL."},
    };
    for (const Step &step : steps) {
        if (step.key == u'\b')
            QTest::keyClick(amount, Qt::Key_Backspace);
        else
            QTest::keyClick(amount, step.key.toLatin1());
        QCOMPARE(amount->text(), QString::fromUtf8(step.text));
        QCOMPARE(stamp->text(), QString::fromUtf8(step.stamp));
        QCOMPARE(words->text(), QString::fromUtf8(step.words));
    }
}

void TestWorksheetSet::treatmentWordsShowTheFieldChangedLast()
{
    Screen screen;
    QVERIFY(screen.show(PaymentCategory::Treatment));
    screen.click(QStringLiteral("ChkTedavi"));
    QLabel *words = screen.find<QLabel>(QStringLiteral("LabNakit"));
    screen.type(QStringLiteral("Edit50"), QStringLiteral("100"));
    QCOMPARE(words->text(), QStringLiteral("Yüz TL."));
    screen.type(QStringLiteral("Edit52"), QStringLiteral("50"));
    QCOMPARE(words->text(), QStringLiteral("Elli TL."));
    QCOMPARE(screen.find(QStringLiteral("Edit55"))->text(), QStringLiteral("1,24"));
    screen.type(QStringLiteral("Edit50"), QStringLiteral("7"));
    QCOMPARE(words->text(), QStringLiteral("Yedi TL."));
    QCOMPARE(screen.find(QStringLiteral("Edit55"))->text(), QStringLiteral("0,47"));
}

void TestWorksheetSet::rateChangeWaitsForTheNextAmount()
{
    Screen screen;
    QVERIFY(screen.show(PaymentCategory::Pharmacy));
    TAmountEdit *stamp = screen.find(QStringLiteral("Edit4"));
    screen.type(QStringLiteral("Edit1"), QStringLiteral("100"));
    QCOMPARE(stamp->text(), QStringLiteral("0,83"));
    screen.preferences.rateText = QStringLiteral("10,00");
    runUntilIdle();
    QCOMPARE(stamp->text(), QStringLiteral("0,83"));
    screen.click(QStringLiteral("BtnHazir1"));
    QCOMPARE(screen.find(QStringLiteral("Edit6"))->text(), QStringLiteral("99,17"));
    screen.type(QStringLiteral("Edit1"), QStringLiteral("200"));
    QCOMPARE(stamp->text(), QStringLiteral("2,00"));
    // The results stay those of the last HESAPLA.
    QCOMPARE(screen.find(QStringLiteral("Edit6"))->text(), QStringLiteral("99,17"));
    QVERIFY(screen.find<QPushButton>(QStringLiteral("BtnPrint"))->isEnabled());
}

void TestWorksheetSet::computeShowsItIsBusy()
{
    // Seen at the moment YAZDIR is enabled, the step before the last.
    class Watcher : public QObject
    {
    public:
        QPushButton *compute = nullptr;
        QString caption;
        Qt::CursorShape cursor = Qt::ArrowCursor;
        bool seen = false;

    protected:
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::EnabledChange) {
                seen = true;
                caption = compute->text();
                cursor = QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : Qt::ArrowCursor;
            }
            return false;
        }
    };

    Screen screen;
    QVERIFY(screen.show(PaymentCategory::Private));
    Watcher watcher;
    watcher.compute = screen.find<QPushButton>(QStringLiteral("BtnHazir4"));
    screen.find<QPushButton>(QStringLiteral("BtnPrint4"))->installEventFilter(&watcher);
    screen.click(QStringLiteral("BtnHazir4"));
    QVERIFY(watcher.seen);
    QCOMPARE(watcher.caption, QStringLiteral("Bekleyiniz..."));
    QCOMPARE(watcher.cursor, Qt::WaitCursor);
    QCOMPARE(watcher.compute->text(), QStringLiteral("HESAPLA"));
    QVERIFY(!QApplication::overrideCursor());
}

void TestWorksheetSet::clearButton()
{
    QFETCH(PaymentCategory, category);
    const WorksheetDefinition &definition = worksheetDefinition(category);
    Screen screen;
    QVERIFY(screen.show(category));
    if (!definition.stampAlwaysApplies)
        screen.click(definition.stampSwitchName);
    const std::vector<int> amounts = definition.amountLines();
    screen.type(definition.line(amounts.front()).fieldName, QStringLiteral("100"));
    screen.type(definition.line(amounts.back()).fieldName, QStringLiteral("50"));
    screen.find<QSpinBox>(AttachmentLines::of(category, 1).countField)->setValue(3);
    runUntilIdle();
    screen.click(definition.computeButton);
    const QString firstSentence = screen.set.firstSentence(category);

    TextLog log;
    for (int field = 1; field <= definition.fieldCount(); ++field)
        log.watch(screen.find(definition.fieldName(field)));
    screen.click(definition.clearButton);
    // A live update connected ahead of the log reports its write before the
    // change that caused it; the fields still empty in the listed order.
    QFETCH(QStringList, writes);
    const auto emptied = [](const QStringList &entries) {
        QStringList names;
        for (const QString &entry : entries) {
            if (entry.endsWith(u'='))
                names.append(entry);
        }
        return names;
    };
    QCOMPARE(emptied(log.entries), emptied(writes));
    QCOMPARE(QSet<QString>(log.entries.begin(), log.entries.end()), QSet<QString>(writes.begin(), writes.end()));
    for (int field = 1; field <= definition.fieldCount(); ++field)
        QCOMPARE(screen.find(definition.fieldName(field))->text(), QString());
    QVERIFY(!screen.find<QPushButton>(definition.printButton)->isEnabled());
    QCOMPARE(screen.find<QLabel>(definition.liveWordsLabel)->text(), QStringLiteral("..."));
    QCOMPARE(screen.set.firstSentence(category), firstSentence);
    QCOMPARE(screen.find<QSpinBox>(AttachmentLines::of(category, 1).countField)->value(), 3);

    runUntilIdle();
    QVERIFY(!screen.find<QPushButton>(definition.computeButton)->isEnabled());
    QVERIFY(!screen.find<QPushButton>(definition.clearButton)->isEnabled());
    screen.type(definition.line(amounts.back()).fieldName, QStringLiteral("1"));
    runUntilIdle();
    QVERIFY(screen.find<QPushButton>(definition.computeButton)->isEnabled());
    QVERIFY(screen.find<QPushButton>(definition.clearButton)->isEnabled());
}

void TestWorksheetSet::clearFromTheMainWindow()
{
    Screen screen;
    TextLog log;
    for (const char *name : {"Edit1", "Edit17", "Edit50", "Edit52", "Edit70"})
        log.watch(screen.find(QString::fromLatin1(name)));
    screen.set.clear(PaymentCategory::Hospital);
    QCOMPARE(log.entries, (QStringList{"Edit17="}));
    QCOMPARE(screen.find(QStringLiteral("Edit20"))->text(), QString());
    QCOMPARE(screen.find(QStringLiteral("Edit1"))->text(), QStringLiteral("0,00"));

    // After the preferences dialog: pharmacy, hospital, treatment, private.
    log.entries.clear();
    screen.set.clearAll();
    QCOMPARE(log.entries, (QStringList{"Edit1=", "Edit50=", "Edit52=", "Edit70="}));
    for (const char *name : {"Edit4", "Edit20", "Edit55", "Edit73", "Edit16", "Edit85"})
        QCOMPARE(screen.find(QString::fromLatin1(name))->text(), QString());
}

void TestWorksheetSet::stampSwitch_data()
{
    QTest::addColumn<PaymentCategory>("category");
    QTest::newRow("Hastane") << PaymentCategory::Hospital;
    QTest::newRow("Tedavi") << PaymentCategory::Treatment;
    QTest::newRow("Ozel") << PaymentCategory::Private;
}

void TestWorksheetSet::stampSwitch()
{
    QFETCH(PaymentCategory, category);
    const WorksheetDefinition &definition = worksheetDefinition(category);
    Screen screen;
    QVERIFY(screen.show(category));
    const QString amount = definition.line(definition.amountLines().front()).fieldName;
    TAmountEdit *stamp = screen.find(definition.line(definition.stampLine()).fieldName);
    auto *print = screen.find<QPushButton>(definition.printButton);
    QCOMPARE(background(stamp), WindowsColour::buttonFace());

    for (const bool on : {true, false}) {
        screen.type(amount, QStringLiteral("100"));
        // Before the click the switch is the other way: no duty while off.
        QCOMPARE(stamp->text(), on ? QStringLiteral("0,00") : QStringLiteral("0,83"));
        runUntilIdle();
        screen.click(definition.computeButton);
        QVERIFY(print->isEnabled());

        screen.click(definition.stampSwitchName);
        QCOMPARE(screen.find<QCheckBox>(definition.stampSwitchName)->isChecked(), on);
        QCOMPARE(screen.find(amount)->text(), QString());
        QCOMPARE(stamp->text(), QString());
        QCOMPARE(screen.find(definition.debitTotalField)->text(), QString());
        QVERIFY(!print->isEnabled());
        QCOMPARE(background(stamp), on ? QColor(Qt::white) : WindowsColour::buttonFace());
        runUntilIdle();
        QCOMPARE(stamp->isEnabled(), on);
    }
}

void TestWorksheetSet::controlsAsDesigned()
{
    Screen screen;
    for (PaymentCategory category : kAllCategories) {
        const WorksheetDefinition &definition = worksheetDefinition(category);
        for (int field = 1; field <= definition.fieldCount(); ++field) {
            TAmountEdit *edit = screen.find(definition.fieldName(field));
            QVERIFY2(edit, qPrintable(definition.fieldName(field)));
            QCOMPARE(edit->editType(), TAmountEdit::CurrencyType);
            QCOMPARE(edit->decimals(), 2);
            QCOMPARE(edit->amountMaxLength(), 20);
            QCOMPARE(edit->activeFontColor(), QColor(Qt::blue));
            QCOMPARE(edit->activeSoilColor(), WindowsColour::skyBlue());
            QCOMPARE(edit->text(), QStringLiteral("0,00"));
            const bool onPage = screen.set.resultPages()->isAncestorOf(edit);
            QCOMPARE(onPage, definition.isAmountLine(field) == false && field != definition.stampLine());
        }
        QCOMPARE(screen.find<QLabel>(definition.liveWordsLabel)->text(), QStringLiteral("..."));
        for (const QString &name : {definition.firstSentenceLabel, definition.secondSentenceLabel}) {
            QLabel *label = screen.find<QLabel>(name);
            QVERIFY(label->isHidden());
            QCOMPARE(label->text(), QString());
        }
        QCOMPARE(screen.find<QPushButton>(definition.computeButton)->text(), QStringLiteral("HESAPLA"));
        QCOMPARE(screen.find<QPushButton>(definition.clearButton)->text(), QStringLiteral("TEMİZLE"));
        QCOMPARE(screen.find<QPushButton>(definition.printButton)->text(), QStringLiteral("YAZDIR"));
        QVERIFY(!screen.find<QPushButton>(definition.printButton)->isEnabled());
        if (!definition.stampAlwaysApplies) {
            auto *box = screen.find<QCheckBox>(definition.stampSwitchName);
            QCOMPARE(box->text(), definition.stampSwitchCaption);
            QVERIFY(!box->isChecked());
            QVERIFY(!(box->focusPolicy() & Qt::TabFocus));
            QCOMPARE(box->layoutDirection(), Qt::RightToLeft);
        }
        for (int line = 1; line <= AttachmentLines::lineCount(category); ++line) {
            const AttachmentLine &attachment = AttachmentLines::of(category, line);
            auto *count = screen.find<QSpinBox>(attachment.countField);
            QCOMPARE(count->value(), 0);
            QCOMPARE(count->minimum(), std::numeric_limits<int>::min());
            QCOMPARE(count->maximum(), std::numeric_limits<int>::max());
            QCOMPARE(screen.find<QLineEdit>(attachment.descriptionField)->text(), attachment.defaultDescription);
        }
    }
    QCOMPARE(screen.find<QCheckBox>(QStringLiteral("ChkHastane"))->text(),
             QStringLiteral("Özel Hastane İşlemi (Damga Vergisi)"));
    QLabel *caption = screen.find<QLabel>(QStringLiteral("Label68"));
    QCOMPARE(caption->text(), QStringLiteral("Kamu Personeli .......... Giderleri"));
    QVERIFY(caption->alignment() & Qt::AlignRight);
    QCOMPARE(screen.find<QPushButton>(QStringLiteral("BtnAyar"))->text(), QStringLiteral("Nakit Ayarları"));

    QTabWidget *pages = screen.set.resultPages();
    QCOMPARE(pages->objectName(), QStringLiteral("PageControl1"));
    QCOMPARE(pages->count(), 4);
    QStringList captions;
    for (int page = 0; page < pages->count(); ++page)
        captions.append(pages->tabText(page));
    QCOMPARE(captions, (QStringList{"Eczane", "Hastane", "Tedavi", "Ozel"}));
    screen.host.show();
    QVERIFY(!pages->isVisible());
}

void TestWorksheetSet::layoutFitsBelowThePayeeFields()
{
    Screen screen;
    for (PaymentCategory category : kAllCategories) {
        QVERIFY(screen.show(category));
        WorksheetPanel *panel = screen.set.panel(category);
        const QRect categoryPanel(0, 0, 576, 411);
        QVERIFY(categoryPanel.contains(panel->geometry()));
        QVERIFY(panel->geometry().top() >= 160); // the payee fields end at 159
        for (QWidget *child : panel->findChildren<QWidget *>()) {
            if (!child->isVisible())
                continue;
            const QRect inPanel(child->mapTo(panel, QPoint(0, 0)), child->size());
            QVERIFY2(panel->rect().contains(inPanel), qPrintable(child->objectName()));
        }
    }
}

void TestWorksheetSet::idleEnablingRules()
{
    Screen screen;
    QVERIFY(screen.show(PaymentCategory::Treatment));
    runUntilIdle();
    // Every amount shows "0,00" at start.
    for (const char *name : {"BtnHazir1", "BtnHazir2", "BtnHazir3", "BtnHazir4", "BtnSil1", "BtnSil2", "BtnSil3",
                             "BtnSil4", "Edit4"})
        QVERIFY2(screen.find<QWidget>(QString::fromLatin1(name))->isEnabled(), name);
    for (const char *name : {"Edit20", "Edit55", "Edit73", "BtnPrint", "BtnPrint2", "BtnPrint3", "BtnPrint4"})
        QVERIFY2(!screen.find<QWidget>(QString::fromLatin1(name))->isEnabled(), name);

    // Tedavi: either amount keeps HESAPLA and TEMİZLE usable.
    auto *compute = screen.find<QPushButton>(QStringLiteral("BtnHazir3"));
    auto *clear = screen.find<QPushButton>(QStringLiteral("BtnSil3"));
    screen.click(QStringLiteral("BtnSil3"));
    runUntilIdle();
    QVERIFY(!compute->isEnabled());
    QVERIFY(!clear->isEnabled());
    screen.type(QStringLiteral("Edit52"), QStringLiteral("1"));
    runUntilIdle();
    QVERIFY(compute->isEnabled());
    QVERIFY(clear->isEnabled());
    screen.type(QStringLiteral("Edit50"), QStringLiteral("2"));
    screen.find(QStringLiteral("Edit52"))->setText(QString());
    runUntilIdle();
    QVERIFY(compute->isEnabled());
    screen.find(QStringLiteral("Edit50"))->setText(QString());
    runUntilIdle();
    QVERIFY(!compute->isEnabled());

    // The stamp-duty field follows its switch, whoever sets it.
    screen.find<QCheckBox>(QStringLiteral("ChkOzel"))->setChecked(true);
    runUntilIdle();
    QVERIFY(screen.find(QStringLiteral("Edit73"))->isEnabled());
    QVERIFY(!screen.find(QStringLiteral("Edit55"))->isEnabled());
}

void TestWorksheetSet::idleHighlightsCountedAttachments()
{
    Screen screen;
    QVERIFY(screen.show(PaymentCategory::Private));
    runUntilIdle();
    auto *count = screen.find<QSpinBox>(QStringLiteral("SpinEdit17"));
    auto *description = screen.find<QLineEdit>(QStringLiteral("Edit71"));
    QCOMPARE(background(description), WindowsColour::buttonFace());
    count->setValue(-1);
    runUntilIdle();
    QCOMPARE(background(description), WindowsColour::buttonFace());
    // Typed in, as the user does.
    count->setFocus(Qt::TabFocusReason);
    QTest::keyClick(count, Qt::Key_Up);
    QTest::keyClick(count, Qt::Key_Up);
    QCOMPARE(count->value(), 1);
    runUntilIdle();
    QCOMPARE(background(description), QColor(Qt::white));
    count->setValue(0);
    runUntilIdle();
    QCOMPARE(background(description), WindowsColour::buttonFace());

    // Every line of every kind, by its own count.
    AttachmentSettings attachments = screen.set.attachments();
    std::array<int, AttachmentLines::kCount> &counts = attachments.counts;
    for (int key = 1; key <= AttachmentLines::kCount; ++key)
        counts[std::size_t(key - 1)] = key % 3 - 1; // -1, 0, 1 in turn
    screen.set.setAttachments(attachments);
    runUntilIdle();
    for (const AttachmentLine &line : AttachmentLines::all()) {
        const bool counted = counts[std::size_t(line.countKey - 1)] > 0;
        QCOMPARE(background(screen.find<QLineEdit>(line.descriptionField)),
                 counted ? QColor(Qt::white) : WindowsColour::buttonFace());
    }
}

void TestWorksheetSet::idleReachesTheDateHook()
{
    Screen screen;
    QList<QDate> days;
    screen.set.setAutomaticYearAndDate([&](const QDate &today) { days.append(today); });
    runUntilIdle();
    runUntilIdle();
    QCOMPARE(days.size(), 2);
    QCOMPARE(days.first(), QDate::currentDate());

    // Gone with its worksheets: nothing is left to call into.
    {
        Screen other;
        other.set.setAutomaticYearAndDate([&](const QDate &today) { days.append(today); });
        QVERIFY(other.set.states()->isInstalled());
    }
    days.clear();
    runUntilIdle();
    QCOMPARE(days.size(), 1);

    // The main window may delete a worksheet before the set.
    delete screen.categoryPanels[0];
    QVERIFY(!screen.set.states()->isInstalled());
    days.clear();
    runUntilIdle();
    QVERIFY(days.isEmpty());
}

void TestWorksheetSet::idlePassChangesNothingWhenNothingChanged()
{
    Screen screen;
    int passes = 0;
    screen.set.setAutomaticYearAndDate([&](const QDate &) { ++passes; });
    screen.find<QSpinBox>(QStringLiteral("SpinEdit2"))->setValue(4);
    screen.find<QCheckBox>(QStringLiteral("ChkHastane"))->setChecked(true);
    screen.set.clear(PaymentCategory::Pharmacy);
    QVERIFY(screen.show(PaymentCategory::Hospital));
    for (int i = 0; i < 3; ++i)
        runUntilIdle(); // the first passes change things and get painted

    QList<QSignalSpy *> spies;
    for (TAmountEdit *edit : screen.host.findChildren<TAmountEdit *>())
        spies.append(new QSignalSpy(edit, &QLineEdit::textChanged));
    RepaintCounter counter;
    qApp->installEventFilter(&counter);
    passes = 0;
    for (int i = 0; i < 5; ++i)
        runUntilIdle();
    qApp->removeEventFilter(&counter);
    QCOMPARE(passes, 5);
    QVERIFY2(counter.count == 0, qPrintable(counter.seen.join(u',')));
    for (QSignalSpy *spy : spies)
        QCOMPARE(spy->count(), 0);
    qDeleteAll(spies);
}

void TestWorksheetSet::attachmentKeysThroughTheSettingsFile()
{
    ProgramFolderFixture folder;
    {
        Screen screen;
        screen.find<QLineEdit>(QStringLiteral("Edit34"))->setText(QStringLiteral("Adet Tedavi Faturası"));
        screen.find<QLineEdit>(QStringLiteral("Edit38"))->setText(QStringLiteral("Adet Eczane Faturası"));
        screen.find<QLineEdit>(QStringLiteral("Edit77"))->setText(QStringLiteral("Adet Rapor"));
        screen.find<QSpinBox>(QStringLiteral("SpinEdit1"))->setValue(2);
        screen.find<QSpinBox>(QStringLiteral("SpinEdit9"))->setValue(5);
        screen.find<QSpinBox>(QStringLiteral("SpinEdit20"))->setValue(-3);

        // By key number: "Rakam1" is Eczane's first count, "Yazi1" Tedavi's
        // first description.
        QCOMPARE(screen.set.attachments().counts[0], 2);
        QCOMPARE(screen.set.attachments().descriptions[0], QStringLiteral("Adet Tedavi Faturası"));
        QCOMPARE(screen.set.attachments().descriptions[4], QStringLiteral("Adet Eczane Faturası"));

        ProfileFile file;
        screen.set.attachments().write(file);
        QVERIFY(file.save());
    }
    const QString text = QString::fromLatin1(folder.readFile(QStringLiteral("Zenparol.ini")));
    const QStringList inOrder{"Yazi1=Adet Tedavi Fatura", "Yazi2=Adet Sevk", "Yazi3=Adet Re", "Yazi4=Adet Liste",
                              "Yazi5=Adet Eczane Fatura", "Yazi6=Adet Sevk", "Yazi9=Adet Fatura", "Yazi17=\r\n",
                              "Yazi20=Adet Rapor", "Rakam1=2\r\n", "Rakam9=5\r\n", "Rakam20=-3\r\n"};
    qsizetype from = 0;
    for (const QString &line : inOrder) {
        const qsizetype at = text.indexOf(line, from);
        QVERIFY2(at >= 0, qPrintable(line + QStringLiteral(" missing or out of order in\n") + text));
        from = at + line.size();
    }

    // The next start: each read falls back to what the control shows.
    Screen screen;
    AttachmentSettings settings = screen.set.attachments();
    settings.load(ProfileFile());
    screen.set.setAttachments(settings);
    QCOMPARE(screen.find<QLineEdit>(QStringLiteral("Edit34"))->text(), QStringLiteral("Adet Tedavi Faturası"));
    QCOMPARE(screen.find<QLineEdit>(QStringLiteral("Edit38"))->text(), QStringLiteral("Adet Eczane Faturası"));
    QCOMPARE(screen.find<QLineEdit>(QStringLiteral("Edit40"))->text(), QStringLiteral("Adet Reçete"));
    QCOMPARE(screen.find<QLineEdit>(QStringLiteral("Edit77"))->text(), QStringLiteral("Adet Rapor"));
    QCOMPARE(screen.find<QSpinBox>(QStringLiteral("SpinEdit1"))->value(), 2);
    QCOMPARE(screen.find<QSpinBox>(QStringLiteral("SpinEdit9"))->value(), 5);
    QCOMPARE(screen.find<QSpinBox>(QStringLiteral("SpinEdit20"))->value(), -3);
    QCOMPARE(screen.find<QSpinBox>(QStringLiteral("SpinEdit5"))->value(), 0);
}

void TestWorksheetSet::readingForPrinting()
{
    Screen screen;
    QVERIFY(screen.show(PaymentCategory::Treatment));
    screen.set.clear(PaymentCategory::Treatment);
    screen.click(QStringLiteral("ChkTedavi"));
    screen.type(QStringLiteral("Edit50"), QStringLiteral("100"));
    screen.type(QStringLiteral("Edit52"), QStringLiteral("50"));
    screen.find<QSpinBox>(QStringLiteral("SpinEdit10"))->setValue(2);
    runUntilIdle();
    screen.click(QStringLiteral("BtnHazir3"));

    const PaymentCategory treatment = PaymentCategory::Treatment;
    QCOMPARE(screen.set.lineCount(treatment), 9);
    const WorksheetLine net = screen.set.line(treatment, 4);
    QCOMPARE(net.caption, QStringLiteral("Verilen Gönderme Emirleri Hesabı"));
    QCOMPARE(net.column, EntryColumn::Credit);
    QCOMPARE(net.text, QStringLiteral("148,76"));
    QCOMPARE(double(net.value), 148.76);
    QCOMPARE(screen.set.line(treatment, 1).caption, QStringLiteral("Kamu Pers. Ted.ve Sağ. Mal.Gid."));
    QCOMPARE(screen.set.line(treatment, 8).column, EntryColumn::Debit);
    QCOMPARE(screen.set.debitTotal(treatment).text, QStringLiteral("301,24"));
    QCOMPARE(screen.set.creditTotal(treatment).column, EntryColumn::Credit);
    QCOMPARE(screen.set.firstSentence(treatment), WorksheetCases::first(QStringLiteral("YüzElli TL.")));

    const QList<WorksheetAttachment> attachments = screen.set.attachments(treatment);
    QCOMPARE(attachments.size(), 6);
    QCOMPARE(attachments[1].count, 2);
    QCOMPARE(attachments[1].description, QStringLiteral("Adet Sevk"));
    QVERIFY(attachments[1].highlighted);
    QVERIFY(!attachments[0].highlighted);
    QCOMPARE(attachments[4].description, QString());

    // The private kind's first line carries the caption from the settings.
    screen.set.setPrivateAmountCaption(QStringLiteral("Kamu Personeli Yolluk Giderleri"));
    QCOMPARE(screen.find<QLabel>(QStringLiteral("Label68"))->text(), QStringLiteral("Kamu Personeli Yolluk Giderleri"));
    QCOMPARE(screen.set.line(PaymentCategory::Private, 1).caption, QStringLiteral("Kamu Personeli Yolluk Giderleri"));
    QCOMPARE(screen.set.privateAmountCaption(), QStringLiteral("Kamu Personeli Yolluk Giderleri"));
}

void TestWorksheetSet::buttonsForTheMainWindow()
{
    Screen screen;
    QVERIFY(screen.show(PaymentCategory::Private));
    QSignalSpy prints(&screen.set, &WorksheetSet::printRequested);
    QSignalSpy settings(&screen.set, &WorksheetSet::cashSettingsRequested);
    screen.click(QStringLiteral("BtnHazir4"));
    QVERIFY(screen.set.isPrintEnabled(PaymentCategory::Private));
    screen.click(QStringLiteral("BtnPrint4"));
    QCOMPARE(prints.size(), 1);
    QCOMPARE(prints.first().first().value<PaymentCategory>(), PaymentCategory::Private);
    screen.set.disablePrint(PaymentCategory::Private);
    QVERIFY(!screen.find<QPushButton>(QStringLiteral("BtnPrint4"))->isEnabled());
    screen.click(QStringLiteral("BtnAyar"));
    QCOMPARE(settings.size(), 1);
}

QTEST_MAIN(TestWorksheetSet)
#include "tst_WorksheetSet.moc"
