#pragma once

#include "olddata/OldDatabaseFile.h"

#include <QByteArray>

#include <optional>

// What the reading child hands its parent on standard output: the outcome of
// OldDatabaseFile::read, framed by a mark, its length and its MD5 digest, so
// that a child that ran into a damaged file and wrote anything else (half an
// answer, garbage, a sanitizer's report) is never taken for an answer.
namespace OldPayeeStream {

QByteArray encode(const OldDatabaseFile::Outcome &outcome);

// Nothing unless bytes are exactly one whole, unaltered answer.
std::optional<OldDatabaseFile::Outcome> decode(const QByteArray &bytes);

} // namespace OldPayeeStream
