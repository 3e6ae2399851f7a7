#include "controls/TStripedDBGrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QStringListModel>
#include <QtTest>

namespace {

// A list held in memory: rows are records, in order, and moves are clamped
// to the records there are.
class FakeDataSet : public DataSetLink
{
public:
    bool active = true;
    bool refuseMoves = false;
    QList<int> numbers; // record number shown on each row
    int current = 0;
    QList<int> movesToRow;
    QList<int> movesBy;

    bool isActive() const override { return active; }
    int recordNumber(int row) const override { return numbers.value(row, 0); }
    int currentRow() const override { return active ? current : -1; }

    bool moveToRow(int row) override
    {
        movesToRow << row;
        if (refuseMoves)
            return false;
        current = row;
        return true;
    }

    int moveBy(int distance) override
    {
        movesBy << distance;
        const int target = qBound(0, current + distance, int(numbers.size()) - 1);
        const int moved = target - current;
        current = target;
        return moved;
    }
};

// A shown grid over a list of payees "KAYIT 1" ... "KAYIT n".
struct Fixture
{
    QStandardItemModel model;
    FakeDataSet dataSet;
    TStripedDBGrid grid;

    explicit Fixture(int records, int startRow = 0)
    {
        model.setHorizontalHeaderLabels({QStringLiteral(" Eczane Adı")});
        for (int i = 1; i <= records; ++i) {
            model.appendRow(new QStandardItem(QStringLiteral("KAYIT %1").arg(i)));
            dataSet.numbers << i;
        }
        dataSet.current = startRow;
        grid.setModel(&model);
        grid.setDataSet(&dataSet);
        grid.resize(220, 160);
        grid.show();
        if (!QTest::qWaitForWindowExposed(&grid))
            qWarning("grid not exposed");
    }

    int selectedRow() const
    {
        const QModelIndexList rows = grid.selectionModel()->selectedRows();
        return rows.size() == 1 ? rows.first().row() : -1;
    }

    // The grid shows the data set's current record, and nothing else.
    bool inStep() const
    {
        return selectedRow() == dataSet.currentRow() && grid.currentIndex().row() == dataSet.currentRow();
    }

    QPoint rowCentre(int row) const { return grid.visualRect(model.index(row, 0)).center(); }

    void wheel(QWidget *target, int delta)
    {
        QWheelEvent event(QPointF(10, 10), target->mapToGlobal(QPointF(10, 10)), QPoint(),
                          QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &event);
    }
};

class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

enum ColourRole { Base, Alternative, Select, SelectText };

} // namespace

class TestTStripedDBGrid : public QObject
{
    Q_OBJECT

private slots:
    void defaults();
    void cellColours_data();
    void cellColours();
    void paintedByRecordNumber();
    void colourChangeRepaints_data();
    void colourChangeRepaints();
    void wheelNotches_data();
    void wheelNotches();
    void wheelRule_data();
    void wheelRule();
    void wheelNeverJustScrolls();
    void clickMovesDataSet();
    void keyboardMoves_data();
    void keyboardMoves();
    void pageKeys();
    void syncCurrentRow();
    void rowsAreReadOnly();
};

void TestTStripedDBGrid::defaults()
{
    TStripedDBGrid grid;
    QCOMPARE(grid.colorAlternative(), QColor(227, 234, 249));
    QCOMPARE(grid.colorSelect(), QColor(255, 255, 255));
    QCOMPARE(grid.colorSelectText(), QColor(255, 0, 0));
    QCOMPARE(grid.moveByRows(), 1);
    QCOMPARE(grid.palette().color(QPalette::Base), QColor(214, 223, 247));
    QVERIFY(grid.verticalHeader()->isHidden());
    QVERIFY(!grid.horizontalHeader()->isHidden());
}

void TestTStripedDBGrid::cellColours_data()
{
    QTest::addColumn<int>("recordNumber");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<int>("background");
    QTest::addColumn<int>("text");

    QTest::newRow("first record") << 1 << false << int(Base) << int(Base);
    QTest::newRow("second record") << 2 << false << int(Alternative) << int(Base);
    QTest::newRow("third record") << 3 << false << int(Base) << int(Base);
    QTest::newRow("selected, odd") << 1 << true << int(Select) << int(SelectText);
    QTest::newRow("selected, even") << 2 << true << int(Select) << int(SelectText);
    QTest::newRow("new record") << 0 << false << int(Base) << int(Base);
    QTest::newRow("new record, selected") << 0 << true << int(Select) << int(SelectText);
}

