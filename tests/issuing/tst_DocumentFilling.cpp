// The filling of the payment order without widgets: the common fields and
// each kind's document, computed on a plain worksheet and written into the
// form after an earlier document that filled every row.
#include "computation/AttachmentLines.h"
#include "computation/PaymentPreferences.h"
#include "computation/PlainWorksheet.h"
#include "computation/WorksheetDefinition.h"
#include "issuing/DocumentFilling.h"
#include "issuing/PaymentOrderPage.h"
#include "issuing/PaymentOrderTemplate.h"

#include <QtTest>

using namespace PaymentOrderTemplate;

namespace {

const QDate kToday(2024, 3, 5);

// Every box that carries an amount of a document.
QStringList amountBoxes()
{
    QStringList boxes;
    for (int row = 1; row <= 9; ++row)
        boxes << debitLiraBox(row) << debitKurusBox(row) << creditLiraBox(row) << creditKurusBox(row);
    boxes << QStringLiteral("MToplam1") << QStringLiteral("MToplam1_") << QStringLiteral("MToplam2")
          << QStringLiteral("MToplam2_");
    for (int memo = 388; memo <= 395; ++memo)
        boxes << QStringLiteral("Memo%1").arg(memo);
    return boxes;
}

// "MH11=1000 MH11_=00 ..." as box → text.
QHash<QString, QString> parseTexts(const QString &pairs)
{
    QHash<QString, QString> texts;
    for (const QString &pair : pairs.split(u' ', Qt::SkipEmptyParts))
        texts.insert(pair.section(u'=', 0, 0), pair.section(u'=', 1));
    return texts;
}

// A code sheet whose every cell names itself: "r2c14", names "name2".
CodeSheet labelledSheet(PaymentCategory category)
{
    CodeSheet sheet(category);
    for (int row = 1; row <= sheet.rowCount(); ++row) {
        for (int column = 1; column <= AccountCodeLine::kCodeColumnCount; ++column)
            sheet.setText(row, column, QStringLiteral("r%1c%2").arg(row).arg(column));
        sheet.setText(row, AccountCodeLine::kName, QStringLiteral("name%1").arg(row));
    }
    return sheet;
}

struct Payment
{
    PaymentCategory category = PaymentCategory::Pharmacy;
    bool fromStart = false; // computed without the selector's clear
    bool stampOn = true;
    QStringList amounts;
    QList<EntryAttachment> attachments;
};

DocumentFilling::PaymentInputs compute(const Payment &payment)
{
    const StoredPaymentPreferences preferences;
    PlainWorksheet worksheet(worksheetDefinition(payment.category), preferences);
    if (!payment.fromStart)
        worksheet.pressClear();
    worksheet.setStampSwitch(payment.stampOn);
    const std::vector<int> lines = worksheet.definition().amountLines();
    for (std::size_t i = 0; i < lines.size(); ++i)
        worksheet.enter(lines[i], payment.amounts.value(qsizetype(i)));
    worksheet.pressCompute();
    PayeeFields payee{QStringLiteral("ŞİFA ECZANESİ"), QStringLiteral("12345678901"), QStringLiteral("ZİRAAT KIZILAY"),
                      QStringLiteral("TR120001"), QString()};
    return {worksheet.entry(payment.attachments), payee, labelledSheet(payment.category)};
}

// A treatment document that uses all nine rows and six attachment lines.
void printFullTreatment(Raporlar &raporlar)
{
    QList<EntryAttachment> attachments;
    for (int line = 1; line <= 6; ++line)
        attachments.append({line, QStringLiteral("Ek %1").arg(line)});
    DocumentFilling::CommonInputs common{InstitutionSettings::defaults(), 1, true, kToday};
    raporlar.apply(DocumentFilling::commonFields(common));
    raporlar.apply(DocumentFilling::paymentFields(
        compute({PaymentCategory::Treatment, false, true, {QStringLiteral("777,77"), QStringLiteral("666,66")},
                 attachments})));
}

Raporlar printAfterTreatment(const DocumentFilling::PaymentInputs &inputs)
{
    Raporlar raporlar;
    printFullTreatment(raporlar);
    DocumentFilling::CommonInputs common{InstitutionSettings::defaults(), 1, true, kToday};
    raporlar.apply(DocumentFilling::commonFields(common));
    raporlar.apply(DocumentFilling::paymentFields(inputs));
    return raporlar;
}

} // namespace

