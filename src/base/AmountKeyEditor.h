#pragma once

#include <QChar>
#include <QString>
#include <Qt>

// The keyboard rules of an amount field, apart from any widget: a state and a
// key go in, the rewritten text and the caret come out. The text is kept in
// display form (see AmountText) with a fixed number of decimals; the caret
// keeps its distance r from the right end, and the decimals are fixed places
// that are overwritten rather than shifted.
//
// A keystroke comes in two steps as on the desktop: keyDown() sees the key
// (the whole-text reset and Delete), then keyPress() sees the character it
// types, if it types one and keyDown() did not consume it.
class AmountKeyEditor
{
public:
    struct State {
        QString text;
        int selectionStart = 0; // the caret when nothing is selected
        int selectionLength = 0;

        // r: the characters right of the selection.
        int fromRight() const;
        // An empty text counts as wholly selected.
        bool wholeTextSelected() const;
    };

    struct Outcome {
        QString text;
        int fromRight = 0;
        // The key goes no further (not to the edit control's own handling).
        bool consumed = false;
        // The text and the caret are to be set; false leaves the state as it was.
        bool rewritten = false;

        int caretPosition() const;
        State state() const;
    };

    AmountKeyEditor();

    int decimals() const { return m_decimals; }
    int maxLength() const { return m_maxLength; }
    // "#,##0" or "#,##0.00" and so on, following the decimals.
    QString pattern() const { return m_pattern; }

    // 0 or 0 < value < maxLength() - 1 is taken; any other value is ignored.
    // Either way the maximum length rule is applied again to the current
    // maximum. The caller reformats its text.
    void setDecimals(int value);

    // value is taken when decimals() + 1 < value < 22. Then a maximum that
    // would leave the whole part room for a group starting with a thousands
    // separator is lowered by one: with two decimals 19 becomes 18, 20 and 21
    // stay.
    void setMaxLength(int value);

    QString reformat(const QString &text) const;

    // key is a Qt::Key; the numeric pad's plus and minus carry
    // Qt::KeypadModifier.
    Outcome keyDown(const State &state, int key, Qt::KeyboardModifiers modifiers) const;
    // Consumes every character: digits, ",", ".", "-", "+" and backspace
    // ('\b') edit, anything else (control characters too) is swallowed.
    Outcome keyPress(const State &state, QChar character) const;

private:
    Outcome rewrite(const QString &text, int fromRight) const;
    Outcome backspace(const State &state) const;
    Outcome eraseSelection(const State &state) const;
    Outcome deleteForward(const State &state) const;

    int m_decimals = 0;
    int m_maxLength = 20;
    QString m_pattern;
};
