#pragma once

#include <QColor>
#include <QTabBar>

// The left pane's tab set: its unselected tabs take the field colour.
class TabSetBar : public QTabBar
{
    Q_OBJECT

public:
    explicit TabSetBar(QWidget *parent = nullptr);

    QColor unselectedTabColour() const { return m_unselected; }
    void setUnselectedTabColour(const QColor &colour);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_unselected = Qt::white;
};
