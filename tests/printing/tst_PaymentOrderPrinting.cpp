// YAZDIR on the real worksheets: the print handlers gather, fill, disable
// YAZDIR and hand the page to the preview or the printer; the preview window
// itself, headless.
#include "computation/PaymentPreferences.h"
#include "controls/TAmountEdit.h"
#include "issuing/DocumentName.h"
#include "issuing/PageOutput.h"
#include "printing/PaymentOrderPrinting.h"
#include "printing/PreviewWindow.h"
#include "printing/PrinterChoiceDialog.h"
#include "issuing/PagePainter.h"
#include "support/PrivateQueue.h"
#include "referencedata/InstitutionSettings.h"
#include "registry/OrderList.h"
#include "registry/OrderRegister.h"
#include "support/MessageRecorder.h"
#include "support/TemporaryPayeeDatabase.h"
#include "worksheets/WorksheetPanel.h"
#include "worksheets/WorksheetSet.h"

#include "support/PdfWords.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QDate kToday(2024, 3, 5);
const QDateTime kNow(kToday, QTime(9, 15));

class Preferences : public PaymentPreferences
{
public:
    bool preview = true;
    long double stampDutyRate() const override { return 8.25L; }
    int currencyChoice() const override { return 1; }
    bool previewBeforePrinting() const override { return preview; }
    bool fillApprovalDates() const override { return true; }
    int duplicateGuardDays() const override { return 45; }
};

// Keeps the pages instead of showing or printing them.
class RecordingOutput : public PageOutput
{
public:
    struct Log
    {
        QList<PaymentOrderPage> previews;
        QList<PaymentOrderPage> prints;
        QStringList names;
        Delivery printResult = Delivery::left();
        std::function<void()> duringPreview;
        // What the user does in the preview before closing it: each a
        // successful print or PDF.
        QList<OrderWay> previewExits;
    };

    RecordingOutput(Log &log, bool preview) : m_log(log), m_preview(preview) {}

    Delivery deliver(const PaymentOrderPage &page, const QString &name, const Departure &left) override
    {
        m_log.names.append(name);
        if (!m_preview) {
            m_log.prints.append(page);
            if (m_log.printResult.end == Delivery::End::Left)
                left(OrderWay::Printer);
            return m_log.printResult;
        }
        m_log.previews.append(page);
        if (m_log.duringPreview)
            m_log.duringPreview();
        for (OrderWay way : m_log.previewExits)
            left(way);
        return m_log.previewExits.isEmpty() ? Delivery::closed() : Delivery::left();
    }

private:
    Log &m_log;
    bool m_preview;
};

// The worksheets and the printing wired as the main window wires them.
struct Office
{
    Preferences preferences;
    WorksheetSet worksheets;
    TemporaryPayeeDatabase database;
    OrderRegister orders{database.database()};
    RecordingOutput::Log log;
    Result<PayeeFields> payee = PayeeFields{QStringLiteral("ŞİFA ECZANESİ"), QStringLiteral("12345678901"),
                                            QStringLiteral("ZİRAAT"), QStringLiteral("TR12"),
                                            QStringLiteral("ÇANKAYA")};
    InstitutionValues institution = InstitutionSettings::defaults();
    PaymentOrderPrinting printing;

    Office()
        : printing(preferences, orders,
                   {[this] { return institution; },
                    [this](PaymentCategory category) -> Result<DocumentFilling::PaymentInputs> {
                        if (payee.failed())
                            return payee.error();
                        return DocumentFilling::PaymentInputs{worksheets.entry(category), *payee, CodeSheet(category)};
                    }},
                   nullptr)
    {
        worksheets.setPreferences(&preferences);
        QObject::connect(&worksheets, &WorksheetSet::printRequested, &printing, &PaymentOrderPrinting::printRequested);
        QObject::connect(&printing, &PaymentOrderPrinting::printEnded, &worksheets,
                         [this](PaymentCategory category, const IssueOutcome &outcome) {
                             worksheets.printEnded(category, outcome.mayTryAgain());
                         });
        printing.setOutputs([this](bool preview) { return std::make_unique<RecordingOutput>(log, preview); });
        printing.setClock([] { return kNow; });
    }

