#include "base/ProfileFile.h"

#include "base/ApplicationInfo.h"
#include "base/FileProblem.h"
#include "base/ProgramFolder.h"
#include "base/WindowsTurkishCodePage.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <limits>
#include <optional>
#include <utility>

namespace {

const QByteArray kUtf8ByteOrderMark("\xEF\xBB\xBF");
// Line ends point at these literals, so lines do not carry a copy each.
constexpr QByteArrayView kLineEnd("\r\n");
constexpr QByteArrayView kLineFeed("\n");
constexpr QByteArrayView kCarriageReturn("\r");

bool isBlank(char byte)
{
    return byte == ' ' || byte == '\t' || byte == '\v' || byte == '\f';
}

QByteArrayView trimmed(QByteArrayView bytes)
{
    qsizetype begin = 0;
    qsizetype end = bytes.size();
    while (begin < end && isBlank(bytes[begin]))
        ++begin;
    while (end > begin && isBlank(bytes[end - 1]))
        --end;
    return bytes.sliced(begin, end - begin);
}

// The program's own names are ASCII, but a Turkish hand may type "İ" or "ı"
// in a name that the program spells with "I" or "i": all four match.
QString foldName(QStringView name)
{
    QString folded(name.size(), Qt::Uninitialized);
    QChar *out = folded.data();
    for (const QChar character : name) {
        const char16_t c = character.unicode();
        if (c < 0x80 && c != u'I') {
            *out++ = (c >= u'A' && c <= u'Z') ? QChar(char16_t(c + 0x20)) : character;
            continue;
        }
        switch (c) {
        case u'I':
        case u'İ':
        case u'ı':
            *out++ = QChar(u'i');
            break;
        default:
            *out++ = character.toCaseFolded();
            break;
        }
    }
    return folded;
}

int digitValue(QChar character, int base)
{
    const char16_t c = character.unicode();
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (base == 16 && c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (base == 16 && c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

// Signed decimal, or hexadecimal after "0x", "0X" or "$" with the 32 bits
// taken as they stand (0xFFFFFFFF is -1, as Windows colour values have it).
std::optional<qint32> parseInteger(QStringView text, bool acceptUnsignedDecimal)
{
    qsizetype at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == u'+' || text[at] == u'-')) {
        negative = text[at] == u'-';
        ++at;
    }
    int base = 10;
    if (text.sliced(at).startsWith(u"0x", Qt::CaseInsensitive)) {
        base = 16;
        at += 2;
    } else if (at < text.size() && text[at] == u'$') {
        base = 16;
        at += 1;
    }
    if (at == text.size())
        return std::nullopt;

    constexpr quint64 kLargest32 = std::numeric_limits<quint32>::max();
    quint64 magnitude = 0;
    for (; at < text.size(); ++at) {
        const int digit = digitValue(text[at], base);
        if (digit < 0)
            return std::nullopt;
        magnitude = magnitude * quint64(base) + quint64(digit);
        if (magnitude > kLargest32)
            return std::nullopt;
    }

    const quint32 bits = quint32(magnitude);
    if (base == 16)
        return qint32(negative ? 0u - bits : bits);
    constexpr quint64 kLargestPositive = quint64(std::numeric_limits<qint32>::max());
    if (negative) {
        if (magnitude > kLargestPositive + 1)
            return std::nullopt;
        return qint32(0u - bits);
    }
    if (magnitude > kLargestPositive && !acceptUnsignedDecimal)
        return std::nullopt;
    return qint32(bits);
}

// Reading trims blanks and strips one pair of matching quotes; such values
// are written inside double quotes so that they come back as they went in.
bool needsQuotes(QStringView value)
{
    if (value.isEmpty())
        return false;
    if (value.front().isSpace() || value.back().isSpace())
        return true;
    const QChar first = value.front();
    return value.size() >= 2 && (first == u'"' || first == u'\'') && value.back() == first;
}

QString describeCharacter(QChar character)
{
    const QString code = QStringLiteral("U+%1").arg(character.unicode(), 4, 16, QChar(u'0')).toUpper();
    return character.isPrint() ? QStringLiteral("\"%1\" (%2)").arg(character).arg(code) : code;
}

} // namespace

QString ProfileFile::settingsFilePath()
{
    return ProgramFolder::filePath(ApplicationInfo::settingsFileName());
}

int ProfileFile::removeInterruptedSaves(const QString &filePath)
{
    constexpr qint64 kSecondsBeforeStale = 10;
    const QFileInfo file(filePath);
    const QDir folder = file.absoluteDir();
    const QRegularExpression leftover(QRegularExpression::anchoredPattern(
        QRegularExpression::escape(file.fileName()) + QStringLiteral("\\.[A-Za-z0-9]{6}")));
    const QDateTime staleBefore = QDateTime::currentDateTimeUtc().addSecs(-kSecondsBeforeStale);
    int removed = 0;
    const QFileInfoList candidates = folder.entryInfoList({file.fileName() + QStringLiteral(".??????")},
                                                          QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo &candidate : candidates) {
        if (candidate.isSymLink() || !leftover.match(candidate.fileName()).hasMatch())
            continue;
        if (candidate.lastModified().toUTC() > staleBefore)
            continue;
        if (QFile::remove(candidate.absoluteFilePath()))
            ++removed;
    }
    return removed;
}

ProfileFile::ProfileFile(const QString &filePath)
    : m_filePath(filePath)
{
    m_sections.append(Section());
    load();
}

void ProfileFile::load()
{
    if (!QFileInfo::exists(m_filePath))
        return;
    QFile file(m_filePath);
    if (!file.open(QIODevice::ReadOnly)) {
        m_loadFailed = true;
        m_loadFailure = FileProblem::notRead(m_filePath, file.error());
        return;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        m_loadFailed = true;
        m_loadFailure = FileProblem::notRead(m_filePath, file.error());
        return;
    }
    m_utf8 = bytes.startsWith(kUtf8ByteOrderMark);

    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype stop = start;
        while (stop < bytes.size() && bytes[stop] != '\r' && bytes[stop] != '\n')
            ++stop;
        QByteArrayView end;
        if (stop < bytes.size() && bytes[stop] == '\n')
            end = kLineFeed;
        else if (stop < bytes.size())
            end = (stop + 1 < bytes.size() && bytes[stop + 1] == '\n') ? kLineEnd : kCarriageReturn;
        QString name;
        Line line = parseLine(bytes.sliced(start, stop - start), end, &name);
        addLine(std::move(line), name);
        start = stop + end.size();
    }
}

