#include "base/TurkishText.h"

#include <QtTest>

class TestTurkishText : public QObject
{
    Q_OBJECT

private slots:
    void upperCasing_data();
    void upperCasing();
    void dates();
};

void TestTurkishText::upperCasing_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("latin letters") << "abcdefghjklmnoprstuvxyz" << "ABCDEFGHJKLMNOPRSTUVXYZ";
    QTest::newRow("dotted i") << "i" << "İ";
    QTest::newRow("dotless i") << "ı" << "I";
    QTest::newRow("turkish letters") << "çğöşü" << "ÇĞÖŞÜ";
    QTest::newRow("q and w stay") << "qw" << "qw";
    QTest::newRow("capitals, digits, punctuation stay") << "AİI09 .-/\"%_" << "AİI09 .-/\"%_";
    QTest::newRow("other accented letters stay") << "âéß" << "âéß";
    QTest::newRow("a name") << "şişli eczanesi" << "ŞİŞLİ ECZANESİ";
}

void TestTurkishText::upperCasing()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QCOMPARE(TurkishText::upperCaseTyped(typed), stored);
}

void TestTurkishText::dates()
{
    QCOMPARE(TurkishText::shortDate(QDate(2024, 3, 5)), QStringLiteral("05.03.2024"));
    const QDateTime afternoon(QDate(2026, 12, 9), QTime(15, 4, 7));
    QCOMPARE(TurkishText::clockText(afternoon), QStringLiteral("9 Aralık Çarşamba - 15:04:07  "));
    const QDateTime morning(QDate(2024, 3, 5), QTime(9, 0, 0));
    QCOMPARE(TurkishText::clockText(morning), QStringLiteral("5 Mart Salı - 09:00:00  "));
}

QTEST_GUILESS_MAIN(TestTurkishText)
#include "tst_TurkishText.moc"