    void compute(PaymentCategory category, const QStringList &amounts)
    {
        worksheets.clear(category);
        WorksheetPanel *panel = worksheets.panel(category);
        const std::vector<int> lines = panel->definition().amountLines();
        for (std::size_t i = 0; i < lines.size(); ++i)
            panel->field(lines[i])->setText(amounts.value(qsizetype(i)));
        panel->computeButton()->click();
    }

    void pressPrint(PaymentCategory category) { worksheets.panel(category)->printButton()->click(); }
};

QList<IssuedOrder> registerContents(PayeeDatabase &database)
{
    OrderRegister listRegister(database);
    OrderList list(listRegister);
    if (list.open({}).failed())
        return {};
    QList<IssuedOrder> orders;
    for (int row = list.rowCount() - 1; row >= 0; --row)
        orders.append(list.orderAt(row));
    return orders;
}

} // namespace

Q_DECLARE_METATYPE(Delivery::End)

class TestPaymentOrderPrinting : public QObject
{
    Q_OBJECT

private slots:
    void pharmacyThousandPreviewed();
    void directPrintWithoutPreview();
    void failedPrintKeepsTheWorksheet_data();
    void failedPrintKeepsTheWorksheet();
    void unreadablePayeeStopsThePrint();
    void everyHandlerPrintsItsKind();
    void previewWindow();
    void documentNames_data();
    void documentNames();
    void previewSavesAndOpensPdf();
    void previewPrintsOnTheChosenPrinter();
    void pageSetupOffersThePrintersAndSaysThePaperIsFixed();
    void yazdirOntoTheRealQueue_data();
    void yazdirOntoTheRealQueue();
    void recordedOnEveryWayOut_data();
    void recordedOnEveryWayOut();
    void guardAsksBeforePayingTwice_data();
    void guardAsksBeforePayingTwice();
    void unrecordedOrderIsSaidAndStillPrinted();

private:
    RecordingOutput::Log m_log;
};

void TestPaymentOrderPrinting::pharmacyThousandPreviewed()
{
    Office office;
    office.compute(PaymentCategory::Pharmacy, {QStringLiteral("1.000,00")});
    office.worksheets.panel(PaymentCategory::Pharmacy)->attachmentCountField(1)->setValue(3);
    QVERIFY(office.worksheets.isPrintEnabled(PaymentCategory::Pharmacy));
    // YAZDIR is already disabled while the preview is open.
    bool enabledDuringPreview = true;
    office.log.duringPreview = [&] { enabledDuringPreview = office.worksheets.isPrintEnabled(PaymentCategory::Pharmacy); };

    office.worksheets.panel(PaymentCategory::Pharmacy)->printButton()->click();

    QCOMPARE(office.log.previews.size(), 1);
    QVERIFY(office.log.prints.isEmpty());
    QVERIFY(!enabledDuringPreview);
    QVERIFY(!office.worksheets.isPrintEnabled(PaymentCategory::Pharmacy));
    const PaymentOrderPage &page = office.log.previews.first();
    QCOMPARE(page, office.printing.lastPage());
    QCOMPARE(page.text(QStringLiteral("MUst1")), QStringLiteral("ŞİFA ECZANESİ"));
    QCOMPARE(page.text(QStringLiteral("MH11")), QStringLiteral("1000"));
    QCOMPARE(page.text(QStringLiteral("MH23")), QStringLiteral("991"));
    QCOMPARE(page.text(QStringLiteral("MH23_")), QStringLiteral("75"));
    QCOMPARE(page.text(QStringLiteral("MToplam2")), QStringLiteral("2008"));
    QCOMPARE(page.text(QStringLiteral("MYaziyla1")),
             QStringLiteral("Yukarıda yazılı  YALNIZ: Bin TL. zenparol ettirilmiştir. Ödenmesi / Mahsubu gerekir."));
    QCOMPARE(page.text(QStringLiteral("MAcikla1")), QStringLiteral("3"));
    QCOMPARE(page.text(QStringLiteral("MAcikla1_")), QStringLiteral("Adet Fatura"));
    QCOMPARE(page.text(QStringLiteral("MHesap3")), QStringLiteral("Verilen Gönderme Emirleri Hesabı"));
    QCOMPARE(page.text(QStringLiteral("Memo397")), QStringLiteral("05.03.2024"));
    QCOMPARE(page.text(QStringLiteral("Memo442")), QStringLiteral("05.03.2024"));
    QCOMPARE(page.preparedOn, kToday);
    QCOMPARE(office.log.names, QStringList{QStringLiteral("Eczane - ŞİFA ECZANESİ")});

    // Pressing YAZDIR again needs HESAPLA first.
    office.worksheets.panel(PaymentCategory::Pharmacy)->computeButton()->click();
    QVERIFY(office.worksheets.isPrintEnabled(PaymentCategory::Pharmacy));
}

