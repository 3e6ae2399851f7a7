#pragma once

#include "registry/DatabaseCopy.h"
#include "registry/SqlCipherConnection.h"

#include <QString>

// What the copy and the salvage of a whole database file share: the source
// opened with the payee database's password and the Turkish collation, the
// target attached to the source's connection as a file of its own making,
// and the Problem a failure of either is.
namespace CopyTarget {

// The name the target is attached under on the source's connection.
QString name();

// The target, or a journal of it, is already there.
bool inTheWay(const QString &target);
// The target and its journal, after a copy that did not finish.
void remove(const QString &target);

// An identifier quoted for SQL.
QString quoted(const QString &identifier);

SqlCipherConnection::Error openKeyed(SqlCipherConnection &connection, const QString &path);
// Creates the target as a new empty file and attaches it, keyed.
SqlCipherConnection::Error attach(SqlCipherConnection &connection, const QString &target);
// Rolls back what is still open and detaches the target.
void detach(SqlCipherConnection &connection);

// A failure to open or read the source.
DatabaseCopy::Problem sourceProblem(SqlCipherConnection::Failure failure);
// A failure while the source is read and the target written: reading can
// only find damage or a lock, writing a full disk or a refusal.
DatabaseCopy::Problem copyProblem(SqlCipherConnection::Failure failure);

} // namespace CopyTarget
