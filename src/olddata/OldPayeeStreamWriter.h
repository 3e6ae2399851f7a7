#pragma once

#include "olddata/OldDatabaseFile.h"
#include "registry/PayeeBulkInsert.h"

#include <QByteArray>

// The reading child's side of OldPayeeStream: the mark, a frame for each
// row and the end frame, collected in bytes() for the child to write out
// whenever it likes.
class OldPayeeStreamWriter
{
public:
    OldPayeeStreamWriter();

    void row(PaymentCategory category, const PayeeUtf8Fields &fields);
    void end(const OldDatabaseFile::Outcome &outcome);

    // Written and not yet taken away; the child clears it once sent.
    QByteArray &bytes() { return m_bytes; }

private:
    void close(qsizetype frameStart);

    QByteArray m_bytes;
    quint64 m_checksum;
};
