#pragma once

#include "app/MainWindowColours.h"
#include "base/PaymentCategory.h"

#include <QFrame>

#include <array>

class QComboBox;
class QLineEdit;
class QStackedWidget;
class TabSetBar;
class TStripedDBGrid;
class UpperCaseKeyFilter;

// The main window's left pane Panel4: the tabs TabSet1 over the notebook
// Notebook1, whose first page holds the category selector ComboBox1 and
// whose second the search box Edit33, and under them the four list grids
// stacked in one place. The main window connects the controls to its
// handlers.
class ListPane : public QFrame
{
    Q_OBJECT

public:
    ListPane(UpperCaseKeyFilter *upperCase, QWidget *parent);

    TabSetBar *tabs() const { return m_tabs; }
    QStackedWidget *notebook() const { return m_notebook; }
    QComboBox *selector() const { return m_selector; }
    QLineEdit *searchBox() const { return m_searchBox; }
    TStripedDBGrid *grid(PaymentCategory category) const { return m_grids[std::size_t(categoryIndex(category))]; }

    // Shows the grid of the chosen category only.
    void showGridOf(PaymentCategory category);
    // The field colours on the selector, the search box and the unselected
    // tabs; the grid colours on the grids.
    void applyColours(const MainWindowColours &colours);

private:
    void buildNotebook(UpperCaseKeyFilter *upperCase);

    TabSetBar *m_tabs = nullptr;
    QStackedWidget *m_notebook = nullptr;
    QComboBox *m_selector = nullptr;
    QLineEdit *m_searchBox = nullptr;
    std::array<TStripedDBGrid *, kCategoryCount> m_grids{};
};
