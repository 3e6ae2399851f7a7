#include "issuing/PageLayout.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>

#include <cmath>
#include <memory>

namespace PageLayout {

namespace {

using PaymentOrderTemplate::Box;

// Metrics are taken once per weight at a large size on a fine grid and
// scaled: without hinting, widths grow in proportion to the size.
constexpr double kReferencePoints = 100.0;
constexpr double kReferenceDpi = 1200.0;
constexpr double kMillimetresPerReferencePixel = 25.4 / kReferenceDpi;
// Room kept at the end of every line for the small differences between
// devices.
constexpr double kWidthTolerance = 0.995;
constexpr double kSmallestSize = 1.0;

class ReferenceMetrics
{
public:
    explicit ReferenceMetrics(bool bold)
        : m_device(1, 1, QImage::Format_ARGB32)
    {
        const int dotsPerMetre = int(std::lround(kReferenceDpi / 0.0254));
        m_device.setDotsPerMeterX(dotsPerMetre);
        m_device.setDotsPerMeterY(dotsPerMetre);
        m_metrics = std::make_unique<QFontMetricsF>(font(kReferencePoints, bold), &m_device);
    }

    // mm at the reference size.
    double width(const QString &text)
    {
        const auto cached = m_widths.constFind(text);
        if (cached != m_widths.cend())
            return *cached;
        if (m_widths.size() > 20000)
            m_widths.clear();
        const double width = m_metrics->horizontalAdvance(text) * kMillimetresPerReferencePixel;
        m_widths.insert(text, width);
        return width;
    }
    double ascent() const { return m_metrics->ascent() * kMillimetresPerReferencePixel; }
    double descent() const { return m_metrics->descent() * kMillimetresPerReferencePixel; }
    double lineSpacing() const { return m_metrics->lineSpacing() * kMillimetresPerReferencePixel; }

private:
    QImage m_device;
    std::unique_ptr<QFontMetricsF> m_metrics;
    QHash<QString, double> m_widths;
};

// Kept for the whole run and never destroyed: font objects must not outlive
// the application object, which goes before the statics do.
ReferenceMetrics &metrics(bool bold)
{
    static ReferenceMetrics *const regular = new ReferenceMetrics(false);
    static ReferenceMetrics *const heavy = new ReferenceMetrics(true);
    return bold ? *heavy : *regular;
}

double scale(double pointSize)
{
    return pointSize / kReferencePoints;
}

// A piece of a paragraph that a line break may not split, with the text
// that joins it to the piece before: the blanks between two words, dropped
// at a break, or nothing between two parts of one compact word.
struct Atom
{
    QString glue;
    QString text;
};

bool startsCompactPart(const QString &word, qsizetype at)
{
    return at > 0 && word[at].isUpper() && word[at - 1].isLower();
}

// Words and the blanks between them; blanks before the first word and
// after the last belong to the text and are kept.
QList<Atom> words(const QString &paragraph)
{
    QList<Atom> atoms;
    qsizetype at = 0;
    const qsizetype size = paragraph.size();
    while (at < size) {
        const qsizetype glueStart = at;
        while (at < size && paragraph[at] == u' ')
            ++at;
        const qsizetype wordStart = at;
        while (at < size && paragraph[at] != u' ')
            ++at;
        const QString glue = paragraph.mid(glueStart, wordStart - glueStart);
        if (wordStart == at) { // blanks at the end
            if (atoms.isEmpty())
                atoms.append({QString(), glue});
            else
                atoms.last().text += glue;
        } else {
            atoms.append({glue, paragraph.mid(wordStart, at - wordStart)});
        }
    }
    return atoms;
}

QList<Atom> compactParts(const QList<Atom> &wordAtoms)
{
    QList<Atom> atoms;
    for (const Atom &word : wordAtoms) {
        qsizetype start = 0;
        for (qsizetype at = 1; at <= word.text.size(); ++at) {
            if (at == word.text.size() || startsCompactPart(word.text, at)) {
                atoms.append({start == 0 ? word.glue : QString(), word.text.mid(start, at - start)});
                start = at;
            }
        }
    }
    return atoms;
}

class Wrapper
{
public:
    Wrapper(double pointSize, bool bold, double maxWidth)
        : m_factor(scale(pointSize))
        , m_metrics(metrics(bold))
        , m_maxWidth(maxWidth)
    {
    }

    bool fits(const QString &line) { return m_metrics.width(line) * m_factor <= m_maxWidth; }

