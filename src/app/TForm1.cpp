#include "app/TForm1.h"

#include "app/CategoryScreen.h"
#include "app/PayeeFieldGroup.h"
#include "app/TAbout.h"
#include "app/TFrmAyar.h"
#include "base/ApplicationInfo.h"
#include "base/ProfileFile.h"
#include "base/TurkishText.h"
#include "base/WindowsColour.h"
#include "controls/TabSetBar.h"
#include "controls/TStripedDBGrid.h"
#include "controls/TTrayMinimizer.h"
#include "controls/UpperCaseKeyFilter.h"
#include "controls/WebLinkLabel.h"
#include "desktop/HelpViewer.h"
#include "desktop/HintText.h"
#include "desktop/MessageBoxes.h"
#include "desktop/ToolIcons.h"
#include "maintenance/TFrmTamir.h"
#include "maintenance/TFrmYedek.h"
#include "reference/TForm4.h"
#include "reference/TForm5.h"
#include "registry/PayeeList.h"
#include "registry/PayeeListModel.h"
#include "registry/PayeeTable.h"
#include "worksheets/WorksheetSet.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString kInitialHint = QStringLiteral("Z e n p a r o l   M ü z e k k e r e s i   3 . 2");

// "Yeni&" shows as "Yeni": a trailing "&" marks no mnemonic.
QString menuCaption(const QString &caption)
{
    return caption.endsWith(QLatin1Char('&')) ? caption.chopped(1) : caption;
}

} // namespace

TForm1::TForm1(QWidget *parent)
    : QMainWindow(parent)
    , m_upperCase(new UpperCaseKeyFilter(this))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(ApplicationInfo::mainWindowCaption());
    setWindowIcon(ToolIcons::applicationIcon());
    setMinimumSize(799, 550);
    resize(799, 550);

    m_dataSetEdit1 = new QAction(this);
    m_dataSetEdit1->setObjectName(QStringLiteral("DataSetEdit1"));
    connect(m_dataSetEdit1, &QAction::triggered, this, &TForm1::DataSetEdit1Execute);
    m_dataSetPost1 = new QAction(this);
    m_dataSetPost1->setObjectName(QStringLiteral("DataSetPost1"));
    connect(m_dataSetPost1, &QAction::triggered, this, &TForm1::DataSetPost1Execute);

    buildMenu();
    buildToolBar();
    buildStatusBar();

    auto *central = new QWidget(this);
    auto *layout = new QHBoxLayout(central);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->setSpacing(0);
    m_splitter = new QSplitter(Qt::Horizontal, central);
    m_splitter->setObjectName(QStringLiteral("Splitter1"));
    m_splitter->setChildrenCollapsible(false);
    m_splitter->setHandleWidth(3);
    layout->addWidget(m_splitter);
    setCentralWidget(central);
    buildLeftPane();
    buildWorkArea();

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(1000);
    connect(m_timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    m_timer1->start();

    m_trayMinimizer1 = new TTrayMinimizer(this);
    m_trayMinimizer1->setObjectName(QStringLiteral("TrayMinimizer1"));

    for (PaymentCategory category : kAllCategories)
        bindList(category);
    connect(qApp, &QApplication::focusChanged, this, &TForm1::focusMoved);
    updateDataSetActions();

    qApp->installEventFilter(this);
    FormCreate();
}

TForm1::~TForm1()
{
    // Children die after this body; nothing of theirs may reach the window.
    qApp->removeEventFilter(this);
    disconnect(qApp, nullptr, this, nullptr);
    for (PayeeList *list : m_lists)
        list->disconnect(this);
}

void TForm1::setSecondaryWindows(const SecondaryWindows &windows)
{
    m_windows = windows;
    if (TFrmAyar *preferences = windows.preferences) {
        m_worksheets->setPreferences(preferences);
        connect(preferences, &TFrmAyar::coloursConfirmed, this, &TForm1::applyColours);
        connect(preferences, &TFrmAyar::worksheetsClearRequested, m_worksheets, &WorksheetSet::clearAll);
    }
    if (TForm4 *institution = windows.institution) {
        m_worksheets->setAutomaticYearAndDate(
            [institution](const QDate &today) { institution->applyAutomaticYearAndDate(today); });
    }
}

QAction *TForm1::addMenuItem(QMenu *menu, const QString &name, const QString &caption,
                             const QKeySequence &shortcut, const QString &hint)
{
    auto *action = menu->addAction(menuCaption(caption));
    action->setObjectName(name);
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
        m_menuShortcuts.append(shortcut);
    }
    if (!hint.isEmpty())
        HintText::applyToMenuItem(action, hint);
    return action;
}

