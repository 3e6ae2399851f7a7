#include "desktop/ChooserFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <array>

namespace ChooserFolder {

namespace {

// The folder of the last file chosen, by kind, for this run.
QString &lastFolder(Kind kind)
{
    static std::array<QString, 2> folders;
    return folders[std::size_t(kind)];
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

void forgetForTesting()
{
    lastFolder(Kind::Csv).clear();
    lastFolder(Kind::Pdf).clear();
}

} // namespace ChooserFolder
