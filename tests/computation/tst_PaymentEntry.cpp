#include "base/AmountInWords.h"
#include "base/WindowsColour.h"
#include "computation/AttachmentLines.h"
#include "computation/FakePaymentPreferences.h"
#include "computation/PaymentEntry.h"
#include "computation/PlainWorksheet.h"
#include "computation/WorksheetCases.h"
#include "computation/WorksheetDefinition.h"
#include "computation/WorksheetStates.h"

#include <QtTest>

#include <memory>

namespace {

// Runs one worked example on a plain worksheet.
void runCase(PaymentCategory category)
{
    QFETCH(QStringList, amounts);
    QFETCH(QString, rate);
    QFETCH(bool, switchOn);
    QFETCH(int, currency);
    QFETCH(QString, stampByHand);

    const WorksheetDefinition &definition = worksheetDefinition(category);
    FakePaymentPreferences preferences;
    preferences.rateText = rate;
    preferences.currency = currency;
    PlainWorksheet sheet(definition, preferences);
    sheet.pressClear();
    sheet.setStampSwitch(switchOn);
    const std::vector<int> amountLines = definition.amountLines();
    QCOMPARE(qsizetype(amountLines.size()), amounts.size());
    for (qsizetype i = 0; i < amounts.size(); ++i)
        sheet.enter(amountLines[std::size_t(i)], amounts[i]);
    if (!stampByHand.isEmpty())
        sheet.enter(definition.stampLine(), stampByHand);
    sheet.pressCompute();

    QFETCH(QStringList, lines);
    QStringList actual;
    for (int line = 1; line <= definition.lineCount(); ++line)
        actual.append(sheet.text(line));
    QCOMPARE(actual, lines);
    QTEST(sheet.text(definition.debitTotal()), "debitTotal");
    QTEST(sheet.text(definition.creditTotal()), "creditTotal");
    QTEST(sheet.firstSentence(), "firstSentence");
    QTEST(sheet.secondSentence(), "secondSentence");
    QTEST(sheet.liveWords(), "liveWords");
    QVERIFY(sheet.printEnabled());
    QVERIFY(!sheet.computing());
}

struct Sheets
{
    FakePaymentPreferences preferences;
    std::array<std::unique_ptr<PlainWorksheet>, kCategoryCount> sheets;

    Sheets()
    {
        for (PaymentCategory category : kAllCategories)
            sheets[std::size_t(categoryIndex(category))] =
                std::make_unique<PlainWorksheet>(worksheetDefinition(category), preferences);
    }
    PlainWorksheet &operator[](PaymentCategory category) { return *sheets[std::size_t(categoryIndex(category))]; }
    WorksheetStates::Sheets pointers()
    {
        WorksheetStates::Sheets all{};
        for (std::size_t i = 0; i < all.size(); ++i)
            all[i] = sheets[i].get();
        return all;
    }
};

} // namespace

class TestPaymentEntry : public QObject
{
    Q_OBJECT

private slots:
    void pharmacy_data() { WorksheetCases::pharmacy(); }
    void pharmacy() { runCase(PaymentCategory::Pharmacy); }
    void hospital_data() { WorksheetCases::hospital(); }
    void hospital() { runCase(PaymentCategory::Hospital); }
    void treatment_data() { WorksheetCases::treatment(); }
    void treatment() { runCase(PaymentCategory::Treatment); }
    void privateKind_data() { WorksheetCases::privateKind(); }
    void privateKind() { runCase(PaymentCategory::Private); }

    void words_data();
    void words();
    void emptyAmountComputesAsZero();
    void liveUpdate();
    void rateChangeWaitsForTheNextAmount();
    void resultsStayUntilTheNextCompute();
    void clearEmptiesInOrder_data() { WorksheetCases::clearWrites(); }
    void clearEmptiesInOrder();
    void stampSwitch();

    void kindTables();
    void attachmentKeys();

    void idlePass();
    void idlePassReachesTheDateHook();
};

