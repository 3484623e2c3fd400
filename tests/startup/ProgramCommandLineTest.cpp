// The real program's command line: what ends a start at once, how a named dictionary is found,
// and that a named file that cannot be used fails exactly as a bad ABBR.MDB beside the program.
#include "JetTestFiles.h"
#include "support/DataFixtures.h"
#include "window/ShellProcess.h"

#include <QLocalServer>
#include <QRegularExpression>
#include <functional>
#include <iostream>
#include <unistd.h>

namespace {
constexpr int kQuickExitMs = 8000;
const QStringList kNoDisplay{QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("DISPLAY"),
                             QStringLiteral("WAYLAND_DISPLAY")};

struct Outcome {
    int exitCode = -1;
    QString out;
    QString err;
};

Outcome Finish(QProcess* process) {
    Outcome outcome;
    EXPECT_TRUE(Ends(process, kQuickExitMs)) << "the start keeps running";
    EXPECT_EQ(process->exitStatus(), QProcess::NormalExit);
    outcome.exitCode = process->exitCode();
    outcome.out = QString::fromUtf8(process->readAllStandardOutput());
    outcome.err = QString::fromUtf8(process->readAllStandardError());
    return outcome;
}

// Waits until the copy listening at `socketPath` is up on `dictionary`.
bool ReadyOn(QProcess* process, const QString& socketPath, const QString& dictionary) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 30000) {
        if (ProgramCopy::Status(socketPath) ==
            "tessarine-2000 ready " + QUrl::toPercentEncoding(dictionary))
            return process->state() == QProcess::Running;
        if (process->waitForFinished(20) || process->state() == QProcess::NotRunning)
            return false;
    }
    return false;
}
} // namespace

class ProgramCommandLineTest : public ::testing::Test {
protected:
    // Runs the program to its end without any display.
    Outcome RunWithoutDisplay(const QStringList& arguments) {
        return Finish(copy_.Start(QStringLiteral(":0"), kNoDisplay, arguments));
    }
    Outcome Run(const QStringList& arguments) {
        return Finish(copy_.Start(QStringLiteral(":0"), {}, arguments));
    }
    // A copy of the bundled dictionary at `path`, folders made as needed.
    static void PutBundledAt(const QString& path) {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
        ASSERT_TRUE(QFile::copy(QStringLiteral(TESSARINE_BIN_DIR "/ABBR.MDB"), path));
    }

    ProgramCopy copy_;
};

