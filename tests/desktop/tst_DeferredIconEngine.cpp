// An icon drawn when first shown shows exactly what the icon of its maker
// shows, at every size and in every mode, and draws once for all its copies.
#include "desktop/DeferredIconEngine.h"

#include <QApplication>
#include <QPainter>
#include <QtTest>

namespace {

// Two pictures of distinct sizes, so that a size between them is scaled
// from the one the icon picks.
QIcon drawn()
{
    QIcon icon;
    for (int size : {16, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(QColor(40, 110, 200));
        painter.drawEllipse(QRectF(1, 1, size - 2, size - 2));
        painter.fillRect(QRectF(size / 4.0, size / 2.0, size / 2.0, 2), Qt::white);
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

class TestDeferredIconEngine : public QObject
{
    Q_OBJECT

private slots:
    void showsWhatTheDrawnIconShows_data();
    void showsWhatTheDrawnIconShows();
    void drawsOnlyWhenShownAndOnceForAllCopies();
};

void TestDeferredIconEngine::showsWhatTheDrawnIconShows_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("modeNumber"); // QIcon::Mode
    for (int size : {16, 20, 32, 48}) {
        for (QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled, QIcon::Active, QIcon::Selected})
            QTest::addRow("%d px, mode %d", size, int(mode)) << size << int(mode);
    }
}

void TestDeferredIconEngine::showsWhatTheDrawnIconShows()
{
    QFETCH(int, size);
    QFETCH(int, modeNumber);
    const auto mode = QIcon::Mode(modeNumber);
    const QIcon expected = drawn();
    const QIcon deferred(new DeferredIconEngine(drawn));
    const QSize asked(size, size);
    QCOMPARE(deferred.actualSize(asked, mode), expected.actualSize(asked, mode));
    QCOMPARE(deferred.pixmap(asked, mode).toImage(), expected.pixmap(asked, mode).toImage());
    QCOMPARE(deferred.pixmap(asked, 2.0, mode).toImage(), expected.pixmap(asked, 2.0, mode).toImage());
    QCOMPARE(deferred.availableSizes(mode), expected.availableSizes(mode));

    QImage painted(48, 48, QImage::Format_ARGB32_Premultiplied);
    QImage paintedExpected = painted;
    painted.fill(Qt::transparent);
    paintedExpected.fill(Qt::transparent);
    {
        QPainter painter(&painted);
        deferred.paint(&painter, QRect(4, 2, size - 4, size), Qt::AlignCenter, mode);
        QPainter expectedPainter(&paintedExpected);
        expected.paint(&expectedPainter, QRect(4, 2, size - 4, size), Qt::AlignCenter, mode);
    }
    QCOMPARE(painted, paintedExpected);
}

void TestDeferredIconEngine::drawsOnlyWhenShownAndOnceForAllCopies()
{
    int drawings = 0;
    auto *engine = new DeferredIconEngine([&drawings] {
        ++drawings;
        return drawn();
    });
    const QIcon icon(engine);
    const QIcon copy = icon;
    QIcon detached(engine->clone());
    QVERIFY(!icon.isNull());
    QVERIFY(!detached.isNull());
    QCOMPARE(drawings, 0);
    QVERIFY(!engine->isDrawn());

    QVERIFY(!detached.pixmap(16).isNull());
    QVERIFY(!copy.pixmap(24).isNull());
    QVERIFY(!icon.pixmap(32, QIcon::Disabled).isNull());
    QCOMPARE(drawings, 1);
    QVERIFY(engine->isDrawn());
}

QTEST_MAIN(TestDeferredIconEngine)
#include "tst_DeferredIconEngine.moc"
