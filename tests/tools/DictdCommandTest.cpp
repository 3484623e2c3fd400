#include "DictdFiles.h"
#include "WordListFiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Runs the builder as a user would, and checks what it says and leaves behind.
class DictdCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        DictdWriter vera = DictdWriter::Vera();
        vera.AddVera(QStringLiteral("CPU"), QStringLiteral("Central Processing Unit"));
        vera.AddVera(QStringLiteral("TCP"), QStringLiteral("Transmission Control Protocol (IP)"));
        vera.AddVera(QStringLiteral("IP"), QStringLiteral("Internet Protocol"));
        vera.AddVera(QStringLiteral("NIL"), QString());
        vera_ = vera;
        veraIndex_ = vera.Write(dir_.path(), QStringLiteral("vera"));
        DictdWriter foldoc = DictdWriter::Foldoc();
        foldoc.AddFoldoc({QStringLiteral("Internet Protocol"), QStringLiteral("IP")},
                         {QStringLiteral("<networking> (IP) The network layer.")});
        foldoc.AddFoldoc({QStringLiteral("bubble sort")}, {QStringLiteral("<algorithm> A sort.")});
        foldocIndex_ = foldoc.Write(dir_.path(), QStringLiteral("foldoc"));
        output_ = dir_.filePath(QStringLiteral("out/ABBR.MDB"));
        QDir(dir_.path()).mkpath(QStringLiteral("out"));
    }

    int Run(const QStringList& arguments) {
        QProcess p;
        p.start(QStringLiteral(TESSARINE_BIN_DIR "/tessarine-dictd"), arguments);
        EXPECT_TRUE(p.waitForFinished(60000));
        out_ = QString::fromLocal8Bit(p.readAllStandardOutput());
        err_ = QString::fromLocal8Bit(p.readAllStandardError());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }
    // Fails with a message containing what, and writes nothing.
    void ExpectFailure(const QStringList& inputs, const char* what) {
        EXPECT_EQ(Run(QStringList{QStringLiteral("-o"), output_} + inputs), 1) << qPrintable(out_);
        EXPECT_TRUE(err_.contains(QLatin1String(what))) << qPrintable(err_);
        EXPECT_TRUE(err_.contains(QLatin1String("no dictionary written"))) << qPrintable(err_);
        EXPECT_FALSE(QFile::exists(output_));
        EXPECT_EQ(QDir(dir_.filePath(QStringLiteral("out"))).entryList(QDir::Files), QStringList());
    }
    QString Damage(const QString& name, const QByteArray& bytes) {
        // A copy of the acronym list under another name, with its data replaced.
        const QString stem = dir_.filePath(name);
        QFile::copy(veraIndex_, stem + QStringLiteral(".index"));
        WriteBytes(stem + QStringLiteral(".dict.dz"), bytes);
        return stem + QStringLiteral(".index");
    }

    QTemporaryDir dir_;
    DictdWriter vera_;
    QString veraIndex_;
    QString foldocIndex_;
    QString output_;
    QString out_;
    QString err_;
};

TEST_F(DictdCommandTest, BuildsAndReports) {
    ASSERT_EQ(Run({QStringLiteral("-o"), output_, veraIndex_, foldocIndex_}), 0)
        << qPrintable(err_);
    EXPECT_TRUE(QFile::exists(output_));
    EXPECT_FALSE(QFile::exists(output_ + QStringLiteral(".part")));
    EXPECT_TRUE(out_.contains(QLatin1String("3 entries in")));
    EXPECT_TRUE(out_.contains(QLatin1String("1 related words")));
    EXPECT_TRUE(out_.contains(QLatin1String("1 described by a FOLDOC article")));
    EXPECT_TRUE(out_.contains(QLatin1String("1 VERA records without an expansion")));
    EXPECT_TRUE(out_.contains(QLatin1String("1 FOLDOC articles on neither")));
    // Not a terminal: no progress line.
    EXPECT_FALSE(err_.contains(QLatin1Char('%'))) << qPrintable(err_);

    // The order of the inputs does not matter, and either database alone will do.
    ASSERT_EQ(Run({QStringLiteral("--output=") + output_, foldocIndex_, veraIndex_}), 0);
    ASSERT_EQ(Run({QStringLiteral("-o") + output_, foldocIndex_}), 0) << qPrintable(err_);
    EXPECT_TRUE(out_.contains(QLatin1String("0 entries")) == false);
    EXPECT_TRUE(out_.contains(QLatin1String("1 entries in"))) << qPrintable(out_);
}

