#include "base/AmountText.h"
#include "base/WrittenAmount.h"

#include <QtTest>

#include <optional>

using AmountText::TCurrSymbolSet;

Q_DECLARE_METATYPE(WrittenAmount::Rules)

class TestAmountText : public QObject
{
    Q_OBJECT

private slots:
    void suffixes_data();
    void suffixes();
    void patterns();
    void formatting_data();
    void formatting();
    void normalForm_data();
    void normalForm();
    void readingAsFloat_data();
    void readingAsFloat();
    void reformatting_data();
    void reformatting();
    void readingLiterally_data();
    void readingLiterally();
    void liraAndKurus_data();
    void liraAndKurus();
    void pastedAmounts_data();
    void pastedAmounts();
    void writtenAmounts_data();
    void writtenAmounts();
    void grouping_data();
    void grouping();
};

void TestAmountText::suffixes_data()
{
    QTest::addColumn<TCurrSymbolSet>("symbol");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("stripped"); // "1.234,56" and the suffix, stripped again
    QTest::addColumn<QString>("bareStripped"); // "1.234,56" without the suffix, stripped
    QTest::newRow("none") << TCurrSymbolSet::None << "" << "1.234,56" << "1.234,56";
    QTest::newRow("TL") << TCurrSymbolSet::TL << " TL" << "1.234,56" << "1.234";
    QTest::newRow("YTL") << TCurrSymbolSet::YTL << " YTL" << "1.234,56" << "1.23";
    QTest::newRow("euro") << TCurrSymbolSet::EURO << " €" << "1.234,56" << "1.234,";
    QTest::newRow("dollar") << TCurrSymbolSet::DOLAR << " $" << "1.234,56" << "1.234,";
}

void TestAmountText::suffixes()
{
    QFETCH(TCurrSymbolSet, symbol);
    QFETCH(QString, suffix);
    QFETCH(QString, stripped);
    QFETCH(QString, bareStripped);
    QCOMPARE(AmountText::currencySuffix(symbol), suffix);
    QCOMPARE(AmountText::stripCurrencySuffix(QStringLiteral("1.234,56") + suffix, symbol), stripped);
    // The characters go whatever they are.
    QCOMPARE(AmountText::stripCurrencySuffix(QStringLiteral("1.234,56"), symbol), bareStripped);
    QCOMPARE(AmountText::stripCurrencySuffix(QStringLiteral("$"), symbol),
             symbol == TCurrSymbolSet::None ? QStringLiteral("$") : QString());
}

void TestAmountText::patterns()
{
    QCOMPARE(AmountText::pattern(0), QStringLiteral("#,##0"));
    QCOMPARE(AmountText::pattern(2), QStringLiteral("#,##0.00"));
    QCOMPARE(AmountText::pattern(5), QStringLiteral("#,##0.00000"));
}

void TestAmountText::formatting_data()
{
    QTest::addColumn<long double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("text");

    QTest::newRow("thousands and padded decimals") << 1234.5L << 2 << "1.234,50";
    QTest::newRow("zero") << 0.0L << 2 << "0,00";
    QTest::newRow("negative") << -12.0L << 2 << "-12,00";
    QTest::newRow("millions") << 1234567.891L << 2 << "1.234.567,89";
    QTest::newRow("group boundary") << 999999.0L << 2 << "999.999,00";
    QTest::newRow("thirteen digits exact") << 9999999999999.99L << 2 << "9.999.999.999.999,99";
    QTest::newRow("sixteen digits") << 1e15L << 2 << "1.000.000.000.000.000,00";

    // Half away from zero, on the value's decimal form.
    QTest::newRow("half up") << 0.825L << 2 << "0,83";
    QTest::newRow("stamp duty 100,00 at 8,25") << 100.0L * 8.25L / 1000.0L << 2 << "0,83";
    QTest::newRow("stamp duty 150,00 at 8,25") << 150.0L * 8.25L / 1000.0L << 2 << "1,24";
    QTest::newRow("2,675 (below the half in binary)") << 2.675L << 2 << "2,68";
    QTest::newRow("1,005") << 1.005L << 2 << "1,01";
    QTest::newRow("negative half") << -0.005L << 2 << "-0,01";
    QTest::newRow("below the half") << 0.0049L << 2 << "0,00";
    QTest::newRow("nines beyond the decimal form round up")
        << 0.004999999999999999999L << 2 << "0,01";
    QTest::newRow("carry across a separator") << 999.995L << 2 << "1.000,00";
    QTest::newRow("negative carry to a new group") << -999999.995L << 2 << "-1.000.000,00";

    // No "-0,00".
    QTest::newRow("small negative") << -0.004L << 2 << "0,00";
    QTest::newRow("negative zero") << -0.0L << 2 << "0,00";
    QTest::newRow("tiny negative") << -1e-30L << 2 << "0,00";
    QTest::newRow("tiny") << 1e-30L << 2 << "0,00";

    QTest::newRow("no decimals") << 1234567.0L << 0 << "1.234.567";
    QTest::newRow("no decimals, half") << 2.5L << 0 << "3";
    QTest::newRow("no decimals, negative half") << -2.5L << 0 << "-3";
    QTest::newRow("no decimals, negative below half") << -0.4L << 0 << "0";
    QTest::newRow("three decimals") << 1.0005L << 3 << "1,001";
    QTest::newRow("infinity shows zero") << std::numeric_limits<long double>::infinity() << 2
                                         << "0,00";
}

