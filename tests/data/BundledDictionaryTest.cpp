#include "data/DbAccess.h"
#include "data/Recordset.h"
#include "data/Strings.h"
#include "dictionary/DictionarySource.h"
#include "support/DataFixtures.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

namespace {

// The dictionary that ships with the program, as the build placed it beside the executable.
class BundledDictionaryTest : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = QStringLiteral(TESSARINE_BIN_DIR "/ABBR.MDB");
        ASSERT_TRUE(QFile::exists(path_)) << "the build did not place ABBR.MDB beside the program";
        RecordingList categories;
        MessageRecorder recorder;
        categories_ = OpenForTest(path_, &categories);
        ASSERT_TRUE(recorder.boxes.isEmpty());
    }
    void TearDown() override { TestDb().Close(); }

    qint64 Scalar(const char* sql) {
        auto rs = Recordset::Open(TestDb().Db(), QString::fromUtf8(sql));
        EXPECT_TRUE(rs.has_value()) << sql;
        return rs ? rs->Integer("n") : -1;
    }

    QString path_;
    qint16 categories_ = 0;
};

TEST_F(BundledDictionaryTest, HasTheContentAUserExpects) {
    EXPECT_GE(categories_, 6);
    EXPECT_GE(Scalar("SELECT count(*) AS n FROM AbbrTB"), 80);
    EXPECT_GE(Scalar("SELECT count(*) AS n FROM AbbrTB WHERE Letter IS NULL"), 1);
    EXPECT_GE(Scalar("SELECT count(*) AS n FROM AbbrTB WHERE URL IS NOT NULL"), 1);
    EXPECT_GE(Scalar("SELECT count(*) AS n FROM AbbrTB WHERE URL IS NULL"), 1);
    EXPECT_GE(Scalar("SELECT count(*) AS n FROM LinkTB"), 80);
    EXPECT_GE(
        Scalar("SELECT count(*) AS n FROM CategoryTB WHERE length(ShortName) BETWEEN 1 AND 4"), 6);
    EXPECT_TRUE(TestDb().HasUrlField());
}

TEST_F(BundledDictionaryTest, EveryReferenceLeadsToAnEntry) {
    EXPECT_EQ(
        Scalar("SELECT count(*) AS n FROM LinkTB WHERE RefID NOT IN (SELECT AbbrID FROM AbbrTB)"),
        0);
    EXPECT_EQ(Scalar("SELECT count(*) AS n FROM AbbrTB WHERE CategoryID NOT IN "
                     "(SELECT CategoryID FROM CategoryTB)"),
              0);
    QSet<qint64> ids;
    auto all = Recordset::Open(TestDb().Db(), QStringLiteral("SELECT * FROM AbbrTB"));
    ASSERT_TRUE(all.has_value());
    QStringList texts;
    for (; !all->Eof(); all->MoveNext()) {
        ids.insert(all->Integer("AbbrID"));
        texts << all->Text("HyperText");
        EXPECT_FALSE(all->Text("Description").contains(QLatin1String("\\J")));
    }
    int unnumbered = 0;
    static const QRegularExpression link(QStringLiteral("\\\\J(\\d*)"));
    for (const QString& text : texts) {
        // Doubled backslashes are literal text, not codes.
        QString codes = text;
        codes.replace(QLatin1String("\\\\"), QLatin1String("  "));
        for (auto m = link.globalMatch(codes); m.hasNext();) {
            const QString number = m.next().captured(1);
            if (number.isEmpty())
                ++unnumbered;
            else
                EXPECT_TRUE(ids.contains(number.toLongLong())) << qPrintable(number);
        }
    }
    EXPECT_GE(unnumbered, 1);
}

