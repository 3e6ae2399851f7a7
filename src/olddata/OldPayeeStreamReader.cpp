#include "olddata/OldPayeeStreamReader.h"

#include "olddata/OldPayeeStream.h"

#include <QtEndian>

OldPayeeStreamReader::OldPayeeStreamReader(RowSink sink)
    : m_sink(std::move(sink))
    , m_checksum(OldPayeeStream::kChecksumStart)
{
}

bool OldPayeeStreamReader::feed(QByteArrayView bytes)
{
    if (m_state == State::Ended && !bytes.isEmpty())
        m_state = State::NotAnAnswer;
    if (m_state != State::Reading)
        return m_state == State::Ended;
    // What was taken goes before the buffer grows.
    if (m_position > 0 && m_position >= m_buffer.size() / 2) {
        m_buffer.remove(0, m_position);
        m_position = 0;
    }
    m_buffer.append(bytes);
    if (!m_markSeen) {
        const QByteArrayView mark = OldPayeeStream::mark();
        const qsizetype have = std::min(m_buffer.size(), mark.size());
        if (QByteArrayView(m_buffer).first(have) != mark.first(have)) {
            m_state = State::NotAnAnswer;
            return false;
        }
        if (have < mark.size())
            return true;
        m_checksum = OldPayeeStream::checksum(m_checksum, mark);
        m_position = mark.size();
        m_markSeen = true;
    }
    while (m_state == State::Reading) {
        const qsizetype taken = takeFrame();
        if (taken < 0) {
            if (m_state == State::Reading)
                m_state = State::NotAnAnswer;
            break;
        }
        if (taken == 0)
            break;
        m_position += taken;
    }
    if (m_state == State::Ended && m_position != m_buffer.size())
        m_state = State::NotAnAnswer;
    return m_state == State::Reading || m_state == State::Ended;
}

qsizetype OldPayeeStreamReader::takeFrame()
{
    const char *frame = m_buffer.constData() + m_position;
    const qsizetype available = m_buffer.size() - m_position;
    if (available < 2)
        return 0;
    const auto uint32At = [&](qsizetype at) { return qFromLittleEndian<quint32>(frame + at); };
    if (frame[0] == OldPayeeStream::kRowTag) {
        const int category = int(static_cast<unsigned char>(frame[1]));
        if (!isCategoryIndex(category))
            return -1;
        PayeeUtf8Fields fields;
        qsizetype at = 2;
        for (std::optional<QByteArrayView> &field : fields) {
            if (available < at + 4)
                return 0;
            const quint32 length = uint32At(at);
            at += 4;
            if (length == OldPayeeStream::kAbsent)
                continue;
            if (length > OldPayeeStream::kMostFieldBytes)
                return -1;
            if (available < at + qsizetype(length))
                return 0;
            // Never a null view for a present text, however short.
            field = length > 0 ? QByteArrayView(frame + at, length) : QByteArrayView("", 0);
            at += length;
        }
        m_checksum = OldPayeeStream::checksum(m_checksum, QByteArrayView(frame, at));
        ++m_rows[std::size_t(category)];
        if (m_sink && !m_sink(PaymentCategory(category), fields)) {
            m_state = State::Stopped;
            return -1;
        }
        return at;
    }
    if (frame[0] != OldPayeeStream::kEndTag)
        return -1;
    const int status = int(static_cast<unsigned char>(frame[1]));
    if (status > int(OldDatabaseFile::Status::Damaged))
        return -1;
    if (available < 6)
        return 0;
    const quint32 messageLength = uint32At(2);
    if (messageLength > OldPayeeStream::kMostMessageBytes)
        return -1;
    const qsizetype countsAt = 6 + qsizetype(messageLength);
    const qsizetype checksumAt = countsAt + 8 * kCategoryCount;
    if (available < checksumAt + 8)
        return 0;
    m_checksum = OldPayeeStream::checksum(m_checksum, QByteArrayView(frame, checksumAt));
    if (qFromLittleEndian<quint64>(frame + checksumAt) != m_checksum)
        return -1;
    for (int i = 0; i < kCategoryCount; ++i) {
        if (qint64(qFromLittleEndian<quint64>(frame + countsAt + 8 * i)) != m_rows[std::size_t(i)])
            return -1;
    }
    m_outcome.status = OldDatabaseFile::Status(status);
    m_outcome.message = QString::fromUtf8(frame + 6, messageLength);
    m_outcome.rows = m_rows;
    m_state = State::Ended;
    return checksumAt + 8;
}
