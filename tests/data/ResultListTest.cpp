#include "data/DbAccess.h"
#include "support/DataFixtures.h"

#include <gtest/gtest.h>

namespace {

class ResultListTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // 520 entries "K000".."K519" in one category; the keys sort as the numbers do.
        dict_ = new TestDictionary;
        dict_->AddCategory(1, QStringLiteral("一般"), QStringLiteral("GEN"));
        dict_->AddCategory(2, QStringLiteral("少数"), QStringLiteral("FEW"));
        for (int i = 0; i < 520; ++i)
            dict_->AddEntry(QStringLiteral("K%1").arg(i, 3, 10, QLatin1Char('0')),
                            QStringLiteral("Key %1").arg(i), i < 500 ? 1 : 2);
        dict_->AddEntry(QStringLiteral("NOLETTER"), QString(), 2);
        dict_->AddEntry(QStringLiteral("twin"), QStringLiteral("b second"), 2);
        dict_->AddEntry(QStringLiteral("TWIN"), QStringLiteral("a first"), 2);
        dict_->Finish();
    }
    static void TearDownTestSuite() {
        delete dict_;
        dict_ = nullptr;
    }
    void SetUp() override { ASSERT_EQ(OpenForTest(dict_->Path()), 2); }
    void TearDown() override { TestDb().Close(); }

    static TestDictionary* dict_;
};

TestDictionary* ResultListTest::dict_ = nullptr;

TEST_F(ResultListTest, ExactlyFiveHundredAreAllListed) {
    RecordingList list;
    EXPECT_EQ(TestDb().SearchEntries(QString(), QString(), 1, list), 500);
    EXPECT_EQ(list.Count(), 500);
}

TEST_F(ResultListTest, MoreThanFiveHundredListTheFirstFiveHundredInOrder) {
    RecordingList list;
    EXPECT_EQ(TestDb().SearchEntries(QStringLiteral("K*"), QString(), 0, list), 500);
    ASSERT_EQ(list.Count(), 500);
    EXPECT_EQ(list.items.first().text, QStringLiteral("K000\tKey 0"));
    EXPECT_EQ(list.items.last().text, QStringLiteral("K499\tKey 499"));
    EXPECT_EQ(list.items.last().data, 500);
    EXPECT_EQ(TestDb().SearchEntries(QStringLiteral("*"), QString(), 0, list), 500);
}

TEST_F(ResultListTest, OneMatchGivesOneLineWithItsId) {
    RecordingList list;
    EXPECT_EQ(TestDb().SearchEntries(QStringLiteral("k007"), QString(), 0, list), 1);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.items[0].text, QStringLiteral("K007\tKey 7"));
    EXPECT_EQ(list.items[0].data, 8);
}

TEST_F(ResultListTest, NullLetterGivesTheAbbreviationAndATab) {
    RecordingList list;
    EXPECT_EQ(TestDb().SearchEntries(QStringLiteral("noletter"), QString(), 0, list), 1);
    EXPECT_EQ(list.items.value(0).text, QStringLiteral("NOLETTER\t"));
}

TEST_F(ResultListTest, SortsByAbbreviationThenSpelledOutForm) {
    RecordingList list;
    EXPECT_EQ(TestDb().SearchEntries(QStringLiteral("twin"), QString(), 0, list), 2);
    EXPECT_EQ(list.Texts(),
              (QStringList{QStringLiteral("TWIN\ta first"), QStringLiteral("twin\tb second")}));
}

TEST_F(ResultListTest, CombinesKeyLetterAndCategory) {
    RecordingList list;
    EXPECT_EQ(TestDb().SearchEntries(QStringLiteral("K5*"), QString(), 2, list), 20);
    EXPECT_EQ(TestDb().SearchEntries(QStringLiteral("K5*"), QStringLiteral("key 51*"), 2, list),
              10);
    EXPECT_EQ(TestDb().SearchEntries(QStringLiteral("K5?1"), QString(), 2, list), 2);
    EXPECT_EQ(list.Texts(),
              (QStringList{QStringLiteral("K501\tKey 501"), QStringLiteral("K511\tKey 511")}));
    EXPECT_EQ(TestDb().SearchEntries(QString(), QStringLiteral("KEY 12"), 0, list), 1);
}

TEST_F(ResultListTest, ListIsEmptiedAlsoWhenTheQueryFails) {
    RecordingList list;
    list.AddItem(QStringLiteral("stale"), 3);
    EXPECT_EQ(TestDb().FillResultList(QStringLiteral("(SELECT * FROM NoSuchTable)"), list), 0);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.clears, 1);
}

TEST_F(ResultListTest, NoMatchGivesAnEmptyList) {
    RecordingList list;
    list.AddItem(QStringLiteral("stale"), 3);
    EXPECT_EQ(TestDb().SearchEntries(QStringLiteral("ZZZ"), QString(), 0, list), 0);
    EXPECT_EQ(list.Count(), 0);
}

} // namespace
