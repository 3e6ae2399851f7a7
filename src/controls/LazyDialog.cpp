#include "controls/LazyDialog.h"

void LazyDialog::ensureBuilt()
{
    if (m_built)
        return;
    m_built = true;
    buildWidgets();
}

void LazyDialog::setVisible(bool visible)
{
    if (visible)
        ensureBuilt();
    QDialog::setVisible(visible);
}
