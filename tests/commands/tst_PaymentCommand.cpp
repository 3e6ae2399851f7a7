// "Zenparol --pdf OUT.pdf PAYMENT.json": good and bad payment files in the
// process, the settings file of the program folder, and the real program
// run from a folder of its own.
#include "base/FolderAccess.h"
#include "commands/PaymentCommand.h"
#include "registry/OrderList.h"
#include "registry/OrderRegister.h"
#include "registry/PayeeDatabase.h"
#include "support/PrivateQueue.h"
#include "support/ProgramFolderFixture.h"

#include "support/PdfWords.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QThread>
#include <QtTest>

#include <chrono>
#include <thread>

using namespace std::chrono_literals;

namespace {

const QString kBusy = QStringLiteral(
    "Program klasörü şu anda meşgul: veritabanı yedekleniyor, sıkıştırılıyor ya da onarılıyor (ya da program "
    "açılırken klasörü temizliyor). Komut çalıştırılmadı, hiçbir dosya yazılmadı; işlem bittikten sonra komutu "
    "yeniden çalıştırın.");

// The program folder held for maintenance, as a backup or a compaction
// holds it, until reset.
std::optional<FolderAccess> maintenanceOf(const QString &folder)
{
    Result<FolderAccess> taken = FolderAccess::forMaintenance(folder, 0ms);
    if (taken.failed() || !taken->isLocked())
        return std::nullopt;
    return std::move(taken).value();
}

const QDate kToday(2024, 3, 5);

QDateTime testClock()
{
    return QDateTime(kToday, QTime(11, 20));
}

const QByteArray kPharmacy = R"({"kind": "Eczane",
  "payee": ["ŞİFA ECZANESİ", "12345678901", "ZİRAAT KIZILAY", "TR12 0001", "ÇANKAYA"],
  "amounts": ["1.000,00"], "stamp": true,
  "attachments": [{"count": 3, "description": "Adet Fatura"}, {"count": 0, "description": "Adet Sevk"}]})";

QString inArea(const QList<PdfWords::Word> &words, const QRectF &area)
{
    QStringList texts;
    for (const PdfWords::Word &word : words) {
        if (area.contains(word.millimetres.center()))
            texts << word.text;
    }
    return texts.join(u' ');
}

// The register of the program folder's database, oldest first.
QList<IssuedOrder> recordedOrders()
{
    PayeeDatabase database;
    if (!database.open().isOpened())
        return {};
    OrderRegister listRegister(database);
    OrderList list(listRegister);
    if (list.open({}).failed())
        return {};
    QList<IssuedOrder> orders;
    for (int row = list.rowCount() - 1; row >= 0; --row)
        orders.append(list.orderAt(row));
    return orders;
}

CommandOutcome runPayment(const ProgramFolderFixture &folder, const QString &pdfName = QStringLiteral("out.pdf"))
{
    return PaymentCommand::run({QStringLiteral("--pdf"), folder.filePath(pdfName), folder.filePath(QStringLiteral("payment.json"))},
                            testClock);
}

// The grid row r's cells on the sheet.
QRectF gridCell(int row, double x, double w)
{
    return QRectF(15 + x, 22 + 47 + 5 * (row - 1), w, 5);
}

} // namespace

class TestPaymentCommand : public QObject
{
    Q_OBJECT

private slots:
    void pharmacyPayment();
    void settingsFileAndHandTypedStampDuty();
    void badFiles_data();
    void badFiles();
    void unwritableOutput();
    void everyPdfIsRecorded();
    void databaseThatCannotBeUsedStillGivesThePdf_data();
    void databaseThatCannotBeUsedStillGivesThePdf();
    void waitsForMaintenanceOfItsFolder();
    void printsOntoTheRealQueue_data();
    void printsOntoTheRealQueue();
    void realProgram();
};

