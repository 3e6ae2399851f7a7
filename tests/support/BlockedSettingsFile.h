#pragma once

#include "desktop/MessageBoxes.h"

#include <QString>

// Stands in the way of a save of the settings file, as a clerk's machine can:
// the file made read-only, or a folder where the file should be. Tests take
// both ways as rows of one case.
class BlockedSettingsFile
{
public:
    // The data function's rows: a bool column "directoryInTheWay".
    static void addRows();

    BlockedSettingsFile(const QString &path, bool directoryInTheWay);
    ~BlockedSettingsFile();
    BlockedSettingsFile(const BlockedSettingsFile &) = delete;
    BlockedSettingsFile &operator=(const BlockedSettingsFile &) = delete;

    bool isBlocked() const { return m_blocked; }
    // Lets saves through again; a folder in the way leaves no file behind.
    bool release();

    // The standard error box of a save that could not be written.
    static bool isUnableToWriteBox(const MessageBoxes::Request &box, const QString &path);

private:
    QString m_path;
    bool m_directoryInTheWay;
    bool m_blocked = false;
};
