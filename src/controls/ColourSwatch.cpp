#include "controls/ColourSwatch.h"

#include "base/WindowsColour.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

ColourSwatch::ColourSwatch(QWidget *parent)
    : QWidget(parent)
{
    setFixedSize(17, 17);
    setCursor(Qt::PointingHandCursor);
}

void ColourSwatch::setColourValue(qint32 value)
{
    if (value == m_value)
        return;
    m_value = value;
    update();
}

void ColourSwatch::setCaption(QLabel *caption)
{
    if (m_caption)
        m_caption->removeEventFilter(this);
    m_caption = caption;
    if (!caption)
        return;
    caption->setCursor(Qt::PointingHandCursor);
    caption->installEventFilter(this);
}

void ColourSwatch::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QColor fill = WindowsColour::toQColor(m_value);
    if (!fill.isValid())
        fill = palette().color(QPalette::Window);
    painter.setPen(Qt::black);
    painter.setBrush(fill);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void ColourSwatch::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    emit pressed();
}

bool ColourSwatch::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_caption && event->type() == QEvent::MouseButtonPress) {
        emit pressed();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
