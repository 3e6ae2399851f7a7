#include "base/AmountKeyEditor.h"

#include "base/AmountText.h"

#include <algorithm>

namespace {

using AmountText::kDecimalSeparator;
using AmountText::kThousandsSeparator;

bool isDigit(QChar character)
{
    return character >= u'0' && character <= u'9';
}

// Keys that leave a wholly selected text alone: they move the caret or the
// focus, or only modify other keys. The numeric pad's minus and plus change
// the sign of the amount that is shown.
bool keepsWholeSelection(int key, Qt::KeyboardModifiers modifiers)
{
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr: // reported by the desktop as Ctrl+Alt
    case Qt::Key_End:
    case Qt::Key_Home:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        return true;
    case Qt::Key_Plus:
    case Qt::Key_Minus:
        return modifiers.testFlag(Qt::KeypadModifier);
    default:
        return false;
    }
}

AmountKeyEditor::State clamped(const AmountKeyEditor::State &state)
{
    AmountKeyEditor::State result = state;
    const int length = int(result.text.size());
    result.selectionStart = std::clamp(result.selectionStart, 0, length);
    result.selectionLength = std::clamp(result.selectionLength, 0, length - result.selectionStart);
    return result;
}

} // namespace

int AmountKeyEditor::State::fromRight() const
{
    return std::max(0, int(text.size()) - selectionStart - selectionLength);
}

bool AmountKeyEditor::State::wholeTextSelected() const
{
    return selectionStart == 0 && selectionLength == text.size();
}

int AmountKeyEditor::Outcome::caretPosition() const
{
    return std::clamp(int(text.size()) - fromRight, 0, int(text.size()));
}

AmountKeyEditor::State AmountKeyEditor::Outcome::state() const
{
    return State{text, caretPosition(), 0};
}

AmountKeyEditor::AmountKeyEditor()
    : m_pattern(AmountText::pattern(0))
{
}

void AmountKeyEditor::setDecimals(int value)
{
    if (value == 0 || (value > 0 && value < m_maxLength - 1)) {
        m_decimals = value;
        m_pattern = AmountText::pattern(value);
    }
    setMaxLength(m_maxLength);
}

void AmountKeyEditor::setMaxLength(int value)
{
    if (value < 22 && value > m_decimals + 1)
        m_maxLength = value;
    if ((m_maxLength - m_decimals - 1) % 4 == 0)
        --m_maxLength;
}

QString AmountKeyEditor::reformat(const QString &text) const
{
    return AmountText::reformat(text, m_decimals);
}

AmountKeyEditor::Outcome AmountKeyEditor::rewrite(const QString &text, int fromRight) const
{
    return Outcome{reformat(text), std::max(fromRight, 0), true, true};
}

AmountKeyEditor::Outcome AmountKeyEditor::keyDown(const State &original, int key,
                                                  Qt::KeyboardModifiers modifiers) const
{
    State state = clamped(original);
    Outcome outcome{state.text, state.fromRight(), false, false};

    if (state.wholeTextSelected() && !keepsWholeSelection(key, modifiers)) {
        state.text = m_decimals > 0 ? QStringLiteral("0") + kDecimalSeparator + QString(m_decimals, u'0')
                                    : QString();
        state.selectionStart = std::min(key == Qt::Key_Delete ? 0 : 1, int(state.text.size()));
        state.selectionLength = 0;
        outcome = Outcome{state.text, state.fromRight(), false, true};
    }

    if (key != Qt::Key_Delete)
        return outcome;
    if (state.selectionLength == 0)
        return deleteForward(state);
    if (m_decimals == 0) {
        QString text = state.text;
        text.replace(state.selectionStart, state.selectionLength, QStringLiteral("0"));
        return rewrite(text, state.fromRight());
    }
    return eraseSelection(state);
}

