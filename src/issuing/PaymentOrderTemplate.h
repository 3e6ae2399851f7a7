#pragma once

#include <QList>
#include <QRectF>
#include <QString>
#include <Qt>

// The payment order form "MİRVASEL BELGESİ" as data: every box of the page
// with its place and size in millimetres, its frame, font, alignment, inner
// margin, rotation and fixed text. The layout is built into the program; the
// user cannot change it.
namespace PaymentOrderTemplate {

// A4 portrait, margins 15 mm left, right and top, 10 mm bottom.
inline constexpr double kPaperWidth = 210.0;
inline constexpr double kPaperHeight = 297.0;
inline constexpr double kLeftMargin = 15.0;
inline constexpr double kTopMargin = 15.0;
inline constexpr double kRightMargin = 15.0;
inline constexpr double kBottomMargin = 10.0;
// The title band at the top of the printable area, the body directly below.
inline constexpr double kTitleBandHeight = 7.0;
inline constexpr double kBodyBandHeight = 250.0;

// Arial at 6.75, 8.25, 9 and 12 points.
inline constexpr double kSmall = 6.75;
inline constexpr double kNormal = 8.25;
inline constexpr double kMedium = 9.0;
inline constexpr double kTitle = 12.0;

// The inner margins between the frame and the text.
inline constexpr double kDefaultMargin = 0.5;
inline constexpr double kAmountMargin = 1.3;
inline constexpr double kNameMargin = 1.1;

// A frame is a thin black line, one pixel at 96 per inch, centred on the
// box's edge.
inline constexpr double kFrameWidth = 25.4 / 96.0;

enum class Band { Title, Body };

struct Box
{
    QString name;
    Band band = Band::Body;
    double x = 0, y = 0, w = 0, h = 0; // mm from the top-left corner of the band
    bool framed = true;
    double pointSize = kNormal;
    bool bold = false;
    Qt::Alignment horizontal = Qt::AlignLeft; // AlignLeft, AlignHCenter or AlignRight
    Qt::Alignment vertical = Qt::AlignVCenter; // AlignTop or AlignVCenter
    double margin = kDefaultMargin;
    bool rotated = false; // 90°, the text reads upward
    QString fixedText;
    // A figure is never wrapped: it shrinks until it fits on one line.
    bool figure = false;

    // The box on the sheet, in mm from the sheet's top-left corner.
    QRectF sheetRect() const;
};

// Every box of the page, title band first, in a fixed order.
const QList<Box> &boxes();

// nullptr for a name that is not on the page.
const Box *find(const QString &name);

// The grid's boxes. Rows 1..16, code columns 1..14 from Hesap No to the last
// economic code part (Memo61 is row 1's Hesap No).
QString codeBox(int row, int column);
// Rows 1..9 have named amount boxes ("MH11", "MH11_", "MH21", "MH21_").
QString debitLiraBox(int row);
QString debitKurusBox(int row);
QString creditLiraBox(int row);
QString creditKurusBox(int row);
QString accountNameBox(int row); // "MHesap1"
// Attachment lines 1..6.
QString attachmentCountBox(int line);
QString attachmentDescriptionBox(int line);

// The box that shows the day the page is prepared.
inline QString preparationDateBox() { return QStringLiteral("Memo397"); }

} // namespace PaymentOrderTemplate
