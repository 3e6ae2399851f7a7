#include "controls/TStripedDBGrid.h"

#include "base/WindowsColour.h"

#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QWheelEvent>

namespace {

constexpr qint32 kDefaultBackground = 16244694;
constexpr qint32 kDefaultAlternative = 16378595;

// Paints each cell in the colours the grid chooses for its record.
class StripedCellDelegate final : public QStyledItemDelegate
{
public:
    explicit StripedCellDelegate(TStripedDBGrid *grid) : QStyledItemDelegate(grid), m_grid(grid) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        QStyleOptionViewItem cell(option);
        initStyleOption(&cell, index);
        const bool selected = cell.state.testFlag(QStyle::State_Selected);
        const TStripedDBGrid::CellColours colours =
            m_grid->cellColours(m_grid->recordNumber(index.row()), selected);

        // The selection is painted in the grid's own pair of colours: neither
        // the style's highlight nor its focus frame may cover them.
        cell.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
        cell.backgroundBrush = colours.background;
        cell.palette.setColor(QPalette::Text, colours.text);
        const QWidget *widget = cell.widget;
        QStyle *style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);
    }

private:
    TStripedDBGrid *m_grid;
};

} // namespace

TStripedDBGrid::TStripedDBGrid(QWidget *parent)
    : QTableView(parent)
    , m_colorAlternative(WindowsColour::toQColor(kDefaultAlternative))
    , m_colorSelect(WindowsColour::toQColor(WindowsColour::kWhite))
    , m_colorSelectText(WindowsColour::toQColor(WindowsColour::kRed))
{
    QPalette colours = palette();
    colours.setColor(QPalette::Base, WindowsColour::toQColor(kDefaultBackground));
    setPalette(colours);

    setItemDelegate(new StripedCellDelegate(this));
    setSelectionBehavior(SelectRows);
    setSelectionMode(SingleSelection);
    setEditTriggers(NoEditTriggers);
    setAlternatingRowColors(false);
    setShowGrid(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    verticalHeader()->hide();
    // Tab leaves the list for the payee fields instead of walking its rows.
    setTabKeyNavigation(false);
    // Turning the wheel over the list must not take the focus from a field.
    setFocusPolicy(Qt::StrongFocus);

    // Over a scroll bar the wheel moves records too; it never just scrolls.
    verticalScrollBar()->installEventFilter(this);
    horizontalScrollBar()->installEventFilter(this);
}

void TStripedDBGrid::setModel(QAbstractItemModel *model)
{
    if (QAbstractItemModel *previous = this->model())
        disconnect(previous, &QAbstractItemModel::modelReset, this, &TStripedDBGrid::syncCurrentRow);
    QTableView::setModel(model);
    // A reset drops the view's selection; the data set keeps its record.
    if (model)
        connect(model, &QAbstractItemModel::modelReset, this, &TStripedDBGrid::syncCurrentRow);
    syncCurrentRow();
}

void TStripedDBGrid::setDataSet(DataSetLink *dataSet)
{
    m_dataSet = dataSet;
    syncCurrentRow();
}

void TStripedDBGrid::setColorAlternative(const QColor &colour)
{
    changeColour(m_colorAlternative, colour);
}

void TStripedDBGrid::setColorSelect(const QColor &colour)
{
    changeColour(m_colorSelect, colour);
}

void TStripedDBGrid::setColorSelectText(const QColor &colour)
{
    changeColour(m_colorSelectText, colour);
}

void TStripedDBGrid::changeColour(QColor &colour, const QColor &newColour)
{
    // The preferences dialog sets all colours on every "Tamam"; unchanged ones
    // must not repaint the list.
    if (!newColour.isValid() || newColour.rgb() == colour.rgb())
        return;
    colour = newColour.toRgb();
    viewport()->update();
}

void TStripedDBGrid::setMoveByRows(int rows)
{
    m_moveByRows = rows;
}

int TStripedDBGrid::recordNumber(int row) const
{
    return m_dataSet ? m_dataSet->recordNumber(row) : 0;
}

TStripedDBGrid::CellColours TStripedDBGrid::cellColours(int recordNumber, bool selected) const
{
    CellColours colours{palette().color(QPalette::Base), palette().color(QPalette::Text)};
    // By record, not by screen row: a record keeps its colour while the list scrolls.
    if (recordNumber > 0 && recordNumber % 2 == 0)
        colours.background = m_colorAlternative;
    if (selected) {
        colours.background = m_colorSelect;
        colours.text = m_colorSelectText;
    }
    return colours;
}

bool TStripedDBGrid::mouseWheelDown()
{
    if (m_onMouseWheelDown && m_onMouseWheelDown())
        return true;
    return moveRecords(m_moveByRows);
}

bool TStripedDBGrid::mouseWheelUp()
{
    if (m_onMouseWheelUp && m_onMouseWheelUp())
        return true;
    return moveRecords(-m_moveByRows);
}

bool TStripedDBGrid::moveRecords(int distance)
{
    if (!m_dataSet || !m_dataSet->isActive())
        return false;
    if (m_dataSet->moveBy(distance) == 0)
        return false;
    syncCurrentRow();
    return true;
}

void TStripedDBGrid::syncCurrentRow()
{
    QItemSelectionModel *selection = selectionModel();
    if (!selection || !model())
        return;
    const int row = m_dataSet ? m_dataSet->currentRow() : -1;
    if (row < 0 || row >= model()->rowCount(rootIndex())) {
        selection->clear();
        return;
    }
    const int column = currentIndex().isValid() ? currentIndex().column() : 0;
    const QModelIndex index = model()->index(row, column, rootIndex());
    selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(index);
}

bool TStripedDBGrid::showsCurrentRecord() const
{
    const int row = m_dataSet ? m_dataSet->currentRow() : -1;
    if (currentIndex().row() != row)
        return false;
    return row < 0 || selectionModel()->isRowSelected(row, rootIndex());
}

// After the base view has reacted to the mouse or the keyboard: a row the
// user went to becomes the data set's current record, and whatever the data
// set refused is put back.
void TStripedDBGrid::followCurrentIndex()
{
    if (!m_dataSet || !selectionModel() || showsCurrentRecord())
        return;
    const int row = currentIndex().row();
    if (row >= 0 && row != m_dataSet->currentRow() && m_dataSet->isActive())
        m_dataSet->moveToRow(row);
    syncCurrentRow();
}

bool TStripedDBGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Wheel
        && (watched == verticalScrollBar() || watched == horizontalScrollBar())) {
        wheelEvent(static_cast<QWheelEvent *>(event));
        return true;
    }
    return QTableView::eventFilter(watched, event);
}

