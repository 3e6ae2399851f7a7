#include "base/AmountKeyEditor.h"
#include "base/AmountText.h"

#include <QtTest>

#include <optional>

// States are written as text with "|" for the caret or "[...]" around the
// selection: "12,3|4", "1.[234,56]". Keys are written as the characters they
// type, or in angle brackets: <BS> <DEL> <F5> <HOME> <SHIFT> <NUM-> <NUM+>
// <^V> (Ctrl+V) <ENTER>.
namespace {

struct Key {
    int code = 0;
    Qt::KeyboardModifiers modifiers;
    std::optional<QChar> typed;
};

AmountKeyEditor::State parseState(const QString &notation)
{
    AmountKeyEditor::State state;
    const qsizetype open = notation.indexOf(u'[');
    if (open >= 0) {
        const qsizetype close = notation.indexOf(u']');
        state.text = notation.left(open) + notation.mid(open + 1, close - open - 1)
                     + notation.mid(close + 1);
        state.selectionStart = int(open);
        state.selectionLength = int(close - open - 1);
    } else {
        const qsizetype caret = notation.indexOf(u'|');
        state.text = notation;
        state.text.remove(u'|');
        state.selectionStart = int(caret);
    }
    return state;
}

QString notation(const AmountKeyEditor::State &state)
{
    QString text = state.text;
    if (state.selectionLength > 0) {
        text.insert(state.selectionStart + state.selectionLength, u']');
        text.insert(state.selectionStart, u'[');
    } else {
        text.insert(state.selectionStart, u'|');
    }
    return text;
}

Key namedKey(const QString &name)
{
    static const QHash<QString, Key> keys = {
        {QStringLiteral("BS"), {Qt::Key_Backspace, {}, QChar(u'\b')}},
        {QStringLiteral("DEL"), {Qt::Key_Delete, {}, std::nullopt}},
        {QStringLiteral("F5"), {Qt::Key_F5, {}, std::nullopt}},
        {QStringLiteral("HOME"), {Qt::Key_Home, {}, std::nullopt}},
        {QStringLiteral("SHIFT"), {Qt::Key_Shift, Qt::ShiftModifier, std::nullopt}},
        {QStringLiteral("NUM-"), {Qt::Key_Minus, Qt::KeypadModifier, QChar(u'-')}},
        {QStringLiteral("NUM+"), {Qt::Key_Plus, Qt::KeypadModifier, QChar(u'+')}},
        {QStringLiteral("^V"), {Qt::Key_V, Qt::ControlModifier, QChar(0x16)}},
        {QStringLiteral("ENTER"), {Qt::Key_Return, {}, QChar(u'\r')}},
    };
    Q_ASSERT(keys.contains(name));
    return keys.value(name);
}

QList<Key> parseKeys(const QString &keys)
{
    QList<Key> result;
    for (qsizetype i = 0; i < keys.size(); ++i) {
        if (keys[i] == u'<' && keys.size() > i + 1 && keys.indexOf(u'>', i + 1) > i + 1) {
            const qsizetype close = keys.indexOf(u'>', i + 1);
            result.append(namedKey(keys.mid(i + 1, close - i - 1)));
            i = close;
        } else {
            // Printable ASCII: the Qt key code is the upper-case character.
            result.append(Key{keys[i].toUpper().unicode(), {}, keys[i]});
        }
    }
    return result;
}

struct Run {
    AmountKeyEditor::State state;
    bool consumed = false;
    bool rewritten = false;
};

// One keystroke as the control sees it: key-down, then the typed character
// unless key-down consumed the key.
Run press(const AmountKeyEditor &editor, const AmountKeyEditor::State &state, const Key &key)
{
    Run run{state, false, false};
    AmountKeyEditor::Outcome outcome = editor.keyDown(state, key.code, key.modifiers);
    if (outcome.rewritten)
        run = Run{outcome.state(), outcome.consumed, true};
    if (!outcome.consumed && key.typed) {
        outcome = editor.keyPress(run.state, *key.typed);
        run = Run{outcome.state(), outcome.consumed, outcome.rewritten || run.rewritten};
    }
    return run;
}

AmountKeyEditor editorWith(int decimals, int maxLength)
{
    AmountKeyEditor editor;
    editor.setDecimals(decimals);
    editor.setMaxLength(maxLength);
    return editor;
}

} // namespace

class TestAmountKeyEditor : public QObject
{
    Q_OBJECT

private slots:
    void keystrokes_data();
    void keystrokes();
    void whatGoesOn_data();
    void whatGoesOn();
    void settings_data();
    void settings();
    void anyKeyAnywhereKeepsDisplayForm();
};

