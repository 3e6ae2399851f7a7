#include "registry/CopyTarget.h"

#include "registry/PayeeDatabase.h"
#include "registry/TurkishCollation.h"

#include <QFile>
#include <QFileInfo>

namespace CopyTarget {

using SqlFailure = SqlCipherConnection::Failure;
using Error = SqlCipherConnection::Error;
using Statement = SqlCipherConnection::Statement;
using DatabaseCopy::Problem;

QString name()
{
    return QStringLiteral("copy_target");
}

namespace {

QString journalOf(const QString &path)
{
    return path + QStringLiteral("-journal");
}

} // namespace

bool inTheWay(const QString &target)
{
    return QFileInfo::exists(target) || QFileInfo::exists(journalOf(target));
}

void remove(const QString &target)
{
    QFile::remove(target);
    QFile::remove(journalOf(target));
}

QString quoted(const QString &identifier)
{
    QString text = identifier;
    text.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

Error openKeyed(SqlCipherConnection &connection, const QString &path)
{
    Error error = connection.open(path, PayeeDatabase::password());
    if (!error.isError())
        error = connection.registerCollation(TurkishCollation::kName, TurkishCollation::compareUtf8);
    if (error.isError())
        connection.close();
    return error;
}

Problem sourceProblem(SqlFailure failure)
{
    switch (failure) {
    case SqlFailure::None:
        return Problem::None;
    case SqlFailure::Missing:
        return Problem::SourceMissing;
    case SqlFailure::NotADatabase:
        return Problem::SourceNotOurs;
    case SqlFailure::Busy:
        return Problem::SourceLocked;
    case SqlFailure::Corrupt:
        return Problem::SourceDamaged;
    default:
        return Problem::SourceUnreadable;
    }
}

// A failure while the source is read and the target written: reading can
// only find damage or a lock, writing a full disk or a refusal.
Problem copyProblem(SqlFailure failure)
{
    switch (failure) {
    case SqlFailure::None:
        return Problem::None;
    case SqlFailure::Corrupt:
        return Problem::SourceDamaged;
    case SqlFailure::Busy:
        return Problem::SourceLocked;
    case SqlFailure::AlreadyExists:
        return Problem::TargetExists;
    case SqlFailure::DiskFull:
        return Problem::TargetDiskFull;
    default:
        return Problem::TargetUnwritable;
    }
}

Error attach(SqlCipherConnection &connection, const QString &target)
{
    // ATTACH opens files with the source's flags, which never create one:
    // the target starts as an empty file, which the engine takes for an
    // empty database. Made here, it cannot be someone else's file.
    QFile empty(target);
    if (!empty.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        const SqlFailure failure = QFileInfo::exists(target) ? SqlFailure::AlreadyExists : SqlFailure::Io;
        return {failure, 0, empty.errorString()};
    }
    empty.close();
    // Keyed with the engine's defaults, which are the settings of our files
    // with either SQLCipher major version (SqlCipherConnection).
    Statement attach = connection.prepare(QStringLiteral("ATTACH DATABASE ?1 AS %1 KEY ?2").arg(name()));
    attach.bindText(1, target);
    attach.bindText(2, QString::fromLatin1(PayeeDatabase::password()));
    return attach.run();
}

void detach(SqlCipherConnection &connection)
{
    if (connection.inTransaction())
        (void)connection.execute(QStringLiteral("ROLLBACK"));
    (void)connection.execute(QStringLiteral("DETACH DATABASE %1").arg(name()));
}

} // namespace CopyTarget
