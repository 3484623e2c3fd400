// tessarine-lookup run as a process on real dictionary files: what it prints in each format, the
// full-text search with its index in the cache, the abbreviations of a paragraph, the terminal.
#include "LookupRun.h"

#include "JetTestFiles.h"

#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <iostream>

namespace {

// The standard small dictionary, with a second DMA and an entry whose description begins with
// its Japanese terms, as the dictionaries built from the word lists have it.
std::unique_ptr<TestDictionary> LookupDictionaryFile() {
    auto d = std::make_unique<TestDictionary>();
    d->AddCategory(1, QStringLiteral("ハードウェア"), QStringLiteral("HW"));
    d->AddCategory(2, QStringLiteral("ネットワーク"), QStringLiteral("NW"));
    d->AddCategory(3, QStringLiteral("一般"), QString(""));
    const qint32 cpu = d->AddEntry(
        QStringLiteral("CPU"), QStringLiteral("Central Processing Unit"), 1,
        QStringLiteral("\\B中央処理装置\\b（ちゅうおうしょりそうち）\r\n\\F命令を実行する装置"),
        QStringLiteral("https://cpu.example/"));
    const qint32 ram =
        d->AddEntry(QStringLiteral("RAM"), QStringLiteral("Random Access Memory"), 1);
    d->AddEntry(QStringLiteral("PCI"), QStringLiteral("Peripheral Component Interconnect"), 1);
    d->AddEntry(QStringLiteral("TCP/IP"),
                QStringLiteral("Transmission Control Protocol/Internet Protocol"), 2);
    d->AddEntry(QStringLiteral("DMA"), QStringLiteral("Direct Memory Access"), 1);
    d->AddEntry(QStringLiteral("DMA"), QStringLiteral("Document Management Alliance"), 3);
    d->AddEntry(QStringLiteral("Wi-Fi"), QString(), 2);
    d->AddLink(cpu, QStringLiteral("RAM"), ram);
    d->AddLink(cpu, QStringLiteral("ALU"), 99);
    d->Finish();
    return d;
}

using LookupProgramTest = LookupSuite<&LookupDictionaryFile>;

TEST_F(LookupProgramTest, AnEntryIsPrintedAsItsCopyTextWithItsRelatedWords) {
    const LookupResult cpu = Lookup({QStringLiteral("cpu")});
    EXPECT_EQ(cpu.status, 0) << cpu.err.toStdString();
    EXPECT_EQ(cpu.Out(), QStringLiteral("CPU\nCentral Processing Unit\nCPU plain\n"
                                        "https://cpu.example/\n関連語: ALU, RAM\n"));
    EXPECT_TRUE(cpu.err.isEmpty()) << cpu.err.toStdString();

    // Two entries, a blank line between them; no web address and no related words: no lines.
    const LookupResult dma = Lookup({QStringLiteral("DMA")});
    EXPECT_EQ(dma.status, 0);
    EXPECT_EQ(dma.Out(), QStringLiteral("DMA\nDirect Memory Access\nDMA plain\n\n"
                                        "DMA\nDocument Management Alliance\nDMA plain\n"));
    // A spelled-out form that is null leaves its line empty, as the copy text does.
    EXPECT_EQ(Lookup({QStringLiteral("wifi")}).Out(), QStringLiteral("Wi-Fi\n\nWi-Fi plain\n"));
}

TEST_F(LookupProgramTest, ListAndCategoryOption) {
    const LookupResult all = Lookup({QStringLiteral("--list"), QStringLiteral("*")});
    EXPECT_EQ(all.status, 0);
    EXPECT_EQ(all.Out().count(u'\n'), 7);
    EXPECT_EQ(all.Err(), QStringLiteral("7件\n"));

    // The category by its name, its short name in any case, or its number.
    for (const char* category : {"ネットワーク", "nw", "2"}) {
        const LookupResult network = Lookup({QStringLiteral("--list"), QStringLiteral("-c"),
                                             QString::fromUtf8(category), QStringLiteral("*")});
        EXPECT_EQ(network.status, 0) << category;
        EXPECT_EQ(network.Out(), QStringLiteral("TCP/IP\tTransmission Control Protocol/Internet "
                                                "Protocol\nWi-Fi\t\n"))
            << category;
    }
    // A category and a spelled-out form without any key.
    const LookupResult letter = Lookup({QStringLiteral("--list"), QStringLiteral("--category=HW"),
                                        QString(), QStringLiteral("*Memory*")});
    EXPECT_EQ(letter.Out(),
              QStringLiteral("DMA\tDirect Memory Access\nRAM\tRandom Access Memory\n"));

    const LookupResult unknown =
        Lookup({QStringLiteral("-c"), QStringLiteral("ソフトウェア"), QStringLiteral("cpu")});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_TRUE(unknown.out.isEmpty());
    EXPECT_TRUE(unknown.Err().contains(QStringLiteral("unknown category 'ソフトウェア'")));
    EXPECT_TRUE(unknown.Err().contains(QStringLiteral("1\tハードウェア\tHW\n")));
    EXPECT_TRUE(unknown.Err().contains(QStringLiteral("3\t一般\t\n")));

    const LookupResult categories = Lookup({QStringLiteral("--categories")});
    EXPECT_EQ(categories.Out(),
              QStringLiteral("2\tネットワーク\tNW\n1\tハードウェア\tHW\n3\t一般\t\n"))
        << "in the order of the window's list";
}

TEST_F(LookupProgramTest, JsonIsParsedBackWithEveryField) {
    const LookupResult result = Lookup({QStringLiteral("--json"), QStringLiteral("*")});
    ASSERT_EQ(result.status, 0);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(result.out, &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    const QJsonArray entries = document.array();
    ASSERT_EQ(entries.size(), 7);
    const QJsonObject cpu = entries.at(0).toObject();
    EXPECT_EQ(cpu.value(QStringLiteral("id")).toInt(), 1);
    EXPECT_EQ(cpu.value(QStringLiteral("abbr")).toString(), QStringLiteral("CPU"));
    EXPECT_EQ(cpu.value(QStringLiteral("letter")).toString(),
              QStringLiteral("Central Processing Unit"));
    EXPECT_EQ(cpu.value(QStringLiteral("category")).toObject(),
              QJsonObject({{QStringLiteral("id"), 1},
                           {QStringLiteral("name"), QStringLiteral("ハードウェア")},
                           {QStringLiteral("shortName"), QStringLiteral("HW")}}));
    EXPECT_EQ(cpu.value(QStringLiteral("description")).toString(), QStringLiteral("CPU plain"));
    EXPECT_EQ(cpu.value(QStringLiteral("url")).toString(), QStringLiteral("https://cpu.example/"));
    EXPECT_EQ(cpu.value(QStringLiteral("related")).toArray(),
              QJsonArray({QJsonObject{{QStringLiteral("word"), QStringLiteral("ALU")},
                                      {QStringLiteral("id"), 99}},
                          QJsonObject{{QStringLiteral("word"), QStringLiteral("RAM")},
                                      {QStringLiteral("id"), 2}}}));
    const QJsonObject wifi = entries.at(6).toObject();
    EXPECT_EQ(wifi.value(QStringLiteral("abbr")).toString(), QStringLiteral("Wi-Fi"));
    EXPECT_TRUE(wifi.value(QStringLiteral("letter")).isNull());
    EXPECT_TRUE(wifi.value(QStringLiteral("url")).isNull());
    EXPECT_EQ(wifi.value(QStringLiteral("related")).toArray(), QJsonArray());

    // Nothing found is still a JSON array.
    const LookupResult none = Lookup({QStringLiteral("--json"), QStringLiteral("XYZZY")});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(QJsonDocument::fromJson(none.out).array(), QJsonArray());
}

TEST_F(LookupProgramTest, JsonIsValidForTheUsualTools) {
    const QStringList arguments{QStringLiteral("-d"), dictionary_->Path(), QStringLiteral("--json"),
                                QStringLiteral("*")};
    bool checked = false;
    for (const QString& tool : {QStringLiteral("python3"), QStringLiteral("jq")}) {
        if (QStandardPaths::findExecutable(tool).isEmpty()) {
            std::cout << "[ SKIPPED  ] " << tool.toStdString() << " is not installed\n";
            continue;
        }
        const QString check = tool == QLatin1String("jq") ? QStringLiteral("jq -e 'length == 7'")
                                                          : QStringLiteral("python3 -m json.tool");
        const LookupResult result = runner_.Shell(
            QStringLiteral("set -o pipefail; \"$0\" \"$@\" | %1 >/dev/null").arg(check), arguments);
        EXPECT_EQ(result.status, 0) << tool.toStdString() << ": " << result.err.toStdString();
        checked = true;
    }
    if (!checked)
        GTEST_SKIP() << "neither python3 nor jq is installed";
}

TEST_F(LookupProgramTest, FullTextUsesTheIndexInTheUserCache) {
    const LookupResult found = Lookup({QStringLiteral("--list"), QStringLiteral("--full-text"),
                                       QStringLiteral("ｐｌａｉｎ"), QStringLiteral("dma")});
    EXPECT_EQ(found.status, 0) << found.err.toStdString();
    EXPECT_EQ(found.Out(), QStringLiteral("DMA\tDirect Memory Access\nDMA\tDocument Management "
                                          "Alliance\n"));
    // stderr is no terminal: no progress, only the count.
    EXPECT_EQ(found.Err(), QStringLiteral("2件\n"));
    QStringList indexes;
    for (QDirIterator it(runner_.CacheDir() + QStringLiteral("/Tessarine/fulltext"),
                         {QStringLiteral("*.fts")}, QDir::Files);
         it.hasNext();)
        indexes << it.next();
    EXPECT_EQ(indexes.size(), 1) << "the index is kept where the window keeps it";

    // Japanese terms of the description, in the default format; and nothing found.
    const LookupResult japanese =
        Lookup({QStringLiteral("--full-text"), QStringLiteral("処理装置")});
    EXPECT_EQ(japanese.status, 0);
    EXPECT_TRUE(japanese.Out().startsWith(QStringLiteral("CPU\nCentral Processing Unit\n")));
    EXPECT_EQ(Lookup({QStringLiteral("--full-text"), QStringLiteral("nowhere")}).status, 1);

    const LookupResult tooLong =
        Lookup({QStringLiteral("--full-text"), QString(1001, QLatin1Char('x'))});
    EXPECT_EQ(tooLong.status, 2);
    EXPECT_TRUE(tooLong.Err().contains(QStringLiteral("検索語が長すぎます")))
        << tooLong.err.toStdString();
}

TEST_F(LookupProgramTest, AnnotateListsTheAbbreviationsOfAParagraph) {
    const QByteArray paragraph =
        "The CPU talks to RAM over PCI; both CPUs use DMA.\n"
        "It is what it is. ＣＰＵ again, and the CPU's cache. Wi-Fi and TCP/IP too.\n";
    const LookupResult lines = Lookup({QStringLiteral("--annotate")}, paragraph);
    EXPECT_EQ(lines.status, 0) << lines.err.toStdString();
    EXPECT_EQ(lines.Out(), QStringLiteral("CPU\tCPU\tCentral Processing Unit\t中央処理装置\n"
                                          "RAM\tRAM\tRandom Access Memory\t\n"
                                          "PCI\tPCI\tPeripheral Component Interconnect\t\n"
                                          "DMA\tDMA\tDirect Memory Access\t\n"
                                          "DMA\tDMA\tDocument Management Alliance\t\n"
                                          "Wi-Fi\tWi-Fi\t\t\n"
                                          "TCP/IP\tTCP/IP\tTransmission Control "
                                          "Protocol/Internet Protocol\t\n"));

    // From files, in JSON; a file without abbreviations adds nothing.
    QTemporaryDir dir;
    const QString text = dir.filePath(QStringLiteral("text.txt"));
    const QString plain = dir.filePath(QStringLiteral("plain.txt"));
    {
        QFile f(text);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("LANs carry TCP/IP.\n");
        QFile g(plain);
        ASSERT_TRUE(g.open(QIODevice::WriteOnly));
        g.write("nothing to see here\n");
    }
    const LookupResult json =
        Lookup({QStringLiteral("--json"), QStringLiteral("--annotate"), plain, text});
    EXPECT_EQ(json.status, 0);
    EXPECT_EQ(QJsonDocument::fromJson(json.out).array(),
              QJsonArray({QJsonObject{{QStringLiteral("word"), QStringLiteral("TCP/IP")},
                                      {QStringLiteral("id"), 4},
                                      {QStringLiteral("abbr"), QStringLiteral("TCP/IP")},
                                      {QStringLiteral("letter"),
                                       QStringLiteral("Transmission Control Protocol/Internet "
                                                      "Protocol")},
                                      {QStringLiteral("term"), QJsonValue()}}}));
    EXPECT_EQ(Lookup({QStringLiteral("--annotate"), plain}).status, 1);
}

TEST_F(LookupProgramTest, StylesOnlyOnATerminalThatWantsThem) {
    if (!LookupRunner::CanGiveATerminal())
        GTEST_SKIP() << "script (util-linux) is not installed";
    const QStringList arguments{QStringLiteral("-d"), dictionary_->Path(), QStringLiteral("cpu")};
    const LookupResult styled = runner_.OnTerminal(arguments, QStringLiteral("TERM=xterm"));
    EXPECT_EQ(styled.status, 0) << styled.err.toStdString();
    EXPECT_TRUE(styled.Out().contains(QStringLiteral("\x1b[1mCPU\x1b[22m")))
        << styled.out.toStdString();
    EXPECT_TRUE(
        styled.Out().contains(QStringLiteral("関連語: \x1b[4mALU\x1b[24m, \x1b[4mRAM\x1b[24m")));

    for (const QString& plainSetting :
         {QStringLiteral("TERM=xterm NO_COLOR=1"), QStringLiteral("TERM=dumb")}) {
        const LookupResult plain = runner_.OnTerminal(arguments, plainSetting);
        EXPECT_TRUE(plain.Out().contains(QStringLiteral("CPU"))) << plainSetting.toStdString();
        EXPECT_FALSE(plain.out.contains('\x1b')) << plainSetting.toStdString();
    }
    // Through a pipe: no escape codes at all.
    EXPECT_FALSE(Lookup({QStringLiteral("cpu")}).out.contains('\x1b'));
}

TEST_F(LookupProgramTest, AnIndexBuildShowsItsProgressOnATerminalOnly) {
    if (!LookupRunner::CanGiveATerminal())
        GTEST_SKIP() << "script (util-linux) is not installed";
    // The runner's cache is fresh: the first full-text search builds the index.
    const LookupResult result =
        runner_.OnTerminal({QStringLiteral("-d"), dictionary_->Path(), QStringLiteral("--list"),
                            QStringLiteral("--full-text"), QStringLiteral("plain")});
    EXPECT_EQ(result.status, 0) << result.err.toStdString();
    EXPECT_TRUE(result.Out().contains(QStringLiteral("building the full-text index... 100%")))
        << result.out.toStdString();
    EXPECT_TRUE(result.Out().contains(QStringLiteral("CPU\tCentral Processing Unit")));
    // Built once, it is used as it is: no progress the second time.
    const LookupResult again =
        runner_.OnTerminal({QStringLiteral("-d"), dictionary_->Path(),
                            QStringLiteral("--full-text"), QStringLiteral("plain")});
    EXPECT_FALSE(again.Out().contains(QStringLiteral("building"))) << again.out.toStdString();
}

TEST_F(LookupProgramTest, ControlCharactersOfAnEntryNeverReachTheTerminal) {
    // A dictionary is a file from anywhere: escape sequences in it could rewrite the screen.
    TestDictionary hostile;
    hostile.AddCategory(1, QStringLiteral("一般"), QString(""));
    DictionaryWriter::Entry e;
    e.id = 1;
    e.key = QStringLiteral("ESC");
    e.abbr = QStringLiteral("ESC\x1b]0;owned\x07");
    e.letter = QStringLiteral("Escape\tcharacter\x9b"
                              "2J");
    e.categoryId = 1;
    e.description = QStringLiteral("line one\r\nline two\rline three\x1b[2J\x7f end");
    hostile.AddEntry(e);
    hostile.AddLink(1, QStringLiteral("\x1b[31mred"), 1);
    hostile.Finish();
    const QStringList dictionary{QStringLiteral("-d"), hostile.Path()};
    EXPECT_EQ(runner_.Run(dictionary + QStringList{QStringLiteral("esc")}).Out(),
              QStringLiteral("ESC]0;owned\nEscape\tcharacter2J\nline one\nline two\nline "
                             "three[2J end\n関連語: [31mred\n"));
    // One line per entry in a list, the tab between the columns the only one.
    EXPECT_EQ(runner_.Run(dictionary + QStringList{QStringLiteral("--list"), QStringLiteral("esc")})
                  .Out(),
              QStringLiteral("ESC]0;owned\tEscape character2J\n"));
    const LookupResult json =
        runner_.Run(dictionary + QStringList{QStringLiteral("--json"), QStringLiteral("esc")});
    // JSON keeps the texts whole, its escapes make them harmless.
    EXPECT_FALSE(json.out.contains('\x1b'));
    EXPECT_EQ(QJsonDocument::fromJson(json.out).array().at(0)[QStringLiteral("description")],
              e.description);
}

TEST_F(LookupProgramTest, AJetDictionaryOpensThroughTheSameReader) {
    QTemporaryDir dir;
    const QString jet = dir.filePath(QStringLiteral("old.mdb"));
    ASSERT_TRUE(JetDictionary::Standard().Writer().WriteTo(jet));
    const LookupResult result =
        runner_.Run({QStringLiteral("-d"), jet, QStringLiteral("--list"), QStringLiteral("c*")});
    EXPECT_EQ(result.status, 0) << result.err.toStdString();
    EXPECT_EQ(result.Out(), QStringLiteral("CD-ROM\tCompact Disc Read Only Memory\n"
                                           "CPU\tCentral Processing Unit\n"));
}

TEST_F(LookupProgramTest, WithoutADictionaryNamedTheOneBesideTheWindowProgram) {
    // In the build tree that is build/bin/ABBR.MDB, the bundled dictionary.
    const LookupResult result = runner_.Run({QStringLiteral("--list"), QStringLiteral("cpu")});
    EXPECT_EQ(result.status, 0) << result.err.toStdString();
    EXPECT_EQ(result.Out(), QStringLiteral("CPU\tCentral Processing Unit\n"));
}

} // namespace
