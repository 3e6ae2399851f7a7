#pragma once

#include <QByteArray>
#include <QByteArrayView>

// What the reading child hands its parent on standard output, as it reads:
// a mark, then one frame a row, then an end frame with the outcome, the
// number of rows of each kind and a checksum of every byte before it. The
// parent takes the rows as they come (OldPayeeStreamReader) but keeps
// nothing of them unless the end frame comes, agrees and is the last byte:
// a child that ran into a damaged file and wrote anything else (half an
// answer, garbage, a sanitizer's report) is never taken for an answer.
//
// Row frame:  'K', category (1 byte), five fields, each a 32-bit
//             little-endian length and that many bytes of UTF-8
//             (0xFFFFFFFF and no bytes: an absent value).
// End frame:  'S', status (1 byte), a 32-bit length and the message in
//             UTF-8, four 64-bit row counts, the 64-bit checksum.
namespace OldPayeeStream {

inline constexpr char kMark[] = "MIRVASEL-ESKI-VERI 2\n";
inline constexpr char kRowTag = 'K';
inline constexpr char kEndTag = 'S';
inline constexpr quint32 kAbsent = 0xFFFFFFFFu;
// Longer texts than any field holds are no answer, but a damage.
inline constexpr quint32 kMostFieldBytes = 1u << 24;
inline constexpr quint32 kMostMessageBytes = 1u << 16;

inline QByteArrayView mark()
{
    return QByteArrayView(kMark, sizeof(kMark) - 1);
}

// The checksum after bytes, from the checksum before them. Not a digest
// against a forger: it tells an answer that came whole from one that was
// damaged or cut, cheaply enough to run over every byte of it.
quint64 checksum(quint64 before, QByteArrayView bytes);

inline constexpr quint64 kChecksumStart = 0x4D49525641534Cull;

} // namespace OldPayeeStream
