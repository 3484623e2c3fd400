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

// The first line of a program's --version: "PROGRAM (Tessarine 2000) 2.2.0.2" and a line end.
QString VersionLine(const QString& program);

// The directory holding the executable, always ending in exactly one separator.
QString ApplicationDirectory(const QString& executableDir);

// The dictionary a program of ours opens when none is named: the ABBR.MDB beside the window
// program. Programs in PREFIX/bin find it in PREFIX/lib/tessarine/, where the window program and
// its dictionary are installed; in a build tree every program stands beside it.
QString InstalledDictionaryPath(const QString& executableDir);

} // namespace AppInfo
