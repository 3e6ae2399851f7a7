#include "base/ProfileFile.h"
#include "base/ProgramFolder.h"

#include <QtTest>

#include <memory>

namespace {

using Writes = QList<QStringList>; // section, key, value

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return file.readAll();
}

void putFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(file.errorString()));
    QCOMPARE(file.write(bytes), bytes.size());
}

QString nativeWriteError(const QString &path)
{
    return QStringLiteral("Unable to write to ") + QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

// "01".."99" then "100".., as the codes window numbers its cells.
QStringList cellKeys(int count)
{
    QStringList keys;
    for (int number = 1; number <= count; ++number)
        keys << QStringLiteral("%1").arg(number, 2, 10, QChar(u'0'));
    return keys;
}

// What the Windows build leaves behind after a few closes: code page 1254,
// CR LF, no blank lines, sections in the order the windows first wrote them.
const QByteArray kWindowsFile("[Extra]\r\n"
                              "Baslik2=Kamu Personeli Tedavi Giderleri\r\n"
                              "[Pen Ayar]\r\n"
                              "Konum=210\r\n"
                              "[Ek Dokumanlar]\r\n"
                              "Yazi1=Adet Fatura\r\n"
                              "Yazi3=Adet Re\xE7" "ete\r\n"
                              "Rakam1=2\r\n"
                              "Rakam3=0\r\n"
                              "[Colors]\r\n"
                              "GridAlternatif=14738665\r\n"
                              "GridSelect=0\r\n"
                              "GridSelectTxt=65280\r\n"
                              "Edits=16777215\r\n"
                              "EditsFont=0\r\n"
                              "BRound=12632256\r\n"
                              "[Ayar]\r\n"
                              "OnIzle=1\r\n"
                              "Tarih=0\r\n"
                              "DM=8,25\r\n"
                              "Para=1\r\n"
                              "[Kurum Imza]\r\n"
                              "01=\xDE\xDD\xDEL\xDD\r\n"
                              "07=Sa\xF0l\xFDk M\xFC" "d\xFCrl\xFC\xF0\xFC\r\n");

} // namespace

class TestProfileFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void freshStart();
    void settingsFileInProgramFolder();
    void reading_data();
    void reading();
    void valueLengthLimit_data();
    void valueLengthLimit();
    void integers_data();
    void integers();
    void booleans_data();
    void booleans();
    void colours_data();
    void colours();
    void numbersWritten();
    void writing_data();
    void writing();
    void valuesRoundTrip_data();
    void valuesRoundTrip();
    void turkishLettersOnDisk();
    void utf8FileStaysUtf8();
    void windowsWrittenFile();
    void saveKeepsOtherWindowsSections();
    void codesWindowSaveSequence();
    void refusedWrite_data();
    void refusedWrite();
    void unwritable_data();
    void unwritable();
    void unchangedSessionLeavesFileAlone();

private:
    QString settingsPath() const { return m_folder->filePath(QStringLiteral("Zenparol.ini")); }

    std::unique_ptr<QTemporaryDir> m_folder;
};

void TestProfileFile::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
}

void TestProfileFile::cleanup()
{
    // Tests take rights away; give them back so the folder can go.
    const QString path = m_folder->path();
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile::setPermissions(settingsPath(), QFile::ReadOwner | QFile::WriteOwner);
    m_folder.reset();
}

void TestProfileFile::freshStart()
{
    {
        ProfileFile file(settingsPath());
        QCOMPARE(file.readString(u"Extra", u"Baslik2", QStringLiteral("Kamu Personeli")),
                 QStringLiteral("Kamu Personeli"));
        QCOMPARE(file.readInteger(u"Pen Ayar", u"Konum", 185), 185);
        QCOMPARE(file.readBool(u"Ayar", u"OnIzle", true), true);
        QCOMPARE(file.readColour(u"Colors", u"BRound", 12632256), 12632256);
        QVERIFY(file.save());
        QVERIFY2(!QFile::exists(settingsPath()), "a load must not create the file");
    }

    ProfileFile file(settingsPath());
    file.writeInteger(u"Pen Ayar", u"Konum", 185);
    file.writeColour(u"Colors", u"Edits", 16777215);
    file.writeBool(u"Ayar", u"OnIzle", true);
    QVERIFY(file.save());
    QCOMPARE(contentsOf(settingsPath()),
             QByteArray("[Pen Ayar]\r\nKonum=185\r\n[Colors]\r\nEdits=16777215\r\n[Ayar]\r\nOnIzle=1\r\n"));
}

void TestProfileFile::settingsFileInProgramFolder()
{
    QTemporaryDir elsewhere;
    QVERIFY(elsewhere.isValid());
    const QString previousCurrent = QDir::currentPath();
    const auto programFolder = ProgramFolder::override(m_folder->path());
    QDir::setCurrent(elsewhere.path());
    const auto restore = qScopeGuard([&] { QDir::setCurrent(previousCurrent); });

    QCOMPARE(QFileInfo(ProfileFile::settingsFilePath()), QFileInfo(settingsPath()));
    ProfileFile file;
    QCOMPARE(QFileInfo(file.filePath()), QFileInfo(settingsPath()));
    file.writeString(u"Ayar", u"DM", u"8,25");
    QVERIFY(file.save());
    QVERIFY(QFile::exists(settingsPath()));
    QVERIFY(!QFile::exists(elsewhere.filePath(QStringLiteral("Zenparol.ini"))));
}