void TestPaymentCommand::pharmacyPayment()
{
    ProgramFolderFixture folder;
    folder.writeFile(QStringLiteral("payment.json"), kPharmacy);
    const QString pdf = folder.filePath(QStringLiteral("out.pdf"));
    const CommandOutcome outcome =
        PaymentCommand::run({QStringLiteral("--pdf"), pdf, folder.filePath(QStringLiteral("payment.json"))}, testClock);
    QCOMPARE(outcome.status, ExitStatus::kDone);
    // The first start's "Evet": an empty database, said in one line.
    QCOMPARE(outcome.message, QStringLiteral("Veritabanı dosyası yoktu; yeni, boş bir veritabanı oluşturuldu: %1")
                                  .arg(QDir::toNativeSeparators(folder.filePath(QStringLiteral("Data.dat")))));
    QVERIFY(folder.readFile(QStringLiteral("out.pdf")).startsWith("%PDF-"));
    QVERIFY2(PdfWords::available(), "pdftotext (poppler-utils) is missing");

    const QList<PdfWords::Word> words = PdfWords::read(pdf);
    QCOMPARE(inArea(words, gridCell(1, 79, 16)), QStringLiteral("1000"));
    QCOMPARE(inArea(words, gridCell(3, 102, 16)), QStringLiteral("991"));
    QCOMPARE(inArea(words, gridCell(3, 118, 7)), QStringLiteral("75"));
    QCOMPARE(inArea(words, gridCell(7, 102, 16)), QStringLiteral("8"));
    QCOMPARE(inArea(words, QRectF(15 + 79, 22 + 127, 46, 5)), QStringLiteral("2008 25 2008 25"));
    QCOMPARE(inArea(words, QRectF(15 + 125, 22 + 5, 55, 5)), QStringLiteral("ŞİFA ECZANESİ"));
    QCOMPARE(inArea(words, QRectF(15, 22 + 134, 180, 5)),
             QStringLiteral("Yukarıda yazılı YALNIZ: Bin TL. zenparol ettirilmiştir. Ödenmesi / Mahsubu gerekir."));
    QCOMPARE(inArea(words, QRectF(15 + 103, 22 + 174, 72, 8)), QStringLiteral("3 Adet Fatura"));
    QCOMPARE(inArea(words, QRectF(15 + 125, 22 + 141, 55, 5)), QStringLiteral("05.03.2024"));
    // The fresh settings: "TL - Kr", approval dates filled, rows 8 and 9 empty.
    QCOMPARE(inArea(words, QRectF(15 + 79, 22 + 42, 46, 5)), QStringLiteral("TL Kr TL Kr"));
    QCOMPARE(inArea(words, QRectF(15, 22 + 206, 180, 4)), QStringLiteral("05.03.2024 05.03.2024 05.03.2024"));
    QCOMPARE(inArea(words, QRectF(15, 22 + 82, 180, 10)), QString());
}

void TestPaymentCommand::settingsFileAndHandTypedStampDuty()
{
    ProgramFolderFixture folder;
    // YTL captions, handwritten approval dates, an account number of our own
    // and the institution's name; the journal date follows today.
    folder.writeFile(QStringLiteral("Zenparol.ini"),
                     "[Ayar]\r\nPara=0\r\nTarih=0\r\n[Ozel Kod]\r\n01=999\r\n[Kurum Imza]\r\n11=DENEME OKULU\r\n"
                     "[Tercih]\r\n2=1\r\n");
    folder.writeFile(QStringLiteral("payment.json"),
                     R"({"kind": "Ozel", "payee": ["ALİ VELİ", "", "", "", ""], "amounts": ["100"],
                         "stamp": true, "stampText": "2,5"})");
    const QString pdf = folder.filePath(QStringLiteral("out.pdf"));
    const CommandOutcome outcome =
        PaymentCommand::run({QStringLiteral("--pdf"), pdf, folder.filePath(QStringLiteral("payment.json"))}, testClock);
    QCOMPARE(outcome.status, ExitStatus::kDone);
    QVERIFY2(PdfWords::available(), "pdftotext (poppler-utils) is missing");

    const QList<PdfWords::Word> words = PdfWords::read(pdf);
    QCOMPARE(inArea(words, gridCell(1, 0, 14)), QStringLiteral("999"));
    QCOMPARE(inArea(words, gridCell(2, 102, 23)), QStringLiteral("2 50")); // the stamp duty typed by hand
    QCOMPARE(inArea(words, gridCell(3, 102, 23)), QStringLiteral("97 50"));
    QCOMPARE(inArea(words, QRectF(15 + 79, 22 + 42, 46, 5)), QStringLiteral("YTL YKr YTL YKr"));
    QCOMPARE(inArea(words, QRectF(15, 22 + 206, 180, 4)),
             QStringLiteral("..../..../20...... ..../..../20...... ..../..../20......"));
    QCOMPARE(inArea(words, QRectF(15 + 25, 22 + 20, 68, 5)), QStringLiteral("DENEME OKULU"));
    QCOMPARE(inArea(words, QRectF(15 + 73, 22 + 10, 20, 5)), QStringLiteral("05.03.2024"));
}