void TestPaymentEntry::words_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("currency");
    QTest::addColumn<QString>("words");

    QTest::newRow("kuruş only") << "0,50" << 1 << "Elli Kr.";
    QTest::newRow("12,57 keeps its kuruş") << "12,57" << 1 << "Onİki TL. ElliYedi Kr.";
    QTest::newRow("YTL") << "12,50" << 0 << "Onİki YTL. Elli YKr.";
    QTest::newRow("any other choice is TL") << "1,00" << 5 << "Bir TL.";
    QTest::newRow("negative") << "-5,00" << 1 << "";
    // Taken literally: "8,5" is eight and a half here, not 0,85 as the
    // field's own reading has it.
    QTest::newRow("text not in display form") << "8,5" << 1 << "Sekiz TL. Elli Kr.";
    QTest::newRow("empty counts as 0") << "" << 1 << "Sıfır TL.";
    QTest::newRow("unreadable counts as 0") << "abc" << 1 << "Sıfır TL.";
    // Beyond what a field holds: 15 significant digits are kept.
    QTest::newRow("fifteen digits") << "1.234.567.890.123.456,78" << 1
                                    << AmountToWords(QStringLiteral(" TL."), QStringLiteral(" Kr."), 2,
                                                     1234567890123460.0L);
}

void TestPaymentEntry::words()
{
    QFETCH(QString, text);
    QFETCH(int, currency);
    QTEST(PaymentEntry::words(text, currency), "words");
}

void TestPaymentEntry::emptyAmountComputesAsZero()
{
    // HESAPLA is disabled while the amount is empty, but a call from code
    // computes it like any other value.
    FakePaymentPreferences preferences;
    PlainWorksheet sheet(worksheetDefinition(PaymentCategory::Pharmacy), preferences);
    sheet.pressClear();
    sheet.pressCompute();
    QCOMPARE(sheet.text(QStringLiteral("Edit1")), QString());
    QCOMPARE(sheet.text(QStringLiteral("Edit6")), QStringLiteral("0,00"));
    QCOMPARE(sheet.text(QStringLiteral("Edit7")), QString());
    QCOMPARE(sheet.text(QStringLiteral("Edit15")), QStringLiteral("0,00"));
    QCOMPARE(sheet.firstSentence(), WorksheetCases::first(QStringLiteral("Sıfır TL.")));
    QCOMPARE(sheet.secondSentence(), WorksheetCases::second(QStringLiteral("Sıfır TL.")));
}

void TestPaymentEntry::liveUpdate()
{
    FakePaymentPreferences preferences;
    PlainWorksheet treatment(worksheetDefinition(PaymentCategory::Treatment), preferences);
    treatment.setStampSwitch(true);
    treatment.enter(QStringLiteral("Edit50"), QStringLiteral("100,00"));
    QCOMPARE(treatment.text(QStringLiteral("Edit55")), QStringLiteral("0,83"));
    QCOMPARE(treatment.liveWords(), QStringLiteral("Yüz TL."));
    treatment.enter(QStringLiteral("Edit52"), QStringLiteral("50,00"));
    QCOMPARE(treatment.text(QStringLiteral("Edit55")), QStringLiteral("1,24"));
    QCOMPARE(treatment.liveWords(), QStringLiteral("Elli TL."));
    // Emptying a field recomputes the duty but leaves the words alone.
    treatment.enter(QStringLiteral("Edit52"), QString());
    QCOMPARE(treatment.text(QStringLiteral("Edit55")), QStringLiteral("0,83"));
    QCOMPARE(treatment.liveWords(), QStringLiteral("Elli TL."));

    // Switch off: the duty field turns grey and keeps its text.
    PlainWorksheet hospital(worksheetDefinition(PaymentCategory::Hospital), preferences);
    hospital.setStampBackground(Qt::white);
    hospital.enter(QStringLiteral("Edit17"), QStringLiteral("1.000,00"));
    QCOMPARE(hospital.text(QStringLiteral("Edit20")), QStringLiteral("0,00"));
    QCOMPARE(hospital.stampBackground(), WindowsColour::buttonFace());
    QCOMPARE(hospital.liveWords(), QStringLiteral("Bin TL."));

    // Eczane has no switch: the duty always follows, also to "0,00".
    PlainWorksheet pharmacy(worksheetDefinition(PaymentCategory::Pharmacy), preferences);
    pharmacy.enter(QStringLiteral("Edit1"), QStringLiteral("1.000,00"));
    QCOMPARE(pharmacy.text(QStringLiteral("Edit4")), QStringLiteral("8,25"));
    pharmacy.enter(QStringLiteral("Edit1"), QString());
    QCOMPARE(pharmacy.text(QStringLiteral("Edit4")), QStringLiteral("0,00"));
    QCOMPARE(pharmacy.stampBackground(), QColor(Qt::white));
}

