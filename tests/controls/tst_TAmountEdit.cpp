#include "base/WindowsColour.h"
#include "controls/TAmountEdit.h"

#include <QAction>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

namespace {

// An amount field between two plain edits, in a shown and active window.
struct Form {
    QWidget window;
    QLineEdit *before = nullptr;
    TAmountEdit *amount = nullptr;
    QLineEdit *after = nullptr;

    explicit Form(bool configured = true)
    {
        auto *layout = new QVBoxLayout(&window);
        before = new QLineEdit(&window);
        amount = new TAmountEdit(&window);
        after = new QLineEdit(&window);
        layout->addWidget(before);
        layout->addWidget(amount);
        layout->addWidget(after);
        if (configured)
            amount->configureAsAmount();
    }

    bool show()
    {
        window.show();
        window.activateWindow();
        return QTest::qWaitForWindowActive(&window);
    }

    // Enters the field with Tab, as a clerk does.
    bool tabIn(const QString &text)
    {
        amount->setText(text);
        before->setFocus();
        QTest::keyClick(before, Qt::Key_Tab);
        return amount->hasFocus();
    }
};

// Keys as in the key rule tables: characters, or <BS> <DEL> <END> <HOME>
// <LEFT> <RIGHT> <S-LEFT> <^V> <NUM-> <F5> in angle brackets.
void typeInto(QWidget *widget, const QString &keys)
{
    static const QHash<QString, QPair<Qt::Key, Qt::KeyboardModifiers>> named = {
        {QStringLiteral("BS"), {Qt::Key_Backspace, {}}},
        {QStringLiteral("DEL"), {Qt::Key_Delete, {}}},
        {QStringLiteral("END"), {Qt::Key_End, {}}},
        {QStringLiteral("HOME"), {Qt::Key_Home, {}}},
        {QStringLiteral("LEFT"), {Qt::Key_Left, {}}},
        {QStringLiteral("RIGHT"), {Qt::Key_Right, {}}},
        {QStringLiteral("S-LEFT"), {Qt::Key_Left, Qt::ShiftModifier}},
        {QStringLiteral("^V"), {Qt::Key_V, Qt::ControlModifier}},
        {QStringLiteral("NUM-"), {Qt::Key_Minus, Qt::KeypadModifier}},
        {QStringLiteral("F5"), {Qt::Key_F5, {}}},
    };
    for (qsizetype i = 0; i < keys.size(); ++i) {
        if (keys[i] == u'<') {
            const qsizetype close = keys.indexOf(u'>', i);
            const auto key = named.value(keys.mid(i + 1, close - i - 1));
            QTest::keyClick(widget, key.first, key.second);
            i = close;
        } else {
            QTest::keyClick(widget, keys[i].toLatin1());
        }
    }
}

QColor textColour(const QWidget *widget)
{
    return widget->palette().color(QPalette::Active, QPalette::Text);
}

QColor soilColour(const QWidget *widget)
{
    return widget->palette().color(QPalette::Active, QPalette::Base);
}

void sendEnter(QWidget *widget)
{
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(widget, &enter);
}

void sendLeave(QWidget *widget)
{
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(widget, &leave);
}

class PaletteChangeCounter : public QObject
{
public:
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::PaletteChange)
            ++count;
        return false;
    }
};

} // namespace

class TestTAmountEdit : public QObject
{
    Q_OBJECT

private slots:
    void newControl();
    void configuredAsEveryField();
    void valueProperty();
    void typing_data();
    void typing();
    void focusInSelectsAll();
    void clickPlacesCaret();
    void enterMovesFocusAfterwards();
    void arrowsMoveFocusAtOnce();
    void focusKeysOff();
    void tabLeavesTextAlone();
    void changeSignalFollowsRewrites();
    void coloursFollowFocusAndMouse();
    void coloursSetOnlyWhenDifferent();
    void suffixShownWithoutFocus();
    void firstShowReformats();
    void editTypeSwitch();
    void decimalsReinterpretDigits();
    void pasteEveryWay_data();
    void pasteEveryWay();
    void cutAndDeleteFromTheMenuKeepTheForm();
};