TEST_F(BundledDictionaryTest, UsesEveryMarkupCode) {
    QString all;
    auto rs = Recordset::Open(TestDb().Db(), QStringLiteral("SELECT * FROM AbbrTB"));
    ASSERT_TRUE(rs.has_value());
    for (; !rs->Eof(); rs->MoveNext())
        all += rs->Text("HyperText") + QLatin1Char('\n');
    QString codes = all;
    EXPECT_TRUE(codes.contains(QLatin1String("\\\\")));
    codes.replace(QLatin1String("\\\\"), QLatin1String("  "));
    for (const char* code : {"\\B", "\\b", "\\I", "\\i", "\\U", "\\u", "\\J", "\\j", "\\F", "\\f"})
        EXPECT_TRUE(codes.contains(QLatin1String(code))) << code;
    // The title line codes are the program's own.
    EXPECT_FALSE(codes.contains(QLatin1String("\\H")));
    EXPECT_FALSE(codes.contains(QLatin1String("\\h")));
    EXPECT_TRUE(all.contains(QStringLiteral("、")));
    EXPECT_TRUE(all.contains(QStringLiteral("。")));
}

TEST_F(BundledDictionaryTest, OneDescriptionIsLongerThanWhatIsShown) {
    auto rs = Recordset::Open(TestDb().Db(), QStringLiteral("SELECT * FROM AbbrTB"));
    ASSERT_TRUE(rs.has_value());
    bool found = false;
    for (; !rs->Eof(); rs->MoveNext()) {
        const QString text = rs->Text("HyperText");
        if (Strings::CutToCodePageBytes(text, DbAccess::kDescriptionBytes).size() < text.size()) {
            found = true;
            QString abbr, url;
            const QString shown = ShownEntryText(qint32(rs->Integer("AbbrID")), abbr, url);
            EXPECT_LT(shown.size(), text.size() + 64);
        }
    }
    EXPECT_TRUE(found);
}

TEST_F(BundledDictionaryTest, CpuIsFoundAsAUserTypesIt) {
    RecordingList list;
    EXPECT_EQ(TestDb().SearchEntries(QStringLiteral("cpu"), QString(), 0, list), 1);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_TRUE(list.items[0].text.startsWith(QLatin1String("CPU\t")));
    EXPECT_GT(TestDb().SearchEntries(QStringLiteral("*"), QString(), 0, list), 79);
}

TEST(DictionarySourceTest, ResolvesReferencesAndRelatedWords) {
    DictionarySource source;
    QString error;
    ASSERT_TRUE(
        source.Parse(QStringLiteral("@category HW ハードウェア\n@category - 一般\n"
                                    "@entry CPU\nletter: Central Processing Unit\n"
                                    "category: HW\nrelated: RAM, 記憶=RAM\ntext:\n"
                                    "  \\BCPU\\b は \\J@RAM RAM\\j と働く。\n  \\\\x\\f秘密\n"
                                    "@entry RAM\ncategory: -\ntext:\n  記憶。\n"),
                     &error))
        << qPrintable(error);
    ASSERT_EQ(source.entries.size(), 2);
    EXPECT_EQ(source.entries[0].hyperText,
              QStringLiteral("\\BCPU\\b は \\J2 RAM\\j と働く。\r\n\\\\x\\f秘密"));
    EXPECT_EQ(source.entries[0].description, QStringLiteral("CPU は RAM と働く。\r\n\\x"));
    EXPECT_TRUE(source.entries[1].letterIsNull);
    EXPECT_EQ(source.entries[1].categoryId, 2);
    ASSERT_EQ(source.links.size(), 2);
    EXPECT_EQ(source.links[0].word, QStringLiteral("RAM"));
    EXPECT_EQ(source.links[1].word, QStringLiteral("記憶"));
    EXPECT_EQ(source.links[1].refId, 2);
}

TEST(DictionarySourceTest, ReportsUnknownTargetsWithTheLine) {
    DictionarySource source;
    QString error;
    EXPECT_FALSE(source.Parse(QStringLiteral("@category HW x\n\n@entry CPU\ncategory: HW\ntext:\n"
                                             "  \\J@NOPE x\\j\n"),
                              &error));
    EXPECT_TRUE(error.contains(QLatin1String("line 3"))) << qPrintable(error);
    EXPECT_TRUE(error.contains(QLatin1String("NOPE")));
}

} // namespace
