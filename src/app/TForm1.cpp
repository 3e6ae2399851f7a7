#include "app/TForm1.h"

#include "app/DataSetActions.h"
#include "app/ListPane.h"
#include "app/MainWindowCommands.h"
#include "app/PayeeCsvDialogs.h"
#include "app/PayeeFieldGroup.h"
#include "app/PayeeListBinding.h"
#include "app/PayeeListSentences.h"
#include "app/StatusLine.h"
#include "app/TAbout.h"
#include "app/TFrmAyar.h"
#include "app/WorkArea.h"
#include "base/ApplicationInfo.h"
#include "base/ProfileFile.h"
#include "base/ProgramFolder.h"
#include "base/WindowsColour.h"
#include "controls/TStripedDBGrid.h"
#include "controls/TTrayMinimizer.h"
#include "controls/TabSetBar.h"
#include "controls/UpperCaseKeyFilter.h"
#include "desktop/ApplicationHint.h"
#include "desktop/HelpViewer.h"
#include "desktop/MessageBoxes.h"
#include "desktop/ToolIcons.h"
#include "desktop/FileChooser.h"
#include "maintenance/OldDatabaseDialogs.h"
#include "maintenance/OldProgramDialogs.h"
#include "maintenance/ProgramRestart.h"
#include "olddata/OldDatabaseReading.h"
#include "maintenance/TFrmTamir.h"
#include "maintenance/TFrmYedek.h"
#include "orders/TFrmBelgeler.h"
#include "printing/PaymentOrderPrinting.h"
#include "reference/TForm4.h"
#include "reference/TForm5.h"
#include "registry/PayeeList.h"
#include "worksheets/WorksheetSet.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>

TForm1::TForm1(QWidget *parent, DatabaseOpening opening)
    : QMainWindow(parent)
    , m_upperCase(new UpperCaseKeyFilter(this))
{
    if (opening == DatabaseOpening::WhileBuilding) {
        const QString filePath = PayeeDatabase::defaultFilePath();
        m_opening = std::async(std::launch::async, [this, filePath] { return m_database.open(filePath); });
    }
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(ApplicationInfo::mainWindowCaption());
    setWindowIcon(ToolIcons::applicationIcon());
    setMinimumSize(799, 550);
    resize(799, 550);

    m_dataSetActions = new DataSetActions(this, [this](const QWidget *control) -> PayeeList * {
        for (PayeeListBinding *binding : m_bindings) {
            if (binding && binding->serves(control))
                return binding->list();
        }
        return nullptr;
    });
    connect(editAction(), &QAction::triggered, this, &TForm1::DataSetEdit1Execute);
    connect(postAction(), &QAction::triggered, this, &TForm1::DataSetPost1Execute);
    m_menuShortcuts = MainWindowCommands::buildMenu(*this, editAction(), postAction());
    m_webLink = MainWindowCommands::buildToolBar(*this, editAction(), postAction());
    m_statusLine = new StatusLine(statusBar());

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

    m_listPane = new ListPane(m_upperCase, m_splitter);
    connect(m_listPane->tabs(), &QTabBar::currentChanged, this, &TForm1::TabSet1Change);
    connect(m_listPane->selector(), &QComboBox::activated, this, &TForm1::ComboBox1Change);
    connect(m_listPane->searchBox(), &QLineEdit::textChanged, this, &TForm1::Edit33Change);
    m_workArea = new WorkArea(m_upperCase, m_splitter);
    m_splitter->addWidget(m_listPane);
    m_splitter->addWidget(m_workArea);
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);

    m_worksheets = new WorksheetSet(this);
    m_workArea->placeWorksheets(*m_worksheets);
    m_worksheets->placeResultPages(this);
    connect(m_worksheets, &WorksheetSet::cashSettingsRequested, this, &TForm1::BtnAyarClick);

    m_clock = new QTimer(this);
    m_clock->setObjectName(QStringLiteral("Timer1"));
    m_clock->setInterval(1000);
    connect(m_clock, &QTimer::timeout, this, &TForm1::Timer1Timer);
    m_clock->start();

    m_trayMinimizer = new TTrayMinimizer(this);
    m_trayMinimizer->setObjectName(QStringLiteral("TrayMinimizer1"));

    bindLists();
    qApp->installEventFilter(this);
    FormCreate();
}

TForm1::~TForm1()
{
    if (m_opening.valid())
        m_opening.wait();
    // Children die after this body; nothing of theirs may reach the window.
    qApp->removeEventFilter(this);
    delete m_dataSetActions;
    m_dataSetActions = nullptr;
    for (PayeeListBinding *&binding : m_bindings) {
        delete binding;
        binding = nullptr;
    }
}

