// The orders window over a register of three orders: found by the payee's
// first letters and a range of days, reprinted as the same page with its
// first date, saved as a PDF, the shown rows exported; and the headless
// export with good and bad arguments.
#include "base/FolderAccess.h"
#include "commands/OrdersCsvCommand.h"
#include "base/KurusAmount.h"
#include "controls/TStripedDBGrid.h"
#include "desktop/ChooserFolder.h"
#include "orders/TFrmBelgeler.h"
#include "issuing/PageOutput.h"
#include "issuing/PaymentOrderPage.h"
#include "printing/PreviewWindow.h"
#include "registry/OrderList.h"
#include "registry/OrderListModel.h"
#include "support/MessageRecorder.h"
#include "support/TemporaryPayeeDatabase.h"
#include "support/TypeText.h"
#include "support/UserActions.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QtTest>

#include <chrono>
#include <optional>

using namespace std::chrono_literals;

namespace {

struct Issued
{
    PaymentCategory category;
    QString name;
    qint64 gross;
    QDate day;
};

const QList<Issued> kThreeOrders = {
    {PaymentCategory::Pharmacy, QStringLiteral("ŞİFA ECZANESİ"), 123450, QDate(2024, 3, 5)},
    {PaymentCategory::Hospital, QStringLiteral("ŞİŞLİ ETFAL HASTANESİ"), 1000000, QDate(2024, 4, 10)},
    {PaymentCategory::Treatment, QStringLiteral("AYŞE ÇELİK"), 25075, QDate(2024, 6, 30)},
};

// The page as YAZDIR would have left it: the payee, an amount and the day.
PaymentOrderPage pageOf(const Issued &issued)
{
    Raporlar raporlar;
    raporlar.setText(QStringLiteral("MUst1"), issued.name);
    raporlar.setText(QStringLiteral("MH11"), QString::number(issued.gross / 100));
    raporlar.setText(QStringLiteral("MH11_"), QStringLiteral("%1").arg(issued.gross % 100, 2, 10, QLatin1Char('0')));
    return raporlar.prepare(issued.day);
}

void issue(OrderRegister &orders, const Issued &issued)
{
    IssuedOrder order;
    order.issuedAt = QDateTime(issued.day, QTime(11, 15));
    order.ways = int(OrderWay::Printer);
    order.category = issued.category;
    order.payee = {issued.name, QStringLiteral("11111111110"), QStringLiteral("ZİRAAT"), QStringLiteral("TR00"),
                   QStringLiteral("ÇANKAYA")};
    order.gross = issued.gross;
    order.stamp = issued.category == PaymentCategory::Pharmacy ? issued.gross * 825 / 100000 : 0;
    order.net = order.gross - order.stamp;
    QVERIFY(orders.record(order, storedPage(pageOf(issued))).succeeded());
}

// What the user does in the preview: the ways the page leaves, then close.
class PreviewUser : public PageOutput
{
public:
    PreviewUser(QList<PaymentOrderPage> *shown, QList<OrderWay> exits) : m_shown(shown), m_exits(std::move(exits)) {}
    Delivery deliver(const PaymentOrderPage &page, const QString &, const Departure &left) override
    {
        m_shown->append(page);
        for (OrderWay way : m_exits)
            left(way);
        return m_exits.isEmpty() ? Delivery::closed() : Delivery::left();
    }

private:
    QList<PaymentOrderPage> *m_shown;
    QList<OrderWay> m_exits;
};

QString labelText(QWidget &window, const char *name)
{
    auto *label = window.findChild<QLabel *>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<%1 yok>").arg(QString::fromLatin1(name));
}

QStringList shownNames(const OrderList &list)
{
    QStringList names;
    for (int row = 0; row < list.rowCount(); ++row)
        names.append(list.orderAt(row).name());
    return names;
}

} // namespace

class TestOrdersWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void findsByFirstLettersAndDays();
    void largestAmountsShowWhole();
    void reprintIsTheSamePageWithItsDate();
    void closedReprintPreviewRecordsNothing();
    void savesAPdfAsAReprint();
    void exportsTheShownRows();
    void headlessExport_data();
    void headlessExport();
    void headlessExportWithoutAFileOrADatabase();
    void headlessExportNotDuringMaintenance();

