#include "base/PaymentCategory.h"
#include "base/SettingsTextValidator.h"
#include "computation/AttachmentLines.h"
#include "reference/TForm4.h"
#include "reference/TForm5.h"
#include "support/ProgramFolderFixture.h"
#include "support/TypeText.h"
#include "worksheets/WorksheetPanel.h"
#include "worksheets/WorksheetSet.h"

#include <QLineEdit>
#include <QtTest>

class TestSettingsTextValidator : public QObject
{
    Q_OBJECT

private slots:
    void storableTexts_data();
    void storableTexts();
    void fieldsKeptInTheSettingsFileRefuseWhatItCannotHold();
};

void TestSettingsTextValidator::storableTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("storable");
    QTest::newRow("empty") << "" << true;
    QTest::newRow("Turkish letters") << "Şişli Müdürlüğü İĞÜŞÖÇ ığüşöç" << true;
    QTest::newRow("the code page's extras") << "€ 5 – “Fatura” …" << true;
    QTest::newRow("Turkish lira sign") << "100 ₺" << false;
    QTest::newRow("Cyrillic") << "Жанна" << false;
    QTest::newRow("outside 16 bits") << QString::fromUcs4(U"A\U0001F600", 2) << false;
    QTest::newRow("line feed") << "Adet\nFatura" << false;
    QTest::newRow("carriage return") << "Adet\rFatura" << false;
}

void TestSettingsTextValidator::storableTexts()
{
    QFETCH(QString, text);
    QFETCH(bool, storable);
    QCOMPARE(SettingsTextValidator::isStorable(text), storable);
}

// Typing or pasting a character the file cannot hold leaves the field as it
// was; everything else goes in.
void TestSettingsTextValidator::fieldsKeptInTheSettingsFileRefuseWhatItCannotHold()
{
    ProgramFolderFixture folder;
    TForm4 institution;
    TForm5 codes;
    WorksheetSet worksheets;
    institution.ensureBuilt();
    codes.ensureBuilt();
    const QList<QLineEdit *> fields = {
        institution.findChild<QLineEdit *>(QStringLiteral("Edit16")),
        codes.findChild<QLineEdit *>(QStringLiteral("EditH5")),
        worksheets.panel(PaymentCategory::Pharmacy)
            ->findChild<QLineEdit *>(AttachmentLines::of(PaymentCategory::Pharmacy, 1).descriptionField),
    };
    for (QLineEdit *field : fields) {
        QVERIFY(field);
        field->setText(QStringLiteral("Adet"));
        field->setCursorPosition(4);
        typeText(field, QStringLiteral(" Reçete"));
        QCOMPARE(field->text(), QStringLiteral("Adet Reçete"));
        typeText(field, QStringLiteral("₺"));
        field->insert(QStringLiteral(" (Жанна)"));
        field->insert(QStringLiteral("\nikinci satır"));
        QCOMPARE(field->text(), QStringLiteral("Adet Reçete"));
        field->insert(QStringLiteral(" €"));
        QCOMPARE(field->text(), QStringLiteral("Adet Reçete €"));
    }
}

QTEST_MAIN(TestSettingsTextValidator)
#include "tst_SettingsTextValidator.moc"
