#include "desktop/ChooserFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace ChooserFolder {

namespace {

// The folder of the last file chosen, by kind, for this run.
Memory &memory()
{
    static Memory folders;
    return folders;
}

QString &lastFolder(Kind kind)
{
    return memory()[std::size_t(kind)];
}

QString documentsOrHome()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath();
}

} // namespace

QString startFolder(Kind kind)
{
    const QString &last = lastFolder(kind);
    if (!last.isEmpty() && QFileInfo(last).isDir())
        return last;
    return documentsOrHome();
}

QString suggestedPath(Kind kind, const QString &fileName)
{
    return QDir(startFolder(kind)).filePath(fileName);
}

void remember(Kind kind, const QString &chosenFilePath)
{
    if (chosenFilePath.isEmpty())
        return;
    lastFolder(kind) = QFileInfo(chosenFilePath).absolutePath();
}

ScopedOverride<Memory> overrideMemory()
{
    return {memory(), Memory{}};
}

} // namespace ChooserFolder