class TestDocumentFilling : public QObject
{
    Q_OBJECT

private slots:
    void amountsOfEachKind_data();
    void amountsOfEachKind();
    void furtherConditions_data();
    void furtherConditions();
    void payeeCodesAndNames_data();
    void payeeCodesAndNames();
    void attachmentLines();
    void unitCaptionsAndApprovalDates_data();
    void unitCaptionsAndApprovalDates();
    void commonFieldsCopyTheInstitutionWindow();
    void amountSplit_data();
    void amountSplit();
};

void TestDocumentFilling::amountsOfEachKind_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<bool>("fromStart");
    QTest::addColumn<bool>("stampOn");
    QTest::addColumn<QStringList>("amounts");
    QTest::addColumn<QString>("expected"); // every other amount box is empty

    const int pharmacy = categoryIndex(PaymentCategory::Pharmacy);
    const int hospital = categoryIndex(PaymentCategory::Hospital);
    const int treatment = categoryIndex(PaymentCategory::Treatment);
    const int private_ = categoryIndex(PaymentCategory::Private);
    QTest::newRow("pharmacy 1.000,00")
        << pharmacy << false << true << QStringList{"1.000,00"}
        << "MH11=1000 MH11_=00 MH22=8 MH22_=25 MH23=991 MH23_=75 MH14=1000 MH14_=00 MH25=1000 MH25_=00 "
           "MH16=8 MH16_=25 MH27=8 MH27_=25 MToplam1=2008 MToplam1_=25 MToplam2=2008 MToplam2_=25 "
           "Memo388=1000 Memo389=00 Memo392=8 Memo393=25 Memo394=991 Memo395=75";
    QTest::newRow("pharmacy, largest amount")
        << pharmacy << false << true << QStringList{"9.999.999.999.999,99"}
        << "MH11=9999999999999 MH11_=99 MH22=82500000000 MH22_=00 MH23=9917499999999 MH23_=99 "
           "MH14=9999999999999 MH14_=99 MH25=9999999999999 MH25_=99 MH16=82500000000 MH16_=00 "
           "MH27=82500000000 MH27_=00 MToplam1=20082499999999 MToplam1_=98 MToplam2=20082499999999 "
           "MToplam2_=98 Memo388=9999999999999 Memo389=99 Memo392=82500000000 Memo393=00 "
           "Memo394=9917499999999 Memo395=99";
    QTest::newRow("hospital after a clear, no stamp duty")
        << hospital << false << false << QStringList{"500,00"}
        << "MH11=500 MH11_=00 MH23=500 MH23_=00 MH14=500 MH14_=00 MH25=500 MH25_=00 MToplam1=1000 "
           "MToplam1_=00 MToplam2=1000 MToplam2_=00 Memo388=500 Memo389=00 Memo394=500 Memo395=00";
    QTest::newRow("hospital from program start, stamp duty field still 0,00")
        << hospital << true << false << QStringList{"500,00"}
        << "MH11=500 MH11_=00 MH22=0 MH22_=00 MH23=500 MH23_=00 MH14=500 MH14_=00 MH25=500 MH25_=00 "
           "MH16=0 MH16_=00 MH27=0 MH27_=00 MToplam1=1000 MToplam1_=00 MToplam2=1000 MToplam2_=00 "
           "Memo388=500 Memo389=00 Memo392=0 Memo393=00 Memo394=500 Memo395=00";
    QTest::newRow("treatment amount only, no stamp duty")
        << treatment << false << false << QStringList{"250,00", ""}
        << "MH11=250 MH11_=00 MH24=250 MH24_=00 MH15=250 MH15_=00 MH27=250 MH27_=00 MToplam1=500 "
           "MToplam1_=00 MToplam2=500 MToplam2_=00 Memo388=250 Memo389=00 Memo394=250 Memo395=00";
    QTest::newRow("treatment medicine only, stamp duty")
        << treatment << false << true << QStringList{"", "100,00"}
        << "MH12=100 MH12_=00 MH23=0 MH23_=83 MH24=99 MH24_=17 MH16=100 MH16_=00 MH27=100 MH27_=00 "
           "MH18=0 MH18_=83 MH29=0 MH29_=83 MToplam1=200 MToplam1_=83 MToplam2=200 MToplam2_=83 "
           "Memo388=100 Memo389=00 Memo392=0 Memo393=83 Memo394=99 Memo395=17";
    QTest::newRow("private 12.345.678,90 with stamp duty")
        << private_ << false << true << QStringList{"12.345.678,90"}
        << "MH11=12345678 MH11_=90 MH22=101851 MH22_=85 MH23=12243827 MH23_=05 MH14=12345678 MH14_=90 "
           "MH25=12345678 MH25_=90 MH16=101851 MH16_=85 MH27=101851 MH27_=85 MToplam1=24793209 "
           "MToplam1_=65 MToplam2=24793209 MToplam2_=65 Memo388=12345678 Memo389=90 Memo392=101851 "
           "Memo393=85 Memo394=12243827 Memo395=05";
    QTest::newRow("private without stamp duty")
        << private_ << false << false << QStringList{"40,00"}
        << "MH11=40 MH11_=00 MH23=40 MH23_=00 MH14=40 MH14_=00 MH25=40 MH25_=00 MToplam1=80 MToplam1_=00 "
           "MToplam2=80 MToplam2_=00 Memo388=40 Memo389=00 Memo394=40 Memo395=00";
}