void TForm1::buildMenu()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    QMenu *file = bar->addMenu(QStringLiteral("&Dosya"));
    connect(addMenuItem(file, QStringLiteral("Yeni1"), QStringLiteral("Yeni&"), QKeySequence(Qt::CTRL | Qt::Key_N),
                        QStringLiteral("Yeni eczane ya da hastane ekle")),
            &QAction::triggered, this, &TForm1::ToolButton1Click);
    QAction *save = addMenuItem(file, QStringLiteral("Kaydet1"), QStringLiteral("Kaydet&"),
                                QKeySequence(Qt::CTRL | Qt::Key_S), QStringLiteral("Değişiklikleri kaydet"));
    save->setIcon(ToolIcons::icon(ToolIcons::Picture::Save));
    connect(save, &QAction::triggered, m_dataSetPost1, &QAction::trigger);
    connect(m_dataSetPost1, &QAction::enabledChanged, save, &QAction::setEnabled);
    file->addSeparator();
    QMenu *database = file->addMenu(menuCaption(QStringLiteral("Veritabanı İşlemleri&")));
    database->menuAction()->setObjectName(QStringLiteral("Veritabanlemleri1"));
    QAction *backup = addMenuItem(database, QStringLiteral("VeritabaniYedekle1"), QStringLiteral("Yedekle ...&"),
                                  QKeySequence(Qt::Key_F8), QStringLiteral("Veritabanı yedekleme penceresini aç"));
    backup->setIcon(ToolIcons::icon(ToolIcons::Picture::Backup));
    connect(backup, &QAction::triggered, this, &TForm1::VeritabaniYedekle1Click);
    QAction *repair = addMenuItem(database, QStringLiteral("VeritabanBakmOnarm1"),
                                  QStringLiteral("Bakım ve Onarım ...&"), QKeySequence(Qt::Key_F9),
                                  QStringLiteral("Veritabanı bakım ve onarım sihirbazını aç"));
    repair->setIcon(ToolIcons::icon(ToolIcons::Picture::Repair));
    connect(repair, &QAction::triggered, this, &TForm1::VeritabanBakmOnarm1Click);
    file->addSeparator();
    QAction *close = addMenuItem(file, QStringLiteral("Kapat1"), QStringLiteral("Kapat&"),
                                 QKeySequence(Qt::Key_Escape), QString());
    close->setIcon(ToolIcons::icon(ToolIcons::Picture::Exit));
    connect(close, &QAction::triggered, this, &TForm1::Kapat1Click);
    file->actions().first()->setIcon(ToolIcons::icon(ToolIcons::Picture::New));

    QMenu *edit = bar->addMenu(QStringLiteral("D&üzen"));
    QAction *editRecord = addMenuItem(edit, QStringLiteral("Dzenle1"), QStringLiteral("Düzenle&"),
                                      QKeySequence(Qt::CTRL | Qt::Key_D),
                                      QStringLiteral("Aktif kayıt üzerinde düzenleme yap"));
    editRecord->setIcon(ToolIcons::icon(ToolIcons::Picture::Edit));
    connect(editRecord, &QAction::triggered, m_dataSetEdit1, &QAction::trigger);
    connect(m_dataSetEdit1, &QAction::enabledChanged, editRecord, &QAction::setEnabled);
    QAction *remove = addMenuItem(edit, QStringLiteral("Sil1"), QStringLiteral("Sil&"),
                                  QKeySequence(Qt::CTRL | Qt::Key_Delete), QStringLiteral("Aktif kaydı sil"));
    remove->setIcon(ToolIcons::icon(ToolIcons::Picture::Delete));
    connect(remove, &QAction::triggered, this, &TForm1::ToolButton2Click);

    QMenu *constants = bar->addMenu(QStringLiteral("&Sabitler"));
    connect(addMenuItem(constants, QStringLiteral("KurummzaBilgileri1"), QStringLiteral("Kurum - İmza Bilgileri ...&"),
                        QKeySequence(Qt::Key_F4), QStringLiteral("İmza bilgileri penceresi")),
            &QAction::triggered, this, &TForm1::KurummzaBilgileri1Click);
    connect(addMenuItem(constants, QStringLiteral("Kodlar1"), QStringLiteral("K.F.E Kodları ...&"),
                        QKeySequence(Qt::Key_F5), QStringLiteral("Kod girişleri")),
            &QAction::triggered, this, &TForm1::Kodlar1Click);
    constants->addSeparator();
    QAction *preferences = addMenuItem(constants, QStringLiteral("Ayarlar1"), QStringLiteral("Ayarlar ...&"),
                                       QKeySequence(Qt::Key_F7), QStringLiteral("Ayar penceresini aç"));
    preferences->setIcon(ToolIcons::icon(ToolIcons::Picture::Settings));
    connect(preferences, &QAction::triggered, this, &TForm1::Ayarlar1Click);

    QMenu *help = bar->addMenu(QStringLiteral("&Yardım"));
    QAction *contents = addMenuItem(help, QStringLiteral("Yardm1"), QStringLiteral("Yardım ...&"),
                                    QKeySequence(Qt::Key_F1), QStringLiteral("Yardım penceresini aç"));
    contents->setIcon(ToolIcons::icon(ToolIcons::Picture::Help));
    connect(contents, &QAction::triggered, this, &TForm1::Yardm1Click);
    help->addSeparator();
    connect(addMenuItem(help, QStringLiteral("MnHakkinda"), QStringLiteral("Hakkında ...&"), QKeySequence(), QString()),
            &QAction::triggered, this, &TForm1::MnHakkindaClick);
}

