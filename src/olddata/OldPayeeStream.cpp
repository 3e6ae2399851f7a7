#include "olddata/OldPayeeStream.h"

#include <QtEndian>

#include <cstring>

namespace OldPayeeStream {

namespace {

constexpr quint64 kMultiplier = 0x9E3779B97F4A7C15ull;

quint64 mix(quint64 state, quint64 word)
{
    state = (state ^ word) * kMultiplier;
    return state ^ (state >> 29);
}

} // namespace

quint64 checksum(quint64 before, QByteArrayView bytes)
{
    const char *data = bytes.data();
    qsizetype left = bytes.size();
    quint64 state = before;
    for (; left >= 8; left -= 8, data += 8)
        state = mix(state, qFromLittleEndian<quint64>(data));
    quint64 tail = 0;
    if (left > 0)
        std::memcpy(&tail, data, std::size_t(left));
    // The length goes in too: a frame cut short of its zeros differs.
    return mix(state, qFromLittleEndian(tail) ^ (quint64(bytes.size()) << 56));
}

} // namespace OldPayeeStream