void TestPaymentOrderPrinting::directPrintWithoutPreview()
{
    Office office;
    office.preferences.preview = false;
    office.compute(PaymentCategory::Hospital, {QStringLiteral("500,00")});
    office.pressPrint(PaymentCategory::Hospital);
    QCOMPARE(office.log.prints.size(), 1);
    QVERIFY(office.log.previews.isEmpty());
    QVERIFY(!office.worksheets.isPrintEnabled(PaymentCategory::Hospital));
    QCOMPARE(office.log.prints.first().text(QStringLiteral("MH11")), QStringLiteral("500"));
}

void TestPaymentOrderPrinting::failedPrintKeepsTheWorksheet_data()
{
    QTest::addColumn<Delivery::End>("end");
    QTest::newRow("refused by the printer") << Delivery::End::Refused;
    QTest::newRow("failed") << Delivery::End::Failed;
}

void TestPaymentOrderPrinting::failedPrintKeepsTheWorksheet()
{
    QFETCH(Delivery::End, end);
    MessageRecorder messages;
    Office office;
    QVERIFY2(office.database.error().isEmpty(), qPrintable(office.database.error()));
    office.preferences.preview = false;
    office.log.printResult = {end, QStringLiteral("'MirvaselPDF' yazıcısı şu anda iş kabul etmiyor")};
    office.compute(PaymentCategory::Private, {QStringLiteral("40,00")});
    office.pressPrint(PaymentCategory::Private);

    QCOMPARE(office.log.prints.size(), 1);
    QCOMPARE(messages.requests().size(), 1);
    QCOMPARE(messages.requests().first().icon, MessageBoxes::Icon::Stop);
    QVERIFY(messages.requests().first().text.startsWith(QStringLiteral("'MirvaselPDF' yazıcısı şu anda iş kabul")));
    // Nothing is recorded, and the user can print again once the printer is there.
    QVERIFY(registerContents(office.database.database()).isEmpty());
    QVERIFY(office.worksheets.isPrintEnabled(PaymentCategory::Private));
    QCOMPARE(office.worksheets.line(PaymentCategory::Private, 1).text, QStringLiteral("40,00"));
}

void TestPaymentOrderPrinting::unreadablePayeeStopsThePrint()
{
    MessageRecorder messages;
    Office office;
    office.compute(PaymentCategory::Pharmacy, {QStringLiteral("1.000,00")});
    office.pressPrint(PaymentCategory::Pharmacy);
    const PaymentOrderPage before = office.printing.raporlar().prepare(kToday);

    office.compute(PaymentCategory::Treatment, {QStringLiteral("250,00"), QString()});
    office.payee = Failure(QStringLiteral("Veritabanı dosyası okunamadı"));
    office.pressPrint(PaymentCategory::Treatment);

    QCOMPARE(office.log.previews.size(), 1); // only the first print
    QCOMPARE(messages.requests().size(), 1);
    QVERIFY(messages.requests().first().text.contains(QStringLiteral("Veritabanı dosyası okunamadı")));
    QVERIFY(office.worksheets.isPrintEnabled(PaymentCategory::Treatment));
    QCOMPARE(office.printing.raporlar().prepare(kToday), before); // nothing written
}