void TestTAmountEdit::newControl()
{
    TAmountEdit edit;
    const QMetaObject *meta = edit.metaObject();
    QStringList names;
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i)
        names << QString::fromLatin1(meta->property(i).name());
    QCOMPARE(names, QStringList({"About", "CurrencySymbol", "EditType", "MaxLength", "Decimals",
                                 "TextAsFloat", "PassingControl", "ActiveFontColor",
                                 "ActiveSoilColor"}));
    QVERIFY(!meta->property(meta->indexOfProperty("About")).isWritable());
    QVERIFY(edit.about().contains(QStringLiteral("3.0")));

    QCOMPARE(edit.currencySymbol(), AmountText::TCurrSymbolSet::None);
    QCOMPARE(edit.editType(), TAmountEdit::TextType);
    QCOMPARE(edit.amountMaxLength(), 20);
    QCOMPARE(edit.decimals(), 0);
    QVERIFY(edit.passingControl());
    QCOMPARE(edit.activeFontColor(), QColor(255, 0, 0));
    QCOMPARE(edit.activeSoilColor(), QColor(255, 255, 255));
    QCOMPARE(edit.size(), QSize(120, 24));
    QCOMPARE(edit.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    // The edit's own limit would cut texts set from outside.
    QCOMPARE(edit.maxLength(), QLineEdit().maxLength());
}

void TestTAmountEdit::configuredAsEveryField()
{
    TAmountEdit edit;
    edit.setText(QStringLiteral("abc"));
    edit.configureAsAmount();
    QCOMPARE(edit.editType(), TAmountEdit::CurrencyType);
    QCOMPARE(edit.decimals(), 2);
    QCOMPARE(edit.pattern(), QStringLiteral("#,##0.00"));
    QCOMPARE(edit.amountMaxLength(), 20);
    QCOMPARE(edit.currencySymbol(), AmountText::TCurrSymbolSet::None);
    QCOMPARE(edit.activeFontColor(), QColor(0, 0, 255));
    QCOMPARE(edit.activeSoilColor(), WindowsColour::skyBlue());
    QCOMPARE(edit.text(), QStringLiteral("0,00"));
    QCOMPARE(edit.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);

    TAmountEdit rate;
    rate.configureAsAmount(QStringLiteral("8,25"));
    QCOMPARE(rate.text(), QStringLiteral("8,25"));
}

void TestTAmountEdit::valueProperty()
{
    TAmountEdit edit;
    edit.configureAsAmount();
    QVERIFY(edit.setProperty("TextAsFloat", QVariant::fromValue(1234.5L)));
    QCOMPARE(edit.text(), QStringLiteral("1.234,50"));
    edit.setTextAsFloat(100.0L * 8.25L / 1000.0L);
    QCOMPARE(edit.text(), QStringLiteral("0,83"));
    edit.setText(QStringLiteral("9.999.999.999.999,99"));
    QCOMPARE(edit.property("TextAsFloat").value<long double>(), 9999999999999.99L);
    edit.setText(QString());
    QCOMPARE(edit.textAsFloat(), 0.0L);
}