QToolButton *TForm1::addToolButton(const QString &name, const QString &caption, const QString &hint,
                                   const QIcon &picture)
{
    auto *button = new QToolButton(m_toolBar);
    button->setObjectName(name);
    button->setText(caption);
    button->setIcon(picture);
    button->setIconSize(QSize(20, 20));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setMinimumSize(52, 36);
    HintText::apply(button, hint);
    m_toolBar->addWidget(button);
    return button;
}

void TForm1::buildToolBar()
{
    m_toolBar = addToolBar(QStringLiteral("ToolBar1"));
    m_toolBar->setObjectName(QStringLiteral("ToolBar1"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setFixedHeight(48);
    m_toolBar->setContextMenuPolicy(Qt::PreventContextMenu);

    using ToolIcons::Picture;
    connect(addToolButton(QStringLiteral("ToolButton1"), QStringLiteral("Yeni"),
                          QStringLiteral("Yeni Ekle (Ctrl+N)|Yeni eczane ya da hastane ekle"),
                          ToolIcons::icon(Picture::New)),
            &QToolButton::clicked, this, &TForm1::ToolButton1Click);
    connect(addToolButton(QStringLiteral("ToolButton2"), QStringLiteral("Sil"),
                          QStringLiteral("Sil (Ctrl+Del)|Aktif kaydı sil"), ToolIcons::icon(Picture::Delete)),
            &QToolButton::clicked, this, &TForm1::ToolButton2Click);
    // Bound to the actions for their state, keeping their own caption and hint.
    QToolButton *edit = addToolButton(QStringLiteral("ToolButton3"), QStringLiteral(" Düzenle "),
                                      QStringLiteral("Düzenle (Ctrl+D)|Aktif kayıt üzerinde düzenleme yap"),
                                      ToolIcons::icon(Picture::Edit));
    connect(edit, &QToolButton::clicked, m_dataSetEdit1, &QAction::trigger);
    connect(m_dataSetEdit1, &QAction::enabledChanged, edit, &QToolButton::setEnabled);
    QToolButton *save = addToolButton(QStringLiteral("ToolButton4"), QStringLiteral("Kaydet"),
                                      QStringLiteral("Kaydet (Ctrl+S)|Değişiklikleri kaydet"),
                                      ToolIcons::icon(Picture::Save));
    connect(save, &QToolButton::clicked, m_dataSetPost1, &QAction::trigger);
    connect(m_dataSetPost1, &QAction::enabledChanged, save, &QToolButton::setEnabled);
    m_toolBar->addSeparator();
    connect(addToolButton(QStringLiteral("ToolButton12"), QStringLiteral("Yedekle"),
                          QStringLiteral("Veritabanını Yedekle (F8)|Veritabanı yedekleme penceresini aç"),
                          ToolIcons::icon(Picture::Backup)),
            &QToolButton::clicked, this, &TForm1::VeritabaniYedekle1Click);
    connect(addToolButton(QStringLiteral("ToolButton13"), QStringLiteral("Onar"),
                          QStringLiteral("Veritabanı Onarım (F9)|Veritabanı bakım ve onarım sihirbazını başlat"),
                          ToolIcons::icon(Picture::Repair)),
            &QToolButton::clicked, this, &TForm1::VeritabanBakmOnarm1Click);
    m_toolBar->addSeparator();
    connect(addToolButton(QStringLiteral("ToolButton7"), QStringLiteral("Ayar"),
                          QStringLiteral("Ayarlar (F7)|Ayarlar penceresini aç"), ToolIcons::icon(Picture::Settings)),
            &QToolButton::clicked, this, &TForm1::Ayarlar1Click);
    m_toolBar->addSeparator();
    connect(addToolButton(QStringLiteral("BtnHelp"), QStringLiteral("Yardım"),
                          QStringLiteral("Yardım (F1)|Yardım penceresini aç"), ToolIcons::icon(Picture::Help)),
            &QToolButton::clicked, this, &TForm1::Yardm1Click);
    m_toolBar->addSeparator();
    connect(addToolButton(QStringLiteral("ToolButton6"), QStringLiteral("Çıkış"), QStringLiteral("Kapat (ESC)"),
                          ToolIcons::icon(Picture::Exit)),
            &QToolButton::clicked, this, &TForm1::Kapat1Click);
    m_toolBar->addSeparator();

    // The web link fills the right end of the bar.
    auto *spacer = new QWidget(m_toolBar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_toolBar->addWidget(spacer);
    m_label43 = new WebLinkLabel(ApplicationInfo::makerWebAddress(), m_toolBar);
    m_label43->setObjectName(QStringLiteral("Label43"));
    m_label43->setFixedWidth(221);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSize(10);
    font.setBold(true);
    m_label43->setFont(font);
    m_label43->setNormalColours(QColor(192, 192, 192), WindowsColour::buttonFace());
    m_label43->setHoverColours(Qt::yellow, Qt::black);
    HintText::apply(m_label43, QStringLiteral("Web Sitesine Git|Üreticinin web sitesi"));
    m_toolBar->addWidget(m_label43);
}

void TForm1::buildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(true);
    for (int i = 0; i < 3; ++i) {
        auto *panel = new QLabel(bar);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        m_statusPanels[std::size_t(i)] = panel;
    }
    m_statusPanels[0]->setFixedWidth(185);
    m_statusPanels[1]->setFixedWidth(350);
    m_statusPanels[2]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_statusPanels[1]->setText(kInitialHint);
    bar->addWidget(m_statusPanels[0]);
    bar->addWidget(m_statusPanels[1]);
    bar->addWidget(m_statusPanels[2], 1);
}

void TForm1::buildLeftPane()
{
    m_panel4 = new QFrame(m_splitter);
    m_panel4->setObjectName(QStringLiteral("Panel4"));
    m_panel4->setMinimumWidth(60);
    auto *layout = new QVBoxLayout(m_panel4);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->setSpacing(0);

    m_tabSet = new TabSetBar(m_panel4);
    m_tabSet->setObjectName(QStringLiteral("TabSet1"));
    m_tabSet->addTab(QStringLiteral("   Listeler   "));
    m_tabSet->addTab(QStringLiteral("   Arama   "));
    m_tabSet->setCursor(Qt::PointingHandCursor);
    m_tabSet->setExpanding(false);
    m_tabSet->setDrawBase(false);
    m_tabSet->setFixedHeight(21);
    layout->addWidget(m_tabSet);

    m_notebook = new QStackedWidget(m_panel4);
    m_notebook->setObjectName(QStringLiteral("Notebook1"));
    m_notebook->setFixedHeight(44);
    auto *listsPage = new QWidget(m_notebook);
    listsPage->setObjectName(QStringLiteral("   Listeler   "));
    auto *listsLayout = new QVBoxLayout(listsPage);
    listsLayout->setContentsMargins(2, 10, 2, 4);
    m_comboBox1 = new QComboBox(listsPage);
    m_comboBox1->setObjectName(QStringLiteral("ComboBox1"));
    m_comboBox1->setPlaceholderText(QStringLiteral("İşlem Seçiniz ..."));
    for (PaymentCategory category : kAllCategories)
        m_comboBox1->addItem(categoryScreen(category).selectorItem);
    m_comboBox1->setCurrentIndex(-1);
    HintText::apply(m_comboBox1, QStringLiteral("İşlem Penceresi|İşlem yapmak için kişi/kurum listesi seçimi"));
    connect(m_comboBox1, &QComboBox::activated, this, &TForm1::ComboBox1Change);
    listsLayout->addWidget(m_comboBox1);
    m_notebook->addWidget(listsPage);

    auto *searchPage = new QWidget(m_notebook);
    searchPage->setObjectName(QStringLiteral("   Arama   "));
    auto *searchLayout = new QVBoxLayout(searchPage);
    searchLayout->setContentsMargins(2, 2, 2, 2);
    searchLayout->setSpacing(1);
    auto *searchCaption = new QLabel(QStringLiteral("Kurum adına göre"), searchPage);
    searchLayout->addWidget(searchCaption);
    m_edit33 = new QLineEdit(searchPage);
    m_edit33->setObjectName(QStringLiteral("Edit33"));
    searchCaption->setBuddy(m_edit33);
    m_upperCase->watch(m_edit33);
    connect(m_edit33, &QLineEdit::textChanged, this, &TForm1::Edit33Change);
    searchLayout->addWidget(m_edit33);
    m_notebook->addWidget(searchPage);
    layout->addWidget(m_notebook);
    connect(m_tabSet, &QTabBar::currentChanged, this, &TForm1::TabSet1Change);

    auto *line = new QFrame(m_panel4);
    line->setObjectName(QStringLiteral("Panel18"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setFixedHeight(2);
    layout->addWidget(line);

    // Stacked in the same place; only the chosen kind's grid is ever shown.
    for (PaymentCategory category : {PaymentCategory::Hospital, PaymentCategory::Treatment,
                                     PaymentCategory::Pharmacy, PaymentCategory::Private}) {
        auto *grid = new TStripedDBGrid(m_panel4);
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
    m_splitter->addWidget(m_panel4);
}

void TForm1::buildWorkArea()
{
    auto *panel11 = new QFrame(m_splitter);
    panel11->setObjectName(QStringLiteral("Panel11"));
    auto *layout = new QVBoxLayout(panel11);
    layout->setContentsMargins(3, 3, 3, 3);
    m_panel5 = new QFrame(panel11);
    m_panel5->setObjectName(QStringLiteral("Panel5"));
    m_panel5->setFrameShape(QFrame::Panel);
    m_panel5->setFrameShadow(QFrame::Sunken);
    m_panel5->setAutoFillBackground(true);
    layout->addWidget(m_panel5);

    for (PaymentCategory category : kAllCategories) {
        const CategoryScreen &screen = categoryScreen(category);
        auto *panel = new QFrame(m_panel5);
        panel->setObjectName(screen.panelName);
        panel->setGeometry(6, 6, 576, 411);
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setAutoFillBackground(true);
        panel->setPalette(QApplication::palette());
        auto *fields = new PayeeFieldGroup(category, m_upperCase, panel);
        fields->move(5, 4);
        panel->hide();
        m_categoryPanels[std::size_t(categoryIndex(category))] = panel;
        m_payeeFields[std::size_t(categoryIndex(category))] = fields;
    }

    m_worksheets = new WorksheetSet(this);
    for (PaymentCategory category : kAllCategories)
        m_worksheets->placeInto(category, m_categoryPanels[std::size_t(categoryIndex(category))]);
    m_worksheets->placeResultPages(this);
    connect(m_worksheets, &WorksheetSet::cashSettingsRequested, this, &TForm1::BtnAyarClick);

    m_splitter->addWidget(panel11);
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
}

void TForm1::FormCreate()
{
    loadSettings();
    m_worksheets->installIdleHandler();
    m_tabSet->setCurrentIndex(0);
    m_notebook->setCurrentIndex(0);
}

MainWindowSettings TForm1::currentSettings() const
{
    MainWindowSettings settings;
    settings.privateAmountCaption = m_worksheets->privateAmountCaption();
    settings.leftPaneWidth = leftPaneWidth();
    settings.attachments = m_worksheets->attachments();
    settings.colours = m_colours;
    return settings;
}

void TForm1::loadSettings()
{
    MainWindowSettings settings = currentSettings();
    settings.load(ProfileFile());
    m_worksheets->setPrivateAmountCaption(settings.privateAmountCaption);
    m_leftPaneWidth = settings.leftPaneWidth;
    m_worksheets->setAttachments(settings.attachments);
    // The values reach every control, also when the keys are absent.
    m_colours = MainWindowColours{};
    applyColours(settings.colours);
}

bool TForm1::saveSettings()
{
    ProfileFile file;
    const Result saved = currentSettings().save(file);
    if (saved.failed())
        MessageBoxes::showError(this, saved.message());
    return saved.succeeded();
}

int TForm1::leftPaneWidth() const
{
    // Until the window is laid out the splitter has no sizes of its own.
    return m_shown ? m_splitter->sizes().value(0, m_leftPaneWidth) : m_leftPaneWidth;
}

void TForm1::applyColours(const MainWindowColours &colours)
{
    const QColor field = WindowsColour::toQColor(colours.edits);
    const QColor text = WindowsColour::toQColor(colours.editsFont);
    QList<QWidget *> fields{m_edit33, m_comboBox1};
    for (PayeeFieldGroup *group : m_payeeFields) {
        for (QLineEdit *edit : group->edits())
            fields.append(edit);
    }
    for (QWidget *widget : fields) {
        QPalette palette = widget->palette();
        // A combo box that takes no typing paints its face in the button roles.
        const bool buttonFace = widget == m_comboBox1;
        if (field.isValid()) {
            palette.setColor(QPalette::Base, field);
            if (buttonFace)
                palette.setColor(QPalette::Button, field);
        }
        if (text.isValid()) {
            palette.setColor(QPalette::Text, text);
            if (buttonFace)
                palette.setColor(QPalette::ButtonText, text);
        }
        if (palette != widget->palette())
            widget->setPalette(palette);
    }
    if (field.isValid())
        m_tabSet->setUnselectedTabColour(field);
    for (TStripedDBGrid *grid : m_grids) {
        grid->setColorAlternative(WindowsColour::toQColor(colours.gridAlternative));
        grid->setColorSelect(WindowsColour::toQColor(colours.gridSelect));
        grid->setColorSelectText(WindowsColour::toQColor(colours.gridSelectText));
    }

    const QColor background = WindowsColour::toQColor(colours.background);
    if (background.isValid()) {
        QPalette palette = m_panel5->palette();
        palette.setColor(QPalette::Window, background);
        if (palette != m_panel5->palette())
            m_panel5->setPalette(palette);
    }
    m_colours = colours;
}

void TForm1::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_shown) {
        const int pane = m_leftPaneWidth;
        m_splitter->setSizes({pane, qMax(m_splitter->width() - pane - m_splitter->handleWidth(), 1)});
        m_shown = true;
        FormShow();
    }
}

void TForm1::FormShow()
{
    openListsSorted();
    setWindowTitle(ApplicationInfo::mainWindowCaption());
}

void TForm1::openDatabase()
{
    PayeeDatabase::OpenResult result = m_database.open();
    if (result.status == PayeeDatabase::OpenStatus::Missing) {
        // Never made silently: a user who had a database must not find an
        // empty one in its place.
        const bool create = MessageBoxes::askYesNo(
            this, QStringLiteral("Dikkat !"),
            result.message + QStringLiteral("\n\nYeni, boş bir veritabanı oluşturulsun mu?"),
            MessageBoxes::Icon::Warning);
        if (!create)
            return;
        result = m_database.create();
    }
    if (!result.isOpened())
        MessageBoxes::showError(this, result.message);
}

void TForm1::openListsSorted()
{
    openDatabase();
    if (!m_database.isOpen())
        return;
    for (PaymentCategory category : kAllCategories) {
        showFailure(payeeList(category)->openSorted());
    }
}

void TForm1::bindList(PaymentCategory category)
{
    const std::size_t k = std::size_t(categoryIndex(category));
    auto *list = new PayeeList(m_database, category, this);
    list->setObjectName(QStringLiteral("Query%1").arg(k + 1));
    auto *model = new PayeeListModel(list, list);
    m_lists[k] = list;
    m_models[k] = model;

    TStripedDBGrid *grid = m_grids[k];
    grid->setModel(model);
    grid->setDataSet(list);
    grid->setProperty("payeeCategory", categoryIndex(category));

    connect(list, &PayeeList::afterScroll, this, [this, category] { afterScroll(category); });
    connect(list, &PayeeList::afterScroll, grid, &TStripedDBGrid::syncCurrentRow);
    connect(list, &PayeeList::fieldsChanged, this, [this, category] { showPayeeFields(category); });
    connect(list, &PayeeList::rowsReset, this, [this, category] { showPayeeFields(category); });
    connect(list, &PayeeList::stateChanged, this, [this, category] {
        showPayeeFields(category);
        updateDataSetActions();
    });
    connect(list, &PayeeList::errorOccurred, this, [this](const QString &message) {
        MessageBoxes::showError(this, message);
    });

    PayeeFieldGroup *fields = m_payeeFields[k];
    for (int row = 0; row < kPayeeColumnCount; ++row) {
        QLineEdit *edit = fields->edit(row);
        edit->setMaxLength(PayeeTable::maxLength(PayeeColumn(row)));
        edit->setProperty("payeeCategory", categoryIndex(category));
        connect(edit, &QLineEdit::textEdited, this,
                [this, category, row](const QString &text) { payeeFieldEdited(category, row, text); });
    }
    showPayeeFields(category);
}

PayeeList *TForm1::payeeList(PaymentCategory category) const
{
    return m_lists[std::size_t(categoryIndex(category))];
}

PayeeList *TForm1::chosenList() const
{
    return isCategoryIndex(m_currentCategory) ? m_lists[std::size_t(m_currentCategory)] : nullptr;
}

void TForm1::showPayeeFields(PaymentCategory category)
{
    PayeeList *list = payeeList(category);
    PayeeFieldGroup *group = payeeFields(category);
    for (int row = 0; row < kPayeeColumnCount; ++row) {
        QLineEdit *edit = group->edit(row);
        const QString text = list->field(PayeeColumn(row));
        // Only real changes: rewriting the text under the caret would move it.
        if (edit->text() != text)
            edit->setText(text);
        edit->setReadOnly(!list->isOpen());
    }
}

void TForm1::payeeFieldEdited(PaymentCategory category, int row, const QString &text)
{
    const Result stored = payeeList(category)->setField(PayeeColumn(row), text);
    if (stored.failed()) {
        showPayeeFields(category);
        MessageBoxes::showError(this, stored.message());
    }
}

void TForm1::afterScroll(PaymentCategory category)
{
    if (categoryIndex(category) == m_currentCategory)
        m_statusPanels[0]->setText(payeeList(category)->recordStatusText());
}

void TForm1::Query1AfterScroll()
{
    afterScroll(PaymentCategory::Pharmacy);
}

void TForm1::Query2AfterScroll()
{
    afterScroll(PaymentCategory::Hospital);
}

void TForm1::Query3AfterScroll()
{
    afterScroll(PaymentCategory::Treatment);
}

void TForm1::Query4AfterScroll()
{
    afterScroll(PaymentCategory::Private);
}

namespace {

bool isMenu(const QWidget *widget)
{
    return qobject_cast<const QMenuBar *>(widget) || qobject_cast<const QMenu *>(widget);
}

} // namespace

void TForm1::focusMoved(QWidget *old, QWidget *now)
{
    if (isMenu(now) && !isMenu(old))
        m_focusBeforeMenu = old;
    updateDataSetActions();
}

PayeeList *TForm1::focusedList() const
{
    const QWidget *focus = QApplication::focusWidget();
    // Opening the menu from the keyboard takes the focus to the menu bar; the
    // data-set commands still act on the field the user came from.
    if (isMenu(focus))
        focus = m_focusBeforeMenu;
    if (!focus || focus->window() != this)
        return nullptr;
    const QVariant category = focus->property("payeeCategory");
    return category.isValid() ? m_lists[std::size_t(category.toInt())] : nullptr;
}

void TForm1::updateDataSetActions()
{
    PayeeList *list = focusedList();
    m_dataSetEdit1->setEnabled(list && list->isOpen() && list->canEdit());
    m_dataSetPost1->setEnabled(list && list->canPost());
}

void TForm1::DataSetEdit1Execute()
{
    PayeeList *list = focusedList();
    if (!list)
        return;
    showFailure(list->edit());
}

void TForm1::DataSetPost1Execute()
{
    PayeeList *list = focusedList();
    if (!list)
        return;
    showFailure(list->post());
}

QString TForm1::statusPanelText(int panel) const
{
    return m_statusPanels[std::size_t(panel)]->text();
}

PayeeFieldGroup *TForm1::payeeFields(PaymentCategory category) const
{
    return m_payeeFields[std::size_t(categoryIndex(category))];
}

QWidget *TForm1::categoryPanel(PaymentCategory category) const
{
    return m_categoryPanels[std::size_t(categoryIndex(category))];
}

TStripedDBGrid *TForm1::listGrid(PaymentCategory category) const
{
    return m_grids[std::size_t(categoryIndex(category))];
}

bool TForm1::event(QEvent *event)
{
    if (event->type() == QEvent::StatusTip) {
        HintAc(static_cast<QStatusTipEvent *>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void TForm1::HintAc(const QString &longHint)
{
    m_statusPanels[1]->setText(QLatin1Char(' ') + longHint);
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    // The menu's shortcuts take the key before a field that would use it
    // itself (Ctrl+Del in a line edit, say).
    if (event->type() == QEvent::ShortcutOverride && watched->isWidgetType()
        && static_cast<QWidget *>(watched)->window() == this) {
        auto *key = static_cast<QKeyEvent *>(event);
        const QKeySequence pressed(key->keyCombination());
        if (m_menuShortcuts.contains(pressed))
            return true;
    }
    // The hints of the program's other windows reach the hint line as well;
    // a hint that no control took arrives here at its window.
    if (event->type() == QEvent::StatusTip && watched != this && watched->isWidgetType()
        && static_cast<QWidget *>(watched)->isWindow())
        HintAc(static_cast<QStatusTipEvent *>(event)->tip());
    // A closing dialog takes the control under the mouse with it: the mouse
    // is now over this window, where a control with a hint announces itself.
    if (event->type() == QEvent::Hide && qobject_cast<QDialog *>(watched))
        HintAc(QString());
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        Kapat1Click();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void TForm1::Timer1Timer()
{
    m_statusPanels[2]->setText(TurkishText::clockText(QDateTime::currentDateTime()));
}

void TForm1::TabSet1Change(int index)
{
    m_notebook->setCurrentIndex(index);
    m_edit33->clear();
}

void TForm1::ComboBox1Change(int index)
{
    if (!isCategoryIndex(index))
        return;
    m_currentCategory = index;
    for (int k = 0; k < kCategoryCount; ++k) {
        m_grids[std::size_t(k)]->setVisible(k == index);
        m_categoryPanels[std::size_t(k)]->setVisible(k == index);
    }
    m_statusPanels[0]->setText(m_lists[std::size_t(index)]->recordStatusText());
    m_worksheets->clear(PaymentCategory(index));
    updateDataSetActions();
}

void TForm1::Edit33Change(const QString &text)
{
    PayeeList *list = chosenList();
    if (!list)
        return;
    showFailure(list->search(text));
}

void TForm1::ToolButton1Click()
{
    PayeeList *list = chosenList();
    if (!list)
        return;
    payeeFields(list->category())->edit(0)->setFocus();
    showFailure(list->insert());
}

void TForm1::ToolButton2Click()
{
    PayeeList *list = chosenList();
    if (!list)
        return;
    if (!MessageBoxes::askYesNo(this, QStringLiteral("Dikkat !"), list->deleteQuestion(),
                                MessageBoxes::Icon::Warning))
        return;
    showFailure(list->deleteCurrent());
}

void TForm1::Kapat1Click()
{
    close();
}

void TForm1::VeritabaniYedekle1Click()
{
    if (m_windows.backup)
        m_windows.backup->exec();
}

void TForm1::VeritabanBakmOnarm1Click()
{
    if (m_windows.repair)
        m_windows.repair->exec();
}

void TForm1::KurummzaBilgileri1Click()
{
    if (m_windows.institution)
        m_windows.institution->exec();
}

void TForm1::Kodlar1Click()
{
    if (m_windows.codes)
        m_windows.codes->showAllSheets();
}

void TForm1::BtnAyarClick()
{
    if (m_windows.codes)
        m_windows.codes->showPrivateSheetOnly();
}

void TForm1::Ayarlar1Click()
{
    if (!m_windows.preferences)
        return;
    m_windows.preferences->setSwatches(colours());
    m_windows.preferences->exec();
}

void TForm1::Yardm1Click()
{
    HelpViewer::showContents(this);
}

void TForm1::MnHakkindaClick()
{
    TAbout about(this);
    about.exec();
}

void TForm1::closeEvent(QCloseEvent *event)
{
    if (FormClose()) {
        event->accept();
        emit closed();
    } else {
        event->ignore();
    }
}

bool TForm1::settleUnsavedRecords()
{
    for (PayeeList *list : m_lists) {
        if (!list->hasUnsavedChanges())
            continue;
        const bool save = MessageBoxes::askYesNo(this, QStringLiteral("Dikkat !"),
                                                 QStringLiteral("Değişiklikleri kaydetmek istiyor musunuz?"),
                                                 MessageBoxes::Icon::None);
        if (!save) {
            list->cancel();
            continue;
        }
        if (const Result saved = list->post(); saved.failed()) {
            // The record stays as typed and the window stays open.
            MessageBoxes::showError(this, saved.message());
            return false;
        }
    }
    return true;
}

void TForm1::showFailure(const Result &result)
{
    if (result.failed())
        MessageBoxes::showError(this, result.message());
}

bool TForm1::FormClose()
{
    if (!settleUnsavedRecords())
        return false;
    saveSettings();
    return MessageBoxes::askYesNo(this, QStringLiteral(" Mirvasel Belgesi"),
                                  QStringLiteral("Programdan çıkmak istiyor musunuz?"),
                                  MessageBoxes::Icon::Question);
}
