// Reading a full-text query: terms, folding, and input that must never reach the index's own
// query language as anything but text.
#include "fulltext/FullTextQuery.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

QStringList Terms(const QString& query) {
    const FullTextQuery::Parsed parsed = FullTextQuery::Parse(query);
    EXPECT_TRUE(parsed.error.isEmpty()) << parsed.error.toStdString();
    return parsed.terms;
}

TEST(FullTextQuery, TermsAreSeparatedByHalfAndFullWidthSpacesAndFolded) {
    EXPECT_EQ(Terms(u"  ＣＰＵ　処理\t装置  Data "_s),
              (QStringList{u"cpu"_s, u"処理"_s, u"装置"_s, u"data"_s}));
    EXPECT_EQ(Terms(u"データ"_s), QStringList{u"ﾃﾞｰﾀ"_s});
}

TEST(FullTextQuery, AnEmptyQueryHasNoTerms) {
    for (const QString& query : {QString(), u""_s, u"   "_s, u"　　"_s, u" \t\n"_s})
        EXPECT_TRUE(Terms(query).isEmpty());
}

TEST(FullTextQuery, RepeatedTermsAndTermsInsideOthersAddNothing) {
    EXPECT_EQ(Terms(u"abc ABC abc"_s), QStringList{u"abc"_s});
    EXPECT_EQ(Terms(u"処理 中央処理装置 装置"_s), QStringList{u"中央処理装置"_s});
    EXPECT_EQ(Terms(u"ab abcd cd x"_s), (QStringList{u"abcd"_s, u"x"_s}));
}

TEST(FullTextQuery, WildcardsAndOperatorsAreOrdinaryCharacters) {
    EXPECT_EQ(Terms(u"C* ?PU \"quoted\" NEAR AND a:b ^x (y"_s),
              (QStringList{u"c*"_s, u"?pu"_s, u"\"quoted\""_s, u"near"_s, u"and"_s, u"a:b"_s,
                           u"^x"_s, u"(y"_s}));
}

TEST(FullTextQuery, IndexExpressionAsksForQuotedTrigramsOfEveryLongTerm) {
    using FullTextQuery::IndexMatchExpression;
    EXPECT_EQ(IndexMatchExpression({u"abc"_s}), u"\"abc\""_s);
    // Side by side where the term allows, the last one ending with it.
    EXPECT_EQ(IndexMatchExpression({u"abcdefg"_s}), u"\"abc\" AND \"def\" AND \"efg\""_s);
    EXPECT_EQ(IndexMatchExpression({u"中央処理装置"_s}), u"\"中央処\" AND \"理装置\""_s);
    // Quotes are doubled inside the quoted strings; operators are strings like any other.
    EXPECT_EQ(IndexMatchExpression({u"a\"b"_s, u"near"_s, u"x*y"_s}),
              u"\"a\"\"b\" AND \"nea\" AND \"ear\" AND \"x*y\""_s);
    EXPECT_EQ(IndexMatchExpression({u"\"\"\""_s}), u"\"\"\"\"\"\"\"\""_s);
    // A repeated trigram is asked once; characters of two units stay whole.
    EXPECT_EQ(IndexMatchExpression({u"aaaaaa"_s}), u"\"aaa\""_s);
    EXPECT_EQ(IndexMatchExpression({u"\U0001F600bc"_s}), u"\"\U0001F600bc\""_s);
    // Terms too short for the index are left to the text.
    EXPECT_EQ(IndexMatchExpression({u"ab"_s, u"装置"_s, u"abc"_s}), u"\"abc\""_s);
    EXPECT_EQ(IndexMatchExpression({u"ab"_s}), QString());
}

TEST(FullTextQuery, ALongTermAsksForAFewTrigramsOnly) {
    const QString term(FullTextQuery::kMaxLength, u'x');
    QString varied;
    for (int i = 0; i < 900; ++i)
        varied += QChar(u'a' + i % 26);
    const QString expression = FullTextQuery::IndexMatchExpression({varied});
    EXPECT_EQ(expression.count(u" AND "_s) + 1, FullTextQuery::kMaxTrigramsPerTerm);
    EXPECT_TRUE(expression.startsWith(u"\"abc\""_s));
    EXPECT_TRUE(expression.endsWith(u"\""_s + varied.right(3) + u"\""_s));
    EXPECT_EQ(FullTextQuery::IndexMatchExpression({term}), u"\"xxx\""_s);
    EXPECT_TRUE(FullTextQuery::NeedsConfirmation(u"abcd"_s));
    EXPECT_FALSE(FullTextQuery::NeedsConfirmation(u"abc"_s));
}

TEST(FullTextQuery, ShortTermsAreCountedInCharactersAfterFolding) {
    EXPECT_FALSE(FullTextQuery::IsIndexed(u"ab"_s));
    EXPECT_TRUE(FullTextQuery::IsIndexed(u"abc"_s));
    EXPECT_FALSE(FullTextQuery::IsIndexed(u"\U0001F600\U0001F600"_s)); // two characters, four units
    // One full-width voiced katakana folds to two characters.
    EXPECT_TRUE(FullTextQuery::IsIndexed(Terms(u"ガギ"_s).value(0)));
    EXPECT_FALSE(FullTextQuery::IsIndexed(Terms(u"ガ"_s).value(0)));
}

TEST(FullTextQuery, BadInputIsRefusedWithAShortMessage) {
    const QString refused[] = {
        QString(10000, u'a'),
        QString(FullTextQuery::kMaxLength + 1, u'x'),
        u"abc"_s + QChar(u'\0') + u"def"_s,
        u"abc"_s + QChar(0xD800), // a lone high surrogate
        QChar(0xDC00) + u"abc"_s, // a lone low surrogate
        u"a\u0007b"_s,            // a control character
    };
    for (const QString& query : refused) {
        const FullTextQuery::Parsed parsed = FullTextQuery::Parse(query);
        EXPECT_FALSE(parsed.error.isEmpty()) << query.size();
        EXPECT_LT(parsed.error.size(), 40);
        EXPECT_TRUE(parsed.terms.isEmpty());
    }
    // At the limit, and with surrounding space that is trimmed away, a query is taken.
    EXPECT_EQ(Terms(u"  "_s + QString(FullTextQuery::kMaxLength, u'x') + u"  "_s).size(), 1);
    EXPECT_EQ(Terms(u"\U0001F600x"_s), QStringList{u"\U0001F600x"_s});
}

} // namespace
