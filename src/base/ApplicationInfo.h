#pragma once

#include <QString>

namespace ApplicationInfo {

// Shown on the task bar, as the tray tip and as the caption of error boxes.
inline QString title() { return QStringLiteral("Mirvasel"); }
inline QString version() { return QStringLiteral("2.0.1"); }
inline QString mainWindowCaption() { return QStringLiteral("Mirvasel Belgesi ") + version(); }
// The program's executable, as the command line names it.
inline QString programName() { return QStringLiteral("Zenparol"); }

// The settings file, the payee database and the help document, all in the
// program folder.
inline QString settingsFileName() { return QStringLiteral("Zenparol.ini"); }
inline QString databaseFileName() { return QStringLiteral("Data.dat"); }
inline QString helpFileName() { return QStringLiteral("ZENPAROL.html"); }
// The compacted database being built beside the database; after an
// interrupted compaction the only copy of the payees may be in it.
inline QString compactionFileName() { return QStringLiteral("Yedek.dat"); }

// The maker's web site, shown by the tool bar link and the about box.
inline QString makerWebAddress() { return QStringLiteral("www.mirvasel.com.tr"); }
inline QString makerSupportAddress() { return QStringLiteral("destek.mirvasel.com.tr"); }

} // namespace ApplicationInfo
