// The register of issued payment orders in a clerk's own file: its stored
// moments, the file refusing to lose or change a record, an older file's
// upgrade, damaged records and the CSV file. What every register must do
// alike is in tst_OrderStores.
#include "registry/OrderCsv.h"
#include "registry/OrderList.h"
#include "registry/OrderListModel.h"
#include "registry/OrderIssue.h"
#include "registry/OrderRegister.h"
#include "registry/PayeeListModel.h"
#include "support/DatabaseFiles.h"
#include "support/TemporaryPayeeDatabase.h"
#include "support/TestOrders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest>

#include <memory>

using namespace TestOrders;


class TestOrderRegister : public QObject
{
    Q_OBJECT

private slots:
    void storedMomentsReadAsTheirFormatReadsThem_data();
    void storedMomentsReadAsTheirFormatReadsThem();
    void theFileKeepsEveryRecordWhole();
    void fileOfVersionFourGetsTheNameIndexWithTheAmounts_data();
    void fileOfVersionFourGetsTheNameIndexWithTheAmounts();
    void csvFile();
    void csvFileKeepsTextsAsTexts();
    void csvFileThatCannotBeWrittenIsNotWritten();
    void recordDamagedUnderAnOpenListIsMarkedAndNeverExportedEmpty();
};

void TestOrderRegister::storedMomentsReadAsTheirFormatReadsThem_data()
{
    QTest::addColumn<QString>("stored");
    QTest::newRow("a moment") << "2024-03-05T14:30:07";
    QTest::newRow("midnight") << "2024-12-31T00:00:00";
    QTest::newRow("leap day") << "2024-02-29T23:59:59";
    QTest::newRow("no such day") << "2023-02-29T10:00:00";
    QTest::newRow("no such month") << "2024-13-01T10:00:00";
    QTest::newRow("no such hour") << "2024-03-05T24:00:00";
    QTest::newRow("a letter") << "2024-03-O5T14:30:07";
    QTest::newRow("a sign") << "2024-+3-05T14:30:07";
    QTest::newRow("a blank") << "2024-03-05 14:30:07";
    QTest::newRow("without seconds") << "2024-03-05T14:30";
    QTest::newRow("Arabic digits") << QStringLiteral("٢٠٢٤-03-05T14:30:07");
    QTest::newRow("empty") << "";
}

