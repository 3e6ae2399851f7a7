#pragma once

#include "controls/LazyDialog.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QToolButton;

// The compact-and-repair wizard. It compacts "Data.dat" into "Yedek.dat",
// repairing it on the way when it is damaged, puts the result in place of
// the database, shows the file size before and after, and then restarts the
// program: every way out of it is a restart (ProgramRestart), so each
// process shows it at most once. While a windowless command runs in the
// program folder and does not end within a few seconds, "Başla" says so and
// the wizard stays as it was shown.
//
// The main window must have closed its database connection (with every
// statement of its lists) and hidden itself before it shows the wizard with
// exec(), and must never take them back.
class TFrmTamir : public LazyDialog
{
    Q_OBJECT

public:
    enum class State { Shown, Running, Finished };

    explicit TFrmTamir(QWidget *parent = nullptr);

    State state() const { return m_state; }

    void FormShow();
    void BitBtn1Click();
    void BitBtn2Click();
    void SpeedButton1Click();

    // Without a close button the wizard has no other way out than its
    // buttons: Esc and the window manager's close do nothing.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildWidgets() override;
    void run();
    void advance(int amount, int milliseconds);
    void finishWithSuccess(const QString &status, bool repaired, const QString &repairReport);
    void finishWithFailure(const QString &message);

    State m_state = State::Shown;
    QLabel *m_sizeBefore = nullptr;
    QLabel *m_sizeAfter = nullptr;
    QLabel *m_status = nullptr;
    QProgressBar *m_progress = nullptr;
    QPushButton *m_startButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
    QToolButton *m_helpButton = nullptr;
};