void TestAmountText::formatting()
{
    QFETCH(long double, value);
    QFETCH(int, decimals);
    QFETCH(QString, text);
    QCOMPARE(AmountText::format(value, decimals), text);
}

void TestAmountText::normalForm_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("normal");

    QTest::newRow("display form") << "1.234,56" << 2 << "1234,56";
    QTest::newRow("digits reinterpreted") << "8,5" << 2 << ",85";
    QTest::newRow("too few digits are padded") << "5" << 2 << ",05";
    QTest::newRow("sign stays in front") << "-5" << 2 << "-,05";
    QTest::newRow("negative display form") << "-1.234,56" << 2 << "-1234,56";
    QTest::newRow("plus sign dropped") << "+12,34" << 2 << "12,34";
    QTest::newRow("no decimals: separator appended") << "1.234" << 0 << "1234,";
    QTest::newRow("three decimals") << "12,34" << 3 << "1,234";
    QTest::newRow("empty") << "" << 2 << "0";
    QTest::newRow("minus alone") << "-" << 2 << "0";
    QTest::newRow("separators alone") << ".," << 2 << "0";
    QTest::newRow("letters") << "abc" << 2 << "0";
    QTest::newRow("suffix left on") << "12,00 TL" << 2 << "0";
    QTest::newRow("blank") << " 5" << 2 << "0";
    QTest::newRow("sign inside") << "1-2" << 2 << "0";
    QTest::newRow("two signs") << "--5" << 2 << "0";
    QTest::newRow("exponent") << "1e5" << 2 << "0";
}

void TestAmountText::normalForm()
{
    QFETCH(QString, text);
    QFETCH(int, decimals);
    QFETCH(QString, normal);
    QCOMPARE(AmountText::normalForm(text, decimals), normal);
}

void TestAmountText::readingAsFloat_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<TCurrSymbolSet>("symbol");
    QTest::addColumn<long double>("value");

    const auto none = TCurrSymbolSet::None;
    QTest::newRow("display form") << "1.234,56" << 2 << none << 1234.56L;
    QTest::newRow("empty") << "" << 2 << none << 0.0L;
    QTest::newRow("letters") << "abc" << 2 << none << 0.0L;
    QTest::newRow("fewer decimals") << "8,5" << 2 << none << 0.85L;
    QTest::newRow("minus alone") << "-" << 2 << none << 0.0L;
    QTest::newRow("short negative") << "-5" << 2 << none << -0.05L;
    QTest::newRow("negative") << "-12,99" << 2 << none << -12.99L;
    QTest::newRow("largest field") << "9.999.999.999.999,99" << 2 << none << 9999999999999.99L;
    QTest::newRow("rate") << "8,25" << 2 << none << 8.25L;
    QTest::newRow("no decimals") << "1.234" << 0 << none << 1234.0L;
    QTest::newRow("TL suffix") << "12,50 TL" << 2 << TCurrSymbolSet::TL << 12.5L;
    QTest::newRow("euro suffix") << "1.000,00 €" << 2 << TCurrSymbolSet::EURO << 1000.0L;
    QTest::newRow("suffix not there, digits lost") << "12,50" << 2 << TCurrSymbolSet::TL << 0.12L;
    QTest::newRow("beyond the type's range") << QString(6000, u'9') << 2 << none << 0.0L;
}