// The records are read back by hand, as the format would read them.
void TestOrderRegister::storedMomentsReadAsTheirFormatReadsThem()
{
    QFETCH(QString, stored);
    const QDateTime expected = QDateTime::fromString(stored, QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    const QDateTime read = OrderRegister::momentFromStore(stored);
    QCOMPARE(read.isValid(), expected.isValid());
    QCOMPARE(read, expected);
    if (read.isValid())
        QCOMPARE(OrderRegister::storedMoment(read), stored);
}

// No record is deleted or changed, by the program or by anything else that
// opens the file with its password; only a way out is added.
void TestOrderRegister::theFileKeepsEveryRecordWhole()
{
    TemporaryPayeeDatabase fixture;
    QVERIFY2(fixture.error().isEmpty(), qPrintable(fixture.error()));
    OrderRegister orders(fixture.database());
    const qint64 number = add(orders, order(PaymentCategory::Pharmacy, QStringLiteral("ŞİFA ECZANESİ"), 100000, daysAgo(1)));
    QVERIFY(number > 0);

    SqlCipherConnection &connection = fixture.connection();
    for (const char *sql : {"DELETE FROM Belge", "DELETE FROM BelgeSayfa", "UPDATE Belge SET Brut = 1",
                            "UPDATE Belge SET Adi = 'BAŞKA'", "UPDATE BelgeSayfa SET Sayfa = x'00'",
                            "UPDATE Belge SET Cikis = 2"}) {
        const SqlCipherConnection::Error error = connection.execute(QString::fromUtf8(sql));
        QVERIFY2(error.failure == SqlCipherConnection::Failure::Constraint, sql);
    }
    QVERIFY(orders.addWay(number, OrderWay::Pdf).succeeded());
    const Result<IssuedOrder> read = orders.read(number);
    QVERIFY(read.succeeded());
    QVERIFY(read->leftBy(OrderWay::Printer) && read->leftBy(OrderWay::Pdf));
    QCOMPARE(read->gross, qint64(100000));
    QCOMPARE(connection.queryInt64(QStringLiteral("SELECT count(*) FROM BelgeSayfa")), qint64(1));
}

void TestOrderRegister::fileOfVersionFourGetsTheNameIndexWithTheAmounts_data()
{
    QTest::addColumn<bool>("writable");
    QTest::newRow("brought up to date") << true;
    QTest::newRow("cannot be written") << false;
}

// Version 4 indexed the register's names alone. A file that can be written
// gets today's index when opened; one that cannot opens without a notice,
// since it loses nothing, and searches by its old index.
void TestOrderRegister::fileOfVersionFourGetsTheNameIndexWithTheAmounts()
{
    QFETCH(bool, writable);
    TemporaryPayeeDatabase fixture;
    QVERIFY2(fixture.error().isEmpty(), qPrintable(fixture.error()));
    const QString path = fixture.filePath();
    {
        OrderRegister orders(fixture.database());
        add(orders, order(PaymentCategory::Pharmacy, QStringLiteral("ŞİFA ECZANESİ"), 100000, daysAgo(3)));
        add(orders, order(PaymentCategory::Hospital, QStringLiteral("ANKARA ŞEHİR HASTANESİ"), 5000, daysAgo(2)));
        add(orders, order(PaymentCategory::Pharmacy, QStringLiteral("şifa eczanesi"), 2000, daysAgo(1)));
        QVERIFY(!fixture.connection()
                     .execute(QStringLiteral("DROP INDEX Belge_AdiTutar; CREATE INDEX Belge_Adi ON Belge (Adi); "
                                             "PRAGMA user_version = 4;"))
                     .isError());
        fixture.database().close();
    }
    // The engine cannot make the journal a write needs.
    if (!writable)
        QVERIFY(QFile::link(QStringLiteral("/nonexistent/folder/journal"), path + QStringLiteral("-journal")));

    const PayeeDatabase::OpenResult opened = fixture.database().open(path);
    QVERIFY(opened.isOpened());
    QCOMPARE(opened.notice, QString());
    QVERIFY(fixture.database().hasOrderRegister());
    SqlCipherConnection &connection = fixture.connection();
    QCOMPARE(connection.queryInt64(QStringLiteral("PRAGMA user_version")), qint64(writable ? 5 : 4));
    const auto indexed = [&](const QString &name) {
        return connection.queryInt64(
                   QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'index' AND name = '%1'").arg(name))
            == 1;
    };
    QCOMPARE(indexed(QStringLiteral("Belge_AdiTutar")), writable);
    QCOMPARE(indexed(QStringLiteral("Belge_Adi")), !writable);

    OrderRegister listRegister(fixture.database());

    OrderList list(listRegister);
    QVERIFY(list.open({QStringLiteral("şi")}).succeeded());
    QCOMPARE(names(list), QStringList({QStringLiteral("şifa eczanesi"), QStringLiteral("ŞİFA ECZANESİ")}));
    QCOMPARE(list.totals(), (OrderList::Totals{2, 0, 102000, 102000 - (825 + 16)}));
}

void TestOrderRegister::csvFile()
{
    TemporaryPayeeDatabase fixture;
    QVERIFY2(fixture.error().isEmpty(), qPrintable(fixture.error()));
    OrderRegister orders(fixture.database());
    IssuedOrder awkward = order(PaymentCategory::Private, QStringLiteral("\"YILDIZ\"; TEMİZLİK"),
                                123456789, QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)));
    awkward.payee[2] = QStringLiteral("HALKBANK\nÇANKAYA ŞUBESİ");
    awkward.stamp = 1018519;
    awkward.net = 123456789 - 1018519;
    awkward.ways = int(OrderWay::Printer) | int(OrderWay::Pdf);
    add(orders, awkward);
    add(orders, order(PaymentCategory::Private, awkward.name(), 5, QDateTime(QDate(2024, 3, 6), QTime(8, 0)), 1));

    OrderRegister listRegister(fixture.database());

    OrderList list(listRegister);
    QVERIFY(list.open({}).succeeded());
    const QString path = fixture.folder() + QStringLiteral("/Belgeler.csv");
    QVERIFY(OrderCsv::write(list, path).succeeded());
    const QByteArray bytes = TemporaryPayeeDatabase::fileContents(path);
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    const QString text = QString::fromUtf8(bytes.mid(3));
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 4); // header, two records, and the empty text after the last line end
    QCOMPARE(lines[0], QStringLiteral("Belge No;Tarih;Saat;Tür;Adı Soyadı;T.C. Kimlik No;Banka Şube Adı;"
                                      "Banka Hesap Numarası;Bağlı Olduğu Vergi Dairesi;Brüt Tutar;Damga Vergisi;"
                                      "Net Tutar;Çıkış;Yeniden Basılan Belge No"));
    QCOMPARE(lines[1], QStringLiteral("2;06.03.2024;08:00:00;Özel;\"\"\"YILDIZ\"\"; TEMİZLİK\";12345678901;"
                                      "ZİRAAT ÇANKAYA;TR12 0001 0002;KAVAKLIDERE;0,05;0,00;0,05;Yazıcı;1"));
    QCOMPARE(lines[2], QStringLiteral("1;05.03.2024;14:07:09;Özel;\"\"\"YILDIZ\"\"; TEMİZLİK\";12345678901;"
                                      "\"HALKBANK\nÇANKAYA ŞUBESİ\";TR12 0001 0002;KAVAKLIDERE;1234567,89;"
                                      "10185,19;1224382,70;Yazıcı, PDF;"));
    QCOMPARE(lines[3], QString());
}

