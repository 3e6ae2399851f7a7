#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QWidget>
#include <QtTest>

// What a user does to a window, through its controls, so that a test covers
// the wiring between a control and its handler as well as the handler.
namespace UserActions {

// Picks an item of the combo box called name, as a click in its list does.
inline void choose(QWidget &window, const char *name, int index)
{
    auto *box = window.findChild<QComboBox *>(QString::fromLatin1(name));
    QVERIFY2(box, name);
    box->setCurrentIndex(index);
    emit box->activated(index);
}

// A menu item or another action of the window, by its name.
inline void trigger(QWidget &window, const char *name)
{
    auto *action = window.findChild<QAction *>(QString::fromLatin1(name));
    QVERIFY2(action, name);
    action->trigger();
}

// A button or tool button of the window, by its name.
inline void click(QWidget &window, const char *name)
{
    auto *button = window.findChild<QAbstractButton *>(QString::fromLatin1(name));
    QVERIFY2(button, name);
    button->click();
}

} // namespace UserActions
