#include "base/ProfileFile.h"
#include "referencedata/CodeSheet.h"
#include "referencedata/CodeSheetSettings.h"
#include "support/SettingsFileKeys.h"

#include <QDir>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

using CodeSheetSettings::SettingsKey;

class TestCodeSheets : public QObject
{
    Q_OBJECT

private slots:
    void keyRule_data();
    void keyRule();
    void storedCellsAreTheEditableOnes();
    void sheetDimensions();
    void defaultTexts_data();
    void defaultTexts();
    void fixedCellsRefuseText();
    void loadKeepsMissingTakesEmpty();
    void saveOrderIntoFileWithoutTheSections();
    void saveRefusedLeavesFileAsItWas();
};

void TestCodeSheets::keyRule_data()
{
    QTest::addColumn<PaymentCategory>("category");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("section"); // empty: no key
    QTest::addColumn<QString>("key");

    const auto pharmacy = PaymentCategory::Pharmacy;
    const auto hospital = PaymentCategory::Hospital;
    const auto treatment = PaymentCategory::Treatment;
    const auto own = PaymentCategory::Private;
    QTest::newRow("first cell, two digits") << pharmacy << 1 << 1 << "Eczane Kod" << "01";
    QTest::newRow("ninth, still padded") << pharmacy << 1 << 9 << "Eczane Kod" << "09";
    QTest::newRow("financing") << pharmacy << 1 << 10 << "Eczane Kod" << "10";
    QTest::newRow("row 2 account number") << pharmacy << 2 << 1 << "Eczane Kod" << "15";
    QTest::newRow("last code cell") << pharmacy << 7 << 14 << "Eczane Kod" << "98";
    QTest::newRow("first name after the codes") << pharmacy << 1 << 15 << "Eczane Kod" << "99";
    QTest::newRow("three-digit name") << pharmacy << 7 << 15 << "Eczane Kod" << "105";
    QTest::newRow("hospital section") << hospital << 3 << 4 << "Hastane Kod" << "32";
    QTest::newRow("treatment's last code") << treatment << 9 << 14 << "Nakit Kod" << "126";
    QTest::newRow("treatment names after nine rows") << treatment << 1 << 15 << "Nakit Kod" << "127";
    QTest::newRow("treatment's last name") << treatment << 9 << 15 << "Nakit Kod" << "135";
    QTest::newRow("private code") << own << 7 << 14 << "Ozel Kod" << "98";
    QTest::newRow("private name row 1") << own << 1 << 15 << "Hesap Ayrinti" << "1 :";
    QTest::newRow("private name row 6") << own << 6 << 15 << "Hesap Ayrinti" << "6 :";
    QTest::newRow("private row 2 name is fixed") << own << 2 << 15 << "" << "";
    QTest::newRow("private row 7 name is fixed") << own << 7 << 15 << "" << "";
    QTest::newRow("private row 2 codes are stored") << own << 2 << 14 << "Ozel Kod" << "28";
    QTest::newRow("row past the sheet") << pharmacy << 8 << 1 << "" << "";
    QTest::newRow("row 0") << treatment << 0 << 1 << "" << "";
    QTest::newRow("column 16") << hospital << 1 << 16 << "" << "";
}

void TestCodeSheets::keyRule()
{
    QFETCH(PaymentCategory, category);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, section);
    QFETCH(QString, key);

    const std::optional<SettingsKey> found = CodeSheetSettings::keyOf(category, row, column);
    if (section.isEmpty()) {
        QVERIFY(!found);
        return;
    }
    QVERIFY(found);
    QCOMPARE(found->section, section);
    QCOMPARE(found->key, key);
}

void TestCodeSheets::storedCellsAreTheEditableOnes()
{
    const QList<CodeSheetSettings::StoredCell> &cells = CodeSheetSettings::storedCells();
    QCOMPARE(cells.size(), CodeSheetSettings::kStoredCellCount);

    QSet<QString> keys;
    QSet<QString> places;
    for (const CodeSheetSettings::StoredCell &cell : cells) {
        QVERIFY(!CodeSheet::isFixed(cell.category, cell.row, cell.column));
        QCOMPARE(CodeSheetSettings::keyOf(cell.category, cell.row, cell.column), std::optional(cell.key));
        keys.insert(cell.key.section + u'/' + cell.key.key);
        places.insert(QStringLiteral("%1/%2/%3").arg(categoryIndex(cell.category)).arg(cell.row).arg(cell.column));
    }
    QCOMPARE(keys.size(), cells.size());
    QCOMPARE(places.size(), cells.size());

    // Every cell of every sheet is stored but the two fixed ones.
    int cellCount = 0;
    for (PaymentCategory category : kAllCategories)
        cellCount += CodeSheet::rowCount(category) * AccountCodeLine::kColumnCount;
    QCOMPARE(cellCount - 2, cells.size());
}

