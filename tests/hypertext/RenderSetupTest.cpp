#include "RenderHarness.h"

#include <gtest/gtest.h>

namespace {

TEST(RenderSetup, EmptyTextBlanksSurfaceAndTableButKeepsFontAndColour) {
    RenderHarness h;
    h.surface.fontName = u"Old Face"_s;
    h.surface.fontSize = 14.0;
    h.surface.bold = true;
    h.surface.italic = true;
    h.surface.foreColor = Red;
    h.surface.penX = 500;
    h.surface.penY = 700;
    h.surface.Print(u"left over"_s);
    h.regions = {Region{4, 1, 2, 3, 4}, Region{5, 6, 7, 8, 9}};

    EXPECT_EQ(h.render(QString()), 0);

    EXPECT_EQ(h.surface.clsCalls, 1);
    EXPECT_TRUE(h.surface.prints.empty());
    EXPECT_TRUE(h.regions.empty());
    EXPECT_EQ(h.surface.penX, 0);
    EXPECT_EQ(h.surface.penY, 0);
    EXPECT_EQ(h.surface.fontAndColorCalls, 0);
    EXPECT_EQ(h.surface.fontName, u"Old Face"_s);
    EXPECT_EQ(h.surface.fontSize, 14.0);
    EXPECT_TRUE(h.surface.bold);
    EXPECT_TRUE(h.surface.italic);
    EXPECT_EQ(h.surface.foreColor, Red);
}

TEST(RenderSetup, AppliesDisplayFontAndResetsEveryStyleLeftFromBefore) {
    RenderHarness h;
    h.font = {u"Noto Sans CJK JP"_s, 10.5};
    h.surface.bold = true;
    h.surface.italic = true;
    h.surface.underline = true;
    h.surface.foreColor = Blue;

    EXPECT_EQ(h.render(u"A"_s), 0);

    EXPECT_EQ(h.surface.clsCalls, 1);
    EXPECT_EQ(h.surface.fontName, u"Noto Sans CJK JP"_s);
    EXPECT_EQ(h.surface.fontSize, 10.5);
    EXPECT_EQ(h.surface.prints, (Runs{{.text = u"A"_s, .x = 24, .y = 24}}));
}

TEST(RenderSetup, RenderingReplacesThePreviousDrawingAndTable) {
    RenderHarness h;
    h.render(u"\\J1 old\\j"_s);
    ASSERT_EQ(h.regions.size(), 1u);

    EXPECT_EQ(h.render(u"new"_s), 0);

    EXPECT_EQ(h.surface.clsCalls, 2);
    EXPECT_TRUE(h.regions.empty());
    EXPECT_EQ(h.surface.prints, (Runs{{.text = u"new"_s, .x = 24, .y = 24}}));
}

TEST(RenderSetup, LineHeightIsMeasuredOnceInTheRegularBaseFont) {
    RenderHarness h;
    h.surface.boldTextHeight = 300;
    h.surface.bold = true; // a previous rendering ended in bold

    h.render(u"\\HTitle\\hBody\n\\Bbold\nmore"_s);

    // Bold lines advance exactly like regular ones: 384 after the heading, 264 per line feed.
    EXPECT_EQ(h.surface.prints, (Runs{
                                    {.text = u"Title"_s, .x = 24, .y = 24, .bold = true},
                                    {.text = u"Body"_s, .x = 24, .y = 408},
                                    {.text = u"bold"_s, .x = 24, .y = 672, .bold = true},
                                    {.text = u"more"_s, .x = 24, .y = 936, .bold = true},
                                }));
}

// Line advances derived from the line height: margin = height / 10, half a line = height / 2, both
// truncated.
struct Geometry {
    qint32 lineHeight;
    qint32 margin;
    qint32 lineFeed; // also a wrap
    qint32 headingEnd;
    qint32 halfLineFeed;
};

class LineGeometry : public ::testing::TestWithParam<Geometry> {};

TEST_P(LineGeometry, EveryLineStartsAtTheMarginAndAdvancesByItsRule) {
    const Geometry g = GetParam();
    RenderHarness h;
    h.surface.textHeight = g.lineHeight;
    h.surface.boldTextHeight = g.lineHeight;

    h.render(u"a\nb\\hc\\Fd\ne"_s);

    const qint32 m = g.margin;
    const qint32 yB = m + g.lineFeed;
    const qint32 yC = yB + g.headingEnd;
    const qint32 yD = yC + g.halfLineFeed;
    EXPECT_EQ(h.surface.prints, (Runs{
                                    {.text = u"a"_s, .x = m, .y = m},
                                    {.text = u"b"_s, .x = m, .y = yB},
                                    {.text = u"c"_s, .x = m, .y = yC},
                                    {.text = u"d"_s, .x = m, .y = yD},
                                    {.text = u"e"_s, .x = m, .y = yD + g.lineFeed},
                                }));
}

INSTANTIATE_TEST_SUITE_P(LineHeights, LineGeometry,
                         ::testing::Values(Geometry{240, 24, 264, 384, 144},
                                           Geometry{241, 24, 265, 385, 144},
                                           Geometry{255, 25, 280, 407, 152},
                                           Geometry{9, 0, 9, 13, 4}));

TEST(RenderSetup, UsableWidthIsInnerWidthLessTwoMargins) {
    // Three characters of 1469 twips fill 4407 exactly; one twip more no longer fits.
    RenderHarness exact;
    exact.surface.asciiWidth = 1469;
    exact.render(u"abcd"_s);
    EXPECT_EQ(exact.surface.prints, (Runs{
                                        {.text = u"abc"_s, .x = 24, .y = 24},
                                        {.text = u"d"_s, .x = 24, .y = 288},
                                    }));

    RenderHarness over;
    over.surface.asciiWidth = 1470;
    over.render(u"abcd"_s);
    EXPECT_EQ(over.surface.prints, (Runs{
                                       {.text = u"ab"_s, .x = 24, .y = 24},
                                       {.text = u"cd"_s, .x = 24, .y = 288},
                                   }));
}

} // namespace
