#pragma once

#include <QString>

#include <memory>

class TForm1;
class TForm4;
class TForm5;
class TFrmAyar;
class TFrmBelgeler;
class TFrmYedek;
class TFrmTamir;

// The windows of a run, created once in this order and kept until the
// program ends: each reads its settings while it is created, so the main
// window's are read first. The orders window, last, reads the main
// window's database, which the main window opens while they are built.
class ProgramWindows
{
public:
    ProgramWindows();
    ~ProgramWindows();
    ProgramWindows(const ProgramWindows &) = delete;
    ProgramWindows &operator=(const ProgramWindows &) = delete;

    TForm1 *mainWindow() const { return m_mainWindow.get(); }
    TForm4 *institution() const { return m_institution; }
    TForm5 *codes() const { return m_codes; }
    TFrmAyar *preferences() const { return m_preferences; }
    TFrmYedek *backup() const { return m_backup; }
    TFrmTamir *repair() const { return m_repair; }
    TFrmBelgeler *orders() const { return m_orders; }

    // The start of a run: the main window maximized, and what the user must
    // be told of the start (the clean-up's report), when there is something,
    // in a box over it.
    void show(const QString &startupNotice);

private:
    std::unique_ptr<TForm1> m_mainWindow;
    // Owned by the main window: dialogs centred on it and closed with it.
    TForm4 *m_institution;
    TForm5 *m_codes;
    TFrmAyar *m_preferences;
    TFrmYedek *m_backup;
    TFrmTamir *m_repair;
    TFrmBelgeler *m_orders;
};