private:
    // Each test starts with no folder remembered for the choosers.
    std::optional<ScopedOverride<ChooserFolder::Memory>> m_chooserMemory;
    std::unique_ptr<TemporaryPayeeDatabase> m_database;
    std::unique_ptr<TFrmBelgeler> m_window;
};

void TestOrdersWindow::init()
{
    m_chooserMemory.emplace(ChooserFolder::overrideMemory());
    m_database = std::make_unique<TemporaryPayeeDatabase>();
    QVERIFY2(m_database->error().isEmpty(), qPrintable(m_database->error()));
    OrderRegister orders(m_database->database());
    for (const Issued &issued : kThreeOrders)
        issue(orders, issued);
    m_window = std::make_unique<TFrmBelgeler>(m_database->database());
    // Built only when first shown, and read anew at every show.
    QVERIFY(!m_window->isBuilt());
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestOrdersWindow::cleanup()
{
    m_window.reset();
    m_database.reset();
    m_chooserMemory.reset();
}

void TestOrdersWindow::findsByFirstLettersAndDays()
{
    TFrmBelgeler &window = *m_window;
    QCOMPARE(shownNames(*window.list()), QStringList({QStringLiteral("AYŞE ÇELİK"), QStringLiteral("ŞİŞLİ ETFAL HASTANESİ"),
                                                      QStringLiteral("ŞİFA ECZANESİ")}));
    QCOMPARE(labelText(window, "LabSayi"), QStringLiteral("3 belge"));
    QCOMPARE(labelText(window, "LabToplam"), QStringLiteral("Brüt toplam: 11.485,25    Net toplam: 11.475,07"));

    // Typed in small letters, raised to Turkish capitals as they are typed.
    auto *search = window.findChild<QLineEdit *>(QStringLiteral("EdAra"));
    QVERIFY(search);
    typeText(search, QStringLiteral("şi"));
    QCOMPARE(search->text(), QStringLiteral("Şİ"));
    QCOMPARE(shownNames(*window.list()),
             QStringList({QStringLiteral("ŞİŞLİ ETFAL HASTANESİ"), QStringLiteral("ŞİFA ECZANESİ")}));
    QCOMPARE(labelText(window, "LabToplam"), QStringLiteral("Brüt toplam: 11.234,50    Net toplam: 11.224,32"));
    typeText(search, QStringLiteral("f"));
    QCOMPARE(shownNames(*window.list()), QStringList{QStringLiteral("ŞİFA ECZANESİ")});
    search->clear();

    // The second quarter, its last day included.
    UserActions::click(window, "ChkTarih");
    window.findChild<QDateEdit *>(QStringLiteral("DtBaslangic"))->setDate(QDate(2024, 4, 1));
    window.findChild<QDateEdit *>(QStringLiteral("DtBitis"))->setDate(QDate(2024, 6, 30));
    QCOMPARE(shownNames(*window.list()),
             QStringList({QStringLiteral("AYŞE ÇELİK"), QStringLiteral("ŞİŞLİ ETFAL HASTANESİ")}));
    QCOMPARE(labelText(window, "LabSayi"), QStringLiteral("2 belge"));
    UserActions::click(window, "ChkTarih");
    QCOMPARE(window.list()->rowCount(), 3);
}

void TestOrdersWindow::largestAmountsShowWhole()
{
    OrderRegister orders(m_database->database());
    issue(orders, {PaymentCategory::Hospital, QStringLiteral("ANKARA ŞEHİR HASTANESİ"), KurusAmount::kLargest,
                   QDate(2024, 7, 1)});
    m_window->refresh();
    auto *grid = m_window->findChild<TStripedDBGrid *>(QStringLiteral("DBGridBelge"));
    QVERIFY(grid);
    const QString largest = QStringLiteral("9.999.999.999.999,99");
    // A cell shows its text between the style's margins, beside the grid line.
    const int margins = 2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1);
    const int needed = QFontMetrics(grid->font()).horizontalAdvance(largest) + margins + 1;
    for (int column : {int(OrderListModel::Gross), int(OrderListModel::Net)}) {
        QCOMPARE(grid->model()->index(0, column).data().toString(), largest);
        QVERIFY2(grid->columnWidth(column) >= needed,
                 qPrintable(QStringLiteral("column %1: %2 px for %3 px").arg(column).arg(grid->columnWidth(column)).arg(needed)));
    }
}

