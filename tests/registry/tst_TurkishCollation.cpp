#include "registry/TurkishCollation.h"
#include "support/TurkishCapitals.h"

#include <QRandomGenerator>
#include <QtTest>

#include <algorithm>

namespace {

// Characters that stress the order: Turkish letters and their look-alikes,
// both cases, digits, blanks, the wildcards of a LIKE pattern and the quotes,
// a letter outside the alphabet and a character outside the 16-bit range.
const QStringList kAlphabet = {
    QStringLiteral("A"), QStringLiteral("a"), QStringLiteral("C"), QStringLiteral("Ç"), QStringLiteral("ç"),
    QStringLiteral("I"), QStringLiteral("ı"), QStringLiteral("İ"), QStringLiteral("i"), QStringLiteral("S"),
    QStringLiteral("Ş"), QStringLiteral("Z"), QStringLiteral(" "), QStringLiteral("0"), QStringLiteral("%"),
    QStringLiteral("_"), QStringLiteral("\""), QStringLiteral("'"), QStringLiteral("É"),
    // Letters outside the alphabet, in both cases: they match either way too.
    QStringLiteral("é"), QStringLiteral("Â"), QStringLiteral("â"), QStringLiteral("s"), QStringLiteral("ſ"),
    QString::fromUcs4(U"\U0001F600", 1)};

QStringList randomTexts(int count, int maxLength)
{
    QRandomGenerator random(20240501);
    QStringList texts;
    for (int i = 0; i < count; ++i) {
        QString text;
        const int length = random.bounded(maxLength + 1);
        for (int j = 0; j < length; ++j)
            text += kAlphabet[random.bounded(int(kAlphabet.size()))];
        texts.append(text);
    }
    return texts;
}

int sign(int value)
{
    return (value > 0) - (value < 0);
}

} // namespace

class TestTurkishCollation : public QObject
{
    Q_OBJECT

private slots:
    void pairs_data();
    void pairs();
    void sortsTheAlphabet();
    void isAStrictTotalOrder();
    void prefixRangeHoldsExactlyThePrefixed();
};

void TestTurkishCollation::pairs_data()
{
    QTest::addColumn<QString>("smaller");
    QTest::addColumn<QString>("larger");
    QTest::newRow("C before Ç") << "CAN" << "ÇAN";
    QTest::newRow("Ç before D") << "ÇORUM" << "DENİZLİ";
    QTest::newRow("Ğ between G and H") << "GÖKSU" << "ĞA";
    QTest::newRow("Ğ before H") << "ĞA" << "HAKKARİ";
    QTest::newRow("dotless I before dotted İ") << "IĞDIR" << "İZMİR";
    QTest::newRow("H before I") << "HATAY" << "ISPARTA";
    QTest::newRow("İ before J") << "İZMİR" << "JALE";
    QTest::newRow("Ö between O and P") << "ORDU" << "ÖDEMİŞ";
    QTest::newRow("Ş between S and T") << "SİVAS" << "ŞİŞLİ";
    QTest::newRow("Ş before T") << "ŞİŞLİ" << "TOKAT";
    QTest::newRow("Ü between U and V") << "UŞAK" << "ÜSKÜDAR";
    QTest::newRow("Ü before V") << "ÜSKÜDAR" << "VAN";
    QTest::newRow("Turkish letters before Z") << "ŞİŞLİ" << "ZONGULDAK";
    QTest::newRow("capital right before its small letter") << "A" << "a";
    QTest::newRow("small letter before the next capital") << "a" << "B";
    QTest::newRow("I then ı") << "I" << "ı";
    QTest::newRow("ı then İ") << "ı" << "İ";
    QTest::newRow("İ then i") << "İ" << "i";
    QTest::newRow("case ignored while the letters differ") << "ankara" << "ANTALYA";
    QTest::newRow("small ı among the capitals") << "IĞDIR" << "ılgaz";
    QTest::newRow("small i is İ, not I") << "ISPARTA" << "izmir";
    QTest::newRow("case decides last, capital first") << "ŞİŞLİ" << "şişli";
    QTest::newRow("case decides last, at the first difference") << "ŞİŞLİ ECZANE" << "ŞİŞLİ eczane";
    QTest::newRow("digits before letters") << "9" << "A";
    QTest::newRow("blank before digits") << " " << "0";
    QTest::newRow("blank before letters in a name") << "ALİ VELİ" << "ALİCAN";
    QTest::newRow("punctuation before letters") << "A\"B" << "AA";
    QTest::newRow("other letters after Z") << "ZZ" << "ÉMİLE";
    QTest::newRow("prefix first") << "ŞİŞ" << "ŞİŞLİ";
    QTest::newRow("empty first") << "" << "\x01";
    QTest::newRow("astral character after the rest") << "É" << QString::fromUcs4(U"\U0001F600", 1);
    QTest::newRow("case ignored for Â too") << "kâmil" << "KÂMİLE";
    QTest::newRow("case decides last for Â too") << "KÂMİL" << "kâmil";
    QTest::newRow("Î and î together") << "Îİ" << "îj";
}

