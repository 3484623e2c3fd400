// The bash completion of tessarine-lookup, run by bash with the bash-completion framework loaded
// as an interactive shell loads it.
#include "LookupRun.h"

#include "support/DataFixtures.h"

#include <QFileInfo>

namespace {

const QString kFramework = QStringLiteral("/usr/share/bash-completion/bash_completion");

class LookupCompletionTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!QFileInfo::exists(kFramework))
            GTEST_SKIP() << "bash-completion is not installed";
    }
    // What completing the last of `words` offers; the program is found on the PATH.
    QStringList Complete(const QStringList& words) const {
        const QString script =
            QStringLiteral("source %1; source %2; PATH=%3:$PATH\n"
                           "COMP_WORDS=(\"$@\"); COMP_CWORD=$(($# - 1))\n"
                           "COMP_LINE=\"$*\"; COMP_POINT=${#COMP_LINE}\n"
                           "_tessarine_lookup tessarine-lookup \"${COMP_WORDS[COMP_CWORD]}\" "
                           "\"${COMP_WORDS[COMP_CWORD-1]}\"\n"
                           "printf '%s\\n' \"${COMPREPLY[@]}\"");
        QProcess bash;
        bash.start(
            QStringLiteral("bash"),
            QStringList{QStringLiteral("-c"),
                        script.arg(kFramework,
                                   QStringLiteral(TESSARINE_SOURCE_DIR "/packaging/bash-completion/"
                                                                       "tessarine-lookup"),
                                   QStringLiteral(TESSARINE_BIN_DIR)),
                        QStringLiteral("bash")} +
                words);
        EXPECT_TRUE(bash.waitForFinished(30000));
        EXPECT_EQ(bash.exitCode(), 0) << bash.readAllStandardError().toStdString();
        QStringList offered = QString::fromUtf8(bash.readAllStandardOutput()).split(u'\n');
        offered.removeAll(QString());
        offered.sort();
        return offered;
    }
};

TEST_F(LookupCompletionTest, OptionsAndTheCategoriesOfTheDictionary) {
    EXPECT_EQ(Complete({QStringLiteral("tessarine-lookup"), QStringLiteral("--ca")}),
              QStringList({QStringLiteral("--categories"), QStringLiteral("--category=")}));
    // The installed dictionary: in the build tree, the bundled one beside the program.
    const QStringList all =
        Complete({QStringLiteral("tessarine-lookup"), QStringLiteral("-c"), QString()});
    EXPECT_TRUE(all.contains(QStringLiteral("ハードウェア")));
    EXPECT_TRUE(all.contains(QStringLiteral("HW")));
    EXPECT_TRUE(all.contains(QStringLiteral("一般")));
    EXPECT_FALSE(all.contains(QString()));
    EXPECT_EQ(
        Complete({QStringLiteral("tessarine-lookup"), QStringLiteral("-c"), QStringLiteral("ネ")}),
        QStringList(QStringLiteral("ネットワーク")));

    // A dictionary named before -c is the one whose categories are offered.
    TestDictionary own;
    own.AddCategory(1, QStringLiteral("Storage media"), QStringLiteral("ST"));
    own.AddCategory(2, QStringLiteral("Standards"), QStringLiteral("STD"));
    own.AddEntry(QStringLiteral("CD"), QStringLiteral("Compact Disc"), 1);
    own.Finish();
    EXPECT_EQ(Complete({QStringLiteral("tessarine-lookup"), QStringLiteral("-d"), own.Path(),
                        QStringLiteral("--category"), QStringLiteral("S")}),
              QStringList({QStringLiteral("ST"), QStringLiteral("STD"), QStringLiteral("Standards"),
                           QStringLiteral("Storage media")}));
}

} // namespace
