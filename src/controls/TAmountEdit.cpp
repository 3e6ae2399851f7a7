#include "controls/TAmountEdit.h"

#include "base/WindowsColour.h"
#include "controls/ChangedOnly.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QEnterEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMetaObject>
#include <QMimeData>
#include <QPalette>
#include <QToolTip>

namespace {

constexpr qint32 kClWindow = qint32(0xFF000005u); // system colour: window background
constexpr qint32 kClBlue = 0xFF0000;

bool isEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// The characters a key types, as the desktop reports them: nothing for Alt
// combinations (menu keys), a control character for Ctrl combinations
// (Ctrl+V types 0x16, Ctrl+H a backspace), backspace for the backspace key.
QString typedCharacters(const QKeyEvent *event)
{
    const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
    const bool alt = event->modifiers().testFlag(Qt::AltModifier);
    if (event->key() == Qt::Key_Delete || (alt && !ctrl))
        return QString();
    if (event->key() == Qt::Key_Backspace)
        return ctrl ? QString(QChar(0x7F)) : QStringLiteral("\b");
    const QString text = event->text();
    if (ctrl && !alt && !text.isEmpty())
        return QString(QChar(char16_t(text.front().unicode() & 0x1F)));
    return text;
}

} // namespace

TAmountEdit::TAmountEdit(QWidget *parent)
    : QLineEdit(parent)
    , m_activeFontColor(WindowsColour::toQColor(WindowsColour::kRed))
    , m_activeSoilColor(WindowsColour::toQColor(kClWindow))
{
    resize(120, 24);
    m_normalFontColor = palette().color(QPalette::Active, QPalette::Text);
    m_normalSoilColor = palette().color(QPalette::Active, QPalette::Base);
    m_savedFontColor = m_normalFontColor;
    m_savedSoilColor = m_normalSoilColor;
    applyAlignment();
}

void TAmountEdit::configureAsAmount(const QString &initialText)
{
    setEditType(CurrencyType);
    setDecimals(2);
    setAmountMaxLength(20);
    setCurrencySymbol(AmountText::TCurrSymbolSet::None);
    setActiveFontColor(WindowsColour::toQColor(kClBlue));
    setActiveSoilColor(WindowsColour::skyBlue());
    setText(initialText);
}

QString TAmountEdit::about() const
{
    return QStringLiteral("TAmountEdit 3.0 - Mirvasel tutar giriş denetimi");
}

void TAmountEdit::setCurrencySymbol(AmountText::TCurrSymbolSet symbol)
{
    if (m_editType != CurrencyType) {
        // Appending the suffix and stripping it again leaves the text alone.
        m_currencySymbol = symbol;
        return;
    }
    // The amount is carried over from a text that shows the old suffix;
    // reformatting it with the suffix would read 0.
    const QString amount = withoutShownSuffix(text());
    m_editor.setDecimals(m_editor.decimals());
    m_currencySymbol = symbol;
    setTextIfChanged(m_editor.reformat(amount) + AmountText::currencySuffix(symbol));
}

void TAmountEdit::setEditType(TAmountEditType type)
{
    if (m_editType == CurrencyType) {
        m_editType = type;
        setTextIfChanged(QString());
        m_currencySymbol = AmountText::TCurrSymbolSet::None;
    } else {
        m_editType = type;
        setDecimals(m_editor.decimals());
    }
    applyAlignment();
}

void TAmountEdit::setAmountMaxLength(int value)
{
    m_editor.setMaxLength(value);
}

void TAmountEdit::setDecimals(int value)
{
    if (m_editType != CurrencyType)
        return;
    m_editor.setDecimals(value);
    reformatText();
}

long double TAmountEdit::textAsFloat() const
{
    return AmountText::TextAsFloat(text(), m_editor.decimals(), m_currencySymbol);
}

void TAmountEdit::setTextAsFloat(long double value)
{
    if (m_editType != CurrencyType)
        return;
    setTextIfChanged(AmountText::format(value, m_editor.decimals())
                     + AmountText::currencySuffix(m_currencySymbol));
}

bool TAmountEdit::event(QEvent *event)
{
    // A new parent means a new native window on the desktop, so the next
    // show counts as its creation.
    if (event->type() == QEvent::ParentChange)
        m_windowCreated = false;
    return QLineEdit::event(event);
}

void TAmountEdit::showEvent(QShowEvent *event)
{
    if (!m_windowCreated) {
        m_windowCreated = true;
        windowCreated();
    }
    QLineEdit::showEvent(event);
}

void TAmountEdit::windowCreated()
{
    m_savedFontColor = palette().color(QPalette::Active, QPalette::Text);
    m_savedSoilColor = palette().color(QPalette::Active, QPalette::Base);
    applyAlignment();
    if (m_editType == CurrencyType) {
        m_editor.setDecimals(m_editor.decimals());
        setTextIfChanged(m_editor.reformat(withoutShownSuffix(text()))
                         + AmountText::currencySuffix(m_currencySymbol));
    }
}