void TestPaymentEntry::rateChangeWaitsForTheNextAmount()
{
    FakePaymentPreferences preferences;
    PlainWorksheet sheet(worksheetDefinition(PaymentCategory::Pharmacy), preferences);
    sheet.enter(QStringLiteral("Edit1"), QStringLiteral("100,00"));
    QCOMPARE(sheet.text(QStringLiteral("Edit4")), QStringLiteral("0,83"));
    preferences.rateText = QStringLiteral("10,00");
    QCOMPARE(sheet.text(QStringLiteral("Edit4")), QStringLiteral("0,83"));
    sheet.pressCompute();
    QCOMPARE(sheet.text(QStringLiteral("Edit6")), QStringLiteral("99,17"));
    sheet.enter(QStringLiteral("Edit1"), QStringLiteral("200,00"));
    QCOMPARE(sheet.text(QStringLiteral("Edit4")), QStringLiteral("2,00"));
}

void TestPaymentEntry::resultsStayUntilTheNextCompute()
{
    FakePaymentPreferences preferences;
    PlainWorksheet sheet(worksheetDefinition(PaymentCategory::Pharmacy), preferences);
    sheet.enter(QStringLiteral("Edit1"), QStringLiteral("1.000,00"));
    sheet.pressCompute();
    sheet.enter(QStringLiteral("Edit1"), QStringLiteral("2.000,00"));
    QCOMPARE(sheet.text(QStringLiteral("Edit4")), QStringLiteral("16,50"));
    QCOMPARE(sheet.liveWords(), QStringLiteral("İkiBin TL."));
    QCOMPARE(sheet.text(QStringLiteral("Edit6")), QStringLiteral("991,75"));
    QCOMPARE(sheet.firstSentence(), WorksheetCases::first(QStringLiteral("Bin TL.")));
    QVERIFY(sheet.printEnabled());
}

void TestPaymentEntry::clearEmptiesInOrder()
{
    QFETCH(PaymentCategory, category);
    const WorksheetDefinition &definition = worksheetDefinition(category);
    FakePaymentPreferences preferences;
    PlainWorksheet sheet(definition, preferences);
    sheet.setStampSwitch(true);
    const std::vector<int> amounts = definition.amountLines();
    sheet.enter(amounts.front(), QStringLiteral("100,00"));
    sheet.enter(amounts.back(), QStringLiteral("50,00"));
    sheet.pressCompute();
    sheet.setAttachmentCount(1, 3);
    QVERIFY(sheet.printEnabled());

    sheet.forgetWrites();
    sheet.pressClear();
    QTEST(sheet.writes(), "writes");
    for (int field = 1; field <= definition.fieldCount(); ++field)
        QCOMPARE(sheet.text(field), QString());
    QVERIFY(!sheet.printEnabled());
    QCOMPARE(sheet.liveWords(), QStringLiteral("..."));
    // The sentences stay for the next compute to rewrite; the attachment
    // lines carry over to the next payment.
    QVERIFY(sheet.firstSentence().startsWith(WorksheetCases::kFirst));
    QCOMPARE(sheet.attachmentCount(1), 3);
}

