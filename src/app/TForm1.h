#pragma once

#include "app/MainWindowColours.h"
#include "app/MainWindowSettings.h"
#include "base/PaymentCategory.h"
#include "registry/PayeeDatabase.h"

#include <QIcon>
#include <QKeySequence>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <array>

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QSplitter;
class QStackedWidget;
class TabSetBar;
class TStripedDBGrid;
class TTrayMinimizer;
class QTimer;
class QToolBar;
class QToolButton;
class PayeeFieldGroup;
class WorksheetSet;
class PayeeList;
class PayeeListModel;
class UpperCaseKeyFilter;
class WebLinkLabel;
class TForm4;
class TForm5;
class TFrmAyar;
class TFrmYedek;
class TFrmTamir;

// The main window: menu, tool bar and status bar, the kind selector with the
// payee lists in the left pane, the kind panels in the work area, and the
// close sequence.
class TForm1 : public QMainWindow
{
    Q_OBJECT

public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    struct SecondaryWindows
    {
        TForm4 *institution = nullptr;
        TForm5 *codes = nullptr;
        TFrmAyar *preferences = nullptr;
        TFrmYedek *backup = nullptr;
        TFrmTamir *repair = nullptr;
    };
    void setSecondaryWindows(const SecondaryWindows &windows);

    // The chosen kind: the selector's index, -1 before a choice.
    int currentCategory() const { return m_currentCategory; }
    QString statusPanelText(int panel) const;

    PayeeFieldGroup *payeeFields(PaymentCategory category) const;
    QWidget *categoryPanel(PaymentCategory category) const;
    TStripedDBGrid *listGrid(PaymentCategory category) const;
    PayeeList *payeeList(PaymentCategory category) const;
    PayeeDatabase &database() { return m_database; }
    WorksheetSet *worksheets() const { return m_worksheets; }
    // The "Düzenle" and "Kaydet" actions; they act on the list of the
    // control that has the keyboard focus.
    QAction *editAction() const { return m_dataSetEdit1; }
    QAction *postAction() const { return m_dataSetPost1; }

    // The six colours the user chooses, as the controls show them.
    MainWindowColours colours() const { return m_colours; }
    void applyColours(const MainWindowColours &colours);
    int leftPaneWidth() const;

public slots:
    void ToolButton1Click();
    void ToolButton2Click();
    void Kapat1Click();
    void VeritabaniYedekle1Click();
    void VeritabanBakmOnarm1Click();
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
    // The standard error box for a command that failed.
    void showFailure(const Result &result);
    void HintAc(const QString &longHint);
    void loadSettings();
    bool saveSettings();
    MainWindowSettings currentSettings() const;
    void openDatabase();
    void openListsSorted();
    void bindList(PaymentCategory category);
    void afterScroll(PaymentCategory category);
    void showPayeeFields(PaymentCategory category);
    void payeeFieldEdited(PaymentCategory category, int row, const QString &text);
    PayeeList *focusedList() const;
    void focusMoved(QWidget *old, QWidget *now);
    void updateDataSetActions();
    bool settleUnsavedRecords();
    PayeeList *chosenList() const;

    void buildMenu();
    void buildToolBar();
    void buildStatusBar();
    void buildLeftPane();
    void buildWorkArea();
    QToolButton *addToolButton(const QString &name, const QString &caption, const QString &hint,
                               const QIcon &picture);
    QAction *addMenuItem(class QMenu *menu, const QString &name, const QString &caption,
                         const QKeySequence &shortcut, const QString &hint);

    int m_currentCategory = kNoCategory;
    MainWindowColours m_colours;
    int m_leftPaneWidth = 185;
    WorksheetSet *m_worksheets = nullptr;
    bool m_shown = false;
    SecondaryWindows m_windows;

    QToolBar *m_toolBar = nullptr;
    std::array<QLabel *, 3> m_statusPanels{};
    QFrame *m_panel4 = nullptr;
    QSplitter *m_splitter = nullptr;
    TabSetBar *m_tabSet = nullptr;
    QStackedWidget *m_notebook = nullptr;
    QComboBox *m_comboBox1 = nullptr;
    QLineEdit *m_edit33 = nullptr;
    QFrame *m_panel5 = nullptr;
    std::array<TStripedDBGrid *, kCategoryCount> m_grids{};
    std::array<QFrame *, kCategoryCount> m_categoryPanels{};
    std::array<PayeeFieldGroup *, kCategoryCount> m_payeeFields{};
    WebLinkLabel *m_label43 = nullptr;
    QTimer *m_timer1 = nullptr;
    QPointer<QWidget> m_focusBeforeMenu;
    TTrayMinimizer *m_trayMinimizer1 = nullptr;
    UpperCaseKeyFilter *m_upperCase = nullptr;
    QList<QKeySequence> m_menuShortcuts;

    PayeeDatabase m_database;
    std::array<PayeeList *, kCategoryCount> m_lists{};
    std::array<PayeeListModel *, kCategoryCount> m_models{};
    QAction *m_dataSetEdit1 = nullptr;
    QAction *m_dataSetPost1 = nullptr;
};
