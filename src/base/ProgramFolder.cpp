#include "base/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace {
QString &overridden()
{
    static QString folder;
    return folder;
}
} // namespace

namespace ProgramFolder {

QString path()
{
    if (!overridden().isEmpty())
        return overridden();
    return QCoreApplication::applicationDirPath();
}

QString filePath(const QString &fileName)
{
    return QDir(path()).filePath(fileName);
}

ScopedOverride<QString> override(const QString &folder)
{
    return {overridden(), folder};
}

} // namespace ProgramFolder
