// The build tools' command lines: --help answers with the usage, an unknown option is refused,
// and no option is ever taken for a file name.
#include "base/ToolArguments.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using Outcome = ToolArguments::Outcome;

ToolArguments ParseToolArguments(const QStringList& arguments, int minOperands, int maxOperands) {
    return ToolCommandLine(QStringLiteral("tool"), QStringLiteral("FILE..."))
        .Operands(minOperands, maxOperands)
        .Parse(arguments);
}

TEST(ToolArgumentsTest, OperandsOptionsAndTheEndOfOptions) {
    EXPECT_EQ(ParseToolArguments({"a", "b"}, 2, 2).operands, (QStringList{"a", "b"}));
    EXPECT_EQ(ParseToolArguments({"--help", "a"}, 1, 1).outcome, Outcome::Help);
    EXPECT_EQ(ParseToolArguments({"a", "-h"}, 1, 1).outcome, Outcome::Help);

    const ToolArguments unknown = ParseToolArguments({"--verbose", "a"}, 1, 1);
    EXPECT_EQ(unknown.outcome, Outcome::Error);
    EXPECT_EQ(unknown.error, QStringLiteral("unknown option --verbose"));

    const ToolArguments dashed = ParseToolArguments({"--", "--help", "-"}, 2, 2);
    EXPECT_EQ(dashed.outcome, Outcome::Run);
    EXPECT_EQ(dashed.operands, (QStringList{"--help", "-"})) << "after --, and a lone -, are files";
}

TEST(ToolArgumentsTest, TheNumberOfOperandsIsChecked) {
    EXPECT_EQ(ParseToolArguments({"a"}, 2, 2).outcome, Outcome::Error);
    EXPECT_EQ(ParseToolArguments({"a", "b", "c"}, 1, 2).outcome, Outcome::Error);
    EXPECT_EQ(ParseToolArguments({"a"}, 1, 2).outcome, Outcome::Run);
}

struct ToolRun {
    int exitCode;
    QString out;
    QString err;
};

ToolRun RunTool(const char* tool, const QStringList& arguments, const QString& dir) {
    QProcess process;
    process.setWorkingDirectory(dir);
    process.start(QStringLiteral(TESSARINE_BIN_DIR "/") + QLatin1String(tool), arguments);
    EXPECT_TRUE(process.waitForFinished(60000)) << tool;
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// A tool asked for help answers and writes nothing; an unknown option is refused with status 2.
TEST(ToolArgumentsTest, EveryToolAnswersHelpAndRefusesUnknownOptions) {
    for (const char* tool : {"tessarine-mkdict", "tessarine-gendict", "tessarine-queryplan",
                             "tessarine-dictd", "tessarine-export"}) {
        SCOPED_TRACE(tool);
        if (!QFileInfo::exists(QStringLiteral(TESSARINE_BIN_DIR "/") + QLatin1String(tool)))
            continue; // a build without the benchmarks has no gendict or queryplan
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const ToolRun help = RunTool(tool, {QStringLiteral("--help")}, dir.path());
        EXPECT_EQ(help.exitCode, 0);
        EXPECT_TRUE(help.out.contains(QStringLiteral("usage: ") + QLatin1String(tool)))
            << help.out.toStdString();
        const ToolRun wrong =
            RunTool(tool, {QStringLiteral("--bogus"), QStringLiteral("x"), QStringLiteral("y")},
                    dir.path());
        EXPECT_EQ(wrong.exitCode, 2);
        EXPECT_TRUE(wrong.err.contains(QStringLiteral("--bogus"))) << wrong.err.toStdString();
        EXPECT_TRUE(QDir(dir.path()).isEmpty()) << "a tool wrote a file when it should not";
    }
}

} // namespace