void TAmountEdit::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    // The window's own keys: the focus chain and Esc (a dialog's cancel).
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Escape) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (m_passingControl) {
        if (isEnter(key)) {
            // Posted, so that the key is done with before the focus moves.
            QMetaObject::invokeMethod(
                this, [this] { focusNextPrevChild(true); }, Qt::QueuedConnection);
            event->accept();
            return;
        }
        if (key == Qt::Key_Up)
            focusNextPrevChild(false);
        else if (key == Qt::Key_Down)
            focusNextPrevChild(true);
    }
    if (m_editType != CurrencyType || isEnter(key)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    // Ctrl+V, Shift+Insert and their kin; Shift+Delete cuts.
    if (event->matches(QKeySequence::Paste)) {
        pasteAmount();
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Cut)) {
        copy();
        deleteSelection();
        event->accept();
        return;
    }

    const AmountKeyEditor::State before = editState();
    AmountKeyEditor::Outcome outcome = m_editor.keyDown(before, key, event->modifiers());
    if (!outcome.consumed) {
        AmountKeyEditor::State state = outcome.rewritten ? outcome.state() : before;
        for (const QChar character : typedCharacters(event)) {
            outcome = m_editor.keyPress(state, character);
            state = outcome.state();
        }
    }
    // One rewrite per keystroke, so the change signal fires at most once.
    if (outcome.rewritten)
        applyOutcome(outcome);
    if (outcome.consumed)
        event->accept();
    else
        QLineEdit::keyPressEvent(event); // caret keys, selection, Shift+Insert
}

void TAmountEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    // Coming back from another window or from the context menu is not
    // entering the control: it never left it.
    if (!m_notFocused)
        return;
    applyColours(m_activeFontColor, m_activeSoilColor);
    m_notFocused = false;
    if (m_editType == CurrencyType)
        setTextIfChanged(AmountText::stripCurrencySuffix(text(), m_currencySymbol));
    // A click that gave the focus then places the caret as usual (dragging
    // text out of the edit is off).
    selectAll();
}

void TAmountEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    applyColours(m_savedFontColor, m_savedSoilColor);
    m_notFocused = true;
    if (m_editType == CurrencyType)
        setTextIfChanged(text() + AmountText::currencySuffix(m_currencySymbol));
}

void TAmountEdit::enterEvent(QEnterEvent *event)
{
    applyColours(m_activeFontColor, m_activeSoilColor);
    QLineEdit::enterEvent(event);
}

void TAmountEdit::leaveEvent(QEvent *event)
{
    if (m_notFocused)
        applyColours(m_normalFontColor, m_normalSoilColor);
    QLineEdit::leaveEvent(event);
}

void TAmountEdit::applyAlignment()
{
    const bool amount = m_editType == CurrencyType;
    setAlignment(Qt::AlignVCenter | (amount ? Qt::AlignRight : Qt::AlignLeft));
    // Composed input would go round the key rules; dropped text is taken
    // as a paste.
    setAttribute(Qt::WA_InputMethodEnabled, !amount);
}

void TAmountEdit::pasteAmount(QClipboard::Mode mode)
{
    if (isReadOnly())
        return;
    takePastedText(QGuiApplication::clipboard()->text(mode));
}

void TAmountEdit::takePastedText(const QString &pasted)
{
    const std::optional<QString> parsed = AmountText::pastedAmount(pasted, m_editor.decimals());
    if (!parsed.has_value() || parsed.value().size() > m_editor.maxLength()) {
        QToolTip::showText(mapToGlobal(QPoint(0, height())),
                           QStringLiteral("Yapıştırılan metin bir tutar değil; alan değişmedi."), this);
        emit pasteRefused(pasted);
        return;
    }
    const QString amount = parsed.value();
    QString shown = amount;
    // Away from the field the suffix shows; in it, the bare amount.
    if (m_notFocused)
        shown += AmountText::currencySuffix(m_currencySymbol);
    setTextIfChanged(shown);
    // The caret stands before the decimals, as after typing whole lira.
    const int decimals = m_editor.decimals();
    setCursorPosition(int(amount.size()) - (decimals > 0 ? decimals + 1 : 0));
}

void TAmountEdit::deleteSelection()
{
    if (isReadOnly() || !hasSelectedText())
        return;
    const AmountKeyEditor::Outcome outcome = m_editor.keyDown(editState(), Qt::Key_Delete, Qt::NoModifier);
    if (outcome.rewritten)
        applyOutcome(outcome);
}