void TestProfileFile::reading_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    const QString absent = QStringLiteral("<default>");

    QTest::newRow("CR LF") << QByteArray("[Extra]\r\nA=1\r\n[Ayar]\r\nDM=8,25\r\nPara=1\r\n")
                           << "Ayar" << "DM" << "8,25";
    QTest::newRow("LF") << QByteArray("[Extra]\nA=1\n[Ayar]\nDM=8,25\nPara=1\n") << "Ayar" << "DM" << "8,25";
    QTest::newRow("CR") << QByteArray("[Extra]\rA=1\r[Ayar]\rDM=8,25\rPara=1\r") << "Ayar" << "DM" << "8,25";
    QTest::newRow("mixed line ends") << QByteArray("[Extra]\nA=1\r\n[Ayar]\rDM=8,25\n") << "Ayar" << "DM" << "8,25";
    QTest::newRow("last line without line end") << QByteArray("[Ayar]\r\nDM=8,25") << "Ayar" << "DM" << "8,25";
    QTest::newRow("blanks around names and value")
        << QByteArray("  [ Ayar ]\t\r\n \t DM \t=  8,25 \t\r\n") << "Ayar" << "DM" << "8,25";
    QTest::newRow("blanks inside a value kept")
        << QByteArray("[Extra]\r\nBaslik2=Kamu  Personeli\r\n") << "Extra" << "Baslik2" << "Kamu  Personeli";
    QTest::newRow("blanks inside a key name kept")
        << QByteArray("[Hesap Ayrinti]\r\n1 : = Hazine\r\n") << "Hesap Ayrinti" << "1 :" << "Hazine";
    QTest::newRow("double quotes stripped") << QByteArray("[Ayar]\r\nDM=\"8,25\"\r\n") << "Ayar" << "DM" << "8,25";
    QTest::newRow("single quotes stripped") << QByteArray("[Ayar]\r\nDM='8,25'\r\n") << "Ayar" << "DM" << "8,25";
    QTest::newRow("blanks inside quotes kept") << QByteArray("[Ayar]\r\nDM= \" 8,25  \" \r\n") << "Ayar" << "DM"
                                               << " 8,25  ";
    QTest::newRow("quotes that do not match kept") << QByteArray("[Ayar]\r\nDM=\"8,25'\r\n") << "Ayar" << "DM"
                                                   << "\"8,25'";
    QTest::newRow("a lone quote kept") << QByteArray("[Ayar]\r\nDM=\"\r\n") << "Ayar" << "DM" << "\"";
    QTest::newRow("only the outer pair of quotes goes")
        << QByteArray("[Ayar]\r\nDM=\"\"a\"\"\r\n") << "Ayar" << "DM" << "\"a\"";
    QTest::newRow("a pair of quotes is empty") << QByteArray("[Ayar]\r\nDM=\"\"\r\n") << "Ayar" << "DM" << "";
    QTest::newRow("empty value is not absent") << QByteArray("[Ayar]\r\nDM=\r\n") << "Ayar" << "DM" << "";
    QTest::newRow("blank value is empty") << QByteArray("[Ayar]\r\nDM= \t\r\n") << "Ayar" << "DM" << "";
    QTest::newRow("equals sign inside a value") << QByteArray("[Ayar]\r\nDM=a=b\r\n") << "Ayar" << "DM" << "a=b";
    QTest::newRow("comment line is no key") << QByteArray("[Ayar]\r\n;DM=1\r\n") << "Ayar" << "DM" << absent;
    QTest::newRow("indented comment line is no key")
        << QByteArray("[Ayar]\r\n  ; DM=1\r\n") << "Ayar" << "DM" << absent;
    QTest::newRow("semicolon inside a value kept") << QByteArray("[Ayar]\r\nDM=1;2\r\n") << "Ayar" << "DM" << "1;2";
    QTest::newRow("line without equals sign is no key")
        << QByteArray("[Ayar]\r\nDM\r\n") << "Ayar" << "DM" << absent;
    QTest::newRow("key of another section") << QByteArray("[Ayar]\r\n[Extra]\r\nDM=1\r\n") << "Ayar" << "DM"
                                            << absent;
    QTest::newRow("absent section") << QByteArray("[Extra]\r\nDM=1\r\n") << "Ayar" << "DM" << absent;
    QTest::newRow("key before the first section") << QByteArray("DM=1\r\n[Ayar]\r\n") << "Ayar" << "DM"
                                                  << absent;
    QTest::newRow("duplicate key: the first") << QByteArray("[Ayar]\r\nDM=1\r\nDM=2\r\n") << "Ayar" << "DM" << "1";
    QTest::newRow("duplicate section: the first")
        << QByteArray("[Ayar]\r\nDM=1\r\n[Ayar]\r\nDM=2\r\n") << "Ayar" << "DM" << "1";
    QTest::newRow("duplicate section: the second is not seen")
        << QByteArray("[Ayar]\r\nPara=1\r\n[Ayar]\r\nDM=2\r\n") << "Ayar" << "DM" << absent;
    QTest::newRow("names without regard to case") << QByteArray("[aYAR]\r\ndm=1\r\n") << "Ayar" << "DM" << "1";
    QTest::newRow("Turkish dotted capital İ matches I")
        << QByteArray("[KURUM \xDDMZA]\r\n01=x\r\n") << "Kurum Imza" << "01" << "x";
    QTest::newRow("Turkish dotless ı matches I")
        << QByteArray("[kurum \xFDmza]\r\n01=x\r\n") << "Kurum Imza" << "01" << "x";
    QTest::newRow("Turkish capitals match small letters")
        << QByteArray("[\xDE" "EH\xDDR]\r\n\xC7\xDD\xD0=x\r\n") << "şehir" << "çiğ" << "x";
    QTest::newRow("text after the section's bracket ignored")
        << QByteArray("[Ayar] ; tercihler\r\nDM=1\r\n") << "Ayar" << "DM" << "1";
    // Windows opens the section at a header whose bracket is not closed.
    QTest::newRow("a bracket without its close ends the section before")
        << QByteArray("[Ayar]\r\n[Extra\r\nDM=1\r\n") << "Ayar" << "DM" << absent;
    QTest::newRow("a bracket without its close opens its section")
        << QByteArray("[Ayar]\r\nPara=1\r\n[Extra \r\nDM=1\r\n") << "Extra" << "DM" << "1";
    QTest::newRow("Turkish letters in the code page")
        << QByteArray("[Kurum Imza]\r\n01=\xDE\xDD\xDEL\xDD \xC7\xD6\xDC\xE7\xF6\xFC\r\n") << "Kurum Imza" << "01"
        << "ŞİŞLİ ÇÖÜçöü";
    QTest::newRow("empty file") << QByteArray() << "Ayar" << "DM" << absent;
}

