#include "data/JetPattern.h"

#include <gtest/gtest.h>

namespace {

struct PatternCase {
    const char16_t* pattern;
    const char16_t* text;
    bool matches;
};

class JetPatternMatchTest : public ::testing::TestWithParam<PatternCase> {};

TEST_P(JetPatternMatchTest, Matches) {
    const PatternCase c = GetParam();
    const auto pattern = JetPattern::Compile(QString::fromUtf16(c.pattern));
    ASSERT_TRUE(pattern.has_value());
    EXPECT_EQ(pattern->Matches(QString::fromUtf16(c.text)), c.matches)
        << QString::fromUtf16(c.pattern).toStdString() << " ~ "
        << QString::fromUtf16(c.text).toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Wildcards, JetPatternMatchTest,
    ::testing::Values(
        PatternCase{u"*", u"", true}, PatternCase{u"*", u"ANYTHING", true},
        PatternCase{u"?PU", u"CPU", true}, PatternCase{u"?PU", u"GPU", true},
        PatternCase{u"?PU", u"PU", false}, PatternCase{u"?PU", u"CCPU", false},
        PatternCase{u"*NET*", u"ETHERNET", true}, PatternCase{u"*NET*", u"NETBIOS", true},
        PatternCase{u"*NET*", u"INTERNETWORK", true}, PatternCase{u"*NET*", u"NE", false},
        PatternCase{u"A*B", u"AB", true}, PatternCase{u"A*B", u"AXXB", true},
        PatternCase{u"A*B", u"AXXBC", false}, PatternCase{u"A*B*", u"AXBX", true},
        PatternCase{u"cpu", u"CPU", true}, PatternCase{u"ＣＰＵ", u"ｃｐｕ", true},
        PatternCase{u"MP#", u"MP3", true}, PatternCase{u"MP#", u"MPX", false},
        PatternCase{u"[CG]PU", u"GPU", true}, PatternCase{u"[CG]PU", u"TPU", false},
        PatternCase{u"[!CG]PU", u"TPU", true}, PatternCase{u"[!CG]PU", u"CPU", false},
        PatternCase{u"[a-c]PU", u"BPU", true}, PatternCase{u"[A-C]PU", u"dPU", false},
        PatternCase{u"[*]", u"*", true}, PatternCase{u"[*]", u"A", false},
        PatternCase{u"[?]x", u"?x", true}, PatternCase{u"[-A]", u"-", true},
        PatternCase{u"A[]B", u"AB", true}, PatternCase{u"A[!]B", u"AxB", true},
        PatternCase{u"中央*", u"中央処理装置", true}, PatternCase{u"?央", u"中央", true},
        PatternCase{u"]", u"]", true}, PatternCase{u"***A***", u"BAB", true}));

TEST(JetPatternTest, MalformedPatternsAreRejected) {
    EXPECT_FALSE(JetPattern::Compile(QStringLiteral("[abc")).has_value());
    EXPECT_FALSE(JetPattern::Compile(QStringLiteral("A[")).has_value());
    EXPECT_FALSE(JetPattern::Compile(QStringLiteral("[z-a]")).has_value());
    EXPECT_FALSE(JetPattern::Compile(QStringLiteral("[!")).has_value());
}

TEST(JetPatternTest, HostilePatternsStayCheap) {
    // Thousands of stars collapse, and more fixed characters than the text holds fail at once.
    QString many;
    for (int i = 0; i < 50000; ++i)
        many += QStringLiteral("*a");
    const auto pattern = JetPattern::Compile(many + QStringLiteral("*"));
    ASSERT_TRUE(pattern.has_value());
    EXPECT_FALSE(pattern->Matches(QString(200, QLatin1Char('a'))));
    EXPECT_TRUE(pattern->Matches(QString(50000, QLatin1Char('a'))));
    const auto stars = JetPattern::Compile(QString(100000, QLatin1Char('*')));
    ASSERT_TRUE(stars.has_value());
    EXPECT_TRUE(stars->Matches(QStringLiteral("CPU")));
}

} // namespace