QMenu *TAmountEdit::createContextMenu()
{
    if (m_editType != CurrencyType)
        return createStandardContextMenu();
    // The edit's own menu would put pasted and cut text in as it stands;
    // this one has its captions, as Qt's Turkish texts give them.
    auto *menu = new QMenu(this);
    const bool editable = !isReadOnly();
    const auto add = [menu](const char *name, const QString &caption, const QKeySequence &keys, bool enabled) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(keys);
        action->setEnabled(enabled);
        return action;
    };
    connect(add("edit-undo", QStringLiteral("&Geri al"), QKeySequence::Undo, editable && isUndoAvailable()),
            &QAction::triggered, this, &QLineEdit::undo);
    connect(add("edit-redo", QStringLiteral("&Yinele"), QKeySequence::Redo, editable && isRedoAvailable()),
            &QAction::triggered, this, &QLineEdit::redo);
    menu->addSeparator();
    connect(add("edit-cut", QStringLiteral("Ke&s"), QKeySequence::Cut, editable && hasSelectedText()),
            &QAction::triggered, this, [this] {
                copy();
                deleteSelection();
            });
    connect(add("edit-copy", QStringLiteral("&Kopyala"), QKeySequence::Copy, hasSelectedText()),
            &QAction::triggered, this, &QLineEdit::copy);
    connect(add("edit-paste", QStringLiteral("Ya&pıştır"), QKeySequence::Paste,
                editable && !QGuiApplication::clipboard()->text().isEmpty()),
            &QAction::triggered, this, [this] { pasteAmount(); });
    connect(add("edit-delete", QStringLiteral("Sil"), QKeySequence(), editable && hasSelectedText()),
            &QAction::triggered, this, &TAmountEdit::deleteSelection);
    menu->addSeparator();
    connect(add("select-all", QStringLiteral("Tümünü Seç"), QKeySequence::SelectAll, !text().isEmpty()),
            &QAction::triggered, this, &QLineEdit::selectAll);
    return menu;
}

void TAmountEdit::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void TAmountEdit::mouseReleaseEvent(QMouseEvent *event)
{
    // The desktop's middle-click paste of the mouse selection.
    if (m_editType == CurrencyType && event->button() == Qt::MiddleButton
        && QGuiApplication::clipboard()->supportsSelection()) {
        pasteAmount(QClipboard::Selection);
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void TAmountEdit::dragEnterEvent(QDragEnterEvent *event)
{
    if (m_editType != CurrencyType) {
        QLineEdit::dragEnterEvent(event);
        return;
    }
    if (!isReadOnly() && event->mimeData()->hasText())
        event->acceptProposedAction();
    else
        event->ignore();
}

void TAmountEdit::dragMoveEvent(QDragMoveEvent *event)
{
    if (m_editType != CurrencyType) {
        QLineEdit::dragMoveEvent(event);
        return;
    }
    if (!isReadOnly() && event->mimeData()->hasText())
        event->acceptProposedAction();
    else
        event->ignore();
}

void TAmountEdit::dropEvent(QDropEvent *event)
{
    if (m_editType != CurrencyType) {
        QLineEdit::dropEvent(event);
        return;
    }
    if (isReadOnly() || !event->mimeData()->hasText()) {
        event->ignore();
        return;
    }
    takePastedText(event->mimeData()->text());
    event->acceptProposedAction();
}

void TAmountEdit::applyColours(const QColor &font, const QColor &soil)
{
    QPalette colours = palette();
    bool same = true;
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        same = same && colours.color(group, QPalette::Text) == font
               && colours.color(group, QPalette::Base) == soil;
        colours.setColor(group, QPalette::Text, font);
        colours.setColor(group, QPalette::Base, soil);
    }
    // Setting the palette repaints even when nothing changes.
    if (!same)
        setPalette(colours);
}

void TAmountEdit::setTextIfChanged(const QString &newText)
{
    ChangedOnly::setText(this, newText);
}

AmountKeyEditor::State TAmountEdit::editState() const
{
    AmountKeyEditor::State state;
    state.text = text();
    if (hasSelectedText()) {
        state.selectionStart = selectionStart();
        state.selectionLength = int(selectedText().size());
    } else {
        state.selectionStart = cursorPosition();
    }
    return state;
}

void TAmountEdit::applyOutcome(const AmountKeyEditor::Outcome &outcome)
{
    setTextIfChanged(outcome.text);
    setCursorPosition(outcome.caretPosition());
}

QString TAmountEdit::withoutShownSuffix(const QString &text) const
{
    const QString suffix = AmountText::currencySuffix(m_currencySymbol);
    return !suffix.isEmpty() && text.endsWith(suffix) ? text.chopped(suffix.size()) : text;
}

void TAmountEdit::reformatText()
{
    const QString current = text();
    const QString amount = withoutShownSuffix(current);
    setTextIfChanged(m_editor.reformat(amount) + current.mid(amount.size()));
}