void TestProfileFile::reading()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    putFile(settingsPath(), contents);
    const ProfileFile file(settingsPath());
    QCOMPARE(file.readString(section, key, QStringLiteral("<default>")), expected);
}

void TestProfileFile::valueLengthLimit_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("2047 characters") << QByteArray(2047, 'a') << QString(2047, u'a');
    QTest::newRow("2048 characters") << QByteArray(2048, 'a') << QString(2047, u'a');
    QTest::newRow("5000 characters") << QByteArray(2046, 'a') + QByteArray(2954, 'b')
                                     << QString(2046, u'a') + QStringLiteral("b");
    QTest::newRow("2047 characters inside quotes") << '"' + QByteArray(2047, 'a') + '"' << QString(2047, u'a');
    QTest::newRow("Turkish letters count as one") << QByteArray(2100, '\xFD') << QString(2047, u'ı');
}

void TestProfileFile::valueLengthLimit()
{
    QFETCH(QByteArray, value);
    QFETCH(QString, expected);
    putFile(settingsPath(), "[Extra]\r\nBaslik2=" + value + "\r\n");
    QCOMPARE(ProfileFile(settingsPath()).readString(u"Extra", u"Baslik2", QString()), expected);
}

void TestProfileFile::integers_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("expected");
    const int absent = 185;

    QTest::newRow("decimal") << QByteArray("210") << 210;
    QTest::newRow("zero") << QByteArray("0") << 0;
    QTest::newRow("negative") << QByteArray("-12") << -12;
    QTest::newRow("plus sign") << QByteArray("+12") << 12;
    QTest::newRow("leading zeros") << QByteArray("007") << 7;
    QTest::newRow("0x prefix") << QByteArray("0x100") << 256;
    QTest::newRow("0X prefix, mixed case digits") << QByteArray("0X1fA") << 506;
    QTest::newRow("dollar prefix") << QByteArray("$FF") << 255;
    QTest::newRow("negative hexadecimal") << QByteArray("-0x10") << -16;
    QTest::newRow("blanks and quotes around") << QByteArray(" \"42\" ") << 42;
    QTest::newRow("largest") << QByteArray("2147483647") << 2147483647;
    QTest::newRow("smallest") << QByteArray("-2147483648") << int(-2147483647 - 1);
    QTest::newRow("hexadecimal wraps") << QByteArray("0xFFFFFFFF") << -1;
    QTest::newRow("hexadecimal sign bit") << QByteArray("$80000000") << int(-2147483647 - 1);
    QTest::newRow("trailing garbage") << QByteArray("12abc") << absent;
    QTest::newRow("empty") << QByteArray("") << absent;
    QTest::newRow("word") << QByteArray("abc") << absent;
    QTest::newRow("decimal fraction") << QByteArray("1,5") << absent;
    QTest::newRow("blank inside") << QByteArray("1 2") << absent;
    QTest::newRow("sign alone") << QByteArray("-") << absent;
    QTest::newRow("0x alone") << QByteArray("0x") << absent;
    QTest::newRow("dollar alone") << QByteArray("$") << absent;
    QTest::newRow("sign after prefix") << QByteArray("0x-5") << absent;
    QTest::newRow("hexadecimal digit without prefix") << QByteArray("1F") << absent;
    QTest::newRow("decimal above the largest") << QByteArray("2147483648") << absent;
    QTest::newRow("unsigned decimal is no integer") << QByteArray("4294967295") << absent;
    QTest::newRow("decimal below the smallest") << QByteArray("-2147483649") << absent;
    QTest::newRow("hexadecimal above 32 bits") << QByteArray("0x100000000") << absent;
    QTest::newRow("huge") << QByteArray("99999999999999999999999") << absent;
}

