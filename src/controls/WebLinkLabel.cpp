#include "controls/WebLinkLabel.h"

#include "desktop/ShellServices.h"

#include <QMouseEvent>

WebLinkLabel::WebLinkLabel(const QString &address, QWidget *parent)
    : QLabel(address, parent)
    , m_address(address)
{
    setCursor(Qt::PointingHandCursor);
    setMouseTracking(true);
    setAlignment(Qt::AlignCenter);
    // Inside a tool bar a label would otherwise take the button roles.
    setForegroundRole(QPalette::WindowText);
    setBackgroundRole(QPalette::Window);
}

void WebLinkLabel::setNormalColours(const QColor &text, const QColor &background)
{
    m_normalText = text;
    m_normalBackground = background;
    applyColours(m_hovered);
}

void WebLinkLabel::setHoverColours(const QColor &text, const QColor &background)
{
    m_hoverText = text;
    m_hoverBackground = background;
    applyColours(m_hovered);
}

void WebLinkLabel::applyColours(bool hovered)
{
    const QColor text = hovered ? m_hoverText : m_normalText;
    const QColor background = hovered ? m_hoverBackground : m_normalBackground;
    QPalette palette = this->palette();
    if (text.isValid())
        palette.setColor(QPalette::WindowText, text);
    if (background.isValid())
        palette.setColor(QPalette::Window, background);
    setAutoFillBackground(background.isValid());
    if (palette != this->palette())
        setPalette(palette);
    m_hovered = hovered;
}

void WebLinkLabel::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_hovered)
        applyColours(true);
    QLabel::mouseMoveEvent(event);
}

void WebLinkLabel::enterEvent(QEnterEvent *event)
{
    applyColours(true);
    QLabel::enterEvent(event);
}

void WebLinkLabel::leaveEvent(QEvent *event)
{
    applyColours(false);
    QLabel::leaveEvent(event);
}

void WebLinkLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        ShellServices::openWebAddress(m_address);
    QLabel::mouseReleaseEvent(event);
}
