#include "app/PayeeListSentences.h"
#include "registry/PayeeList.h"
#include "support/TemporaryPayeeDatabase.h"

#include <QtTest>

class TestPayeeListSentences : public QObject
{
    Q_OBJECT

private slots:
    void recordStatus_data();
    void recordStatus();
    void recordStatusCountsTheNewRecordWhileInserting();
    void deleteQuestion_data();
    void deleteQuestion();
};

void TestPayeeListSentences::recordStatus_data()
{
    QTest::addColumn<PaymentCategory>("category");
    QTest::addColumn<QString>("status");
    QTest::newRow("pharmacy") << PaymentCategory::Pharmacy << "  Toplam 12 eczane - Gösterilen:  3";
    QTest::newRow("hospital") << PaymentCategory::Hospital << "  Toplam 12 hastane - Gösterilen:  3";
    QTest::newRow("treatment") << PaymentCategory::Treatment << "  Toplam 12 kayıt - Gösterilen:  3";
    QTest::newRow("private") << PaymentCategory::Private << "  Toplam 12 kayıt - Gösterilen:  3";
}

void TestPayeeListSentences::recordStatus()
{
    QFETCH(PaymentCategory, category);
    QFETCH(QString, status);
    TemporaryPayeeDatabase fixture;
    QVERIFY2(fixture.error().isEmpty(), qPrintable(fixture.error()));
    QStringList names;
    for (int i = 1; i <= 12; ++i)
        names.append(QStringLiteral("AD %1").arg(i, 2, 10, QLatin1Char('0')));
    fixture.addNames(category, names);
    PayeeList list(fixture.database(), category);
    QVERIFY(list.openSorted().succeeded());
    QVERIFY(list.moveTo(2).succeeded());
    QCOMPARE(PayeeListSentences::recordStatus(list), status);
}

void TestPayeeListSentences::recordStatusCountsTheNewRecordWhileInserting()
{
    TemporaryPayeeDatabase fixture;
    QVERIFY2(fixture.error().isEmpty(), qPrintable(fixture.error()));
    PayeeList list(fixture.database(), PaymentCategory::Pharmacy);
    QVERIFY(list.openSorted().succeeded());
    QCOMPARE(PayeeListSentences::recordStatus(list), QStringLiteral("  Toplam 0 eczane - Gösterilen:  0"));
    QVERIFY(list.setField(PayeeColumn::Name, QStringLiteral("İLK ECZANE")).succeeded());
    QCOMPARE(PayeeListSentences::recordStatus(list), QStringLiteral("  Toplam 1 eczane - Gösterilen:  1"));
    QVERIFY(list.post().succeeded());
    QCOMPARE(PayeeListSentences::recordStatus(list), QStringLiteral("  Toplam 1 eczane - Gösterilen:  1"));
}

void TestPayeeListSentences::deleteQuestion_data()
{
    QTest::addColumn<PaymentCategory>("category");
    QTest::addColumn<QString>("question");
    QTest::newRow("pharmacy") << PaymentCategory::Pharmacy << "'AHMET''İN ECZANESİ' ne ait kayıtlar silinsin mi?";
    QTest::newRow("hospital") << PaymentCategory::Hospital << "'AHMET''İN ECZANESİ' ne ait kayıtlar silinsin mi?";
    QTest::newRow("treatment") << PaymentCategory::Treatment
                               << "'AHMET''İN ECZANESİ' adına kayıtlı bilgiler silinsin mi?";
    QTest::newRow("private") << PaymentCategory::Private << "'AHMET''İN ECZANESİ' ilgili kayıtlar silinsin mi?";
}

void TestPayeeListSentences::deleteQuestion()
{
    QFETCH(PaymentCategory, category);
    QFETCH(QString, question);
    TemporaryPayeeDatabase fixture;
    QVERIFY2(fixture.error().isEmpty(), qPrintable(fixture.error()));
    fixture.addNames(category, {QStringLiteral("AHMET'İN ECZANESİ")});
    PayeeList list(fixture.database(), category);
    QVERIFY(list.openSorted().succeeded());
    QCOMPARE(PayeeListSentences::deleteQuestion(list), question);

    // While inserting: the name typed so far, none before anything is typed.
    QVERIFY(list.insert().succeeded());
    QCOMPARE(PayeeListSentences::deleteQuestion(list), question.replace(QStringLiteral("'AHMET''İN ECZANESİ'"),
                                                                         QStringLiteral("''")));
}

QTEST_GUILESS_MAIN(TestPayeeListSentences)
#include "tst_PayeeListSentences.moc"