void TestDocumentFilling::amountsOfEachKind()
{
    QFETCH(int, category);
    QFETCH(bool, fromStart);
    QFETCH(bool, stampOn);
    QFETCH(QStringList, amounts);
    QFETCH(QString, expected);

    const Raporlar raporlar =
        printAfterTreatment(compute({PaymentCategory(category), fromStart, stampOn, amounts, {}}));
    const QHash<QString, QString> texts = parseTexts(expected);
    for (const QString &box : amountBoxes())
        QVERIFY2(raporlar.text(box) == texts.value(box),
                 qPrintable(box + QStringLiteral(": \"") + raporlar.text(box) + QStringLiteral("\"")));
    // Rows 8 and 9 belong to the treatment document only.
    if (PaymentCategory(category) != PaymentCategory::Treatment) {
        for (int row = 8; row <= 9; ++row) {
            QVERIFY(raporlar.text(accountNameBox(row)).isEmpty());
            for (int column = 1; column <= 14; ++column)
                QVERIFY(raporlar.text(codeBox(row, column)).isEmpty());
        }
    }
}

void TestDocumentFilling::furtherConditions_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("expected");

    const QStringList full{"10,00", "1,00", "9,00", "10,00", "10,00", "1,00", "1,00"};
    QStringList noReflection = full;
    noReflection[5].clear();
    QTest::newRow("hospital row 7 needs row 6")
        << categoryIndex(PaymentCategory::Hospital) << noReflection << "MH22=1 MH22_=00 MH27= MH27_= Memo392=1 Memo393=00";
    QTest::newRow("hospital rows 6 and 7 together")
        << categoryIndex(PaymentCategory::Hospital) << full << "MH16=1 MH16_=00 MH27=1 MH27_=00";
    QStringList noRevenue = full;
    noRevenue[6].clear();
    QTest::newRow("private deduction needs the stamp duty revenue")
        << categoryIndex(PaymentCategory::Private) << noRevenue << "MH22=1 MH22_=00 MH27= MH27_= Memo392= Memo393=";
    QTest::newRow("private deduction with the revenue")
        << categoryIndex(PaymentCategory::Private) << full << "Memo392=1 Memo393=00";
    QStringList emptied = full;
    emptied[0].clear();
    QTest::newRow("entry field emptied after HESAPLA")
        << categoryIndex(PaymentCategory::Pharmacy) << emptied << "MH11= MH11_= Memo388= Memo389= MH14=10 MH14_=00";
}

void TestDocumentFilling::furtherConditions()
{
    QFETCH(int, category);
    QFETCH(QStringList, lines);
    QFETCH(QString, expected);

    DocumentFilling::PaymentInputs inputs;
    inputs.entry.category = PaymentCategory(category);
    inputs.entry.lines = lines;
    inputs.codes = CodeSheet(inputs.category());
    const Raporlar raporlar = printAfterTreatment(inputs);
    const QHash<QString, QString> texts = parseTexts(expected);
    for (auto it = texts.cbegin(); it != texts.cend(); ++it)
        QCOMPARE(raporlar.text(it.key()), it.value());
}

void TestDocumentFilling::payeeCodesAndNames_data()
{
    QTest::addColumn<int>("category");
    for (PaymentCategory category : kAllCategories)
        QTest::newRow(qPrintable(worksheetDefinition(category).pageCaption)) << categoryIndex(category);
}

