// tessarine-lookup on everything a user, a script or a damaged file can hand it: each gets a clear
// message and its exit status, the dictionary is never written, and no GUI library is loaded.
#include "LookupRun.h"

#include "data/DbAccess.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>
#include <functional>
#include <iostream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class LookupBadInputTest : public LookupSuite<&TestDictionary::Standard> {
protected:
    // The text the window shows for the file, from the reason the data layer gives.
    static QString WindowMessageFor(const QString& path) {
        EXPECT_EQ(OpenForTest(path), 0);
        const QString message = DbAccess::OpenFailureMessage(TestDb().Failure());
        TestDb().Close();
        return message;
    }
};

TEST_F(LookupBadInputTest, UsageErrorsSayWhatIsWrongAndExitWithTwo) {
    const struct {
        QStringList arguments;
        const char* error;
    } cases[] = {
        {{}, "no KEY given"},
        {{QStringLiteral("--bogus"), QStringLiteral("cpu")}, "Unknown option 'bogus'"},
        {{QStringLiteral("-c")}, "Missing value after '-c'"},
        {{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}, "too many arguments"},
        {{QStringLiteral("--list"), QStringLiteral("--json"), QStringLiteral("cpu")},
         "--list and --json exclude one another"},
        {{QStringLiteral("--full-text"), QStringLiteral("--annotate")}, "exclude one another"},
        {{QStringLiteral("--full-text")}, "needs the TERMS"},
        {{QStringLiteral("-c"), QStringLiteral("HW"), QStringLiteral("--annotate")},
         "-c applies to a search by KEY only"},
        {{QStringLiteral("-c"), QStringLiteral("  "), QStringLiteral("cpu")},
         "the category name is empty"},
        {{QString(), QString()}, "nothing to search for"},
        {{QString(100000, QLatin1Char('A'))}, "at most 1000 characters"},
        {{QStringLiteral("cpu"), QString(1001, QLatin1Char('e'))}, "at most 1000 characters"},
    };
    for (const auto& c : cases) {
        const LookupResult result = Lookup(c.arguments);
        EXPECT_EQ(result.status, 2) << c.error;
        EXPECT_TRUE(result.out.isEmpty()) << c.error;
        EXPECT_TRUE(result.Err().contains(QString::fromUtf8(c.error))) << result.err.toStdString();
    }
    EXPECT_TRUE(Lookup({QStringLiteral("--bogus")}).Err().contains(QStringLiteral("Usage:")));

    const LookupResult help = runner_.Run({QStringLiteral("--help")});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.Out().startsWith(QStringLiteral("Usage: tessarine-lookup [OPTION]... KEY")));
    // --version names the dictionary a lookup would use, as the window program's does.
    const LookupResult version = Lookup({QStringLiteral("--version")});
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(version.Out().startsWith(QStringLiteral("tessarine-lookup (Tessarine 2000) 2.")));
    EXPECT_TRUE(
        version.Out().endsWith(QStringLiteral("\nDictionary: %1 (7 entries)\n")
                                   .arg(QFileInfo(dictionary_->Path()).canonicalFilePath())))
        << version.out.toStdString();
}

TEST_F(LookupBadInputTest, HostileKeysAndLettersAreSearchedAsText) {
    // Quotes, the wildcards of other engines and an unclosed "[": nothing found, nothing broken.
    for (const char* letter : {"o'clock'--", "%", "_", "[", "\"; DROP TABLE AbbrTB; --", "a]b"}) {
        const LookupResult result = Lookup({QString(), QString::fromUtf8(letter)});
        EXPECT_EQ(result.status, 1) << letter;
        EXPECT_TRUE(result.out.isEmpty()) << letter;
    }
    EXPECT_EQ(Lookup({QString(), QStringLiteral("o'clock")}).Out(),
              QStringLiteral("o'clock\no'clock\no'clock plain\n"));
    // A key that holds nothing to search for says so.
    const LookupResult kana = Lookup({QStringLiteral("かな")});
    EXPECT_EQ(kana.status, 1);
    EXPECT_TRUE(kana.Err().contains(QStringLiteral("has no letters or digits")))
        << kana.err.toStdString();
    // $'CP*\0U' reaches a program as "CP*": the C string ends at the NUL.
    const LookupResult nul =
        runner_.Shell(QStringLiteral("\"$0\" -d \"$1\" --list $'CP*\\0U'"), {dictionary_->Path()});
    EXPECT_EQ(nul.status, 0);
    EXPECT_EQ(nul.Out(), QStringLiteral("CPU\tCentral Processing Unit\n"));
    // Bytes that are not UTF-8 cannot be a search text.
    const LookupResult latin1 = runner_.Shell(
        QStringLiteral("\"$0\" -d \"$1\" \"$(printf 'CP\\377U')\""), {dictionary_->Path()});
    EXPECT_EQ(latin1.status, 2);
    EXPECT_TRUE(latin1.Err().contains(QStringLiteral("is not valid UTF-8")))
        << latin1.err.toStdString();
}

