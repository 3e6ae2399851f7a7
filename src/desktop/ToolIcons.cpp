#include "desktop/ToolIcons.h"

#include "desktop/DeferredIconEngine.h"

#include <QCoreApplication>
#include <QHash>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace ToolIcons {

namespace {

const QColor kInk(40, 52, 70);
const QColor kPaper(250, 250, 246);

void drawPage(QPainter &p, const QRectF &r)
{
    QPainterPath page;
    const qreal fold = r.width() * 0.3;
    page.moveTo(r.left(), r.top());
    page.lineTo(r.right() - fold, r.top());
    page.lineTo(r.right(), r.top() + fold);
    page.lineTo(r.right(), r.bottom());
    page.lineTo(r.left(), r.bottom());
    page.closeSubpath();
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(kPaper);
    p.drawPath(page);
    p.drawLine(QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold));
    p.drawLine(QPointF(r.right() - fold, r.top() + fold), QPointF(r.right(), r.top() + fold));
    p.setPen(QPen(QColor(150, 160, 175), 1.0));
    for (qreal y = r.top() + r.height() * 0.45; y < r.bottom() - 2; y += r.height() * 0.15)
        p.drawLine(QPointF(r.left() + 3, y), QPointF(r.right() - 3, y));
}

void drawBadge(QPainter &p, const QPointF &centre, qreal radius, const QColor &colour)
{
    p.setPen(QPen(colour.darker(140), 1.0));
    p.setBrush(colour);
    p.drawEllipse(centre, radius, radius);
}