void TestTAmountEdit::typing_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("caret");

    QTest::newRow("type over") << "12,00" << "3" << "3,00" << 1;
    QTest::newRow("digits, comma, decimals") << "12,00" << "4,5" << "4,50" << 3;
    QTest::newRow("decimals full") << "12,00" << "34,56" << "34,56" << 5;
    QTest::newRow("digit at the end ignored") << "12,00" << "34,567" << "34,56" << 5;
    QTest::newRow("backspace at the end") << "12,34" << "<END><BS>" << "12,30" << 4;
    QTest::newRow("two backspaces") << "12,34" << "<END><BS><BS>" << "12,00" << 3;
    QTest::newRow("delete before the comma") << "12,34" << "<END><LEFT><LEFT><LEFT><DEL>"
                                             << "12,04" << 4;
    QTest::newRow("backspace over a separator") << "1.234,56" << "<HOME><RIGHT><RIGHT><BS>"
                                                << "234,56" << 0;
    QTest::newRow("selected with shift, backspace")
        << "1.234,56" << "<END><S-LEFT><S-LEFT><S-LEFT><S-LEFT><S-LEFT><S-LEFT><BS>" << "1,00"
        << 1;
    QTest::newRow("letters swallowed") << "12,34" << "<END>abc" << "12,34" << 5;
    // The clipboard holds "999": a paste is an amount in display form.
    QTest::newRow("paste at the end") << "12,34" << "<END><^V>" << "999,00" << 3;
    QTest::newRow("paste over the whole text") << "12,34" << "<^V>" << "999,00" << 3;
    QTest::newRow("function key resets") << "12,34" << "<F5>" << "0,00" << 1;
    QTest::newRow("pad minus signs the whole text") << "12,34" << "<NUM->" << "-12,34" << 6;
}

