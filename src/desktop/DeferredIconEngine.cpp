#include "desktop/DeferredIconEngine.h"

#include <QPainter>

DeferredIconEngine::DeferredIconEngine(Maker maker)
    : m_drawing(std::make_shared<Drawing>())
{
    m_drawing->maker = std::move(maker);
}

DeferredIconEngine::DeferredIconEngine(std::shared_ptr<Drawing> drawing)
    : m_drawing(std::move(drawing))
{
}

const QIcon &DeferredIconEngine::icon()
{
    if (!m_drawing->drawn) {
        m_drawing->icon = m_drawing->maker();
        m_drawing->drawn = true;
    }
    return m_drawing->icon;
}

bool DeferredIconEngine::isDrawn() const
{
    return m_drawing->drawn;
}

void DeferredIconEngine::paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state)
{
    // QIcon::paint() has placed rect already; the drawn icon places it the same.
    icon().paint(painter, rect, Qt::AlignCenter, mode, state);
}

QSize DeferredIconEngine::actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state)
{
    return icon().actualSize(size, mode, state);
}

QPixmap DeferredIconEngine::pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state)
{
    return icon().pixmap(size, mode, state);
}

QPixmap DeferredIconEngine::scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state, qreal scale)
{
    // QIcon::pixmap() hands a device pixel size and its scale to the engine
    // of the drawn icon as it hands them here.
    if (!(scale > 1.0))
        return pixmap(size, mode, state);
    return icon().pixmap(size / scale, scale, mode, state);
}

QList<QSize> DeferredIconEngine::availableSizes(QIcon::Mode mode, QIcon::State state)
{
    return icon().availableSizes(mode, state);
}

bool DeferredIconEngine::isNull()
{
    // Asked by every QIcon::isNull(), which must not draw anything.
    return false;
}

QString DeferredIconEngine::key() const
{
    return QStringLiteral("DeferredIconEngine");
}

QIconEngine *DeferredIconEngine::clone() const
{
    return new DeferredIconEngine(m_drawing);
}