void TestProfileFile::integers()
{
    QFETCH(QByteArray, text);
    QFETCH(int, expected);
    putFile(settingsPath(), "[Pen Ayar]\r\nKonum=" + text + "\r\n");
    QCOMPARE(ProfileFile(settingsPath()).readInteger(u"Pen Ayar", u"Konum", 185), expected);
}

void TestProfileFile::booleans_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("defaultValue");
    QTest::addColumn<bool>("expected");
    QTest::newRow("1") << QByteArray("1") << false << true;
    QTest::newRow("0") << QByteArray("0") << true << false;
    QTest::newRow("any other number") << QByteArray("2") << false << true;
    QTest::newRow("negative number") << QByteArray("-1") << false << true;
    QTest::newRow("hexadecimal zero") << QByteArray("0x0") << true << false;
    QTest::newRow("word keeps default true") << QByteArray("true") << true << true;
    QTest::newRow("word keeps default false") << QByteArray("true") << false << false;
    QTest::newRow("empty keeps default") << QByteArray("") << true << true;
}

void TestProfileFile::booleans()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, defaultValue);
    QFETCH(bool, expected);
    putFile(settingsPath(), "[Ayar]\r\nOnIzle=" + text + "\r\n");
    QCOMPARE(ProfileFile(settingsPath()).readBool(u"Ayar", u"OnIzle", defaultValue), expected);
}

void TestProfileFile::colours_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<qint32>("expected");
    const qint32 absent = 12632256;
    QTest::newRow("plain colour") << QByteArray("14738665") << qint32(14738665);
    QTest::newRow("system colour in signed decimal") << QByteArray("-16777201") << qint32(-16777201);
    QTest::newRow("unsigned decimal wraps") << QByteArray("4294967295") << qint32(-1);
    QTest::newRow("hexadecimal wraps") << QByteArray("0xFFFFFFFF") << qint32(-1);
    QTest::newRow("system colour in hexadecimal") << QByteArray("$FF00000F") << qint32(-16777201);
    QTest::newRow("above 32 bits") << QByteArray("4294967296") << absent;
    QTest::newRow("colour name") << QByteArray("clRed") << absent;
}

void TestProfileFile::colours()
{
    QFETCH(QByteArray, text);
    QFETCH(qint32, expected);
    putFile(settingsPath(), "[Colors]\r\nBRound=" + text + "\r\n");
    QCOMPARE(ProfileFile(settingsPath()).readColour(u"Colors", u"BRound", 12632256), expected);
}

void TestProfileFile::numbersWritten()
{
    ProfileFile file(settingsPath());
    file.writeInteger(u"N", u"a", -12);
    file.writeInteger(u"N", u"b", int(-2147483647 - 1));
    file.writeBool(u"N", u"c", true);
    file.writeBool(u"N", u"d", false);
    file.writeColour(u"N", u"e", -16777201);
    file.writeColour(u"N", u"f", 14738665);
    QVERIFY(file.save());
    QCOMPARE(contentsOf(settingsPath()),
             QByteArray("[N]\r\na=-12\r\nb=-2147483648\r\nc=1\r\nd=0\r\ne=-16777201\r\nf=14738665\r\n"));

    const ProfileFile reread(settingsPath());
    QCOMPARE(reread.readInteger(u"N", u"b", 0), int(-2147483647 - 1));
    QCOMPARE(reread.readBool(u"N", u"d", true), false);
    QCOMPARE(reread.readColour(u"N", u"e", 0), qint32(-16777201));
}