void TestOrdersWindow::reprintIsTheSamePageWithItsDate()
{
    MessageRecorder messages;
    TFrmBelgeler &window = *m_window;
    QList<PaymentOrderPage> shown;
    window.reprinting().setPreview([&shown](QWidget *) {
        return std::make_unique<PreviewUser>(&shown, QList<OrderWay>{OrderWay::Printer, OrderWay::Pdf});
    });
    window.reprinting().setClock([] { return QDateTime(QDate(2024, 7, 2), QTime(9, 0)); });
    typeText(window.findChild<QLineEdit *>(QStringLiteral("EdAra")), QStringLiteral("ŞİF"));
    QCOMPARE(window.list()->rowCount(), 1);
    UserActions::click(window, "BtnYeniden");

    QCOMPARE(shown.size(), 1);
    const PaymentOrderPage original = pageOf(kThreeOrders[0]);
    QCOMPARE(shown.first().texts, original.texts); // every box's text
    QCOMPARE(shown.first().preparedOn, QDate(2024, 3, 5));
    QCOMPARE(shown.first().text(QStringLiteral("Memo397")), QStringLiteral("05.03.2024"));
    QVERIFY(messages.requests().isEmpty());

    // Recorded once, as a reprint of number 1, and shown at once; the sums
    // count the payment once.
    QCOMPARE(shownNames(*window.list()), QStringList({QStringLiteral("ŞİFA ECZANESİ"), QStringLiteral("ŞİFA ECZANESİ")}));
    const IssuedOrder reprint = window.list()->orderAt(0);
    QCOMPARE(reprint.number, qint64(4));
    QCOMPARE(reprint.reprintOf, qint64(1));
    QCOMPARE(reprint.ways, int(OrderWay::Printer) | int(OrderWay::Pdf));
    QCOMPARE(reprint.issuedAt, QDateTime(QDate(2024, 7, 2), QTime(9, 0)));
    QCOMPARE(reprint.gross, qint64(123450));
    QCOMPARE(labelText(window, "LabSayi"), QStringLiteral("2 belge (1 yeniden basım)"));
    QCOMPARE(labelText(window, "LabToplam"), QStringLiteral("Brüt toplam: 1.234,50    Net toplam: 1.224,32"));

    // A reprint of the reprint is one more copy of number 1, with the same page.
    shown.clear();
    UserActions::click(window, "BtnYeniden");
    QCOMPARE(shown.first().texts, original.texts);
    QCOMPARE(window.list()->orderAt(0).reprintOf, qint64(1));
}

void TestOrdersWindow::closedReprintPreviewRecordsNothing()
{
    TFrmBelgeler &window = *m_window;
    QList<PaymentOrderPage> shown;
    window.reprinting().setPreview(
        [&shown](QWidget *) { return std::make_unique<PreviewUser>(&shown, QList<OrderWay>{}); });
    UserActions::click(window, "BtnYeniden");
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().text(QStringLiteral("MUst1")), QStringLiteral("AYŞE ÇELİK"));
    QCOMPARE(window.list()->rowCount(), 3);
    QCOMPARE(m_database->connection().queryInt64(QStringLiteral("SELECT count(*) FROM Belge")), qint64(3));
}

