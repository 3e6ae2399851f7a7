#pragma once

#include "app/MainWindowColours.h"
#include "app/MainWindowSettings.h"
#include "base/PaymentCategory.h"
#include "base/Result.h"
#include "registry/OrderRegister.h"
#include "registry/PayeeDatabase.h"

#include <QKeySequence>
#include <QList>
#include <QMainWindow>

#include <array>
#include <future>

class ApplicationHint;
class DataSetActions;
class ListPane;
class PayeeFieldGroup;
class PayeeList;
class PayeeListBinding;
class PaymentOrderPrinting;
class QAction;
class QSplitter;
class QTimer;
class StatusLine;
class TForm4;
class TForm5;
class TFrmAyar;
class TFrmBelgeler;
class TFrmTamir;
class TFrmYedek;
class TStripedDBGrid;
class TTrayMinimizer;
class UpperCaseKeyFilter;
class WebLinkLabel;
class WorkArea;
class WorksheetSet;

// The main window: menu, tool bar and status bar, the category selector with
// the payee lists in the left pane, the category panels with their payee
// fields and worksheets in the work area, and the close sequence. It builds
// and wires its parts and runs the named handlers; the parts do the work:
// MainWindowCommands (menu and tool bar), StatusLine, ListPane, WorkArea,
// PayeeListBinding (a list with its grid and fields), DataSetActions
// ("Düzenle" and "Kaydet"), WorksheetSet (the worksheets).
class TForm1 : public QMainWindow
{
    Q_OBJECT

public:
    // When the database file is opened. WhileBuilding opens it on another
    // thread from the start of the constructor, so that its key derivation,
    // most of what a start costs, runs beside the building of the windows;
    // the first show takes its outcome as it would take its own open's.
    // Nothing may use the database before the first show.
    enum class DatabaseOpening { WhenShown, WhileBuilding };

    explicit TForm1(QWidget *parent = nullptr, DatabaseOpening opening = DatabaseOpening::WhenShown);
    ~TForm1() override;

    struct SecondaryWindows
    {
        TForm4 *institution = nullptr;
        TForm5 *codes = nullptr;
        TFrmAyar *preferences = nullptr;
        TFrmYedek *backup = nullptr;
        TFrmTamir *repair = nullptr;
        TFrmBelgeler *orders = nullptr;
    };
    void setSecondaryWindows(const SecondaryWindows &windows);

    // The chosen category: the selector's index, -1 before a choice.
    int currentCategory() const { return m_currentCategory; }
    QString statusPanelText(int panel) const;

    PayeeFieldGroup *payeeFields(PaymentCategory category) const;
    QWidget *categoryPanel(PaymentCategory category) const;
    TStripedDBGrid *listGrid(PaymentCategory category) const;
    PayeeList *payeeList(PaymentCategory category) const;
    PayeeDatabase &database() { return m_database; }
    // The register of issued orders in the database: YAZDIR records into it.
    OrderRegister &orderRegister() { return m_orderRegister; }
    WorksheetSet *worksheets() const { return m_worksheets; }
    // YAZDIR and the form Raporlar: BtnSabitClick and BtnPrintClick to
    // BtnPrint4Click. Made with the secondary windows it reads.
    PaymentOrderPrinting *printing() const { return m_printing; }
    // The "Düzenle" and "Kaydet" actions; they act on the list of the
    // control that has the keyboard focus.
    QAction *editAction() const;
    QAction *postAction() const;

    // The six colours the user chooses, as the controls show them.
    MainWindowColours colours() const { return m_colours; }
    void applyColours(const MainWindowColours &colours);
    int leftPaneWidth() const;

public slots:
    void ToolButton1Click();
    void ToolButton2Click();
    void Kapat1Click();
    void Belgeler1Click();
    void VeritabaniYedekle1Click();
    void VeritabanBakmOnarm1Click();
    void EskiVeritabanindanAktar1Click();
    void EskiProgramdanAktar1Click();
    void DisaAktar1Click();
    void IceAktar1Click();
    void KurummzaBilgileri1Click();
    void Kodlar1Click();
    void Ayarlar1Click();
    void Yardm1Click();
    void MnHakkindaClick();
    void BtnAyarClick();
    void TabSet1Change(int index);
    void ComboBox1Change(int index);
    void Edit33Change(const QString &text);
    void Timer1Timer();
    void DataSetEdit1Execute();
    void DataSetPost1Execute();
    // AfterScroll of the four lists: the chosen category's record status.
    void Query1AfterScroll();
    void Query2AfterScroll();
    void Query3AfterScroll();
    void Query4AfterScroll();

signals:
    // The close sequence ended with the user's yes: the program ends.
    void closed();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void FormCreate();
    void FormShow();
    bool FormClose();
    void HintAc(const QString &longHint);

    void bindLists();
    void applyListColours();
    void loadSettings();
    bool saveSettings();
    MainWindowSettings currentSettings() const;
    void openDatabase();
    void openListsSorted();
    // After an import: every list again, sorted, with what came in.
    void reopenLists();
    // The open register for an import or an export, after the records being
    // edited are settled; null (a message said why) when there is none.
    PayeeDatabase *registerForTransfer();
    void showRecordStatus(PaymentCategory category);
    bool settleUnsavedRecords();
    // Saves what the close sequence saves and lets go of the database, before
    // the program ends by starting again; false when a record stays unsaved.
    bool releaseForRestart();
    PayeeListBinding *binding(PaymentCategory category) const;
    PayeeList *chosenList() const;
    // The standard error box for a command that failed.
    void showFailure(const Result<> &result);

    int m_currentCategory = kNoCategory;
    MainWindowColours m_colours;
    int m_leftPaneWidth = 185;
    bool m_shown = false;
    SecondaryWindows m_windows;

    PayeeDatabase m_database;
    // The open started by the constructor (WhileBuilding); after the
    // database, so that it ends before the database goes.
    std::future<PayeeDatabase::OpenResult> m_opening;
    OrderRegister m_orderRegister{m_database};
    UpperCaseKeyFilter *m_upperCase = nullptr;
    DataSetActions *m_dataSetActions = nullptr;
    QList<QKeySequence> m_menuShortcuts;
    WebLinkLabel *m_webLink = nullptr; // Label43
    StatusLine *m_statusLine = nullptr;
    ApplicationHint *m_applicationHint = nullptr;
    QSplitter *m_splitter = nullptr; // Splitter1
    ListPane *m_listPane = nullptr;
    WorkArea *m_workArea = nullptr;
    WorksheetSet *m_worksheets = nullptr;
    PaymentOrderPrinting *m_printing = nullptr;
    std::array<PayeeListBinding *, kCategoryCount> m_bindings{};
    QTimer *m_clock = nullptr; // Timer1
    TTrayMinimizer *m_trayMinimizer = nullptr; // TrayMinimizer1
};
