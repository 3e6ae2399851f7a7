#pragma once

#include <QList>
#include <QString>

// Where a backup goes: the drives the dialog offers and the backup folder it
// composes from a location and a folder name.
namespace BackupLocation {

// How the system compares paths: without regard to case on Windows.
Qt::CaseSensitivity pathCase();

// The path with a closing "/" (Qt's form).
QString withSeparator(QString path);

// The location, a separator unless the location already ends with one (a
// drive's root does), the folder name and a closing separator; with an empty
// name, the location itself. The name is typed by the user: "\" and "/" both
// separate nested folders, and blanks around each part go. Paths in Qt's
// form, with "/".
QString composeFolder(const QString &location, const QString &folderName);

// A drive of the drive list: a mounted volume, by its root folder.
struct Volume
{
    QString rootPath; // "/", "/media/memur/USB/", "C:/"
    QString label; // as the list shows it
    friend bool operator==(const Volume &, const Volume &) = default;
};

// What the system tells of one mounted file system.
struct MountedVolume
{
    QString rootPath;
    QString fileSystemType;
    QString name;
    bool ready = true;
};

// The volumes worth offering for a backup: the system's root first, then
// the disks, memory sticks and network shares in the order of their roots.
// Left out: what is not ready, the kernel's own file systems, memory-backed
// ones that a restart empties, and single files mounted into a container.
QList<Volume> offeredVolumes(const QList<MountedVolume> &mounted);

// The offered volumes of this machine, as of now.
QList<Volume> volumes();

// The volume that holds path: the one with the longest root that leads to
// it; -1 when none does.
int volumeIndexOf(const QList<Volume> &volumes, const QString &path);

} // namespace BackupLocation
