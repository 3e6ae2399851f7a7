#pragma once

#include "base/Result.h"

#include <QByteArray>
#include <QString>

#include <memory>

class QTemporaryDir;

// The copy of an old database that the reading child reads, and that a
// conversion keeps: the bytes of the file as they were when it was copied,
// which nothing changes afterwards.
//
// On Linux the copy lives in memory only, in a sealed memfd (no write, no
// growing or shrinking once made) that the child inherits: a parent killed
// at any moment leaves no file behind, and the child, which dies with it,
// none either. Elsewhere it is a file in a temporary folder, removed when
// the copy goes.
class OldDatabaseCopy
{
public:
    // Copies filePath. The message (Turkish) says why not: the file could
    // not be read, or the copy not be made.
    static Result<std::shared_ptr<const OldDatabaseCopy>> make(const QString &filePath);

    ~OldDatabaseCopy();
    OldDatabaseCopy(const OldDatabaseCopy &) = delete;
    OldDatabaseCopy &operator=(const OldDatabaseCopy &) = delete;

    // Where this process, and a child started with prepareChild(), open the
    // copy.
    const QString &path() const { return m_path; }
    qint64 size() const { return m_size; }
    // The first bytes, at most a Jet page: the file's header.
    const QByteArray &firstPage() const { return m_firstPage; }

    // The descriptor a child must inherit to open path(); -1 when path() is
    // a file of its own.
    int descriptor() const { return m_descriptor; }

    // Whether the file at filePath holds exactly the copy's bytes.
    bool sameBytesAs(const QString &filePath) const;

private:
    OldDatabaseCopy() = default;

    QString m_path;
    qint64 m_size = 0;
    QByteArray m_firstPage;
    int m_descriptor = -1;
    std::unique_ptr<QTemporaryDir> m_folder;
};
