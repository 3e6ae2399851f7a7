// Payees brought into the register: the skip of records equal in all five
// fields, absent values kept apart from empty ones, the counts of each
// kind, all or nothing, a new register made with them, the register of
// issued orders left alone.

#include "registry/OrderRegister.h"
#include "registry/PayeeImport.h"
#include "support/TemporaryPayeeDatabase.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kEmpty = QString(QLatin1String(""));

PayeeFields payee(const QString &name)
{
    return {name, QStringLiteral("12345678901"), QStringLiteral("ZİRAAT ŞİŞLİ"), QStringLiteral("TR12 0001"),
            QStringLiteral("ŞİŞLİ")};
}

// Compares texts and their absence: QString's == takes NULL for "".
bool same(const QList<PayeeFields> &a, const QList<PayeeFields> &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype row = 0; row < a.size(); ++row) {
        for (int column = 0; column < kPayeeColumnCount; ++column) {
            const QString &x = a[row][std::size_t(column)];
            const QString &y = b[row][std::size_t(column)];
            if (x != y || x.isNull() != y.isNull())
                return false;
        }
    }
    return true;
}

QString shown(const QList<PayeeFields> &rows)
{
    QStringList lines;
    for (const PayeeFields &fields : rows) {
        QStringList values;
        for (const QString &field : fields)
            values.append(field.isNull() ? QStringLiteral("NULL") : u'"' + field + u'"');
        lines.append(values.join(u','));
    }
    return lines.join(u'\n');
}

// What the register of issued orders holds, as text.
QString ordersOf(SqlCipherConnection &connection)
{
    QString text;
    SqlCipherConnection::Statement rows = connection.prepare(QStringLiteral("SELECT No, Zaman, Adi FROM Belge"));
    while (rows.next())
        text += rows.text(0) + u'|' + rows.text(1) + u'|' + rows.text(2) + u'\n';
    SqlCipherConnection::Statement pages = connection.prepare(QStringLiteral("SELECT count(*) FROM BelgeSayfa"));
    if (pages.next())
        text += pages.text(0);
    return text;
}

} // namespace

Q_DECLARE_METATYPE(PayeeFields)

class TestPayeeImport : public QObject
{
    Q_OBJECT

private slots:
    void skipsOnlyRecordsEqualInAllFive_data();
    void skipsOnlyRecordsEqualInAllFive();
    void keepsValuesExactlyAndCountsEachKind();
    void nothingIsAddedWhenOneRecordIsRefused();
    void makesAMissingRegisterWithThePayees();
    void aRegisterThatCannotBeMadeLeavesNoFile();
    void reportsCountsWithThousandsPoints();
};

void TestPayeeImport::skipsOnlyRecordsEqualInAllFive_data()
{
    QTest::addColumn<PayeeFields>("there");
    QTest::addColumn<PayeeFields>("brought");
    QTest::addColumn<bool>("skipped");
    const PayeeFields base = payee(QStringLiteral("ŞİFA ECZANESİ"));
    QTest::newRow("equal in all five") << base << base << true;
    PayeeFields otherAccount = base;
    otherAccount[3] = QStringLiteral("TR12 0002");
    QTest::newRow("another account") << base << otherAccount << false;
    PayeeFields nullName = base;
    nullName[0] = QString();
    PayeeFields emptyName = base;
    emptyName[0] = kEmpty;
    QTest::newRow("no name beside an empty name") << nullName << emptyName << false;
    QTest::newRow("an empty name beside no name") << emptyName << nullName << false;
    QTest::newRow("no name beside no name") << nullName << nullName << true;
    PayeeFields nullOffice = base;
    nullOffice[4] = QString();
    PayeeFields emptyOffice = base;
    emptyOffice[4] = kEmpty;
    QTest::newRow("no tax office beside an empty one") << nullOffice << emptyOffice << false;
    PayeeFields small = base;
    small[0] = QStringLiteral("şifa eczanesi");
    QTest::newRow("other letter case") << base << small << false;
    PayeeFields blank = base;
    blank[0] += u' ';
    QTest::newRow("a trailing blank") << base << blank << false;
}