void TestPaymentCommand::badFiles_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("message"); // a part of the message

    QTest::newRow("not JSON") << QByteArray("{\"kind\": \"Eczane\",") << "geçerli bir JSON belgesi değil";
    QTest::newRow("not an object") << QByteArray("[1, 2]") << "JSON nesnesi olmalı";
    QTest::newRow("unknown kind") << QByteArray(R"({"kind": "Banka", "payee": ["ALİ", "", "", "", ""],
        "amounts": ["1,00"], "stamp": true})") << "Bilinmeyen ödeme türü \"Banka\"";
    QTest::newRow("missing stamp") << QByteArray(R"({"kind": "Eczane", "payee": ["ALİ", "", "", "", ""],
        "amounts": ["1,00"]})") << "\"stamp\" alanı eksik";
    QTest::newRow("four payee fields") << QByteArray(R"({"kind": "Eczane", "payee": ["", "", "", ""],
        "amounts": ["1,00"], "stamp": true})") << "\"payee\" beş yazılık";
    QTest::newRow("unreadable amount") << QByteArray(R"({"kind": "Hastane", "payee": ["ALİ", "", "", "", ""],
        "amounts": ["1.00,0"], "stamp": false})") << "Okunamayan tutar \"1.00,0\"";
    QTest::newRow("14 whole digits") << QByteArray(R"({"kind": "Hastane", "payee": ["ALİ", "", "", "", ""],
        "amounts": ["10.000.000.000.000,00"], "stamp": false})") << "en çok 13 basamaklı";
    QTest::newRow("negative amount") << QByteArray(R"({"kind": "Hastane", "payee": ["ALİ", "", "", "", ""],
        "amounts": ["-5,00"], "stamp": false})") << "Eksi tutar \"-5,00\": tutarlar sıfır ya da sıfırdan büyük";
    QTest::newRow("no payee name") << QByteArray(R"({"kind": "Hastane", "payee": [" ", "1", "", "", ""],
        "amounts": ["5,00"], "stamp": false})") << "ilgilinin adı, boş olamaz";
    QTest::newRow("treatment needs two amounts") << QByteArray(R"({"kind": "Tedavi", "payee": ["ALİ", "", "", "", ""],
        "amounts": ["5,00"], "stamp": false})") << "iki tutarlık";
    QTest::newRow("no amount at all") << QByteArray(R"({"kind": "Tedavi", "payee": ["ALİ", "", "", "", ""],
        "amounts": ["", ""], "stamp": false})") << "tutar yok";
    QTest::newRow("stamp text without stamp duty") << QByteArray(R"({"kind": "Ozel", "payee": ["ALİ", "", "", "", ""],
        "amounts": ["5,00"], "stamp": false, "stampText": "1,00"})") << "\"stampText\" yalnızca";
    QTest::newRow("pharmacy always has stamp duty") << QByteArray(R"({"kind": "Eczane", "payee": ["ALİ", "", "", "", ""],
        "amounts": ["5,00"], "stamp": false})") << "Eczane ödemesinde";
    QTest::newRow("too many attachment lines") << QByteArray(R"({"kind": "Eczane", "payee": ["ALİ", "", "", "", ""],
        "amounts": ["5,00"], "stamp": true, "attachments": [{"count": 1, "description": ""},
        {"count": 1, "description": ""}, {"count": 1, "description": ""}, {"count": 1, "description": ""},
        {"count": 1, "description": ""}]})") << "en çok 4 satırlık";
    QTest::newRow("fractional count") << QByteArray(R"({"kind": "Ozel", "payee": ["ALİ", "", "", "", ""],
        "amounts": ["5,00"], "stamp": true, "attachments": [{"count": 1.5, "description": "x"}]})") << "Her ek satırı";
}

