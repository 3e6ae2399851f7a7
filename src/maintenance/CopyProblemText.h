#pragma once

#include "registry/DatabaseCopy.h"

#include <QString>

// Why a copy of the database went wrong, in Turkish, as the part of a
// message that follows "...: ". The copy's target is named where the
// problem lies with it.
namespace CopyProblemText {

QString reason(DatabaseCopy::Problem problem, const QString &detail, const QString &sourcePath,
               const QString &targetPath);

// A path as the user knows it, with the system's separators.
QString shown(const QString &path);

} // namespace CopyProblemText