TEST_F(LookupBadInputTest, AnUnusableDictionaryGivesTheWindowsMessageAndStatusThree) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ABBR.MDB"));
    const struct {
        const char* what;
        std::function<void()> make;
    } cases[] = {
        {"missing", [] {}},
        {"a directory", [&] { ASSERT_TRUE(QDir().mkdir(path)); }},
        {"a FIFO", [&] { ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0); }},
        {"not a dictionary",
         [&] {
             QFile f(path);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
             f.write("just some text\n");
         }},
        {"truncated",
         [&] {
             QFile source(dictionary_->Path());
             ASSERT_TRUE(source.open(QIODevice::ReadOnly));
             QFile f(path);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
             f.write(source.read(source.size() / 2));
         }},
        {"unreadable",
         [&] {
             ASSERT_TRUE(QFile::copy(dictionary_->Path(), path));
             ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::WriteOwner));
         }},
    };
    for (const auto& c : cases) {
        if (QByteArray(c.what) == "unreadable" && ::geteuid() == 0) {
            std::cout << "[ SKIPPED  ] unreadable: root reads every file\n";
            continue;
        }
        c.make();
        const QString message = WindowMessageFor(path);
        EXPECT_FALSE(message.isEmpty()) << c.what;
        const LookupResult result =
            runner_.Run({QStringLiteral("-d"), path, QStringLiteral("cpu")}, {}, 15000);
        EXPECT_EQ(result.status, 3) << c.what;
        EXPECT_TRUE(result.out.isEmpty()) << c.what;
        EXPECT_EQ(result.Err(), QStringLiteral("tessarine-lookup: %1: %2\n").arg(path, message))
            << c.what;
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QFile::remove(path);
        QDir().rmdir(path);
    }
}

TEST_F(LookupBadInputTest, BinaryAndHugeInputToAnnotate) {
    const LookupResult binary =
        Lookup({QStringLiteral("--annotate")}, QByteArray("CPU and RAM\0\x01\x02 PCI", 19));
    EXPECT_EQ(binary.status, 2);
    EXPECT_TRUE(binary.Err().contains(QStringLiteral("stdin: binary data, not text")))
        << binary.err.toStdString();

    // 50 MB of text, read a piece at a time: every abbreviation once, wherever it stands.
    QByteArray text;
    const QByteArray line = "The CPU moves data from RAM without any help, all day long.\n";
    text.reserve(50 << 20);
    while (text.size() < (50 << 20) - 200)
        text += line;
    text += "At the very end: TCP/IP.";
    const LookupResult huge = Lookup({QStringLiteral("--annotate")}, text);
    EXPECT_EQ(huge.status, 0) << huge.err.toStdString();
    EXPECT_EQ(huge.Out(), QStringLiteral("CPU\tCPU\tCentral Processing Unit\t\n"
                                         "RAM\tRAM\tRandom Access Memory\t\n"
                                         "TCP/IP\tTCP/IP\tTransmission Control Protocol/Internet "
                                         "Protocol\t\n"));

    // Text that is not UTF-8 is read with its bad bytes replaced; a missing file is named.
    const LookupResult latin1 = Lookup({QStringLiteral("--annotate")}, "caf\xe9 CPU\n");
    EXPECT_EQ(latin1.status, 0);
    EXPECT_TRUE(latin1.Out().startsWith(QStringLiteral("CPU\tCPU\t")));
    const LookupResult missing =
        Lookup({QStringLiteral("--annotate"), QStringLiteral("/nonexistent/text")});
    EXPECT_EQ(missing.status, 2);
    EXPECT_TRUE(missing.Err().contains(QStringLiteral("/nonexistent/text")));
}