void paint(QPainter &p, Picture picture)
{
    p.setRenderHint(QPainter::Antialiasing);
    switch (picture) {
    case Picture::New: {
        drawPage(p, QRectF(4, 2, 15, 19));
        drawBadge(p, QPointF(17, 17), 5.5, QColor(46, 160, 67));
        p.setPen(QPen(Qt::white, 2.0));
        p.drawLine(QPointF(17, 14), QPointF(17, 20));
        p.drawLine(QPointF(14, 17), QPointF(20, 17));
        break;
    }
    case Picture::Delete: {
        drawPage(p, QRectF(4, 2, 15, 19));
        drawBadge(p, QPointF(17, 17), 5.5, QColor(205, 45, 45));
        p.setPen(QPen(Qt::white, 2.0));
        p.drawLine(QPointF(14.8, 14.8), QPointF(19.2, 19.2));
        p.drawLine(QPointF(19.2, 14.8), QPointF(14.8, 19.2));
        break;
    }
    case Picture::Edit: {
        drawPage(p, QRectF(3, 2, 15, 19));
        p.save();
        p.translate(14, 13);
        p.rotate(45);
        p.setPen(QPen(kInk, 1.0));
        p.setBrush(QColor(240, 180, 40));
        p.drawRect(QRectF(-2.2, -9, 4.4, 13));
        p.setBrush(QColor(230, 200, 160));
        QPainterPath tip;
        tip.moveTo(-2.2, 4);
        tip.lineTo(2.2, 4);
        tip.lineTo(0, 8);
        tip.closeSubpath();
        p.drawPath(tip);
        p.restore();
        break;
    }
    case Picture::Save: {
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(QColor(50, 100, 180));
        p.drawRoundedRect(QRectF(3, 3, 18, 18), 2, 2);
        p.setBrush(kPaper);
        p.drawRect(QRectF(6, 3, 12, 7));
        p.setBrush(QColor(200, 205, 215));
        p.drawRect(QRectF(7, 13, 10, 8));
        p.setBrush(kInk);
        p.drawRect(QRectF(14, 4.5, 2.5, 4));
        break;
    }
    case Picture::Backup: {
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(QColor(180, 185, 195));
        p.drawEllipse(QRectF(3, 14, 18, 7));
        p.drawRect(QRectF(3, 10, 18, 7.5));
        p.setPen(Qt::NoPen);
        p.drawRect(QRectF(3.6, 16, 16.8, 2));
        p.setPen(QPen(kInk, 1.2));
        p.drawEllipse(QRectF(3, 7, 18, 7));
        p.setPen(QPen(QColor(46, 160, 67), 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(12, 1.5), QPointF(12, 9));
        p.drawLine(QPointF(8.5, 5.5), QPointF(12, 9));
        p.drawLine(QPointF(15.5, 5.5), QPointF(12, 9));
        break;
    }
    case Picture::Repair: {
        p.setPen(QPen(QColor(110, 115, 125), 3.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(7, 18), QPointF(15, 10));
        p.setPen(QPen(kInk, 1.0));
        p.setBrush(QColor(160, 165, 175));
        QPainterPath head;
        head.addEllipse(QPointF(16.5, 8), 5.5, 5.5);
        QPainterPath notch;
        notch.addRect(QRectF(17, 1, 6, 5));
        p.drawPath(head.subtracted(notch));
        drawBadge(p, QPointF(6, 18), 3.2, QColor(110, 115, 125));
        break;
    }
    case Picture::Settings: {
        p.setPen(QPen(kInk, 1.0));
        p.setBrush(QColor(120, 130, 145));
        QPainterPath gear;
        const QPointF c(12, 12);
        for (int i = 0; i < 8; ++i) {
            p.save();
            p.translate(c);
            p.rotate(i * 45.0);
            p.drawRect(QRectF(-1.8, -10.5, 3.6, 5));
            p.restore();
        }
        p.drawEllipse(c, 7.5, 7.5);
        p.setBrush(kPaper);
        p.drawEllipse(c, 3, 3);
        break;
    }
    case Picture::Help: {
        drawBadge(p, QPointF(12, 12), 9.5, QColor(40, 110, 200));
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPixelSize(15);
        font.setBold(true);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRectF(0, 0, 24, 24), Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    case Picture::Exit: {
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(QColor(150, 95, 50));
        p.drawRect(QRectF(4, 2, 11, 20));
        p.setBrush(QColor(240, 200, 60));
        p.drawEllipse(QPointF(12.5, 12), 1.1, 1.1);
        p.setPen(QPen(QColor(205, 45, 45), 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(13, 12), QPointF(21.5, 12));
        p.drawLine(QPointF(18.5, 9), QPointF(21.5, 12));
        p.drawLine(QPointF(18.5, 15), QPointF(21.5, 12));
        break;
    }
    case Picture::Orders: {
        // A stack of issued orders with a tick: the register.
        drawPage(p, QRectF(8, 1, 13, 17));
        drawPage(p, QRectF(3, 5, 13, 17));
        drawBadge(p, QPointF(17, 18), 5.5, QColor(40, 110, 200));
        p.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(14.6, 18.2), QPointF(16.4, 20));
        p.drawLine(QPointF(16.4, 20), QPointF(19.6, 15.8));
        break;
    }
    case Picture::About:
        break;
    }
}

QPixmap render(Picture picture, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.scale(size / 24.0, size / 24.0);
    paint(painter, picture);
    return pixmap;
}

QIcon drawnIcon(Picture picture)
{
    QIcon result;
    for (int size : {16, 24, 32, 48})
        result.addPixmap(render(picture, size));
    return result;
}

QIcon drawnApplicationIcon()
{
    QIcon result;
    for (int size : {16, 32, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.scale(size / 24.0, size / 24.0);
        p.setRenderHint(QPainter::Antialiasing);
        drawPage(p, QRectF(3, 1, 18, 22));
        drawBadge(p, QPointF(15.5, 16), 6.5, QColor(180, 30, 45));
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPixelSize(10);
        font.setBold(true);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRectF(9, 9.5, 13, 13), Qt::AlignCenter, QString(QChar(0x20BA)));
        result.addPixmap(pixmap);
    }
    return result;
}

// One icon a picture for the whole run, drawn when first shown: the menu
// and the tool bar share it, and a menu never opened draws nothing.
QHash<int, QIcon> &madeIcons()
{
    static QHash<int, QIcon> icons;
    static const bool clearedAtExit = [] {
        // Pixmaps must go before the application does.
        qAddPostRoutine([] { madeIcons().clear(); });
        return true;
    }();
    Q_UNUSED(clearedAtExit);
    return icons;
}

QIcon madeIcon(int key, DeferredIconEngine::Maker maker)
{
    QHash<int, QIcon> &icons = madeIcons();
    auto found = icons.constFind(key);
    if (found == icons.constEnd())
        found = icons.insert(key, QIcon(new DeferredIconEngine(std::move(maker))));
    return *found;
}

constexpr int kApplicationIconKey = -1;

} // namespace

QIcon icon(Picture picture)
{
    return madeIcon(int(picture), [picture] { return drawnIcon(picture); });
}

QIcon applicationIcon()
{
    return madeIcon(kApplicationIconKey, drawnApplicationIcon);
}

QPixmap aboutPicture()
{
    QPixmap pixmap(104, 180);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 180);
    sky.setColorAt(0, QColor(32, 60, 110));
    sky.setColorAt(1, QColor(120, 160, 210));
    p.fillRect(pixmap.rect(), sky);
    p.save();
    p.translate(14, 40);
    p.scale(3.2, 3.2);
    drawPage(p, QRectF(1, 1, 22, 28));
    p.restore();
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(13);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 8, 104, 24), Qt::AlignCenter, QStringLiteral("MİRVASEL"));
    p.setPen(QColor(180, 30, 45));
    font.setPixelSize(34);
    p.setFont(font);
    p.drawText(QRectF(14, 70, 80, 60), Qt::AlignCenter, QString(QChar(0x20BA)));
    return pixmap;
}

} // namespace ToolIcons
