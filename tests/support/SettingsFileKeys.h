#pragma once

#include "base/WindowsTurkishCodePage.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Reads a settings file's bytes the plain way, line by line, so that tests
// see the order in which sections and keys landed in the file.
struct SettingsFileKey
{
    QString section;
    QString key;
    QString value;
};

inline QList<SettingsFileKey> settingsFileKeys(const QByteArray &bytes)
{
    QList<SettingsFileKey> keys;
    QString section;
    const QString text = WindowsTurkishCodePage::decode(bytes);
    for (const QString &line : text.split(QStringLiteral("\r\n"))) {
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            section = line.mid(1, line.size() - 2);
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals > 0)
            keys.append({section, line.left(equals), line.mid(equals + 1)});
    }
    return keys;
}

inline QStringList settingsFileSections(const QByteArray &bytes)
{
    QStringList sections;
    for (const SettingsFileKey &key : settingsFileKeys(bytes)) {
        if (sections.isEmpty() || sections.back() != key.section)
            sections << key.section;
    }
    return sections;
}
