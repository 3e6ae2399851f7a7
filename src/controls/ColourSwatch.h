#pragma once

#include <QWidget>

class QLabel;

// A small square showing one colour, framed in black. A press of any mouse
// button on it, or on the caption given to it, asks for another colour.
class ColourSwatch : public QWidget
{
    Q_OBJECT

public:
    explicit ColourSwatch(QWidget *parent = nullptr);

    // A Windows colour value, kept as it is even when it is a system colour
    // that the swatch can only approximate.
    qint32 colourValue() const { return m_value; }
    void setColourValue(qint32 value);

    // The caption beside the swatch: same cursor, same answer to the mouse.
    void setCaption(QLabel *caption);
    QLabel *caption() const { return m_caption; }

signals:
    void pressed();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    qint32 m_value = 0;
    QLabel *m_caption = nullptr;
};