TEST_F(DictdCommandTest, UsageErrors) {
    EXPECT_EQ(Run({}), 2);
    EXPECT_TRUE(err_.contains(QLatin1String("usage: tessarine-dictd -o OUTPUT INPUT...")));
    EXPECT_EQ(Run({veraIndex_}), 2);
    EXPECT_TRUE(err_.contains(QLatin1String("no output file")));
    EXPECT_EQ(Run({QStringLiteral("-o"), output_}), 2);
    EXPECT_TRUE(err_.contains(QLatin1String("no input given")));
    EXPECT_EQ(Run({QStringLiteral("-x"), output_, veraIndex_}), 2);
    EXPECT_TRUE(err_.contains(QLatin1String("unknown option -x")));
    EXPECT_EQ(Run({QStringLiteral("--help")}), 0);
    EXPECT_TRUE(out_.contains(QLatin1String("usage:")));
    EXPECT_FALSE(QFile::exists(output_));
}

TEST_F(DictdCommandTest, BadInputsLeaveNoOutput) {
    const QByteArray good = DictZipBytes(vera_.Data(), 64);
    ExpectFailure({Damage(QStringLiteral("cut"), good.left(good.size() - 40))}, "truncated");

    QByteArray garbled = good;
    for (qsizetype i = garbled.size() / 2; i < garbled.size() / 2 + 16; ++i)
        garbled[i] = char(0x5A);
    ExpectFailure({veraIndex_, Damage(QStringLiteral("garbled"), garbled)}, "corrupt");

    const QString badNumber = dir_.filePath(QStringLiteral("badnum.index"));
    WriteBytes(badNumber, ReadBytes(veraIndex_) + "ghost\tA*B\tC\n");
    QFile::copy(dir_.filePath(QStringLiteral("vera.dict.dz")),
                dir_.filePath(QStringLiteral("badnum.dict.dz")));
    ExpectFailure({badNumber}, "badnum.index:7: bad index line (offset \"A*B\"");

    const QString far = dir_.filePath(QStringLiteral("far.index"));
    WriteBytes(far, ReadBytes(veraIndex_) + "ghost\t" +
                        DictdNumber(vera_.Data().size()).toLatin1() + "\tB\n");
    QFile::copy(dir_.filePath(QStringLiteral("vera.dict.dz")),
                dir_.filePath(QStringLiteral("far.dict.dz")));
    ExpectFailure({far}, "beyond the end of the data");

    const QString lonely = dir_.filePath(QStringLiteral("lonely.index"));
    QFile::copy(veraIndex_, lonely);
    ExpectFailure({foldocIndex_, lonely}, "no data file beside it");

    ExpectFailure({dir_.filePath(QStringLiteral("absent.index"))}, "cannot read");
    ExpectFailure({veraIndex_, veraIndex_}, "are both the VERA database");

    DictdWriter other;
    other.Add({QStringLiteral("00-database-short")},
              QStringLiteral("00-database-short\n     A Glossary of Gardening\n"));
    ExpectFailure({other.Write(dir_.path(), QStringLiteral("garden"))},
                  "neither the VERA nor the FOLDOC database (it calls itself \"A Glossary of "
                  "Gardening\")");
}

TEST_F(DictdCommandTest, InputsWithoutEntriesFailAndWriteNothing) {
    // The encyclopaedia alone, when none of its articles names an abbreviation with its
    // expansion.
    DictdWriter foldoc = DictdWriter::Foldoc();
    foldoc.AddFoldoc({QStringLiteral("bubble sort")}, {QStringLiteral("<algorithm> A sort.")});
    ExpectFailure({foldoc.Write(dir_.path(), QStringLiteral("sorts"))}, "no entries");

    // An acronym list cut after its header.
    const QString cut = dir_.filePath(QStringLiteral("headonly.index"));
    const QList<QByteArray> lines = ReadBytes(veraIndex_).split('\n');
    WriteBytes(cut, lines.at(0) + '\n' + lines.at(1) + '\n');
    QFile::copy(dir_.filePath(QStringLiteral("vera.dict.dz")),
                dir_.filePath(QStringLiteral("headonly.dict.dz")));
    ExpectFailure({cut}, "no entries");

    // Nor does such a build replace a dictionary that is already there.
    ASSERT_EQ(Run({QStringLiteral("-o"), output_, veraIndex_}), 0) << qPrintable(err_);
    const QByteArray before = ReadBytes(output_);
    EXPECT_EQ(Run({QStringLiteral("-o"), output_, cut}), 1);
    EXPECT_EQ(ReadBytes(output_), before);
}

