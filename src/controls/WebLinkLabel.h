#pragma once

#include <QColor>
#include <QLabel>

// A label that shows a web address, changes colour while the mouse is over
// it and opens the address when clicked.
class WebLinkLabel : public QLabel
{
    Q_OBJECT

public:
    explicit WebLinkLabel(const QString &address, QWidget *parent = nullptr);

    // Background colours may be invalid: the label is then transparent.
    void setNormalColours(const QColor &text, const QColor &background);
    void setHoverColours(const QColor &text, const QColor &background);

    QString address() const { return m_address; }
    bool isHovered() const { return m_hovered; }

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void applyColours(bool hovered);

    QString m_address;
    QColor m_normalText;
    QColor m_normalBackground;
    QColor m_hoverText;
    QColor m_hoverBackground;
    bool m_hovered = false;
};
