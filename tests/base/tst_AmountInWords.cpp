#include "base/AmountInWords.h"

#include <QtTest>

#include <charconv>

namespace {

// Amounts reach the words from typed text, in extended precision, or from
// double arithmetic; both must give the same kuruş.
long double parseExtended(const QString &text)
{
    const QByteArray bytes = text.toLatin1();
    long double value = 0;
    std::from_chars(bytes.constData(), bytes.constData() + bytes.size(), value);
    return value;
}

long double parseViaDouble(const QString &text)
{
    const QByteArray bytes = text.toLatin1();
    double value = 0;
    std::from_chars(bytes.constData(), bytes.constData() + bytes.size(), value);
    return value;
}

const QString kTL = QStringLiteral(" TL.");
const QString kKr = QStringLiteral(" Kr.");

} // namespace

class TestAmountInWords : public QObject
{
    Q_OBJECT

private slots:
    void liraAndKurus_data();
    void liraAndKurus();
    void unitsAndFractionDigits_data();
    void unitsAndFractionDigits();
    void numberToWords_data();
    void numberToWords();
};

void TestAmountInWords::liraAndKurus_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("words");

    QTest::newRow("zero") << "0" << "Sıfır TL.";
    QTest::newRow("half lira") << "0.50" << "Elli Kr.";
    QTest::newRow("seven kuruş") << "0.07" << "Yedi Kr.";
    QTest::newRow("one") << "1" << "Bir TL.";
    QTest::newRow("ten") << "10" << "On TL.";
    QTest::newRow("eleven") << "11" << "OnBir TL.";
    QTest::newRow("hundred") << "100" << "Yüz TL.";
    QTest::newRow("hundred and one") << "101" << "YüzBir TL.";
    QTest::newRow("thousand") << "1000" << "Bin TL.";
    QTest::newRow("thousand and one") << "1001" << "BinBir TL.";
    QTest::newRow("two thousand") << "2000" << "İkiBin TL.";
    QTest::newRow("eleven thousand") << "11000" << "OnBirBin TL.";
    QTest::newRow("1.234,56") << "1234.56" << "BinİkiYüzOtuzDört TL. ElliAltı Kr.";
    QTest::newRow("991,75") << "991.75" << "DokuzYüzDoksanBir TL. YetmişBeş Kr.";
    QTest::newRow("million") << "1000000" << "BirMilyon TL.";
    QTest::newRow("million and a thousand") << "1001000" << "BirMilyonBin TL.";
    QTest::newRow("2.500.000,05") << "2500000.05" << "İkiMilyonBeşYüzBin TL. Beş Kr.";
    QTest::newRow("milliard") << "1000000000" << "BirMilyar TL.";
    QTest::newRow("negative") << "-5" << "";
    QTest::newRow("negative fraction") << "-0.50" << "";

    // Binary-inexact amounts: the fraction lands just above or below the kuruş.
    QTest::newRow("12,57") << "12.57" << "Onİki TL. ElliYedi Kr.";
    QTest::newRow("0,29") << "0.29" << "YirmiDokuz Kr.";
    QTest::newRow("100,29") << "100.29" << "Yüz TL. YirmiDokuz Kr.";
    QTest::newRow("19,99") << "19.99" << "OnDokuz TL. DoksanDokuz Kr.";
    QTest::newRow("5,10") << "5.10" << "Beş TL. On Kr.";
    QTest::newRow("0,01") << "0.01" << "Bir Kr.";

    QTest::newRow("one of every group") << "1001001001001.01"
                                        << "BirTrilyonBirMilyarBirMilyonBinBir TL. Bir Kr.";
    QTest::newRow("largest amount field")
        << "9999999999999.99"
        << "DokuzTrilyonDokuzYüzDoksanDokuzMilyarDokuzYüzDoksanDokuzMilyon"
           "DokuzYüzDoksanDokuzBinDokuzYüzDoksanDokuz TL. DoksanDokuz Kr.";

    // More decimals than the form has: the fraction rounds away to nothing but
    // is still positive, so only the unit word is left.
    QTest::newRow("a tenth of a kuruş") << "0.001" << " Kr.";
}

void TestAmountInWords::liraAndKurus()
{
    QFETCH(QString, value);
    QFETCH(QString, words);
    QCOMPARE(AmountToWords(kTL, kKr, 2, parseExtended(value)), words);
    QCOMPARE(AmountToWords(kTL, kKr, 2, parseViaDouble(value)), words);
}

