#include "data/Strings.h"

#include <gtest/gtest.h>

using Strings::SearchMatch;

struct KeyCase {
    const char16_t* input;
    const char16_t* normal;
};

class NormalizeKeyTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(NormalizeKeyTest, ReducesToLettersDigitsAndWildcards) {
    const KeyCase c = GetParam();
    EXPECT_EQ(Strings::NormalizeKey(QString::fromUtf16(c.input)), QString::fromUtf16(c.normal));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, NormalizeKeyTest,
    ::testing::Values(KeyCase{u"cpu", u"CPU"}, KeyCase{u"cd-rom", u"CDROM"},
                      KeyCase{u"CD-ROM", u"CDROM"}, KeyCase{u"CD ROM", u"CDROM"},
                      KeyCase{u"x-1", u"X1"}, KeyCase{u" tcp/ip ", u"TCPIP"},
                      KeyCase{u"a*b", u"A*B"}, KeyCase{u"AB?*", u"AB?*"},
                      KeyCase{u"o'clock", u"OCLOCK"}, KeyCase{u"R&D.", u"RD"},
                      // Full-width letters, kana and kanji are not part of any key.
                      KeyCase{u"ＣＰＵ", u""}, KeyCase{u"中央処理装置", u""},
                      KeyCase{u"ﾃｽﾄ1", u"1"}, KeyCase{u"-", u""}, KeyCase{u"", u""}));

TEST(FoldWidthTest, NarrowsFullWidthAsciiAndTheIdeographicSpaceOnly) {
    EXPECT_EQ(Strings::FoldWidth(QStringLiteral("ＣＰＵ　ｃｐｕ０９！～＊？＇")),
              QStringLiteral("CPU cpu09!~*?'"));
    // Kana (full and half width), kanji, the yen sign and everything narrow stay as they are.
    const QString other = QStringLiteral("中央ショリｼｮﾘﾝ￥¥abc -");
    EXPECT_EQ(Strings::FoldWidth(other), other);
    // So the full-width key searches as the narrow one does.
    EXPECT_EQ(Strings::NormalizeKey(Strings::FoldWidth(QStringLiteral("ｔｃｐ／ｉｐ"))),
              QStringLiteral("TCPIP"));
}

TEST(EscapeQuotesTest, TrimsOrdinarySpacesAndDoublesApostrophes) {
    EXPECT_EQ(Strings::EscapeQuotes(QStringLiteral("  o'clock ")), QStringLiteral("o''clock"));
    EXPECT_EQ(Strings::EscapeQuotes(QStringLiteral("'")), QStringLiteral("''"));
    EXPECT_EQ(Strings::EscapeQuotes(QStringLiteral("''")), QStringLiteral("''''"));
    // Case, width and the ideographic space stay as typed.
    EXPECT_EQ(Strings::EscapeQuotes(QStringLiteral("\u3000Ａb\u3000")),
              QStringLiteral("\u3000Ａb\u3000"));
}

struct KindCase {
    const char* text;
    SearchMatch kind;
};

class MatchKindTest : public ::testing::TestWithParam<KindCase> {};

TEST_P(MatchKindTest, FirstWildcardDecides) {
    EXPECT_EQ(Strings::MatchKind(QString::fromLatin1(GetParam().text)), GetParam().kind)
        << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, MatchKindTest,
    ::testing::Values(KindCase{"", SearchMatch::None}, KindCase{"CPU", SearchMatch::Exact},
                      KindCase{"AB*", SearchMatch::Prefix}, KindCase{"C*", SearchMatch::Prefix},
                      KindCase{"*", SearchMatch::Pattern}, KindCase{"A*B*", SearchMatch::Pattern},
                      KindCase{"A?*", SearchMatch::Pattern}, KindCase{"?PU", SearchMatch::Pattern},
                      KindCase{"AB?*", SearchMatch::Pattern},
                      KindCase{"*NET*", SearchMatch::Pattern}, KindCase{"**", SearchMatch::Pattern},
                      KindCase{"#1", SearchMatch::Exact}));

TEST(MatchKindValuesTest, KeepTheirNumbers) {
    EXPECT_EQ(int(SearchMatch::None), 0);
    EXPECT_EQ(int(SearchMatch::Exact), 1);
    EXPECT_EQ(int(SearchMatch::Prefix), 2);
    EXPECT_EQ(int(SearchMatch::Pattern), 4);
}

TEST(SingularTest, OfPluralsAndPossessives) {
    using Strings::Singular;
    EXPECT_EQ(Singular(u"CPUs"), QStringLiteral("CPU"));
    EXPECT_EQ(Singular(u"CPU's"), QStringLiteral("CPU"));
    EXPECT_EQ(Singular(u"ICs"), QStringLiteral("IC"));
    EXPECT_EQ(Singular(u"3Gs"), QStringLiteral("3G"));
    EXPECT_TRUE(Singular(u"ABS").isEmpty()) << "a capital S is part of the abbreviation";
    EXPECT_TRUE(Singular(u"Macs").isEmpty());
    EXPECT_TRUE(Singular(u"s").isEmpty());
    EXPECT_TRUE(Singular(u"'s").isEmpty());
}