void TForm1::bindLists()
{
    using Handler = void (TForm1::*)();
    constexpr std::array<Handler, kCategoryCount> afterScroll = {
        &TForm1::Query1AfterScroll, &TForm1::Query2AfterScroll, &TForm1::Query3AfterScroll,
        &TForm1::Query4AfterScroll};
    for (PaymentCategory category : kAllCategories) {
        const std::size_t index = std::size_t(categoryIndex(category));
        auto *binding = new PayeeListBinding(m_database, category, m_listPane->grid(category),
                                             m_workArea->payeeFields(category), this);
        connect(binding, &PayeeListBinding::recordMoved, this, afterScroll[index]);
        connect(binding, &PayeeListBinding::editStateChanged, m_dataSetActions, &DataSetActions::update);
        connect(binding, &PayeeListBinding::failed, this,
                [this](const QString &message) { MessageBoxes::showError(this, message); });
        m_bindings[index] = binding;
    }
    m_dataSetActions->update();
}

void TForm1::setSecondaryWindows(const SecondaryWindows &windows)
{
    m_windows = windows;
    applyListColours();
    if (TFrmAyar *preferences = windows.preferences) {
        m_worksheets->setPreferences(preferences);
        connect(preferences, &TFrmAyar::coloursConfirmed, this, &TForm1::applyColours);
        connect(preferences, &TFrmAyar::worksheetsClearRequested, m_worksheets, &WorksheetSet::clearAll);
    }
    if (TForm4 *institution = windows.institution) {
        m_worksheets->setAutomaticYearAndDate(
            [institution](const QDate &today) { institution->applyAutomaticYearAndDate(today); });
    }
    if (windows.preferences && windows.institution && windows.codes && !m_printing) {
        TForm4 *institution = windows.institution;
        TForm5 *codes = windows.codes;
        PaymentOrderPrinting::Sources sources{
            .institution = [institution] { return institution->values(); },
            .payment = [this, codes](PaymentCategory category) -> Result<DocumentFilling::PaymentInputs> {
                const Result<PayeeFields> payee = payeeList(category)->readCurrent();
                if (payee.failed())
                    return payee.error();
                return DocumentFilling::PaymentInputs{m_worksheets->entry(category), *payee, codes->sheet(category)};
            },
        };
        m_printing = new PaymentOrderPrinting(*windows.preferences, m_orderRegister, std::move(sources), this);
        m_printing->setParent(this);
        // YAZDIR reaches the printing through the worksheets' printRequested,
        // and the worksheets follow its outcome.
        connect(m_worksheets, &WorksheetSet::printRequested, m_printing, &PaymentOrderPrinting::printRequested);
        connect(m_printing, &PaymentOrderPrinting::printEnded, m_worksheets,
                [this](PaymentCategory category, const IssueOutcome &outcome) {
                    m_worksheets->printEnded(category, outcome.mayTryAgain());
                });
    }
}

// --- Creation, first show and settings --------------------------------------

void TForm1::FormCreate()
{
    loadSettings();
    m_worksheets->installIdleHandler();
    m_listPane->tabs()->setCurrentIndex(0);
    m_listPane->notebook()->setCurrentIndex(0);
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
    // The hint line follows the application's hint from now on; until its
    // first change it keeps its initial text.
    m_applicationHint = new ApplicationHint(this);
    connect(m_applicationHint, &ApplicationHint::changed, this, &TForm1::HintAc);
    openListsSorted();
    setWindowTitle(ApplicationInfo::mainWindowCaption());
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
    const Result<> saved = currentSettings().save(file);
    showFailure(saved);
    return saved.succeeded();
}

int TForm1::leftPaneWidth() const
{
    // Until the window is laid out the splitter has no sizes of its own.
    return m_shown ? m_splitter->sizes().value(0, m_leftPaneWidth) : m_leftPaneWidth;
}

void TForm1::applyColours(const MainWindowColours &colours)
{
    m_listPane->applyColours(colours);
    m_workArea->applyColours(colours);
    m_colours = colours;
    applyListColours();
}

void TForm1::applyListColours()
{
    // The orders window's grid marks its rows as the payee lists do.
    if (m_windows.orders)
        m_windows.orders->setListColours(WindowsColour::toQColor(m_colours.gridAlternative),
                                         WindowsColour::toQColor(m_colours.gridSelect),
                                         WindowsColour::toQColor(m_colours.gridSelectText));
}

// --- The database and the lists ----------------------------------------------