void TestPaymentCommand::badFiles()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, message);
    ProgramFolderFixture folder;
    folder.writeFile(QStringLiteral("payment.json"), json);
    const CommandOutcome outcome = PaymentCommand::run(
        {QStringLiteral("--pdf"), folder.filePath(QStringLiteral("out.pdf")), folder.filePath(QStringLiteral("payment.json"))},
        testClock);
    QCOMPARE(outcome.status, ExitStatus::kBadInput);
    QVERIFY2(outcome.message.contains(message), qPrintable(outcome.message));
    QVERIFY(outcome.message.startsWith(QStringLiteral("payment.json: ")));
    QVERIFY(!outcome.message.contains(u'\n'));
    QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("out.pdf"))));
    QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("Data.dat"))));
}

void TestPaymentCommand::unwritableOutput()
{
    ProgramFolderFixture folder;
    folder.writeFile(QStringLiteral("payment.json"), kPharmacy);
    const CommandOutcome missingFolder = PaymentCommand::run(
        {QStringLiteral("--pdf"), folder.filePath(QStringLiteral("yok/out.pdf")),
         folder.filePath(QStringLiteral("payment.json"))},
        testClock);
    QCOMPARE(missingFolder.status, ExitStatus::kFailed);
    // Said once, before the register is looked into: nothing else, and no
    // database made for an order that did not leave.
    QCOMPARE(missingFolder.message, QStringLiteral("'%1' dosyası yazılamadı: klasör bulunamadı.")
                                        .arg(QDir::toNativeSeparators(folder.filePath(QStringLiteral("yok/out.pdf")))));
    QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("Data.dat"))));

    for (const QStringList &wrong : {QStringList{"--pdf", "out.pdf"}, QStringList{"--print"},
                                     QStringList{"--print", "p.json", "--printer"},
                                     QStringList{"--print", "p.json", "--printr", "X"}}) {
        const CommandOutcome usage = PaymentCommand::run(wrong, testClock);
        QCOMPARE(usage.status, ExitStatus::kBadInput);
        // Named as the command was started: here, this test.
        QVERIFY2(usage.message.startsWith(QStringLiteral("Kullanım: %1 --pdf")
                                              .arg(QFileInfo(QCoreApplication::arguments().constFirst()).fileName())),
                 qPrintable(usage.message));
    }
    const CommandOutcome absent = PaymentCommand::run(
        {QStringLiteral("--pdf"), folder.filePath(QStringLiteral("out.pdf")), folder.filePath(QStringLiteral("yok.json"))},
        testClock);
    QCOMPARE(absent.status, ExitStatus::kBadInput);
    QVERIFY2(absent.message.endsWith(QStringLiteral("okunamadı: dosya bulunamadı.")), qPrintable(absent.message));
    QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("out.pdf"))));
}

void TestPaymentCommand::everyPdfIsRecorded()
{
    ProgramFolderFixture folder;
    folder.writeFile(QStringLiteral("payment.json"), kPharmacy);
    QCOMPARE(runPayment(folder).status, ExitStatus::kDone);
    QList<IssuedOrder> orders = recordedOrders();
    QCOMPARE(orders.size(), 1);
    QCOMPARE(orders[0].ways, int(OrderWay::Pdf));
    QCOMPARE(orders[0].category, PaymentCategory::Pharmacy);
    QCOMPARE(orders[0].name(), QStringLiteral("ŞİFA ECZANESİ"));
    QCOMPARE(orders[0].payee[2], QStringLiteral("ZİRAAT KIZILAY"));
    QCOMPARE((std::array<qint64, 3>{orders[0].gross, orders[0].stamp, orders[0].net}),
             (std::array<qint64, 3>{100000, 825, 99175}));
    QCOMPARE(orders[0].issuedAt, testClock());

    // The same payment again is not asked about: a warning, and the PDF.
    const CommandOutcome again = runPayment(folder, QStringLiteral("again.pdf"));
    QCOMPARE(again.status, ExitStatus::kDone);
    QCOMPARE(again.message, QStringLiteral("Uyarı: bu kişiye aynı tutarda 05.03.2024 tarihinde 1 numaralı belge "
                                           "düzenlenmiş; belge yine de yazıldı."));
    QVERIFY(folder.readFile(QStringLiteral("again.pdf")).startsWith("%PDF-"));
    QCOMPARE(recordedOrders().size(), 2);

    // A PDF that cannot be written is not recorded.
    QCOMPARE(runPayment(folder, QStringLiteral("yok/out.pdf")).status, ExitStatus::kFailed);
    QCOMPARE(recordedOrders().size(), 2);
}