void TestProfileFile::writing_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<Writes>("writes");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("changed key keeps its spacing and line end; other lines untouched")
        << QByteArray("; ayarlar\n[Pen Ayar]\n  Konum = 185\n\n[Ayar]\nOnIzle=1\n")
        << Writes{{"Pen Ayar", "Konum", "256"}}
        << QByteArray("; ayarlar\n[Pen Ayar]\n  Konum = 256\n\n[Ayar]\nOnIzle=1\n");
    QTest::newRow("CR line ends kept")
        << QByteArray("[Ayar]\rOnIzle=1\rTarih=1\r") << Writes{{"Ayar", "Tarih", "0"}}
        << QByteArray("[Ayar]\rOnIzle=1\rTarih=0\r");
    QTest::newRow("new key after the last line that is not blank")
        << QByteArray("[Ayar]\r\nOnIzle=1\r\n; not\r\n\r\n \r\n[Extra]\r\n") << Writes{{"Ayar", "DM", "8,25"}}
        << QByteArray("[Ayar]\r\nOnIzle=1\r\n; not\r\nDM=8,25\r\n\r\n \r\n[Extra]\r\n");
    QTest::newRow("new keys in the order written")
        << QByteArray("[Ayar]\r\n\r\n[Extra]\r\n")
        << Writes{{"Ayar", "OnIzle", "1"}, {"Ayar", "Tarih", "1"}, {"Ayar", "DM", "8,25"}}
        << QByteArray("[Ayar]\r\nOnIzle=1\r\nTarih=1\r\nDM=8,25\r\n\r\n[Extra]\r\n");
    QTest::newRow("new key in a last section without line end")
        << QByteArray("[Ayar]\r\nOnIzle=1") << Writes{{"Ayar", "DM", "8,25"}}
        << QByteArray("[Ayar]\r\nOnIzle=1\r\nDM=8,25\r\n");
    QTest::newRow("new section at the end of the file")
        << QByteArray("[Ayar]\r\nOnIzle=1\r\n\r\n") << Writes{{"Colors", "Edits", "16777215"}}
        << QByteArray("[Ayar]\r\nOnIzle=1\r\n\r\n[Colors]\r\nEdits=16777215\r\n");
    QTest::newRow("new section after a last line without line end")
        << QByteArray("[Ayar]\nOnIzle=1") << Writes{{"Colors", "Edits", "0"}}
        << QByteArray("[Ayar]\nOnIzle=1\r\n[Colors]\r\nEdits=0\r\n");
    QTest::newRow("duplicate key: the first is written")
        << QByteArray("[Ayar]\r\nDM=1\r\nDM=2\r\n") << Writes{{"Ayar", "DM", "3"}}
        << QByteArray("[Ayar]\r\nDM=3\r\nDM=2\r\n");
    QTest::newRow("duplicate section: new keys go to the first")
        << QByteArray("[Ayar]\r\nDM=1\r\n[Ayar]\r\nPara=0\r\n") << Writes{{"Ayar", "Para", "1"}}
        << QByteArray("[Ayar]\r\nDM=1\r\nPara=1\r\n[Ayar]\r\nPara=0\r\n");
    QTest::newRow("names found without regard to case keep the file's spelling")
        << QByteArray("[AYAR]\r\nonizle=1\r\n[KURUM \xDDMZA]\r\n01=x\r\n")
        << Writes{{"Ayar", "OnIzle", "0"}, {"Kurum Imza", "01", "y"}}
        << QByteArray("[AYAR]\r\nonizle=0\r\n[KURUM \xDDMZA]\r\n01=y\r\n");
    QTest::newRow("key before the first section is not the section's")
        << QByteArray("Konum=1\r\n[Pen Ayar]\r\n") << Writes{{"Pen Ayar", "Konum", "2"}}
        << QByteArray("Konum=1\r\n[Pen Ayar]\r\nKonum=2\r\n");
    QTest::newRow("bytes before the first section and lines not understood kept")
        << QByteArray("\x01\xFF\xFE garbage\r\nno equals sign\r\n[Extra]\r\nbroken]\r\n  just text\r\n"
                      ";Baslik2=old\r\nBaslik2=a\r\n")
        << Writes{{"Extra", "Baslik2", "b"}, {"Extra", "Yeni", "c"}}
        << QByteArray("\x01\xFF\xFE garbage\r\nno equals sign\r\n[Extra]\r\nbroken]\r\n  just text\r\n"
                      ";Baslik2=old\r\nBaslik2=b\r\nYeni=c\r\n");
    QTest::newRow("a header without its close bracket is a section of its own")
        << QByteArray("[Extra]\r\n[broken\r\nBaslik2=a\r\n") << Writes{{"Extra", "Baslik2", "b"}}
        << QByteArray("[Extra]\r\nBaslik2=b\r\n[broken\r\nBaslik2=a\r\n");
    QTest::newRow("value that reads back the same leaves the line alone")
        << QByteArray("[Pen Ayar]\n Konum = \"185\"  \n") << Writes{{"Pen Ayar", "Konum", "185"}}
        << QByteArray("[Pen Ayar]\n Konum = \"185\"  \n");
    QTest::newRow("quotes only where reading would change the value")
        << QByteArray("[Extra]\r\n")
        << Writes{{"Extra", "a", "a b"}, {"Extra", "b", " x"}, {"Extra", "c", "\"abc\""}, {"Extra", "d", "a\"b\""},
                  {"Extra", "e", "'"}, {"Extra", "f", ""}}
        << QByteArray("[Extra]\r\na=a b\r\nb=\" x\"\r\nc=\"\"abc\"\"\r\nd=a\"b\"\r\ne='\r\nf=\r\n");
}

