// The form as data, the report object that holds its texts, the fit rule
// that keeps every figure and sentence whole, and the geometry of a page
// painted into a PDF and read back.
#include "computation/PaymentEntry.h"
#include "issuing/PageLayout.h"
#include "issuing/PagePainter.h"
#include "issuing/PaymentOrderPage.h"
#include "issuing/PaymentOrderTemplate.h"

#include "support/PdfWords.h"

#include <QGuiApplication>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace PaymentOrderTemplate;

namespace {

const QDate kToday(2024, 3, 5);

// The body band's origin on the sheet.
constexpr double kBodyX = 15.0;
constexpr double kBodyY = 22.0;

QString sentenceFor(const QString &amount)
{
    return PaymentEntry::firstSentence(PaymentEntry::words(amount, 1));
}

// The text without its blanks: what must survive any line breaking.
QString inked(const QString &text)
{
    QString result = text;
    result.remove(u' ');
    result.remove(u'\n');
    return result;
}

// Fails with the box's name when a placed line leaves its box.
void verifyInside(const PageLayout::Layout &layout)
{
    for (const PageLayout::PlacedText &text : layout.texts) {
        const Box *box = find(text.box);
        QVERIFY(box);
        const double width = PageLayout::textWidth(text.text, text.pointSize, text.bold);
        const double top = text.baseline.y() - PageLayout::ascent(text.pointSize, text.bold);
        const double bottom = text.baseline.y() + PageLayout::descent(text.pointSize, text.bold);
        const QRectF area = box->rotated ? QRectF(0, 0, box->h, box->w) : box->sheetRect();
        const QString where = text.box + QStringLiteral(": ") + text.text;
        QVERIFY2(text.baseline.x() >= area.left() - 1e-6 && text.baseline.x() + width <= area.right() + 1e-6,
                 qPrintable(where));
        QVERIFY2(top >= area.top() - 1e-6 && bottom <= area.bottom() + 1e-6, qPrintable(where));
    }
}

// The words of the page painted into a PDF, as a reader finds them.
QList<PdfWords::Word> paintedWords(const Raporlar &raporlar)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("page.pdf"));
    if (PagePainter::savePdf(raporlar.prepare(kToday), path, QStringLiteral("Deneme")).failed())
        return {};
    return PdfWords::read(path);
}

} // namespace

class TestPaymentOrderPage : public QObject
{
    Q_OBJECT

private slots:
    void boxesOfTheTemplate_data();
    void boxesOfTheTemplate();
    void everyBoxInsideItsBand();
    void gridRows();
    void raporlarHoldsTextsAcrossDocuments();
    void fitRule_data();
    void fitRule();
    void nothingLeavesItsBox();
    void geometryReadBackFromPdf();
    void largestAmountsStayWholeInPdf();
    void fontsEmbeddedInPdf();
};

