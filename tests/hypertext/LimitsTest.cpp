#include "RenderHarness.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Region bounds are 16-bit: a line is drawn only while its bottom stays at or above 32767.
struct BottomCase {
    const char16_t* lineEnd;
    qsizetype lines;
    qint32 lastTop;
};

class BottomLimit : public ::testing::TestWithParam<BottomCase> {};

TEST_P(BottomLimit, RenderingStopsBeforeARegionBottomWouldPass32767) {
    const BottomCase c = GetParam();
    RenderHarness h;
    const QString line = u"\\J1 L\\j"_s + QString::fromUtf16(c.lineEnd);

    EXPECT_EQ(h.render(line.repeated(300)), c.lines);

    ASSERT_EQ(qsizetype(h.surface.prints.size()), c.lines);
    EXPECT_EQ(h.surface.prints.back().y, c.lastTop);
    ASSERT_EQ(qsizetype(h.regions.size()), c.lines);
    EXPECT_EQ(h.regions.back(), (Region{1, 24, qint16(c.lastTop), 144, qint16(c.lastTop + 240)}));
}

INSTANTIATE_TEST_SUITE_P(LineEnds, BottomLimit,
                         ::testing::Values(BottomCase{u"\n", 124, 32496},
                                           BottomCase{u"\\h", 85, 32280},
                                           BottomCase{u"\\F", 226, 32424}));

TEST(Limits, WrappingStopsAtTheSameBottom) {
    RenderHarness h;
    EXPECT_EQ(h.render(u"\\J1 "_s + u"a"_s.repeated(10800) + u"\\j"_s), 124);

    EXPECT_EQ(h.regions.back(), (Region{1, 24, 32496, 4344, 32736}));
}

TEST(Limits, TextsLongerThan32767CharactersAreReadInFull) {
    RenderHarness late;
    EXPECT_EQ(late.render(u"\r"_s.repeated(33000) + u"\\J77 AB\\j"_s), 1);
    EXPECT_EQ(late.regions, (Regions{{77, 24, 24, 264, 264}}));

    // A long text of many lines is cut at the bottom like any other.
    RenderHarness tall;
    tall.render(u"x\n"_s.repeated(20000));
    ASSERT_EQ(tall.surface.prints.size(), 124u);
    EXPECT_EQ(tall.surface.prints.back(), (Drawn{.text = u"x"_s, .x = 24, .y = 32496}));
}

TEST(Limits, LinesInAVeryWideBoxEndWithin16Bits) {
    RenderHarness h;
    h.surface.scaleWidth = 100000; // usable width limited to 32767 - 2 * 24 = 32719

    EXPECT_EQ(h.render(u"\\J1 "_s + u"a"_s.repeated(300) + u"\\j"_s), 2);

    EXPECT_EQ(h.regions, (Regions{{1, 24, 24, 32664, 264}, {1, 24, 288, 3384, 528}}));
}

// A word wider than a line costs measuring in proportion to its length, not to its length
// times the line's: each character is measured a bounded number of times.
TEST(Limits, WordWiderThanTheWidestLineIsMeasuredInLinearTime) {
    RenderHarness h;
    h.surface.scaleWidth = 100000; // the widest line: 32719 twips, 2181 characters
    h.surface.asciiWidth = 15;
    const QString word = u"a"_s.repeated(4096);

    h.render(word);

    ASSERT_EQ(h.surface.prints.size(), 2u);
    EXPECT_EQ(h.surface.prints[0].text.size(), 2181);
    EXPECT_EQ(h.surface.prints[1].text.size(), 4096 - 2181);
    EXPECT_LT(h.surface.measuredCharacters, 32 * word.size());

    RenderHarness huge;
    huge.surface.scaleWidth = 100000;
    huge.surface.asciiWidth = 15;
    huge.render(u"-"_s.repeated(100000));
    EXPECT_LT(huge.surface.measuredCharacters, 32 * 100000);
}

TEST(Limits, RegionOfAnAbsurdlyWideCharacterIsClippedNotWrapped) {
    RenderHarness h;
    h.surface.widthOverrides[U'W'] = 40000;

    EXPECT_EQ(h.render(u"\\J1 W\\j"_s), 1);

    EXPECT_EQ(h.regions, (Regions{{1, 24, 24, 32767, 264}}));
}

TEST(Limits, FontTooTallForAnyRecordableLineDrawsNothing) {
    RenderHarness fits;
    fits.surface.textHeight = 29789; // margin 2978: bottom of the first line 32767
    EXPECT_EQ(fits.render(u"\\J1 a\\j\nb"_s), 1);
    EXPECT_EQ(fits.regions, (Regions{{1, 2978, 2978, 3098, 32767}}));
    EXPECT_EQ(fits.surface.prints.size(), 1u);

    RenderHarness tooTall;
    tooTall.surface.textHeight = 29790; // margin 2979: bottom 32769
    EXPECT_EQ(tooTall.render(u"\\J1 a\\j\nb"_s), 0);
    EXPECT_TRUE(tooTall.surface.prints.empty());
    EXPECT_TRUE(tooTall.regions.empty());

    RenderHarness beyond16Bits;
    beyond16Bits.surface.textHeight = 70000;
    EXPECT_EQ(beyond16Bits.render(u"a"_s), 0);
    EXPECT_TRUE(beyond16Bits.surface.prints.empty());
}

TEST(Limits, RegionTableStopsGrowingAt32767ButTextIsStillDrawn) {
    RenderHarness h;
    EXPECT_EQ(h.render(u"\\J1 "_s + u"\\B"_s.repeated(40000) + u"ab\\j"_s), 32767);

    ASSERT_EQ(h.regions.size(), 32767u);
    EXPECT_TRUE(std::all_of(h.regions.begin(), h.regions.end(), [](const Region& r) {
        return r == Region{1, 24, 24, 24, 264};
    }));
    EXPECT_EQ(
        h.surface.prints,
        (Runs{
            {.text = u"ab"_s, .x = 24, .y = 24, .bold = true, .underline = true, .color = Blue}}));
}

TEST(Limits, DegenerateMetricsStillDrawEveryCharacter) {
    RenderHarness flat;
    flat.surface.textHeight = 0; // no height: no margin, lines stay on top of each other
    flat.render(u"a\nb"_s);
    EXPECT_EQ(flat.surface.prints, (Runs{
                                       {.text = u"a"_s, .x = 0, .y = 0},
                                       {.text = u"b"_s, .x = 0, .y = 0},
                                   }));

    RenderHarness negative;
    negative.surface.scaleWidth = -500;
    negative.render(u"ab"_s);
    EXPECT_EQ(negative.surface.prints, (Runs{
                                           {.text = u"a"_s, .x = 24, .y = 24},
                                           {.text = u"b"_s, .x = 24, .y = 288},
                                       }));
}

} // namespace