void TestCodeSheets::sheetDimensions()
{
    const CodeSheets sheets = defaultCodeSheets();
    const int rows[] = {7, 7, 9, 7};
    for (PaymentCategory category : kAllCategories) {
        const CodeSheet &sheet = sheets[std::size_t(categoryIndex(category))];
        QCOMPARE(sheet.category(), category);
        QCOMPARE(sheet.rowCount(), rows[categoryIndex(category)]);
        QCOMPARE(CodeSheet::rowCount(category), sheet.rowCount());
        // Every line has an account number and a name; outside reads empty.
        for (int row = 1; row <= sheet.rowCount(); ++row) {
            QVERIFY(!sheet.text(row, AccountCodeLine::kAccountNumber).isEmpty());
            QVERIFY(!sheet.name(row).isEmpty());
        }
        QCOMPARE(sheet.text(sheet.rowCount() + 1, 1), QString());
        QCOMPARE(sheet.text(1, 0), QString());
        QCOMPARE(sheet.text(1, 16), QString());
    }
}

void TestCodeSheets::defaultTexts_data()
{
    QTest::addColumn<PaymentCategory>("category");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");

    const auto pharmacy = PaymentCategory::Pharmacy;
    const auto hospital = PaymentCategory::Hospital;
    const auto treatment = PaymentCategory::Treatment;
    const auto own = PaymentCategory::Private;
    QTest::newRow("pharmacy expense line") << pharmacy << 1 << 1 << "830";
    QTest::newRow("leading zero kept") << pharmacy << 1 << 3 << "01";
    QTest::newRow("one-digit functional level") << pharmacy << 1 << 7 << "1";
    QTest::newRow("functional level 4") << pharmacy << 1 << 9 << "00";
    QTest::newRow("financing on row 1") << pharmacy << 1 << 10 << "1";
    QTest::newRow("no financing on row 4") << pharmacy << 4 << 10 << "";
    QTest::newRow("pharmacy drugs economic 3") << pharmacy << 1 << 13 << "02";
    QTest::newRow("hospital economic 3") << hospital << 1 << 13 << "01";
    QTest::newRow("empty institutional on stamp duty") << pharmacy << 2 << 2 << "";
    QTest::newRow("pharmacy row 5 name") << pharmacy << 5 << 15 << "Gider Yansıtma Hesabı";
    QTest::newRow("hospital's odd capital A") << hospital << 5 << 15 << "Gider YAnsıtma Hesabı";
    QTest::newRow("payment order account") << hospital << 3 << 15 << "Verilen Gönderme Emirleri Hesabı";
    QTest::newRow("treatment row 1 830") << treatment << 1 << 1 << "830";
    QTest::newRow("treatment row 2 800") << treatment << 2 << 1 << "800";
    QTest::newRow("treatment row 2 financing") << treatment << 2 << 10 << "1";
    QTest::newRow("treatment name") << treatment << 1 << 15 << "Kamu Personeli Ted.ve Sağlık Mal.Gid.";
    QTest::newRow("treatment row 9 economic 4") << treatment << 9 << 14 << "01";
    QTest::newRow("private 805 on row 5") << own << 5 << 1 << "805";
    QTest::newRow("private 835 on row 6") << own << 6 << 1 << "835";
    QTest::newRow("private placeholder row 1") << own << 1 << 15 << "Kamu Personeli .......... Giderleri";
    QTest::newRow("private placeholder row 3") << own << 3 << 15 << "Xx";
    QTest::newRow("private placeholder row 4") << own << 4 << 15 << "Kamu Personeli ............ Gid.";
    QTest::newRow("private placeholder row 5") << own << 5 << 15 << "Xxxx";
    QTest::newRow("private placeholder row 6") << own << 6 << 15 << "Xxxxx";
    QTest::newRow("private fixed row 2") << own << 2 << 15 << "Damga Vergisi";
    QTest::newRow("private fixed row 7") << own << 7 << 15 << "Damga Vergisi";
    QTest::newRow("private row 4 no financing") << own << 4 << 10 << "";
}

void TestCodeSheets::defaultTexts()
{
    QFETCH(PaymentCategory, category);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, text);
    const CodeSheet sheet(category);
    QCOMPARE(sheet.text(row, column), text);
    QCOMPARE(sheet.line(row).text(column), text);
}

void TestCodeSheets::fixedCellsRefuseText()
{
    CodeSheet sheet(PaymentCategory::Private);
    QVERIFY(!sheet.setText(2, AccountCodeLine::kName, QStringLiteral("Başka")));
    QVERIFY(!sheet.setText(7, AccountCodeLine::kName, QString()));
    QCOMPARE(sheet.name(2), QStringLiteral("Damga Vergisi"));
    QCOMPARE(sheet.name(7), QStringLiteral("Damga Vergisi"));
    QVERIFY(!sheet.setText(8, 1, QStringLiteral("1")));
    QCOMPARE(sheet, CodeSheet(PaymentCategory::Private));

    // The same place on the other sheets is an ordinary cell.
    CodeSheet pharmacy(PaymentCategory::Pharmacy);
    QVERIFY(pharmacy.setText(2, AccountCodeLine::kName, QStringLiteral("Başka")));
    QCOMPARE(pharmacy.name(2), QStringLiteral("Başka"));
}

