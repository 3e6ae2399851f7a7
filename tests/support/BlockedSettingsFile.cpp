#include "support/BlockedSettingsFile.h"

#include <QDir>
#include <QFile>
#include <QTest>

void BlockedSettingsFile::addRows()
{
    QTest::addColumn<bool>("directoryInTheWay");
    QTest::newRow("read-only settings file") << false;
    QTest::newRow("a folder where the file should be") << true;
}

BlockedSettingsFile::BlockedSettingsFile(const QString &path, bool directoryInTheWay)
    : m_path(path), m_directoryInTheWay(directoryInTheWay)
{
    if (m_directoryInTheWay)
        m_blocked = QFile::remove(m_path) && QDir().mkdir(m_path);
    else
        m_blocked = QFile::setPermissions(m_path, QFileDevice::ReadOwner | QFileDevice::ReadUser);
}

BlockedSettingsFile::~BlockedSettingsFile()
{
    release();
}

bool BlockedSettingsFile::release()
{
    if (!m_blocked)
        return true;
    m_blocked = false;
    if (m_directoryInTheWay)
        return QDir().rmdir(m_path);
    return QFile::setPermissions(m_path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

bool BlockedSettingsFile::isUnableToWriteBox(const MessageBoxes::Request &box, const QString &path)
{
    return box.caption == u"Mirvasel" && box.icon == MessageBoxes::Icon::Stop
           && box.text.startsWith(QStringLiteral("Unable to write to ") + QDir::toNativeSeparators(path));
}
