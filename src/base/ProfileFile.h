#pragma once

#include "base/Result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringView>
#include <QtGlobal>

// One session on a Windows profile (INI) file such as the settings file: the
// constructor reads the file once, the reads and writes work on that copy,
// and save() puts the whole result in place in one step, so that a window's
// save sequence lands whole or not at all. Open a new ProfileFile for every
// load or save sequence; a save then keeps what other windows wrote since.
//
// The file keeps the Windows conventions, so that files written by the
// Windows build read here and ours read there: Windows Turkish code page
// (UTF-8 when the file starts with a UTF-8 byte order mark), names compared
// without regard to case, values of up to 2047 characters, lines we do not
// understand kept byte for byte, new lines ended with CR LF.
class ProfileFile
{
public:
    static constexpr qsizetype kMaximumValueLength = 2047;

    // "Zenparol.ini" in the program folder, whatever the current folder.
    static QString settingsFilePath();

    explicit ProfileFile(const QString &filePath = settingsFilePath());

    // A save interrupted by a crash or a power cut can leave its temporary
    // copy beside the file ("Zenparol.ini.Ab3xYz" where the file system
    // cannot hide it). The program removes such copies of its own when it
    // starts: files named like the file plus a dot and six letters or
    // digits, last written more than a few seconds ago (a younger one may be
    // another running copy's save in progress). Nothing else is touched.
    // Returns how many it removed.
    static int removeInterruptedSaves(const QString &filePath = settingsFilePath());

    ProfileFile(const ProfileFile &) = delete;
    ProfileFile &operator=(const ProfileFile &) = delete;

    QString filePath() const { return m_filePath; }

    // An absent file, section or key yields the default; so does a number
    // that does not parse. A key present with an empty value reads as "".
    QString readString(QStringView section, QStringView key, const QString &defaultValue) const;
    int readInteger(QStringView section, QStringView key, int defaultValue) const;
    bool readBool(QStringView section, QStringView key, bool defaultValue) const;
    // A 32-bit Windows colour value; unsigned decimal up to 4294967295 is
    // accepted too and wraps like the hexadecimal forms.
    qint32 readColour(QStringView section, QStringView key, qint32 defaultValue) const;

    // A write that the file cannot hold (a line break, a character outside
    // the code page, an unusable name), or any write when the file exists but
    // could not be read, fails the session: every later write is a no-op and
    // save() refuses with the reason, leaving the file as it was. A save
    // sequence therefore writes its keys one after the other and returns
    // what save() says.
    void writeString(QStringView section, QStringView key, QStringView value);
    void writeInteger(QStringView section, QStringView key, int value);
    void writeBool(QStringView section, QStringView key, bool value);
    void writeColour(QStringView section, QStringView key, qint32 value);

    // The session so far: a failure, with its reason, when the file exists
    // but could not be read (every read then gives its default), once a
    // write was refused or a save failed.
    Result<> status() const;

    // Replaces the file with the session's result through a temporary file
    // in the same folder. Does not touch the file when nothing changed.
    // On failure the previous file is left whole and the message names it.
    Result<> save();

private:
    enum class LineKind { Other, Section, Key };

    struct Line
    {
        QByteArray text; // without the line end
        QByteArrayView end; // "\r\n", "\n", "\r", or empty on an unended last line
        LineKind kind = LineKind::Other;
        qsizetype valueStart = 0; // keys: the byte after "="
    };

    // The lines from one section header up to the next; the first section of
    // the file holds the lines before the first header and has no name.
    struct Section
    {
        QList<Line> lines;
        QMap<QString, qsizetype> keyIndex; // folded name -> first key line
    };

    void load();
    Line parseLine(QByteArray text, QByteArrayView end, QString *name) const;
    void addLine(Line line, const QString &name);

    const Line *findKey(QStringView section, QStringView key) const;
    QString valueOf(const Line &line) const;
    QString decode(QByteArrayView bytes) const;
    QByteArray encode(QStringView text) const;

    QString problemWith(QStringView section, QStringView key, QStringView value) const;
    void fail(const QString &reason);
    QString writeErrorText() const;

    QString m_filePath;
    QList<Section> m_sections;
    QMap<QString, qsizetype> m_sectionIndex; // folded name -> first section
    bool m_utf8 = false;
    bool m_loadFailed = false;
    QString m_loadFailure;
    bool m_failed = false;
    bool m_modified = false;
    QString m_failure;
};