void TestAmountInWords::unitsAndFractionDigits_data()
{
    QTest::addColumn<QString>("mainUnit");
    QTest::addColumn<QString>("fractionUnit");
    QTest::addColumn<int>("fractionDigits");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("words");

    QTest::newRow("new lira") << " YTL." << " YKr." << 2 << "1234.56"
                              << "BinİkiYüzOtuzDört YTL. ElliAltı YKr.";
    QTest::newRow("new lira, zero") << " YTL." << " YKr." << 2 << "0" << "Sıfır YTL.";
    QTest::newRow("new kuruş alone") << " YTL." << " YKr." << 2 << "0.07" << "Yedi YKr.";
    QTest::newRow("no decimals drops the kuruş") << " TL." << " Kr." << 0 << "1234.56"
                                                 << "BinİkiYüzOtuzDört TL.";
    QTest::newRow("no decimals, kuruş only") << " TL." << " Kr." << 0 << "0.56" << "";
    QTest::newRow("no decimals, zero") << " TL." << " Kr." << 0 << "0" << "Sıfır TL.";
    QTest::newRow("negative decimals") << " TL." << " Kr." << -1 << "12.57" << "Onİki TL.";
    QTest::newRow("three decimals") << " TL." << " Kr." << 3 << "12.345"
                                    << "Onİki TL. ÜçYüzKırkBeş Kr.";
}

void TestAmountInWords::unitsAndFractionDigits()
{
    QFETCH(QString, mainUnit);
    QFETCH(QString, fractionUnit);
    QFETCH(int, fractionDigits);
    QFETCH(QString, value);
    QFETCH(QString, words);
    QCOMPARE(AmountToWords(mainUnit, fractionUnit, fractionDigits, parseExtended(value)), words);
}

void TestAmountInWords::numberToWords_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("words");

    QTest::newRow("zero") << "0" << "";
    QTest::newRow("below a half") << "0.4" << "";
    QTest::newRow("a half rounds up") << "0.5" << "Bir";
    QTest::newRow("two and a half rounds away from zero") << "2.5" << "Üç";
    QTest::newRow("fraction close to 57") << "56.99999999999999" << "ElliYedi";
    QTest::newRow("carry into the next hundred") << "999.5" << "Bin";
    QTest::newRow("carry into a new group") << "999999.5" << "BirMilyon";
    QTest::newRow("tens and units") << "47" << "KırkYedi";
    QTest::newRow("hundreds only") << "600" << "AltıYüz";
    QTest::newRow("thousand keeps no Bir") << "1000" << "Bin";
    QTest::newRow("thousand after a million") << "1001000" << "BirMilyonBin";
    QTest::newRow("two thousand after a million") << "2001000" << "İkiMilyonBin";
    QTest::newRow("hundred and one thousand") << "101000" << "YüzBirBin";
    QTest::newRow("trilyon") << "1000000000000" << "BirTrilyon";
    QTest::newRow("kat trilyon") << "1e15" << "BirKatTrilyon";
    QTest::newRow("trilyar") << "1e18" << "BirTrilyar";
    QTest::newRow("kat trilyar") << "1e21" << "BirKatTrilyar";
    QTest::newRow("hundred kat trilyar") << "1e23" << "YüzKatTrilyar";
    QTest::newRow("eighteen digits")
        << "123456789012345678"
        << "YüzYirmiÜçKatTrilyonDörtYüzElliAltıTrilyonYediYüzSeksenDokuzMilyar"
           "OnİkiMilyonÜçYüzKırkBeşBinAltıYüzYetmişSekiz";
    QTest::newRow("digits past the eighteenth become zeros")
        << "1234567890123456789012"
        << "BirKatTrilyarİkiYüzOtuzDörtTrilyarBeşYüzAltmışYediKatTrilyon"
           "SekizYüzDoksanTrilyonYüzYirmiÜçMilyarDörtYüzElliAltıMilyonYediYüzDoksanBin";
    QTest::newRow("largest in range") << "999e21" << "DokuzYüzDoksanDokuzKatTrilyar";
    QTest::newRow("out of range") << "1e24" << "";
    QTest::newRow("negative") << "-5" << "";
    QTest::newRow("infinite") << "inf" << "";
}

void TestAmountInWords::numberToWords()
{
    QFETCH(QString, value);
    QFETCH(QString, words);
    QCOMPARE(NumberToWords(parseExtended(value)), words);
}

QTEST_GUILESS_MAIN(TestAmountInWords)
#include "tst_AmountInWords.moc"
