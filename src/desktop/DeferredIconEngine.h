#pragma once

#include <QIcon>
#include <QIconEngine>

#include <functional>
#include <memory>

// An icon whose pictures are drawn the first time it is shown, not when it
// is made: a window pays nothing at start for the icons of menus nobody has
// opened yet. It then shows exactly what the icon its maker draws would
// show; copies of it share the one drawing.
class DeferredIconEngine : public QIconEngine
{
public:
    using Maker = std::function<QIcon()>;

    explicit DeferredIconEngine(Maker maker);

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state, qreal scale) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    bool isNull() override;
    QString key() const override;
    QIconEngine *clone() const override;

    // Whether the pictures have been drawn yet.
    bool isDrawn() const;

private:
    struct Drawing
    {
        Maker maker;
        QIcon icon;
        bool drawn = false;
    };

    explicit DeferredIconEngine(std::shared_ptr<Drawing> drawing);
    const QIcon &icon();

    std::shared_ptr<Drawing> m_drawing;
};
