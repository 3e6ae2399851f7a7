#pragma once

#include "olddata/OldDatabaseFile.h"
#include "registry/PayeeBulkInsert.h"

#include <QByteArray>
#include <QByteArrayView>

#include <functional>

// The parent's side of OldPayeeStream: takes the child's output in pieces
// as they arrive and hands each row on as soon as it is whole. The rows
// are only good once state() is Ended: the caller keeps them apart (a
// staging file, a list of its own) until then.
class OldPayeeStreamReader
{
public:
    // The row's texts lie in the reader's buffer for the call only. False
    // stops the reading.
    using RowSink = std::function<bool(PaymentCategory category, const PayeeUtf8Fields &fields)>;

    enum class State {
        Reading, // waiting for more
        Ended, // the end frame came and agrees with what came before
        NotAnAnswer, // bytes that are no answer, or more after its end
        Stopped, // the row sink said stop
    };

    explicit OldPayeeStreamReader(RowSink sink);

    // The next piece of the output. False once the state is neither
    // Reading nor Ended.
    bool feed(QByteArrayView bytes);
    State state() const { return m_state; }
    // The outcome the end frame carries, its rows counted (no rows in it).
    const OldDatabaseFile::Outcome &outcome() const { return m_outcome; }

private:
    // The frame at m_position when it is there whole: its length, or 0
    // when more must come, or -1 for no frame.
    qsizetype takeFrame();

    RowSink m_sink;
    State m_state = State::Reading;
    bool m_markSeen = false;
    QByteArray m_buffer;
    qsizetype m_position = 0;
    quint64 m_checksum;
    std::array<qint64, kCategoryCount> m_rows{};
    OldDatabaseFile::Outcome m_outcome;
};