void TForm1::openDatabase()
{
    PayeeDatabase::OpenResult result = m_opening.valid() ? m_opening.get() : m_database.open();
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
    if (!result.isOpened() && OldDatabaseReading::looksLikeJet4(PayeeDatabase::defaultFilePath()))
        // "Hayır" to the conversion at start: the lists stay closed, and the
        // user learns how to get them.
        MessageBoxes::showError(this, result.message
                                          + QStringLiteral("\n\nBu dosya eski programın veritabanı. Program yeniden "
                                                           "açıldığında dönüştürülmesi için yine sorulur."));
    else if (!result.isOpened())
        MessageBoxes::showError(this, result.message);
    else if (!result.notice.isEmpty())
        MessageBoxes::warning(this, result.notice);
}

void TForm1::openListsSorted()
{
    openDatabase();
    if (!m_database.isOpen())
        return;
    for (PaymentCategory category : kAllCategories)
        showFailure(payeeList(category)->openSorted());
}

PayeeListBinding *TForm1::binding(PaymentCategory category) const
{
    return m_bindings[std::size_t(categoryIndex(category))];
}

PayeeList *TForm1::payeeList(PaymentCategory category) const
{
    return binding(category)->list();
}

PayeeList *TForm1::chosenList() const
{
    return isCategoryIndex(m_currentCategory) ? payeeList(PaymentCategory(m_currentCategory)) : nullptr;
}

void TForm1::showRecordStatus(PaymentCategory category)
{
    // A list that is not the chosen category's never writes the panel.
    if (categoryIndex(category) == m_currentCategory)
        m_statusLine->showRecordStatus(PayeeListSentences::recordStatus(*payeeList(category)));
}

void TForm1::Query1AfterScroll()
{
    showRecordStatus(PaymentCategory::Pharmacy);
}

void TForm1::Query2AfterScroll()
{
    showRecordStatus(PaymentCategory::Hospital);
}

void TForm1::Query3AfterScroll()
{
    showRecordStatus(PaymentCategory::Treatment);
}

void TForm1::Query4AfterScroll()
{
    showRecordStatus(PaymentCategory::Private);
}

QAction *TForm1::editAction() const
{
    return m_dataSetActions->editAction();
}

QAction *TForm1::postAction() const
{
    return m_dataSetActions->postAction();
}

void TForm1::DataSetEdit1Execute()
{
    showFailure(m_dataSetActions->edit());
}

void TForm1::DataSetPost1Execute()
{
    showFailure(m_dataSetActions->post());
}

QString TForm1::statusPanelText(int panel) const
{
    return m_statusLine->text(StatusLine::Panel(panel));
}

PayeeFieldGroup *TForm1::payeeFields(PaymentCategory category) const
{
    return m_workArea->payeeFields(category);
}

QWidget *TForm1::categoryPanel(PaymentCategory category) const
{
    return m_workArea->categoryPanel(category);
}

TStripedDBGrid *TForm1::listGrid(PaymentCategory category) const
{
    return m_listPane->grid(category);
}

// --- Hints, keys and the clock -----------------------------------------------

bool TForm1::event(QEvent *event)
{
    // The hint line follows the application's hint (HintAc); the status
    // bar shows no status tips of its own.
    if (event->type() == QEvent::StatusTip)
        return true;
    return QMainWindow::event(event);
}

void TForm1::HintAc(const QString &longHint)
{
    m_statusLine->showHint(longHint);
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
    m_statusLine->showClock(QDateTime::currentDateTime());
}

// --- The left pane -----------------------------------------------------------

void TForm1::TabSet1Change(int index)
{
    m_listPane->notebook()->setCurrentIndex(index);
    m_listPane->searchBox()->clear();
}

void TForm1::ComboBox1Change(int index)
{
    if (!isCategoryIndex(index))
        return;
    const auto category = PaymentCategory(index);
    m_currentCategory = index;
    binding(category)->attachGrid();
    m_listPane->showGridOf(category);
    m_workArea->showPanelOf(category);
    m_statusLine->showRecordStatus(PayeeListSentences::recordStatus(*payeeList(category)));
    m_worksheets->clear(category);
    m_dataSetActions->update();
}

void TForm1::Edit33Change(const QString &text)
{
    if (PayeeList *list = chosenList())
        showFailure(list->search(text));
}

// --- Commands ----------------------------------------------------------------

void TForm1::ToolButton1Click()
{
    PayeeList *list = chosenList();
    if (!list)
        return;
    payeeFields(list->category())->edit(PayeeColumn::Name)->setFocus();
    showFailure(list->insert());
}

void TForm1::ToolButton2Click()
{
    PayeeList *list = chosenList();
    if (!list)
        return;
    if (!MessageBoxes::askYesNo(this, QStringLiteral("Dikkat !"), PayeeListSentences::deleteQuestion(*list),
                                MessageBoxes::Icon::Warning))
        return;
    showFailure(list->deleteCurrent());
}