void TestPaymentOrderPage::boxesOfTheTemplate_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRectF>("sheet"); // mm on the sheet
    QTest::addColumn<bool>("framed");
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<double>("margin");
    QTest::addColumn<bool>("rotated");
    QTest::addColumn<QString>("text");

    const int LC = int(Qt::AlignLeft | Qt::AlignVCenter);
    const int CC = int(Qt::AlignHCenter | Qt::AlignVCenter);
    const int RC = int(Qt::AlignRight | Qt::AlignVCenter);
    const int LT = int(Qt::AlignLeft | Qt::AlignTop);
    const int CT = int(Qt::AlignHCenter | Qt::AlignTop);
    const auto body = [](double x, double y, double w, double h) { return QRectF(kBodyX + x, kBodyY + y, w, h); };
    QTest::newRow("title") << "Memo2" << QRectF(15, 15, 180, 5) << false << 12.0 << true << CT << 0.5 << false
                           << "MİRVASEL BELGESİ";
    QTest::newRow("caption") << "Memo1" << body(0, 0, 25, 5) << true << 6.75 << false << LC << 0.5 << false
                             << "Muhasebe Birim Kodu";
    QTest::newRow("payee name") << "MUst1" << body(125, 5, 55, 5) << true << 8.25 << false << LC << 0.5 << false << "";
    QTest::newRow("İlgilinin") << "Memo24" << body(93, 5, 5, 25) << true << 8.25 << false << CC << 0.5 << true
                               << "İlgilinin";
    QTest::newRow("Hesap No") << "Memo35" << body(0, 32, 14, 15) << true << 8.25 << false << CC << 0.5 << false
                              << "Hesap\n No";
    QTest::newRow("Fin. Kd.") << "Memo46" << body(54, 32, 5, 10) << true << 6.75 << false << CC << 0.5 << true
                              << "Fin. Kd.";
    QTest::newRow("debit lira") << "MH11" << body(79, 47, 16, 5) << true << 8.25 << false << RC << 1.3 << false << "";
    QTest::newRow("credit kuruş row 9") << "MH29_" << body(118, 87, 7, 5) << true << 8.25 << false << CC << 0.5
                                        << false << "";
    QTest::newRow("account name") << "MHesap1" << body(125, 47, 55, 5) << true << 8.25 << false << LC << 1.1 << false
                                  << "";
    QTest::newRow("row 16 name") << "Memo364" << body(125, 122, 55, 5) << true << 8.25 << false << CC << 0.5
                                 << false << "";
    QTest::newRow("Toplam") << "Memo370" << body(0, 127, 79, 5) << true << 8.25 << true << RC << 0.5 << false
                            << "Toplam ";
    QTest::newRow("credit total") << "MToplam2" << body(102, 127, 16, 5) << true << 8.25 << true << RC << 1.3
                                  << false << "";
    QTest::newRow("words") << "MYaziyla1" << body(0, 134, 180, 5) << false << 8.25 << false << LT << 1.1 << false
                           << "";
    QTest::newRow("last summary kuruş caption") << "Memo385" << body(98, 149, 7, 5) << true << 8.25 << false << CC
                                                << 0.5 << false << "YKr";
    QTest::newRow("preparation date") << "Memo397" << body(125, 141, 55, 5) << false << 9.0 << false << CC << 0.5
                                      << false << "";
    QTest::newRow("preparer's post") << "Memo400" << body(125, 156, 55, 6) << false << 9.0 << false << CC << 0.5
                                     << false << "Görevi";
    QTest::newRow("attachment") << "MAcikla6_" << body(109, 194, 66, 4) << false << 8.25 << false << LC << 0.5
                                << false << "";
    QTest::newRow("basis lira") << "Memo414" << body(74, 190, 17, 5) << true << 8.25 << false << CC << 0.5 << false
                                << "YTL";
    QTest::newRow("right approval date") << "Memo447" << body(121, 206, 58, 4) << false << 8.25 << false << CC
                                         << 0.5 << false << "..../..../20......";
    QTest::newRow("receipt") << "MYaziyla2" << body(0, 227, 180, 7) << true << 8.25 << false << LT << 1.1 << false
                             << "";
    QTest::newRow("footnote") << "Memo7" << body(1, 235, 178, 5) << false << 8.25 << false << LT << 0.5 << false
                              << "";
}

void TestPaymentOrderPage::boxesOfTheTemplate()
{
    QFETCH(QString, name);
    QFETCH(QRectF, sheet);
    QFETCH(bool, framed);
    QFETCH(double, points);
    QFETCH(bool, bold);
    QFETCH(int, alignment);
    QFETCH(double, margin);
    QFETCH(bool, rotated);
    QFETCH(QString, text);

    const Box *box = find(name);
    QVERIFY(box);
    QCOMPARE(box->sheetRect(), sheet);
    QCOMPARE(box->framed, framed);
    QCOMPARE(box->pointSize, points);
    QCOMPARE(box->bold, bold);
    QCOMPARE(int(box->horizontal | box->vertical), alignment);
    QCOMPARE(box->margin, margin);
    QCOMPARE(box->rotated, rotated);
    QCOMPARE(box->fixedText, text);
}

