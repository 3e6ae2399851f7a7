#pragma once

#include <QPalette>
#include <QString>
#include <QWidget>

// Setters for controls that the program updates over and over (at every idle
// moment, after every keystroke). Each leaves the control alone when it
// already shows the value: a rewrite would move a caret, wipe an edit's undo
// history, repaint or emit a change for nothing.
namespace ChangedOnly {

template<typename Control>
void setText(Control *control, const QString &text)
{
    if (control && control->text() != text)
        control->setText(text);
}

inline void setEnabled(QWidget *widget, bool enabled)
{
    if (widget && widget->isEnabled() != enabled)
        widget->setEnabled(enabled);
}

// A new palette repaints even when it equals the old one.
inline void setPalette(QWidget *widget, const QPalette &palette)
{
    if (widget && widget->palette() != palette)
        widget->setPalette(palette);
}

} // namespace ChangedOnly
