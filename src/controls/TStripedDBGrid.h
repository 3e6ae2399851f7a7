#pragma once

#include "base/DataSetLink.h"

#include <QColor>
#include <QTableView>

#include <functional>

// The payee list grid: one row per record of a data set, every second record
// striped, the current record in its own colours, and the mouse wheel moving
// the current record instead of scrolling.
//
// The owner sets a model whose rows are the data set's records, then the data
// set itself, and calls syncCurrentRow() whenever the data set's current
// record has changed.
class TStripedDBGrid : public QTableView
{
    Q_OBJECT
    Q_PROPERTY(QColor ColorAlternative READ colorAlternative WRITE setColorAlternative)
    Q_PROPERTY(QColor ColorSelect READ colorSelect WRITE setColorSelect)
    Q_PROPERTY(QColor ColorSelectText READ colorSelectText WRITE setColorSelectText)
    Q_PROPERTY(int MoveByRows READ moveByRows WRITE setMoveByRows)

public:
    // Takes one wheel notch before the grid does; returns true when it did.
    using WheelHandler = std::function<bool()>;

    struct CellColours
    {
        QColor background;
        QColor text;
    };

    // One notch of an ordinary mouse wheel, in the units of QWheelEvent::angleDelta().
    static constexpr int kWheelNotch = 120;

    explicit TStripedDBGrid(QWidget *parent = nullptr);

    void setModel(QAbstractItemModel *model) override;

    // Not owned; may be null.
    void setDataSet(DataSetLink *dataSet);
    DataSetLink *dataSet() const { return m_dataSet; }

    // Invalid colours (an unknown system colour from the settings file) keep
    // the current one.
    QColor colorAlternative() const { return m_colorAlternative; }
    void setColorAlternative(const QColor &colour);
    QColor colorSelect() const { return m_colorSelect; }
    void setColorSelect(const QColor &colour);
    QColor colorSelectText() const { return m_colorSelectText; }
    void setColorSelectText(const QColor &colour);

    int moveByRows() const { return m_moveByRows; }
    void setMoveByRows(int rows);

    void setOnMouseWheelDown(WheelHandler handler) { m_onMouseWheelDown = std::move(handler); }
    void setOnMouseWheelUp(WheelHandler handler) { m_onMouseWheelUp = std::move(handler); }

    // The 1-based record number shown on a model row; 0 when there is none.
    int recordNumber(int row) const;

    // How a cell of the given record is painted. Record number 0 (a record
    // not saved yet) is never striped.
    CellColours cellColours(int recordNumber, bool selected) const;

    // One wheel notch towards the user / away from the user. Returns whether
    // the notch was handled: taken by the handler or the current record moved.
    bool mouseWheelDown();
    bool mouseWheelUp();

public slots:
    // Selects and shows the data set's current record, without moving it.
    void syncCurrentRow();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void keyboardSearch(const QString &search) override;

private:
    bool moveRecords(int distance);
    bool showsCurrentRecord() const;
    void followCurrentIndex();
    void changeColour(QColor &colour, const QColor &newColour);

    DataSetLink *m_dataSet = nullptr;
    QColor m_colorAlternative;
    QColor m_colorSelect;
    QColor m_colorSelectText;
    int m_moveByRows = 1;
    WheelHandler m_onMouseWheelDown;
    WheelHandler m_onMouseWheelUp;
    int m_wheelRemainder = 0;
};