void TestPaymentCommand::databaseThatCannotBeUsedStillGivesThePdf_data()
{
    QTest::addColumn<QString>("inTheWay"); // what stands as Data.dat
    QTest::addColumn<QString>("reason");
    QTest::newRow("not a database") << QStringLiteral("text") << QStringLiteral("başka bir parolayla");
    QTest::newRow("a folder in its place") << QStringLiteral("folder") << QStringLiteral("bir klasör");
    // It opens, but a write cannot make its journal, as in a folder the
    // user may read but not write.
    QTest::newRow("a database that cannot be written") << QStringLiteral("unwritable")
                                                       << QStringLiteral("geçici günlük dosyası");
    // A compaction cut short left the only copy of the payees in Yedek.dat,
    // which the window puts back when it starts: no new, empty database in
    // its place.
    QTest::newRow("no database but a compaction's Yedek.dat")
        << QStringLiteral("compaction") << QStringLiteral("yarım kalmış bir sıkıştırmadan kalan");
}

void TestPaymentCommand::databaseThatCannotBeUsedStillGivesThePdf()
{
    QFETCH(QString, inTheWay);
    QFETCH(QString, reason);
    ProgramFolderFixture folder;
    folder.writeFile(QStringLiteral("payment.json"), kPharmacy);
    const QString databasePath = folder.filePath(QStringLiteral("Data.dat"));
    if (inTheWay == QLatin1String("text")) {
        folder.writeFile(QStringLiteral("Data.dat"), "EczaneAdi;BankaSube\n");
    } else if (inTheWay == QLatin1String("folder")) {
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("Data.dat")));
    } else if (inTheWay == QLatin1String("compaction")) {
        QVERIFY(PayeeDatabase().create(folder.filePath(QStringLiteral("Yedek.dat"))).isOpened());
    } else {
        QVERIFY(PayeeDatabase().create(databasePath).isOpened());
        QVERIFY(QFile::link(QStringLiteral("/nonexistent/folder/journal"), databasePath + QStringLiteral("-journal")));
    }
    const QByteArray before = QFileInfo(databasePath).isFile() ? folder.readFile(QStringLiteral("Data.dat")) : QByteArray();

    const CommandOutcome outcome = runPayment(folder);
    QCOMPARE(outcome.status, ExitStatus::kNotRecorded);
    QVERIFY(folder.readFile(QStringLiteral("out.pdf")).startsWith("%PDF-"));
    QVERIFY2(outcome.message.startsWith(QStringLiteral("PDF yazıldı, ancak belge kaydına işlenemedi. ")),
             qPrintable(outcome.message));
    QVERIFY2(outcome.message.contains(reason), qPrintable(outcome.message));
    QVERIFY(!outcome.message.contains(u'\n'));
    if (QFileInfo(databasePath).isFile())
        QCOMPARE(folder.readFile(QStringLiteral("Data.dat")), before);
    if (inTheWay == QLatin1String("compaction")) {
        QVERIFY(!QFileInfo::exists(databasePath));
        QVERIFY(QFileInfo(folder.filePath(QStringLiteral("Yedek.dat"))).size() > 0);
    }
}

void TestPaymentCommand::waitsForMaintenanceOfItsFolder()
{
    ProgramFolderFixture folder;
    folder.writeFile(QStringLiteral("payment.json"), kPharmacy);

    // Maintenance that goes on: nothing written, nothing recorded.
    std::optional<FolderAccess> maintenance = maintenanceOf(folder.path());
    QVERIFY(maintenance);
    {
        const auto shortWait = FolderAccess::overrideWait(200ms);
        const CommandOutcome refused = runPayment(folder);
        QCOMPARE(refused.status, ExitStatus::kBusy);
        QCOMPARE(refused.message, kBusy);
        QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("out.pdf"))));
        QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("Data.dat"))));
    }

    // Maintenance that ends while the command waits.
    std::thread ending([&maintenance] {
        std::this_thread::sleep_for(300ms);
        maintenance.reset();
    });
    const CommandOutcome printed = runPayment(folder);
    ending.join();
    QCOMPARE(printed.status, ExitStatus::kDone);
    QVERIFY(folder.readFile(QStringLiteral("out.pdf")).startsWith("%PDF-"));
    QCOMPARE(recordedOrders().size(), 1);
}

