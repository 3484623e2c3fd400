#include "tools/DictdDatabase.h"
#include "DictdFiles.h"
#include "tools/DictdIndex.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(DictdNumberTest, DecodesMostSignificantDigitFirst) {
    const std::pair<const char*, qint64> cases[] = {
        {"A", 0},
        {"B", 1},
        {"Z", 25},
        {"a", 26},
        {"z", 51},
        {"0", 52},
        {"9", 61},
        {"+", 62},
        {"/", 63},
        {"BA", 64},
        {"CK", 138},
        {"hC2", 33 * 4096 + 2 * 64 + 54},
        {"//////////", (qint64(1) << 60) - 1},
    };
    for (const auto& [digits, expected] : cases) {
        qint64 value = -1;
        EXPECT_TRUE(DecodeDictdNumber(QString::fromLatin1(digits), &value)) << digits;
        EXPECT_EQ(value, expected) << digits;
    }
    for (const qint64 v : {qint64(0), qint64(1), qint64(4095), qint64(58315), qint64(5578809)}) {
        qint64 back = -1;
        ASSERT_TRUE(DecodeDictdNumber(DictdNumber(v), &back));
        EXPECT_EQ(back, v);
    }
}

TEST(DictdNumberTest, RefusesWhatIsNotANumber) {
    qint64 value = 0;
    for (const char* bad : {"", "A=", "-1", "A B", "12.5", "AAAAAAAAAAA"})
        EXPECT_FALSE(DecodeDictdNumber(QString::fromLatin1(bad), &value)) << bad;
}

TEST(DictdIndexTest, ReadsLinesAndSkipsBlankOnes) {
    QList<DictdIndexEntry> entries;
    QString error;
    ASSERT_TRUE(
        ParseDictdIndex("cpu\thC2\tr\r\n\nrandom-access memory\tBA\tB\tRandom-Access Memory\n",
                        QStringLiteral("x.index"), &entries, &error))
        << qPrintable(error);
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries.at(0).headword, QStringLiteral("cpu"));
    EXPECT_EQ(entries.at(0).offset, 33 * 4096 + 2 * 64 + 54);
    EXPECT_EQ(entries.at(0).length, 43);
    EXPECT_EQ(entries.at(0).line, 1);
    EXPECT_EQ(entries.at(1).headword, QStringLiteral("random-access memory"));
    EXPECT_EQ(entries.at(1).offset, 64);
    EXPECT_EQ(entries.at(1).line, 3);
}

TEST(DictdIndexTest, BadLinesNameTheFileAndLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"ok\tA\tB\nbroken line\n", "x.index:2:"},
        {"ok\tA\tB\nno length\tA\n", "tabs"},
        {"bad\tA!\tB\n", "offset \"A!\""},
        {"bad\tA\t-\n", "length \"-\""},
        {"\tA\tB\n", "empty headword"},
    };
    for (const auto& [content, expected] : cases) {
        QList<DictdIndexEntry> entries;
        QString error;
        EXPECT_FALSE(ParseDictdIndex(content, QStringLiteral("x.index"), &entries, &error))
            << content;
        EXPECT_TRUE(error.contains(QLatin1String(expected))) << qPrintable(error);
    }
}

TEST(DictdIndexTest, HeaderNamesFoldToOneForm) {
    EXPECT_EQ(FoldedHeadword(u"00-database-short"), QStringLiteral("00databaseshort"));
    EXPECT_EQ(FoldedHeadword(u"00databaseshort"), QStringLiteral("00databaseshort"));
    EXPECT_EQ(FoldedHeadword(u"Random-Access  Memory"), QStringLiteral("randomaccessmemory"));
}

TEST(IdentifyTest, ByShortNameThenByInformation) {
    using K = DictdDatabase::Kind;
    EXPECT_EQ(IdentifyDictdDatabase(QStringLiteral("V.E.R.A. -- Virtual Entity of Relevant "
                                                   "Acronyms (June 2099)"),
                                    QString()),
              K::Vera);
    EXPECT_EQ(IdentifyDictdDatabase(QStringLiteral("The Free On-line Dictionary of Computing"),
                                    QString()),
              K::Foldoc);
    EXPECT_EQ(IdentifyDictdDatabase(QStringLiteral("FOLDOC"), QString()), K::Foldoc);
    EXPECT_EQ(IdentifyDictdDatabase(QString(), QStringLiteral("... V.E.R.A. ...")), K::Vera);
    // Another database whose notice thanks ours by its short name is not ours.
    EXPECT_EQ(IdentifyDictdDatabase(QStringLiteral("A glossary of gardening"),
                                    QStringLiteral("Thanks to FOLDOC for the idea.")),
              K::Unknown);
}

class DictdDatabaseTest : public ::testing::Test {
protected:
    QString OpenError(const QString& index) {
        QString error;
        EXPECT_FALSE(DictdDatabase::Open(index, &error));
        return error;
    }
    QTemporaryDir dir_;
};