void TestPaymentOrderPrinting::everyHandlerPrintsItsKind()
{
    Office office;
    const QStringList amounts{QStringLiteral("10,00"), QStringLiteral("20,00")};
    const std::array<void (PaymentOrderPrinting::*)(), kCategoryCount> handlers = {
        &PaymentOrderPrinting::BtnPrintClick, &PaymentOrderPrinting::BtnPrint2Click,
        &PaymentOrderPrinting::BtnPrint3Click, &PaymentOrderPrinting::BtnPrint4Click};
    for (PaymentCategory category : kAllCategories) {
        office.compute(category, amounts);
        (office.printing.*handlers[std::size_t(categoryIndex(category))])();
        // Treatment writes rows 8 and 9; the others leave them empty.
        const QString row9 = office.printing.lastPage().text(QStringLiteral("MHesap9"));
        QCOMPARE(row9.isEmpty(), category != PaymentCategory::Treatment);
    }
    QCOMPARE(office.log.names, QStringList({"Eczane - ŞİFA ECZANESİ", "Hastane - ŞİFA ECZANESİ",
                                            "Tedavi - ŞİFA ECZANESİ", "Özel - ŞİFA ECZANESİ"}));
}

void TestPaymentOrderPrinting::previewWindow()
{
    Raporlar raporlar;
    PreviewWindow window(raporlar.prepare(kToday), QStringLiteral("Eczane - ŞİFA"));
    QCOMPARE(window.previewWidget()->zoomMode(), QPrintPreviewWidget::CustomZoom);
    QCOMPARE(window.previewWidget()->zoomFactor(), 1.0);
    QVERIFY(window.isModal());
    const QStringList captions{"Yazdır", "Sayfa Yapısı", "PDF Kaydet", "PDF Aç", "Yakınlaştır", "Uzaklaştır",
                               "%100", "Sayfa Genişliği", "Tüm Sayfa", "Ana Hatlar", "Kapat"};
    QStringList shown;
    for (const char *name : {"ActPrint", "ActPageSetup", "ActSave", "ActOpen", "ActZoomIn", "ActZoomOut",
                             "ActActualSize", "ActFitWidth", "ActFitPage", "ActOutline", "ActClose"}) {
        QAction *action = window.action(QString::fromLatin1(name));
        QVERIFY2(action, name);
        shown << action->text();
    }
    QCOMPARE(shown, captions);

    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.previewWidget()->pageCount(), 1);
    QVERIFY(window.outline()->isHidden());
    window.action(QStringLiteral("ActOutline"))->trigger();
    QVERIFY(window.outline()->isVisible());
    QCOMPARE(window.outline()->count(), 1);
    window.action(QStringLiteral("ActZoomIn"))->trigger();
    QVERIFY(window.previewWidget()->zoomFactor() > 1.0);
    window.action(QStringLiteral("ActActualSize"))->trigger();
    QCOMPARE(window.previewWidget()->zoomFactor(), 1.0);
    QVERIFY(window.suggestedFilePath().endsWith(QStringLiteral("/Eczane - ŞİFA.pdf")));
}

void TestPaymentOrderPrinting::documentNames_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<QString>("payee");
    QTest::addColumn<QString>("name");
    QTest::newRow("payee") << categoryIndex(PaymentCategory::Pharmacy) << "ŞİFA ECZANESİ" << "Eczane - ŞİFA ECZANESİ";
    QTest::newRow("characters a file name cannot hold")
        << categoryIndex(PaymentCategory::Private) << "A/B: C*D?\"E\"" << "Özel - A B C D E";
    QTest::newRow("no payee") << categoryIndex(PaymentCategory::Treatment) << "" << "Tedavi";
    QTest::newRow("blanks only") << categoryIndex(PaymentCategory::Hospital) << "  " << "Hastane";
}

void TestPaymentOrderPrinting::documentNames()
{
    QFETCH(int, category);
    QFETCH(QString, payee);
    QFETCH(QString, name);
    QCOMPARE(documentName(PaymentCategory(category), payee), name);
}

