#include "app/ProgramWindows.h"

#include "app/TForm1.h"
#include "app/TFrmAyar.h"
#include "base/ApplicationInfo.h"
#include "desktop/MessageBoxes.h"
#include "desktop/WhenOnScreen.h"
#include "maintenance/TFrmTamir.h"
#include "maintenance/TFrmYedek.h"
#include "orders/TFrmBelgeler.h"
#include "reference/TForm4.h"
#include "reference/TForm5.h"

ProgramWindows::ProgramWindows()
    : m_mainWindow(std::make_unique<TForm1>(nullptr, TForm1::DatabaseOpening::WhileBuilding))
    , m_institution(new TForm4(m_mainWindow.get()))
    , m_codes(new TForm5(m_mainWindow.get()))
    , m_preferences(new TFrmAyar(m_mainWindow.get()))
    , m_backup(new TFrmYedek(m_mainWindow.get()))
    , m_repair(new TFrmTamir(m_mainWindow.get()))
    , m_orders(new TFrmBelgeler(m_mainWindow->database(), m_mainWindow.get()))
{
    m_mainWindow->setSecondaryWindows({m_institution, m_codes, m_preferences, m_backup, m_repair, m_orders});
}

ProgramWindows::~ProgramWindows() = default;

void ProgramWindows::show(const QString &startupNotice)
{
    m_mainWindow->showMaximized();
    if (startupNotice.isEmpty())
        return;
    // Over the window where it ends up, not where it stood before the
    // window system maximized it.
    TForm1 *window = m_mainWindow.get();
    WhenOnScreen::call(window, [window, startupNotice] {
        MessageBoxes::information(window, ApplicationInfo::title(), startupNotice);
    });
}