TEST_F(ProgramCommandLineTest, HelpAndVersionNeedNoDisplayAndNeverAskARunningCopy) {
    // Whatever listens where a running copy would is never contacted.
    QLocalServer listener;
    ASSERT_TRUE(listener.listen(copy_.SocketPath()));

    const Outcome help = RunWithoutDisplay({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith(QStringLiteral("Usage: tessarine [OPTION]... [FILE]\n")))
        << help.out.toStdString();
    EXPECT_TRUE(help.out.contains(QStringLiteral("--dictionary=FILE")));
    EXPECT_TRUE(help.err.isEmpty()) << help.err.toStdString();

    const Outcome version = RunWithoutDisplay(
        {QStringLiteral("-d"), QStringLiteral("x.mdb"), QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.out.startsWith(QStringLiteral("tessarine (Tessarine 2000) 2.")))
        << version.out.toStdString();
    EXPECT_TRUE(version.out.contains(QStringLiteral("Copyright")));
    EXPECT_TRUE(version.err.isEmpty()) << version.err.toStdString();

    EXPECT_FALSE(listener.waitForNewConnection(200));
    EXPECT_FALSE(listener.hasPendingConnections());
}

// --version ends with the dictionary a start would open, named at the end of its links as the
// package's alternatives make them, with its entry count; a file that cannot be used is said so.
TEST_F(ProgramCommandLineTest, VersionNamesTheDictionaryAStartWouldOpen) {
    const QRegularExpression line(QStringLiteral("\nDictionary: (.+) \\((\\d+) entries\\)\n$"));
    const QString bundled =
        QFileInfo(QStringLiteral(TESSARINE_BIN_DIR "/ABBR.MDB")).canonicalFilePath();
    QTemporaryDir alternatives;
    ASSERT_TRUE(alternatives.isValid());
    const QString alternative = alternatives.filePath(QStringLiteral("tessarine-dictionary"));
    ASSERT_TRUE(QFile::link(bundled, alternative));
    ASSERT_TRUE(QFile::link(alternative, copy_.DictionaryPath()));

    const Outcome own = RunWithoutDisplay({QStringLiteral("--version")});
    EXPECT_EQ(own.exitCode, 0);
    const QRegularExpressionMatch beside = line.match(own.out);
    ASSERT_TRUE(beside.hasMatch()) << own.out.toStdString();
    EXPECT_EQ(beside.captured(1), bundled);
    EXPECT_GE(beside.captured(2).toInt(), 80);

    auto dict = TestDictionary::Standard();
    const Outcome named =
        RunWithoutDisplay({QStringLiteral("-d"), dict->Path(), QStringLiteral("--version")});
    EXPECT_TRUE(named.out.endsWith(QStringLiteral("\nDictionary: %1 (7 entries)\n")
                                       .arg(QFileInfo(dict->Path()).canonicalFilePath())))
        << named.out.toStdString();

    ASSERT_TRUE(QFile::remove(alternative));
    const Outcome dangling = RunWithoutDisplay({QStringLiteral("--version")});
    EXPECT_EQ(dangling.exitCode, 0);
    EXPECT_TRUE(dangling.out.endsWith(
        QStringLiteral("\nDictionary: %1 (cannot be opened as a dictionary)\n")
            .arg(copy_.DictionaryPath())))
        << dangling.out.toStdString();
    EXPECT_TRUE(dangling.err.isEmpty()) << dangling.err.toStdString();
}

TEST_F(ProgramCommandLineTest, AWrongCommandLineGivesOneLineAndTheUsageAndStatusTwo) {
    QLocalServer listener;
    ASSERT_TRUE(listener.listen(copy_.SocketPath()));
    const struct {
        QStringList arguments;
        const char* error;
    } cases[] = {
        {{QStringLiteral("--bogus")}, "tessarine: unrecognized option '--bogus'"},
        {{QStringLiteral("-d")}, "tessarine: option requires an argument -- 'd'"},
        {{QStringLiteral("--dictionary")}, "tessarine: option '--dictionary' requires an argument"},
        {{QStringLiteral("a.mdb"), QStringLiteral("b.mdb")},
         "tessarine: only one dictionary may be named; 'b.mdb' follows 'a.mdb'"},
    };
    for (const auto& c : cases) {
        const Outcome outcome = RunWithoutDisplay(c.arguments);
        EXPECT_EQ(outcome.exitCode, 2) << c.error;
        EXPECT_TRUE(outcome.out.isEmpty()) << c.error;
        const QStringList lines = outcome.err.split(u'\n');
        ASSERT_GE(lines.size(), 2) << c.error;
        EXPECT_EQ(lines[0], QString::fromUtf8(c.error));
        EXPECT_TRUE(lines[1].startsWith(QStringLiteral("Usage: tessarine "))) << c.error;
    }
    EXPECT_FALSE(listener.waitForNewConnection(200));
}

TEST_F(ProgramCommandLineTest, ANamedDictionaryWithSpacesAndJapaneseOpensInsteadOfTheOneBeside) {
    // Nothing beside the program: only the named file can make it start.
    const QString named =
        QDir(copy_.TempDir()).filePath(QStringLiteral("辞書 フォルダ/my dict.mdb"));
    PutBundledAt(named);
    for (const QStringList& arguments :
         {QStringList{QStringLiteral("-d"), named},
          QStringList{QStringLiteral("--dictionary=") + named}, QStringList{named}}) {
        QProcess* program = copy_.Start(QStringLiteral(":0"), {}, arguments);
        EXPECT_TRUE(ReadyOn(program, copy_.SocketPath(), named))
            << program->readAllStandardError().toStdString();
        program->kill();
        program->waitForFinished(5000);
    }
}

TEST_F(ProgramCommandLineTest, ARelativeNameWithALeadingDashAfterTheDoubleDash) {
    // The program starts in the temporary folder: the name is relative to it.
    const QString named = QDir(copy_.TempDir()).filePath(QStringLiteral("-odd name.mdb"));
    PutBundledAt(named);
    QProcess* program = copy_.Start(QStringLiteral(":0"), {},
                                    {QStringLiteral("--"), QStringLiteral("-odd name.mdb")});
    EXPECT_TRUE(ReadyOn(program, copy_.SocketPath(), named))
        << program->readAllStandardError().toStdString();
}

TEST_F(ProgramCommandLineTest, ANamedJetFileOpensAsWell) {
    const QString named = QDir(copy_.TempDir()).filePath(QStringLiteral("old dictionary.mdb"));
    ASSERT_TRUE(JetDictionary::Standard().Writer().WriteTo(named));
    QProcess* program = copy_.Start(QStringLiteral(":0"), {}, {QStringLiteral("-d"), named});
    EXPECT_TRUE(ReadyOn(program, copy_.SocketPath(), named))
        << program->readAllStandardError().toStdString();
}

TEST_F(ProgramCommandLineTest, ANamedFileThatCannotBeUsedFailsAsABadFileBesideTheProgram) {
    const QString named = QDir(copy_.TempDir()).filePath(QStringLiteral("named.mdb"));
    const QString beside = copy_.DictionaryPath();
    // Each way of being unusable, made once at the named place and once beside the program.
    const struct {
        const char* what;
        std::function<void(const QString&)> make;
    } cases[] = {
        {"missing", [](const QString&) {}},
        {"a directory", [](const QString& path) { ASSERT_TRUE(QDir().mkdir(path)); }},
        {"not a dictionary",
         [](const QString& path) { ASSERT_TRUE(WriteWholeFile(path, "just some text\n")); }},
        {"empty", [](const QString& path) { ASSERT_TRUE(WriteWholeFile(path, QByteArray())); }},
        {"unreadable",
         [](const QString& path) {
             PutBundledAt(path);
             ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::WriteOwner));
         }},
    };
    for (const auto& c : cases) {
        if (QByteArray(c.what) == "unreadable" && ::geteuid() == 0) {
            std::cout << "[ SKIPPED  ] unreadable: root reads every file\n";
            continue;
        }
        c.make(named);
        c.make(beside);
        const Outcome viaName = Run({QStringLiteral("-d"), named});
        const Outcome viaBeside = Run({});
        EXPECT_EQ(viaName.exitCode, 1) << c.what;
        EXPECT_EQ(viaName.exitCode, viaBeside.exitCode) << c.what;
        EXPECT_TRUE(viaName.err.contains(QStringLiteral("データベースが開けません"))) << c.what;
        // Each names its own file on the error output, and says the same of it.
        EXPECT_EQ(QString(viaName.err).replace(named, QStringLiteral("FILE")),
                  QString(viaBeside.err).replace(beside, QStringLiteral("FILE")))
            << c.what;
        EXPECT_EQ(viaName.out, viaBeside.out) << c.what;
        for (const QString& path : {named, beside}) {
            QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            QFile::remove(path);
            QDir().rmdir(path);
        }
    }
}

