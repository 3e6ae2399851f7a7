#include "base/WindowsTurkishCodePage.h"

#include <QtTest>

class TestWindowsTurkishCodePage : public QObject
{
    Q_OBJECT

private slots:
    void decoding_data();
    void decoding();
    void everyByteRoundTrips();
    void turkishAlphabetBytes();
    void unencodable_data();
    void unencodable();
};

void TestWindowsTurkishCodePage::decoding_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("character");
    QTest::newRow("ASCII") << 0x41 << int(u'A');
    QTest::newRow("Ç, as in Latin-1") << 0xC7 << int(u'Ç');
    QTest::newRow("Ö, as in Latin-1") << 0xD6 << int(u'Ö');
    QTest::newRow("ü, as in Latin-1") << 0xFC << int(u'ü');
    QTest::newRow("Ğ in place of Ð") << 0xD0 << int(u'Ğ');
    QTest::newRow("İ in place of Ý") << 0xDD << int(u'İ');
    QTest::newRow("Ş in place of Þ") << 0xDE << int(u'Ş');
    QTest::newRow("ğ in place of ð") << 0xF0 << int(u'ğ');
    QTest::newRow("ı in place of ý") << 0xFD << int(u'ı');
    QTest::newRow("ş in place of þ") << 0xFE << int(u'ş');
    QTest::newRow("euro sign") << 0x80 << 0x20AC;
    QTest::newRow("right single quotation mark") << 0x92 << 0x2019;
    QTest::newRow("en dash") << 0x96 << 0x2013;
    QTest::newRow("Ÿ") << 0x9F << 0x0178;
    QTest::newRow("no-break space") << 0xA0 << 0x00A0;
    QTest::newRow("ÿ") << 0xFF << 0x00FF;
    // Bytes the code page leaves undefined keep their number.
    QTest::newRow("undefined 0x81") << 0x81 << 0x81;
    QTest::newRow("undefined 0x8E") << 0x8E << 0x8E;
    QTest::newRow("undefined 0x90") << 0x90 << 0x90;
    QTest::newRow("undefined 0x9E") << 0x9E << 0x9E;
}

void TestWindowsTurkishCodePage::decoding()
{
    QFETCH(int, byte);
    QFETCH(int, character);
    const char raw = static_cast<char>(byte);
    QCOMPARE(WindowsTurkishCodePage::toUnicode(raw).unicode(), char16_t(character));
    QCOMPARE(WindowsTurkishCodePage::decode(QByteArrayView(&raw, 1)), QString(QChar(char16_t(character))));
}

void TestWindowsTurkishCodePage::everyByteRoundTrips()
{
    QByteArray all;
    for (int byte = 0; byte < 256; ++byte)
        all += static_cast<char>(byte);
    const QString text = WindowsTurkishCodePage::decode(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(WindowsTurkishCodePage::firstUnencodable(text), -1);
    QCOMPARE(WindowsTurkishCodePage::encode(text), all);
}

void TestWindowsTurkishCodePage::turkishAlphabetBytes()
{
    const QString letters = QStringLiteral("ÇĞİÖŞÜçğıöşü€");
    const QByteArray bytes("\xC7\xD0\xDD\xD6\xDE\xDC\xE7\xF0\xFD\xF6\xFE\xFC\x80");
    QCOMPARE(WindowsTurkishCodePage::encode(letters), bytes);
    QCOMPARE(WindowsTurkishCodePage::decode(bytes), letters);
}

void TestWindowsTurkishCodePage::unencodable_data()
{
    QTest::addColumn<QString>("character");
    // The six Latin-1 letters whose bytes the Turkish letters took.
    QTest::newRow("Ð") << QStringLiteral("Ð");
    QTest::newRow("Ý") << QStringLiteral("Ý");
    QTest::newRow("Þ") << QStringLiteral("Þ");
    QTest::newRow("ð") << QStringLiteral("ð");
    QTest::newRow("ý") << QStringLiteral("ý");
    QTest::newRow("þ") << QStringLiteral("þ");
    QTest::newRow("C1 control whose byte holds €") << QString(QChar(char16_t(0x80)));
    QTest::newRow("next line control") << QString(QChar(char16_t(0x85)));
    QTest::newRow("Ž, which only code page 1252 has") << QStringLiteral("Ž");
    QTest::newRow("ā") << QStringLiteral("ā");
    QTest::newRow("Cyrillic") << QStringLiteral("Ж");
    QTest::newRow("emoji outside the basic plane") << QStringLiteral("😀");
}

void TestWindowsTurkishCodePage::unencodable()
{
    QFETCH(QString, character);
    QVERIFY(!WindowsTurkishCodePage::canEncode(character.front()));
    const QString text = QStringLiteral("aş") + character + QStringLiteral("b");
    QCOMPARE(WindowsTurkishCodePage::firstUnencodable(text), 2);
    QCOMPARE(WindowsTurkishCodePage::encode(text),
             QByteArray("a\xFE") + QByteArray(character.size(), '?') + QByteArray("b"));
}

QTEST_GUILESS_MAIN(TestWindowsTurkishCodePage)
#include "tst_WindowsTurkishCodePage.moc"
