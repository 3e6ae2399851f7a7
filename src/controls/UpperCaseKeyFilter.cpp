#include "controls/UpperCaseKeyFilter.h"

#include "base/TurkishText.h"

#include <QCoreApplication>
#include <QKeyEvent>

UpperCaseKeyFilter::UpperCaseKeyFilter(QObject *parent)
    : QObject(parent)
{
}

void UpperCaseKeyFilter::watch(QObject *field)
{
    field->installEventFilter(this);
}

bool UpperCaseKeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || m_forwarding)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    const QString text = key->text();
    if (text.isEmpty() || (key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)))
        return false;
    const QString upper = TurkishText::upperCaseTyped(text);
    if (upper == text)
        return false;
    // A fresh key event with the capital keeps the field's own rules (length
    // limit, replacing a selection, undo) in play.
    QKeyEvent replaced(QEvent::KeyPress, key->key(), key->modifiers(), upper, key->isAutoRepeat(),
                       ushort(key->count()));
    m_forwarding = true;
    QCoreApplication::sendEvent(watched, &replaced);
    m_forwarding = false;
    return true;
}