void TForm1::Kapat1Click()
{
    close();
}

void TForm1::Belgeler1Click()
{
    if (m_windows.orders)
        m_windows.orders->exec();
}

void TForm1::VeritabaniYedekle1Click()
{
    if (m_windows.backup)
        m_windows.backup->exec();
}

void TForm1::VeritabanBakmOnarm1Click()
{
    if (!m_windows.repair)
        return;
    // The wizard ends the program by starting it again, past the close
    // sequence.
    if (!releaseForRestart())
        return;
    // The wizard works on the file alone, and the window does not come back.
    hide();
    m_windows.repair->exec();
}

bool TForm1::releaseForRestart()
{
    // What the close sequence would save is saved now. A record that cannot
    // be saved keeps the window open with it, as the close does.
    if (!settleUnsavedRecords())
        return false;
    saveSettings();
    // The lists and the connection are let go for good.
    for (PaymentCategory category : kAllCategories)
        (void)payeeList(category)->close();
    if (m_windows.orders)
        m_windows.orders->list()->close();
    m_database.close();
    return true;
}

void TForm1::EskiProgramdanAktar1Click()
{
    const QString oldFolder = OldProgramDialogs::chooseFolder(this);
    const QString folder = ProgramFolder::path();
    if (oldFolder.isEmpty() || !OldProgramDialogs::confirm(this, oldFolder, folder))
        return;
    // The settings saved first are kept beside the ones brought; the program
    // then starts again on the files brought, without saving over them.
    if (!releaseForRestart())
        return;
    OldProgramDialogs::report(this, OldProgramTransfer::bring(oldFolder, folder));
    ProgramRestart::restart(this);
}

PayeeDatabase *TForm1::registerForTransfer()
{
    if (!m_database.isOpen()) {
        MessageBoxes::warning(this, QStringLiteral("Kişi veritabanı açık değil: aktarma yapılamaz. Program klasöründeki "
                                                   "Data.dat açılabildiğinde yeniden deneyin."));
        return nullptr;
    }
    if (!settleUnsavedRecords())
        return nullptr;
    return &m_database;
}

void TForm1::reopenLists()
{
    for (PaymentCategory category : kAllCategories)
        showFailure(payeeList(category)->openSorted());
}

void TForm1::EskiVeritabanindanAktar1Click()
{
    PayeeDatabase *database = registerForTransfer();
    if (!database)
        return;
    const QString file = FileChooser::ask({QStringLiteral("Eski programın veritabanını seç"),
                                           QStringLiteral("Eski program veritabanları (*.dat *.mdb);;Tüm dosyalar (*)"),
                                           QString(), false, QString()},
                                          this);
    if (file.isEmpty())
        return;
    if (const std::optional<PayeeImport::Counts> counts = OldDatabaseDialogs::importFile(this, *database, file);
        counts && counts->totalAdded() > 0)
        reopenLists();
}

void TForm1::DisaAktar1Click()
{
    if (!isCategoryIndex(m_currentCategory)) {
        MessageBoxes::warning(this, QStringLiteral("Önce aktarılacak listenin türünü seçin."));
        return;
    }
    if (PayeeDatabase *database = registerForTransfer())
        PayeeCsvDialogs::exportList(this, *database, PaymentCategory(m_currentCategory));
}

void TForm1::IceAktar1Click()
{
    if (!isCategoryIndex(m_currentCategory)) {
        MessageBoxes::warning(this, QStringLiteral("Önce kişilerin aktarılacağı listenin türünü seçin."));
        return;
    }
    if (PayeeDatabase *database = registerForTransfer();
        database && PayeeCsvDialogs::importList(this, *database, PaymentCategory(m_currentCategory)))
        reopenLists();
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

void TForm1::showFailure(const Result<> &result)
{
    if (result.failed())
        MessageBoxes::showError(this, result.message());
}

// --- The close sequence ------------------------------------------------------

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
    for (PaymentCategory category : kAllCategories) {
        PayeeList *list = payeeList(category);
        if (!list->hasUnsavedChanges())
            continue;
        const bool save = MessageBoxes::askYesNo(this, QStringLiteral("Dikkat !"),
                                                 QStringLiteral("Değişiklikleri kaydetmek istiyor musunuz?"),
                                                 MessageBoxes::Icon::None);
        if (!save) {
            list->cancel();
            continue;
        }
        if (const Result<> saved = list->post(); saved.failed()) {
            // The record stays as typed and the window stays open.
            showFailure(saved);
            return false;
        }
    }
    return true;
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
