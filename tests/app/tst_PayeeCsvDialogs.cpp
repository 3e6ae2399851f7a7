// "Dışa Aktar" and "İçe Aktar" of the chosen list: the file written, a
// spreadsheet's file read into the list, bad rows refused with their line
// numbers unless the user chooses to skip them, and the register as it was
// whenever nothing is imported.

#include "app/PayeeCsvDialogs.h"
#include "desktop/MessageBoxes.h"
#include "registry/PayeeCsv.h"
#include "support/MessageRecorder.h"
#include "support/TemporaryPayeeDatabase.h"

#include <QApplication>
#include <QDir>
#include <QtTest>

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

const QString kHeader = QStringLiteral("Adı Soyadı;T.C. Kimlik No;Banka Şube Adı;Banka Hesap Numarası;Bağlı Olduğu Vergi Dairesi\r\n");

} // namespace

class TestPayeeCsvDialogs : public QObject
{
    Q_OBJECT

private slots:
    void exportsTheChosenList();
    void importsIntoTheChosenList_data();
    void importsIntoTheChosenList();
    void aFileThatIsNoPayeeList();
};

void TestPayeeCsvDialogs::exportsTheChosenList()
{
    TemporaryPayeeDatabase database;
    QVERIFY2(database.error().isEmpty(), qPrintable(database.error()));
    database.addPayee(PaymentCategory::Hospital, {QStringLiteral("=ANKARA"), QString(), QStringLiteral(""), QStringLiteral("1"),
                                                  QStringLiteral("ÇANKAYA")});
    database.addPayee(PaymentCategory::Pharmacy, {QStringLiteral("ŞİFA"), QString(), QString(), QString(), QString()});
    const QString file = QDir(database.folder()).filePath(QStringLiteral("Hastane.csv"));
    MessageRecorder recorder;
    QVERIFY(PayeeCsvDialogs::exportTo(nullptr, database.database(), PaymentCategory::Hospital, file));
    QCOMPARE(fileBytes(file), QByteArray("\xEF\xBB\xBF") + kHeader.toUtf8() + QByteArray("\"'=ANKARA\";;\"\";1;ÇANKAYA\r\n"));
    QCOMPARE(recorder.texts(), QStringList{QStringLiteral("Hastane: 1 kayıt '%1' dosyasına yazıldı.").arg(QDir::toNativeSeparators(file))});
}

void TestPayeeCsvDialogs::importsIntoTheChosenList_data()
{
    QTest::addColumn<QList<MessageBoxes::Button>>("answers");
    QTest::addColumn<QStringList>("names");
    using MessageBoxes::Button;
    QTest::newRow("bad rows, Hayır") << QList<Button>{Button::No} << QStringList{QStringLiteral("VAR OLAN")};
    QTest::newRow("bad rows, Evet")
        << QList<Button>{Button::Yes, Button::Ok}
        << QStringList{QStringLiteral("VAR OLAN"), QStringLiteral("İLK"), QStringLiteral("İKİNCİ")};
}

void TestPayeeCsvDialogs::importsIntoTheChosenList()
{
    QFETCH(QList<MessageBoxes::Button>, answers);
    QFETCH(QStringList, names);
    TemporaryPayeeDatabase database;
    QVERIFY2(database.error().isEmpty(), qPrintable(database.error()));
    database.addPayee(PaymentCategory::Treatment, {QStringLiteral("VAR OLAN"), QStringLiteral("1"), QString(), QString(), QString()});
    const QString file = QDir(database.folder()).filePath(QStringLiteral("Tedavi.csv"));
    QVERIFY(writeBytes(file, (kHeader + QStringLiteral("ilk;2;;;\r\nvar olan;1;;;\r\nkısa;1\r\nikinci;3;;;\r\n")).toUtf8()));
    const QList<PayeeFields> before = database.tableContents(PaymentCategory::Treatment);

    MessageRecorder recorder(answers);
    const bool added = PayeeCsvDialogs::importFrom(nullptr, database.database(), PaymentCategory::Treatment, file);
    QCOMPARE(added, answers.size() > 1);
    QCOMPARE(recorder.requests().size(), answers.size());
    const MessageBoxes::Request &question = recorder.requests().first();
    QCOMPARE(question.defaultButton, std::optional<MessageBoxes::Button>(MessageBoxes::Button::No));
    QVERIFY2(question.text.contains(QStringLiteral("1 hatalı satır var")) && question.text.contains(QStringLiteral("4. satır: 2 alan var")),
             qPrintable(question.text));
    if (added) {
        QCOMPARE(recorder.requests().last().text, QStringLiteral("Tedavi: 2 kayıt eklendi, 1 kayıt zaten vardı (atlandı)."));
    } else {
        QCOMPARE(database.tableContents(PaymentCategory::Treatment), before);
    }
    QCOMPARE(database.tableNames(PaymentCategory::Treatment), names);
}

void TestPayeeCsvDialogs::aFileThatIsNoPayeeList()
{
    TemporaryPayeeDatabase database;
    QVERIFY2(database.error().isEmpty(), qPrintable(database.error()));
    const QString file = QDir(database.folder()).filePath(QStringLiteral("notlar.csv"));
    QVERIFY(writeBytes(file, QByteArray("Tarih;Tutar\r\n01.02.2026;100\r\n")));
    MessageRecorder recorder;
    QVERIFY(!PayeeCsvDialogs::importFrom(nullptr, database.database(), PaymentCategory::Private, file));
    QCOMPARE(recorder.requests().size(), 1);
    QVERIFY2(recorder.texts().first().contains(QStringLiteral("kişi listesi olarak okunamadı")), qPrintable(recorder.texts().first()));
    QVERIFY(recorder.texts().first().contains(QStringLiteral("Hiçbir kayıt aktarılmadı")));
    QCOMPARE(database.tableNames(PaymentCategory::Private), QStringList());
}

QTEST_MAIN(TestPayeeCsvDialogs)

#include "tst_PayeeCsvDialogs.moc"
