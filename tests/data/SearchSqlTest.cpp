#include "data/DbAccess.h"
#include "support/DataFixtures.h"

#include <gtest/gtest.h>

namespace {

struct SqlCase {
    const char16_t* key;
    const char16_t* letter;
    qint16 category;
    const char16_t* sql;
};

class SearchSqlTest : public ::testing::TestWithParam<SqlCase> {};

TEST_P(SearchSqlTest, BuildsTheStatementExactly) {
    const SqlCase c = GetParam();
    EXPECT_EQ(DbAccess::BuildSearchSql(QString::fromUtf16(c.key), QString::fromUtf16(c.letter),
                                       c.category),
              QString::fromUtf16(c.sql));
}

INSTANTIATE_TEST_SUITE_P(
    Examples, SearchSqlTest,
    ::testing::Values(
        SqlCase{u"cpu", u"", 0,
                u"(SELECT * FROM AbbrTB WHERE ([AbbrKey] = 'CPU')  ORDER BY [Abbr],[Letter])"},
        SqlCase{u"C*", u"", 3,
                u"(SELECT * FROM AbbrTB WHERE ([AbbrKey] Between 'C' And 'Cﾝ') AND "
                u"([CategoryID] = 3) ORDER BY [Abbr],[Letter])"},
        SqlCase{u"", u"central*", 0,
                u"(SELECT * FROM AbbrTB WHERE ([Letter] Between 'central' And 'centralﾝ')  "
                u"ORDER BY [Abbr],[Letter])"},
        SqlCase{u"?PU", u"o'clock", 0,
                u"(SELECT * FROM AbbrTB WHERE ([AbbrKey] like '?PU') AND ([Letter] = "
                u"'o''clock')  ORDER BY [Abbr],[Letter])"},
        SqlCase{u"", u"", 5,
                u"(SELECT * FROM AbbrTB WHERE ([CategoryID] = 5) ORDER BY [Abbr],[Letter])"},
        SqlCase{u"*", u"", 0,
                u"(SELECT * FROM AbbrTB WHERE ([AbbrKey] like '*')  ORDER BY [Abbr],[Letter])"},
        SqlCase{u"a*b", u"", 0,
                u"(SELECT * FROM AbbrTB WHERE ([AbbrKey] like 'A*B')  ORDER BY [Abbr],[Letter])"},
        SqlCase{u"", u"'", 0,
                u"(SELECT * FROM AbbrTB WHERE ([Letter] = '''')  ORDER BY [Abbr],[Letter])"},
        SqlCase{u"x-1", u"", -2,
                u"(SELECT * FROM AbbrTB WHERE ([AbbrKey] = 'X1')  ORDER BY [Abbr],[Letter])"},
        // Only kanji: the key normalises to nothing and no condition is written at all.
        SqlCase{u"中央", u"", 0, u"(SELECT * FROM AbbrTB WHERE  ORDER BY [Abbr],[Letter])"},
        // Typed with the input method on: full-width letters, wildcards, apostrophes and spaces
        // search as their narrow forms.
        SqlCase{u"ＣＰＵ", u"", 0,
                u"(SELECT * FROM AbbrTB WHERE ([AbbrKey] = 'CPU')  ORDER BY [Abbr],[Letter])"},
        SqlCase{u"ｃｄ－ｒｏｍ＊", u"\u3000ｃｅｎｔｒａｌ＊\u3000", 0,
                u"(SELECT * FROM AbbrTB WHERE ([AbbrKey] Between 'CDROM' And 'CDROMﾝ') AND "
                u"([Letter] Between 'central' And 'centralﾝ')  ORDER BY [Abbr],[Letter])"},
        SqlCase{u"", u"ｏ＇ｃｌｏｃｋ", 0,
                u"(SELECT * FROM AbbrTB WHERE ([Letter] = 'o''clock')  ORDER BY [Abbr],[Letter])"},
        SqlCase{u"？ＰＵ", u"", 0,
                u"(SELECT * FROM AbbrTB WHERE ([AbbrKey] like '?PU')  ORDER BY [Abbr],[Letter])"}));

TEST(SearchEntriesTest, NothingToSearchLeavesTheListAlone) {
    RecordingList list;
    list.AddItem(QStringLiteral("kept"), 7);
    EXPECT_EQ(DbAccess::BuildSearchSql(QString(), QString(), 0), QString());
    EXPECT_EQ(TestDb().SearchEntries(QString(), QString(), 0, list), 0);
    EXPECT_EQ(TestDb().SearchEntries(QString(), QString(), -1, list), 0);
    // A full-width space is as empty as an ordinary one.
    EXPECT_EQ(DbAccess::BuildSearchSql(QStringLiteral("\u3000"), QStringLiteral("\u3000\u3000"), 0),
              QString());
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list.clears, 0);
}

// Hostile text reaches the statement only inside one string literal, so the statement's
// structure is the same whatever the user types.
class HostileLetterTest : public ::testing::TestWithParam<QString> {};

