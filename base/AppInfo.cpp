#include "base/AppInfo.h"

#include <QDir>
#include <QFileInfo>

namespace AppInfo {

QString ProductName() {
    return QStringLiteral(TESSARINE_PRODUCT_NAME);
}
QString ApplicationTitle() {
    return QStringLiteral(TESSARINE_APP_TITLE);
}
QString Comments() {
    return QString::fromUtf8(TESSARINE_COMMENTS);
}
int VersionMajor() {
    return TESSARINE_VERSION_MAJOR;
}
int VersionMinor() {
    return TESSARINE_VERSION_MINOR;
}
int VersionPatch() {
    return TESSARINE_VERSION_PATCH;
}
int VersionRevision() {
    return TESSARINE_VERSION_TWEAK;
}

QString VersionLine(const QString& program) {
    return QStringLiteral("%1 (%2) %3.%4.%5.%6\n")
        .arg(program, ProductName())
        .arg(VersionMajor())
        .arg(VersionMinor())
        .arg(VersionPatch())
        .arg(VersionRevision());
}

QString ApplicationDirectory(const QString& executableDir) {
    QString dir = QDir::fromNativeSeparators(executableDir);
    // A root directory is reported with its separator already in place.
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

QString InstalledDictionaryPath(const QString& executableDir) {
    const QString dir = ApplicationDirectory(executableDir);
    const QString beside = dir + QStringLiteral("ABBR.MDB");
    if (QFileInfo::exists(beside))
        return beside;
    const QString installed = QDir::cleanPath(dir + QStringLiteral("../lib/tessarine/ABBR.MDB"));
    // Where neither exists, name the file beside the program: that is what the messages speak of.
    return QFileInfo::exists(installed) ? installed : beside;
}

} // namespace AppInfo
