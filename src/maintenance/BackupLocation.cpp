#include "maintenance/BackupLocation.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QStorageInfo>

#include <algorithm>

namespace BackupLocation {

namespace {

// File systems of the kernel and of the desktop that hold no user's files,
// and memory-backed ones whose contents a restart loses.
bool isSystemFileSystem(const QString &type)
{
    static const QSet<QString> types = {
        QStringLiteral("autofs"),      QStringLiteral("binfmt_misc"), QStringLiteral("bpf"),
        QStringLiteral("cgroup"),      QStringLiteral("cgroup2"),     QStringLiteral("configfs"),
        QStringLiteral("debugfs"),     QStringLiteral("devpts"),      QStringLiteral("devtmpfs"),
        QStringLiteral("efivarfs"),    QStringLiteral("fusectl"),     QStringLiteral("hugetlbfs"),
        QStringLiteral("mqueue"),      QStringLiteral("nsfs"),        QStringLiteral("proc"),
        QStringLiteral("pstore"),      QStringLiteral("ramfs"),       QStringLiteral("rpc_pipefs"),
        QStringLiteral("securityfs"),  QStringLiteral("squashfs"),    QStringLiteral("sysfs"),
        QStringLiteral("tmpfs"),       QStringLiteral("tracefs"),     QStringLiteral("fuse.gvfsd-fuse"),
        QStringLiteral("fuse.portal"), QStringLiteral("fuse.lxcfs"),
    };
    return types.contains(type);
}

bool isSystemFolder(const QString &root)
{
    static const QStringList folders = {QStringLiteral("/proc/"), QStringLiteral("/sys/"),
                                        QStringLiteral("/dev/"),  QStringLiteral("/run/"),
                                        QStringLiteral("/snap/"), QStringLiteral("/boot/"),
                                        QStringLiteral("/efi/"),  QStringLiteral("/etc/")};
    if (root.startsWith(QLatin1String("/run/media/")))
        return false;
    for (const QString &folder : folders) {
        if (root.startsWith(folder))
            return true;
    }
    return false;
}

QString labelOf(const QString &root, const QString &name)
{
    const QString shown = QDir::toNativeSeparators(root);
    if (name.isEmpty() || name == root)
        return shown;
    return QStringLiteral("%1  [%2]").arg(shown, name);
}

} // namespace

Qt::CaseSensitivity pathCase()
{
#ifdef Q_OS_WIN
    return Qt::CaseInsensitive;
#else
    return Qt::CaseSensitive;
#endif
}

QString withSeparator(QString path)
{
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

QString composeFolder(const QString &location, const QString &folderName)
{
    QString folder = withSeparator(location);
    QString name = folderName;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QStringList parts = name.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        const QString trimmed = part.trimmed();
        if (!trimmed.isEmpty())
            folder += trimmed + QLatin1Char('/');
    }
    return folder;
}

QList<Volume> offeredVolumes(const QList<MountedVolume> &mounted)
{
    QList<Volume> offered;
    QSet<QString> seen;
    for (const MountedVolume &volume : mounted) {
        const QString root = withSeparator(QDir::fromNativeSeparators(volume.rootPath));
        const bool isSystemRoot = root == QLatin1String("/");
        if (!volume.ready || seen.contains(root))
            continue;
        if (!isSystemRoot && (isSystemFileSystem(volume.fileSystemType) || isSystemFolder(root)))
            continue;
        // Containers mount single files (/etc/hosts) as volumes of their own.
        if (!QFileInfo(root).isDir())
            continue;
        seen.insert(root);
        offered.append({root, labelOf(root, volume.name)});
    }
    std::sort(offered.begin(), offered.end(), [](const Volume &left, const Volume &right) {
        const bool leftRoot = left.rootPath == QLatin1String("/");
        const bool rightRoot = right.rootPath == QLatin1String("/");
        if (leftRoot != rightRoot)
            return leftRoot;
        return left.rootPath.compare(right.rootPath, pathCase()) < 0;
    });
    return offered;
}

QList<Volume> volumes()
{
    QList<MountedVolume> mounted;
    for (const QStorageInfo &storage : QStorageInfo::mountedVolumes()) {
        if (!storage.isValid())
            continue;
        mounted.append({storage.rootPath(), QString::fromLatin1(storage.fileSystemType()), storage.name(),
                        storage.isReady()});
    }
#ifndef Q_OS_WIN
    // The system's root is always there, whatever the list says of it.
    mounted.prepend({QStringLiteral("/"), QString(), QString(), true});
#endif
    return offeredVolumes(mounted);
}

int volumeIndexOf(const QList<Volume> &volumes, const QString &path)
{
    const QString folder = withSeparator(QDir::fromNativeSeparators(path));
    int found = -1;
    for (int i = 0; i < volumes.size(); ++i) {
        const QString &root = volumes[i].rootPath;
        if (folder.startsWith(root, pathCase()) && (found < 0 || root.size() > volumes[found].rootPath.size()))
            found = i;
    }
    return found;
}

} // namespace BackupLocation
