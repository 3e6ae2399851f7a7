#include "controls/TTrayMinimizer.h"

#include <QApplication>
#include <QMenu>
#include <QPixmap>
#include <QtTest>

namespace {

// What the notification area was last told; outlives the minimizer so that
// its destruction can be checked.
struct TrayRecord
{
    bool available = true;
    bool shown = false;
    int showCount = 0;
    QIcon icon;
    QString tip;
};

class FakeTrayBackend : public TrayIconBackend
{
public:
    explicit FakeTrayBackend(TrayRecord *record) : m_record(record) {}

    bool isAvailable() const override { return m_record->available; }

    void showIcon(const QIcon &icon, const QString &tip) override
    {
        m_record->shown = true;
        ++m_record->showCount;
        m_record->icon = icon;
        m_record->tip = tip;
    }

    void setTip(const QString &tip) override { m_record->tip = tip; }
    void removeIcon() override { m_record->shown = false; }

    void use(QSystemTrayIcon::ActivationReason reason) { emit activated(reason); }

private:
    TrayRecord *m_record;
};

QIcon colouredIcon(Qt::GlobalColor colour)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

// A shown main window with its minimizer.
struct Fixture
{
    TrayRecord record;
    QWidget window;
    FakeTrayBackend *backend = nullptr;
    TTrayMinimizer *minimizer = nullptr;

    Fixture()
    {
        auto fake = std::make_unique<FakeTrayBackend>(&record);
        backend = fake.get();
        minimizer = new TTrayMinimizer(&window, std::move(fake));
        window.resize(200, 100);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            qWarning("window not exposed");
    }

    void minimise()
    {
        window.showMinimized();
        QCoreApplication::processEvents();
    }

    void use(QSystemTrayIcon::ActivationReason reason)
    {
        backend->use(reason);
        QCoreApplication::processEvents();
    }
};

} // namespace

class TestTTrayMinimizer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void minimiseMovesToTray();
    void iconActivation_data();
    void iconActivation();
    void rightClickShowsMenu();
    void taskBarButtonKept();
    void tip();
    void pictureOfTheIcon();
    void alwaysInTray();
    void withoutNotificationArea();
    void iconGoesWithOwner();

private:
    QIcon m_applicationIcon;
};

void TestTTrayMinimizer::initTestCase()
{
    m_applicationIcon = colouredIcon(Qt::blue);
    QApplication::setWindowIcon(m_applicationIcon);
}

void TestTTrayMinimizer::minimiseMovesToTray()
{
    Fixture f;
    QVERIFY(!f.record.shown);

    f.minimise();
    QVERIFY(f.record.shown);
    QVERIFY(f.window.isHidden());
    QVERIFY(f.minimizer->isMinimised());
    QCOMPARE(f.record.tip, QStringLiteral("Mirvasel"));
}

void TestTTrayMinimizer::iconActivation_data()
{
    QTest::addColumn<TTrayMinimizer::TTrayRestoreMode>("mode");
    QTest::addColumn<QSystemTrayIcon::ActivationReason>("reason");
    QTest::addColumn<bool>("restores");

    QTest::newRow("default, single click") << TTrayMinimizer::rmDblClick << QSystemTrayIcon::Trigger << false;
    QTest::newRow("default, double click") << TTrayMinimizer::rmDblClick << QSystemTrayIcon::DoubleClick << true;
    QTest::newRow("click mode, single click") << TTrayMinimizer::rmClick << QSystemTrayIcon::Trigger << true;
    QTest::newRow("click mode, double click") << TTrayMinimizer::rmClick << QSystemTrayIcon::DoubleClick << false;
    QTest::newRow("right click without a menu") << TTrayMinimizer::rmDblClick << QSystemTrayIcon::Context << false;
    QTest::newRow("middle click") << TTrayMinimizer::rmClick << QSystemTrayIcon::MiddleClick << false;
}

