#include "olddata/OldPayeeStream.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QIODevice>
#include <QtEndian>

namespace OldPayeeStream {

namespace {

const QByteArray kMark = QByteArrayLiteral("MIRVASEL-ESKI-VERI 1\n");
constexpr qsizetype kLengthBytes = 8;
// MD5 only tells a whole answer from a damaged one, which is all it must do
// here; it takes half the time of SHA-256 over the answer of 100 000 payees.
constexpr qsizetype kDigestBytes = 16;
constexpr QDataStream::Version kVersion = QDataStream::Qt_6_4;

QByteArray digest(QByteArrayView payload)
{
    return QCryptographicHash::hash(payload, QCryptographicHash::Md5);
}

} // namespace

QByteArray encode(const OldDatabaseFile::Outcome &outcome)
{
    QByteArray payload;
    {
        QDataStream stream(&payload, QIODevice::WriteOnly);
        stream.setVersion(kVersion);
        stream << qint32(outcome.status) << outcome.message;
        for (const QList<PayeeFields> &records : outcome.records) {
            stream << qint64(records.size());
            for (const PayeeFields &record : records) {
                for (const QString &field : record)
                    stream << field;
            }
        }
    }
    QByteArray bytes = kMark;
    char length[kLengthBytes];
    qToLittleEndian<quint64>(quint64(payload.size()), length);
    bytes.append(length, kLengthBytes);
    bytes.append(payload);
    bytes.append(digest(payload));
    return bytes;
}

std::optional<OldDatabaseFile::Outcome> decode(const QByteArray &bytes)
{
    const qsizetype head = kMark.size() + kLengthBytes;
    if (bytes.size() < head + kDigestBytes || !bytes.startsWith(kMark))
        return std::nullopt;
    const quint64 length = qFromLittleEndian<quint64>(bytes.constData() + kMark.size());
    if (length != quint64(bytes.size() - head - kDigestBytes))
        return std::nullopt;
    const QByteArrayView payload = QByteArrayView(bytes).sliced(head, qsizetype(length));
    if (digest(payload) != QByteArrayView(bytes).last(kDigestBytes))
        return std::nullopt;

    QDataStream stream(payload.toByteArray());
    stream.setVersion(kVersion);
    OldDatabaseFile::Outcome outcome;
    qint32 status = -1;
    stream >> status >> outcome.message;
    if (status < qint32(OldDatabaseFile::Status::Read) || status > qint32(OldDatabaseFile::Status::Damaged))
        return std::nullopt;
    outcome.status = OldDatabaseFile::Status(status);
    for (QList<PayeeFields> &records : outcome.records) {
        qint64 count = -1;
        stream >> count;
        // Every field takes at least four bytes.
        if (stream.status() != QDataStream::Ok || count < 0 || count > qint64(length) / (4 * kPayeeColumnCount))
            return std::nullopt;
        records.reserve(count);
        for (qint64 i = 0; i < count; ++i) {
            PayeeFields record;
            for (QString &field : record)
                stream >> field;
            records.append(record);
        }
    }
    if (stream.status() != QDataStream::Ok || !stream.atEnd())
        return std::nullopt;
    return outcome;
}

} // namespace OldPayeeStream
