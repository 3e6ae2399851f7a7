#pragma once

#include <QString>

// The name the program was started by, for --help, --version and the usage
// lines of the windowless commands: "Zenparol" beside its files, "mirvasel"
// when installed by the package.
namespace CommandName {

// The name in a program path as it was started (argv[0]).
QString of(const QString &startedAs);

// The running application's, before any argument parsing; the program's own
// name when there is no application yet.
QString started();

} // namespace CommandName
