#include "desktop/QtTurkishTexts.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

#include <memory>

// Qt's standard dialogs and menus speak Turkish, whatever the system's
// language is.
class TestQtTurkishTexts : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void colourChooser();
    void editFieldMenu();
    void standardButtons();
};

void TestQtTurkishTexts::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QVERIFY(QtTurkishTexts::install(*QCoreApplication::instance()));
}

void TestQtTurkishTexts::colourChooser()
{
    QColorDialog chooser;
    QCOMPARE(chooser.windowTitle(), QStringLiteral("Renk Seç"));
    QStringList buttons;
    for (const QPushButton *button : chooser.findChildren<QPushButton *>())
        buttons << button->text();
    QVERIFY2(buttons.contains(QStringLiteral("Tamam")) && buttons.contains(QStringLiteral("İptal")),
             qPrintable(buttons.join(u'|')));
    QVERIFY(!buttons.contains(QStringLiteral("OK")) && !buttons.contains(QStringLiteral("Cancel")));
}

void TestQtTurkishTexts::editFieldMenu()
{
    QLineEdit field;
    std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
    QStringList captions;
    for (const QAction *action : menu->actions())
        captions << action->text().section(u'\t', 0, 0);
    QVERIFY2(captions.contains(QStringLiteral("Ya&pıştır")), qPrintable(captions.join(u'|')));
    QVERIFY(captions.contains(QStringLiteral("&Geri al")));
    QVERIFY(!captions.contains(QStringLiteral("&Paste")));
}

void TestQtTurkishTexts::standardButtons()
{
    QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QCOMPARE(box.button(QDialogButtonBox::Ok)->text(), QStringLiteral("Tamam"));
    QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("İptal"));
}

QTEST_MAIN(TestQtTurkishTexts)
#include "tst_QtTurkishTexts.moc"