TEST_F(LookupBadInputTest, AClosedOutputEndsTheProgramQuietly) {
    // 500 entries of a kilobyte each: far more than a pipe holds once its reader has gone.
    TestDictionary many;
    many.AddCategory(1, QStringLiteral("一般"), QString(""));
    for (qint32 id = 1; id <= 600; ++id) {
        DictionaryWriter::Entry e;
        e.id = id;
        e.abbr = QStringLiteral("A%1").arg(id, 3, 10, QLatin1Char('0'));
        e.key = e.abbr;
        e.letter = QStringLiteral("Entry %1").arg(id);
        e.categoryId = 1;
        e.hyperText = QStringLiteral("text");
        e.description = QString(1000, QLatin1Char('x'));
        many.AddEntry(e);
    }
    many.Finish();
    const QString stderrFile = runner_.CacheDir() + QStringLiteral("/stderr");
    for (const char* format : {"--list", "--json", "--no-format"}) {
        const QString option =
            QByteArray(format) == "--no-format" ? QString() : QString::fromLatin1(format);
        const LookupResult result = runner_.Shell(
            QStringLiteral("\"$0\" -d \"$1\" $3 'A*' 2>\"$2\" | head -n 1 >/dev/null; "
                           "status=${PIPESTATUS[0]}; cat \"$2\"; exit $status"),
            {many.Path(), stderrFile, option});
        EXPECT_EQ(result.status, 0) << format;
        // --list ends with its count, the listing limit; nothing else is said.
        EXPECT_EQ(result.Out().contains(QStringLiteral("500件\n")), option == "--list") << format;
        const QString said = result.Out().remove(QStringLiteral("500件\n"));
        EXPECT_TRUE(said.isEmpty()) << format << ": " << said.toStdString();
    }
}

TEST_F(LookupBadInputTest, TheDictionaryIsNeverWritten) {
    const QByteArray before = FileDigest(dictionary_->Path());
    const QDateTime modified = QFileInfo(dictionary_->Path()).lastModified();
    Lookup({QStringLiteral("*")});
    Lookup({QStringLiteral("--json"), QStringLiteral("--full-text"), QStringLiteral("plain")});
    Lookup({QStringLiteral("--annotate")}, "CPU");
    EXPECT_EQ(FileDigest(dictionary_->Path()), before);
    EXPECT_EQ(QFileInfo(dictionary_->Path()).lastModified(), modified);
    EXPECT_EQ(QDir(QFileInfo(dictionary_->Path()).path()).entryList(QDir::Files),
              QStringList(QStringLiteral("ABBR.MDB")));
}

TEST_F(LookupBadInputTest, NoGuiLibraryIsLinkedOrLoaded) {
    // Started without any display, it waits for its input with the dictionary open: by then every
    // library it uses is in its memory map.
    QProcess process;
    process.setProcessEnvironment(runner_.Environment());
    process.start(LookupRunner::Program(),
                  {QStringLiteral("-d"), dictionary_->Path(), QStringLiteral("--annotate")});
    ASSERT_TRUE(process.waitForStarted(10000));
    const QString proc = QStringLiteral("/proc/%1/").arg(process.processId());
    const QString dictionary = QFileInfo(dictionary_->Path()).canonicalFilePath();
    bool open = false;
    QElapsedTimer timer;
    timer.start();
    while (!open && timer.elapsed() < 10000) {
        QThread::msleep(20);
        for (const QFileInfo& fd :
             QDir(proc + QStringLiteral("fd")).entryInfoList(QDir::AllEntries | QDir::System))
            open = open || fd.symLinkTarget() == dictionary;
    }
    QFile mapsFile(proc + QStringLiteral("maps"));
    ASSERT_TRUE(mapsFile.open(QIODevice::ReadOnly));
    const QByteArray maps = mapsFile.readAll();
    process.write("CPU\n");
    process.closeWriteChannel();
    ASSERT_TRUE(process.waitForFinished(10000));
    EXPECT_TRUE(open) << "the dictionary was never opened";
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    EXPECT_EQ(process.readAllStandardOutput(), "CPU\tCPU\tCentral Processing Unit\t\n");
    ASSERT_TRUE(maps.contains("libQt6Core")) << maps.toStdString();
    for (const char* gui : {"libQt6Gui", "libQt6Widgets", "libQt6Network", "libxcb", "libwayland",
                            "libGL", "libEGL", "libX11", "libfontconfig"})
        EXPECT_FALSE(maps.contains(gui)) << gui;
}

} // namespace