void TestAmountText::readingAsFloat()
{
    QFETCH(QString, text);
    QFETCH(int, decimals);
    QFETCH(TCurrSymbolSet, symbol);
    QFETCH(long double, value);
    QCOMPARE(AmountText::TextAsFloat(text, decimals, symbol), value);
}

void TestAmountText::reformatting_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("display");

    QTest::newRow("unreadable") << "abc" << 2 << "0,00";
    QTest::newRow("empty") << "" << 2 << "0,00";
    QTest::newRow("empty, no decimals") << "" << 0 << "0";
    QTest::newRow("fewer decimals") << "8,5" << 2 << "0,85";
    QTest::newRow("separators regrouped") << "1.2345,67" << 2 << "12.345,67";
    QTest::newRow("leading zeros") << "0005,00" << 2 << "5,00";
    QTest::newRow("minus zero") << "-0,00" << 2 << "0,00";
    QTest::newRow("short negative") << "-5" << 2 << "-0,05";
}

void TestAmountText::reformatting()
{
    QFETCH(QString, text);
    QFETCH(int, decimals);
    QFETCH(QString, display);
    QCOMPARE(AmountText::reformat(text, decimals), display);
}

void TestAmountText::readingLiterally_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<TCurrSymbolSet>("symbol");
    QTest::addColumn<std::optional<long double>>("value");

    const auto none = TCurrSymbolSet::None;
    const std::optional<long double> failure;
    QTest::newRow("display form") << "1.234,56" << none << std::optional(1234.56L);
    QTest::newRow("digits not reinterpreted") << "8,5" << none << std::optional(8.5L);
    QTest::newRow("negative") << "-12,00" << none << std::optional(-12.0L);
    QTest::newRow("no decimals") << "1.234" << none << std::optional(1234.0L);
    QTest::newRow("largest field") << "9.999.999.999.999,99" << none
                                   << std::optional(9999999999999.99L);
    QTest::newRow("suffix stripped") << "12,50 TL" << TCurrSymbolSet::TL << std::optional(12.5L);
    QTest::newRow("empty") << "" << none << failure;
    QTest::newRow("minus alone") << "-" << none << failure;
    QTest::newRow("separators alone") << ".," << none << failure;
    QTest::newRow("letters") << "abc" << none << failure;
    QTest::newRow("two decimal separators") << "1,2,3" << none << failure;
    QTest::newRow("suffix not stripped") << "12,50 TL" << none << failure;
}

void TestAmountText::readingLiterally()
{
    QFETCH(QString, text);
    QFETCH(TCurrSymbolSet, symbol);
    QFETCH(std::optional<long double>, value);
    QCOMPARE(AmountText::TextToValue(text, symbol), value);
}

void TestAmountText::liraAndKurus_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("lira");
    QTest::addColumn<QString>("kurus");

    QTest::newRow("thousands") << "1.234,50" << "1234" << "50";
    QTest::newRow("kuruş only") << "0,07" << "0" << "07";
    QTest::newRow("negative truncates toward zero") << "-12,99" << "-12" << "99";
    QTest::newRow("negative below one lira") << "-0,50" << "0" << "50";
    QTest::newRow("past 32 bits") << "2.147.483.648,00" << "2147483648" << "00";
    QTest::newRow("largest field") << "9.999.999.999.999,99" << "9999999999999" << "99";
    QTest::newRow("cleared field") << "" << "0" << "";
    QTest::newRow("one character") << "5" << "0" << "5";
}

void TestAmountText::liraAndKurus()
{
    QFETCH(QString, text);
    QFETCH(QString, lira);
    QFETCH(QString, kurus);
    QCOMPARE(AmountText::LiraPart(text), lira);
    QCOMPARE(AmountText::KurusPart(text), kurus);
}

