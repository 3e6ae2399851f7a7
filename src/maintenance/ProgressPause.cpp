#include "maintenance/ProgressPause.h"

#include <QEventLoop>
#include <QTimer>

namespace ProgressPause {

namespace {

Handler &installed()
{
    static Handler handler;
    return handler;
}

} // namespace

void pause(int milliseconds)
{
    if (installed()) {
        installed()(milliseconds);
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

ScopedOverride<Handler> overrideHandler(Handler handler)
{
    return {installed(), std::move(handler)};
}

} // namespace ProgressPause