void TestPaymentOrderPage::everyBoxInsideItsBand()
{
    QSet<QString> names;
    for (const Box &box : boxes()) {
        QVERIFY2(!names.contains(box.name), qPrintable(box.name));
        names.insert(box.name);
        const double bandHeight = box.band == Band::Title ? kTitleBandHeight : kBodyBandHeight;
        QVERIFY2(box.x >= 0 && box.y >= 0 && box.x + box.w <= 180 && box.y + box.h <= bandHeight, qPrintable(box.name));
        // Every value lies on the 0.5 mm grid.
        for (double value : {box.x, box.y, box.w, box.h})
            QVERIFY2(std::fmod(value * 2, 1.0) == 0.0, qPrintable(box.name));
    }
    // The summary has four money columns.
    QVERIFY(find(QStringLiteral("Memo384")) && find(QStringLiteral("Memo395")));
    QVERIFY(!find(QStringLiteral("Memo386")));
}

void TestPaymentOrderPage::gridRows()
{
    for (int row = 1; row <= 16; ++row) {
        const double y = 47 + 5 * (row - 1);
        for (int column = 1; column <= 14; ++column) {
            const Box *box = find(codeBox(row, column));
            QVERIFY(box);
            QCOMPARE(box->y, y);
            QVERIFY(box->framed);
        }
        QCOMPARE(find(codeBox(row, 1))->w, 14.0);
        QCOMPARE(find(codeBox(row, 14))->x, 74.0);
    }
    QCOMPARE(codeBox(10, 1), QStringLiteral("Memo232"));
    // Rows 10 to 16 end with Memo364; each row numbers 19 boxes.
    for (int number = 232; number <= 364; ++number)
        QVERIFY2(find(QStringLiteral("Memo%1").arg(number)), qPrintable(QString::number(number)));
    QCOMPARE(find(QStringLiteral("Memo250"))->x, 125.0); // row 10's name cell
    QCOMPARE(find(QStringLiteral("Memo246"))->horizontal, Qt::AlignRight); // row 10's debit lira
}

void TestPaymentOrderPage::raporlarHoldsTextsAcrossDocuments()
{
    Raporlar raporlar;
    QCOMPARE(raporlar.text(QStringLiteral("Memo54")), QStringLiteral("YTL"));
    raporlar.setText(QStringLiteral("MH11"), QStringLiteral("1000"));
    raporlar.setText(QStringLiteral("Memo54"), QString());
    QCOMPARE(raporlar.text(QStringLiteral("MH11")), QStringLiteral("1000"));
    QCOMPARE(raporlar.text(QStringLiteral("Memo54")), QString());

    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const PaymentOrderPage page = raporlar.prepare(kToday);
    QLocale::setDefault(before);
    QCOMPARE(page.preparedOn, kToday);
    QCOMPARE(page.text(QStringLiteral("Memo397")), QStringLiteral("05.03.2024"));
    QCOMPARE(page.text(QStringLiteral("MH11")), QStringLiteral("1000"));
    QCOMPARE(page.texts.size(), boxes().size());
    // Preparing takes nothing away: the next page starts from the same texts.
    QCOMPARE(raporlar.prepare(kToday), page);
}