void TestDocumentFilling::payeeCodesAndNames()
{
    QFETCH(int, category);
    const PaymentCategory kind = PaymentCategory(category);
    const Raporlar raporlar = printAfterTreatment(compute({kind, false, true, {"5,00", "5,00"}, {}}));

    QCOMPARE(raporlar.text(QStringLiteral("MUst1")), QStringLiteral("ŞİFA ECZANESİ"));
    QCOMPARE(raporlar.text(QStringLiteral("MUst2")), QStringLiteral("12345678901"));
    QCOMPARE(raporlar.text(QStringLiteral("MUst3")), QStringLiteral("ZİRAAT KIZILAY"));
    QCOMPARE(raporlar.text(QStringLiteral("MUst4")), QStringLiteral("TR120001"));
    QCOMPARE(raporlar.text(QStringLiteral("MUst5")), QString()); // an absent value prints empty

    const int rows = kind == PaymentCategory::Treatment ? 9 : 7;
    const CodeSheet sheet = labelledSheet(kind);
    for (int row = 1; row <= rows; ++row) {
        QCOMPARE(raporlar.text(accountNameBox(row)), sheet.name(row));
        for (int column = 1; column <= 14; ++column)
            QCOMPARE(raporlar.text(codeBox(row, column)), QStringLiteral("r%1c%2").arg(row).arg(column));
    }
    // The worked examples of the codes window.
    QCOMPARE(codeBox(2, 1), QStringLiteral("Memo80"));
    QCOMPARE(codeBox(2, 14), QStringLiteral("Memo93"));
    QCOMPARE(codeBox(9, 1), QStringLiteral("Memo213"));
    QCOMPARE(codeBox(9, 14), QStringLiteral("Memo226"));
}

void TestDocumentFilling::attachmentLines()
{
    // Count 0 leaves its line empty though its description is on the worksheet.
    QList<EntryAttachment> lines;
    for (int line = 1; line <= 4; ++line)
        lines.append({line == 1 ? 3 : (line == 3 ? 1 : 0), AttachmentLines::of(PaymentCategory::Pharmacy, line).defaultDescription});
    const Raporlar raporlar =
        printAfterTreatment(compute({PaymentCategory::Pharmacy, false, true, {"5,00"}, lines}));
    const QStringList expected{"3", "Adet Fatura", "", "", "1", "Adet Reçete", "", "", "", "", "", ""};
    QStringList printed;
    for (int line = 1; line <= 6; ++line)
        printed << raporlar.text(attachmentCountBox(line)) << raporlar.text(attachmentDescriptionBox(line));
    QCOMPARE(printed, expected);

    // The private document has six lines of its own.
    QList<EntryAttachment> six;
    for (int line = 1; line <= 6; ++line)
        six.append({line == 6 ? 2 : 0, QStringLiteral("Makbuz")});
    const Raporlar privateDocument = printAfterTreatment(compute({PaymentCategory::Private, false, true, {"5,00"}, six}));
    QCOMPARE(privateDocument.text(attachmentCountBox(6)), QStringLiteral("2"));
    QCOMPARE(privateDocument.text(attachmentDescriptionBox(6)), QStringLiteral("Makbuz"));
    QCOMPARE(privateDocument.text(attachmentCountBox(1)), QString());
}

void TestDocumentFilling::unitCaptionsAndApprovalDates_data()
{
    QTest::addColumn<int>("currency");
    QTest::addColumn<bool>("fillDates");
    QTest::addColumn<QString>("lira");
    QTest::addColumn<QString>("kurus");
    QTest::addColumn<QString>("date");
    QTest::newRow("TL - Kr, dates filled") << 1 << true << "TL" << "Kr" << "05.03.2024";
    QTest::newRow("any entry but 0 is TL - Kr") << 2 << false << "TL" << "Kr" << "..../..../20......";
    QTest::newRow("YTL - YKr, dates by hand") << 0 << false << "YTL" << "YKr" << "..../..../20......";
}

void TestDocumentFilling::unitCaptionsAndApprovalDates()
{
    QFETCH(int, currency);
    QFETCH(bool, fillDates);
    QFETCH(QString, lira);
    QFETCH(QString, kurus);
    QFETCH(QString, date);

    Raporlar raporlar;
    // The other choice first: no caption of it may remain.
    raporlar.apply(DocumentFilling::commonFields({InstitutionSettings::defaults(), currency == 0 ? 1 : 0, !fillDates, kToday}));
    raporlar.apply(DocumentFilling::commonFields({InstitutionSettings::defaults(), currency, fillDates, kToday}));
    for (int memo : {54, 56, 378, 380, 382, 384, 414})
        QCOMPARE(raporlar.text(QStringLiteral("Memo%1").arg(memo)), lira);
    for (int memo : {55, 57, 379, 381, 383, 385, 415})
        QCOMPARE(raporlar.text(QStringLiteral("Memo%1").arg(memo)), kurus);
    for (int memo : {442, 437, 447})
        QCOMPARE(raporlar.text(QStringLiteral("Memo%1").arg(memo)), date);
    // The preparer's date is always today's, whatever the preference.
    QCOMPARE(raporlar.prepare(kToday).text(QStringLiteral("Memo397")), QStringLiteral("05.03.2024"));
}