void TestProfileFile::writing()
{
    QFETCH(QByteArray, before);
    QFETCH(Writes, writes);
    QFETCH(QByteArray, after);
    putFile(settingsPath(), before);

    ProfileFile file(settingsPath());
    for (const QStringList &write : writes)
        file.writeString(write[0], write[1], write[2]);
    for (const QStringList &write : writes)
        QCOMPARE(file.readString(write[0], write[1], QStringLiteral("<absent>")), write[2]);
    {
        const Result<> saved = file.save();
        QVERIFY2(saved.succeeded(), qPrintable(saved.message()));
    }
    QCOMPARE(contentsOf(settingsPath()), after);
}

void TestProfileFile::valuesRoundTrip_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("leading blank") << " x";
    QTest::newRow("trailing blank") << "x ";
    QTest::newRow("trailing tab") << "x\t";
    QTest::newRow("only blanks") << "   ";
    QTest::newRow("trailing no-break space") << "x\u00A0";
    QTest::newRow("in double quotes") << "\"abc\"";
    QTest::newRow("in single quotes") << "'abc'";
    QTest::newRow("in quotes with blanks outside") << " 'a' ";
    QTest::newRow("lone single quote") << "'";
    QTest::newRow("lone double quote") << "\"";
    QTest::newRow("pair of quotes") << "\"\"";
    QTest::newRow("quote at one end") << "\"abc";
    QTest::newRow("empty") << "";
    QTest::newRow("equals sign and semicolon") << "= a;b";
    QTest::newRow("section-like") << "[Ayar]";
    QTest::newRow("Turkish text") << "Sağlık Müdürlüğü – “Şişli” İlçe";
}

void TestProfileFile::valuesRoundTrip()
{
    QFETCH(QString, value);
    putFile(settingsPath(), "[Extra]\r\nBaslik2=old\r\n");
    {
        ProfileFile file(settingsPath());
        file.writeString(u"Extra", u"Baslik2", value);
        file.writeString(u"Extra", u"New", value);
        QVERIFY(file.save());
    }
    const ProfileFile reread(settingsPath());
    QCOMPARE(reread.readString(u"Extra", u"Baslik2", QStringLiteral("<absent>")), value);
    QCOMPARE(reread.readString(u"Extra", u"New", QStringLiteral("<absent>")), value);
}

void TestProfileFile::turkishLettersOnDisk()
{
    const QString letters = QStringLiteral("ÇĞİÖŞÜçğıöşü€");
    ProfileFile file(settingsPath());
    file.writeString(u"Kurum Imza", u"01", letters);
    QVERIFY(file.save());
    QCOMPARE(contentsOf(settingsPath()),
             QByteArray("[Kurum Imza]\r\n01=\xC7\xD0\xDD\xD6\xDE\xDC\xE7\xF0\xFD\xF6\xFE\xFC\x80\r\n"));
    QCOMPARE(ProfileFile(settingsPath()).readString(u"Kurum Imza", u"01", QString()), letters);
}

void TestProfileFile::utf8FileStaysUtf8()
{
    // Notepad may save a hand-edited file as UTF-8 with a byte order mark.
    putFile(settingsPath(), "\xEF\xBB\xBF[Kurum Imza]\r\n01=\xC5\x9E\xC4\xB0\xC5\x9EL\xC4\xB0\r\n");
    ProfileFile file(settingsPath());
    QCOMPARE(file.readString(u"Kurum Imza", u"01", QString()), QStringLiteral("ŞİŞLİ"));
    file.writeString(u"Kurum Imza", u"02", u"Ğā");
    QVERIFY(file.save());
    QCOMPARE(contentsOf(settingsPath()),
             QByteArray("\xEF\xBB\xBF[Kurum Imza]\r\n01=\xC5\x9E\xC4\xB0\xC5\x9EL\xC4\xB0\r\n02=\xC4\x9E\xC4\x81\r\n"));
}

void TestProfileFile::windowsWrittenFile()
{
    putFile(settingsPath(), kWindowsFile);
    ProfileFile file(settingsPath());

    const QString baslik = file.readString(u"Extra", u"Baslik2", QStringLiteral("Kamu Personeli .......... Giderleri"));
    QCOMPARE(baslik, QStringLiteral("Kamu Personeli Tedavi Giderleri"));
    QCOMPARE(file.readInteger(u"Pen Ayar", u"Konum", 185), 210);
    QCOMPARE(file.readString(u"Ek Dokumanlar", u"Yazi3", QString()), QStringLiteral("Adet Reçete"));
    QCOMPARE(file.readString(u"Ek Dokumanlar", u"Yazi2", QStringLiteral("Adet Sevk")), QStringLiteral("Adet Sevk"));
    QCOMPARE(file.readInteger(u"Ek Dokumanlar", u"Rakam1", 0), 2);
    QCOMPARE(file.readColour(u"Colors", u"GridAlternatif", 0), qint32(14738665));
    QCOMPARE(file.readColour(u"Colors", u"GridSelectTxt", 0), qint32(65280));
    QCOMPARE(file.readColour(u"Colors", u"Edits", 0), qint32(16777215));
    QCOMPARE(file.readBool(u"Ayar", u"OnIzle", false), true);
    QCOMPARE(file.readBool(u"Ayar", u"Tarih", true), false);
    QCOMPARE(file.readString(u"Ayar", u"DM", QString()), QStringLiteral("8,25"));
    QCOMPARE(file.readInteger(u"Ayar", u"Para", 0), 1);
    QCOMPARE(file.readString(u"Kurum Imza", u"01", QString()), QStringLiteral("ŞİŞLİ"));
    QCOMPARE(file.readString(u"Kurum Imza", u"07", QString()), QStringLiteral("Sağlık Müdürlüğü"));

    // The close sequence writes every value back; only a changed one shows.
    file.writeString(u"Extra", u"Baslik2", baslik);
    file.writeInteger(u"Pen Ayar", u"Konum", 185);
    file.writeString(u"Ek Dokumanlar", u"Yazi1", u"Adet Fatura");
    file.writeString(u"Ek Dokumanlar", u"Yazi3", u"Adet Reçete");
    file.writeColour(u"Colors", u"GridAlternatif", 14738665);
    file.writeBool(u"Ayar", u"OnIzle", true);
    file.writeString(u"Kurum Imza", u"07", u"Sağlık Müdürlüğü");
    QVERIFY(file.save());
    QByteArray expected = kWindowsFile;
    expected.replace("Konum=210", "Konum=185");
    QCOMPARE(contentsOf(settingsPath()), expected);
}