void TestAmountKeyEditor::keystrokes_data()
{
    QTest::addColumn<int>("decimals");
    QTest::addColumn<int>("maxLength");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("after");

    auto row = [](const char *name, int decimals, const char *before, const char *keys,
                  const char *after, int maxLength = 20) {
        QTest::newRow(name) << decimals << maxLength << QString::fromUtf8(before)
                            << QString::fromUtf8(keys) << QString::fromUtf8(after);
    };

    // Typing into a field entered with Tab.
    row("type over the whole text", 2, "[12,00]", "3", "3|,00");
    row("comma jumps, decimals overwrite", 2, "[12,00]", "34,5", "34,5|0");
    row("last decimal", 2, "[12,00]", "34,56", "34,56|");
    row("digit at the end ignored", 2, "[12,00]", "34,567", "34,56|");
    row("empty text counts as selected", 2, "|", "5", "5|,00");

    // Reset of a wholly selected text, and the keys that are spared it.
    row("reset for a digit", 2, "[1.234,56]", "5", "5|,00");
    row("reset for delete", 2, "[1.234,56]", "<DEL>", "0|,00");
    row("reset for backspace", 2, "[1.234,56]", "<BS>", "0|,00");
    row("reset for a function key", 2, "[1.234,56]", "<F5>", "0|,00");
    row("reset for paste, then swallowed", 2, "[1.234,56]", "<^V>", "0|,00");
    row("reset for the main minus: no minus zero", 2, "[1.234,56]", "-", "0|,00");
    row("home spared", 2, "[1.234,56]", "<HOME>", "[1.234,56]");
    row("shift spared", 2, "[1.234,56]", "<SHIFT>", "[1.234,56]");
    row("pad minus spared, signs the amount", 2, "[1.234,56]", "<NUM->", "-1.234,56|");
    row("pad plus spared, unsigns the amount", 2, "[-1.234,56]", "<NUM+>", "1.234,56|");

    // Digits in the whole part.
    row("insert regroups", 2, "1.23|4,56", "7", "12.37|4,56");
    row("leading zero dropped", 2, "0|,00", "0", "0|,00");
    row("digits after the zero", 2, "0|,00", "12", "12|,00");
    row("insert at the start", 2, "|0,00", "5", "5|0,00");
    row("thirteenth digit fits", 2, "999.999.999.999|,99", "9", "9.999.999.999.999|,99");
    row("full field takes no whole digit", 2, "9.999.999.999.999|,99", "5",
        "9.999.999.999.999|,99");
    row("full field decimals overwritten", 2, "9.999.999.999.999,|99", "12",
        "9.999.999.999.999,12|");

    row("comma jumps to the decimals", 2, "1.2|34,56", ",", "1.234,|56");
    row("point jumps to the decimals", 2, "1.2|34,56", ".", "1.234,|56");
    row("comma from the end", 2, "12,34|", ",9", "12,9|4");

    row("minus prefixed", 2, "12,3|4", "-", "-12,3|4");
    row("minus once", 2, "-12,3|4", "-", "-12,3|4");
    row("plus removes minus", 2, "-12,3|4", "+", "12,3|4");
    row("plus on a positive", 2, "12,3|4", "+", "12,3|4");
    row("minus on zero", 2, "0,0|0", "-", "0,0|0");

    // Backspace, nothing selected.
    row("backspace a whole digit", 2, "1.234.5|67,89", "<BS>", "123.4|67,89");
    row("backspace steps over a separator", 2, "1.|234,56", "<BS>", "|234,56");
    row("backspace over the second separator", 2, "1.234.|567,89", "<BS>", "123|.567,89");
    row("backspace after the decimal separator", 2, "12,|34", "<BS>", "1|,34");
    row("backspace the only whole digit", 2, "5,|34", "<BS>", "0|,34");
    row("backspace at the start", 2, "|12,34", "<BS>", "|12,34");
    row("backspace zeroes a decimal", 2, "12,34|", "<BS>", "12,3|0");
    row("backspace zeroes both decimals", 2, "12,34|", "<BS><BS>", "12,|00");
    row("backspace through the separator", 2, "12,34|", "<BS><BS><BS><BS>", "0|,00");
    row("backspace a negative to zero", 2, "-5,|00", "<BS>", "0|,00");

    // Backspace with a selection.
    row("erase whole digits", 2, "1.[23]4,56", "<BS>", "1|4,56");
    row("erase across the separator to the end", 2, "1.[234,56]", "<BS>", "1|,00");
    row("erase from one digit across the separator", 2, "1[2,34]", "<BS>", "1|,00");
    row("erase ending on the separator", 2, "1.2[34,]56", "<BS>", "12,|56");
    row("erase both decimals", 2, "12,[34]", "<BS>", "12,00|");
    row("erase the last decimal", 2, "12,3[4]", "<BS>", "12,30|");
    row("erase the first decimal", 2, "12,[3]4", "<BS>", "12,0|4");
    row("erase into the decimals keeps places", 2, "1[2,3]4", "<BS>", "10,0|4");
    row("erase into the decimals across a group", 2, "11.[234,5]6", "<BS>", "11.000,0|6");

    // Delete.
    row("delete a whole digit", 2, "1.2|34,56", "<DEL>", "12|4,56");
    row("delete steps over a separator", 2, "1|.234,56", "<DEL>", "|134,56");
    row("delete before the decimal separator", 2, "12|,34", "<DEL>", "12,0|4");
    row("delete a decimal", 2, "12,|34", "<DEL>", "12,0|4");
    row("delete at the end", 2, "12,34|", "<DEL>", "12,34|");
    row("delete runs out at the end", 2, "12|,34", "<DEL><DEL><DEL>", "12,00|");
    row("delete a selection", 2, "1.[23]4,56", "<DEL>", "1|4,56");
    row("delete across the separator", 2, "1[2,34]", "<DEL>", "1|,00");

    // Everything else is swallowed; the text is still reformatted.
    row("letter", 2, "12,3|4", "a", "12,3|4");
    row("paste", 2, "12,3|4", "<^V>", "12,3|4");
    row("blank", 2, "12,3|4", " ", "12,3|4");
    row("enter's character", 2, "12,3|4", "<ENTER>", "12,3|4");
    row("pasted text with fewer decimals", 2, "8,5|", "x", "0,85|");
    row("pasted letters", 2, "abc|", "5", "0,00|");

    // No decimals.
    row("no decimals: type over", 0, "[1.234]", "5", "5|");
    row("no decimals: empty text", 0, "|", "5", "5|");
    row("no decimals: insert", 0, "1.23|4", "5", "12.35|4");
    row("no decimals: digit at the end", 0, "1.234|", "5", "12.345|");
    row("no decimals: backspace over a separator", 0, "1.|234", "<BS>", "|234");
    row("no decimals: backspace over a separator, caret stays", 0, "12.|345", "<BS>",
        "1.|345");
    row("no decimals: backspace", 0, "1.2|34", "<BS>", "1|34");
    row("no decimals: delete over a separator", 0, "1|.234", "<DEL>", "|134");
    row("no decimals: delete", 0, "12|3", "<DEL>", "12|");
    row("no decimals: delete at the end", 0, "123|", "<DEL>", "123|");
    row("no decimals: delete a selection leaves a zero", 0, "1[23]4", "<DEL>", "10|4");
    row("no decimals: backspace a selection", 0, "1[23]4", "<BS>", "1|4");
    row("no decimals: comma goes to the end", 0, "1|23", ",", "123|");
    row("no decimals: reset by backspace", 0, "[1.234]", "<BS>", "0|");
    row("no decimals: reset by delete", 0, "[1.234]", "<DEL>", "0|");
    row("no decimals: maximum 5 lowered to 4", 0, "12|", "345", "1.234|", 5);

    row("three decimals", 3, "[0,000]", "1,5", "1,5|00");
}

