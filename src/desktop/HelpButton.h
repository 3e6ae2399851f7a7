#pragma once

#include <QString>

class QRect;
class QToolButton;
class QWidget;

// The flat help button SpeedButton1 of the program's dialogs: the help
// picture, a hint, and no place in the Tab order.
namespace HelpButton {

QToolButton *create(QWidget *parent, const QRect &geometry, const QString &hint);

} // namespace HelpButton
