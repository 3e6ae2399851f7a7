#pragma once

#include "issuing/PaymentOrderPage.h"
#include "issuing/PaymentOrderTemplate.h"

#include <QFont>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>

// Where every text and frame of a page goes, in millimetres on the sheet,
// worked out once from font metrics that do not depend on the device, so
// that the preview, the printer and a PDF get the same lines at the same
// sizes in the same places.
//
// The boxes have a fixed size and nothing is ever cut. Text wraps at blanks;
// a text that does not fit its box at its size is drawn smaller. A figure
// stays on one line and shrinks as far as it needs to; any other text
// shrinks down to kSmallestWrappedSize with its blanks as the only breaks,
// then is also broken between the words of the compact amount-in-words form
// ("BirMilyon|YediYüz...", at any character for a word without such parts)
// and shrinks further only when even that does not fit.
namespace PageLayout {

inline constexpr double kSmallestWrappedSize = 5.0;
inline constexpr double kSizeStep = 0.25;
// The gap between the frame and the text above and below.
inline constexpr double kVerticalGap = 0.2;

struct PlacedText
{
    QString text;
    double pointSize = 0;
    bool bold = false;
    // Not rotated: the start of the baseline on the sheet. Rotated: the start
    // of the baseline in the box's own frame, whose origin is `origin` (the
    // box's bottom-left corner on the sheet) and whose x axis runs upward.
    QPointF baseline;
    bool rotated = false;
    QPointF origin;
    QString box;
};

struct Layout
{
    QList<QRectF> frames;
    QList<PlacedText> texts;
};

// How a text is set into a box: the size it is drawn at and its lines.
struct Fit
{
    double pointSize = 0;
    QStringList lines;
};

// The page's font: Arial, or Liberation Sans (the same metrics) where Arial
// is not installed.
QString fontFamily();
QFont font(double pointSize, bool bold);

// Widths and heights in mm at a point size, from the outlines of the font.
double textWidth(const QString &text, double pointSize, bool bold);
double lineSpacing(double pointSize, bool bold);
double ascent(double pointSize, bool bold);
double descent(double pointSize, bool bold);

// The room inside a box for its text (width along the text's lines).
double innerWidth(const PaymentOrderTemplate::Box &box);
double innerHeight(const PaymentOrderTemplate::Box &box);

Fit fit(const PaymentOrderTemplate::Box &box, const QString &text);
Layout layOut(const PaymentOrderPage &page);

} // namespace PageLayout