void TestAmountKeyEditor::keystrokes()
{
    QFETCH(int, decimals);
    QFETCH(int, maxLength);
    QFETCH(QString, before);
    QFETCH(QString, keys);
    QFETCH(QString, after);

    const AmountKeyEditor editor = editorWith(decimals, maxLength);
    AmountKeyEditor::State state = parseState(before);
    for (const Key &key : parseKeys(keys))
        state = press(editor, state, key).state;
    QCOMPARE(notation(state), after);
}

void TestAmountKeyEditor::whatGoesOn_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("consumed");
    QTest::addColumn<bool>("rewritten");

    QTest::newRow("digit") << "12,3|4" << "5" << true << true;
    QTest::newRow("swallowed character") << "12,3|4" << "<^V>" << true << true;
    QTest::newRow("backspace") << "12,3|4" << "<BS>" << true << true;
    QTest::newRow("delete") << "12,3|4" << "<DEL>" << true << true;
    QTest::newRow("caret key") << "12,3|4" << "<HOME>" << false << false;
    QTest::newRow("function key") << "12,3|4" << "<F5>" << false << false;
    QTest::newRow("function key on a whole selection") << "[12,34]" << "<F5>" << false << true;
    QTest::newRow("caret key on a whole selection") << "[12,34]" << "<HOME>" << false << false;
}