void TestPayeeImport::skipsOnlyRecordsEqualInAllFive()
{
    QFETCH(PayeeFields, there);
    QFETCH(PayeeFields, brought);
    QFETCH(bool, skipped);
    TemporaryPayeeDatabase database;
    QVERIFY2(database.error().isEmpty(), qPrintable(database.error()));
    database.addPayee(PaymentCategory::Hospital, there);
    PayeeRecords records;
    records[1] = {brought};
    const Result<PayeeImport::Counts> counts = PayeeImport::add(database.database(), records);
    QVERIFY2(counts.succeeded(), qPrintable(counts.message()));
    QCOMPARE(counts->skipped[1], skipped ? 1 : 0);
    QCOMPARE(counts->added[1], skipped ? 0 : 1);
    const QList<PayeeFields> expected = skipped ? QList<PayeeFields>{there} : QList<PayeeFields>{there, brought};
    const QList<PayeeFields> contents = database.tableContents(PaymentCategory::Hospital);
    QVERIFY2(same(contents, expected), qPrintable(shown(contents)));
}

void TestPayeeImport::keepsValuesExactlyAndCountsEachKind()
{
    TemporaryPayeeDatabase database;
    QVERIFY2(database.error().isEmpty(), qPrintable(database.error()));
    const PayeeFields there = payee(QStringLiteral("ÖZEL BAŞLIK"));
    database.addPayee(PaymentCategory::Private, there);

    PayeeRecords records;
    records[0] = {payee(QStringLiteral("ÇĞİÖŞÜ çğıöşü \"tırnak\" 'tek' %_")), payee(QStringLiteral("AYNI")),
                  payee(QStringLiteral("AYNI"))};
    records[1] = {{QString(), QString(), kEmpty, QString(), kEmpty}};
    records[2] = {payee(QStringLiteral("UZUN ").repeated(51))};
    records[3] = {there, payee(QStringLiteral("=1+2"))};
    const Result<PayeeImport::Counts> counts = PayeeImport::add(database.database(), records);
    QVERIFY2(counts.succeeded(), qPrintable(counts.message()));
    // Two equal records of the import both come, as the source has them.
    QCOMPARE(counts->added, (std::array<qsizetype, kCategoryCount>{3, 1, 1, 1}));
    QCOMPARE(counts->skipped, (std::array<qsizetype, kCategoryCount>{0, 0, 0, 1}));
    QCOMPARE(counts->totalAdded(), 6);
    QCOMPARE(counts->totalSkipped(), 1);
    for (PaymentCategory category : {PaymentCategory::Pharmacy, PaymentCategory::Hospital, PaymentCategory::Treatment}) {
        const QList<PayeeFields> contents = database.tableContents(category);
        QVERIFY2(same(contents, records[std::size_t(categoryIndex(category))]), qPrintable(shown(contents)));
    }
    const QList<PayeeFields> privates = database.tableContents(PaymentCategory::Private);
    QVERIFY2(same(privates, {there, records[3][1]}), qPrintable(shown(privates)));
}

void TestPayeeImport::nothingIsAddedWhenOneRecordIsRefused()
{
    TemporaryPayeeDatabase database;
    QVERIFY2(database.error().isEmpty(), qPrintable(database.error()));
    database.addPayee(PaymentCategory::Pharmacy, payee(QStringLiteral("ÖNCEDEN")));
    {
        OrderRegister orders(database.database());
        IssuedOrder order;
        order.issuedAt = QDateTime(QDate(2026, 12, 10), QTime(14, 30));
        order.ways = int(OrderWay::Printer);
        order.category = PaymentCategory::Pharmacy;
        order.payee = payee(QStringLiteral("ÖNCEDEN"));
        order.gross = 100000;
        order.stamp = 825;
        order.net = order.gross - order.stamp;
        QVERIFY(orders.record(order, QByteArrayLiteral("sayfa")).succeeded());
    }
    const QString ordersBefore = ordersOf(database.connection());
    QVERIFY(ordersBefore.contains(QStringLiteral("ÖNCEDEN")));
    // The pharmacies go in first; a treatment payee is refused after them.
    database.refuseName(PaymentCategory::Treatment, QStringLiteral("REDDEDİLEN"));
    PayeeRecords records = {};
    records[0] = {payee(QStringLiteral("YENİ ECZANE"))};
    records[2] = {payee(QStringLiteral("KABUL")), payee(QStringLiteral("REDDEDİLEN"))};
    const Result<PayeeImport::Counts> counts = PayeeImport::add(database.database(), records);
    QVERIFY(counts.failed());
    QVERIFY2(counts.message().contains(QStringLiteral("ad reddedildi")), qPrintable(counts.message()));
    database.stopRefusing();
    QCOMPARE(database.tableNames(PaymentCategory::Pharmacy), QStringList{QStringLiteral("ÖNCEDEN")});
    QCOMPARE(database.tableNames(PaymentCategory::Treatment), QStringList());
    QCOMPARE(ordersOf(database.connection()), ordersBefore);

    // And the same records go in once nothing refuses them.
    const Result<PayeeImport::Counts> again = PayeeImport::add(database.database(), records);
    QVERIFY2(again.succeeded(), qPrintable(again.message()));
    QCOMPARE(again->totalAdded(), 3);
    QCOMPARE(ordersOf(database.connection()), ordersBefore);
}

