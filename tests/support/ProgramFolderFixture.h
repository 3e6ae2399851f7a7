#pragma once

#include "base/ProgramFolder.h"

#include <QString>
#include <QTemporaryDir>

// Points the program folder at a fresh temporary folder for the life of the
// fixture, so that tests read and write their own settings and database.
class ProgramFolderFixture
{
public:
    ProgramFolderFixture();
    ProgramFolderFixture(const ProgramFolderFixture &) = delete;
    ProgramFolderFixture &operator=(const ProgramFolderFixture &) = delete;

    QString path() const { return m_folder.path(); }
    QString filePath(const QString &name) const { return m_folder.filePath(name); }

    // Writes a file in the folder, as raw bytes.
    void writeFile(const QString &name, const QByteArray &bytes) const;
    QByteArray readFile(const QString &name) const;

private:
    QTemporaryDir m_folder;
    // Ends before the folder goes.
    const ScopedOverride<QString> m_programFolder;
};
