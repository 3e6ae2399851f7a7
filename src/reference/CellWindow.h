#pragma once

#include "controls/LazyDialog.h"

class QTabWidget;

// A window of cells on tabbed pages, as the codes window and the institution
// window are: a fixed size, the cells' look, and the page control
// PageControl1 whose tabs each hold one sunken panel. Its widgets are built
// when it is first shown.
class CellWindow : public LazyDialog
{
    Q_OBJECT

protected:
    CellWindow(const QString &objectName, const QString &title, const QSize &size, QWidget *parent);

    // Builds the pages on PageControl1.
    virtual void buildPages() = 0;

    // PageControl1; null until the widgets are built.
    QTabWidget *pages() const { return m_pages; }
    // Adds a tab and returns the sunken panel that fills it.
    QWidget *addPage(const QString &name, const QString &caption);

private:
    void buildWidgets() final;

    QTabWidget *m_pages = nullptr;
};
