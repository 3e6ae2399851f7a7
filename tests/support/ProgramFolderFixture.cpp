#include "support/ProgramFolderFixture.h"

#include <QFile>

ProgramFolderFixture::ProgramFolderFixture()
    : m_programFolder(ProgramFolder::override(m_folder.path()))
{
}

void ProgramFolderFixture::writeFile(const QString &name, const QByteArray &bytes) const
{
    QFile file(filePath(name));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

QByteArray ProgramFolderFixture::readFile(const QString &name) const
{
    QFile file(filePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}
