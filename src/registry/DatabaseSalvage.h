#pragma once

#include "registry/DatabaseCopy.h"

#include <QString>

namespace DatabaseCopy {

struct Salvage
{
    Problem problem = Problem::None;
    QString detail;
    qint64 recovered = 0; // rows written into the target
    qint64 lost = 0; // rows that could not be read
    // False when a damaged part of a table could be skipped but not counted
    // (no intact index tells which rows it held): then lost is a lower bound.
    bool lostExact = true;

    bool succeeded() const { return problem == Problem::None; }
};

// Writes what can still be read of a damaged source into target, which must
// not exist: every table row by row, stepping over the pages that cannot be
// read, then its indexes, views and triggers rebuilt from the rows. Fails
// only when the source's schema itself cannot be read or the target cannot
// be written.
Salvage salvage(const QString &source, const QString &target);

} // namespace DatabaseCopy
