#include "app/ListPane.h"

#include "app/CategoryScreen.h"
#include "app/FieldColours.h"
#include "base/WindowsColour.h"
#include "controls/TStripedDBGrid.h"
#include "controls/TabSetBar.h"
#include "controls/UpperCaseKeyFilter.h"
#include "desktop/HintText.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QVBoxLayout>

ListPane::ListPane(UpperCaseKeyFilter *upperCase, QWidget *parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("Panel4"));
    setMinimumWidth(60);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->setSpacing(0);

    m_tabs = new TabSetBar(this);
    m_tabs->setObjectName(QStringLiteral("TabSet1"));
    m_tabs->addTab(QStringLiteral("   Listeler   "));
    m_tabs->addTab(QStringLiteral("   Arama   "));
    m_tabs->setCursor(Qt::PointingHandCursor);
    m_tabs->setExpanding(false);
    m_tabs->setDrawBase(false);
    m_tabs->setFixedHeight(21);
    layout->addWidget(m_tabs);

    buildNotebook(upperCase);
    layout->addWidget(m_notebook);

    auto *line = new QFrame(this);
    line->setObjectName(QStringLiteral("Panel18"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setFixedHeight(2);
    layout->addWidget(line);

    // Stacked in the same place; only the chosen category's grid is ever shown.
    for (PaymentCategory category : {PaymentCategory::Hospital, PaymentCategory::Treatment,
                                     PaymentCategory::Pharmacy, PaymentCategory::Private}) {
        auto *grid = new TStripedDBGrid(this);
        grid->setObjectName(categoryScreen(category).gridName);
        grid->horizontalHeader()->setStretchLastSection(true);
        QPalette palette = grid->palette();
        palette.setColor(QPalette::Base, Qt::white);
        grid->setPalette(palette);
        grid->hide();
        layout->addWidget(grid, 1);
        m_grids[std::size_t(categoryIndex(category))] = grid;
    }
    layout->addStretch(0);
}

void ListPane::buildNotebook(UpperCaseKeyFilter *upperCase)
{
    m_notebook = new QStackedWidget(this);
    m_notebook->setObjectName(QStringLiteral("Notebook1"));
    m_notebook->setFixedHeight(44);

    auto *listsPage = new QWidget(m_notebook);
    listsPage->setObjectName(QStringLiteral("   Listeler   "));
    auto *listsLayout = new QVBoxLayout(listsPage);
    listsLayout->setContentsMargins(2, 10, 2, 4);
    m_selector = new QComboBox(listsPage);
    m_selector->setObjectName(QStringLiteral("ComboBox1"));
    m_selector->setPlaceholderText(QStringLiteral("İşlem Seçiniz ..."));
    for (PaymentCategory category : kAllCategories)
        m_selector->addItem(categoryScreen(category).selectorItem);
    m_selector->setCurrentIndex(-1);
    HintText::apply(m_selector, QStringLiteral("İşlem Penceresi|İşlem yapmak için kişi/kurum listesi seçimi"));
    listsLayout->addWidget(m_selector);
    m_notebook->addWidget(listsPage);

    auto *searchPage = new QWidget(m_notebook);
    searchPage->setObjectName(QStringLiteral("   Arama   "));
    auto *searchLayout = new QVBoxLayout(searchPage);
    searchLayout->setContentsMargins(2, 2, 2, 2);
    searchLayout->setSpacing(1);
    auto *searchCaption = new QLabel(QStringLiteral("Kurum adına göre"), searchPage);
    searchLayout->addWidget(searchCaption);
    m_searchBox = new QLineEdit(searchPage);
    m_searchBox->setObjectName(QStringLiteral("Edit33"));
    searchCaption->setBuddy(m_searchBox);
    upperCase->watch(m_searchBox);
    searchLayout->addWidget(m_searchBox);
    m_notebook->addWidget(searchPage);
}

void ListPane::showGridOf(PaymentCategory category)
{
    for (PaymentCategory each : kAllCategories)
        grid(each)->setVisible(each == category);
}

void ListPane::applyColours(const MainWindowColours &colours)
{
    FieldColours::apply(m_searchBox, colours);
    FieldColours::apply(m_selector, colours);
    const QColor face = WindowsColour::toQColor(colours.edits);
    if (face.isValid())
        m_tabs->setUnselectedTabColour(face);
    for (TStripedDBGrid *grid : m_grids) {
        grid->setColorAlternative(WindowsColour::toQColor(colours.gridAlternative));
        grid->setColorSelect(WindowsColour::toQColor(colours.gridSelect));
        grid->setColorSelectText(WindowsColour::toQColor(colours.gridSelectText));
    }
}