ProfileFile::Line ProfileFile::parseLine(QByteArray text, QByteArrayView end, QString *name) const
{
    Line line;
    line.text = std::move(text);
    line.end = end;

    QByteArrayView whole(line.text);
    if (m_utf8 && m_sections.size() == 1 && m_sections.front().lines.isEmpty())
        whole = whole.sliced(kUtf8ByteOrderMark.size());
    const QByteArrayView content = trimmed(whole);
    if (content.isEmpty() || content.front() == ';')
        return line;
    if (content.front() == '[') {
        // As Windows reads it, a header whose bracket is not closed still
        // opens its section: the name is the rest of the line.
        const qsizetype close = content.indexOf(']');
        const QByteArrayView header = close > 0 ? content.sliced(1, close - 1) : content.sliced(1);
        line.kind = LineKind::Section;
        *name = foldName(decode(trimmed(header)));
        return line;
    }
    const qsizetype equals = content.indexOf('=');
    if (equals >= 0) {
        line.kind = LineKind::Key;
        line.valueStart = (content.data() - line.text.constData()) + equals + 1;
        *name = foldName(decode(trimmed(content.first(equals))));
    }
    return line;
}

void ProfileFile::addLine(Line line, const QString &name)
{
    if (line.kind == LineKind::Section) {
        // A section that appears twice: the first one is read and written.
        if (!m_sectionIndex.contains(name))
            m_sectionIndex.insert(name, m_sections.size());
        m_sections.append(Section());
    }
    Section &section = m_sections.back();
    if (line.kind == LineKind::Key && !section.keyIndex.contains(name))
        section.keyIndex.insert(name, section.lines.size());
    section.lines.append(std::move(line));
}