// Besides the box, a dictionary that cannot be used is named on the error output in one line,
// with the reason in the words of the system, SQLite or libmdb.
TEST_F(ProgramCommandLineTest, AFileThatCannotBeUsedIsNamedOnTheErrorOutputWithTheReason) {
    const QString named = QDir(copy_.TempDir()).filePath(QStringLiteral("named.mdb"));
    QFile bundled(QStringLiteral(TESSARINE_BIN_DIR "/ABBR.MDB"));
    ASSERT_TRUE(bundled.open(QIODevice::ReadOnly));
    const QByteArray whole = bundled.readAll();
    const struct {
        const char* reason;
        std::function<void()> make;
    } cases[] = {
        {"no such file", [] {}},
        {"is a directory", [&] { ASSERT_TRUE(QDir().mkdir(named)); }},
        {"file is empty", [&] { ASSERT_TRUE(WriteWholeFile(named, QByteArray())); }},
        {"file is truncated", [&] { ASSERT_TRUE(WriteWholeFile(named, whole.left(8192))); }},
        {"file is not a database",
         [&] { ASSERT_TRUE(WriteWholeFile(named, "just some text, long enough\n")); }},
        {"no table CategoryTB with a column Category",
         [&] {
             TestDictionary other;
             other.Finish();
             other.Execute("DROP TABLE CategoryTB");
             ASSERT_TRUE(QFile::copy(other.Path(), named));
         }},
        // A Jet file cut after its header page: libmdb's reading fails one way or another.
        {"libmdb ",
         [&] {
             JetDictionary jet = JetDictionary::Standard();
             ASSERT_TRUE(WriteWholeFile(named, jet.Writer().Build().left(4096)));
         }},
    };
    for (const auto& c : cases) {
        c.make();
        const Outcome outcome = Run({QStringLiteral("-d"), named});
        EXPECT_EQ(outcome.exitCode, 1) << c.reason;
        const QString line =
            QStringLiteral("tessarine: %1: %2").arg(named, QLatin1String(c.reason));
        EXPECT_TRUE(outcome.err.contains(line)) << outcome.err.toStdString();
        EXPECT_TRUE(outcome.err.contains(QStringLiteral("データベースが開けません")) ||
                    outcome.err.contains(QStringLiteral("不正なデータベースです")))
            << "the box is still shown: " << outcome.err.toStdString();
        QFile::remove(named);
        QDir().rmdir(named);
    }
}