    // Greedy: as much on each line as fits. With splitAnywhere a piece that
    // is wider than a whole line is broken between characters; otherwise it
    // overflows its line and the caller tries a smaller size.
    QStringList wrap(const QList<Atom> &atoms, bool splitAnywhere)
    {
        QStringList lines;
        QString current;
        bool lineStarted = false;
        bool firstLine = true;
        for (const Atom &atom : atoms) {
            QString candidate = lineStarted ? current + atom.glue + atom.text
                                            : (firstLine ? atom.glue + atom.text : atom.text);
            if (fits(candidate)) {
                current = candidate;
                lineStarted = true;
                continue;
            }
            if (lineStarted) {
                lines.append(current);
                firstLine = false;
                current = atom.text;
                candidate = atom.text;
                if (fits(candidate))
                    continue;
            }
            lineStarted = true;
            if (!splitAnywhere) {
                current = candidate;
                continue;
            }
            current.clear();
            for (const QChar character : candidate) {
                if (!current.isEmpty() && !fits(current + character)) {
                    lines.append(current);
                    firstLine = false;
                    current.clear();
                }
                current += character;
            }
        }
        lines.append(current);
        return lines;
    }

private:
    double m_factor;
    ReferenceMetrics &m_metrics;
    double m_maxWidth;
};

double blockHeight(int lineCount, double pointSize, bool bold)
{
    return (lineCount - 1) * lineSpacing(pointSize, bold) + ascent(pointSize, bold) + descent(pointSize, bold);
}

bool linesFit(const QStringList &lines, double pointSize, bool bold, double width, double height)
{
    if (blockHeight(int(lines.size()), pointSize, bold) > height + 1e-9)
        return false;
    for (const QString &line : lines) {
        if (textWidth(line, pointSize, bold) > width + 1e-9)
            return false;
    }
    return true;
}

QStringList wrapParagraphs(const QStringList &paragraphs, double pointSize, bool bold, double width,
                           bool compact)
{
    QStringList lines;
    Wrapper wrapper(pointSize, bold, width);
    for (const QString &paragraph : paragraphs) {
        const QList<Atom> atoms = compact ? compactParts(words(paragraph)) : words(paragraph);
        lines += wrapper.wrap(atoms, compact);
    }
    return lines;
}

Fit fitFigure(const Box &box, const QString &text, double width, double height)
{
    double size = box.pointSize;
    const double natural = textWidth(text, size, box.bold);
    if (natural > width)
        size = std::floor(size * width / natural * 100.0) / 100.0;
    const double tall = blockHeight(1, size, box.bold);
    if (tall > height)
        size = std::floor(size * height / tall * 100.0) / 100.0;
    return {size, {text}};
}

Fit fitText(const Box &box, const QString &text, double width, double height)
{
    const QStringList paragraphs = QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).split(u'\n');
    const int steps = int(std::lround((box.pointSize - kSmallestWrappedSize) / kSizeStep));
    for (int step = 0; step <= steps; ++step) {
        const double size = box.pointSize - step * kSizeStep;
        QStringList lines = wrapParagraphs(paragraphs, size, box.bold, width, false);
        if (linesFit(lines, size, box.bold, width, height))
            return {size, lines};
    }
    Fit last;
    for (double size = std::min(box.pointSize, kSmallestWrappedSize); size >= kSmallestSize - 1e-9;
         size -= kSizeStep) {
        last = {size, wrapParagraphs(paragraphs, size, box.bold, width, true)};
        if (linesFit(last.lines, size, box.bold, width, height))
            return last;
    }
    // Far more text than the box was made for: smaller still, never cut.
    for (double size = kSmallestSize * 0.9; size > 0.01; size *= 0.9) {
        last = {size, wrapParagraphs(paragraphs, size, box.bold, width, true)};
        if (linesFit(last.lines, size, box.bold, width, height))
            return last;
    }
    return last;
}

} // namespace

QString fontFamily()
{
    static const QString family = QFontDatabase::hasFamily(QStringLiteral("Arial")) ? QStringLiteral("Arial")
                                                                                     : QStringLiteral("Liberation Sans");
    return family;
}

QFont font(double pointSize, bool bold)
{
    QFont result(fontFamily());
    result.setPointSizeF(pointSize);
    result.setBold(bold);
    result.setHintingPreference(QFont::PreferNoHinting);
    result.setStyleStrategy(QFont::PreferOutline);
    return result;
}

double textWidth(const QString &text, double pointSize, bool bold)
{
    return metrics(bold).width(text) * scale(pointSize) / kWidthTolerance;
}

double lineSpacing(double pointSize, bool bold)
{
    return metrics(bold).lineSpacing() * scale(pointSize);
}

double ascent(double pointSize, bool bold)
{
    return metrics(bold).ascent() * scale(pointSize);
}

double descent(double pointSize, bool bold)
{
    return metrics(bold).descent() * scale(pointSize);
}

double innerWidth(const Box &box)
{
    return (box.rotated ? box.h : box.w) - 2 * box.margin;
}

double innerHeight(const Box &box)
{
    return (box.rotated ? box.w : box.h) - 2 * kVerticalGap;
}

Fit fit(const Box &box, const QString &text)
{
    if (text.isEmpty())
        return {box.pointSize, {}};
    const double width = innerWidth(box);
    const double height = innerHeight(box);
    return box.figure ? fitFigure(box, text, width, height) : fitText(box, text, width, height);
}

Layout layOut(const PaymentOrderPage &page)
{
    Layout layout;
    for (const Box &box : PaymentOrderTemplate::boxes()) {
        const QRectF rect = box.sheetRect();
        if (box.framed)
            layout.frames.append(rect);
        const QString text = page.text(box.name);
        if (text.isEmpty())
            continue;
        const Fit placed = fit(box, text);
        const double size = placed.pointSize;
        // The box in the frame the text runs in.
        const double frameWidth = box.rotated ? box.h : box.w;
        const double frameHeight = box.rotated ? box.w : box.h;
        const double block = blockHeight(int(placed.lines.size()), size, box.bold);
        const double top = box.vertical == Qt::AlignTop ? kVerticalGap : (frameHeight - block) / 2;
        const QPointF origin = box.rotated ? rect.bottomLeft() : rect.topLeft();
        for (qsizetype i = 0; i < placed.lines.size(); ++i) {
            const QString &line = placed.lines[i];
            if (line.isEmpty())
                continue;
            const double width = metrics(box.bold).width(line) * scale(size);
            double x = box.margin;
            if (box.horizontal == Qt::AlignRight)
                x = frameWidth - box.margin - width;
            else if (box.horizontal == Qt::AlignHCenter)
                x = (frameWidth - width) / 2;
            const double y = top + ascent(size, box.bold) + double(i) * lineSpacing(size, box.bold);
            PlacedText text{line, size, box.bold, QPointF(x, y), box.rotated, origin, box.name};
            if (!box.rotated)
                text.baseline += origin;
            layout.texts.append(text);
        }
    }
    return layout;
}

} // namespace PageLayout