void TestPaymentCommand::printsOntoTheRealQueue_data()
{
    QTest::addColumn<QStringList>("options"); // after "--print PAYMENT.json"
    QTest::addColumn<QList<QStringList>>("change");
    QTest::addColumn<QList<QStringList>>("undo");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("said"); // the beginning of the message
    const QString queue = PrivateQueue::name();
    QTest::newRow("the default printer") << QStringList{} << QList<QStringList>{} << QList<QStringList>{}
                                         << ExitStatus::kDone << QString();
    QTest::newRow("a printer by its name") << QStringList{"--printer", queue} << QList<QStringList>{}
                                           << QList<QStringList>{} << ExitStatus::kDone << QString();
    QTest::newRow("a printer that does not exist")
        << QStringList{"--printer", "KAT2"} << QList<QStringList>{} << QList<QStringList>{} << ExitStatus::kFailed
        << QStringLiteral("Bu bilgisayarda 'KAT2' adlı bir yazıcı yok.");
    QTest::newRow("a queue refusing jobs") << QStringList{} << QList<QStringList>{{"cupsreject", queue}}
                                           << QList<QStringList>{{"cupsaccept", queue}} << ExitStatus::kRefused
                                           << QStringLiteral("'MirvaselPDF' yazıcısı şu anda iş kabul etmiyor.");
    QTest::newRow("a stopped queue") << QStringList{"--printer", queue} << QList<QStringList>{{"cupsdisable", queue}}
                                     << QList<QStringList>{{"cupsenable", queue}} << ExitStatus::kRefused
                                     << QStringLiteral("'MirvaselPDF' yazıcısı durdurulmuş.");
}

// --print through the same road: only a page the queue took is recorded; a
// printer that is not there or does not take jobs is said before the
// register is touched.
void TestPaymentCommand::printsOntoTheRealQueue()
{
    QFETCH(QStringList, options);
    QFETCH(QList<QStringList>, change);
    QFETCH(QList<QStringList>, undo);
    QFETCH(int, status);
    QFETCH(QString, said);
    const QString unavailable = PrivateQueue::unavailable();
    QVERIFY2(unavailable.isEmpty(), qPrintable(unavailable));
    ProgramFolderFixture folder;
    folder.writeFile(QStringLiteral("payment.json"), kPharmacy);
    QVERIFY(PayeeDatabase().create(folder.filePath(QStringLiteral("Data.dat"))).isOpened());
    const QSet<QString> before = PrivateQueue::pdfFiles();

    CommandOutcome outcome;
    {
        const PrivateQueue::Restore restore(undo);
        for (const QStringList &command : change)
            QVERIFY2(PrivateQueue::run(command).isEmpty(), qPrintable(PrivateQueue::run(command)));
        outcome = PaymentCommand::run(
            QStringList{QStringLiteral("--print"), folder.filePath(QStringLiteral("payment.json"))} + options,
            testClock);
    }
    QCOMPARE(outcome.status, status);
    const QList<IssuedOrder> orders = recordedOrders();
    if (status != ExitStatus::kDone) {
        QVERIFY2(outcome.message.startsWith(said), qPrintable(outcome.message));
        QVERIFY(!outcome.message.contains(u'\n'));
        QVERIFY(orders.isEmpty());
        QCOMPARE(PrivateQueue::pdfFiles(), before);
        return;
    }
    QCOMPARE(outcome.message, QString());
    QCOMPARE(orders.size(), 1);
    QCOMPARE(orders.first().ways, int(OrderWay::Printer));
    QVERIFY2(!PrivateQueue::awaitNewFile(before).isEmpty(), "the queue wrote no PDF within two minutes");
}

