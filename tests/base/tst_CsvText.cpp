// The CSV rules a Turkish spreadsheet opens without a dialog, and the exact
// kuruş amounts the register keeps and adds up.
#include "base/CsvText.h"
#include "base/KurusAmount.h"

#include <QtTest>

#include <optional>

class TestCsvText : public QObject
{
    Q_OBJECT

private slots:
    void fields_data();
    void fields();
    void figures_data();
    void figures();
    void linesAndFile();
    void kurusFromText_data();
    void kurusFromText();
    void kurusToText_data();
    void kurusToText();
};

void TestCsvText::fields_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("written");
    QTest::newRow("plain") << QStringLiteral("ŞİFA ECZANESİ") << QStringLiteral("ŞİFA ECZANESİ");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("decimal comma stays bare") << QStringLiteral("1234,50") << QStringLiteral("1234,50");
    QTest::newRow("separator") << QStringLiteral("A;B") << QStringLiteral("\"A;B\"");
    QTest::newRow("quote doubled") << QStringLiteral("\"GÜVEN\" ECZANESİ")
                                   << QStringLiteral("\"\"\"GÜVEN\"\" ECZANESİ\"");
    QTest::newRow("line break") << QStringLiteral("ÇANKAYA\nŞUBESİ") << QStringLiteral("\"ÇANKAYA\nŞUBESİ\"");
    QTest::newRow("carriage return") << QStringLiteral("A\r\nB") << QStringLiteral("\"A\r\nB\"");
    QTest::newRow("blanks kept") << QStringLiteral(" A ") << QStringLiteral(" A ");
    // What a spreadsheet would take for a formula stays text.
    QTest::newRow("equals") << QStringLiteral("=1+2") << QStringLiteral("\"'=1+2\"");
    QTest::newRow("plus") << QStringLiteral("+90 312") << QStringLiteral("\"'+90 312\"");
    QTest::newRow("minus") << QStringLiteral("-ABC") << QStringLiteral("\"'-ABC\"");
    QTest::newRow("minus before a figure is text here") << QStringLiteral("-12,50") << QStringLiteral("\"'-12,50\"");
    QTest::newRow("at") << QStringLiteral("@SUM(A1)") << QStringLiteral("\"'@SUM(A1)\"");
    QTest::newRow("tab") << QStringLiteral("\t=1") << QStringLiteral("\"'\t=1\"");
    QTest::newRow("carriage return") << QStringLiteral("\r=1") << QStringLiteral("\"'\r=1\"");
    QTest::newRow("formula with quotes and separator")
        << QStringLiteral("=HYPERLINK(\"x\";\"y\")") << QStringLiteral("\"'=HYPERLINK(\"\"x\"\";\"\"y\"\")\"");
    QTest::newRow("sign inside is harmless") << QStringLiteral("A=B-C") << QStringLiteral("A=B-C");
    QTest::newRow("single quote first") << QStringLiteral("'=1") << QStringLiteral("'=1");
}

void TestCsvText::figures_data()
{
    QTest::addColumn<QString>("figure");
    QTest::addColumn<QString>("written");
    QTest::newRow("amount") << QStringLiteral("1234,50") << QStringLiteral("1234,50");
    QTest::newRow("negative amount stays a number") << QStringLiteral("-1234,05") << QStringLiteral("-1234,05");
    QTest::newRow("whole number") << QStringLiteral("17") << QStringLiteral("17");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("not a figure is text") << QStringLiteral("-1+2") << QStringLiteral("\"'-1+2\"");
    QTest::newRow("formula is text") << QStringLiteral("=1") << QStringLiteral("\"'=1\"");
    QTest::newRow("separator is text") << QStringLiteral("1;2") << QStringLiteral("\"1;2\"");
}

void TestCsvText::figures()
{
    QFETCH(QString, figure);
    QFETCH(QString, written);
    QCOMPARE(CsvText::number(figure), written);
}

void TestCsvText::fields()
{
    QFETCH(QString, text);
    QFETCH(QString, written);
    QCOMPARE(CsvText::field(text), written);
}

