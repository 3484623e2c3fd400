// The piece of the description a full-text result shows.
#include "fulltext/Excerpt.h"
#include "fulltext/FullTextQuery.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

Excerpt Make(const QString& description, const QString& query) {
    return Excerpts::Make(description, FullTextQuery::Parse(query).terms);
}

QString Marked(const Excerpt& e) {
    if (e.matchStart < 0)
        return e.text;
    return e.text.left(e.matchStart) + u"["_s + e.text.mid(e.matchStart, e.matchLength) + u"]"_s +
           e.text.mid(e.matchStart + e.matchLength);
}

TEST(Excerpt, ShortDescriptionsShowWholeWithTheMatchMarked) {
    EXPECT_EQ(Marked(Make(u"コンピュータの中央処理装置です。"_s, u"処理装置"_s)),
              u"コンピュータの中央[処理装置]です。"_s);
}

TEST(Excerpt, TheEarliestMatchOfAnyTermIsMarkedInTheTextAsWritten) {
    // Folding finds "ＣＰＵ" for "cpu" and "データ" for "ﾃﾞｰﾀ"; the excerpt keeps what is written.
    EXPECT_EQ(Marked(Make(u"記憶装置とＣＰＵの間でデータを運ぶ。"_s, u"ﾃﾞｰﾀ cpu"_s)),
              u"記憶装置と[ＣＰＵ]の間でデータを運ぶ。"_s);
    EXPECT_EQ(Marked(Make(u"ガイド"_s, u"ｶﾞｲ"_s)), u"[ガイ]ド"_s);
}

TEST(Excerpt, LongDescriptionsAreCutAroundTheMatchWithEllipses) {
    const QString before(100, u'前');
    const QString after(100, u'後');
    const Excerpt e = Make(before + u"目印"_s + after, u"目印"_s);
    EXPECT_EQ(e.text, u"…"_s + QString(Excerpts::kBefore, u'前') + u"目印"_s +
                          QString(Excerpts::kLength - Excerpts::kBefore - 2, u'後') + u"…"_s);
    EXPECT_EQ(e.text.mid(e.matchStart, e.matchLength), u"目印"_s);

    const Excerpt start = Make(u"目印"_s + after, u"目印"_s);
    EXPECT_EQ(start.matchStart, 0);
    EXPECT_FALSE(start.text.startsWith(u"…"_s));
    EXPECT_TRUE(start.text.endsWith(u"…"_s));
}

TEST(Excerpt, WithoutAMatchInTheDescriptionItsBeginningIsShownUnmarked) {
    const Excerpt e = Make(u"一行目\n二行目"_s, u"見つからない"_s);
    EXPECT_EQ(e.text, u"一行目 二行目"_s);
    EXPECT_EQ(e.matchStart, -1);
    EXPECT_TRUE(Make(QString(), u"x"_s).text.isEmpty());
}

TEST(Excerpt, NeverCutsACharacterOfTwoUnitsInHalf) {
    QString faces;
    for (int i = 0; i < 60; ++i)
        faces += u"\U0001F600"_s;
    // Both cuts would fall between the halves of a pair.
    for (const QString& text : {u"ab"_s + faces + u"終"_s, u"終"_s + faces}) {
        const Excerpt e = Make(text, u"終"_s);
        for (qsizetype i = 0; i < e.text.size(); ++i) {
            if (e.text[i].isHighSurrogate())
                ASSERT_TRUE(i + 1 < e.text.size() && e.text[++i].isLowSurrogate());
            else
                ASSERT_FALSE(e.text[i].isLowSurrogate()) << i;
        }
        EXPECT_EQ(e.text.mid(e.matchStart, e.matchLength), u"終"_s);
    }
}

} // namespace
