// What a full-text query finds in a real dictionary: where terms are looked for, how case and
// width are folded, several terms, short terms, the order and the limit of the results.
#include "FullTextFixture.h"

using namespace Qt::Literals::StringLiterals;

namespace {

class MatchingTest : public FullTextFixture {
protected:
    void SetUp() override {
        Add(u"CPU"_s, u"Central Processing Unit"_s,
            u"\\Bコンピュータ\\bの中心となる\\J2 中央処理装置\\j。ＣＰＵとも書く。"_s,
            u"コンピュータの中心となる中央処理装置。ＣＰＵとも書く。"_s);
        Add(u"RAM"_s, u"Random Access Memory"_s, u"読み書きできる記憶装置で、データを置く。"_s,
            u"読み書きできる記憶装置で、データを置く。"_s);
        Add(u"HDD"_s, u"Hard Disk Drive"_s, u"ﾃﾞｰﾀを磁気で記録する装置。"_s);
        Add(u"SYM"_s, u"Symbols"_s,
            u"記号 \"quoted\" a*b ?x NEAR AND ^caret col:on (paren の説明"_s);
        // Found only through the plain description, which here says more than the drawn one.
        Add(u"PLN"_s, u"Plain Only"_s, u"短い解説"_s, u"短い解説。平文だけの語句"_s);
        // Markup codes are not text: "J123" is no word of this description.
        Add(u"LNK"_s, u"Link Codes"_s, u"\\J123 リンク先\\jと\\Bボールド\\b"_s);
        // A term drawn beyond the part of the description that is read is not shown, so not
        // found either.
        Add(u"LONG"_s, u"Long Text"_s, QString(2100, u'長') + u"末尾の語"_s);
        Add(u"XY"_s, u"Zebra"_s, u"縞"_s);
        Add(u"ﾃﾞｰﾀ"_s, u"Half-width Katakana Headword"_s, u"見出し"_s);
        Build();
    }
};

TEST_F(MatchingTest, FindsTermsInTheDrawnDescription) {
    EXPECT_EQ(Search(u"中央処理装置"_s), QStringList{u"CPU"_s});
    EXPECT_EQ(Search(u"リンク先"_s), QStringList{u"LNK"_s});
    EXPECT_TRUE(Search(u"J123"_s).isEmpty());
    EXPECT_TRUE(Search(u"\\J123"_s).isEmpty());
    EXPECT_TRUE(Search(u"\\Bボ"_s).isEmpty());
    EXPECT_TRUE(Search(u"末尾の語"_s).isEmpty());
    EXPECT_EQ(Search(u"長長長"_s), QStringList{u"LONG"_s});
}

TEST_F(MatchingTest, FindsTermsInThePlainDescriptionSpelledOutFormAndAbbreviation) {
    EXPECT_EQ(Search(u"平文だけの語句"_s), QStringList{u"PLN"_s});
    EXPECT_EQ(Search(u"processing"_s), QStringList{u"CPU"_s});
    EXPECT_EQ(Search(u"hdd"_s), QStringList{u"HDD"_s});
    EXPECT_EQ(Search(u"Access Memory"_s), QStringList{u"RAM"_s});
}

TEST_F(MatchingTest, IgnoresCaseAndFoldsWidth) {
    for (const QString& q : {u"cpu"_s, u"CPU"_s, u"ＣＰＵ"_s, u"ｃｐｕ"_s, u"cPu"_s})
        EXPECT_EQ(Search(q), QStringList{u"CPU"_s}) << q.toStdString();
    const QStringList data{u"HDD"_s, u"RAM"_s, u"ﾃﾞｰﾀ"_s};
    EXPECT_EQ(Search(u"データ"_s), data);
    EXPECT_EQ(Search(u"ﾃﾞｰﾀ"_s), data);
    EXPECT_EQ(Search(u"ＲＡＮＤＯＭ"_s), QStringList{u"RAM"_s});
}

TEST_F(MatchingTest, EveryTermMustOccurEachInAnyPlace) {
    EXPECT_EQ(Search(u"装置 ＣＰＵ"_s), QStringList{u"CPU"_s});
    EXPECT_EQ(Search(u"装置　データ"_s), (QStringList{u"HDD"_s, u"RAM"_s}));
    // One term in the abbreviation, one in the spelled-out form, one in the description.
    EXPECT_EQ(Search(u"HDD disk 磁気"_s), QStringList{u"HDD"_s});
    EXPECT_TRUE(Search(u"HDD 中央処理装置"_s).isEmpty());
}

TEST_F(MatchingTest, TermsNeverSpanTwoPlaces) {
    // "XY" and "Zebra" are neighbours in no text the user reads.
    EXPECT_TRUE(Search(u"yz"_s).isEmpty());
    EXPECT_TRUE(Search(u"xyzebra"_s).isEmpty());
    EXPECT_EQ(Search(u"xy zeb"_s), QStringList{u"XY"_s});
}

TEST_F(MatchingTest, ShortTermsAloneAndBesideLongOnes) {
    EXPECT_EQ(Search(u"縞"_s), QStringList{u"XY"_s});
    EXPECT_EQ(Search(u"装置"_s), (QStringList{u"CPU"_s, u"HDD"_s, u"RAM"_s}));
    EXPECT_EQ(Search(u"置 記"_s), (QStringList{u"HDD"_s, u"RAM"_s}));
    EXPECT_EQ(Search(u"装置 記憶装置"_s), QStringList{u"RAM"_s});
    EXPECT_EQ(Search(u"中央処理装置 とも"_s), QStringList{u"CPU"_s});
    EXPECT_TRUE(Search(u"中央処理装置 ラ"_s).isEmpty());
    EXPECT_EQ(Search(u"デ"_s), (QStringList{u"HDD"_s, u"RAM"_s, u"ﾃﾞｰﾀ"_s}));
}

TEST_F(MatchingTest, ShortTermsFoundThroughTheVocabularyAsByReading) {
    // Characters at the ends of every field, in the middle, absent, and several together.
    const QString queries[] = {u"縞"_s,  u"装置"_s, u"置 記"_s, u"デ"_s, u"x"_s,    u"y"_s,
                               u"a"_s,   u"。"_s,   u"書く"_s,  u"ｱ"_s,  u"ぬ"_s,   u"ぬぬ"_s,
                               u"y z"_s, u"\""_s,   u"長"_s,    u"語"_s, u"出し"_s, u"し"_s};
    for (const QString& q : queries) {
        SCOPED_TRACE(q.toStdString());
        const QStringList read = Search(q, 500, ReadingOnly());
        EXPECT_EQ(Search(q, 500, VocabularyAtOnce()), read) << q.toStdString();
        EXPECT_EQ(Search(q, 2, VocabularyAtOnce()), read.mid(0, 2)) << q.toStdString();
    }
    // "Plain Only", "Memory", "Symbols" and "XY": y ends a field in three of them.
    EXPECT_EQ(Search(u"y"_s, 500, ReadingOnly()),
              (QStringList{u"PLN"_s, u"RAM"_s, u"SYM"_s, u"XY"_s}));
}

TEST_F(MatchingTest, LongTermsBesideShortOnesFoundThroughTheVocabularyAsByReading) {
    const QString queries[] = {
        u"中央処理装置 とも"_s, u"中央処理装置 ラ"_s, u"装置 記憶装置"_s, u"データ 置"_s,
        u"Random y"_s,          u"HDD 磁気 。"_s,     u"unit u"_s,        u"processing ＣＰ"_s};
    for (const QString& q : queries) {
        SCOPED_TRACE(q.toStdString());
        EXPECT_EQ(Search(q, 500, VocabularyAtOnce()), Search(q, 500, ReadingOnly()));
    }
    EXPECT_EQ(Search(u"processing ＣＰ"_s, 500, VocabularyAtOnce()), QStringList{u"CPU"_s});
}

TEST_F(MatchingTest, WildcardsQuotesAndOperatorsAreSearchedAsText) {
    for (const QString& q :
         {u"\"quoted\""_s, u"a*b"_s, u"?x"_s, u"NEAR"_s, u"^caret"_s, u"col:on"_s, u"(paren"_s,
          u"\""_s, u"*"_s, u"^"_s, u":"_s, u"("_s, u"\"quoted"_s, u"記号 \"q"_s, u"AND 記号"_s})
        EXPECT_EQ(Search(q), QStringList{u"SYM"_s}) << q.toStdString();
    // "and" is found wherever it stands, "Random" included.
    EXPECT_EQ(Search(u"AND"_s), (QStringList{u"RAM"_s, u"SYM"_s}));
    EXPECT_TRUE(Search(u"a*"_s + u"x"_s).isEmpty());
    EXPECT_TRUE(Search(u"C*"_s).isEmpty());
    EXPECT_TRUE(Search(u"?PU"_s).isEmpty());
    EXPECT_TRUE(Search(u"quoted OR cpu"_s).isEmpty()); // OR is a word like any other
    EXPECT_TRUE(Search(u"NEAR(cpu ram)"_s).isEmpty());
}

class OrderTest : public FullTextFixture {};

TEST_F(OrderTest, ResultsComeInTheOrderOfTheResultList) {
    // Ids scrambled against the order of abbreviation, then spelled-out form, without case.
    Add(u"beta"_s, u"b"_s, u"共通語"_s, {}, 40);
    Add(u"ALPHA"_s, u"z"_s, u"共通語"_s, {}, 10);
    Add(u"alpha"_s, u"a"_s, u"共通語"_s, {}, 30);
    Add(u"Alpha"_s, QString(), u"共通語"_s, {}, 20); // no spelled-out form sorts first
    Add(u"gamma"_s, u"g"_s, u"無関係"_s, {}, 5);
    Add(u"Delta"_s, u"d"_s, u"共通語"_s, {}, 1);
    Build();
    const QStringList expected{u"Alpha"_s, u"alpha"_s, u"ALPHA"_s, u"beta"_s, u"Delta"_s};
    EXPECT_EQ(Search(u"共通語"_s), expected); // through the index
    EXPECT_EQ(Search(u"共通"_s), expected);   // through the scan
}

TEST_F(OrderTest, AtMostFiveHundredResultsTheFirstInListingOrder) {
    QStringList all;
    for (int i = 0; i < 620; ++i) {
        // Ids run against the listing order.
        const QString abbr = QStringLiteral("E%1").arg(i, 4, 10, QLatin1Char('0'));
        Add(abbr, u"Entry"_s, u"どれにもある語句 %1"_s.arg(i), {}, 1000 - i);
        all << abbr;
    }
    Add(u"ZZZ"_s, u"Other"_s, u"ほかの語"_s);
    Build();
    const QStringList first500 = all.mid(0, 500);
    EXPECT_EQ(Search(u"どれにもある語句"_s), first500);
    EXPECT_EQ(Search(u"語句"_s), first500);
    EXPECT_EQ(Search(u"語句 entry"_s), first500);
    EXPECT_EQ(Search(u"E06"_s), all.mid(600, 20));
    EXPECT_EQ(Search(u"語句"_s, 3), all.mid(0, 3));
    // Found by the vocabulary after part of the list was read, the rest follows on in order.
    EXPECT_EQ(Search(u"語句"_s, 500, VocabularyAtOnce()), first500);
    EXPECT_EQ(Search(u"E0"_s, 500, VocabularyAtOnce()), first500);
}

TEST_F(OrderTest, AnEmptyDictionaryTableFindsNothing) {
    Build();
    EXPECT_TRUE(Search(u"anything"_s).isEmpty());
    EXPECT_TRUE(Search(u"a"_s).isEmpty());
}

} // namespace
