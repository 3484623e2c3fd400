#include "DictdServer.h"
#include "ExportFixtures.h"
#include "tools/DictData.h"
#include "tools/DictdIndex.h"

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The built program on the fixture dictionary, each test with an output directory of its own.
class ExportProgramTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { dictionary_ = ExportFixture::Write().release(); }
    static void TearDownTestSuite() {
        delete dictionary_;
        dictionary_ = nullptr;
    }

    ProcessResult Export(const char* format, QStringList more = {}) {
        return RunExport(QStringList{QStringLiteral("--format"), QLatin1String(format),
                                     QStringLiteral("-d"), dictionary_->Path(),
                                     QStringLiteral("-o"), out_.path()} +
                         more);
    }
    QStringList Files() const {
        return QDir(out_.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    StarDictFiles ReadStarDict() const {
        QString error;
        StarDictFiles files = StarDictFiles::Read(out_.path(), QStringLiteral("tessarine"), &error);
        EXPECT_TRUE(error.isEmpty()) << qPrintable(error);
        return files;
    }

    static inline TestDictionary* dictionary_ = nullptr;
    QTemporaryDir out_;
};

TEST_F(ExportProgramTest, StarDictFilesFollowTheFormat) {
    const ProcessResult r = Export("stardict");
    ASSERT_EQ(r.exitCode, 0) << qPrintable(r.err);
    // Only the dictionary's own files: nothing temporary is left beside them.
    EXPECT_EQ(Files(),
              (QStringList{QStringLiteral("tessarine.dict.dz"), QStringLiteral("tessarine.idx"),
                           QStringLiteral("tessarine.ifo"), QStringLiteral("tessarine.syn")}));
    const StarDictFiles f = ReadStarDict();
    EXPECT_EQ(f.ifo.value(QStringLiteral("bookname")), QStringLiteral("Tessarine 2000"));
    EXPECT_EQ(f.ifo.value(QStringLiteral("sametypesequence")), QStringLiteral("h"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{4}\\.\\d\\d\\.\\d\\d$"))
                    .match(f.ifo.value(QStringLiteral("date")))
                    .hasMatch());
    EXPECT_TRUE(f.ifo.value(QStringLiteral("description"))
                    .contains(QStringLiteral("Sources and licences")));
    // Nine articles: both senses of DMA share one; the entry with nothing to show and the one
    // whose abbreviation is too long for StarDict are left out.
    EXPECT_EQ(f.idx.size(), 9);
    EXPECT_TRUE(f.Lookup(ExportFixture::TooLongAbbr()).isEmpty());
    EXPECT_TRUE(f.Lookup(QStringLiteral("NIL")).isEmpty());
    const QList<int> dma = f.Lookup(QStringLiteral("dma"));
    ASSERT_EQ(dma.size(), 1);
    EXPECT_TRUE(f.Article(dma[0]).contains(QStringLiteral("Direct Memory Access")));
    EXPECT_TRUE(f.Article(dma[0]).contains(QStringLiteral("Document Management Alliance")));

    for (const char* way : {"cpu", "CPU", "Central Processing Unit", "central processing unit",
                            "中央処理装置", "ちゅうおうしょりそうち", "シーピーユー"}) {
        const QList<int> found = f.Lookup(QString::fromUtf8(way));
        ASSERT_EQ(found.size(), 1) << way;
        EXPECT_EQ(f.idx[found[0]].word, QByteArray("CPU")) << way;
    }
    EXPECT_EQ(f.idx[f.Lookup(QStringLiteral("cdrom")).value(0)].word, QByteArray("CD-ROM"));
    EXPECT_EQ(f.idx[f.Lookup(QStringLiteral("TCPIP")).value(0)].word, QByteArray("TCP/IP"));

    for (const char* line : {"10 entries in 9 articles; 9 headwords and",
                             "1 entry whose abbreviation is longer than "
                             "StarDict's 255 bytes",
                             "1 entry with neither a spelled-out form nor a description",
                             "1 entry without a description", "1 entry held control characters"})
        EXPECT_TRUE(r.out.contains(QLatin1String(line))) << line << "\n" << qPrintable(r.out);
    EXPECT_TRUE(r.out.contains(QStringLiteral("tessarine.dict.dz")))
        << "the summary gives the sizes";
    EXPECT_TRUE(r.out.contains(QStringLiteral("time: "))) << qPrintable(r.out);
}

TEST_F(ExportProgramTest, SdcvFindsTheArticleEveryWayItIsTyped) {
    SKIP_WITHOUT_TOOL(sdcv, "sdcv");
    ASSERT_EQ(Export("stardict").exitCode, 0);
    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CACHE_HOME"), home.filePath(QStringLiteral("cache")));
    env.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    env.remove(QStringLiteral("STARDICT_DATA_DIR"));
    auto lookUp = [&](const QString& word) {
        return RunProcess(sdcv,
                          {QStringLiteral("-n"), QStringLiteral("-x"),
                           QStringLiteral("--utf8-input"), QStringLiteral("--utf8-output"),
                           QStringLiteral("--data-dir"), out_.path(), word},
                          env);
    };
    for (const char* way :
         {"cpu", "中央処理装置", "ちゅうおうしょりそうち", "シーピーユー", "cdrom"}) {
        const ProcessResult r = lookUp(QString::fromUtf8(way));
        EXPECT_EQ(r.exitCode, 0) << way << qPrintable(r.err);
        const QString expected = QString::fromUtf8(way) == QStringLiteral("cdrom")
                                     ? QStringLiteral("Compact Disc Read Only Memory")
                                     : QStringLiteral("Central Processing Unit");
        EXPECT_TRUE(r.out.contains(expected)) << way << ": " << qPrintable(r.out);
    }
    const ProcessResult dma = lookUp(QStringLiteral("dma"));
    EXPECT_TRUE(dma.out.contains(QStringLiteral("Direct Memory Access")) &&
                dma.out.contains(QStringLiteral("Document Management Alliance")))
        << qPrintable(dma.out);
}

TEST_F(ExportProgramTest, DictdDatabaseIsSortedAsDictdSearchesIt) {
    const ProcessResult r = Export("dictd");
    ASSERT_EQ(r.exitCode, 0) << qPrintable(r.err);
    EXPECT_EQ(Files(), (QStringList{QStringLiteral("tessarine.dict.dz"),
                                    QStringLiteral("tessarine.index")}));
    QFile indexFile(out_.filePath(QStringLiteral("tessarine.index")));
    ASSERT_TRUE(indexFile.open(QIODevice::ReadOnly));
    const QByteArray index = indexFile.readAll();
    QList<DictdIndexEntry> entries;
    QString error;
    ASSERT_TRUE(ParseDictdIndex(index, QStringLiteral("tessarine.index"), &entries, &error))
        << qPrintable(error);
    std::unique_ptr<DictData> data =
        DictData::Open(out_.filePath(QStringLiteral("tessarine.dict.dz")), &error);
    ASSERT_TRUE(data && data->IsDictZip()) << qPrintable(error);

    QHash<QString, QList<qint64>> offsets;
    QByteArray previous;
    for (const DictdIndexEntry& e : entries) {
        const QByteArray word = e.headword.toUtf8();
        EXPECT_LE(previous, word) << "in byte order";
        EXPECT_EQ(e.headword, e.headword.toLower()) << "folded as dictd folds a query";
        EXPECT_LE(e.offset + e.length, data->Size());
        previous = word;
        offsets[e.headword] << e.offset;
    }
    for (const char* header : {"00-database-utf8", "00-database-allchars", "00-database-short",
                               "00-database-url", "00-database-info"})
        EXPECT_TRUE(offsets.contains(QLatin1String(header))) << header;
    // Every way of typing CPU leads to its one article; DMA has two.
    const qint64 cpu = offsets.value(QStringLiteral("cpu")).value(0, -1);
    for (const char* way :
         {"central processing unit", "中央処理装置", "ちゅうおうしょりそうち", "シーピーユー"})
        EXPECT_EQ(offsets.value(QString::fromUtf8(way)), QList<qint64>{cpu}) << way;
    EXPECT_EQ(offsets.value(QStringLiteral("dma")).size(), 2);
    EXPECT_EQ(offsets.value(QStringLiteral("cdrom")), offsets.value(QStringLiteral("cd-rom")));
    // dictd has no length limit on headwords, so the long abbreviation stays.
    EXPECT_TRUE(offsets.contains(ExportFixture::TooLongAbbr().toLower()));

    QByteArray article;
    for (const DictdIndexEntry& e : entries) {
        if (e.headword == QStringLiteral("00-database-short")) {
            ASSERT_TRUE(data->Read(e.offset, e.length, &article, &error));
        }
    }
    EXPECT_EQ(article, QByteArray("00-database-short\n     Tessarine 2000\n"));
}

TEST_F(ExportProgramTest, BothTextsAreDictzipFiles) {
    SKIP_WITHOUT_TOOL(dictzip, "dictzip");
    for (const char* format : {"stardict", "dictd"}) {
        const QString dir = out_.filePath(QLatin1String(format));
        ASSERT_EQ(RunExport({QStringLiteral("--format"), QLatin1String(format),
                             QStringLiteral("-d"), dictionary_->Path(), QStringLiteral("-o"), dir})
                      .exitCode,
                  0);
        const QString text = dir + QStringLiteral("/tessarine.dict.dz");
        const ProcessResult test = RunProcess(dictzip, {QStringLiteral("-t"), text});
        EXPECT_EQ(test.exitCode, 0) << format << qPrintable(test.err);
        EXPECT_TRUE(test.out.contains(QStringLiteral("dzip"))) << format << qPrintable(test.out);
        // dictzip's own reader gives the whole text back, ending with the last article.
        const ProcessResult whole =
            RunProcess(dictzip, {QStringLiteral("-d"), QStringLiteral("-c"), text});
        EXPECT_EQ(whole.exitCode, 0) << format;
        EXPECT_TRUE(whole.out.contains(QStringLiteral("Central Processing Unit"))) << format;
    }
}

TEST_F(ExportProgramTest, DictdServerAnswersDefineAndMatch) {
    SKIP_WITHOUT_TOOL(dictd, "dictd");
    SKIP_WITHOUT_TOOL(dict, "dict");
    ASSERT_EQ(Export("dictd").exitCode, 0);
    DictdServer server;
    QString error;
    ASSERT_TRUE(server.Start(dictd, out_.path(), QStringLiteral("tessarine"), &error))
        << qPrintable(error);
    const QString host = QStringLiteral("127.0.0.1");
    const QString port = QString::number(server.Port());
    const ProcessResult define = RunProcess(
        dict, {QStringLiteral("-h"), host, QStringLiteral("-p"), port, QStringLiteral("-d"),
               QStringLiteral("tessarine"), QStringLiteral("cpu")});
    EXPECT_EQ(define.exitCode, 0) << qPrintable(define.err) << qPrintable(server.Log());
    EXPECT_TRUE(define.out.contains(QStringLiteral("Central Processing Unit [HW]")))
        << qPrintable(define.out);
    EXPECT_TRUE(define.out.contains(QStringLiteral("{ALU}")));
    EXPECT_TRUE(define.out.contains(QStringLiteral("See also: {ALU}, 主記憶 {RAM}, 行方不明")));

    const ProcessResult japanese = RunProcess(
        dict, {QStringLiteral("-h"), host, QStringLiteral("-p"), port, QStringLiteral("-d"),
               QStringLiteral("tessarine"), QStringLiteral("中央処理装置")});
    EXPECT_TRUE(japanese.out.contains(QStringLiteral("Central Processing Unit")))
        << qPrintable(japanese.out);

    const ProcessResult match =
        RunProcess(dict, {QStringLiteral("-h"), host, QStringLiteral("-p"), port,
                          QStringLiteral("-d"), QStringLiteral("tessarine"), QStringLiteral("-m"),
                          QStringLiteral("-s"), QStringLiteral("prefix"), QStringLiteral("tc")});
    EXPECT_EQ(match.exitCode, 0) << qPrintable(match.err);
    EXPECT_TRUE(match.out.contains(QStringLiteral("tcp/ip"), Qt::CaseInsensitive))
        << qPrintable(match.out);

    const ProcessResult info = RunProcess(
        dict, {QStringLiteral("-h"), host, QStringLiteral("-p"), port, QStringLiteral("-D")});
    EXPECT_TRUE(info.out.contains(QStringLiteral("tessarine")) &&
                info.out.contains(QStringLiteral("Tessarine 2000")))
        << "the database's short name: " << qPrintable(info.out);
}

TEST_F(ExportProgramTest, AnEarlierExportIsKeptUnlessForced) {
    ASSERT_EQ(Export("stardict").exitCode, 0);
    const QByteArray idx = FileDigest(out_.filePath(QStringLiteral("tessarine.idx")));
    const QStringList before = Files();

    const ProcessResult again =
        Export("stardict", {QStringLiteral("--name"), QStringLiteral("tessarine")});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_TRUE(again.err.contains(QStringLiteral("--force"))) << qPrintable(again.err);
    EXPECT_EQ(Files(), before) << "refused, and nothing temporary left";
    EXPECT_EQ(FileDigest(out_.filePath(QStringLiteral("tessarine.idx"))), idx);

    // An uncompressed text of an earlier export would be read instead of the new one: it counts
    // as part of the export, and goes when the export is replaced.
    QFile stale(out_.filePath(QStringLiteral("tessarine.dict")));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    const ProcessResult forced = Export("stardict", {QStringLiteral("--force")});
    EXPECT_EQ(forced.exitCode, 0) << qPrintable(forced.err);
    EXPECT_EQ(Files(), before);

    // Another name is another dictionary beside the first.
    EXPECT_EQ(Export("dictd", {QStringLiteral("--name"), QStringLiteral("team")}).exitCode, 0);
    EXPECT_TRUE(Files().contains(QStringLiteral("team.index")));
}

TEST_F(ExportProgramTest, AFileIsNoOutputAndAMissingDirectoryIsMade) {
    const QString file = out_.filePath(QStringLiteral("plain-file"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    const ProcessResult onFile =
        RunExport({QStringLiteral("--format"), QStringLiteral("stardict"), QStringLiteral("-d"),
                   dictionary_->Path(), QStringLiteral("-o"), file});
    EXPECT_EQ(onFile.exitCode, 1);
    EXPECT_TRUE(onFile.err.contains(QStringLiteral("is not a directory")))
        << qPrintable(onFile.err);

    // A directory that does not exist yet is made.
    const QString nested = out_.filePath(QStringLiteral("a/b/c"));
    EXPECT_EQ(RunExport({QStringLiteral("--format"), QStringLiteral("dictd"), QStringLiteral("-d"),
                         dictionary_->Path(), QStringLiteral("-o"), nested})
                  .exitCode,
              0);
    EXPECT_TRUE(QFile::exists(nested + QStringLiteral("/tessarine.index")));
}

TEST_F(ExportProgramTest, AnUnwritableDirectoryIsRefused) {
    const QString locked = out_.filePath(QStringLiteral("locked"));
    ASSERT_TRUE(QDir().mkpath(locked));
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
    if (QFileInfo(locked).isWritable()) {
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        GTEST_SKIP() << "running with privileges that write into any directory";
    }
    const ProcessResult r =
        RunExport({QStringLiteral("--format"), QStringLiteral("stardict"), QStringLiteral("-d"),
                   dictionary_->Path(), QStringLiteral("-o"), locked});
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("cannot write"))) << qPrintable(r.err);
}

TEST_F(ExportProgramTest, AWrongCommandLineIsAUsageError) {
    const QString d = dictionary_->Path();
    const QString o = out_.path();
    const QList<QStringList> wrong{
        {},
        {QStringLiteral("-o"), o},
        {QStringLiteral("--format"), QStringLiteral("xml"), QStringLiteral("-o"), o},
        {QStringLiteral("--format"), QStringLiteral("stardict")},
        {QStringLiteral("--format"), QStringLiteral("stardict"), QStringLiteral("-o"), o,
         QStringLiteral("--name"), QStringLiteral("../escape")},
        {QStringLiteral("--format"), QStringLiteral("stardict"), QStringLiteral("-o"), o,
         QStringLiteral("extra")},
        {QStringLiteral("--format"), QStringLiteral("stardict"), QStringLiteral("-o"), o,
         QStringLiteral("--bogus")},
    };
    for (const QStringList& arguments : wrong) {
        const ProcessResult r = RunExport(arguments);
        EXPECT_EQ(r.exitCode, 2) << qPrintable(arguments.join(QLatin1Char(' ')));
        EXPECT_TRUE(r.err.contains(QStringLiteral("usage: tessarine-export"))) << qPrintable(r.err);
    }
    EXPECT_TRUE(Files().isEmpty());
    const ProcessResult help = RunExport({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(
        help.out.startsWith(QStringLiteral("usage: tessarine-export --format stardict|dictd")));
    EXPECT_TRUE(help.out.contains(QStringLiteral("--force")));
}

TEST_F(ExportProgramTest, ABrokenDictionaryWritesNothing) {
    QTemporaryDir dir;
    const QString text = dir.filePath(QStringLiteral("notes.txt"));
    QFile f(text);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a dictionary at all\n");
    f.close();
    TestDictionary noEntries;
    noEntries.AddCategory(1, QStringLiteral("一般"), QStringLiteral("GEN"));
    noEntries.Finish();
    const std::pair<QString, const char*> broken[] = {
        {dir.filePath(QStringLiteral("missing.mdb")), "no such dictionary file"},
        {text, "not a dictionary"},
        {noEntries.Path(), "has no entries"},
    };
    for (const auto& [path, message] : broken) {
        const ProcessResult r =
            RunExport({QStringLiteral("--format"), QStringLiteral("stardict"), QStringLiteral("-d"),
                       path, QStringLiteral("-o"), out_.path()});
        EXPECT_EQ(r.exitCode, 1) << message;
        EXPECT_TRUE(r.err.contains(QLatin1String(message))) << qPrintable(r.err);
        EXPECT_TRUE(r.err.contains(QStringLiteral("nothing written")));
    }
    EXPECT_TRUE(Files().isEmpty()) << qPrintable(Files().join(QLatin1Char(' ')));
}

} // namespace
