#include "tools/JapaneseGlossary.h"
#include "tools/JapaneseMarkup.h"

#include <gtest/gtest.h>

namespace {

// A glossary filled from sample lines of each list, as the lists write them.
class JapaneseGlossaryTest : public ::testing::Test {
protected:
    void Add(EdictSource source, const QStringList& lines) {
        for (const QString& line : lines) {
            EdictEntry entry;
            ASSERT_EQ(ParseEdictLine(line, &entry), EdictParse::Ok) << qPrintable(line);
            glossary_.Add(entry, source);
        }
    }
    QStringList Words(const char* key, const char* expansion) const {
        QStringList words;
        for (const JapaneseTerm& t :
             glossary_.TermsFor(QLatin1String(key), QString::fromUtf8(expansion)).terms)
            words << t.word;
        return words;
    }
    JapaneseGlossary glossary_;
};

TEST_F(JapaneseGlossaryTest, MatchingIgnoresCaseHyphensAndSpacing) {
    Add(EdictSource::Edict,
        {QStringLiteral(
            "液晶ディスプレイ [えきしょうディスプレイ] /(n) (comp) liquid-crystal display/LCD/")});
    EXPECT_EQ(JapaneseGlossary::Folded(u"Liquid-Crystal  Display"),
              JapaneseGlossary::Folded(u"liquid crystal display"));
    const QStringList expected{QStringLiteral("液晶ディスプレイ")};
    EXPECT_EQ(Words("LCD", "Liquid-Crystal Display"), expected);
    EXPECT_EQ(Words("LCD", "liquid crystal display"), expected);
    EXPECT_EQ(Words("LCD", "LIQUID CRYSTALDISPLAY"), expected);
    // Word for word otherwise: no partial matches, no other punctuation dropped.
    EXPECT_TRUE(Words("LCD", "Liquid Crystal").isEmpty());
    EXPECT_TRUE(Words("LCD", "Liquid Crystal Displays").isEmpty());
    EXPECT_TRUE(Words("LCD", "Liquid Crystal Display.").isEmpty());
}

TEST_F(JapaneseGlossaryTest, CompdicFirstThenComputingSensesAtMostThree) {
    Add(EdictSource::Edict,
        {
            QStringLiteral("中央処理装置 [ちゅうおうしょりそうち] /(n) (comp) central processing "
                           "unit/CPU/(P)/"),
            QStringLiteral("処理部 [しょりぶ] /(n) central processing unit/"),
            QStringLiteral("中央演算処理装置 [ちゅうおうえんざんしょりそうち] /(n) (comp) central "
                           "processing unit/CPU/"),
            QStringLiteral("ＣＰＵ [シーピーユー] /(n) (comp) central processing unit/CPU/"),
        });
    Add(EdictSource::Compdic,
        {
            QStringLiteral("セントラル・プロセシング・ユニット /(n) central processing unit/"),
            QStringLiteral("セントラルプロセシングユニット /(n) central processing unit/"),
            QStringLiteral("中央演算処理装置 [ちゅうおうえんざんしょりそうち] /(n) central "
                           "processing unit/CPU/"),
            QStringLiteral(
                "中央処理装置 [ちゅうおうしょりそうち] /(n) central processing unit/CPU/"),
        });
    // COMPDIC's first; among them those whose sense also names the abbreviation, EDICT's
    // common word, then the shorter; the two spellings of the katakana word are one. Three in
    // all: EDICT's non-computing "処理部" is left out.
    const JapaneseTerms terms =
        glossary_.TermsFor(QStringLiteral("CPU"), QStringLiteral("Central Processing Unit"));
    ASSERT_EQ(terms.terms.size(), 3);
    EXPECT_EQ(terms.terms.at(0).word, QStringLiteral("中央処理装置"));
    EXPECT_EQ(terms.terms.at(0).readings, QStringList{QStringLiteral("ちゅうおうしょりそうち")});
    EXPECT_EQ(terms.terms.at(1).word, QStringLiteral("中央演算処理装置"));
    EXPECT_EQ(terms.terms.at(2).word, QStringLiteral("セントラル・プロセシング・ユニット"));
    EXPECT_TRUE(terms.terms.at(2).readings.isEmpty());
    // The abbreviation as a headword is not a term; it tells how the abbreviation is read.
    EXPECT_EQ(terms.abbreviationReadings, QStringList{QStringLiteral("シーピーユー")});
    EXPECT_EQ(
        JapaneseTermsLine(terms),
        QStringLiteral("\\B中央処理装置\\b（ちゅうおうしょりそうち）、\\B中央演算処理装置\\b"
                       "（ちゅうおうえんざんしょりそうち）、\\Bセントラル・プロセシング・ユニット"
                       "\\b　読み：シーピーユー"));

    // COMPDIC's term comes first even when EDICT's is a common word of a computing sense.
    Add(EdictSource::Edict, {QStringLiteral("データベース /(n) (comp) database/(P)/")});
    Add(EdictSource::Compdic, {QStringLiteral("資料集 [しりょうしゅう] /(n) database/")});
    EXPECT_EQ(Words("DB", "DataBase"),
              (QStringList{QStringLiteral("資料集"), QStringLiteral("データベース")}));

    // With no computing sense, the others serve.
    EXPECT_EQ(Words("PU", "Central Processing Unit"), Words("CPU", "Central Processing Unit"));
}

TEST_F(JapaneseGlossaryTest, ComputingSensesWinOverCommonWords) {
    Add(EdictSource::Edict, {
                                QStringLiteral("時間帯 [じかんたい] /(n) time slot/time zone/(P)/"),
                                QStringLiteral("タイムスロット /(n) (comp) time slot/"),
                            });
    EXPECT_EQ(Words("TS", "Time Slot"),
              (QStringList{QStringLiteral("タイムスロット"), QStringLiteral("時間帯")}));
    EXPECT_EQ(Words("TZ", "Time Zone"), QStringList{QStringLiteral("時間帯")});
}

TEST_F(JapaneseGlossaryTest, WordsDifferingByADotOrALongVowelMarkAreOne) {
    Add(EdictSource::Compdic, {
                                  QStringLiteral("ウェブ・サーバ /(n) web server/"),
                                  QStringLiteral("ウェブ・サーバー /(n) web server/"),
                                  QStringLiteral("ウェブサーバ /(n) web server/"),
                                  QStringLiteral("ウェブサーバー /(n) web server/"),
                                  QStringLiteral("ウエブサーバ /(n) web server/"),
                              });
    // "ウエブ" is spelt with another kana, not merely without a mark: it stays.
    EXPECT_EQ(Words("WS", "Web Server"),
              (QStringList{QStringLiteral("ウェブ・サーバ"), QStringLiteral("ウエブサーバ")}));
}

TEST_F(JapaneseGlossaryTest, ReadingsOfOneWordAreMergedAndEscaped) {
    Add(EdictSource::Edict, {
                                QStringLiteral("一時 [いちじ] /(n) (comp) temporary/"),
                                QStringLiteral("一時 [ひととき] /(n) (comp) temporary/"),
                                QStringLiteral("円記号 [えんきごう] /(n) (comp) back\\slash/"),
                            });
    const JapaneseTerms terms =
        glossary_.TermsFor(QStringLiteral("TMP"), QStringLiteral("temporary"));
    ASSERT_EQ(terms.terms.size(), 1);
    EXPECT_EQ(terms.terms.at(0).readings,
              (QStringList{QStringLiteral("いちじ"), QStringLiteral("ひととき")}));
    EXPECT_EQ(JapaneseTermsLine(terms), QStringLiteral("\\B一時\\b（いちじ、ひととき）"));

    JapaneseTerms odd;
    odd.terms.append({QStringLiteral("円\\記号"), {QStringLiteral("えん\\")}});
    EXPECT_EQ(JapaneseTermsLine(odd), QStringLiteral("\\B円\\\\記号\\b（えん\\\\）"));
    EXPECT_TRUE(JapaneseTermsLine(JapaneseTerms()).isEmpty());
}

TEST_F(JapaneseGlossaryTest, LooserFormsMatchComputingSensesOnly) {
    Add(EdictSource::Edict,
        {
            QStringLiteral("既の所で [すんでのところで] /(exp) just in time/"),
            QStringLiteral("ジャストインタイム /(n) (comp) just in time/"),
            QStringLiteral("東奔西走 [とうほんせいそう] /(n,vs) on the go/"),
            QStringLiteral(
                "輻輳制御 [ふくそうせいぎょ] /(n) (comp) congestion control (e.g. in a network)/"),
            QStringLiteral("混雑 [こんざつ] /(n) congestion (of traffic)/"),
        });
    // Without its bracketed remark the expansion is a phrase of everyday language; only the
    // computing sense is taken.
    EXPECT_EQ(Words("JIT", "Just In Time [compiler]"),
              QStringList{QStringLiteral("ジャストインタイム")});
    EXPECT_TRUE(Words("OTG", "[USB] On-The-Go").isEmpty());
    EXPECT_EQ(Words("OTG", "On-The-Go"), QStringList{QStringLiteral("東奔西走")});
    // A gloss without its parenthesised remark, likewise.
    EXPECT_EQ(Words("CC", "Congestion Control"), QStringList{QStringLiteral("輻輳制御")});
    EXPECT_TRUE(Words("C", "Congestion").isEmpty());
}

TEST_F(JapaneseGlossaryTest, AnotherAbbreviationIsNoTerm) {
    Add(EdictSource::Edict,
        {
            QStringLiteral("Ｒ＆Ｄ [アールアンドディー] /(n) research and development/R&D/"),
            QStringLiteral("研究開発 [けんきゅうかいはつ] /(n) research and development/R&D/(P)/"),
        });
    const JapaneseTerms terms =
        glossary_.TermsFor(QStringLiteral("RAD"), QStringLiteral("Research And Development"));
    ASSERT_EQ(terms.terms.size(), 1);
    EXPECT_EQ(terms.terms.at(0).word, QStringLiteral("研究開発"));
    EXPECT_TRUE(terms.abbreviationReadings.isEmpty());
    EXPECT_EQ(glossary_.TermsFor(QStringLiteral("RD"), QStringLiteral("research and development"))
                  .abbreviationReadings,
              QStringList{QStringLiteral("アールアンドディー")});
}

} // namespace
