#include "desktop/FixedSizeDialog.h"

#include <QWidget>

namespace FixedSizeDialog {

Qt::WindowFlags flags(CloseButton close)
{
    // Without CustomizeWindowHint the window manager is left to choose, and
    // it shows every button it has.
    Qt::WindowFlags chosen = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                             | Qt::MSWindowsFixedSizeDialogHint;
    if (close == CloseButton::Shown)
        chosen |= Qt::WindowCloseButtonHint;
    return chosen;
}

void apply(QWidget *dialog, const QSize &size, CloseButton close)
{
    dialog->setWindowFlags(flags(close));
    dialog->setFixedSize(size);
}

} // namespace FixedSizeDialog