void TestPaymentEntry::stampSwitch()
{
    FakePaymentPreferences preferences;
    PlainWorksheet sheet(worksheetDefinition(PaymentCategory::Private), preferences);
    sheet.enter(QStringLiteral("Edit70"), QStringLiteral("100,00"));
    sheet.pressCompute();
    QVERIFY(sheet.printEnabled());

    sheet.setStampSwitch(true);
    QCOMPARE(sheet.text(QStringLiteral("Edit70")), QString());
    QCOMPARE(sheet.text(QStringLiteral("Edit73")), QString());
    QCOMPARE(sheet.text(QStringLiteral("Edit84")), QString());
    QVERIFY(!sheet.printEnabled());
    QCOMPARE(sheet.liveWords(), QStringLiteral("..."));
    QCOMPARE(sheet.stampBackground(), QColor(Qt::white));
    sheet.enter(QStringLiteral("Edit70"), QStringLiteral("100,00"));
    QCOMPARE(sheet.text(QStringLiteral("Edit73")), QStringLiteral("0,83"));
    sheet.pressCompute();

    sheet.setStampSwitch(false);
    QCOMPARE(sheet.text(QStringLiteral("Edit73")), QString());
    QVERIFY(!sheet.printEnabled());
    QCOMPARE(sheet.stampBackground(), WindowsColour::buttonFace());
    sheet.enter(QStringLiteral("Edit70"), QStringLiteral("100,00"));
    QCOMPARE(sheet.text(QStringLiteral("Edit73")), QString());
}

void TestPaymentEntry::kindTables()
{
    // Every line's figure comes from an earlier line or from the inputs, and
    // the two columns balance whatever the amounts: twice the sum plus S.
    for (PaymentCategory category : kAllCategories) {
        const WorksheetDefinition &definition = worksheetDefinition(category);
        QCOMPARE(definition.line(definition.netLine).rule, LineRule::Net);
        QVERIFY(definition.line(definition.grossLine).rule == LineRule::Gross
                || definition.line(definition.grossLine).rule == LineRule::Amount);
        for (int number = 1; number <= definition.lineCount(); ++number) {
            const EntryLine &line = definition.line(number);
            if (line.rule == LineRule::Copy)
                QVERIFY(line.copyOf >= 1 && line.copyOf < number);
            QCOMPARE(definition.fieldNumber(line.fieldName), number);
        }
        QCOMPARE(definition.stampAlwaysApplies, category == PaymentCategory::Pharmacy);
        QCOMPARE(int(definition.amountLines().size()), category == PaymentCategory::Treatment ? 2 : 1);
    }
}

void TestPaymentEntry::attachmentKeys()
{
    QCOMPARE(AttachmentLines::byCountKey(1).descriptionKey, 5);
    QCOMPARE(AttachmentLines::byCountKey(1).descriptionField, QStringLiteral("Edit38"));
    QCOMPARE(AttachmentLines::byDescriptionKey(1).category, PaymentCategory::Treatment);
    QCOMPARE(AttachmentLines::byDescriptionKey(1).countField, QStringLiteral("SpinEdit9"));
    QCOMPARE(AttachmentLines::of(PaymentCategory::Treatment, 5).countField, QStringLiteral("SpinEdit19"));
    QCOMPARE(AttachmentLines::of(PaymentCategory::Treatment, 6).descriptionField, QStringLiteral("Edit77"));
    QCOMPARE(AttachmentLines::of(PaymentCategory::Private, 6).descriptionKey, 18);
    QCOMPARE(AttachmentLines::of(PaymentCategory::Hospital, 4).descriptionKey, 12);
    QCOMPARE(AttachmentLines::of(PaymentCategory::Private, 5).defaultDescription, QString());
    QCOMPARE(AttachmentLines::of(PaymentCategory::Pharmacy, 3).defaultDescription, QStringLiteral("Adet Reçete"));
    // Each key number is used once in each family.
    QSet<int> counts;
    QSet<int> descriptions;
    for (const AttachmentLine &line : AttachmentLines::all()) {
        counts.insert(line.countKey);
        descriptions.insert(line.descriptionKey);
    }
    QCOMPARE(counts.size(), AttachmentLines::kCount);
    QCOMPARE(descriptions.size(), AttachmentLines::kCount);
}