void TestPaymentCommand::realProgram()
{
    // The program in a folder of its own, so that the settings file next to
    // it is this test's.
    QTemporaryDir folder;
    const QString program = folder.filePath(QStringLiteral("Zenparol"));
    QVERIFY(QFile::copy(QStringLiteral(MIRVASEL_PROGRAM), program));
    QFile settings(folder.filePath(QStringLiteral("Zenparol.ini")));
    QVERIFY(settings.open(QIODevice::WriteOnly));
    settings.write("[Kurum Imza]\r\n11=PROGRAM KLAS\xd6R\xdc\r\n");
    settings.close();
    QFile payment(folder.filePath(QStringLiteral("payment.json")));
    QVERIFY(payment.open(QIODevice::WriteOnly));
    payment.write(kPharmacy);
    payment.close();

    // No display: the command must not need one.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    const auto run = [&](const QStringList &arguments, int &status, QString &error) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(QDir::tempPath());
        process.start(program, arguments);
        QVERIFY(process.waitForFinished(120000));
        status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        error = QString::fromUtf8(process.readAllStandardError());
    };

    int status = -1;
    QString error;
    const QString pdf = folder.filePath(QStringLiteral("out.pdf"));
    run({QStringLiteral("--pdf"), pdf, payment.fileName()}, status, error);
    QCOMPARE(status, 0);
    QVERIFY2(error.startsWith(QStringLiteral("Veritabanı dosyası yoktu; yeni, boş bir veritabanı oluşturuldu: "))
                 && error.count(u'\n') == 1,
             qPrintable(error));
    QVERIFY(QFileInfo(pdf).size() > 1000);
    QVERIFY(QFileInfo(folder.filePath(QStringLiteral("Data.dat"))).isFile());
    QVERIFY2(PdfWords::available(), "pdftotext (poppler-utils) is missing");
    QCOMPARE(inArea(PdfWords::read(pdf), QRectF(15 + 25, 22 + 20, 68, 5)), QStringLiteral("PROGRAM KLASÖRÜ"));

    QVERIFY(payment.open(QIODevice::WriteOnly | QIODevice::Truncate));
    payment.write("{\"kind\": \"Kasa\"}");
    payment.close();
    const QString bad = folder.filePath(QStringLiteral("bad.pdf"));
    run({QStringLiteral("--pdf"), bad, payment.fileName()}, status, error);
    QCOMPARE(status, 2);
    QVERIFY(!QFile::exists(bad));
    // One line on standard error, and nothing of the toolkit's.
    const QStringList lines = error.split(u'\n', Qt::SkipEmptyParts);
    QVERIFY2(lines.size() == 1 && lines.first().contains(QStringLiteral("alanı eksik")), qPrintable(error));

    // A database the program cannot open: the PDF all the same, exit 3.
    QVERIFY(QFile::remove(folder.filePath(QStringLiteral("Data.dat"))));
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("Data.dat")));
    QVERIFY(payment.open(QIODevice::WriteOnly | QIODevice::Truncate));
    payment.write(kPharmacy);
    payment.close();
    const QString unrecorded = folder.filePath(QStringLiteral("unrecorded.pdf"));
    run({QStringLiteral("--pdf"), unrecorded, payment.fileName()}, status, error);
    QCOMPARE(status, 3);
    QVERIFY(QFileInfo(unrecorded).size() > 1000);
    QVERIFY2(error.startsWith(QStringLiteral("PDF yazıldı, ancak belge kaydına işlenemedi.")) && error.count(u'\n') == 1,
             qPrintable(error));

    // A backup or compaction of its folder, in another process (this one):
    // the command waits for it, and gives up with 5 when it goes on.
    QVERIFY(QDir(folder.filePath(QStringLiteral("Data.dat"))).removeRecursively());
    std::optional<FolderAccess> maintenance = maintenanceOf(folder.path());
    QVERIFY(maintenance);
    const QString busy = folder.filePath(QStringLiteral("busy.pdf"));
    run({QStringLiteral("--pdf"), busy, payment.fileName()}, status, error);
    QCOMPARE(status, 5);
    QCOMPARE(error, kBusy + u'\n');
    QVERIFY(!QFile::exists(busy));
    QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("Data.dat"))));

    QProcess waiting;
    waiting.setProcessEnvironment(environment);
    waiting.setWorkingDirectory(QDir::tempPath());
    const QString waited = folder.filePath(QStringLiteral("waited.pdf"));
    waiting.start(program, {QStringLiteral("--pdf"), waited, payment.fileName()});
    QVERIFY(waiting.waitForStarted(30000));
    QThread::msleep(1500);
    maintenance.reset();
    QVERIFY(waiting.waitForFinished(120000));
    QCOMPARE(waiting.exitStatus(), QProcess::NormalExit);
    QVERIFY2(waiting.exitCode() == 0, waiting.readAllStandardError().constData());
    QVERIFY(QFileInfo(waited).size() > 1000);
    QVERIFY(QFileInfo(folder.filePath(QStringLiteral("Data.dat"))).isFile());
}

QTEST_MAIN(TestPaymentCommand)
#include "tst_PaymentCommand.moc"