void TestTurkishCollation::pairs()
{
    QFETCH(QString, smaller);
    QFETCH(QString, larger);
    QCOMPARE(sign(TurkishCollation::compare(smaller, larger)), -1);
    QCOMPARE(sign(TurkishCollation::compare(larger, smaller)), 1);
}

void TestTurkishCollation::sortsTheAlphabet()
{
    const QString alphabet = QStringLiteral("ABCÇDEFGĞHIİJKLMNOÖPQRSŞTUÜVWXYZ");
    QStringList letters;
    for (QChar letter : alphabet)
        letters.append(QString(letter));
    QStringList shuffled = letters;
    std::reverse(shuffled.begin(), shuffled.end());
    std::sort(shuffled.begin(), shuffled.end(),
              [](const QString &a, const QString &b) { return TurkishCollation::compare(a, b) < 0; });
    QCOMPARE(shuffled, letters);
}

void TestTurkishCollation::isAStrictTotalOrder()
{
    QStringList texts = randomTexts(400, 4);
    for (const QString &a : texts) {
        for (const QString &b : texts) {
            const int ab = sign(TurkishCollation::compare(a, b));
            QCOMPARE(ab, -sign(TurkishCollation::compare(b, a)));
            // Distinct texts never tie, or the name index could not tell them apart.
            QCOMPARE(ab == 0, a == b);
        }
    }
    std::sort(texts.begin(), texts.end(),
              [](const QString &a, const QString &b) { return TurkishCollation::compare(a, b) < 0; });
    for (int i = 1; i < texts.size(); ++i)
        QVERIFY(TurkishCollation::compare(texts[i - 1], texts[i]) <= 0);
}

void TestTurkishCollation::prefixRangeHoldsExactlyThePrefixed()
{
    const QStringList texts = randomTexts(600, 5);
    QStringList prefixes = {QString()};
    for (const QString &first : kAlphabet) {
        prefixes.append(first);
        for (const QString &second : kAlphabet)
            prefixes.append(first + second);
    }
    for (const QString &prefix : prefixes) {
        const QString lower = TurkishCollation::prefixLowerBound(prefix);
        const QString upper = TurkishCollation::prefixUpperBound(prefix);
        for (const QString &text : texts) {
            const bool inRange
                = TurkishCollation::compare(text, lower) >= 0 && TurkishCollation::compare(text, upper) < 0;
            if (inRange != turkishCapitals(text).startsWith(turkishCapitals(prefix)))
                QFAIL(qPrintable(QStringLiteral("prefix \"%1\", text \"%2\"").arg(prefix, text)));
        }
    }
}

QTEST_GUILESS_MAIN(TestTurkishCollation)
#include "tst_TurkishCollation.moc"
