#include "commands/CommandName.h"

#include "base/ApplicationInfo.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace CommandName {

QString of(const QString &startedAs)
{
    const QString name = QFileInfo(startedAs).fileName();
    return name.isEmpty() ? ApplicationInfo::programName() : name;
}

QString started()
{
    if (!QCoreApplication::instance())
        return ApplicationInfo::programName();
    return of(QCoreApplication::arguments().value(0));
}

} // namespace CommandName
