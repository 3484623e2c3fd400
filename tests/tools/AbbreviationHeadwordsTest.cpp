#include "tools/AbbreviationHeadwords.h"
#include "tools/JapaneseMarkup.h"

#include <gtest/gtest.h>

namespace {

class AbbreviationHeadwordsTest : public ::testing::Test {
protected:
    void Add(EdictSource source, const QStringList& lines) {
        for (const QString& line : lines) {
            EdictEntry entry;
            ASSERT_EQ(ParseEdictLine(line, &entry), EdictParse::Ok) << qPrintable(line);
            ASSERT_TRUE(AbbreviationHeadwords::IsAbbreviationHeadword(entry.headword));
            headwords_.Add(entry, source);
        }
    }
    AbbreviationHeadwords headwords_;
};

TEST_F(AbbreviationHeadwordsTest, WrittenInLatinLetters) {
    EXPECT_TRUE(AbbreviationHeadwords::IsAbbreviationHeadword(u"ＤＯＳ／Ｖ"));
    EXPECT_TRUE(AbbreviationHeadwords::IsAbbreviationHeadword(u"ＣＤ−ＲＯＭ"));
    EXPECT_TRUE(AbbreviationHeadwords::IsAbbreviationHeadword(u"Ｗｉ‐Ｆｉ"));
    EXPECT_TRUE(AbbreviationHeadwords::IsAbbreviationHeadword(u"ＴｅＸ"));
    EXPECT_TRUE(AbbreviationHeadwords::IsAbbreviationHeadword(u"CPU"));
    EXPECT_FALSE(AbbreviationHeadwords::IsAbbreviationHeadword(u"ＨＤテレビ"));
    EXPECT_FALSE(AbbreviationHeadwords::IsAbbreviationHeadword(u"１０進数"));
    EXPECT_FALSE(AbbreviationHeadwords::IsAbbreviationHeadword(u"２０００"));
    EXPECT_EQ(AbbreviationHeadwords::HalfWidth(u"ＣＤ−ＲＯＭ"), QStringLiteral("CD-ROM"));
    EXPECT_EQ(AbbreviationHeadwords::HalfWidth(u"ＤＯＳ／Ｖ"), QStringLiteral("DOS/V"));
    EXPECT_EQ(AbbreviationHeadwords::HalfWidth(u"Ｗｉ‐Ｆｉ"), QStringLiteral("Wi-Fi"));
}

TEST_F(AbbreviationHeadwordsTest, ReadingsOfTheAbbreviationForItsExpansion) {
    Add(EdictSource::Compdic,
        {QStringLiteral("ＧＵＩ [グーイ] /(n) graphical user interface/GUI/"),
         QStringLiteral("ＧＵＩ [ジーユーアイ] /(n) graphical user interface/GUI/"),
         QStringLiteral("ＳＣＳＩ [スカジー] /(n) Small Computer System Interface/")});
    Add(EdictSource::Edict,
        {QStringLiteral("ＧＵＩ [グイ] /(n) (comp) graphical user interface/GUI/"),
         QStringLiteral("ＧＵＩ [ジーユーアイ] /(n) (comp) graphical user interface/GUI/(P)/"),
         QStringLiteral("ＬＣＤ [エルシーディー] /(n) liquid crystal display/LCD/"),
         QStringLiteral("Ｒ＆Ｄ [アールアンドディー] /(n) research and development/R&D/")});
    // The common reading first, then COMPDIC's; each once.
    EXPECT_EQ(
        headwords_.ReadingsFor(QStringLiteral("GUI"), QStringLiteral("Graphical User Interface")),
        (QStringList{QStringLiteral("ジーユーアイ"), QStringLiteral("グーイ"),
                     QStringLiteral("グイ")}));
    // Any sense serves for a reading, computing or not.
    EXPECT_EQ(
        headwords_.ReadingsFor(QStringLiteral("LCD"), QStringLiteral("Liquid-Crystal Display")),
        QStringList{QStringLiteral("エルシーディー")});
    // A plural "s", punctuation and remarks do not make another expansion.
    EXPECT_EQ(headwords_.ReadingsFor(QStringLiteral("SCSI"),
                                     QStringLiteral("Small Computer Systems Interface [bus]")),
              QStringList{QStringLiteral("スカジー")});
    EXPECT_EQ(
        headwords_.ReadingsFor(QStringLiteral("RD"), QStringLiteral("Research and-Development.")),
        QStringList{QStringLiteral("アールアンドディー")});
    // Another key, or another expansion, has no reading from these.
    EXPECT_TRUE(
        headwords_.ReadingsFor(QStringLiteral("RAD"), QStringLiteral("research and development"))
            .isEmpty());
    EXPECT_TRUE(
        headwords_.ReadingsFor(QStringLiteral("GUI"), QStringLiteral("Graphical User")).isEmpty());
    EXPECT_EQ(AbbreviationHeadwords::SameExpansionForms(
                  QStringLiteral("Small Computer Systems Interface")),
              AbbreviationHeadwords::SameExpansionForms(
                  QStringLiteral("small computer-system interface")));
    EXPECT_NE(AbbreviationHeadwords::SameExpansionForms(QStringLiteral("Address")),
              AbbreviationHeadwords::SameExpansionForms(QStringLiteral("Addres")));
}

TEST_F(AbbreviationHeadwordsTest, CandidatesForEntries) {
    Add(EdictSource::Compdic,
        {
            QStringLiteral("ＤＯＳ／Ｖ [ドスブイ] /(n) DOS-V/Japanese-capable version of DOS/"),
            QStringLiteral("ＧＵＩ [グーイ] /(n) graphical user interface/GUI/"),
            QStringLiteral("ＧＵＩ [グイ] /(n) graphical user interface/GUI/"),
            QStringLiteral("ＡＯＣＥ [エーオーシーイー] /(n) AOCE/"),
            QStringLiteral(
                "ＣＡ [シーエー] /(n) (1) cabin attendant/(n) (2) certification authority/CA/"),
        });
    Add(EdictSource::Edict,
        {
            QStringLiteral("ＧＵＩ [ジーユーアイ] /(n) (comp) graphical user interface/GUI/(P)/"),
            QStringLiteral("ＬＣＤ [エルシーディー] /(n) liquid crystal display/LCD/"),
            QStringLiteral("ＲＩＰ [リップ] /(n) (1) rest in peace/(n) (2) (comp) raster image "
                           "processor/RIP/"),
            QStringLiteral("ＣＡ [シーエー] /(n) (1) (abbr) cabin attendant/(n) (2) (comp) "
                           "certification authority/CA/"),
        });
    const QList<AbbreviationHeadword> h = headwords_.Candidates();
    ASSERT_EQ(h.size(), 4);
    // The first gloss that is not the abbreviation itself is its spelled-out form.
    EXPECT_EQ(h.at(0).abbr, QStringLiteral("DOS/V"));
    EXPECT_EQ(h.at(0).key, QStringLiteral("DOSV"));
    EXPECT_EQ(h.at(0).expansion, QStringLiteral("Japanese-capable version of DOS"));
    // One abbreviation with one expansion, from both lists.
    EXPECT_EQ(h.at(1).abbr, QStringLiteral("GUI"));
    EXPECT_EQ(h.at(1).expansion, QStringLiteral("graphical user interface"));
    // COMPDIC's senses, but not one that EDICT has outside computing.
    EXPECT_EQ(h.at(2).abbr, QStringLiteral("CA"));
    EXPECT_EQ(h.at(2).expansion, QStringLiteral("certification authority"));
    EXPECT_EQ(headwords_.OutsideComputing(), 1); // cabin attendant
    // EDICT's only through a computing sense: not "LCD", and "RIP" as the processor only.
    EXPECT_EQ(h.at(3).abbr, QStringLiteral("RIP"));
    EXPECT_EQ(h.at(3).expansion, QStringLiteral("raster image processor"));
    EXPECT_EQ(h.at(3).glosses,
              (QStringList{QStringLiteral("raster image processor"), QStringLiteral("RIP")}));
    EXPECT_EQ(headwords_.WithoutExpansion(), 1); // AOCE

    // An abbreviation with its expansion in parentheses gives that; with another remark it is the
    // abbreviation itself. Another abbreviation or a name is no spelled-out form.
    AbbreviationHeadwords more;
    for (const char16_t* line : {
             u"ＪＰＥＧ [ジェイペグ] /(n) (comp) JPEG (Joint Photographic Experts Group)/JPG/",
             u"ＢＡＳＩＣ [ベーシック] /(n) (comp) BASIC (language)/",
             u"ＳＪＩＳ [エスジス] /(n) (comp) SJIS/Shift_JIS/encoding system for JIS X 0208 "
             u"characters/",
         }) {
        EdictEntry entry;
        ASSERT_EQ(ParseEdictLine(line, &entry), EdictParse::Ok);
        more.Add(entry, EdictSource::Edict);
    }
    const QList<AbbreviationHeadword> m = more.Candidates();
    ASSERT_EQ(m.size(), 2);
    EXPECT_EQ(m.at(0).expansion, QStringLiteral("Joint Photographic Experts Group"));
    EXPECT_EQ(more.ReadingsFor(QStringLiteral("JPEG"),
                               QStringLiteral("Joint Photographic Experts Group")),
              QStringList{QStringLiteral("ジェイペグ")});
    EXPECT_EQ(m.at(1).expansion, QStringLiteral("encoding system for JIS X 0208 characters"));
    EXPECT_EQ(more.WithoutExpansion(), 1); // BASIC

    EXPECT_EQ(HeadwordGlossesLine(h.at(0), 42),
              QStringLiteral("DOS-V; Japanese-capable version of DOS（出典：\\J42 EDRDG\\j）"));
    EXPECT_EQ(HeadwordGlossesLine(h.at(0), 0),
              QStringLiteral("DOS-V; Japanese-capable version of DOS"));
}

} // namespace