void TestTTrayMinimizer::iconActivation()
{
    QFETCH(TTrayMinimizer::TTrayRestoreMode, mode);
    QFETCH(QSystemTrayIcon::ActivationReason, reason);
    QFETCH(bool, restores);

    Fixture f;
    QCOMPARE(f.minimizer->restoreMode(), TTrayMinimizer::rmDblClick);
    f.minimizer->setRestoreMode(mode);
    f.minimise();
    f.use(reason);

    QCOMPARE(f.window.isVisible(), restores);
    QCOMPARE(f.window.isMinimized(), !restores);
    QCOMPARE(f.minimizer->isMinimised(), !restores);
    QCOMPARE(f.record.shown, !restores);

    // Minimising again after a restore works the same way.
    if (restores) {
        f.minimise();
        QVERIFY(f.window.isHidden());
        QVERIFY(f.record.shown);
    }
}

void TestTTrayMinimizer::rightClickShowsMenu()
{
    Fixture f;
    auto *menu = new QMenu;
    menu->addAction(QStringLiteral("Geri Yükle"));
    f.minimizer->setPopupMenu(menu);
    f.minimise();

    f.use(QSystemTrayIcon::Context);
    QVERIFY(menu->isVisible());
    QVERIFY(f.window.isHidden());
    menu->close();

    delete menu;
    QCOMPARE(f.minimizer->popupMenu(), nullptr);
    f.use(QSystemTrayIcon::Context);
    QVERIFY(f.window.isHidden());
    QVERIFY(f.record.shown);
}

void TestTTrayMinimizer::taskBarButtonKept()
{
    Fixture f;
    f.minimizer->setHideWhenMinimized(false);
    f.minimise();
    QVERIFY(f.window.isVisible());
    QVERIFY(f.record.shown);

    // Restored through the task bar button, not the icon.
    f.window.showNormal();
    QCoreApplication::processEvents();
    QVERIFY(!f.record.shown);
    QVERIFY(!f.minimizer->isMinimised());
    QVERIFY(f.window.isVisible());
}

void TestTTrayMinimizer::tip()
{
    Fixture f;
    const QString hint = QString(60, QLatin1Char('a')) + QStringLiteral("bcdefghijk");
    QCOMPARE(hint.size(), 70);
    f.minimizer->setHint(hint);
    f.minimise();
    QCOMPARE(f.record.tip, hint.left(63));

    // A shown icon takes a new hint at once.
    f.minimizer->setHint(QStringLiteral("Ödeme Emri"));
    QCOMPARE(f.record.tip, QStringLiteral("Ödeme Emri"));
    f.minimizer->setHint(QString());
    QCOMPARE(f.record.tip, QStringLiteral("Mirvasel"));
}

void TestTTrayMinimizer::pictureOfTheIcon()
{
    Fixture f;
    f.minimise();
    QCOMPARE(f.record.icon.cacheKey(), m_applicationIcon.cacheKey());
    f.use(QSystemTrayIcon::DoubleClick);

    const QIcon own = colouredIcon(Qt::red);
    f.minimizer->setTrayIcon(own);
    f.minimise();
    QCOMPARE(f.record.icon.cacheKey(), own.cacheKey());
}

void TestTTrayMinimizer::alwaysInTray()
{
    Fixture f;
    f.minimizer->setTrayMode(TTrayMinimizer::tmAlways);
    QVERIFY(f.record.shown);

    f.minimise();
    QVERIFY(f.window.isHidden());
    QVERIFY(f.record.shown);
    QCOMPARE(f.record.showCount, 1);

    f.use(QSystemTrayIcon::DoubleClick);
    QVERIFY(f.window.isVisible());
    QVERIFY(!f.window.isMinimized());
    QVERIFY(f.record.shown);

    f.minimizer->setTrayMode(TTrayMinimizer::tmOnMinimize);
    QVERIFY(!f.record.shown);
}

void TestTTrayMinimizer::withoutNotificationArea()
{
    Fixture f;
    f.record.available = false;
    f.minimise();
    QVERIFY(f.window.isVisible());
    QVERIFY(f.window.isMinimized());
    QVERIFY(!f.record.shown);
}

void TestTTrayMinimizer::iconGoesWithOwner()
{
    TrayRecord record;
    auto *window = new QWidget;
    auto *minimizer = new TTrayMinimizer(window, std::make_unique<FakeTrayBackend>(&record));
    minimizer->setTrayMode(TTrayMinimizer::tmAlways);
    QVERIFY(record.shown);

    delete window;
    QVERIFY(!record.shown);
}

QTEST_MAIN(TestTTrayMinimizer)
#include "tst_TTrayMinimizer.moc"