const ProfileFile::Line *ProfileFile::findKey(QStringView section, QStringView key) const
{
    const qsizetype sectionIndex = m_sectionIndex.value(foldName(section), -1);
    if (sectionIndex < 0)
        return nullptr;
    const Section &found = m_sections.at(sectionIndex);
    const qsizetype lineIndex = found.keyIndex.value(foldName(key), -1);
    return lineIndex < 0 ? nullptr : &found.lines.at(lineIndex);
}

QString ProfileFile::valueOf(const Line &line) const
{
    QByteArrayView value = trimmed(QByteArrayView(line.text).sliced(line.valueStart));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'')
        && value.back() == value.front()) {
        value = value.sliced(1, value.size() - 2);
    }
    return decode(value);
}

QString ProfileFile::decode(QByteArrayView bytes) const
{
    return m_utf8 ? QString::fromUtf8(bytes) : WindowsTurkishCodePage::decode(bytes);
}

QByteArray ProfileFile::encode(QStringView text) const
{
    return m_utf8 ? text.toUtf8() : WindowsTurkishCodePage::encode(text);
}

QString ProfileFile::readString(QStringView section, QStringView key, const QString &defaultValue) const
{
    const Line *line = findKey(section, key);
    if (!line)
        return defaultValue;
    QString value = valueOf(*line);
    value.truncate(kMaximumValueLength);
    return value;
}

int ProfileFile::readInteger(QStringView section, QStringView key, int defaultValue) const
{
    const Line *line = findKey(section, key);
    if (!line)
        return defaultValue;
    return parseInteger(valueOf(*line), false).value_or(defaultValue);
}

bool ProfileFile::readBool(QStringView section, QStringView key, bool defaultValue) const
{
    const Line *line = findKey(section, key);
    if (!line)
        return defaultValue;
    const std::optional<qint32> number = parseInteger(valueOf(*line), false);
    return number ? *number != 0 : defaultValue;
}

qint32 ProfileFile::readColour(QStringView section, QStringView key, qint32 defaultValue) const
{
    const Line *line = findKey(section, key);
    if (!line)
        return defaultValue;
    return parseInteger(valueOf(*line), true).value_or(defaultValue);
}

void ProfileFile::writeString(QStringView section, QStringView key, QStringView value)
{
    if (m_failed)
        return;
    if (m_loadFailed) {
        // Writing now would replace a file we could not read with this
        // session's keys alone.
        fail(QString());
        return;
    }
    const QString problem = problemWith(section, key, value);
    if (!problem.isEmpty()) {
        fail(problem);
        return;
    }

    QByteArray encodedValue = encode(value);
    if (needsQuotes(value))
        encodedValue = '"' + encodedValue + '"';

    const QString foldedSection = foldName(section);
    qsizetype sectionIndex = m_sectionIndex.value(foldedSection, -1);
    if (sectionIndex < 0) {
        Section &last = m_sections.back();
        if (!last.lines.isEmpty() && last.lines.back().end.isEmpty())
            last.lines.back().end = kLineEnd;
        sectionIndex = m_sections.size();
        m_sectionIndex.insert(foldedSection, sectionIndex);
        Section added;
        added.lines.append(Line{'[' + encode(section) + ']', kLineEnd, LineKind::Section, 0});
        m_sections.append(std::move(added));
    }

    Section &target = m_sections[sectionIndex];
    const QString foldedKey = foldName(key);
    const qsizetype lineIndex = target.keyIndex.value(foldedKey, -1);
    if (lineIndex >= 0) {
        Line &line = target.lines[lineIndex];
        if (valueOf(line) == value)
            return;
        // Keep the key's own spelling and the spacing around the "=".
        qsizetype keep = line.valueStart;
        while (keep < line.text.size() && isBlank(line.text[keep]))
            ++keep;
        line.text.truncate(keep);
        line.text += encodedValue;
        m_modified = true;
        return;
    }

    // Like Windows, a new key goes after the section's last line that is not
    // blank; only blank lines follow it, so no indexed key line moves.
    qsizetype insertAt = target.lines.size();
    while (insertAt > 0 && trimmed(target.lines.at(insertAt - 1).text).isEmpty())
        --insertAt;
    if (insertAt > 0 && target.lines.at(insertAt - 1).end.isEmpty())
        target.lines[insertAt - 1].end = kLineEnd;
    const QByteArray name = encode(key);
    target.lines.insert(insertAt, Line{name + '=' + encodedValue, kLineEnd, LineKind::Key, name.size() + 1});
    target.keyIndex.insert(foldedKey, insertAt);
    m_modified = true;
}