void TestAmountKeyEditor::whatGoesOn()
{
    QFETCH(QString, before);
    QFETCH(QString, key);
    QFETCH(bool, consumed);
    QFETCH(bool, rewritten);

    const Run run = press(editorWith(2, 20), parseState(before), parseKeys(key).first());
    QCOMPARE(run.consumed, consumed);
    QCOMPARE(run.rewritten, rewritten);
}

void TestAmountKeyEditor::settings_data()
{
    // Steps: "D<n>" sets the decimals, "M<n>" the maximum length, in order,
    // starting from a new editor (no decimals, maximum 20).
    QTest::addColumn<QString>("steps");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<int>("maxLength");
    QTest::addColumn<QString>("pattern");

    QTest::newRow("new") << "" << 0 << 20 << "#,##0";
    QTest::newRow("as every field") << "D2 M20" << 2 << 20 << "#,##0.00";
    QTest::newRow("19 becomes 18") << "D2 M19" << 2 << 18 << "#,##0.00";
    QTest::newRow("21 stays") << "D2 M21" << 2 << 21 << "#,##0.00";
    QTest::newRow("22 ignored") << "D2 M22" << 2 << 20 << "#,##0.00";
    QTest::newRow("not above decimals + 1") << "D2 M3" << 2 << 20 << "#,##0.00";
    QTest::newRow("just above decimals + 1") << "D2 M4" << 2 << 4 << "#,##0.00";
    QTest::newRow("decimals 25 ignored") << "D2 M20 D25" << 2 << 20 << "#,##0.00";
    QTest::newRow("decimals must stay below maximum - 1") << "D19" << 0 << 20 << "#,##0";
    QTest::newRow("decimals just below maximum - 1") << "D18" << 18 << 20
                                                     << "#,##0.000000000000000000";
    QTest::newRow("negative decimals ignored") << "D2 D-1" << 2 << 20 << "#,##0.00";
    QTest::newRow("back to no decimals") << "D2 D0" << 0 << 20 << "#,##0";
    QTest::newRow("more decimals lower the maximum") << "D3" << 3 << 19 << "#,##0.000";
    QTest::newRow("no decimals: 21 becomes 20") << "M21" << 0 << 20 << "#,##0";
}

void TestAmountKeyEditor::settings()
{
    QFETCH(QString, steps);
    QFETCH(int, decimals);
    QFETCH(int, maxLength);
    QFETCH(QString, pattern);

    AmountKeyEditor editor;
    for (const QString &step : steps.split(u' ', Qt::SkipEmptyParts)) {
        const int value = step.mid(1).toInt();
        if (step.startsWith(u'D'))
            editor.setDecimals(value);
        else
            editor.setMaxLength(value);
    }
    QCOMPARE(editor.decimals(), decimals);
    QCOMPARE(editor.maxLength(), maxLength);
    QCOMPARE(editor.pattern(), pattern);
}

// Every key at every caret and selection of texts in and out of display form:
// nothing reads outside the text (the sanitizers watch), a rewritten text is
// in display form and the caret lies within it.
void TestAmountKeyEditor::anyKeyAnywhereKeepsDisplayForm()
{
    const QStringList texts = {
        QStringLiteral("1.234.567,89"), QStringLiteral("-12,34"), QStringLiteral("0,00"),
        QString(), QStringLiteral("abc"), QStringLiteral("8,5"), QStringLiteral("-"),
        QStringLiteral(".234,5"), QStringLiteral(",00"), QStringLiteral("12,00 TL"),
    };
    const QList<Key> keys = parseKeys(QStringLiteral("7,.-+x<BS><DEL><F5><HOME><NUM-><^V>"));
    for (const int decimals : {0, 2, 3}) {
        const AmountKeyEditor editor = editorWith(decimals, 20);
        for (const QString &text : texts) {
            for (int start = 0; start <= text.size(); ++start) {
                for (int length = 0; start + length <= text.size(); ++length) {
                    for (const Key &key : keys) {
                        const Run run = press(editor, {text, start, length}, key);
                        const QString where = QStringLiteral("%1 decimals, %2, key %3")
                                                  .arg(decimals)
                                                  .arg(notation({text, start, length}))
                                                  .arg(key.code, 0, 16);
                        QVERIFY2(run.state.selectionStart >= 0
                                     && run.state.selectionStart <= run.state.text.size(),
                                 qPrintable(where));
                        if (run.consumed)
                            QVERIFY2(AmountText::reformat(run.state.text, decimals)
                                         == run.state.text,
                                     qPrintable(where));
                    }
                }
            }
        }
    }
}

QTEST_GUILESS_MAIN(TestAmountKeyEditor)
#include "tst_AmountKeyEditor.moc"