void TestPaymentOrderPage::fitRule_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("smallest"); // the size may not go below
    QTest::addColumn<double>("largest");
    QTest::addColumn<int>("maximumLines");

    QTest::newRow("four digits keep their size") << "MH11" << "1000" << 8.25 << 8.25 << 1;
    QTest::newRow("13-digit amount") << "MH11" << "9999999999999" << 5.0 << 8.0 << 1;
    QTest::newRow("largest total, 14 digits") << "MToplam1" << "20082499999999" << 4.5 << 5.2 << 1;
    QTest::newRow("summary column") << "Memo388" << "9999999999999" << 4.0 << 8.0 << 1;
    QTest::newRow("short sentence") << "MYaziyla1" << sentenceFor("1.000,00") << 8.25 << 8.25 << 1;
    QTest::newRow("1.780.000,00 sentence") << "MYaziyla1" << sentenceFor("1.780.000,00") << 8.25 << 8.25 << 1;
    QTest::newRow("1.787.787,87 sentence, smaller") << "MYaziyla1" << sentenceFor("1.787.787,87") << 7.0 << 8.0 << 1;
    QTest::newRow("largest sentence, two lines") << "MYaziyla1" << sentenceFor("9.999.999.999.999,99") << 5.0 << 6.0
                                                 << 2;
    QTest::newRow("sentence broken between compact words")
        << "MAcikla1_" << PaymentEntry::secondSentence(PaymentEntry::words("9.917.499.999.999,99", 1)) << 2.0 << 5.0 << 3;
    QTest::newRow("long receipt") << "MYaziyla2" << PaymentEntry::secondSentence(PaymentEntry::words("9.917.499.999.999,99", 1))
                                  << 5.0 << 8.25 << 3;
    QTest::newRow("long payee name") << "MUst1"
                                     << "ŞİFA ECZANESİ VE SAĞLIK ÜRÜNLERİ TİCARET LİMİTED ŞİRKETİ ÇANKAYA ŞUBESİ"
                                     << 4.0 << 8.0 << 2;
}

void TestPaymentOrderPage::fitRule()
{
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(double, smallest);
    QFETCH(double, largest);
    QFETCH(int, maximumLines);

    const Box *target = find(box);
    const PageLayout::Fit fit = PageLayout::fit(*target, text);
    QVERIFY2(fit.pointSize >= smallest && fit.pointSize <= largest, qPrintable(QString::number(fit.pointSize)));
    QVERIFY(fit.lines.size() <= maximumLines);
    QCOMPARE(inked(fit.lines.join(QString())), inked(text)); // nothing cut
    const double height = (fit.lines.size() - 1) * PageLayout::lineSpacing(fit.pointSize, target->bold)
        + PageLayout::ascent(fit.pointSize, target->bold) + PageLayout::descent(fit.pointSize, target->bold);
    QVERIFY(height <= PageLayout::innerHeight(*target) + 1e-9);
    for (const QString &line : fit.lines)
        QVERIFY2(PageLayout::textWidth(line, fit.pointSize, target->bold) <= PageLayout::innerWidth(*target) + 1e-9,
                 qPrintable(line));
    // A sentence is broken between words, never inside a compact part.
    if (box.startsWith(QStringLiteral("MYaziyla"))) {
        for (qsizetype i = 0; i + 1 < fit.lines.size(); ++i) {
            const QString next = fit.lines[i + 1];
            const QRegularExpression atBlank(QRegularExpression::escape(fit.lines[i].right(4)) + QStringLiteral(" +")
                                             + QRegularExpression::escape(next.left(4)));
            QVERIFY2(next[0].isUpper() || atBlank.match(text).hasMatch(),
                     qPrintable(fit.lines[i] + QStringLiteral(" | ") + next));
        }
    }
}

void TestPaymentOrderPage::nothingLeavesItsBox()
{
    // Every box filled with more than it can hold at its size.
    PaymentOrderPage page{{}, kToday};
    for (const Box &box : boxes())
        page.texts.insert(box.name, box.figure ? QStringLiteral("20082499999999") : sentenceFor("9.999.999.999.999,99"));
    page.texts.insert(QStringLiteral("Memo35"), QStringLiteral("Hesap\n No"));
    verifyInside(PageLayout::layOut(page));
}

