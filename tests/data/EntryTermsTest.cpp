#include "data/EntryTerms.h"

#include <gtest/gtest.h>

namespace {

QString Line(const char16_t* text) {
    return QString::fromUtf16(text);
}

TEST(EntryTermsTest, ReadsTermsReadingsAndHowTheAbbreviationIsRead) {
    const EntryTerms::Terms t = EntryTerms::Read(
        Line(u"\\B中央処理装置\\b（ちゅうおうしょりそうち）、\\B中央演算処理装置\\b"
             u"（ちゅうおうえんざんしょりそうち）　読み：シーピーユー\r\n\\F本文"));
    ASSERT_EQ(t.terms.size(), 2);
    EXPECT_EQ(t.terms[0].word, Line(u"中央処理装置"));
    EXPECT_EQ(t.terms[0].readings, QStringList{Line(u"ちゅうおうしょりそうち")});
    EXPECT_EQ(t.terms[1].word, Line(u"中央演算処理装置"));
    EXPECT_EQ(t.abbreviationReadings, QStringList{Line(u"シーピーユー")});
    EXPECT_EQ(t.Words(),
              (QStringList{Line(u"中央処理装置"), Line(u"ちゅうおうしょりそうち"),
                           Line(u"中央演算処理装置"), Line(u"ちゅうおうえんざんしょりそうち"),
                           Line(u"シーピーユー")}));
}

TEST(EntryTermsTest, EachPartMayStandAlone) {
    // A term in kana has no reading; several readings share one pair of parentheses.
    EntryTerms::Terms t = EntryTerms::Read(Line(u"\\Bメモリ\\b、\\B一時\\b（いちじ、ひととき）"));
    ASSERT_EQ(t.terms.size(), 2);
    EXPECT_TRUE(t.terms[0].readings.isEmpty());
    EXPECT_EQ(t.terms[1].readings, (QStringList{Line(u"いちじ"), Line(u"ひととき")}));
    EXPECT_TRUE(t.abbreviationReadings.isEmpty());

    t = EntryTerms::Read(Line(u"読み：ディーエムエー、ドマ\n"));
    EXPECT_TRUE(t.terms.isEmpty());
    EXPECT_EQ(t.abbreviationReadings, (QStringList{Line(u"ディーエムエー"), Line(u"ドマ")}));

    // The same word twice is one word to look up.
    t = EntryTerms::Read(Line(u"\\B記号\\b（きごう）　読み：きごう"));
    EXPECT_EQ(t.Words(), (QStringList{Line(u"記号"), Line(u"きごう")}));
}

TEST(EntryTermsTest, AnEscapedBackslashIsOneBackslash) {
    const EntryTerms::Terms t = EntryTerms::Read(Line(u"\\B円\\\\記号\\b（えん\\\\）"));
    ASSERT_EQ(t.terms.size(), 1);
    EXPECT_EQ(t.terms[0].word, Line(u"円\\記号"));
    EXPECT_EQ(t.terms[0].readings, QStringList{Line(u"えん\\")});
}

TEST(EntryTermsTest, ADescriptionIsNeverMistakenForTerms) {
    const char16_t* notTerms[] = {
        u"",
        u"コンピュータの中で命令を読み出し、解釈し、実行する装置です。",
        u"\\B例：\\b 「CPUを交換する」といえば",        // bold, then text
        u"\\BCPU\\b（しーぴーゆー）",                   // no Japanese character in the term
        u"\\B中央処理装置\\b（）",                      // empty readings
        u"\\B中央処理装置\\b（ちゅうおう",              // readings not closed
        u"\\B中央処理装置\\b（ちゅうおう、）",          // an empty reading
        u"\\B中央処理装置\\b、",                        // a separator with nothing after it
        u"\\B中央処理装置\\b　読み：",                  // a label with nothing after it
        u"\\B中央処理装置\\b　読み：しーぴーゆー です", // text after the readings
        u"\\B中央\\I処理\\i装置\\b",                    // another code inside the term
        u"\\B中央処理装置",                             // bold never closed
        u"読み：\\Bシーピーユー\\b",                    // a code among the readings
        u"本文\r\n\\B中央処理装置\\b（ちゅうおうしょりそうち）", // not the first line
    };
    for (const char16_t* text : notTerms)
        EXPECT_TRUE(EntryTerms::Read(Line(text)).IsEmpty()) << Line(text).toStdString();
}

} // namespace
