#include "base/FileProblem.h"

#include <QDir>
#include <QFileInfo>

namespace FileProblem {

QString reading(const QString &filePath, QFileDevice::FileError error)
{
    const QFileInfo file(filePath);
    if (!file.exists())
        return QStringLiteral("dosya bulunamadı");
    if (file.isDir())
        return QStringLiteral("bu bir klasör");
    if (error == QFileDevice::PermissionsError || !file.isReadable())
        return QStringLiteral("okuma izni yok");
    return QStringLiteral("dosya okunamadı");
}

QString writing(const QString &filePath, QFileDevice::FileError error)
{
    const QFileInfo file(filePath);
    const QFileInfo folder(file.absolutePath());
    if (!folder.isDir())
        return QStringLiteral("klasör bulunamadı");
    if (file.isDir())
        return QStringLiteral("aynı adda bir klasör var");
    if (error == QFileDevice::PermissionsError || !folder.isWritable() || (file.exists() && !file.isWritable()))
        return QStringLiteral("yazma izni yok");
    if (error == QFileDevice::ResourceError)
        return QStringLiteral("diskte yer kalmamış olabilir");
    return QStringLiteral("dosya yazılamadı");
}

QString notWritten(const QString &filePath, QFileDevice::FileError error)
{
    return QStringLiteral("'%1' dosyası yazılamadı: %2.")
        .arg(QDir::toNativeSeparators(QFileInfo(filePath).absoluteFilePath()), writing(filePath, error));
}

QString notRead(const QString &filePath, QFileDevice::FileError error)
{
    return QStringLiteral("'%1' dosyası okunamadı: %2.")
        .arg(QDir::toNativeSeparators(QFileInfo(filePath).absoluteFilePath()), reading(filePath, error));
}

} // namespace FileProblem