void TestTStripedDBGrid::cellColours()
{
    QFETCH(int, recordNumber);
    QFETCH(bool, selected);
    QFETCH(int, background);
    QFETCH(int, text);

    TStripedDBGrid grid;
    // The lists of this program use a white background.
    QPalette palette = grid.palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    grid.setPalette(palette);
    grid.setColorAlternative(QColor(233, 228, 224));
    grid.setColorSelect(Qt::black);
    grid.setColorSelectText(QColor(0, 255, 0));

    const QColor colours[] = {Qt::white, QColor(233, 228, 224), Qt::black, QColor(0, 255, 0)};
    const QColor textColours[] = {Qt::black, {}, {}, QColor(0, 255, 0)};
    const TStripedDBGrid::CellColours cell = grid.cellColours(recordNumber, selected);
    QCOMPARE(cell.background, colours[background]);
    QCOMPARE(cell.text, textColours[text]);
}

void TestTStripedDBGrid::paintedByRecordNumber()
{
    Fixture f(4);
    // A new record not yet saved on the second row: the record numbers no
    // longer follow the screen rows.
    f.dataSet.numbers = {1, 0, 2, 3};
    f.grid.viewport()->update();
    settle();

    const QImage image = f.grid.viewport()->grab().toImage();
    const int x = f.grid.columnViewportPosition(0) + f.grid.columnWidth(0) - 6;
    auto colourOfRow = [&](int row) { return image.pixelColor(x, f.rowCentre(row).y()); };

    QCOMPARE(colourOfRow(0), f.grid.colorSelect());
    QCOMPARE(colourOfRow(1), QColor(214, 223, 247));
    QCOMPARE(colourOfRow(2), f.grid.colorAlternative());
    QCOMPARE(colourOfRow(3), QColor(214, 223, 247));
}

void TestTStripedDBGrid::colourChangeRepaints_data()
{
    QTest::addColumn<QByteArray>("property");
    QTest::newRow("alternative") << QByteArray("ColorAlternative");
    QTest::newRow("select") << QByteArray("ColorSelect");
    QTest::newRow("select text") << QByteArray("ColorSelectText");
}

void TestTStripedDBGrid::colourChangeRepaints()
{
    QFETCH(QByteArray, property);

    Fixture f(3);
    PaintCounter counter;
    f.grid.viewport()->installEventFilter(&counter);
    settle();
    counter.paints = 0;

    const QVariant current = f.grid.property(property);
    QVERIFY(current.value<QColor>().isValid());
    QVERIFY(f.grid.setProperty(property, current));
    QVERIFY(f.grid.setProperty(property, QColor())); // an unknown colour keeps the current one
    settle();
    QCOMPARE(counter.paints, 0);
    QCOMPARE(f.grid.property(property), current);

    const QColor other(12, 34, 56);
    QVERIFY(f.grid.setProperty(property, other));
    QTRY_VERIFY(counter.paints > 0);
    QCOMPARE(f.grid.property(property).value<QColor>(), other);
}

void TestTStripedDBGrid::wheelNotches_data()
{
    QTest::addColumn<QList<int>>("deltas");
    QTest::addColumn<int>("moveByRows");
    QTest::addColumn<QList<int>>("moves");

    QTest::newRow("one notch down") << QList<int>{-120} << 1 << QList<int>{1};
    QTest::newRow("one notch up") << QList<int>{120} << 1 << QList<int>{-1};
    QTest::newRow("three notches at once") << QList<int>{-360} << 1 << QList<int>{1, 1, 1};
    QTest::newRow("halves add up") << QList<int>{-60, -60} << 1 << QList<int>{1};
    QTest::newRow("less than a notch") << QList<int>{-100} << 1 << QList<int>{};
    QTest::newRow("turning back drops the part")
        << QList<int>{-90, 60, -90} << 1 << QList<int>{};
    QTest::newRow("part carried to the next notch")
        << QList<int>{-90, -90, -60} << 1 << QList<int>{1, 1};
    QTest::newRow("three rows a notch") << QList<int>{-120} << 3 << QList<int>{3};
    QTest::newRow("no vertical turn") << QList<int>{0} << 1 << QList<int>{};
}