void TestPaymentOrderPage::geometryReadBackFromPdf()
{
    QVERIFY2(PdfWords::available(), "pdftotext (poppler-utils) is missing");
    Raporlar raporlar;
    raporlar.setText(QStringLiteral("MUst1"), QStringLiteral("ŞİFA ECZANESİ"));
    raporlar.setText(QStringLiteral("MH11"), QStringLiteral("1000"));
    raporlar.setText(QStringLiteral("MH11_"), QStringLiteral("00"));
    raporlar.setText(QStringLiteral("MHesap1"), QStringLiteral("Kamu"));
    raporlar.setText(QStringLiteral("MToplam1"), QStringLiteral("2008"));
    raporlar.setText(QStringLiteral("MAcikla1"), QStringLiteral("3"));
    raporlar.setText(QStringLiteral("MAcikla1_"), QStringLiteral("Fatura"));
    const QList<PdfWords::Word> words = paintedWords(raporlar);
    QVERIFY(!words.isEmpty());

    const auto one = [&words](const QString &text, const QRectF &area) {
        const QList<PdfWords::Word> found = PdfWords::find(words, text, area);
        return found.size() == 1 ? found.first().millimetres : QRectF();
    };
    const QRectF sheet(0, 0, 210, 297);
    const auto row1 = [](double x, double w) { return QRectF(kBodyX + x, kBodyY + 47, w, 5); };
    const auto near = [](double actual, double expected, double tolerance) {
        return qAbs(actual - expected) <= tolerance;
    };

    // The title, centred on the printable width, in its 5 mm box.
    const QRectF first = one(QStringLiteral("MİRVASEL"), sheet);
    const QRectF second = one(QStringLiteral("BELGESİ"), sheet);
    QVERIFY(first.isValid() && second.isValid());
    QVERIFY(near((first.left() + second.right()) / 2, 105.0, 0.3));
    QVERIFY(first.top() >= 15.0 - 0.1 && first.bottom() <= 20.0 + 0.1);

    // A lira amount ends 1,3 mm before its cell's right edge; the kuruş is centred.
    const QRectF lira = one(QStringLiteral("1000"), row1(79, 16));
    QVERIFY(lira.isValid());
    QVERIFY2(near(lira.right(), kBodyX + 79 + 16 - 1.3, 0.25), qPrintable(QString::number(lira.right())));
    QVERIFY(near(lira.center().y(), kBodyY + 47 + 2.5, 0.6));
    const QRectF kurus = one(QStringLiteral("00"), row1(95, 7));
    QVERIFY(kurus.isValid() && near(kurus.center().x(), kBodyX + 95 + 3.5, 0.25));

    // "Toplam " stands one blank away from the totals' left edge.
    const QRectF total = one(QStringLiteral("Toplam"), QRectF(kBodyX, kBodyY + 127, 79, 5));
    QVERIFY(total.isValid());
    QVERIFY2(total.right() < kBodyX + 79 - 0.5 - 0.5 && total.right() > kBodyX + 79 - 0.5 - 1.5,
             qPrintable(QString::number(total.right())));

    // Left aligned texts start at their margins: 0,5 mm, 1,1 mm for account names.
    const QRectF payee = one(QStringLiteral("ŞİFA"), QRectF(kBodyX + 125, kBodyY + 5, 55, 5));
    QVERIFY(payee.isValid() && near(payee.left(), kBodyX + 125 + 0.5, 0.2));
    const QRectF account = one(QStringLiteral("Kamu"), row1(125, 55));
    QVERIFY(account.isValid() && near(account.left(), kBodyX + 125 + 1.1, 0.2));

    // "Hesap" over " No" in one box.
    const QRectF hesap = one(QStringLiteral("Hesap"), QRectF(kBodyX, kBodyY + 32, 14, 15));
    const QRectF no = one(QStringLiteral("No"), QRectF(kBodyX, kBodyY + 32, 14, 15));
    QVERIFY(hesap.isValid() && no.isValid() && no.top() >= hesap.bottom() - 0.2);

    // The preparation date, centred above the preparer.
    const QRectF date = one(QStringLiteral("05.03.2024"), sheet);
    QVERIFY(date.isValid());
    QVERIFY(near(date.center().x(), kBodyX + 125 + 27.5, 0.25));
    QVERIFY(near(date.center().y(), kBodyY + 141 + 2.5, 0.6));

    // The attachment line.
    const QRectF count = one(QStringLiteral("3"), QRectF(kBodyX + 103, kBodyY + 174, 5, 4));
    const QRectF description = one(QStringLiteral("Fatura"), QRectF(kBodyX + 109, kBodyY + 174, 66, 4));
    QVERIFY(count.isValid() && near(count.center().x(), kBodyX + 105.5, 0.25));
    QVERIFY(description.isValid() && near(description.left(), kBodyX + 109.5, 0.2));

    // The bottom of the form: the footnote's box ends 257 mm below the top margin.
    QVERIFY(find(QStringLiteral("Memo7"))->sheetRect().bottom() <= 15.0 + 7.0 + 250.0);
}

