#include "desktop/ShellServices.h"

#include <QDesktopServices>
#include <QUrl>

namespace ShellServices {

namespace {
OpenHandler &handler()
{
    static OpenHandler installed;
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

ScopedOverride<OpenHandler> overrideOpenHandler(OpenHandler replacement)
{
    return {handler(), std::move(replacement)};
}

} // namespace ShellServices