void TestTStripedDBGrid::wheelNotches()
{
    QFETCH(QList<int>, deltas);
    QFETCH(int, moveByRows);
    QFETCH(QList<int>, moves);

    Fixture f(20, 10);
    f.grid.setMoveByRows(moveByRows);
    for (int delta : deltas)
        f.wheel(f.grid.viewport(), delta);

    QCOMPARE(f.dataSet.movesBy, moves);
    QVERIFY(f.dataSet.movesToRow.isEmpty());
    QVERIFY(f.inStep());
}

void TestTStripedDBGrid::wheelRule_data()
{
    QTest::addColumn<bool>("down");
    QTest::addColumn<int>("startRow");
    QTest::addColumn<int>("moveByRows");
    QTest::addColumn<bool>("active");
    QTest::addColumn<int>("handler"); // 0 none, 1 takes the notch, 2 leaves it
    QTest::addColumn<bool>("handled");
    QTest::addColumn<int>("endRow");
    QTest::addColumn<int>("moveCalls");

    // Five records, rows 0 to 4.
    QTest::newRow("down") << true << 2 << 1 << true << 0 << true << 3 << 1;
    QTest::newRow("up") << false << 2 << 1 << true << 0 << true << 1 << 1;
    QTest::newRow("down on the last record") << true << 4 << 1 << true << 0 << false << 4 << 1;
    QTest::newRow("up on the first record") << false << 0 << 1 << true << 0 << false << 0 << 1;
    QTest::newRow("three rows, one left below") << true << 3 << 3 << true << 0 << true << 4 << 1;
    QTest::newRow("three rows, two left above") << false << 2 << 3 << true << 0 << true << 0 << 1;
    QTest::newRow("closed data set") << true << 2 << 1 << false << 0 << false << 2 << 0;
    QTest::newRow("handler takes it") << true << 2 << 1 << true << 1 << true << 2 << 0;
    QTest::newRow("handler takes it up") << false << 2 << 1 << true << 1 << true << 2 << 0;
    QTest::newRow("handler leaves it") << true << 2 << 1 << true << 2 << true << 3 << 1;
}

void TestTStripedDBGrid::wheelRule()
{
    QFETCH(bool, down);
    QFETCH(int, startRow);
    QFETCH(int, moveByRows);
    QFETCH(bool, active);
    QFETCH(int, handler);
    QFETCH(bool, handled);
    QFETCH(int, endRow);
    QFETCH(int, moveCalls);

    Fixture f(5, startRow);
    f.dataSet.active = active;
    f.grid.syncCurrentRow(); // as the owner does when the data set closes
    f.grid.setMoveByRows(moveByRows);
    int handlerCalls = 0;
    if (handler != 0) {
        const TStripedDBGrid::WheelHandler wheelHandler = [&] {
            ++handlerCalls;
            return handler == 1;
        };
        // Only the handler of the turned direction is asked.
        f.grid.setOnMouseWheelDown(down ? wheelHandler : [] { return true; });
        f.grid.setOnMouseWheelUp(down ? [] { return true; } : wheelHandler);
    }

    QCOMPARE(down ? f.grid.mouseWheelDown() : f.grid.mouseWheelUp(), handled);
    QCOMPARE(f.dataSet.current, endRow);
    QCOMPARE(f.dataSet.movesBy.size(), moveCalls);
    QCOMPARE(handlerCalls, handler != 0 ? 1 : 0);
    QVERIFY(f.inStep());
}

void TestTStripedDBGrid::wheelNeverJustScrolls()
{
    Fixture f(100);
    QScrollBar *scrollBar = f.grid.verticalScrollBar();
    QVERIFY(scrollBar->maximum() > 0);

    // Nothing to move: the list stays where it is.
    f.dataSet.active = false;
    f.wheel(f.grid.viewport(), -360);
    f.wheel(scrollBar, -360);
    QCOMPARE(scrollBar->value(), 0);

    // Over the scroll bar the wheel moves the record like anywhere else.
    f.dataSet.active = true;
    f.wheel(scrollBar, -120);
    QCOMPARE(f.dataSet.movesBy, QList<int>{1});
    QCOMPARE(f.dataSet.current, 1);
    QCOMPARE(scrollBar->value(), 0);
}

