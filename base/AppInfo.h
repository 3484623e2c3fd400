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

} // namespace AppInfo