AmountKeyEditor::Outcome AmountKeyEditor::keyPress(const State &original, QChar character) const
{
    const State state = clamped(original);
    QString text = state.text;
    const int length = int(text.size());
    int r = state.fromRight();
    const int d = m_decimals;

    if (isDigit(character)) {
        if (d == 0 || r >= d + 1) {
            if (length < m_maxLength)
                text.insert(length - r, character);
        } else if (r >= 1) {
            text[length - r] = character;
            --r;
        }
    } else if (character == kDecimalSeparator || character == kThousandsSeparator) {
        r = d;
    } else if (character == u'-') {
        if (!text.isEmpty() && !text.startsWith(u'-'))
            text.prepend(u'-');
    } else if (character == u'+') {
        if (text.startsWith(u'-'))
            text.remove(0, 1);
    } else if (character == u'\b') {
        return state.selectionLength > 0 ? eraseSelection(state) : backspace(state);
    }
    return rewrite(text, r);
}

// In display form the character beside the caret is a thousands separator
// exactly when r (less the decimals) falls on a multiple of 4; the rules look
// at the character itself, so that a pasted text not yet in display form
// cannot lose the wrong digit.
AmountKeyEditor::Outcome AmountKeyEditor::backspace(const State &state) const
{
    QString text = state.text;
    int r = state.fromRight();
    const int d = m_decimals;
    const int caret = int(text.size()) - r;

    if (d == 0 || r > d) {
        if (caret > 0) {
            if (text[caret - 1] == kThousandsSeparator) {
                if (caret >= 2)
                    text.remove(caret - 2, 1);
                if (d > 0)
                    ++r; // the caret ends left of the separator
            } else {
                text.remove(caret - 1, 1);
            }
        }
    } else if (r == d) {
        // The caret is right after the decimal separator: the whole part
        // loses its last digit and the caret goes before the separator.
        const int lastWholeDigit = caret - 2;
        if (lastWholeDigit >= 0 && isDigit(text[lastWholeDigit]))
            text.remove(lastWholeDigit, 1);
        r = d + 1;
    } else if (caret > 0) {
        text[caret - 1] = u'0';
        ++r;
    }
    return rewrite(text, r);
}

AmountKeyEditor::Outcome AmountKeyEditor::eraseSelection(const State &state) const
{
    QString text = state.text;
    const int start = state.selectionStart;
    const int length = state.selectionLength;
    const int r = state.fromRight();
    const int d = m_decimals;

    if (d == 0) {
        text.remove(start, length);
        return rewrite(text, r);
    }

    // The selection runs across the decimal separator to the end: the whole
    // part loses the selected digits, the decimals become zeros and the caret
    // stands before the separator ("234,56" out of "1.234,56" leaves "1,00").
    const int separatorInSelection = length - d - 1;
    if (separatorInSelection >= 0 && text[start + separatorInSelection] == kDecimalSeparator) {
        text.replace(start, length, kDecimalSeparator + QString(d, u'0'));
        return rewrite(text, int(text.size()) - start);
    }

    // The selection ends inside the decimals: its digits become zeros. The
    // separators and the sign stay, so that no digit changes place; zeroing
    // them too would turn "12,34" with "2,3" selected into 100,04.
    if (r < d) {
        for (int i = start; i < start + length; ++i)
            if (isDigit(text[i]))
                text[i] = u'0';
        return rewrite(text, r);
    }

    text.remove(start, length);
    return rewrite(text, r);
}

AmountKeyEditor::Outcome AmountKeyEditor::deleteForward(const State &state) const
{
    QString text = state.text;
    int r = state.fromRight();
    const int d = m_decimals;
    const int caret = int(text.size()) - r;

    if (d == 0 || r > d + 1) {
        if (r > 0) {
            if (text[caret] == kThousandsSeparator) {
                if (caret + 1 < text.size())
                    text.remove(caret + 1, 1);
            } else {
                text.remove(caret, 1);
            }
            --r;
        }
        return rewrite(text, r);
    }

    if (r == d + 1)
        --r; // step over the decimal separator
    if (r >= 1) {
        text[int(text.size()) - r] = u'0';
        --r;
    }
    return rewrite(text, r);
}