void ProfileFile::writeInteger(QStringView section, QStringView key, int value)
{
    writeString(section, key, QString::number(value));
}

void ProfileFile::writeBool(QStringView section, QStringView key, bool value)
{
    writeString(section, key, value ? u"1" : u"0");
}

void ProfileFile::writeColour(QStringView section, QStringView key, qint32 value)
{
    writeInteger(section, key, value);
}

Result<> ProfileFile::status() const
{
    if (m_failed)
        return Failure(m_failure);
    if (m_loadFailed)
        return Failure(QStringLiteral("Ayar dosyası okunamadı: ") + m_loadFailure);
    return Result<>::success();
}

QString ProfileFile::problemWith(QStringView section, QStringView key, QStringView value) const
{
    const auto unusableName = [](QStringView name) {
        return name.isEmpty() || name.trimmed().size() != name.size() || name.contains(u'\r')
               || name.contains(u'\n') || name.contains(QChar(0));
    };
    if (unusableName(section) || section.contains(u']'))
        return writeErrorText() + QStringLiteral(": \"%1\" bölüm adı olamaz").arg(section);
    if (unusableName(key) || key.contains(u'=') || key.startsWith(u';') || key.startsWith(u'['))
        return writeErrorText() + QStringLiteral(": \"%1\" anahtar adı olamaz").arg(key);

    const QString where = QStringLiteral("\"%2\" bölümündeki \"%1\" değeri").arg(key, section);
    if (value.contains(u'\r') || value.contains(u'\n'))
        return writeErrorText() + QStringLiteral(": %1 satır sonu içeriyor").arg(where);
    if (value.contains(QChar(0)))
        return writeErrorText() + QStringLiteral(": %1 NUL karakteri içeriyor").arg(where);

    if (m_utf8) {
        for (const QStringView text : {section, key, value}) {
            if (!text.isValidUtf16())
                return writeErrorText() + QStringLiteral(": %1 geçerli bir metin değil").arg(where);
        }
        return QString();
    }
    const std::pair<QStringView, QString> texts[] = {
        {section, QStringLiteral("\"%1\" bölüm adı").arg(section)},
        {key, QStringLiteral("\"%1\" anahtar adı").arg(key)},
        {value, where},
    };
    for (const auto &[text, what] : texts) {
        const qsizetype at = WindowsTurkishCodePage::firstUnencodable(text);
        if (at >= 0) {
            return writeErrorText()
                   + QStringLiteral(": %1 Windows Türkçe kod sayfasında bulunmayan %2 karakterini içeriyor")
                         .arg(what, describeCharacter(text[at]));
        }
    }
    return QString();
}

void ProfileFile::fail(const QString &reason)
{
    m_failed = true;
    m_failure = reason.isEmpty() ? writeErrorText() : reason;
}

QString ProfileFile::writeErrorText() const
{
    return QStringLiteral("Unable to write to %1")
        .arg(QDir::toNativeSeparators(QFileInfo(m_filePath).absoluteFilePath()));
}

Result<> ProfileFile::save()
{
    if (m_failed || !m_modified)
        return status();

    // The read-only mark is the user's way to freeze the settings; honour it
    // also when running with rights that would let us replace the file.
    const QFileInfo info(m_filePath);
    if (info.isFile() && !(info.permissions() & QFileDevice::WriteOwner)) {
        fail(QString());
        return status();
    }

    qsizetype size = 0;
    for (const Section &section : std::as_const(m_sections)) {
        for (const Line &line : section.lines)
            size += line.text.size() + line.end.size();
    }
    QByteArray bytes;
    bytes.reserve(size);
    for (const Section &section : std::as_const(m_sections)) {
        for (const Line &line : section.lines) {
            bytes += line.text;
            bytes += line.end;
        }
    }

    // QSaveFile writes a temporary file beside the old one, flushes it to disk
    // and renames it over the old one: a crash or a full disk leaves either
    // file whole.
    QSaveFile file(m_filePath);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        file.cancelWriting();
        fail(QString());
        return status();
    }
    m_modified = false;
    return Result<>::success();
}
