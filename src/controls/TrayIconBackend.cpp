#include "controls/TrayIconBackend.h"

namespace {

class SystemTrayIconBackend final : public TrayIconBackend
{
public:
    SystemTrayIconBackend()
    {
        connect(&m_icon, &QSystemTrayIcon::activated, this, &TrayIconBackend::activated);
    }

    bool isAvailable() const override { return QSystemTrayIcon::isSystemTrayAvailable(); }

    void showIcon(const QIcon &icon, const QString &tip) override
    {
        m_icon.setIcon(icon);
        m_icon.setToolTip(tip);
        m_icon.show();
    }

    void setTip(const QString &tip) override { m_icon.setToolTip(tip); }

    void removeIcon() override { m_icon.hide(); }

private:
    QSystemTrayIcon m_icon;
};

} // namespace

std::unique_ptr<TrayIconBackend> TrayIconBackend::createSystem()
{
    return std::make_unique<SystemTrayIconBackend>();
}