TEST_F(DictdDatabaseTest, OpensEitherDataFileAndLeavesOutTheHeader) {
    for (const auto format :
         {DictdWriter::Format::DictZip, DictdWriter::Format::Plain, DictdWriter::Format::Gzip}) {
        DictdWriter w = DictdWriter::Vera();
        w.AddVera(QStringLiteral("CPU"), QStringLiteral("Central Processing Unit"));
        w.AddVera(QStringLiteral("RAM"), QStringLiteral("Random Access Memory (IC)"));
        const QString name = QStringLiteral("vera%1").arg(int(format));
        QString error;
        auto db = DictdDatabase::Open(w.Write(dir_.path(), name, format), &error);
        ASSERT_TRUE(db) << qPrintable(error);
        EXPECT_EQ(db->DatabaseKind(), DictdDatabase::Kind::Vera);
        EXPECT_EQ(db->ShortName(),
                  QStringLiteral("V.E.R.A. -- Virtual Entity of Relevant Acronyms (June 2099)"));
        EXPECT_TRUE(db->DataPath().endsWith(format == DictdWriter::Format::Plain
                                                ? QLatin1String(".dict")
                                                : QLatin1String(".dict.dz")));
        ASSERT_EQ(db->Entries().size(), 2);
        QString text;
        ASSERT_TRUE(db->Text(db->Entries().at(1), &text, &error)) << qPrintable(error);
        EXPECT_EQ(text, QStringLiteral("RAM\n       Random Access Memory (IC)\n       \n"));
    }
}

TEST_F(DictdDatabaseTest, TheDictZipIsPreferredToThePlainFile) {
    DictdWriter w = DictdWriter::Foldoc();
    w.AddFoldoc({QStringLiteral("TCP")}, {QStringLiteral("A protocol.")});
    const QString index =
        w.Write(dir_.path(), QStringLiteral("both"), DictdWriter::Format::DictZip);
    w.Write(dir_.path(), QStringLiteral("both"), DictdWriter::Format::Plain);
    QString error;
    auto db = DictdDatabase::Open(index, &error);
    ASSERT_TRUE(db) << qPrintable(error);
    EXPECT_TRUE(db->DataPath().endsWith(QLatin1String("both.dict.dz")));
    EXPECT_EQ(db->DatabaseKind(), DictdDatabase::Kind::Foldoc);
}

TEST_F(DictdDatabaseTest, TextThatIsNotUtf8IsReadAsLatin1) {
    DictdWriter w = DictdWriter::Vera();
    const QString index = w.Write(dir_.path(), QStringLiteral("l1"), DictdWriter::Format::Plain);
    // An entry appended by hand in Latin-1: "é" is one byte 0xE9.
    QByteArray data = ReadBytes(dir_.filePath(QStringLiteral("l1.dict")));
    const qint64 at = data.size();
    data += "CAFE\n       Caf\xE9 Acronym\n";
    WriteBytes(dir_.filePath(QStringLiteral("l1.dict")), data);
    QByteArray lines = ReadBytes(index);
    lines += "cafe\t" + DictdNumber(at).toLatin1() + "\t" +
             DictdNumber(data.size() - at).toLatin1() + "\n";
    WriteBytes(index, lines);
    QString error;
    auto db = DictdDatabase::Open(index, &error);
    ASSERT_TRUE(db) << qPrintable(error);
    QString text;
    ASSERT_TRUE(db->Text(db->Entries().at(0), &text, &error));
    EXPECT_TRUE(text.contains(QStringLiteral("Caf\u00e9 Acronym"))) << qPrintable(text);
}

TEST_F(DictdDatabaseTest, MissingOrInconsistentFilesAreRefused) {
    DictdWriter w = DictdWriter::Vera();
    w.AddVera(QStringLiteral("CPU"), QStringLiteral("Central Processing Unit"));

    EXPECT_TRUE(OpenError(dir_.filePath(QStringLiteral("none.index")))
                    .contains(QLatin1String("cannot read")));

    // The index alone.
    const QString alone = w.Write(dir_.path(), QStringLiteral("alone"), DictdWriter::Format::Plain);
    QFile::remove(dir_.filePath(QStringLiteral("alone.dict")));
    QString error = OpenError(alone);
    EXPECT_TRUE(error.contains(QLatin1String("no data file"))) << qPrintable(error);
    EXPECT_TRUE(error.contains(QLatin1String("alone.dict.dz"))) << qPrintable(error);

    // An index line pointing past the end of the data.
    const QString past = w.Write(dir_.path(), QStringLiteral("past"));
    QByteArray lines = ReadBytes(past);
    lines += "ghost\t" + DictdNumber(w.Data().size() - 3).toLatin1() + "\tK\n";
    WriteBytes(past, lines);
    error = OpenError(past);
    EXPECT_TRUE(error.contains(QLatin1String("beyond the end"))) << qPrintable(error);
    EXPECT_TRUE(error.contains(QLatin1String("\"ghost\""))) << qPrintable(error);
    EXPECT_TRUE(error.contains(QLatin1String("past.index:4:"))) << qPrintable(error);

    // An index without the header entries.
    DictdWriter bare;
    bare.AddVera(QStringLiteral("CPU"), QStringLiteral("Central Processing Unit"));
    error = OpenError(bare.Write(dir_.path(), QStringLiteral("bare")));
    EXPECT_TRUE(error.contains(QLatin1String("00-database-short"))) << qPrintable(error);
}

} // namespace