void TestCodeSheets::loadKeepsMissingTakesEmpty()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Zenparol.ini"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[eczane kod]\r\n01=831\r\n02=\r\n105=Sa\xF0l\xFDk\r\n"
               "[Hesap Ayrinti]\r\n1 :=\xDD" "la\xE7\r\n2 :=Yazilmamali\r\n"
               "[Ozel Kod]\r\n98=77\r\n");
    file.close();

    CodeSheets sheets = defaultCodeSheets();
    CodeSheetSettings::load(ProfileFile(path), sheets);
    const CodeSheet &pharmacy = sheets[0];
    QCOMPARE(pharmacy.text(1, 1), QStringLiteral("831"));
    QCOMPARE(pharmacy.text(1, 2), QString()); // present but empty
    QCOMPARE(pharmacy.text(1, 3), QStringLiteral("01")); // missing: default
    QCOMPARE(pharmacy.name(7), QStringLiteral("Sağlık"));
    QCOMPARE(sheets[3].name(1), QStringLiteral("İlaç"));
    QCOMPARE(sheets[3].name(2), QStringLiteral("Damga Vergisi"));
    QCOMPARE(sheets[3].text(7, 14), QStringLiteral("77"));
    QCOMPARE(sheets[1], CodeSheet(PaymentCategory::Hospital));
}

void TestCodeSheets::saveOrderIntoFileWithoutTheSections()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Zenparol.ini"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[Ayar]\r\nOnIzle=1\r\n");
    file.close();

    CodeSheets sheets = defaultCodeSheets();
    sheets[2].setText(9, 15, QString());
    {
        ProfileFile profile(path);
        const Result<> saved = CodeSheetSettings::save(profile, sheets);
        QVERIFY2(saved.succeeded(), qPrintable(saved.message()));
    }

    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();
    QCOMPARE(settingsFileSections(bytes),
             QStringList({"Ayar", "Eczane Kod", "Hastane Kod", "Nakit Kod", "Hesap Ayrinti", "Ozel Kod"}));

    const QList<SettingsFileKey> keys = settingsFileKeys(bytes).mid(1);
    const QList<CodeSheetSettings::StoredCell> &cells = CodeSheetSettings::storedCells();
    QCOMPARE(keys.size(), cells.size());
    for (qsizetype i = 0; i < keys.size(); ++i) {
        const CodeSheetSettings::StoredCell &cell = cells.at(i);
        QCOMPARE(keys.at(i).section, cell.key.section);
        QCOMPARE(keys.at(i).key, cell.key.key);
        QCOMPARE(keys.at(i).value, sheets[std::size_t(categoryIndex(cell.category))].text(cell.row, cell.column));
    }
    // The order is the one the windows have always used.
    QCOMPARE(keys.first().key, QStringLiteral("01"));
    QCOMPARE(keys.at(104).key, QStringLiteral("105"));
    QCOMPARE(keys.at(210).section, QStringLiteral("Nakit Kod"));
    QCOMPARE(keys.at(344).key, QStringLiteral("135"));
    QCOMPARE(keys.at(344).value, QString());
    QCOMPARE(keys.at(345).key, QStringLiteral("1 :"));
    QCOMPARE(keys.at(349).key, QStringLiteral("6 :"));
    QCOMPARE(keys.at(350).section, QStringLiteral("Ozel Kod"));
    for (const SettingsFileKey &key : keys)
        QVERIFY2(key.key != u"2 :" && key.key != u"7 :", qPrintable(key.key));
}

void TestCodeSheets::saveRefusedLeavesFileAsItWas()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Zenparol.ini"));
    const QByteArray before("[Eczane Kod]\r\n01=830\r\n");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(before);
    file.close();

    // A character the file's code page cannot hold refuses the whole sequence.
    CodeSheets sheets = defaultCodeSheets();
    sheets[0].setText(1, 1, QStringLiteral("831"));
    sheets[1].setText(1, 15, QStringLiteral("İlaç \u20AC\u4E2D"));
    ProfileFile profile(path);
    const Result<> saved = CodeSheetSettings::save(profile, sheets);
    QVERIFY(saved.failed());
    QVERIFY(saved.message().startsWith(
        QStringLiteral("Unable to write to ") + QDir::toNativeSeparators(path)));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
}

QTEST_GUILESS_MAIN(TestCodeSheets)
#include "tst_CodeSheets.moc"
