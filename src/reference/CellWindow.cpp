#include "reference/CellWindow.h"

#include "desktop/FixedSizeDialog.h"
#include "reference/GridCells.h"

#include <QFrame>
#include <QTabWidget>
#include <QVBoxLayout>

CellWindow::CellWindow(const QString &objectName, const QString &title, const QSize &size, QWidget *parent)
    : LazyDialog(parent)
{
    setObjectName(objectName);
    setWindowTitle(title);
    FixedSizeDialog::apply(this, size);
}

void CellWindow::buildWidgets()
{
    setStyleSheet(GridCells::styleSheet());
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    m_pages->setGeometry(QRect(QPoint(0, 0), size()));
    buildPages();
}

QWidget *CellWindow::addPage(const QString &name, const QString &caption)
{
    auto *page = new QWidget;
    page->setObjectName(name);
    m_pages->addTab(page, caption);
    auto *panel = new QFrame(page);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(panel);
    return panel;
}
