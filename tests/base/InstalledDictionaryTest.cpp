// Where the programs look for the dictionary when none is named: beside themselves in a build
// tree, in PREFIX/lib/tessarine/ when installed in PREFIX/bin.
#include "base/AppInfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void Touch(const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

TEST(InstalledDictionaryTest, BesideTheProgramFirstThenTheInstalledFolder) {
    QTemporaryDir prefix;
    ASSERT_TRUE(prefix.isValid());
    const QString bin = prefix.filePath(QStringLiteral("bin"));
    const QString installed = prefix.filePath(QStringLiteral("lib/tessarine/ABBR.MDB"));
    QDir().mkpath(bin);

    // Neither exists: the file beside the program is named, so that messages speak of it.
    EXPECT_EQ(AppInfo::InstalledDictionaryPath(bin), bin + QStringLiteral("/ABBR.MDB"));

    Touch(installed);
    EXPECT_EQ(AppInfo::InstalledDictionaryPath(bin), installed);

    // A dictionary beside the program (a build tree) wins over the installed one.
    Touch(bin + QStringLiteral("/ABBR.MDB"));
    EXPECT_EQ(AppInfo::InstalledDictionaryPath(bin + QStringLiteral("/")),
              bin + QStringLiteral("/ABBR.MDB"));
}

} // namespace