TEST_F(DictdCommandTest, WordListsAreFurtherInputsWhoseBadLinesAreCounted) {
    const QString compdic = WriteWordList(
        dir_.path(), QStringLiteral("compdic"),
        {QStringLiteral("中央処理装置 [ちゅうおうしょりそうち] /(n) central processing unit/CPU/"),
         QStringLiteral("インターネットプロトコル /(n) internet protocol/"),
         QStringLiteral("壊れた行 [こわれたぎょう] no slash")});
    const QString edict = WriteWordList(
        dir_.path(), QStringLiteral("edict"),
        {EdictHeaderLine(),
         QStringLiteral("ＴＣＰ [ティーシーピー] /(n) (comp) transmission control protocol/TCP/")});
    QFile file(edict);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("\xc3\xe6\xff /(n) broken/\n" + QByteArray(1 << 20, 'x') + " /(n) a megabyte/\n");
    file.close();

    // In any order, told apart by their content.
    ASSERT_EQ(Run({QStringLiteral("-o"), output_, edict, veraIndex_, compdic, foldocIndex_}), 0)
        << qPrintable(err_);
    EXPECT_TRUE(out_.contains(QLatin1String("4 entries in"))) << qPrintable(out_);
    EXPECT_TRUE(out_.contains(QLatin1String("from 3 words of EDICT and COMPDIC: Japanese terms for "
                                            "2 entries, the reading of the abbreviation for 1; 0 "
                                            "entries from abbreviation headwords, and 1 naming")))
        << qPrintable(out_);
    EXPECT_TRUE(out_.contains(QLatin1String("1 COMPDIC lines not of the form HEADWORD [READING] "
                                            "/GLOSS/.../ (the first is line 3)")))
        << qPrintable(out_);
    EXPECT_TRUE(out_.contains(
        QLatin1String("1 EDICT lines that are not EUC-JP text (the first is line 3)")));
    EXPECT_TRUE(out_.contains(
        QLatin1String("1 EDICT lines longer than 16384 bytes (the first is line 4)")));
    EXPECT_TRUE(QFile::exists(output_));

    // Two lists of one kind are a mistake; a list without EDICT's header is taken for COMPDIC.
    QFile::remove(output_);
    ExpectFailure({veraIndex_, compdic, compdic}, "are both the COMPDIC word list");
    ExpectFailure({veraIndex_, edict, compdic, edict}, "are both the EDICT word list");

    // Damage to the acronym list still stops the build, naming file and line.
    const QString badNumber = dir_.filePath(QStringLiteral("badnum.index"));
    WriteBytes(badNumber, ReadBytes(veraIndex_) + "ghost\tA*B\tC\n");
    QFile::copy(dir_.filePath(QStringLiteral("vera.dict.dz")),
                dir_.filePath(QStringLiteral("badnum.dict.dz")));
    ExpectFailure({edict, compdic, badNumber}, "badnum.index:7: bad index line");
}

TEST_F(DictdCommandTest, AFailureKeepsAnEarlierDictionary) {
    ASSERT_EQ(Run({QStringLiteral("-o"), output_, veraIndex_}), 0) << qPrintable(err_);
    const QByteArray before = ReadBytes(output_);
    ASSERT_FALSE(before.isEmpty());
    const QByteArray good = DictZipBytes(vera_.Data(), 64);
    EXPECT_EQ(Run({QStringLiteral("-o"), output_, Damage(QStringLiteral("cut2"), good.left(30))}),
              1);
    EXPECT_EQ(ReadBytes(output_), before);
    EXPECT_FALSE(QFile::exists(output_ + QStringLiteral(".part")));

    // A directory is no place to write to.
    EXPECT_EQ(Run({QStringLiteral("-o"), dir_.path(), veraIndex_}), 1);
    EXPECT_TRUE(err_.contains(QLatin1String("is a directory"))) << qPrintable(err_);
    // Nor is a folder that does not exist.
    EXPECT_EQ(
        Run({QStringLiteral("-o"), dir_.filePath(QStringLiteral("no/such/ABBR.MDB")), veraIndex_}),
        1);
    EXPECT_TRUE(err_.contains(QLatin1String("cannot create"))) << qPrintable(err_);
}