void TestPaymentOrderPrinting::previewSavesAndOpensPdf()
{
    QTemporaryDir folder;
    Raporlar raporlar;
    raporlar.setText(QStringLiteral("MUst1"), QStringLiteral("ŞİFA ECZANESİ"));
    PreviewWindow window(raporlar.prepare(kToday), QStringLiteral("Eczane - ŞİFA ECZANESİ"));
    QList<OrderWay> issued;
    connect(&window, &PreviewWindow::issued, this, [&](OrderWay way) { issued.append(way); });

    // A cancelled file dialog and a file that cannot be written are no issue.
    {
        const auto cancelling = PreviewWindow::overrideSaveChooser([](QWidget *, const QString &) { return QString(); });
        window.action(QStringLiteral("ActSave"))->trigger();
    }
    {
        const auto unwritable = PreviewWindow::overrideSaveChooser(
            [&](QWidget *, const QString &) { return folder.filePath(QStringLiteral("yok/belge.pdf")); });
        MessageRecorder messages;
        window.action(QStringLiteral("ActSave"))->trigger();
        QCOMPARE(messages.requests().size(), 1);
    }
    QVERIFY(issued.isEmpty());

    QString suggested;
    QStringList opened;
    {
        const auto saving = PreviewWindow::overrideSaveChooser([&](QWidget *, const QString &path) {
            suggested = path;
            return folder.filePath(QStringLiteral("belge")); // the suffix is added
        });
        const auto opening = PreviewWindow::overrideOpenChooser(
            [&](QWidget *, const QString &) { return folder.filePath(QStringLiteral("belge.pdf")); });
        const auto viewer = PreviewWindow::overrideViewer([&](const QString &path) {
            opened << path;
            return true;
        });
        window.action(QStringLiteral("ActSave"))->trigger();
        window.action(QStringLiteral("ActOpen"))->trigger();
    }

    QVERIFY(suggested.endsWith(QStringLiteral("Eczane - ŞİFA ECZANESİ.pdf")));
    QFile saved(folder.filePath(QStringLiteral("belge.pdf")));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QVERIFY(saved.read(5) == "%PDF-");
    QCOMPARE(opened, QStringList{folder.filePath(QStringLiteral("belge.pdf"))});
    QCOMPARE(issued, QList<OrderWay>{OrderWay::Pdf});
    QVERIFY2(PdfWords::available(), "pdftotext (poppler-utils) is missing");
    QVERIFY(PdfWords::allText(PdfWords::read(saved.fileName())).contains(QStringLiteral("ŞİFA ECZANESİ")));

}

// "Yazdır" prints on the printer page set-up chose, and only a page the
// printer took has left.
void TestPaymentOrderPrinting::previewPrintsOnTheChosenPrinter()
{
    Raporlar raporlar;
    const PaymentOrderPage page = raporlar.prepare(kToday);
    QStringList askedFor;
    Delivery answer = Delivery::left();
    PreviewWindow window(page, QStringLiteral("Eczane"), nullptr, [&](const QString &printer) {
        askedFor.append(printer);
        auto output = std::make_unique<RecordingOutput>(m_log, false);
        m_log.printResult = answer;
        return output;
    });
    QList<OrderWay> issued;
    connect(&window, &PreviewWindow::issued, this, [&](OrderWay way) { issued.append(way); });

    window.action(QStringLiteral("ActPrint"))->trigger();
    window.setPrinterName(QStringLiteral("KAT2-LAZER"));
    window.action(QStringLiteral("ActPrint"))->trigger();
    QCOMPARE(askedFor, (QStringList{QString(), QStringLiteral("KAT2-LAZER")}));
    QCOMPARE(m_log.prints, (QList<PaymentOrderPage>{page, page}));
    QCOMPARE(issued, (QList<OrderWay>{OrderWay::Printer, OrderWay::Printer}));

    MessageRecorder messages;
    answer = Delivery::refused(QStringLiteral("'KAT2-LAZER' yazıcısı durdurulmuş. Belge yazdırılmadı"));
    window.action(QStringLiteral("ActPrint"))->trigger();
    QCOMPARE(issued.size(), 2);
    QCOMPARE(messages.requests().size(), 1);
    QCOMPARE(messages.requests().first().icon, MessageBoxes::Icon::Stop);
    QVERIFY(messages.requests().first().text.startsWith(QStringLiteral("'KAT2-LAZER' yazıcısı durdurulmuş.")));
}

