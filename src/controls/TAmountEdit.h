#pragma once

#include "base/AmountKeyEditor.h"
#include "base/AmountText.h"

#include <QClipboard>
#include <QColor>
#include <QLineEdit>

class QMenu;

// The edit control of every amount of the program. As CurrencyType it keeps
// its text in display form after every keystroke (AmountKeyEditor) and after
// every paste, whichever way the text comes (keys, context menu, middle
// click, drop): an amount is put in display form, anything else is refused
// and the field keeps its text. As TextType it is a plain edit; either way Enter and the up and down arrows
// move the focus, and it takes active colours while it has the focus or the
// mouse is over it. Its change signal is QLineEdit::textChanged, which also
// fires for the control's own rewrites (and not for a rewrite that leaves the
// text as it was).
class TAmountEdit : public QLineEdit
{
    Q_OBJECT
    Q_PROPERTY(QString About READ about CONSTANT)
    Q_PROPERTY(AmountText::TCurrSymbolSet CurrencySymbol READ currencySymbol WRITE setCurrencySymbol)
    Q_PROPERTY(TAmountEditType EditType READ editType WRITE setEditType)
    Q_PROPERTY(int MaxLength READ amountMaxLength WRITE setAmountMaxLength)
    Q_PROPERTY(int Decimals READ decimals WRITE setDecimals)
    Q_PROPERTY(long double TextAsFloat READ textAsFloat WRITE setTextAsFloat STORED false)
    Q_PROPERTY(bool PassingControl READ passingControl WRITE setPassingControl)
    Q_PROPERTY(QColor ActiveFontColor READ activeFontColor WRITE setActiveFontColor)
    Q_PROPERTY(QColor ActiveSoilColor READ activeSoilColor WRITE setActiveSoilColor)

public:
    enum TAmountEditType { TextType, CurrencyType };
    Q_ENUM(TAmountEditType)

    explicit TAmountEdit(QWidget *parent = nullptr);

    // The way every amount field of the program is set up: CurrencyType, two
    // decimals, at most 20 characters, blue on sky blue while active.
    void configureAsAmount(const QString &initialText = QStringLiteral("0,00"));

    QString about() const;

    AmountText::TCurrSymbolSet currencySymbol() const { return m_currencySymbol; }
    void setCurrencySymbol(AmountText::TCurrSymbolSet symbol);

    TAmountEditType editType() const { return m_editType; }
    void setEditType(TAmountEditType type);

    // Named apart from QLineEdit::maxLength, which stays unlimited: it would
    // cut texts set from outside and the suffix.
    int amountMaxLength() const { return m_editor.maxLength(); }
    void setAmountMaxLength(int value);

    int decimals() const { return m_editor.decimals(); }
    void setDecimals(int value);
    QString pattern() const { return m_editor.pattern(); }

    // Reading strips the currency suffix and takes the digits in normal form
    // (an empty or unreadable text reads 0); writing formats the value and
    // appends the suffix, and does nothing for TextType.
    long double textAsFloat() const;
    void setTextAsFloat(long double value);

    bool passingControl() const { return m_passingControl; }
    void setPassingControl(bool on) { m_passingControl = on; }

    QColor activeFontColor() const { return m_activeFontColor; }
    void setActiveFontColor(const QColor &colour) { m_activeFontColor = colour; }
    QColor activeSoilColor() const { return m_activeSoilColor; }
    void setActiveSoilColor(const QColor &colour) { m_activeSoilColor = colour; }

    // The paste of every route: the clipboard's text (or the mouse
    // selection's) replaces the field's as an amount, or is refused.
    void pasteAmount(QClipboard::Mode mode = QClipboard::Clipboard);
    // The right-click menu: the edit's own, with Cut, Paste and Delete going
    // through the amount rules. The caller owns it.
    QMenu *createContextMenu();

signals:
    // A paste that is not an amount: the field kept its text.
    void pasteRefused(const QString &pasted);

protected:
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void takePastedText(const QString &pasted);
    void deleteSelection();
    void windowCreated();
    void applyAlignment();
    void applyColours(const QColor &font, const QColor &soil);
    void setTextIfChanged(const QString &text);
    AmountKeyEditor::State editState() const;
    void applyOutcome(const AmountKeyEditor::Outcome &outcome);
    QString withoutShownSuffix(const QString &text) const;
    void reformatText();

    AmountKeyEditor m_editor;
    AmountText::TCurrSymbolSet m_currencySymbol = AmountText::TCurrSymbolSet::None;
    TAmountEditType m_editType = TextType;
    bool m_passingControl = true;
    QColor m_activeFontColor;
    QColor m_activeSoilColor;
    QColor m_normalFontColor;
    QColor m_normalSoilColor;
    QColor m_savedFontColor;
    QColor m_savedSoilColor;
    bool m_notFocused = true;
    bool m_windowCreated = false;
};
