// Several "Zenparol --pdf" started at the same moment in a program folder
// without a database: every one prints and records its order, in the one
// database that one of them created.
#include "registry/OrderList.h"
#include "registry/OrderRegister.h"
#include "registry/PayeeDatabase.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <vector>

class TestPdfCommandsTogether : public QObject
{
    Q_OBJECT

private slots:
    void everyCopyRecordsItsOrder();
};

void TestPdfCommandsTogether::everyCopyRecordsItsOrder()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString program = folder.filePath(QStringLiteral("Zenparol"));
    QVERIFY(QFile::copy(QStringLiteral(MIRVASEL_PROGRAM), program));
    constexpr int kCopies = 6;
    QStringList payees;
    for (int copy = 1; copy <= kCopies; ++copy) {
        payees.append(QStringLiteral("ECZANE %1").arg(copy));
        QFile payment(folder.filePath(QStringLiteral("payment%1.json").arg(copy)));
        QVERIFY(payment.open(QIODevice::WriteOnly));
        payment.write(QStringLiteral(R"({"kind": "Eczane", "payee": ["%1", "12345678901", "ZİRAAT", "TR12", "ÇANKAYA"],
                                        "amounts": ["%2,00"], "stamp": true})")
                          .arg(payees.last())
                          .arg(1000 + copy)
                          .toUtf8());
    }

    std::vector<std::unique_ptr<QProcess>> copies;
    for (int copy = 1; copy <= kCopies; ++copy) {
        auto process = std::make_unique<QProcess>();
        process->setWorkingDirectory(QDir::tempPath());
        process->start(program, {QStringLiteral("--pdf"), folder.filePath(QStringLiteral("out%1.pdf").arg(copy)),
                                 folder.filePath(QStringLiteral("payment%1.json").arg(copy))});
        copies.push_back(std::move(process));
    }
    int saidCreated = 0;
    for (std::size_t i = 0; i < copies.size(); ++i) {
        QProcess &process = *copies[i];
        QVERIFY(process.waitForFinished(120000));
        const QString error = QString::fromUtf8(process.readAllStandardError());
        QVERIFY2(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
                 qPrintable(QStringLiteral("copy %1: %2").arg(i + 1).arg(error)));
        QVERIFY(QFileInfo(folder.filePath(QStringLiteral("out%1.pdf").arg(i + 1))).size() > 1000);
        if (error.startsWith(QStringLiteral("Veritabanı dosyası yoktu; yeni, boş bir veritabanı oluşturuldu")))
            ++saidCreated;
    }
    // Only the copy that made the database says so.
    QCOMPARE(saidCreated, 1);

    PayeeDatabase database;
    const PayeeDatabase::OpenResult opened = database.open(folder.filePath(QStringLiteral("Data.dat")));
    QVERIFY2(opened.isOpened(), qPrintable(opened.message));
    OrderRegister listRegister(database);
    OrderList list(listRegister);
    QVERIFY(list.open({}).succeeded());
    QStringList recorded;
    for (int row = 0; row < list.rowCount(); ++row)
        recorded.append(list.orderAt(row).name());
    recorded.sort();
    QCOMPARE(recorded, payees);
    // Nothing else is left in the folder: no staging file of a copy that lost.
    const QStringList left = QDir(folder.path()).entryList(QStringList{QStringLiteral("Data.dat*")},
                                                           QDir::Files | QDir::Hidden);
    QCOMPARE(left, QStringList{QStringLiteral("Data.dat")});
}

QTEST_GUILESS_MAIN(TestPdfCommandsTogether)
#include "tst_PdfCommandsTogether.moc"