TEST_F(DictdCommandTest, VersionAndTheReportOfUncertainLinks) {
    EXPECT_EQ(Run({QStringLiteral("--version")}), 0);
    EXPECT_TRUE(out_.startsWith(QLatin1String("tessarine-dictd (Tessarine 2000) ")))
        << qPrintable(out_);
    EXPECT_TRUE(err_.isEmpty());

    // IP has two senses here, and nothing in TCP's line tells them apart.
    DictdWriter vera = DictdWriter::Vera();
    vera.AddVera(QStringLiteral("IP"), QStringLiteral("Internet Protocol"));
    vera.AddVera(QStringLiteral("IP"), QStringLiteral("Intellectual Property"));
    vera.AddVera(QStringLiteral("TCP"), QStringLiteral("Transmission Control Protocol (IP, TCP)"));
    vera.AddVera(QStringLiteral("UDP"), QStringLiteral("User Datagram Protocol (TCP)"));
    const QString index = vera.Write(dir_.path(), QStringLiteral("ambiguous"));
    const QString report = dir_.filePath(QStringLiteral("out/uncertain.tsv"));
    ASSERT_EQ(Run({QStringLiteral("-o"), output_, QStringLiteral("--uncertain=") + report, index}),
              0)
        << qPrintable(err_);
    EXPECT_TRUE(out_.contains(
        QLatin1String("links and related words: 2 resolved exactly, 0 by evidence, 2 uncertain")))
        << qPrintable(out_);
    EXPECT_EQ(QString::fromUtf8(ReadBytes(report)),
              QStringLiteral("TCP\tTransmission Control Protocol\tIP\tIP\tInternet Protocol\n"));

    // Only one report, and it needs a name.
    EXPECT_EQ(Run({QStringLiteral("-o"), output_, QStringLiteral("--uncertain="), index}), 2);
    EXPECT_TRUE(err_.contains(QLatin1String("--uncertain takes one file name")));
    EXPECT_EQ(Run({QStringLiteral("-o"), output_, QStringLiteral("--uncertain")}), 2);
    EXPECT_TRUE(err_.contains(QLatin1String("--uncertain needs a value"))) << qPrintable(err_);
}

// The manual pages, in English and Japanese, name every kind of input the builder takes: the
// dictd databases and the word lists EDICT and COMPDIC, with where Debian puts each.
TEST(DictdManualPages, NameEveryKindOfInputAndWhereItLies) {
    for (const char* page : {"/man/tessarine-dictd.1", "/man/ja/tessarine-dictd.1"}) {
        QFile file(QStringLiteral(TESSARINE_SOURCE_DIR) + QLatin1String(page));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << page;
        const QString text = QString::fromUtf8(file.readAll());
        const qsizetype nameAt = text.indexOf(QLatin1String("\n.SH "));
        const QString nameLine = text.mid(nameAt).section(QLatin1Char('\n'), 2, 2);
        for (const char* input : {"dictd", "EDICT", "COMPDIC"})
            EXPECT_TRUE(nameLine.contains(QLatin1String(input))) << page << ": " << input;
        for (const char* path : {"/usr/share/dictd/vera.index", "/usr/share/dictd/foldoc.index",
                                 "/usr/share/edict/edict", "/usr/share/edict/compdic"}) {
            const qsizetype files =
                text.indexOf(QRegularExpression(QStringLiteral("\\.SH (FILES|ファイル)\\n")));
            ASSERT_GE(files, 0) << page << ": no section of files";
            EXPECT_GT(text.indexOf(QLatin1String(path), files), files) << page << ": " << path;
        }
    }
}

} // namespace