// The fields of a CSV line as a spreadsheet splits it: quotes taken away.
QStringList splitCsvLine(const QString &line)
{
    QStringList fields;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == u'"' && i + 1 < line.size() && line[i + 1] == u'"') {
                field += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u';') {
            fields.append(field);
            field.clear();
        } else {
            field += c;
        }
    }
    fields.append(field);
    return fields;
}

void TestOrderRegister::csvFileKeepsTextsAsTexts()
{
    TemporaryPayeeDatabase fixture;
    QVERIFY2(fixture.error().isEmpty(), qPrintable(fixture.error()));
    OrderRegister orders(fixture.database());
    IssuedOrder formula = order(PaymentCategory::Private, QStringLiteral("=1+2"), 123450, daysAgo(2));
    formula.payee[1] = QStringLiteral("+905321234567");
    formula.payee[2] = QStringLiteral("@ŞUBE");
    add(orders, formula);
    add(orders, order(PaymentCategory::Treatment, QStringLiteral("-ABC"), 100, daysAgo(1)));

    OrderRegister listRegister(fixture.database());

    OrderList list(listRegister);
    QVERIFY(list.open({}).succeeded());
    const QString path = fixture.folder() + QStringLiteral("/Belgeler.csv");
    QVERIFY(OrderCsv::write(list, path).succeeded());
    const QStringList lines = QString::fromUtf8(TemporaryPayeeDatabase::fileContents(path).mid(3))
                                  .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[1], QStringLiteral("2;19.05.2024;10:30:00;Tedavi;\"'-ABC\";12345678901;ZİRAAT ÇANKAYA;"
                                      "TR12 0001 0002;KAVAKLIDERE;1,00;0,00;1,00;Yazıcı;"));
    const QStringList newest = splitCsvLine(lines[1]);
    const QStringList oldest = splitCsvLine(lines[2]);
    QCOMPARE(newest.value(4), QStringLiteral("'-ABC"));
    QCOMPARE(oldest.value(4), QStringLiteral("'=1+2"));
    QCOMPARE(oldest.value(5), QStringLiteral("'+905321234567"));
    QCOMPARE(oldest.value(6), QStringLiteral("'@ŞUBE"));
    // The figures stay numbers.
    QCOMPARE(oldest.value(0), QStringLiteral("1"));
    QCOMPARE(oldest.mid(9, 3), (QStringList{QStringLiteral("1234,50"), QStringLiteral("10,18"),
                                            QStringLiteral("1224,32")}));
    QVERIFY(!lines[2].contains(QStringLiteral("'1234")));
}