void TestTAmountEdit::typing()
{
    QFETCH(QString, before);
    QFETCH(QString, keys);
    QFETCH(QString, after);
    QFETCH(int, caret);

    // Something a plain edit would paste.
    QGuiApplication::clipboard()->setText(QStringLiteral("999"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("999"));
    Form form;
    QVERIFY(form.show());
    QVERIFY(form.tabIn(before));
    typeInto(form.amount, keys);
    QCOMPARE(form.amount->text(), after);
    QCOMPARE(form.amount->cursorPosition(), caret);
    QVERIFY(!form.amount->hasSelectedText());
}

void TestTAmountEdit::focusInSelectsAll()
{
    Form form;
    QVERIFY(form.show());
    form.amount->setText(QStringLiteral("1.234,56"));
    form.amount->setFocus();
    QVERIFY(form.amount->hasFocus());
    QCOMPARE(form.amount->selectedText(), QStringLiteral("1.234,56"));
    QVERIFY(form.tabIn(QStringLiteral("12,00")));
    QCOMPARE(form.amount->selectedText(), QStringLiteral("12,00"));
}

void TestTAmountEdit::clickPlacesCaret()
{
    Form form;
    QVERIFY(form.show());
    form.amount->setText(QStringLiteral("1.234,56"));
    form.before->setFocus();
    form.amount->repaint(); // lays the text out against the right edge
    QPoint afterFirstDigit;
    for (int x = 0; x < form.amount->width() && afterFirstDigit.isNull(); ++x)
        if (form.amount->cursorPositionAt(QPoint(x, form.amount->height() / 2)) == 1)
            afterFirstDigit = QPoint(x, form.amount->height() / 2);
    QVERIFY(!afterFirstDigit.isNull());
    QTest::mouseClick(form.amount, Qt::LeftButton, {}, afterFirstDigit);
    QVERIFY(form.amount->hasFocus());
    QVERIFY(!form.amount->hasSelectedText());
    QCOMPARE(form.amount->cursorPosition(), 1);
    QCOMPARE(soilColour(form.amount), WindowsColour::skyBlue());
}

void TestTAmountEdit::enterMovesFocusAfterwards()
{
    Form form;
    QVERIFY(form.show());
    QVERIFY(form.tabIn(QStringLiteral("12,00")));
    QTest::keyClick(form.amount, Qt::Key_Return);
    QVERIFY(form.amount->hasFocus()); // posted, not yet
    QTRY_VERIFY(form.after->hasFocus());
    QCOMPARE(form.amount->text(), QStringLiteral("12,00"));
}

void TestTAmountEdit::arrowsMoveFocusAtOnce()
{
    Form form;
    QVERIFY(form.show());
    QVERIFY(form.tabIn(QStringLiteral("12,00")));
    QTest::keyClick(form.amount, Qt::Key_Up);
    QVERIFY(form.before->hasFocus());
    QVERIFY(form.tabIn(QStringLiteral("12,00")));
    QTest::keyClick(form.amount, Qt::Key_Down);
    QVERIFY(form.after->hasFocus());
    // Arrows spare the selected text.
    QCOMPARE(form.amount->text(), QStringLiteral("12,00"));
}

void TestTAmountEdit::focusKeysOff()
{
    Form form;
    QVERIFY(form.show());
    form.amount->setPassingControl(false);
    QVERIFY(form.tabIn(QStringLiteral("12,00")));
    QTest::keyClick(form.amount, Qt::Key_Return);
    QTest::keyClick(form.amount, Qt::Key_Up);
    QTest::keyClick(form.amount, Qt::Key_Down);
    QCoreApplication::processEvents();
    QVERIFY(form.amount->hasFocus());
}

void TestTAmountEdit::tabLeavesTextAlone()
{
    Form form;
    QVERIFY(form.show());
    QVERIFY(form.tabIn(QStringLiteral("12,00")));
    QTest::keyClick(form.amount, Qt::Key_Tab);
    QVERIFY(form.after->hasFocus());
    QVERIFY(form.tabIn(QStringLiteral("12,00")));
    QTest::keyClick(form.amount, Qt::Key_Backtab);
    QVERIFY(form.before->hasFocus());
    QCOMPARE(form.amount->text(), QStringLiteral("12,00"));
}

void TestTAmountEdit::changeSignalFollowsRewrites()
{
    Form form;
    QVERIFY(form.show());
    QVERIFY(form.tabIn(QStringLiteral("12,00")));
    QSignalSpy changes(form.amount, &QLineEdit::textChanged);

    QTest::keyClick(form.amount, '3'); // reset and digit: one rewrite
    QCOMPARE(changes.size(), 1);
    QCOMPARE(changes.takeFirst().first().toString(), QStringLiteral("3,00"));

    typeInto(form.amount, QStringLiteral("<END>9<BS>x")); // nothing changes the text
    QCOMPARE(changes.size(), 0);

    QTest::keyClick(form.amount, Qt::Key_Left);
    QTest::keyClick(form.amount, '7');
    QCOMPARE(changes.size(), 1);
    QCOMPARE(changes.takeFirst().first().toString(), QStringLiteral("3,70"));

    form.amount->setTextAsFloat(3.7L);
    QCOMPARE(changes.size(), 0);
    form.amount->setTextAsFloat(1234.5L);
    QCOMPARE(changes.size(), 1);
    QCOMPARE(changes.takeFirst().first().toString(), QStringLiteral("1.234,50"));
}

void TestTAmountEdit::coloursFollowFocusAndMouse()
{
    Form form;
    const QColor normalSoil = soilColour(form.amount);
    const QColor normalText = textColour(form.amount);
    // Changed after construction, before the window exists: saved at creation.
    QPalette yellow = form.amount->palette();
    yellow.setColor(QPalette::Base, Qt::yellow);
    form.amount->setPalette(yellow);
    QVERIFY(form.show());

    QVERIFY(form.tabIn(QStringLiteral("12,00")));
    QCOMPARE(soilColour(form.amount), WindowsColour::skyBlue());
    QCOMPARE(textColour(form.amount), QColor(0, 0, 255));

    sendLeave(form.amount); // the focused field keeps its colours
    QCOMPARE(soilColour(form.amount), WindowsColour::skyBlue());

    form.after->setFocus();
    QCOMPARE(soilColour(form.amount), QColor(Qt::yellow));
    QCOMPARE(textColour(form.amount), normalText);

    sendEnter(form.amount);
    QCOMPARE(soilColour(form.amount), WindowsColour::skyBlue());
    QCOMPARE(textColour(form.amount), QColor(0, 0, 255));
    sendLeave(form.amount); // back to the colours of construction
    QCOMPARE(soilColour(form.amount), normalSoil);
    QCOMPARE(textColour(form.amount), normalText);
}

void TestTAmountEdit::coloursSetOnlyWhenDifferent()
{
    Form form;
    QVERIFY(form.show());
    PaletteChangeCounter counter;
    form.amount->installEventFilter(&counter);

    sendEnter(form.amount);
    QCOMPARE(counter.count, 1);
    sendEnter(form.amount);
    QCOMPARE(counter.count, 1);
    sendLeave(form.amount);
    QCOMPARE(counter.count, 2);
    sendLeave(form.amount);
    QCOMPARE(counter.count, 2);
}

void TestTAmountEdit::suffixShownWithoutFocus()
{
    Form form;
    QVERIFY(form.show());
    form.amount->setText(QStringLiteral("12,00"));
    form.amount->setCurrencySymbol(AmountText::TCurrSymbolSet::TL);
    QCOMPARE(form.amount->text(), QStringLiteral("12,00 TL"));
    QCOMPARE(form.amount->textAsFloat(), 12.0L);

    // The amount is carried over to another symbol.
    form.amount->setCurrencySymbol(AmountText::TCurrSymbolSet::EURO);
    QCOMPARE(form.amount->text(), QStringLiteral("12,00 €"));

    form.before->setFocus();
    QTest::keyClick(form.before, Qt::Key_Tab);
    QCOMPARE(form.amount->text(), QStringLiteral("12,00"));
    QCOMPARE(form.amount->selectedText(), QStringLiteral("12,00"));
    QTest::keyClick(form.amount, '5');
    QCOMPARE(form.amount->text(), QStringLiteral("5,00"));

    QSignalSpy changes(form.amount, &QLineEdit::textChanged);
    QTest::keyClick(form.amount, Qt::Key_Tab);
    QCOMPARE(form.amount->text(), QStringLiteral("5,00 €"));
    QCOMPARE(changes.size(), 1);
    form.amount->setTextAsFloat(7.5L);
    QCOMPARE(form.amount->text(), QStringLiteral("7,50 €"));
}

void TestTAmountEdit::firstShowReformats()
{
    Form form;
    form.amount->setText(QStringLiteral("8,5")); // taken as it is until then
    QCOMPARE(form.amount->text(), QStringLiteral("8,5"));
    QCOMPARE(form.amount->textAsFloat(), 0.85L);
    QVERIFY(form.show());
    QCOMPARE(form.amount->text(), QStringLiteral("0,85"));

    form.amount->setText(QStringLiteral("8,5"));
    form.window.hide();
    QVERIFY(form.show()); // shown again, not created again
    QCOMPARE(form.amount->text(), QStringLiteral("8,5"));
}

void TestTAmountEdit::editTypeSwitch()
{
    Form form;
    QVERIFY(form.show());
    form.amount->setCurrencySymbol(AmountText::TCurrSymbolSet::TL);
    form.amount->setEditType(TAmountEdit::TextType);
    QCOMPARE(form.amount->text(), QString());
    QCOMPARE(form.amount->currencySymbol(), AmountText::TCurrSymbolSet::None);
    QCOMPARE(form.amount->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);

    // A plain edit: free typing, focus keys still move on.
    QVERIFY(form.tabIn(QString()));
    typeInto(form.amount, QStringLiteral("ab,c"));
    QCOMPARE(form.amount->text(), QStringLiteral("ab,c"));
    form.amount->setTextAsFloat(5.0L);
    QCOMPARE(form.amount->text(), QStringLiteral("ab,c"));
    form.amount->setDecimals(3);
    QCOMPARE(form.amount->decimals(), 2);
    QTest::keyClick(form.amount, Qt::Key_Down);
    QVERIFY(form.after->hasFocus());

    form.amount->setEditType(TAmountEdit::CurrencyType);
    QCOMPARE(form.amount->text(), QStringLiteral("0,00"));
    QCOMPARE(form.amount->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
}

void TestTAmountEdit::decimalsReinterpretDigits()
{
    TAmountEdit edit;
    edit.configureAsAmount(QStringLiteral("1.234,56"));
    edit.setDecimals(3);
    QCOMPARE(edit.text(), QStringLiteral("123,456"));
    QCOMPARE(edit.amountMaxLength(), 19);
    edit.setDecimals(0);
    QCOMPARE(edit.text(), QStringLiteral("123.456"));
}

void TestTAmountEdit::pasteEveryWay_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("after"); // the field's text; refused when it is the text before

    const QStringList ways = {"Ctrl+V", "Shift+Insert", "context menu", "drop", "middle click"};
    for (const QString &way : ways) {
        QTest::addRow("%s, one decimal", qPrintable(way)) << way << "1.234,5" << "1.234,50";
        QTest::addRow("%s, with TL", qPrintable(way)) << way << "1 234,50 TL" << "1.234,50";
        QTest::addRow("%s, letters refused", qPrintable(way)) << way << "abc" << "12,34";
        QTest::addRow("%s, English form refused", qPrintable(way)) << way << "1,234.50" << "12,34";
    }
}

// Whichever way text reaches an amount field, it goes through the amount
// rules: the field never holds a text that is not in display form.
void TestTAmountEdit::pasteEveryWay()
{
    QFETCH(QString, way);
    QFETCH(QString, pasted);
    QFETCH(QString, after);

    Form form;
    QVERIFY(form.show());
    QVERIFY(form.tabIn(QStringLiteral("12,34")));
    QSignalSpy refused(form.amount, &TAmountEdit::pasteRefused);
    QSignalSpy changed(form.amount, &QLineEdit::textChanged);
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->setText(pasted);

    if (way == u"Ctrl+V") {
        QTest::keyClick(form.amount, Qt::Key_V, Qt::ControlModifier);
    } else if (way == u"Shift+Insert") {
        QTest::keyClick(form.amount, Qt::Key_Insert, Qt::ShiftModifier);
    } else if (way == u"context menu") {
        std::unique_ptr<QMenu> menu(form.amount->createContextMenu());
        QAction *paste = menu->findChild<QAction *>(QStringLiteral("edit-paste"));
        QVERIFY(paste);
        paste->trigger();
    } else if (way == u"drop") {
        QMimeData data;
        data.setText(pasted);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(form.amount, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(form.amount, &drop);
    } else {
        if (!clipboard->supportsSelection())
            QSKIP("This desktop has no mouse selection to paste.");
        clipboard->setText(pasted, QClipboard::Selection);
        QTest::mouseClick(form.amount, Qt::MiddleButton);
    }

    QCOMPARE(form.amount->text(), after);
    const bool taken = after != u"12,34";
    QCOMPARE(refused.count(), taken ? 0 : 1);
    QCOMPARE(changed.count(), taken ? 1 : 0);
    if (taken)
        QCOMPARE(form.amount->cursorPosition(), int(after.size()) - 3);
}

void TestTAmountEdit::cutAndDeleteFromTheMenuKeepTheForm()
{
    Form form;
    QVERIFY(form.show());
    QVERIFY(form.tabIn(QStringLiteral("1.234,56")));
    // "4,5" selected: the decimals are zeroed, not shifted.
    form.amount->setSelection(4, 3);
    std::unique_ptr<QMenu> menu(form.amount->createContextMenu());
    menu->findChild<QAction *>(QStringLiteral("edit-cut"))->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("4,5"));
    QCOMPARE(form.amount->text(), QStringLiteral("1.230,06"));

    form.amount->selectAll();
    menu.reset(form.amount->createContextMenu());
    menu->findChild<QAction *>(QStringLiteral("edit-delete"))->trigger();
    QCOMPARE(form.amount->text(), QStringLiteral("0,00"));

    // Shift+Delete cuts the same way.
    form.amount->setText(QStringLiteral("1.234,56"));
    form.amount->setSelection(4, 3);
    QTest::keyClick(form.amount, Qt::Key_Delete, Qt::ShiftModifier);
    QCOMPARE(form.amount->text(), QStringLiteral("1.230,06"));
}

QTEST_MAIN(TestTAmountEdit)
#include "tst_TAmountEdit.moc"
