#pragma once

#include <QSize>
#include <Qt>

class QWidget;

// The frame of a dialog of one size: a title bar with a close button and
// nothing else, no minimise, maximise or context help button (a dialog's
// help is its own help button). A dialog that must not be closed from its
// frame (the repair wizard) gets the title alone. The flags name every
// button, so that the window manager shows these and no others.
namespace FixedSizeDialog {

enum class CloseButton { Shown, Hidden };

Qt::WindowFlags flags(CloseButton close = CloseButton::Shown);

// The flags and the one size the dialog keeps.
void apply(QWidget *dialog, const QSize &size, CloseButton close = CloseButton::Shown);

} // namespace FixedSizeDialog