void TestProfileFile::saveKeepsOtherWindowsSections()
{
    putFile(settingsPath(), "[Ayar]\r\nDM=8,25\r\n");
    ProfileFile mainWindowLoad(settingsPath());
    {
        ProfileFile codesWindowSave(settingsPath());
        codesWindowSave.writeString(u"Eczane Kod", u"01", u"800");
        QVERIFY(codesWindowSave.save());
    }
    QCOMPARE(mainWindowLoad.readString(u"Eczane Kod", u"01", QStringLiteral("<absent>")), QStringLiteral("<absent>"));

    ProfileFile mainWindowSave(settingsPath());
    mainWindowSave.writeInteger(u"Pen Ayar", u"Konum", 185);
    QVERIFY(mainWindowSave.save());
    QCOMPARE(contentsOf(settingsPath()),
             QByteArray("[Ayar]\r\nDM=8,25\r\n[Eczane Kod]\r\n01=800\r\n[Pen Ayar]\r\nKonum=185\r\n"));
}

void TestProfileFile::codesWindowSaveSequence()
{
    const QList<std::pair<QString, QStringList>> sheets = {
        {QStringLiteral("Eczane Kod"), cellKeys(105)},
        {QStringLiteral("Hastane Kod"), cellKeys(105)},
        {QStringLiteral("Nakit Kod"), cellKeys(135)},
        {QStringLiteral("Hesap Ayrinti"), {"1 :", "3 :", "4 :", "5 :", "6 :"}},
        {QStringLiteral("Ozel Kod"), cellKeys(98)},
    };
    const auto valueOf = [](const QString &section, const QString &key) {
        return key.endsWith(u'5') ? QString() : section.left(2) + key;
    };

    putFile(settingsPath(), kWindowsFile);
    for (int round = 0; round < 2; ++round) {
        ProfileFile file(settingsPath());
        int written = 0;
        for (const auto &[section, keys] : sheets) {
            for (const QString &key : keys) {
                file.writeString(section, key, valueOf(section, key) + QString::number(round));
                ++written;
            }
        }
        QCOMPARE(written, 448);
        QVERIFY(file.save());
    }

    const QByteArray contents = contentsOf(settingsPath());
    QVERIFY(contents.startsWith(kWindowsFile));
    qsizetype previous = -1;
    for (const auto &[section, keys] : sheets) {
        const qsizetype at = contents.indexOf("\r\n[" + section.toLatin1() + "]\r\n");
        QVERIFY2(at > previous, qPrintable(section));
        previous = at;
    }
    const ProfileFile reread(settingsPath());
    for (const auto &[section, keys] : sheets) {
        for (const QString &key : keys)
            QCOMPARE(reread.readString(section, key, QStringLiteral("<absent>")), valueOf(section, key) + u'1');
    }
}

void TestProfileFile::refusedWrite_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("reason");
    const QString value01 = QStringLiteral(": \"Kurum Imza\" bölümündeki \"01\" değeri");
    QTest::newRow("line feed") << "Kurum Imza" << "01" << "a\nb" << value01 + " satır sonu içeriyor";
    QTest::newRow("carriage return") << "Kurum Imza" << "01" << "a\r\nb" << value01 + " satır sonu içeriyor";
    QTest::newRow("NUL") << "Kurum Imza" << "01" << QStringLiteral("a") + QChar(0) + QStringLiteral("b")
                         << value01 + " NUL karakteri içeriyor";
    QTest::newRow("letter outside the code page")
        << "Kurum Imza" << "01" << "Ahmet Ā"
        << value01 + " Windows Türkçe kod sayfasında bulunmayan \"Ā\" (U+0100) karakterini içeriyor";
    QTest::newRow("Latin-1 letter whose byte is Turkish")
        << "Kurum Imza" << "01" << "Þ"
        << value01 + " Windows Türkçe kod sayfasında bulunmayan \"Þ\" (U+00DE) karakterini içeriyor";
    QTest::newRow("key with an equals sign") << "Ayar" << "a=b" << "1" << ": \"a=b\" anahtar adı olamaz";
    QTest::newRow("key like a comment") << "Ayar" << ";a" << "1" << ": \";a\" anahtar adı olamaz";
    QTest::newRow("key with a blank at its end") << "Ayar" << "a " << "1" << ": \"a \" anahtar adı olamaz";
    QTest::newRow("empty key") << "Ayar" << "" << "1" << ": \"\" anahtar adı olamaz";
    QTest::newRow("section with a closing bracket") << "a]b" << "k" << "1" << ": \"a]b\" bölüm adı olamaz";
}