void TestPaymentOrderPage::largestAmountsStayWholeInPdf()
{
    QVERIFY2(PdfWords::available(), "pdftotext (poppler-utils) is missing");
    Raporlar raporlar;
    raporlar.setText(QStringLiteral("MH11"), QStringLiteral("9999999999999"));
    raporlar.setText(QStringLiteral("MToplam2"), QStringLiteral("20082499999999"));
    raporlar.setText(QStringLiteral("MYaziyla1"), sentenceFor("9.999.999.999.999,99"));
    const QList<PdfWords::Word> words = paintedWords(raporlar);

    const QList<PdfWords::Word> amount =
        PdfWords::find(words, QStringLiteral("9999999999999"), QRectF(kBodyX + 79, kBodyY + 47, 16, 5));
    QCOMPARE(amount.size(), 1);
    QVERIFY(amount.first().millimetres.left() >= kBodyX + 79 && amount.first().millimetres.right() <= kBodyX + 95);
    const QList<PdfWords::Word> total =
        PdfWords::find(words, QStringLiteral("20082499999999"), QRectF(kBodyX + 102, kBodyY + 127, 16, 5));
    QCOMPARE(total.size(), 1);
    QVERIFY(total.first().millimetres.left() >= kBodyX + 102 && total.first().millimetres.right() <= kBodyX + 118);

    // The sentence on two lines: every word inside its box, the whole text there.
    const QRectF box = find(QStringLiteral("MYaziyla1"))->sheetRect();
    QString sentence;
    for (const PdfWords::Word &word : words) {
        if (box.contains(word.millimetres.center())) {
            QVERIFY2(box.contains(word.millimetres.adjusted(0.05, 0.05, -0.05, -0.05)), qPrintable(word.text));
            sentence += word.text;
        }
    }
    QCOMPARE(sentence, inked(sentenceFor("9.999.999.999.999,99")));
}

void TestPaymentOrderPage::fontsEmbeddedInPdf()
{
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("pdffonts")).isEmpty(), "pdffonts (poppler-utils) is missing");
    Raporlar raporlar;
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("page.pdf"));
    QVERIFY(PagePainter::savePdf(raporlar.prepare(kToday), path, QStringLiteral("Deneme")).succeeded());
    QProcess fonts;
    fonts.start(QStringLiteral("pdffonts"), {path});
    QVERIFY(fonts.waitForFinished(60000) && fonts.exitCode() == 0);
    // Below the two heading lines: one line a font, "yes" in its "emb" column.
    const QStringList lines = QString::fromUtf8(fonts.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts).mid(2);
    QCOMPARE(lines.size(), 2); // regular and bold
    for (const QString &line : lines) {
        QVERIFY2(line.startsWith(QStringLiteral("Arial")) || line.startsWith(QStringLiteral("LiberationSans")),
                 qPrintable(line));
        // The columns end with emb, sub, uni and the object's two numbers.
        const QStringList columns = line.simplified().split(u' ');
        QVERIFY2(columns.size() > 5 && columns[columns.size() - 5] == QStringLiteral("yes"), qPrintable(line));
    }
}

QTEST_MAIN(TestPaymentOrderPage)
#include "tst_PaymentOrderPage.moc"
