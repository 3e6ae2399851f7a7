#pragma once

// The words of a PDF page with their boxes in millimetres, as poppler's
// pdftotext -bbox reads them back: what a reader of the file finds where.

#include <QList>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QTextDocumentFragment>

namespace PdfWords {

struct Word
{
    QString text;
    QRectF millimetres; // from the sheet's top-left corner
};

inline bool available()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

inline QList<Word> read(const QString &pdfPath)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdfPath, QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    static const QRegularExpression word(QStringLiteral(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    constexpr double mmPerPoint = 25.4 / 72.0;
    QList<Word> words;
    for (auto match = word.globalMatch(html); match.hasNext();) {
        const QRegularExpressionMatch m = match.next();
        const QPointF topLeft(m.captured(1).toDouble() * mmPerPoint, m.captured(2).toDouble() * mmPerPoint);
        const QPointF bottomRight(m.captured(3).toDouble() * mmPerPoint, m.captured(4).toDouble() * mmPerPoint);
        words.append({QTextDocumentFragment::fromHtml(m.captured(5)).toPlainText(), QRectF(topLeft, bottomRight)});
    }
    return words;
}

// The words of that text whose centre lies in the area (mm).
inline QList<Word> find(const QList<Word> &words, const QString &text, const QRectF &area)
{
    QList<Word> found;
    for (const Word &word : words) {
        if (word.text == text && area.contains(word.millimetres.center()))
            found.append(word);
    }
    return found;
}

inline QString allText(const QList<Word> &words)
{
    QStringList texts;
    for (const Word &word : words)
        texts << word.text;
    return texts.join(u' ');
}

} // namespace PdfWords