void TestOrdersWindow::savesAPdfAsAReprint()
{
    TFrmBelgeler &window = *m_window;
    QString suggested;
    const auto saving = PreviewWindow::overrideSaveChooser([&](QWidget *, const QString &path) {
        suggested = path;
        return QDir(m_database->folder()).filePath(QStringLiteral("kopya"));
    });
    UserActions::click(window, "BtnPdf");
    QVERIFY2(suggested.endsWith(QStringLiteral("Tedavi - AYŞE ÇELİK.pdf")), qPrintable(suggested));
    QVERIFY(TemporaryPayeeDatabase::fileContents(QDir(m_database->folder()).filePath(QStringLiteral("kopya.pdf")))
                .startsWith("%PDF-"));
    const IssuedOrder reprint = window.list()->orderAt(0);
    QCOMPARE(reprint.reprintOf, qint64(3));
    QCOMPARE(reprint.ways, int(OrderWay::Pdf));

    // Cancelled: nothing written, nothing recorded.
    const auto cancelling = PreviewWindow::overrideSaveChooser([](QWidget *, const QString &) { return QString(); });
    UserActions::click(window, "BtnPdf");
    QCOMPARE(window.list()->rowCount(), 4);
}

void TestOrdersWindow::exportsTheShownRows()
{
    MessageRecorder messages;
    TFrmBelgeler &window = *m_window;
    typeText(window.findChild<QLineEdit *>(QStringLiteral("EdAra")), QStringLiteral("Ş"));
    const QString path = QDir(m_database->folder()).filePath(QStringLiteral("Çeyrek.csv"));
    QStringList suggestions;
    const auto exporting = TFrmBelgeler::overrideCsvChooser([&](QWidget *, const QString &suggested) {
        suggestions.append(suggested);
        return suggested.endsWith(QStringLiteral(".csv")) ? path : QString();
    });
    UserActions::click(window, "BtnCsv");
    // The first chooser of the run starts in a folder that is there; the
    // next one where the last file went.
    QCOMPARE(suggestions.size(), 1);
    QVERIFY2(QFileInfo(QFileInfo(suggestions[0]).absolutePath()).isDir(), qPrintable(suggestions[0]));
    const auto cancelling = TFrmBelgeler::overrideCsvChooser([&](QWidget *, const QString &suggested) {
        suggestions.append(suggested);
        return QString();
    });
    UserActions::click(window, "BtnCsv");
    QCOMPARE(suggestions.size(), 2);
    QCOMPARE(QFileInfo(suggestions[1]).absolutePath(), QFileInfo(path).absolutePath());
    QCOMPARE(QFileInfo(suggestions[1]).fileName(), QStringLiteral("Belgeler.csv"));

    const QByteArray bytes = TemporaryPayeeDatabase::fileContents(path);
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    const QStringList lines = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines[0].startsWith(QStringLiteral("Belge No;Tarih;Saat;Tür;Adı Soyadı;")));
    QCOMPARE(lines[1], QStringLiteral("2;10.04.2024;11:15:00;Hastane;ŞİŞLİ ETFAL HASTANESİ;11111111110;ZİRAAT;TR00;"
                                      "ÇANKAYA;10000,00;0,00;10000,00;Yazıcı;"));
    QVERIFY(lines[2].startsWith(QStringLiteral("1;05.03.2024;11:15:00;Eczane;ŞİFA ECZANESİ;")));
    QVERIFY(lines[2].endsWith(QStringLiteral(";1234,50;10,18;1224,32;Yazıcı;")));
    QCOMPARE(messages.requests().size(), 1);
    QCOMPARE(messages.requests().first().text,
             QStringLiteral("2 belge '%1' dosyasına aktarıldı.").arg(QDir::toNativeSeparators(path)));
}