void TestProfileFile::refusedWrite()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QString, reason);
    const QByteArray before("[Ayar]\r\nDM=8,25\r\n");
    putFile(settingsPath(), before);

    ProfileFile file(settingsPath());
    file.writeString(u"Ayar", u"DM", u"9");
    QVERIFY(file.status().succeeded());
    file.writeString(section, key, value);
    QVERIFY(file.status().failed());
    QCOMPARE(file.status().message(), nativeWriteError(settingsPath()) + reason);
    // The rest of the sequence is not written, and nothing of it lands.
    file.writeString(u"Ayar", u"Para", u"1");
    QCOMPARE(file.status().message(), nativeWriteError(settingsPath()) + reason);
    const Result<> saved = file.save();
    QVERIFY(saved.failed());
    QCOMPARE(saved.message(), nativeWriteError(settingsPath()) + reason);
    QCOMPARE(contentsOf(settingsPath()), before);
}

void TestProfileFile::unwritable_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("read-only file") << "read-only file";
    QTest::newRow("read-only folder") << "read-only folder";
    QTest::newRow("file that cannot be read") << "unreadable file";
    QTest::newRow("path is a folder") << "path is a folder";
    QTest::newRow("folder missing") << "folder missing";
    QTest::newRow("no room for the temporary file's name") << "long name";
}

void TestProfileFile::unwritable()
{
    QFETCH(QString, fault);
    const QByteArray before("[Ayar]\r\nDM=8,25\r\n");
    QString path = settingsPath();
    bool hasOldFile = true;
    if (fault == "read-only file") {
        putFile(path, before);
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    } else if (fault == "read-only folder") {
        putFile(path, before);
        QVERIFY(QFile::setPermissions(m_folder->path(), QFile::ReadOwner | QFile::ExeOwner));
        QFile probe(m_folder->filePath(QStringLiteral("probe")));
        QVERIFY2(!probe.open(QIODevice::WriteOnly),
                 "this user writes into read-only folders (root?); scripts/test runs the tests as an unprivileged user");
    } else if (fault == "unreadable file") {
        // Saving what we could read, nothing, would wipe the other sections.
        putFile(path, before);
        QVERIFY(QFile::setPermissions(path, QFile::WriteOwner));
        QFile probe(path);
        QVERIFY2(!probe.open(QIODevice::ReadOnly),
                 "this user reads unreadable files (root?); scripts/test runs the tests as an unprivileged user");
    } else if (fault == "path is a folder") {
        QVERIFY(QDir().mkpath(path));
        hasOldFile = false;
    } else if (fault == "folder missing") {
        path = m_folder->filePath(QStringLiteral("gone/Zenparol.ini"));
        hasOldFile = false;
    } else {
        // The file's name fits but its temporary sibling's does not.
        path = m_folder->filePath(QString(250, u'z') + QStringLiteral(".ini"));
        putFile(path, before);
    }

    ProfileFile file(path);
    file.writeString(u"Ayar", u"DM", u"9");
    const Result<> saved = file.save();
    QVERIFY(saved.failed());
    QCOMPARE(saved.message(), nativeWriteError(path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    if (hasOldFile)
        QCOMPARE(contentsOf(path), before);
    else
        QVERIFY(!QFileInfo(path).isFile());
    QCOMPARE(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files | QDir::Hidden).size(), hasOldFile ? 1 : 0);
}

void TestProfileFile::unchangedSessionLeavesFileAlone()
{
    const QByteArray before("[Ayar]\nOnIzle= 1 \nDM='8,25'\n");
    putFile(settingsPath(), before);
    // Read-only: any attempt to replace the file would fail the save.
    QVERIFY(QFile::setPermissions(settingsPath(), QFile::ReadOwner));

    ProfileFile file(settingsPath());
    file.writeBool(u"Ayar", u"OnIzle", file.readBool(u"Ayar", u"OnIzle", false));
    file.writeString(u"Ayar", u"DM", file.readString(u"Ayar", u"DM", QString()));
    {
        const Result<> saved = file.save();
        QVERIFY2(saved.succeeded(), qPrintable(saved.message()));
    }
    QCOMPARE(contentsOf(settingsPath()), before);
}

QTEST_GUILESS_MAIN(TestProfileFile)
#include "tst_ProfileFile.moc"
