#pragma once

#include <QString>

// The program's version information, compiled in from the build's project settings.
namespace AppInfo {

QString ProductName();      // "Tessarine 2000"
QString ApplicationTitle(); // "Corvantis Tessarine 2000"
QString Comments();         // the issue of the magazine the program accompanies
int VersionMajor();
int VersionMinor();
int VersionPatch();
int VersionRevision();

// The directory holding the executable, always ending in exactly one separator.
QString ApplicationDirectory(const QString& executableDir);

// The dictionary a program of ours opens when none is named: the ABBR.MDB beside the window
// program. Programs in PREFIX/bin find it in PREFIX/lib/tessarine/, where the window program and
// its dictionary are installed; in a build tree every program stands beside it.
QString InstalledDictionaryPath(const QString& executableDir);

} // namespace AppInfo
