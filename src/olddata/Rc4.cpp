#include "olddata/Rc4.h"

#include <array>
#include <utility>

namespace Rc4 {

QByteArray apply(QByteArrayView key, QByteArrayView data)
{
    std::array<unsigned char, 256> state{};
    for (int i = 0; i < 256; ++i)
        state[std::size_t(i)] = static_cast<unsigned char>(i);
    if (!key.isEmpty()) {
        unsigned j = 0;
        for (unsigned i = 0; i < 256; ++i) {
            j = (j + state[i] + static_cast<unsigned char>(key[qsizetype(i % unsigned(key.size()))])) & 0xFF;
            std::swap(state[i], state[j]);
        }
    }
    QByteArray out(data.size(), Qt::Uninitialized);
    unsigned i = 0;
    unsigned j = 0;
    for (qsizetype n = 0; n < data.size(); ++n) {
        i = (i + 1) & 0xFF;
        j = (j + state[i]) & 0xFF;
        std::swap(state[i], state[j]);
        const unsigned char stream = state[(state[i] + state[j]) & 0xFF];
        out[n] = char(static_cast<unsigned char>(data[n]) ^ stream);
    }
    return out;
}

} // namespace Rc4