void TestAmountText::pastedAmounts_data()
{
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("shown"); // empty: refused

    QTest::newRow("one decimal") << "1.234,5" << "1.234,50";
    QTest::newRow("no separators") << "1234,50" << "1.234,50";
    QTest::newRow("blanks and TL") << " 1 234,50 TL " << "1.234,50";
    QTest::newRow("no-break spaces") << QStringLiteral("1\u00A0234\u00A0567,8") << "1.234.567,80";
    QTest::newRow("lira sign") << QStringLiteral("₺12,5") << "12,50";
    QTest::newRow("YTL") << "7 YTL" << "7,00";
    QTest::newRow("whole lira") << "1.000" << "1.000,00";
    QTest::newRow("leading zeros") << "0012,3" << "12,30";
    QTest::newRow("kuruş only") << ",5" << "0,50";
    QTest::newRow("negative") << "-1.234,56" << "-1.234,56";
    QTest::newRow("negative zero") << "-0,00" << "0,00";
    QTest::newRow("thirteen digits") << "9999999999999,99" << "9.999.999.999.999,99";
    QTest::newRow("letters") << "abc" << "";
    QTest::newRow("English form") << "1,234.50" << "";
    QTest::newRow("English decimal point") << "1234.5" << "";
    QTest::newRow("three decimals") << "12,345" << "";
    QTest::newRow("two commas") << "1,2,3" << "";
    QTest::newRow("groups of two") << "12.34.567" << "";
    QTest::newRow("mixed separators") << "1.234 567" << "";
    QTest::newRow("first group too long") << "1234.567" << "";
    QTest::newRow("comma without decimals") << "12," << "";
    QTest::newRow("nothing") << "  " << "";
    QTest::newRow("an amount with its text") << "1.234,50 TL ödenecek" << "";
}

void TestAmountText::pastedAmounts()
{
    QFETCH(QString, pasted);
    QFETCH(QString, shown);
    const std::optional<QString> amount = AmountText::pastedAmount(pasted, 2);
    QCOMPARE(amount.value_or(QString()), shown);
    QCOMPARE(amount.has_value(), !shown.isEmpty());
}

