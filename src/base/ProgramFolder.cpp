#include "base/ProgramFolder.h"

#include "base/ApplicationInfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <optional>

namespace {

QString &overridden()
{
    static QString folder;
    return folder;
}

std::optional<ProgramFolder::Choice> &decided()
{
    static std::optional<ProgramFolder::Choice> choice;
    return choice;
}

bool isWithin(const QString &folder, const QString &root)
{
    if (root.isEmpty())
        return false;
    const QString clean = QDir::cleanPath(QDir::fromNativeSeparators(root));
    const Qt::CaseSensitivity sensitivity = QDir::separator() == u'\\' ? Qt::CaseInsensitive : Qt::CaseSensitive;
    return folder.compare(clean, sensitivity) == 0 || folder.startsWith(clean + u'/', sensitivity);
}

} // namespace

namespace ProgramFolder {

bool isSystemFolder(const QString &folder)
{
    const QString clean = QDir::cleanPath(QDir::fromNativeSeparators(folder));
#ifdef Q_OS_WIN
    for (const char *variable : {"ProgramFiles", "ProgramFiles(x86)", "ProgramW6432", "SystemRoot"}) {
        if (isWithin(clean, qEnvironmentVariable(variable)))
            return true;
    }
    return false;
#else
    // Where packages and the system put programs; /usr/local and /opt are
    // shared by every user of the computer as well.
    for (const char *root : {"/usr", "/bin", "/sbin", "/lib", "/lib64", "/opt", "/etc", "/snap", "/nix/store", "/app"}) {
        if (isWithin(clean, QString::fromLatin1(root)))
            return true;
    }
    return false;
#endif
}

Choice choose(const QString &executableFolder, const QString &userDataFolder)
{
    const QDir executable(executableFolder);
    if (executable.exists(ApplicationInfo::settingsFileName()) || executable.exists(ApplicationInfo::databaseFileName()))
        return {executableFolder, Kind::ProgramFolder};
    const QFileInfo folder(executableFolder);
    if (folder.isDir() && folder.isWritable() && !isSystemFolder(folder.canonicalFilePath()))
        return {executableFolder, Kind::ProgramFolder};
    return {userDataFolder, Kind::UserDataFolder};
}

Choice choice()
{
    if (!overridden().isEmpty())
        return {overridden(), Kind::ProgramFolder};
    if (!decided()) {
        Choice chosen = choose(QCoreApplication::applicationDirPath(), userDataFolder());
        if (chosen.kind == Kind::UserDataFolder)
            QDir().mkpath(chosen.path);
        decided() = chosen;
    }
    return *decided();
}

QString path()
{
    return choice().path;
}

QString filePath(const QString &fileName)
{
    return QDir(path()).filePath(fileName);
}

QString kindName(Kind kind)
{
    return kind == Kind::ProgramFolder ? QStringLiteral("Program klasörü") : QStringLiteral("Kullanıcı veri klasörü");
}

QString executableFolder()
{
    if (!overridden().isEmpty())
        return overridden();
    return QCoreApplication::applicationDirPath();
}

QString userDataFolder()
{
#ifdef Q_OS_WIN
    const QString base = qEnvironmentVariable("APPDATA");
#else
    // Not AppDataLocation: it would depend on the application's name, which
    // the windowless commands do not set.
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
#endif
    return QDir(base).filePath(ApplicationInfo::title());
}

QString installedFile(const QString &fileName)
{
    const QDir executable(executableFolder());
    const QString beside = executable.filePath(fileName);
    if (QFileInfo::exists(beside))
        return beside;
    const QString shared =
        QDir::cleanPath(executable.filePath(QStringLiteral("../share/mirvasel/")) + u'/' + fileName);
    return QFileInfo::exists(shared) ? shared : beside;
}

ScopedOverride<QString> override(const QString &folder)
{
    return {overridden(), folder};
}

} // namespace ProgramFolder