void TestPaymentEntry::idlePass()
{
    Sheets sheets;
    WorksheetStates states(sheets.pointers());

    // At start every amount shows "0,00": all buttons usable.
    for (PaymentCategory category : kAllCategories) {
        sheets[category].setComputeEnabled(false);
        sheets[category].setClearEnabled(false);
    }
    states.UpdateWorksheetStates();
    for (PaymentCategory category : kAllCategories) {
        QVERIFY(sheets[category].computeEnabled());
        QVERIFY(sheets[category].clearEnabled());
    }
    QVERIFY(!sheets[PaymentCategory::Hospital].stampEnabled());
    QVERIFY(sheets[PaymentCategory::Pharmacy].stampEnabled());

    sheets[PaymentCategory::Pharmacy].pressClear();
    states.UpdateWorksheetStates();
    QVERIFY(!sheets[PaymentCategory::Pharmacy].computeEnabled());
    QVERIFY(!sheets[PaymentCategory::Pharmacy].clearEnabled());
    QVERIFY(sheets[PaymentCategory::Hospital].computeEnabled());
    sheets[PaymentCategory::Pharmacy].enter(QStringLiteral("Edit1"), QStringLiteral("5,00"));
    states.UpdateWorksheetStates();
    QVERIFY(sheets[PaymentCategory::Pharmacy].computeEnabled());

    // Tedavi: either amount will do.
    PlainWorksheet &treatment = sheets[PaymentCategory::Treatment];
    treatment.pressClear();
    treatment.enter(QStringLiteral("Edit52"), QStringLiteral("1,00"));
    states.UpdateWorksheetStates();
    QVERIFY(treatment.computeEnabled());
    QVERIFY(treatment.clearEnabled());
    treatment.enter(QStringLiteral("Edit52"), QString());
    states.UpdateWorksheetStates();
    QVERIFY(!treatment.computeEnabled());

    // The stamp-duty field follows its switch.
    treatment.setStampSwitch(true);
    states.UpdateWorksheetStates();
    QVERIFY(treatment.stampEnabled());
    QVERIFY(!sheets[PaymentCategory::Private].stampEnabled());

    // A description is highlighted exactly when its count is above 0.
    PlainWorksheet &privateSheet = sheets[PaymentCategory::Private];
    privateSheet.setAttachmentCount(1, -1);
    privateSheet.setAttachmentCount(2, 1);
    privateSheet.setAttachmentCount(6, 2);
    states.UpdateWorksheetStates();
    QVERIFY(!privateSheet.attachmentHighlighted(1));
    QVERIFY(privateSheet.attachmentHighlighted(2));
    QVERIFY(!privateSheet.attachmentHighlighted(3));
    QVERIFY(privateSheet.attachmentHighlighted(6));
    privateSheet.setAttachmentCount(2, 0);
    states.UpdateWorksheetStates();
    QVERIFY(!privateSheet.attachmentHighlighted(2));
}

void TestPaymentEntry::idlePassReachesTheDateHook()
{
    Sheets sheets;
    WorksheetStates states(sheets.pointers());
    states.UpdateWorksheetStates(); // no hook yet: nothing to call

    QList<QDate> calls;
    states.setToday([] { return QDate(2024, 3, 5); });
    states.setAutomaticYearAndDate([&](const QDate &today) { calls.append(today); });
    states.UpdateWorksheetStates();
    states.UpdateWorksheetStates();
    QCOMPARE(calls, (QList<QDate>{QDate(2024, 3, 5), QDate(2024, 3, 5)}));

    // A pass started from inside a pass (a nested event loop) is skipped.
    int inner = 0;
    states.setAutomaticYearAndDate([&](const QDate &) {
        ++inner;
        states.UpdateWorksheetStates();
    });
    states.UpdateWorksheetStates();
    QCOMPARE(inner, 1);
}

QTEST_GUILESS_MAIN(TestPaymentEntry)
#include "tst_PaymentEntry.moc"
