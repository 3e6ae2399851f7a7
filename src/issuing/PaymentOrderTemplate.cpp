#include "issuing/PaymentOrderTemplate.h"

#include <QHash>
#include <QStringList>

#include <array>

namespace PaymentOrderTemplate {

namespace {

constexpr Qt::Alignment L = Qt::AlignLeft;
constexpr Qt::Alignment C = Qt::AlignHCenter;
constexpr Qt::Alignment R = Qt::AlignRight;
constexpr Qt::Alignment T = Qt::AlignTop;
constexpr Qt::Alignment M = Qt::AlignVCenter;

// One box of the body band: framed, in the given font, with the default
// margin; the modifiers change the rest.
struct Make
{
    Box box;

    Make(const QString &name, double x, double y, double w, double h, double pointSize, Qt::Alignment horizontal,
         Qt::Alignment vertical, const QString &text = QString())
    {
        box.name = name;
        box.x = x;
        box.y = y;
        box.w = w;
        box.h = h;
        box.pointSize = pointSize;
        box.horizontal = horizontal;
        box.vertical = vertical;
        box.fixedText = text;
    }
    Make &unframed()
    {
        box.framed = false;
        return *this;
    }
    Make &bold()
    {
        box.bold = true;
        return *this;
    }
    Make &margin(double millimetres)
    {
        box.margin = millimetres;
        return *this;
    }
    Make &rotated()
    {
        box.rotated = true;
        return *this;
    }
    Make &figure()
    {
        box.figure = true;
        return *this;
    }
    Make &title()
    {
        box.band = Band::Title;
        return *this;
    }
    operator Box() const { return box; }
};

QString memo(int number)
{
    return QStringLiteral("Memo%1").arg(number);
}

void addHeader(QList<Box> &boxes)
{
    const double S = kSmall;
    const double N = kNormal;
    boxes << Make(memo(1), 0, 0, 25, 5, S, L, M, QStringLiteral("Muhasebe Birim Kodu"))
          << Make(QStringLiteral("MBirimKod"), 25, 0, 36, 5, N, L, M)
          << Make(memo(3), 0, 5, 25, 5, S, L, M, QStringLiteral("Muhasebe Birim Adı"))
          << Make(QStringLiteral("MBirimAd"), 25, 5, 36, 5, N, L, M)
          << Make(memo(16), 61, 5, 12, 5, S, L, M, QStringLiteral("Bütçe Yılı"))
          << Make(QStringLiteral("MYili"), 73, 5, 20, 5, N, L, M)
          << Make(memo(4), 0, 10, 25, 10, S, L, M, QStringLiteral("Kurum - Birim Kodu"))
          << Make(QStringLiteral("MBirim1"), 25, 10, 5, 5, N, C, M)
          << Make(QStringLiteral("MBirim2"), 30, 10, 5, 5, N, C, M)
          << Make(QStringLiteral("MBirim3"), 25, 15, 5, 5, S, C, M)
          << Make(QStringLiteral("MBirim4"), 30, 15, 5, 5, S, C, M)
          << Make(memo(13), 35, 10, 11, 5, N, C, M, QStringLiteral("Birim"))
          << Make(QStringLiteral("MBirim_"), 35, 15, 11, 5, S, C, M)
          << Make(memo(15), 46, 10, 15, 10, S, C, M, QStringLiteral("Yevmiyenin"))
          << Make(memo(17), 61, 10, 12, 5, S, L, M, QStringLiteral("Tarihi"))
          << Make(QStringLiteral("MTarihi"), 73, 10, 20, 5, N, L, M)
          << Make(memo(18), 61, 15, 12, 5, S, L, M, QStringLiteral("Numarası"))
          << Make(QStringLiteral("MNosu"), 73, 15, 20, 5, N, L, M)
          << Make(memo(5), 0, 20, 25, 5, S, L, M, QStringLiteral("Kurum Adı"))
          << Make(QStringLiteral("MKurum"), 25, 20, 68, 5, N, L, M)
          << Make(memo(6), 0, 25, 25, 5, S, L, M, QStringLiteral("Birim Adı"))
          << Make(QStringLiteral("MBirim"), 25, 25, 68, 5, N, L, M)
          << Make(memo(24), 93, 5, 5, 25, N, C, M, QStringLiteral("İlgilinin")).rotated()
          << Make(memo(25), 98, 5, 27, 5, S, L, M, QStringLiteral("Adı, Soyadı"))
          << Make(QStringLiteral("MUst1"), 125, 5, 55, 5, N, L, M)
          << Make(memo(26), 98, 10, 27, 5, S, L, M, QStringLiteral("T.C. Kimlik No"))
          << Make(QStringLiteral("MUst2"), 125, 10, 55, 5, N, L, M)
          << Make(memo(27), 98, 15, 27, 5, S, L, M, QStringLiteral("Banka Şube Adı"))
          << Make(QStringLiteral("MUst3"), 125, 15, 55, 5, N, L, M)
          << Make(memo(28), 98, 20, 27, 5, S, L, M, QStringLiteral("Banka Hesap Numarası"))
          << Make(QStringLiteral("MUst4"), 125, 20, 55, 5, N, L, M)
          << Make(memo(29), 98, 25, 27, 5, S, L, M, QStringLiteral("Bağlı Old. Vergi D."))
          << Make(QStringLiteral("MUst5"), 125, 25, 55, 5, N, L, M);
}

void addGridCaptions(QList<Box> &boxes)
{
    const double N = kNormal;
    const QString one = QStringLiteral("1");
    const QStringList digits = {one, QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")};
    boxes << Make(memo(35), 0, 32, 14, 15, N, C, M, QStringLiteral("Hesap\n No"))
          << Make(memo(36), 14, 32, 20, 10, N, C, M, QStringLiteral("Kurumsal Kod"));
    for (int i = 0; i < 4; ++i)
        boxes << Make(memo(37 + i), 14 + 5 * i, 42, 5, 5, N, C, M, digits[i]);
    boxes << Make(memo(41), 34, 32, 20, 10, N, C, M, QStringLiteral("Fonksiyonel Kod"));
    for (int i = 0; i < 4; ++i)
        boxes << Make(memo(42 + i), 34 + 5 * i, 42, 5, 5, N, C, M, digits[i]);
    boxes << Make(memo(46), 54, 32, 5, 10, kSmall, C, M, QStringLiteral("Fin. Kd.")).rotated()
          << Make(memo(60), 54, 42, 5, 5, N, C, M, one)
          << Make(memo(47), 59, 32, 20, 10, N, C, M, QStringLiteral("Ekonomik / Ayrıntı Kodu"));
    for (int i = 0; i < 4; ++i)
        boxes << Make(memo(48 + i), 59 + 5 * i, 42, 5, 5, N, C, M, digits[i]);
    boxes << Make(memo(52), 79, 32, 46, 5, N, C, M, QStringLiteral("TUTAR"))
          << Make(memo(53), 79, 37, 23, 5, N, C, M, QStringLiteral("Borç"))
          << Make(memo(58), 102, 37, 23, 5, N, C, M, QStringLiteral("Alacak"))
          << Make(memo(54), 79, 42, 16, 5, N, C, M, QStringLiteral("YTL"))
          << Make(memo(55), 95, 42, 7, 5, N, C, M, QStringLiteral("YKr"))
          << Make(memo(56), 102, 42, 16, 5, N, C, M, QStringLiteral("YTL"))
          << Make(memo(57), 118, 42, 7, 5, N, C, M, QStringLiteral("YKr"))
          << Make(memo(59), 125, 32, 55, 15, N, C, M, QStringLiteral("Hesap / Ayrıntı Adı"));
}

// Rows 1..9 carry names for their amount and account name boxes; rows 10..16
// keep the numbers that follow their code boxes, in the same column order.
void addGridRow(QList<Box> &boxes, int row)
{
    const double N = kNormal;
    const double y = 47 + 5 * (row - 1);
    static constexpr double codeX[] = {0, 14, 19, 24, 29, 34, 39, 44, 49, 54, 59, 64, 69, 74};
    for (int column = 1; column <= 14; ++column) {
        const double w = column == 1 ? 14 : 5;
        boxes << Make(codeBox(row, column), codeX[column - 1], y, w, 5, N, C, M);
    }
    const int next = 61 + 19 * (row - 1) + 14;
    const bool named = row <= 9;
    boxes << Make(named ? debitLiraBox(row) : memo(next), 79, y, 16, 5, N, R, M).margin(kAmountMargin).figure()
          << Make(named ? debitKurusBox(row) : memo(next + 1), 95, y, 7, 5, N, C, M).figure()
          << Make(named ? creditLiraBox(row) : memo(next + 2), 102, y, 16, 5, N, R, M).margin(kAmountMargin).figure()
          << Make(named ? creditKurusBox(row) : memo(next + 3), 118, y, 7, 5, N, C, M).figure();
    if (named)
        boxes << Make(accountNameBox(row), 125, y, 55, 5, N, L, M).margin(kNameMargin);
    else
        boxes << Make(memo(next + 4), 125, y, 55, 5, N, C, M);
}

void addTotalsAndWords(QList<Box> &boxes)
{
    const double N = kNormal;
    boxes << Make(memo(370), 0, 127, 79, 5, N, R, M, QStringLiteral("Toplam ")).bold()
          << Make(QStringLiteral("MToplam1"), 79, 127, 16, 5, N, R, M).bold().margin(kAmountMargin).figure()
          << Make(QStringLiteral("MToplam1_"), 95, 127, 7, 5, N, C, M).bold().figure()
          << Make(QStringLiteral("MToplam2"), 102, 127, 16, 5, N, R, M).bold().margin(kAmountMargin).figure()
          << Make(QStringLiteral("MToplam2_"), 118, 127, 7, 5, N, C, M).bold().figure()
          << Make(memo(369), 125, 127, 55, 5, N, C, M)
          << Make(QStringLiteral("MYaziyla1"), 0, 134, 180, 5, N, L, T).unframed().margin(kNameMargin);
}

void addSummary(QList<Box> &boxes)
{
    const double S = kSmall;
    const double N = kNormal;
    boxes << Make(memo(372), 0, 141, 17, 13, S, C, M, QStringLiteral("Mirvasel Belgesi No."))
          << Make(memo(373), 17, 141, 22, 8, S, C, M, QStringLiteral("Bütçe Gideri Zenparol Eden"))
          << Make(memo(374), 39, 141, 22, 8, S, C, M, QStringLiteral("Özel Gider İndirimi Toplamı"))
          << Make(memo(375), 61, 141, 22, 8, S, C, M, QStringLiteral("Kesinti Toplamı"))
          << Make(memo(376), 83, 141, 22, 8, S, C, M, QStringLiteral("Ödenmesi Gereken"))
          << Make(memo(377), 105, 141, 20, 13, S, C, M, QStringLiteral("Çek / Gönderme Emri No."));
    for (int column = 0; column < 4; ++column) {
        const double x = 17 + 22 * column;
        boxes << Make(memo(378 + 2 * column), x, 149, 15, 5, N, C, M, QStringLiteral("YTL"))
              << Make(memo(379 + 2 * column), x + 15, 149, 7, 5, N, C, M, QStringLiteral("YKr"));
    }
    boxes << Make(memo(387), 0, 154, 17, 8, N, C, M);
    for (int column = 0; column < 4; ++column) {
        const double x = 17 + 22 * column;
        boxes << Make(memo(388 + 2 * column), x, 154, 15, 8, N, C, M).figure()
              << Make(memo(389 + 2 * column), x + 15, 154, 7, 8, N, C, M).figure();
    }
    boxes << Make(memo(396), 105, 154, 20, 8, N, C, M)
          << Make(memo(397), 125, 141, 55, 5, kMedium, C, M).unframed()
          << Make(memo(398), 125, 146, 55, 5, N, C, M, QStringLiteral("Düzenleyen")).unframed()
          << Make(memo(399), 125, 151, 55, 5, N, C, M, QStringLiteral("Adı Soyadı")).unframed()
          << Make(memo(400), 125, 156, 55, 6, kMedium, C, M, QStringLiteral("Görevi")).unframed();
}

void addReviewAndAttachments(QList<Box> &boxes)
{
    const double N = kNormal;
    boxes << Make(memo(401), 0, 162, 98, 5, N, C, M, QStringLiteral("TETKİK EDEN"))
          << Make(memo(402), 0, 167, 32, 5, N, C, M, QStringLiteral("Unvan1"))
          << Make(memo(403), 32, 167, 33, 5, N, C, M, QStringLiteral("Unvan2"))
          << Make(memo(404), 65, 167, 33, 5, N, C, M, QStringLiteral("Unvan3"))
          << Make(memo(405), 0, 172, 32, 8, N, C, M)
          << Make(memo(406), 32, 172, 33, 8, N, C, M)
          << Make(memo(407), 65, 172, 33, 8, N, C, M)
          << Make(memo(421), 98, 167, 82, 5, N, C, M, QStringLiteral("AÇIKLAMA VE EKLER"));
    for (int line = 1; line <= 6; ++line) {
        const double y = 174 + 4 * (line - 1);
        boxes << Make(attachmentCountBox(line), 103, y, 5, 4, N, C, M).unframed()
              << Make(attachmentDescriptionBox(line), 109, y, 66, 4, N, L, M).unframed();
    }
}

void addBasisDocument(QList<Box> &boxes)
{
    const double N = kNormal;
    boxes << Make(memo(408), 0, 180, 98, 5, N, C, M, QStringLiteral("ÖDEMEYE ESAS BELGENİN"))
          << Make(memo(409), 0, 185, 26, 10, N, C, M, QStringLiteral("Türü"))
          << Make(memo(410), 26, 185, 24, 10, N, C, M, QStringLiteral("Tarihi"))
          << Make(memo(411), 50, 185, 24, 10, N, C, M, QStringLiteral("No.su"))
          << Make(memo(412), 74, 185, 24, 5, N, C, M, QStringLiteral("Tutarı"))
          << Make(memo(414), 74, 190, 17, 5, N, C, M, QStringLiteral("YTL"))
          << Make(memo(415), 91, 190, 7, 5, N, C, M, QStringLiteral("YKr"))
          << Make(memo(416), 0, 195, 26, 5, N, C, M)
          << Make(memo(417), 26, 195, 24, 5, N, C, M)
          << Make(memo(418), 50, 195, 24, 5, N, C, M)
          << Make(memo(419), 74, 195, 17, 5, N, C, M)
          << Make(memo(420), 91, 195, 7, 5, N, C, M);
}

void addApprovals(QList<Box> &boxes)
{
    const double N = kNormal;
    const QString date = QStringLiteral("..../..../20......");
    const QString name = QStringLiteral("Adı Soyadı");
    const QString post = QStringLiteral("Görevi");
    boxes << Make(memo(422), 0, 200, 60, 25, N, C, M)
          << Make(memo(434), 60, 200, 60, 25, N, C, M)
          << Make(memo(435), 120, 200, 60, 25, N, C, M);
    struct Block
    {
        double x;
        std::array<int, 5> memos;
        std::array<QString, 5> texts;
    };
    const Block blocks[] = {
        {1,
         {441, 442, 443, 444, 445},
         {QStringLiteral("Vize Kontrol Edilmiştir"), date, QStringLiteral("Mali Kontrol Yetkilisi"), name, post}},
        {61, {436, 437, 438, 439, 440}, {QStringLiteral("Uygundur"), date, QStringLiteral("Harcama Yetkilisi"), name, post}},
        {121,
         {446, 447, 448, 449, 450},
         {QStringLiteral("Ödeyiniz / Mahsup Ediniz"), date, QStringLiteral("Muhasebe Yetkilisi"), name, post}},
    };
    for (const Block &block : blocks) {
        for (int line = 0; line < 5; ++line)
            boxes << Make(memo(block.memos[std::size_t(line)]), block.x, 202 + 4 * line, 58, 4, N, C, M,
                          block.texts[std::size_t(line)])
                         .unframed();
    }
}

void addFoot(QList<Box> &boxes)
{
    const double N = kNormal;
    boxes << Make(QStringLiteral("MYaziyla2"), 0, 227, 180, 7, N, L, T).margin(kNameMargin)
          << Make(memo(7), 1, 235, 178, 5, N, L, T).unframed();
}

QList<Box> buildBoxes()
{
    QList<Box> boxes;
    boxes << Make(memo(2), 0, 0, 180, 5, kTitle, C, T, QStringLiteral("MİRVASEL BELGESİ")).unframed().bold().title();
    addHeader(boxes);
    addGridCaptions(boxes);
    for (int row = 1; row <= 16; ++row)
        addGridRow(boxes, row);
    addTotalsAndWords(boxes);
    addSummary(boxes);
    addReviewAndAttachments(boxes);
    addBasisDocument(boxes);
    addApprovals(boxes);
    addFoot(boxes);
    return boxes;
}

const QHash<QString, qsizetype> &index()
{
    static const QHash<QString, qsizetype> byName = [] {
        QHash<QString, qsizetype> result;
        const QList<Box> &all = boxes();
        for (qsizetype i = 0; i < all.size(); ++i)
            result.insert(all[i].name, i);
        return result;
    }();
    return byName;
}

} // namespace

QRectF Box::sheetRect() const
{
    const double top = band == Band::Title ? kTopMargin : kTopMargin + kTitleBandHeight;
    return QRectF(kLeftMargin + x, top + y, w, h);
}

const QList<Box> &boxes()
{
    static const QList<Box> all = buildBoxes();
    return all;
}

const Box *find(const QString &name)
{
    const auto found = index().constFind(name);
    return found == index().cend() ? nullptr : &boxes()[*found];
}

QString codeBox(int row, int column)
{
    return memo(61 + 19 * (row - 1) + (column - 1));
}

QString debitLiraBox(int row)
{
    return QStringLiteral("MH1%1").arg(row);
}

QString debitKurusBox(int row)
{
    return QStringLiteral("MH1%1_").arg(row);
}

QString creditLiraBox(int row)
{
    return QStringLiteral("MH2%1").arg(row);
}

QString creditKurusBox(int row)
{
    return QStringLiteral("MH2%1_").arg(row);
}

QString accountNameBox(int row)
{
    return QStringLiteral("MHesap%1").arg(row);
}

QString attachmentCountBox(int line)
{
    return QStringLiteral("MAcikla%1").arg(line);
}

QString attachmentDescriptionBox(int line)
{
    return QStringLiteral("MAcikla%1_").arg(line);
}

} // namespace PaymentOrderTemplate