void TestOrderRegister::csvFileThatCannotBeWrittenIsNotWritten()
{
    TemporaryPayeeDatabase fixture;
    QVERIFY2(fixture.error().isEmpty(), qPrintable(fixture.error()));
    OrderRegister listRegister(fixture.database());
    OrderList list(listRegister);
    QVERIFY(list.open({}).succeeded());
    const QString missingFolder = fixture.folder() + QStringLiteral("/yok/Belgeler.csv");
    const Result<> refused = OrderCsv::write(list, missingFolder);
    QVERIFY(refused.failed());
    QVERIFY2(refused.message().contains(QStringLiteral("klasör bulunamadı")), qPrintable(refused.message()));

    // A folder where the file should be: nothing is written, the folder stays.
    const QString folderInTheWay = fixture.folder() + QStringLiteral("/Belgeler.csv");
    QVERIFY(QDir().mkdir(folderInTheWay));
    const Result<> inTheWay = OrderCsv::write(list, folderInTheWay);
    QVERIFY(inTheWay.failed());
    QVERIFY2(inTheWay.message().contains(QStringLiteral("aynı adda bir klasör var")), qPrintable(inTheWay.message()));
    QVERIFY(QFileInfo(folderInTheWay).isDir());
    QCOMPARE(fixture.folderEntries().size(), 2); // Data.dat and the folder, no temporary file
}

void TestOrderRegister::recordDamagedUnderAnOpenListIsMarkedAndNeverExportedEmpty()
{
    TemporaryPayeeDatabase fixture;
    QVERIFY2(fixture.error().isEmpty(), qPrintable(fixture.error()));
    OrderRegister orders(fixture.database());
    for (int i = 1; i <= 300; ++i)
        add(orders, order(PaymentCategory::Pharmacy, QStringLiteral("ECZANE %1").arg(i, 3, 10, QLatin1Char('0')),
                          100000 + i, daysAgo(i % 30)));
    const int page = DatabaseFiles::pageToDamage(fixture.filePath(), QStringLiteral("Belge"),
                                                 QStringLiteral("Belge_AdiTutar"), true);
    QVERIFY(page > 0);

    // The lists hold their numbers; then a sector of the file goes bad. A
    // write of another connection makes this one read the file anew. (A
    // list opened now would not open at all: its count reads every row.)
    OrderRegister shownRegister(fixture.database());
    OrderList shown(shownRegister);
    QVERIFY(shown.open({}).succeeded());
    QCOMPARE(shown.rowCount(), 300);
    OrderRegister exportedRegister(fixture.database());
    OrderList exported(exportedRegister);
    QVERIFY(exported.open({}).succeeded());
    {
        const std::unique_ptr<PayeeDatabase> other = fixture.openSecondConnection();
        QVERIFY(!other->connection()
                     .execute(QStringLiteral("PRAGMA user_version = %1").arg(PayeeDatabase::kSchemaVersion))
                     .isError());
    }
    DatabaseFiles::damagePage(fixture.filePath(), page);

    OrderListModel model(&shown);
    int marked = 0;
    for (int row = 0; row < model.rowCount(); ++row) {
        const QString first = model.index(row, OrderListModel::Payee).data().toString();
        QVERIFY2(!first.isEmpty(), qPrintable(QStringLiteral("row %1 painted empty").arg(row)));
        if (first == PayeeListModel::unreadableText())
            ++marked;
    }
    QVERIFY(marked > 0);
    QVERIFY(marked < 300);

    // An export never writes a lost record as an empty row.
    const QString path = fixture.folder() + QStringLiteral("/Belgeler.csv");
    bool unreadable = false;
    const Result<> written = OrderCsv::write(exported, path, &unreadable);
    QVERIFY(written.failed());
    QVERIFY(unreadable);
    QVERIFY2(written.message().startsWith(QStringLiteral("Belgeler aktarılmadı: ")), qPrintable(written.message()));
    QVERIFY(!QFileInfo::exists(path));
}

QTEST_GUILESS_MAIN(TestOrderRegister)
#include "tst_OrderRegister.moc"
