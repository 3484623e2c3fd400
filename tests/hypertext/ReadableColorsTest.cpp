// Link colours on dark backgrounds: WCAG 2 contrast of at least 4.5 : 1, hue kept; light
// backgrounds keep pure blue and red.
#include "entryview/ReadableColors.h"
#include "RenderHarness.h"

#include <gtest/gtest.h>

namespace {

using HyperText::ContrastRatio;
using HyperText::IsDarkBackground;
using HyperText::ReadableOn;
using HyperText::RgbColor;

constexpr RgbColor White{255, 255, 255};
constexpr RgbColor Black{0, 0, 0};

TEST(ReadableColors, ContrastFollowsTheWcagFormula) {
    EXPECT_DOUBLE_EQ(ContrastRatio(Black, White), 21.0);
    EXPECT_DOUBLE_EQ(ContrastRatio(White, Black), 21.0);
    EXPECT_DOUBLE_EQ(ContrastRatio(Blue, Blue), 1.0);
    EXPECT_NEAR(ContrastRatio(Blue, White), 8.59, 0.01);
    EXPECT_NEAR(ContrastRatio(Red, White), 4.00, 0.01);
    EXPECT_NEAR(ContrastRatio(RgbColor{119, 119, 119}, White), 4.48, 0.01);
}

TEST(ReadableColors, DarkMeansLightnessBelowOneHalf) {
    EXPECT_TRUE(IsDarkBackground(Black));
    EXPECT_TRUE(IsDarkBackground(RgbColor{127, 127, 127}));
    EXPECT_FALSE(IsDarkBackground(RgbColor{128, 128, 128}));
    EXPECT_TRUE(IsDarkBackground(RgbColor{254, 0, 0})) << "lightness 0.498";
    EXPECT_FALSE(IsDarkBackground(RgbColor{255, 0, 0})) << "lightness 0.5";
    EXPECT_FALSE(IsDarkBackground(White));
}

TEST(ReadableColors, LightBackgroundsKeepTheExactColours) {
    for (const RgbColor background : {White, RgbColor{240, 240, 240}, RgbColor{192, 192, 192},
                                      RgbColor{128, 128, 128}, RgbColor{255, 255, 0}}) {
        EXPECT_EQ(ReadableOn(Blue, background), Blue);
        EXPECT_EQ(ReadableOn(Red, background), Red);
    }
}

class DarkBackgrounds : public ::testing::TestWithParam<RgbColor> {};

TEST_P(DarkBackgrounds, LinkColoursReachTheContrastAndKeepTheirHue) {
    const RgbColor background = GetParam();
    const RgbColor blue = ReadableOn(Blue, background);
    const RgbColor red = ReadableOn(Red, background);

    EXPECT_GE(ContrastRatio(blue, background), 4.5);
    EXPECT_GE(ContrastRatio(red, background), 4.5);
    EXPECT_GE(blue.b, blue.r);
    EXPECT_GE(blue.b, blue.g);
    EXPECT_GE(red.r, red.g);
    EXPECT_GE(red.r, red.b);
    EXPECT_NE(blue, red);
}

TEST_P(DarkBackgrounds, NoLessChangedColourWouldDo) {
    const RgbColor background = GetParam();
    const RgbColor blue = ReadableOn(Blue, background);
    if (ContrastRatio(Blue, background) >= 4.5) {
        EXPECT_EQ(blue, Blue);
        return;
    }
    // One step less towards white (or black) falls short.
    const bool lighter = blue.r > 0;
    const RgbColor lessChanged = lighter ? RgbColor{quint8(blue.r - 1), quint8(blue.g - 1), 255}
                                         : RgbColor{0, 0, quint8(blue.b + 1)};
    EXPECT_LT(ContrastRatio(lessChanged, background), 4.5);
}

INSTANTIATE_TEST_SUITE_P(Palettes, DarkBackgrounds,
                         ::testing::Values(Black, RgbColor{30, 30, 30}, RgbColor{53, 53, 53},
                                           RgbColor{0, 0, 128}, RgbColor{127, 127, 127},
                                           RgbColor{110, 110, 0}, RgbColor{200, 20, 20},
                                           RgbColor{0, 90, 180}));

TEST(ReadableColors, TheRendererDrawsLinksReadablyOnADarkSurface) {
    RenderHarness h;
    h.surface.background = RgbColor{30, 30, 30};
    h.surface.windowText = RgbColor{230, 230, 230};
    h.render(u"text \\J5 link\\j \\Jbroken\\j"_s);

    ASSERT_EQ(h.surface.prints.size(), 4u);
    EXPECT_EQ(h.surface.prints[0].color, h.surface.windowText);
    EXPECT_EQ(h.surface.prints[1].color, ReadableOn(Blue, h.surface.background));
    EXPECT_EQ(h.surface.prints[3].color, ReadableOn(Red, h.surface.background));
    EXPECT_GE(ContrastRatio(h.surface.prints[1].color, h.surface.background), 4.5);
    EXPECT_GE(ContrastRatio(h.surface.prints[3].color, h.surface.background), 4.5);
}

} // namespace