void TestTStripedDBGrid::clickMovesDataSet()
{
    Fixture f(5, 1);
    QTest::mouseClick(f.grid.viewport(), Qt::LeftButton, {}, f.rowCentre(3));
    QCOMPARE(f.dataSet.movesToRow, QList<int>{3});
    QCOMPARE(f.dataSet.current, 3);
    QVERIFY(f.inStep());

    // Clicking the current record again asks nothing of the data set.
    QTest::mouseClick(f.grid.viewport(), Qt::LeftButton, {}, f.rowCentre(3));
    QCOMPARE(f.dataSet.movesToRow, QList<int>{3});
    QTest::mouseClick(f.grid.viewport(), Qt::LeftButton, Qt::ControlModifier, f.rowCentre(3));
    QVERIFY(f.inStep());

    // A refused move leaves the selection on the data set's record.
    f.dataSet.refuseMoves = true;
    QTest::mouseClick(f.grid.viewport(), Qt::LeftButton, {}, f.rowCentre(0));
    QCOMPARE(f.dataSet.movesToRow, (QList<int>{3, 0}));
    QCOMPARE(f.dataSet.current, 3);
    QVERIFY(f.inStep());
}

void TestTStripedDBGrid::keyboardMoves_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<int>("target");

    // Five records, starting on row 2.
    QTest::newRow("down") << int(Qt::Key_Down) << false << 3;
    QTest::newRow("up") << int(Qt::Key_Up) << false << 1;
    QTest::newRow("home") << int(Qt::Key_Home) << false << 0;
    QTest::newRow("end") << int(Qt::Key_End) << false << 4;
    QTest::newRow("down refused") << int(Qt::Key_Down) << true << 3;
    QTest::newRow("end refused") << int(Qt::Key_End) << true << 4;
}

void TestTStripedDBGrid::keyboardMoves()
{
    QFETCH(int, key);
    QFETCH(bool, refused);
    QFETCH(int, target);

    Fixture f(5, 2);
    f.dataSet.refuseMoves = refused;
    QTest::keyClick(&f.grid, Qt::Key(key));
    QCOMPARE(f.dataSet.movesToRow, QList<int>{target});
    QCOMPARE(f.dataSet.current, refused ? 2 : target);
    QVERIFY(f.inStep());
}

void TestTStripedDBGrid::pageKeys()
{
    Fixture f(100);
    QTest::keyClick(&f.grid, Qt::Key_PageDown);
    QVERIFY(f.dataSet.current > 1);
    QVERIFY(f.inStep());
    QTest::keyClick(&f.grid, Qt::Key_PageUp);
    QCOMPARE(f.dataSet.current, 0);
    QVERIFY(f.inStep());
    QCOMPARE(f.dataSet.movesToRow.size(), 2);
}

void TestTStripedDBGrid::syncCurrentRow()
{
    Fixture f(100);
    f.dataSet.current = 80;
    f.grid.syncCurrentRow();
    QVERIFY(f.inStep());
    QVERIFY(f.grid.viewport()->rect().contains(f.rowCentre(80)));
    QVERIFY(f.dataSet.movesToRow.isEmpty());
    QVERIFY(f.dataSet.movesBy.isEmpty());

    // A closed data set has no current record to show.
    f.dataSet.active = false;
    f.grid.syncCurrentRow();
    QCOMPARE(f.selectedRow(), -1);

    // A requery resets the model; the grid finds the record again by itself.
    f.dataSet.active = true;
    QStringListModel names({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    f.grid.setModel(&names);
    f.dataSet.current = 2;
    names.setStringList({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    QCOMPARE(f.selectedRow(), 2);
    QVERIFY(f.dataSet.movesToRow.isEmpty());
}

void TestTStripedDBGrid::rowsAreReadOnly()
{
    Fixture f(3);
    QTest::mouseDClick(f.grid.viewport(), Qt::LeftButton, {}, f.rowCentre(1));
    QTest::keyClick(&f.grid, Qt::Key_F2);
    QTest::keyClicks(&f.grid, QStringLiteral("K"));
    QVERIFY(f.grid.findChildren<QLineEdit *>().isEmpty());
    QCOMPARE(f.model.item(1)->text(), QStringLiteral("KAYIT 2"));
    QCOMPARE(f.dataSet.current, 1);
    QVERIFY(f.inStep());
}

QTEST_MAIN(TestTStripedDBGrid)
#include "tst_TStripedDBGrid.moc"