void TStripedDBGrid::wheelEvent(QWheelEvent *event)
{
    // Never handed on, not even when no record moved: a list scrolled away
    // from its current record would show another payee as the chosen one.
    event->accept();
    const int delta = event->angleDelta().y();
    if (delta == 0)
        return;
    // Fine-grained wheels and touch pads send parts of a notch; a turn the
    // other way drops what was gathered so far.
    if ((delta > 0) != (m_wheelRemainder > 0))
        m_wheelRemainder = 0;
    m_wheelRemainder += delta;
    while (m_wheelRemainder >= kWheelNotch) {
        m_wheelRemainder -= kWheelNotch;
        mouseWheelUp();
    }
    while (m_wheelRemainder <= -kWheelNotch) {
        m_wheelRemainder += kWheelNotch;
        mouseWheelDown();
    }
}

void TStripedDBGrid::mousePressEvent(QMouseEvent *event)
{
    QTableView::mousePressEvent(event);
    followCurrentIndex();
}

void TStripedDBGrid::mouseMoveEvent(QMouseEvent *event)
{
    QTableView::mouseMoveEvent(event);
    followCurrentIndex();
}

void TStripedDBGrid::mouseReleaseEvent(QMouseEvent *event)
{
    QTableView::mouseReleaseEvent(event);
    followCurrentIndex();
}

void TStripedDBGrid::keyPressEvent(QKeyEvent *event)
{
    QTableView::keyPressEvent(event);
    followCurrentIndex();
}

void TStripedDBGrid::focusInEvent(QFocusEvent *event)
{
    // The base view makes the first row current when none is; the list shows
    // the data set's record instead.
    QTableView::focusInEvent(event);
    if (m_dataSet && selectionModel() && !showsCurrentRecord())
        syncCurrentRow();
}

QModelIndex TStripedDBGrid::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    // Home and End go to the first and last record, not along the row.
    if (cursorAction == MoveHome || cursorAction == MoveEnd)
        modifiers |= Qt::ControlModifier;
    return QTableView::moveCursor(cursorAction, modifiers);
}

void TStripedDBGrid::keyboardSearch(const QString &)
{
    // Typed letters do not jump through the list; finding a payee by name is
    // the search page's job.
}