void TestDocumentFilling::commonFieldsCopyTheInstitutionWindow()
{
    InstitutionValues institution = InstitutionSettings::defaults();
    institution.texts.insert(QStringLiteral("EdSaymanKod"), QStringLiteral(" 07-50 ")); // copied as it is
    institution.texts.insert(QStringLiteral("EdNo"), QStringLiteral("1234"));
    institution.texts.insert(QStringLiteral("Edit28"), QStringLiteral("Ön Mali Kontrol"));
    institution.texts.insert(QStringLiteral("Edit16"), QString()); // no reviewer names
    institution.texts.insert(QStringLiteral("Edit13"), QString());
    institution.texts.insert(QStringLiteral("Edit1"), QString());
    institution.texts.insert(QStringLiteral("Edit30"), QStringLiteral("Dipnot"));
    const BoxWrites writes = DocumentFilling::commonFields({institution, 1, true, kToday});

    Raporlar raporlar;
    raporlar.apply(writes);
    QCOMPARE(raporlar.text(QStringLiteral("MBirimKod")), QStringLiteral(" 07-50 "));
    QCOMPARE(raporlar.text(QStringLiteral("MNosu")), QStringLiteral("1234"));
    QCOMPARE(raporlar.text(QStringLiteral("Memo441")), QStringLiteral("Ön Mali Kontrol"));
    QCOMPARE(raporlar.text(QStringLiteral("Memo7")), QStringLiteral("Dipnot"));
    // The template's own captions never reach the page.
    QCOMPARE(raporlar.text(QStringLiteral("Memo402")), QString());
    QCOMPARE(raporlar.text(QStringLiteral("Memo405")), QString());
    QCOMPARE(raporlar.text(QStringLiteral("Memo399")), QString());
    // Headings that the window does not hold keep the template's text.
    QCOMPARE(raporlar.text(QStringLiteral("Memo436")), QStringLiteral("Uygundur"));
    QCOMPARE(raporlar.text(QStringLiteral("Memo446")), QStringLiteral("Ödeyiniz / Mahsup Ediniz"));

    // The approval blocks are written block by block, left to right.
    QStringList order;
    for (const BoxWrite &write : writes) {
        const int number = write.box.mid(4).toInt();
        if (write.box.startsWith(QStringLiteral("Memo")) && number >= 436 && number <= 450)
            order << write.box;
    }
    QCOMPARE(order, QStringList({"Memo441", "Memo442", "Memo443", "Memo444", "Memo445", "Memo437", "Memo438", "Memo439",
                                 "Memo440", "Memo447", "Memo448", "Memo449", "Memo450"}));
    // Every box written is on the page.
    for (const BoxWrite &write : writes)
        QVERIFY2(PaymentOrderTemplate::find(write.box), qPrintable(write.box));
}

void TestDocumentFilling::amountSplit_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("lira");
    QTest::addColumn<QString>("kurus");
    QTest::newRow("thousands") << "1.234,56" << "1234" << "56";
    QTest::newRow("zero has text") << "0,00" << "0" << "00";
    QTest::newRow("empty clears") << "" << "" << "";
    QTest::newRow("13 digits exact") << "9.999.999.999.999,99" << "9999999999999" << "99";
    QTest::newRow("beyond 32 bits") << "2.147.483.648,01" << "2147483648" << "01";
}

void TestDocumentFilling::amountSplit()
{
    QFETCH(QString, field);
    QFETCH(QString, lira);
    QFETCH(QString, kurus);
    BoxWrites writes;
    DocumentFilling::writeAmount(writes, QStringLiteral("MH11"), QStringLiteral("MH11_"), field);
    QCOMPARE(writes, BoxWrites({{QStringLiteral("MH11"), lira}, {QStringLiteral("MH11_"), kurus}}));
}

QTEST_GUILESS_MAIN(TestDocumentFilling)
#include "tst_DocumentFilling.moc"