void TestPaymentOrderPrinting::pageSetupOffersThePrintersAndSaysThePaperIsFixed()
{
    const QList<CupsPrinting::Printer> printers{{QStringLiteral("MirvaselPDF"), QStringLiteral("PDF"), true},
                                                {QStringLiteral("KAT2-LAZER"), QStringLiteral("KAT2-LAZER"), false}};
    PrinterChoiceDialog dialog(printers, QStringLiteral("KAT2-LAZER"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Sayfa Yapısı"));
    // A frame of one size: no minimise or maximise button.
    QVERIFY(dialog.windowFlags().testFlag(Qt::CustomizeWindowHint));
    QVERIFY(!dialog.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!dialog.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    QStringList shown;
    for (int i = 0; i < dialog.printerList()->count(); ++i)
        shown.append(dialog.printerList()->itemText(i));
    QCOMPARE(shown, (QStringList{"Varsayılan yazıcı", "PDF (MirvaselPDF) - varsayılan", "KAT2-LAZER"}));
    QCOMPARE(dialog.chosenPrinter(), QStringLiteral("KAT2-LAZER"));
    dialog.printerList()->setCurrentIndex(0);
    QCOMPARE(dialog.chosenPrinter(), QString());
    QCOMPARE(dialog.paperNote()->text(), QStringLiteral("A4, dikey"));
    QVERIFY(dialog.problem()->isHidden());

    const PrinterChoiceDialog withoutService(Failure(QStringLiteral("Yazdırma hizmetine (CUPS) ulaşılamadı.")),
                                             QString());
    QCOMPARE(withoutService.printerList()->count(), 1);
    QCOMPARE(withoutService.problem()->text(), QStringLiteral("Yazdırma hizmetine (CUPS) ulaşılamadı."));
    QVERIFY(!withoutService.problem()->isHidden());
}

void TestPaymentOrderPrinting::yazdirOntoTheRealQueue_data()
{
    QTest::addColumn<QList<QStringList>>("change");
    QTest::addColumn<QList<QStringList>>("undo");
    QTest::addColumn<QString>("refusal"); // empty: the page comes out
    const QString queue = PrivateQueue::name();
    QTest::newRow("accepted") << QList<QStringList>{} << QList<QStringList>{} << QString();
    QTest::newRow("queue refusing jobs") << QList<QStringList>{{"cupsreject", queue}}
                                         << QList<QStringList>{{"cupsaccept", queue}}
                                         << QStringLiteral("'MirvaselPDF' yazıcısı şu anda iş kabul etmiyor.");
    QTest::newRow("queue stopped") << QList<QStringList>{{"cupsdisable", queue}}
                                   << QList<QStringList>{{"cupsenable", queue}}
                                   << QStringLiteral("'MirvaselPDF' yazıcısı durdurulmuş.");
}

// YAZDIR straight onto the default printer of a real print service: the page
// the queue writes is ours and is recorded once; a queue that refuses or is
// stopped gets nothing, nothing is recorded, the user is told why and YAZDIR
// can be pressed again.
void TestPaymentOrderPrinting::yazdirOntoTheRealQueue()
{
    QFETCH(QList<QStringList>, change);
    QFETCH(QList<QStringList>, undo);
    QFETCH(QString, refusal);
    const QString unavailable = PrivateQueue::unavailable();
    QVERIFY2(unavailable.isEmpty(), qPrintable(unavailable));

    MessageRecorder messages;
    Office office;
    QVERIFY2(office.database.error().isEmpty(), qPrintable(office.database.error()));
    office.printing.setOutputs({}); // the real printer
    office.preferences.preview = false;
    office.compute(PaymentCategory::Pharmacy, {QStringLiteral("1.000,00")});
    const QSet<QString> before = PrivateQueue::pdfFiles();
    QString problem;
    const QSet<QString> pendingBefore = PrivateQueue::pendingJobs(&problem);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    {
        const PrivateQueue::Restore restore(undo);
        for (const QStringList &command : change)
            QVERIFY2(PrivateQueue::run(command).isEmpty(), qPrintable(PrivateQueue::run(command)));
        office.pressPrint(PaymentCategory::Pharmacy);
    }
    const QList<IssuedOrder> recorded = registerContents(office.database.database());

    if (!refusal.isEmpty()) {
        QCOMPARE(messages.requests().size(), 1);
        QCOMPARE(messages.requests().first().icon, MessageBoxes::Icon::Stop);
        QVERIFY2(messages.requests().first().text.startsWith(refusal), qPrintable(messages.requests().first().text));
        QVERIFY(recorded.isEmpty());
        QVERIFY(office.worksheets.isPrintEnabled(PaymentCategory::Pharmacy));
        QCOMPARE(PrivateQueue::pendingJobs(&problem), pendingBefore);
        QCOMPARE(PrivateQueue::pdfFiles(), before);
        return;
    }
    QVERIFY2(messages.requests().isEmpty(), qPrintable(messages.texts().join(u'|')));
    QVERIFY(!office.worksheets.isPrintEnabled(PaymentCategory::Pharmacy));
    QCOMPARE(recorded.size(), 1);
    QCOMPARE(recorded.first().ways, int(OrderWay::Printer));
    const QString written = PrivateQueue::awaitNewFile(before);
    QVERIFY2(!written.isEmpty(), "the queue wrote no PDF within two minutes");
    QTemporaryDir folder;
    const QString ours = folder.filePath(QStringLiteral("ours.pdf"));
    QVERIFY(PagePainter::savePdf(office.printing.lastPage(), ours, QStringLiteral("ours")).succeeded());
    const QString difference = PrivateQueue::pageDifference(QDir(PrivateQueue::outFolder()).filePath(written), ours);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void TestPaymentOrderPrinting::recordedOnEveryWayOut_data()
{
    QTest::addColumn<bool>("preview");
    QTest::addColumn<QList<OrderWay>>("exits");
    QTest::addColumn<bool>("printFails");
    QTest::addColumn<int>("ways"); // of the one record; 0: no record
    QTest::newRow("preview closed") << true << QList<OrderWay>{} << false << 0;
    QTest::newRow("printed from the preview") << true << QList<OrderWay>{OrderWay::Printer} << false
                                              << int(OrderWay::Printer);
    QTest::newRow("saved as PDF from the preview") << true << QList<OrderWay>{OrderWay::Pdf} << false
                                                   << int(OrderWay::Pdf);
    QTest::newRow("saved, then printed twice: one order")
        << true << QList<OrderWay>{OrderWay::Pdf, OrderWay::Printer, OrderWay::Printer} << false
        << (int(OrderWay::Pdf) | int(OrderWay::Printer));
    QTest::newRow("printed directly") << false << QList<OrderWay>{} << false << int(OrderWay::Printer);
    QTest::newRow("direct print refused") << false << QList<OrderWay>{} << true << 0;
}

void TestPaymentOrderPrinting::recordedOnEveryWayOut()
{
    QFETCH(bool, preview);
    QFETCH(QList<OrderWay>, exits);
    QFETCH(bool, printFails);
    QFETCH(int, ways);
    MessageRecorder messages;
    Office office;
    QVERIFY2(office.database.error().isEmpty(), qPrintable(office.database.error()));
    office.preferences.preview = preview;
    office.log.previewExits = exits;
    if (printFails)
        office.log.printResult = Delivery::refused(QStringLiteral("Yazıcı durdurulmuş"));
    office.compute(PaymentCategory::Pharmacy, {QStringLiteral("1.000,00")});
    office.pressPrint(PaymentCategory::Pharmacy);

    const QList<IssuedOrder> recorded = registerContents(office.database.database());
    if (ways == 0) {
        QVERIFY(recorded.isEmpty());
        return;
    }
    QCOMPARE(recorded.size(), 1);
    const IssuedOrder &order = recorded.first();
    QCOMPARE(order.number, qint64(1));
    QCOMPARE(order.ways, ways);
    QCOMPARE(order.category, PaymentCategory::Pharmacy);
    QCOMPARE(order.payee, *office.payee);
    QCOMPARE(order.gross, qint64(100000));
    QCOMPARE(order.stamp, qint64(825));
    QCOMPARE(order.net, qint64(99175));
    QCOMPARE(order.issuedAt.date(), kToday);
    QCOMPARE(order.issuedAt, kNow);
    QVERIFY(!order.isReprint());
    const Result<QByteArray> stored = office.orders.page(order.number);
    QVERIFY(stored.succeeded());
    QCOMPARE(pageFromStore(*stored), std::optional<PaymentOrderPage>(office.printing.lastPage()));
    QVERIFY2(messages.requests().isEmpty() == !printFails, qPrintable(messages.texts().join(u'|')));
}

void TestPaymentOrderPrinting::guardAsksBeforePayingTwice_data()
{
    QTest::addColumn<int>("daysAgo");
    QTest::addColumn<QString>("name");
    QTest::addColumn<MessageBoxes::Button>("answer");
    QTest::addColumn<bool>("asked");
    const QString same = QStringLiteral("ŞİFA ECZANESİ");
    QTest::newRow("yesterday, no") << 1 << same << MessageBoxes::Button::No << true;
    QTest::newRow("yesterday, yes") << 1 << same << MessageBoxes::Button::Yes << true;
    QTest::newRow("45 days ago") << 45 << same << MessageBoxes::Button::No << true;
    QTest::newRow("46 days ago") << 46 << same << MessageBoxes::Button::No << false;
    QTest::newRow("name in other case") << 3 << QStringLiteral("Şifa Eczanesi") << MessageBoxes::Button::No << true;
    QTest::newRow("another payee") << 3 << QStringLiteral("DEVA ECZANESİ") << MessageBoxes::Button::No << false;
}

void TestPaymentOrderPrinting::guardAsksBeforePayingTwice()
{
    QFETCH(int, daysAgo);
    QFETCH(QString, name);
    QFETCH(MessageBoxes::Button, answer);
    QFETCH(bool, asked);
    Office office;
    QVERIFY2(office.database.error().isEmpty(), qPrintable(office.database.error()));
    IssuedOrder earlier;
    earlier.issuedAt = QDateTime(kToday.addDays(-daysAgo), QTime(16, 45));
    earlier.ways = int(OrderWay::Printer);
    earlier.payee[0] = name;
    earlier.gross = 100000;
    QVERIFY(office.orders.record(earlier, QByteArrayLiteral("sayfa")).succeeded());

    MessageRecorder messages({answer});
    office.preferences.preview = false;
    office.compute(PaymentCategory::Pharmacy, {QStringLiteral("1.000,00")});
    office.pressPrint(PaymentCategory::Pharmacy);

    if (!asked) {
        QVERIFY(messages.requests().isEmpty());
        QCOMPARE(office.log.prints.size(), 1);
        return;
    }
    QCOMPARE(messages.requests().size(), 1);
    const MessageBoxes::Request &question = messages.requests().first();
    QCOMPARE(question.text, QStringLiteral("Bu kişiye aynı tutarda %1 tarihinde 1 numaralı belge düzenlenmiş. "
                                           "Yine de yazdırılsın mı?")
                                .arg(kToday.addDays(-daysAgo).toString(QStringLiteral("dd.MM.yyyy"))));
    QCOMPARE(question.buttons, (QList<MessageBoxes::Button>{MessageBoxes::Button::Yes, MessageBoxes::Button::No}));
    QCOMPARE(question.defaultButton, std::optional<MessageBoxes::Button>(MessageBoxes::Button::No));
    const bool printed = answer == MessageBoxes::Button::Yes;
    QCOMPARE(office.log.prints.size(), printed ? 1 : 0);
    QCOMPARE(registerContents(office.database.database()).size(), printed ? 2 : 1);
    // "Hayır" writes nothing: YAZDIR stays ready for when it is wanted.
    QCOMPARE(office.worksheets.isPrintEnabled(PaymentCategory::Pharmacy), !printed);
}

// A register that cannot take the record does not stop the payment: the
// order leaves, and the user is told it was not recorded.
void TestPaymentOrderPrinting::unrecordedOrderIsSaidAndStillPrinted()
{
    Office office;
    QVERIFY2(office.database.error().isEmpty(), qPrintable(office.database.error()));
    office.database.database().close();
    MessageRecorder messages;
    office.preferences.preview = false;
    office.compute(PaymentCategory::Hospital, {QStringLiteral("500,00")});
    office.pressPrint(PaymentCategory::Hospital);

    QCOMPARE(office.log.prints.size(), 1);
    QCOMPARE(messages.requests().size(), 1);
    QCOMPARE(messages.requests().first().icon, MessageBoxes::Icon::Warning);
    QVERIFY2(messages.requests().first().text.startsWith(QStringLiteral("Belgenin çıktısı alındı, ancak belge kaydına "
                                                                        "işlenemedi.")),
             qPrintable(messages.requests().first().text));
}

QTEST_MAIN(TestPaymentOrderPrinting)
#include "tst_PaymentOrderPrinting.moc"
