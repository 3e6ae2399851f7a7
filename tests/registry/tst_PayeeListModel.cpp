#include "registry/PayeeList.h"
#include "registry/PayeeListModel.h"
#include "support/DatabaseFiles.h"
#include "support/TemporaryPayeeDatabase.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTableView>
#include <QtTest>

namespace {

QStringList modelNames(const PayeeListModel &model)
{
    QStringList names;
    for (int row = 0; row < model.rowCount(); ++row)
        names.append(model.index(row, 0).data().toString());
    return names;
}

QStringList listNames(const PayeeList &list)
{
    QStringList names;
    for (int row = 0; row < list.rowCount(); ++row)
        names.append(list.nameAt(row));
    return names;
}

} // namespace

class TestPayeeListModel : public QObject
{
    Q_OBJECT

private slots:
    void followsEveryChangeOfTheList();
    void headerAndRecordNumbers_data();
    void headerAndRecordNumbers();
    void readsOnlyTheRowsAViewShows();
    void damagedRowIsMarkedFromItsFirstPaint();
};

void TestPayeeListModel::followsEveryChangeOfTheList()
{
    TemporaryPayeeDatabase fixture;
    QVERIFY2(fixture.error().isEmpty(), qPrintable(fixture.error()));
    fixture.addNames(PaymentCategory::Hospital, {"ANKARA", "BURSA", "ÇORUM", "DÜZCE"});
    PayeeList list(fixture.database(), PaymentCategory::Hospital);
    PayeeListModel model(&list);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

    const auto step = [&](const Result<> &result) {
        QCOMPARE(result.message(), QString());
        QCOMPARE(modelNames(model), listNames(list));
    };
    step(list.openSorted());
    QCOMPARE(model.rowCount(), 4);
    step(list.moveTo(2));
    step(list.insert());
    QCOMPARE(model.rowCount(), 5);
    step(list.setField(PayeeColumn::Name, QStringLiteral("YENİ")));
    // The grid shows the name as it is typed.
    QCOMPARE(model.index(2, 0).data().toString(), QStringLiteral("YENİ"));
    QVERIFY(changed.count() >= 1);
    step(list.post());
    step(list.insert());
    list.cancel();
    step(Result<>::success());
    step(list.next());
    step(list.setField(PayeeColumn::Name, QStringLiteral("ÇORUM 2")));
    list.cancel();
    QCOMPARE(model.index(3, 0).data().toString(), QStringLiteral("ÇORUM"));
    step(list.deleteCurrent());
    step(list.insert());
    step(list.deleteCurrent());
    step(list.search(QStringLiteral("B")));
    QCOMPARE(modelNames(model), QStringList{"BURSA"});
    step(list.search(QStringLiteral("X")));
    QCOMPARE(model.rowCount(), 0);
    step(list.openSorted());
    QCOMPARE(modelNames(model), (QStringList{"ANKARA", "BURSA", "DÜZCE", "YENİ"}));
    step(list.close());
    QCOMPARE(model.rowCount(), 0);
}

void TestPayeeListModel::headerAndRecordNumbers_data()
{
    QTest::addColumn<PaymentCategory>("category");
    QTest::addColumn<QString>("title");
    QTest::newRow("pharmacy") << PaymentCategory::Pharmacy << " Eczane Adı";
    QTest::newRow("hospital") << PaymentCategory::Hospital << " Hastane Adı";
    QTest::newRow("treatment") << PaymentCategory::Treatment << " Adı Soyadı";
    QTest::newRow("private") << PaymentCategory::Private << " Başlıklar";
}

void TestPayeeListModel::headerAndRecordNumbers()
{
    QFETCH(PaymentCategory, category);
    QFETCH(QString, title);
    TemporaryPayeeDatabase fixture;
    QVERIFY2(fixture.error().isEmpty(), qPrintable(fixture.error()));
    fixture.addNames(category, {"A", "B"});
    PayeeList list(fixture.database(), category);
    PayeeListModel model(&list);
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), title);
    QCOMPARE(model.columnCount(), 1);
    QVERIFY(!(model.flags(model.index(0, 0)) & Qt::ItemIsEditable));

    QVERIFY(list.openSorted().succeeded());
    QVERIFY(list.next().succeeded());
    QVERIFY(list.insert().succeeded());
    QCOMPARE(model.index(0, 0).data(PayeeListModel::RecordNumberRole).toInt(), 1);
    QCOMPARE(model.index(1, 0).data(PayeeListModel::RecordNumberRole).toInt(), 0);
    QCOMPARE(model.index(2, 0).data(PayeeListModel::RecordNumberRole).toInt(), 2);
}

void TestPayeeListModel::readsOnlyTheRowsAViewShows()
{
    TemporaryPayeeDatabase fixture;
    QVERIFY2(fixture.error().isEmpty(), qPrintable(fixture.error()));
    QStringList names;
    for (int i = 0; i < 5000; ++i)
        names.append(QStringLiteral("ECZANE %1").arg(i, 5, 10, QLatin1Char('0')));
    fixture.addNames(PaymentCategory::Pharmacy, names);
    PayeeList list(fixture.database(), PaymentCategory::Pharmacy);
    PayeeListModel model(&list);
    QVERIFY(list.openSorted().succeeded());
    QCOMPARE(list.cachedRecordCount(), 0);

    QTableView view;
    view.setModel(&model);
    view.resize(240, 400);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QCOMPARE(model.rowCount(), 5000);
    QVERIFY(list.cachedRecordCount() > 0);
    QVERIFY2(list.cachedRecordCount() < 100, qPrintable(QString::number(list.cachedRecordCount())));
    QCOMPARE(model.index(4999, 0).data().toString(), QStringLiteral("ECZANE 04999"));
}

void TestPayeeListModel::damagedRowIsMarkedFromItsFirstPaint()
{
    TemporaryPayeeDatabase fixture;
    QVERIFY2(fixture.error().isEmpty(), qPrintable(fixture.error()));
    DatabaseFiles::addPayees(fixture, PaymentCategory::Pharmacy, 400, 120);
    fixture.database().close();
    // A page of records lost, the name index whole: the list opens with
    // every row, and some rows cannot be read.
    const int page = DatabaseFiles::pageToDamage(fixture.filePath(), QStringLiteral("Eczane"),
                                                 QStringLiteral("Eczane_EczaneAdi"), true);
    QVERIFY(page > 0);
    DatabaseFiles::damagePage(fixture.filePath(), page);
    QVERIFY(fixture.database().open().isOpened());

    PayeeList list(fixture.database(), PaymentCategory::Pharmacy);
    PayeeListModel model(&list);
    QVERIFY(list.openSorted().succeeded());
    QCOMPARE(model.rowCount(), 400);
    // What the grid paints the first time it asks for a row is what it
    // paints ever after: never an empty name for a record that was lost.
    int marked = 0;
    for (int row = 0; row < model.rowCount(); ++row) {
        const QString first = model.index(row, 0).data().toString();
        QVERIFY2(!first.isEmpty(), qPrintable(QStringLiteral("row %1 painted empty").arg(row)));
        QCOMPARE(model.index(row, 0).data().toString(), first);
        if (first == PayeeListModel::unreadableText()) {
            ++marked;
            QVERIFY(!list.isReadable(row));
        }
    }
    QVERIFY(marked > 0);
    QVERIFY(marked < 400);
}

QTEST_MAIN(TestPayeeListModel)
#include "tst_PayeeListModel.moc"
