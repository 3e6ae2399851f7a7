#include "desktop/ShellServices.h"

#include <QDesktopServices>
#include <QUrl>

namespace ShellServices {

namespace {
std::function<void(const QString &)> &handler()
{
    static std::function<void(const QString &)> installed;
    return installed;
}
} // namespace

void openWebAddress(const QString &address)
{
    if (handler()) {
        handler()(address);
        return;
    }
    QUrl url = QUrl::fromUserInput(address);
    QDesktopServices::openUrl(url);
}

void setOpenHandler(std::function<void(const QString &)> installed)
{
    handler() = std::move(installed);
}

} // namespace ShellServices