void TestAmountText::writtenAmounts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<WrittenAmount::Rules>("rules");
    QTest::addColumn<QString>("read"); // "[-]whole|decimals"; empty: refused

    const WrittenAmount::Rules field; // an amount field's text
    const WrittenAmount::Rules pasted{.thousandsSeparators = u". \u00A0\u202F",
                                      .plusSign = true,
                                      .currencyUnit = true,
                                      .bareDecimals = true};

    // Groups: one separator kind, a first group of one to three digits, then threes.
    QTest::newRow("blank then point") << "1 234.567" << pasted << "";
    QTest::newRow("no-break space then blank") << QStringLiteral("1\u00A0234 567") << pasted << "";
    QTest::newRow("point where only blanks group")
        << "1.234" << WrittenAmount::Rules{.thousandsSeparators = u" "} << "";
    QTest::newRow("group of two") << "1.23" << field << "";
    QTest::newRow("group of four") << "1.2345" << field << "";
    QTest::newRow("first group of four") << "1234.567" << field << "";
    QTest::newRow("separator first") << ".123" << field << "";
    QTest::newRow("separator last") << "123." << field << "";
    QTest::newRow("two separators together") << "1..234" << field << "";
    QTest::newRow("blank before the comma") << "1 234 ,5" << pasted << "";
    QTest::newRow("decimal point") << "12.5" << field << "";
    QTest::newRow("sixteen digits: the reader sets no limit")
        << "1.234.567.890.123.456" << field << "1234567890123456|";

    // Leading zeros go, even where they fill a group.
    QTest::newRow("leading zeros") << "0012,3" << field << "12|3";
    QTest::newRow("zeros only") << "000" << field << "0|";
    QTest::newRow("zeros in the first group") << "0.001" << field << "1|";

    // Signs: no "-0", and only where the rules allow one.
    QTest::newRow("minus zero") << "-0,00" << field << "0|00";
    QTest::newRow("minus zero kuruş only") << "-,0" << pasted << "0|0";
    QTest::newRow("one kuruş below zero") << "-0,01" << field << "-0|01";
    QTest::newRow("plus where only minus") << "+5" << field << "";
    QTest::newRow("plus") << "+5" << pasted << "5|";
    QTest::newRow("minus not allowed") << "-5" << WrittenAmount::Rules{.minusSign = false} << "";
    QTest::newRow("blank after the sign") << "- 5" << pasted << "";
    QTest::newRow("two signs") << "+-5" << pasted << "";
    QTest::newRow("sign at the end") << "5-" << field << "";

    // Decimals.
    QTest::newRow("three decimals over two") << "1,005" << field << "";
    QTest::newRow("three decimals allowed") << "1,005" << WrittenAmount::Rules{.maxDecimals = 3} << "1|005";
    QTest::newRow("decimals not allowed") << "12,0" << WrittenAmount::Rules{.maxDecimals = 0} << "";
    QTest::newRow("whole lira, decimals not allowed") << "12" << WrittenAmount::Rules{.maxDecimals = 0} << "12|";
    QTest::newRow("fewer than none is none") << "12" << WrittenAmount::Rules{.maxDecimals = -1} << "12|";
    QTest::newRow("decimals as written") << "12,50" << field << "12|50";
    QTest::newRow("comma without decimals") << "12," << field << "";
    QTest::newRow("decimals alone, not allowed") << ",5" << field << "";
    QTest::newRow("decimals alone") << ",5" << pasted << "0|5";
    QTest::newRow("comma alone") << "," << pasted << "";
    QTest::newRow("sign alone") << "-" << pasted << "";

    // Blanks: any white space around, only the listed ones between groups.
    QTest::newRow("tab and newline around") << "\t12,5\n" << field << "12|5";
    QTest::newRow("no-break spaces around") << QStringLiteral("\u00A012\u00A0") << field << "12|";
    QTest::newRow("narrow no-break space groups") << QStringLiteral("1\u202F234") << pasted << "1234|";
    QTest::newRow("thin space does not group") << QStringLiteral("1\u2009234") << pasted << "";
    QTest::newRow("tab does not group") << "1\t234" << pasted << "";
    QTest::newRow("two blanks") << "1  234" << pasted << "";
    QTest::newRow("blank where only points group") << "1 234" << field << "";

    // Currency units.
    QTest::newRow("unit in lower case, no blank") << "12tl" << pasted << "12|";
    QTest::newRow("lira sign after") << QStringLiteral("12 ₺") << pasted << "12|";
    QTest::newRow("lira sign before and TL after") << QStringLiteral("₺12 TL") << pasted << "12|";
    QTest::newRow("minus after the lira sign") << QStringLiteral("₺-12") << pasted << "-12|";
    QTest::newRow("lira sign after the minus") << QStringLiteral("-₺12") << pasted << "";
    QTest::newRow("unit before") << "TL 12" << pasted << "";
    QTest::newRow("unit twice") << "12 TL TL" << pasted << "";
    QTest::newRow("unit alone") << "TL" << pasted << "";
    QTest::newRow("unit inside") << "12 TL,50" << pasted << "";
    QTest::newRow("another currency") << QStringLiteral("12 €") << pasted << "";
    QTest::newRow("unit not allowed") << "12 TL" << field << "";

    // Digits are ASCII digits only.
    QTest::newRow("Arabic-Indic digits") << QStringLiteral("\u0661\u0662") << pasted << "";
    QTest::newRow("fullwidth digits") << QStringLiteral("\uFF11\uFF12") << pasted << "";
}

void TestAmountText::writtenAmounts()
{
    QFETCH(QString, text);
    QFETCH(WrittenAmount::Rules, rules);
    QFETCH(QString, read);
    const std::optional<WrittenAmount> amount = WrittenAmount::read(text, rules);
    const QString described =
        amount ? (amount->negative ? QStringLiteral("-") : QString()) + amount->whole + u'|' + amount->decimals
               : QString();
    QCOMPARE(described, read);
}

void TestAmountText::grouping_data()
{
    QTest::addColumn<QString>("digits");
    QTest::addColumn<QString>("grouped");
    QTest::newRow("nothing") << "" << "";
    QTest::newRow("three") << "999" << "999";
    QTest::newRow("four") << "1000" << "1.000";
    QTest::newRow("six") << "123456" << "123.456";
    QTest::newRow("seven") << "1234567" << "1.234.567";
}

void TestAmountText::grouping()
{
    QFETCH(QString, digits);
    QFETCH(QString, grouped);
    QCOMPARE(WrittenAmount::grouped(digits), grouped);
}

QTEST_GUILESS_MAIN(TestAmountText)
#include "tst_AmountText.moc"