void TestPayeeImport::makesAMissingRegisterWithThePayees()
{
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("Data.dat"));
    PayeeRecords records;
    records[0] = {payee(QStringLiteral("A")), payee(QStringLiteral("A"))};
    records[2] = {{QString(), kEmpty, QString(), kEmpty, QString()}};
    const Result<PayeeImport::Counts> counts = PayeeImport::addToFile(file, records);
    QVERIFY2(counts.succeeded(), qPrintable(counts.message()));
    QCOMPARE(counts->added, (std::array<qsizetype, kCategoryCount>{2, 0, 1, 0}));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("Data.dat")});

    // Once more into the register that is there now: all skipped.
    const Result<PayeeImport::Counts> second = PayeeImport::addToFile(file, records);
    QVERIFY2(second.succeeded(), qPrintable(second.message()));
    QCOMPARE(second->totalAdded(), 0);
    QCOMPARE(second->skipped, (std::array<qsizetype, kCategoryCount>{2, 0, 1, 0}));

    PayeeDatabase database;
    QVERIFY(database.open(file).isOpened());
    SqlCipherConnection::Statement rows = database.connection().prepare(
        QStringLiteral("SELECT Adi, Vergi, BankaSube, BankaHesap, VergiDaire FROM Tedavi"));
    QVERIFY(rows.next());
    for (int column = 0; column < kPayeeColumnCount; ++column)
        QCOMPARE(rows.isNull(column), records[2][0][std::size_t(column)].isNull());
    QVERIFY(!rows.next());
    QCOMPARE(ordersOf(database.connection()), QStringLiteral("0"));
}

void TestPayeeImport::aRegisterThatCannotBeMadeLeavesNoFile()
{
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("yok/Data.dat"));
    PayeeRecords records;
    records[0] = {payee(QStringLiteral("A"))};
    const Result<PayeeImport::Counts> counts = PayeeImport::addToFile(file, records);
    QVERIFY(counts.failed());
    QVERIFY2(counts.message().contains(QDir::toNativeSeparators(file)) || counts.message().contains(file),
             qPrintable(counts.message()));
    QVERIFY(!QFileInfo::exists(file));
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

void TestPayeeImport::reportsCountsWithThousandsPoints()
{
    PayeeImport::Counts counts;
    counts.added = {312, 48, 1204, 17};
    counts.skipped = {0, 2, 1000000, 0};
    QCOMPARE(PayeeImport::transferredSentence(counts),
             QStringLiteral("Eczane: 312, Hastane: 48, Tedavi: 1.204, Özel: 17 kayıt aktarıldı."));
    QCOMPARE(PayeeImport::reportLines(counts),
             (QStringList{QStringLiteral("Eczane: 312 kayıt eklendi."),
                          QStringLiteral("Hastane: 48 kayıt eklendi, 2 kayıt zaten vardı (atlandı)."),
                          QStringLiteral("Tedavi: 1.204 kayıt eklendi, 1.000.000 kayıt zaten vardı (atlandı)."),
                          QStringLiteral("Özel: 17 kayıt eklendi.")}));
}

QTEST_GUILESS_MAIN(TestPayeeImport)

#include "tst_PayeeImport.moc"