TEST_P(HostileLetterTest, StaysInsideOneLiteral) {
    const QString letter = GetParam();
    QString escaped = letter.trimmed();
    escaped.replace(QLatin1Char('\''), QLatin1String("''"));
    const QString sql = DbAccess::BuildSearchSql(QString(), letter, 0);
    const QString expected = QStringLiteral("(SELECT * FROM AbbrTB WHERE ([Letter] = '") + escaped +
                             QStringLiteral("')  ORDER BY [Abbr],[Letter])");
    if (letter.contains(QLatin1Char('*')) || letter.contains(QLatin1Char('?')))
        GTEST_SKIP() << "wildcards choose another form";
    EXPECT_EQ(sql, expected);
    // Between the opening and the closing quote, every apostrophe is doubled.
    const QString literal = sql.mid(sql.indexOf(QLatin1Char('\'')) + 1);
    const QString body = literal.left(literal.lastIndexOf(QLatin1Char('\'')));
    EXPECT_EQ(body.count(QLatin1Char('\'')) % 2, 0);
    EXPECT_FALSE(QString(body).replace(QLatin1String("''"), QString()).contains(QLatin1Char('\'')));
}

INSTANTIATE_TEST_SUITE_P(Inputs, HostileLetterTest,
                         ::testing::Values(QStringLiteral("') OR 1=1 --"),
                                           QStringLiteral("x'); DROP TABLE AbbrTB; --"),
                                           QStringLiteral("]"), QStringLiteral("["),
                                           QStringLiteral("'''"), QStringLiteral("a\0b"),
                                           QString(100000, QLatin1Char('\'')),
                                           QStringLiteral("\\'; SELECT 1; '")));

class HostileSearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        dict_ = std::make_unique<TestDictionary>();
        dict_->AddCategory(1, QStringLiteral("一般"), QStringLiteral("GEN"));
        plain_ = dict_->AddEntry(QStringLiteral("ABC"), QStringLiteral("alpha"), 1);
        hostile_ = dict_->AddEntry(QStringLiteral("INJ"), QStringLiteral("') OR 1=1 --"), 1);
        bracket_ = dict_->AddEntry(QStringLiteral("BRK"), QStringLiteral("[x]"), 1);
        dict_->Finish();
        ASSERT_GT(OpenForTest(dict_->Path()), 0);
    }
    void TearDown() override { TestDb().Close(); }

    std::unique_ptr<TestDictionary> dict_;
    qint32 plain_ = 0, hostile_ = 0, bracket_ = 0;
};

TEST_F(HostileSearchTest, InjectionTextFindsOnlyTheRowThatHoldsIt) {
    RecordingList list;
    EXPECT_EQ(TestDb().SearchEntries(QString(), QStringLiteral("') OR 1=1 --"), 0, list), 1);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.items[0].data, hostile_);
}

TEST_F(HostileSearchTest, BracketsAreOrdinaryCharactersInExactSearches) {
    RecordingList list;
    EXPECT_EQ(TestDb().SearchEntries(QString(), QStringLiteral("[x]"), 0, list), 1);
    EXPECT_EQ(list.items.value(0).data, bracket_);
    EXPECT_EQ(TestDb().SearchEntries(QString(), QStringLiteral("]"), 0, list), 0);
}

TEST_F(HostileSearchTest, MalformedPatternIsRejectedWithoutRows) {
    RecordingList list;
    list.AddItem(QStringLiteral("old"), 1);
    EXPECT_EQ(TestDb().SearchEntries(QString(), QStringLiteral("[ab*"), 0, list), 0);
    EXPECT_EQ(list.Count(), 0); // emptied before the statement was refused
}

TEST_F(HostileSearchTest, NulAndHugeTextFindNothing) {
    RecordingList list;
    EXPECT_EQ(TestDb().SearchEntries(QString(), QStringLiteral("alpha\0' OR 1=1 --"), 0, list), 0);
    EXPECT_EQ(TestDb().SearchEntries(QString(100000, QLatin1Char('x')), QString(), 0, list), 0);
    EXPECT_EQ(TestDb().SearchEntries(QString(), QString(100000, QLatin1Char('\'')), 0, list), 0);
    // A pattern of many stars and letters still answers (and finds nothing here).
    QString stars;
    for (int i = 0; i < 20000; ++i)
        stars += QStringLiteral("*a");
    EXPECT_EQ(TestDb().SearchEntries(QString(), stars, 0, list), 0);
}

TEST_F(HostileSearchTest, StatementWithoutConditionIsRejected) {
    RecordingList list;
    list.AddItem(QStringLiteral("old"), 1);
    EXPECT_EQ(TestDb().SearchEntries(QStringLiteral("中央"), QString(), 0, list), 0);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.clears, 1);
}

TEST_F(HostileSearchTest, SecondStatementsAndWritesAreRefused) {
    RecordingList list;
    EXPECT_EQ(TestDb().FillResultList(QStringLiteral("SELECT * FROM AbbrTB; SELECT 1"), list), 0);
    EXPECT_EQ(TestDb().FillResultList(QStringLiteral("DELETE FROM AbbrTB"), list), 0);
    EXPECT_EQ(TestDb().FillResultList(QStringLiteral("(SELECT * FROM AbbrTB) OR (1)"), list), 0);
    EXPECT_EQ(TestDb().SearchEntries(QStringLiteral("ABC"), QString(), 0, list), 1);
}

} // namespace