void TestCsvText::linesAndFile()
{
    const QString line = CsvText::line({QStringLiteral("12"), QStringLiteral("İĞNE; İPLİK"), QString()});
    QCOMPARE(line, QStringLiteral("12;\"İĞNE; İPLİK\";\r\n"));
    QCOMPARE(CsvText::line({QStringLiteral("-5"), QStringLiteral("-5"), QStringLiteral("-5")}, {0, 2}),
             QStringLiteral("-5;\"'-5\";-5\r\n"));
    const QByteArray bytes = CsvText::fileBytes(line);
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    QCOMPARE(QString::fromUtf8(bytes.mid(3)), line);
}

void TestCsvText::kurusFromText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::optional<qint64>>("kurus");
    QTest::newRow("display form") << QStringLiteral("1.234,50") << std::optional<qint64>(123450);
    QTest::newRow("millions") << QStringLiteral("12.345.678,09") << std::optional<qint64>(1234567809);
    QTest::newRow("no thousands") << QStringLiteral("1234,5") << std::optional<qint64>(123450);
    QTest::newRow("whole lira") << QStringLiteral("8") << std::optional<qint64>(800);
    QTest::newRow("empty field is nothing") << QString() << std::optional<qint64>(0);
    QTest::newRow("negative") << QStringLiteral("-12,05") << std::optional<qint64>(-1205);
    // The largest amount field, to the kuruş, with no rounding on the way.
    QTest::newRow("thirteen digits") << QStringLiteral("9.999.999.999.999,99")
                                     << std::optional<qint64>(999999999999999LL);
    // 15 whole digits still add up over a large register; more are refused,
    // leading zeros not counted.
    QTest::newRow("fifteen digits") << QStringLiteral("999.999.999.999.999,99")
                                    << std::optional<qint64>(99999999999999999LL);
    QTest::newRow("sixteen digits") << QStringLiteral("1000000000000000") << std::optional<qint64>();
    QTest::newRow("fifteen digits after a zero") << QStringLiteral("0999999999999999")
                                                 << std::optional<qint64>(99999999999999900LL);
    QTest::newRow("minus zero") << QStringLiteral("-0,00") << std::optional<qint64>(0);
    QTest::newRow("blanks around") << QStringLiteral(" \t12,5 ") << std::optional<qint64>(1250);
    QTest::newRow("blank alone is nothing") << QStringLiteral("  ") << std::optional<qint64>(0);
    QTest::newRow("kuruş alone") << QStringLiteral(",5") << std::optional<qint64>();
    QTest::newRow("plus sign") << QStringLiteral("+5") << std::optional<qint64>();
    QTest::newRow("blank groups") << QStringLiteral("1 234,00") << std::optional<qint64>();
    QTest::newRow("with its unit") << QStringLiteral("12 TL") << std::optional<qint64>();
    QTest::newRow("three decimals") << QStringLiteral("1,005") << std::optional<qint64>();
    QTest::newRow("English form") << QStringLiteral("1,234.50") << std::optional<qint64>();
    QTest::newRow("bad grouping") << QStringLiteral("12.34,00") << std::optional<qint64>();
    QTest::newRow("letters") << QStringLiteral("on lira") << std::optional<qint64>();
}

void TestCsvText::kurusFromText()
{
    QFETCH(QString, text);
    QFETCH(std::optional<qint64>, kurus);
    QCOMPARE(KurusAmount::fromText(text), kurus);
}

void TestCsvText::kurusToText_data()
{
    QTest::addColumn<qint64>("kurus");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("plain");
    QTest::newRow("zero") << qint64(0) << QStringLiteral("0,00") << QStringLiteral("0,00");
    QTest::newRow("kuruş only") << qint64(5) << QStringLiteral("0,05") << QStringLiteral("0,05");
    QTest::newRow("thousands") << qint64(123450) << QStringLiteral("1.234,50") << QStringLiteral("1234,50");
    QTest::newRow("a million") << qint64(100000000) << QStringLiteral("1.000.000,00")
                               << QStringLiteral("1000000,00");
    QTest::newRow("negative") << qint64(-123405) << QStringLiteral("-1.234,05") << QStringLiteral("-1234,05");
}

void TestCsvText::kurusToText()
{
    QFETCH(qint64, kurus);
    QFETCH(QString, shown);
    QFETCH(QString, plain);
    QCOMPARE(KurusAmount::toText(kurus), shown);
    QCOMPARE(KurusAmount::toPlainText(kurus), plain);
    QCOMPARE(KurusAmount::fromText(shown), std::optional<qint64>(kurus));
}

QTEST_GUILESS_MAIN(TestCsvText)
#include "tst_CsvText.moc"
