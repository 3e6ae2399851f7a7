#include "olddata/OldPayeeStreamWriter.h"

#include "olddata/OldPayeeStream.h"

#include <QtEndian>

namespace {

void appendUInt32(QByteArray *bytes, quint32 value)
{
    char raw[4];
    qToLittleEndian(value, raw);
    bytes->append(raw, 4);
}

void appendUInt64(QByteArray *bytes, quint64 value)
{
    char raw[8];
    qToLittleEndian(value, raw);
    bytes->append(raw, 8);
}

} // namespace

OldPayeeStreamWriter::OldPayeeStreamWriter()
    : m_bytes(OldPayeeStream::mark().toByteArray())
    , m_checksum(OldPayeeStream::checksum(OldPayeeStream::kChecksumStart, OldPayeeStream::mark()))
{
}

void OldPayeeStreamWriter::close(qsizetype frameStart)
{
    m_checksum = OldPayeeStream::checksum(m_checksum, QByteArrayView(m_bytes).sliced(frameStart));
}

void OldPayeeStreamWriter::row(PaymentCategory category, const PayeeUtf8Fields &fields)
{
    const qsizetype start = m_bytes.size();
    m_bytes.append(OldPayeeStream::kRowTag);
    m_bytes.append(char(categoryIndex(category)));
    for (const std::optional<QByteArrayView> &field : fields) {
        if (!field) {
            appendUInt32(&m_bytes, OldPayeeStream::kAbsent);
            continue;
        }
        appendUInt32(&m_bytes, quint32(field->size()));
        m_bytes.append(*field);
    }
    close(start);
}

void OldPayeeStreamWriter::end(const OldDatabaseFile::Outcome &outcome)
{
    const qsizetype start = m_bytes.size();
    m_bytes.append(OldPayeeStream::kEndTag);
    m_bytes.append(char(outcome.status));
    const QByteArray message = outcome.message.toUtf8().left(OldPayeeStream::kMostMessageBytes);
    appendUInt32(&m_bytes, quint32(message.size()));
    m_bytes.append(message);
    for (qint64 rows : outcome.rows)
        appendUInt64(&m_bytes, quint64(rows));
    close(start);
    appendUInt64(&m_bytes, m_checksum);
}
