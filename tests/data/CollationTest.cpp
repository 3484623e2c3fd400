#include "data/DbAccess.h"
#include "data/Strings.h"
#include "data/TextCollation.h"
#include "support/DataFixtures.h"

#include <gtest/gtest.h>

namespace {

int Sign(int v) {
    return (v > 0) - (v < 0);
}

TEST(CollationTest, IgnoresCase) {
    EXPECT_EQ(TextCollation::Compare(QStringLiteral("cpu"), QStringLiteral("CPU")), 0);
    EXPECT_EQ(TextCollation::Compare(QStringLiteral("Ｃｐｕ"), QStringLiteral("ＣＰＵ")), 0);
    EXPECT_EQ(TextCollation::Compare(QStringLiteral("Überblick"), QStringLiteral("üBERBLICK")), 0);
    EXPECT_LT(TextCollation::Compare(QStringLiteral("abc"), QStringLiteral("ABD")), 0);
    EXPECT_LT(TextCollation::Compare(QStringLiteral("AB"), QStringLiteral("abc")), 0);
}

TEST(CollationTest, FullWidthAsciiComparesAsNarrow) {
    EXPECT_EQ(TextCollation::Compare(QStringLiteral("ＣＰＵ"), QStringLiteral("cpu")), 0);
    EXPECT_EQ(TextCollation::Compare(QStringLiteral("ｃｅｎｔｒａｌ　ｕｎｉｔ"),
                                     QStringLiteral("Central Unit")),
              0);
    EXPECT_LT(TextCollation::Compare(QStringLiteral("ＡＢ"), QStringLiteral("abc")), 0);
    EXPECT_LT(TextCollation::Compare(QStringLiteral("Ｚ"), QStringLiteral("中")), 0);
    // The prefix range's upper bound stays above full-width text.
    EXPECT_LT(TextCollation::Compare(QStringLiteral("Cｚ"), QStringLiteral("Cﾝ")), 0);
}

TEST(CollationTest, HalfWidthNSortsAfterEverything) {
    const QString n = QStringLiteral("ﾝ");
    for (const QString& other :
         {QStringLiteral("Z"), QStringLiteral("z"), QStringLiteral("9"), QStringLiteral("~"),
          QStringLiteral("ん"), QStringLiteral("ン"), QStringLiteral("語"), QStringLiteral("ﾞ"),
          QStringLiteral("ﾟ"), QStringLiteral("￥"), QStringLiteral("\U0001F600"),
          QStringLiteral("\uFFFD")}) {
        EXPECT_GT(TextCollation::Compare(n, other), 0) << qPrintable(other);
        EXPECT_LT(TextCollation::Compare(QStringLiteral("C") + other, QStringLiteral("C") + n), 0);
    }
}

TEST(CollationTest, OrderIsConsistentBothWays) {
    const QStringList texts{QStringLiteral("a"),    QStringLiteral("B"),  QStringLiteral("ﾝ"),
                            QStringLiteral("中央"), QStringLiteral("ab"), QStringLiteral("")};
    for (const QString& a : texts)
        for (const QString& b : texts)
            EXPECT_EQ(Sign(TextCollation::Compare(a, b)), -Sign(TextCollation::Compare(b, a)));
}

TEST(CollationTest, MalformedUtf8ComparesWithoutReadingPastTheEnd) {
    const char broken[] = {'A', char(0xE3), char(0x81)};
    EXPECT_NE(TextCollation::Compare(broken, 3, "A", 1), 0);
    EXPECT_EQ(TextCollation::Compare(broken, 3, broken, 3), 0);
}

// The Between range of a prefix search finds every text that begins with the prefix, whatever
// follows it, and nothing else.
class PrefixRangeTest : public ::testing::Test {
protected:
    void SetUp() override {
        dict_ = std::make_unique<TestDictionary>();
        dict_->AddCategory(1, QStringLiteral("一般"), QStringLiteral("GEN"));
        for (const char16_t* letter :
             {u"central", u"Central Processing Unit", u"CENTRAL", u"central処理装置",
              u"centralしょり", u"centralショリ", u"centralｼｮﾘ", u"centralﾟ", u"central￥",
              u"central\U0001F600", u"centrax", u"centra", u"cent", u"ｃｅｎｔｒａｌ"})
            dict_->AddEntry(QStringLiteral("K%1").arg(++n_), QString::fromUtf16(letter), 1);
        dict_->Finish();
        ASSERT_GT(OpenForTest(dict_->Path()), 0);
    }
    void TearDown() override { TestDb().Close(); }
    std::unique_ptr<TestDictionary> dict_;
    int n_ = 0;
};

TEST_F(PrefixRangeTest, FindsKanaKanjiAndSymbolsAfterThePrefix) {
    RecordingList list;
    // ｃｅｎｔｒａｌ, stored full-width, is found with the rest.
    EXPECT_EQ(TestDb().SearchEntries(QString(), QStringLiteral("central*"), 0, list), 11);
    for (const auto& item : list.items)
        EXPECT_TRUE(Strings::FoldWidth(item.text.section(QLatin1Char('\t'), 1))
                        .startsWith(QLatin1String("central"), Qt::CaseInsensitive))
            << qPrintable(item.text);
}

TEST_F(PrefixRangeTest, ExactSearchIgnoresCaseAndWidth) {
    RecordingList list;
    EXPECT_EQ(TestDb().SearchEntries(QString(), QStringLiteral("CENTRAL"), 0, list), 3);
}

// Typed full-width, the spelled-out form finds what the narrow form finds, the stored full-width
// text included; so does a pattern.
TEST_F(PrefixRangeTest, FullWidthInputFindsNarrowAndFullWidthText) {
    RecordingList narrow;
    RecordingList wide;
    TestDb().SearchEntries(QString(), QStringLiteral("central*"), 0, narrow);
    TestDb().SearchEntries(QString(), QStringLiteral("ｃｅｎｔｒａｌ＊"), 0, wide);
    EXPECT_EQ(wide.Texts(), narrow.Texts());
    RecordingList pattern;
    EXPECT_EQ(TestDb().SearchEntries(QString(), QStringLiteral("＊ｔｒａｌ"), 0, pattern), 3);
}

} // namespace