void TestOrdersWindow::headlessExport_data()
{
    QTest::addColumn<QStringList>("options"); // after "--orders-csv OUT"
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("rows"); // or a part of the message
    QTest::addColumn<QString>("message");
    QTest::newRow("all") << QStringList{} << 0 << 3 << QString();
    QTest::newRow("the second quarter") << QStringList{"--from", "01.04.2024", "--to", "30.06.2024"} << 0 << 2 << QString();
    QTest::newRow("to only") << QStringList{"--to", "05.03.2024"} << 0 << 1 << QString();
    QTest::newRow("no such day") << QStringList{"--from", "31.02.2024"} << 2 << 0
                                 << QStringLiteral("Geçersiz tarih \"31.02.2024\"");
    QTest::newRow("another form") << QStringList{"--to", "2024-06-30"} << 2 << 0 << QStringLiteral("gg.aa.yyyy");
    QTest::newRow("days the wrong way") << QStringList{"--from", "30.06.2024", "--to", "01.04.2024"} << 2 << 0
                                        << QStringLiteral("sonra olamaz");
    QTest::newRow("option without a day") << QStringList{"--from"} << 2 << 0 << QStringLiteral("Kullanım:");
    QTest::newRow("unknown option") << QStringList{"--kind", "Eczane"} << 2 << 0 << QStringLiteral("Kullanım:");
}

void TestOrdersWindow::headlessExport()
{
    QFETCH(QStringList, options);
    QFETCH(int, status);
    QFETCH(int, rows);
    QFETCH(QString, message);
    m_window.reset();
    const QString path = QDir(m_database->folder()).filePath(QStringLiteral("belgeler.csv"));
    const CommandOutcome outcome =
        OrdersCsvCommand::run(QStringList{QStringLiteral("--orders-csv"), path} + options);
    QCOMPARE(outcome.status, status);
    if (status != 0) {
        QVERIFY2(outcome.message.contains(message), qPrintable(outcome.message));
        QVERIFY(!outcome.message.contains(u'\n'));
        QVERIFY(!QFile::exists(path));
        return;
    }
    QCOMPARE(outcome.message, QString());
    const QByteArray bytes = TemporaryPayeeDatabase::fileContents(path);
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    QCOMPARE(QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts).size(), rows + 1);
}

void TestOrdersWindow::headlessExportWithoutAFileOrADatabase()
{
    m_window.reset();
    const QString unwritable = QDir(m_database->folder()).filePath(QStringLiteral("yok/belgeler.csv"));
    const CommandOutcome noFolder = OrdersCsvCommand::run({QStringLiteral("--orders-csv"), unwritable});
    QCOMPARE(noFolder.status, ExitStatus::kBadInput);
    QVERIFY2(noFolder.message.endsWith(QStringLiteral("yazılamadı: klasör bulunamadı.")), qPrintable(noFolder.message));

    // No database: said, and none is made.
    m_database->database().close();
    QVERIFY(QFile::remove(m_database->filePath()));
    const QString path = QDir(m_database->folder()).filePath(QStringLiteral("belgeler.csv"));
    const CommandOutcome noDatabase = OrdersCsvCommand::run({QStringLiteral("--orders-csv"), path});
    QCOMPARE(noDatabase.status, ExitStatus::kFailed);
    QVERIFY2(noDatabase.message.startsWith(QStringLiteral("Veritabanı dosyası bulunamadı")), qPrintable(noDatabase.message));
    QVERIFY(!QFile::exists(path));
    QVERIFY(!QFile::exists(m_database->filePath()));
}

void TestOrdersWindow::headlessExportNotDuringMaintenance()
{
    m_window.reset();
    const QString path = QDir(m_database->folder()).filePath(QStringLiteral("belgeler.csv"));
    {
        const Result<FolderAccess> maintenance = FolderAccess::forMaintenance(m_database->folder(), 0ms);
        QVERIFY(maintenance.succeeded() && maintenance->isLocked());
        const auto shortWait = FolderAccess::overrideWait(200ms);
        const CommandOutcome busy = OrdersCsvCommand::run({QStringLiteral("--orders-csv"), path});
        QCOMPARE(busy.status, ExitStatus::kBusy);
        QCOMPARE(busy.status, 5);
        QVERIFY2(busy.message.startsWith(QStringLiteral("Program klasörü şu anda meşgul: ")), qPrintable(busy.message));
        QVERIFY(!QFile::exists(path));
    }
    QCOMPARE(OrdersCsvCommand::run({QStringLiteral("--orders-csv"), path}).status, ExitStatus::kDone);
}

QTEST_MAIN(TestOrdersWindow)
#include "tst_OrdersWindow.moc"
