#include "RenderHarness.h"

#include <gtest/gtest.h>

namespace {

struct StyleCode {
    const char16_t* markup; // "a", style on, "b", style off, "c"
    bool bold;
    bool italic;
    bool underline;
};

class StyleCodes : public ::testing::TestWithParam<StyleCode> {};

TEST_P(StyleCodes, SwitchTheirStyleForWholeRunsOnTheSameLine) {
    const StyleCode code = GetParam();
    RenderHarness h;

    EXPECT_EQ(h.render(QString::fromUtf16(code.markup)), 0);

    EXPECT_EQ(h.surface.prints, (Runs{
                                    {.text = u"a"_s, .x = 24, .y = 24},
                                    {.text = u"b"_s,
                                     .x = 144,
                                     .y = 24,
                                     .bold = code.bold,
                                     .italic = code.italic,
                                     .underline = code.underline},
                                    {.text = u"c"_s, .x = 264, .y = 24},
                                }));
}

INSTANTIATE_TEST_SUITE_P(BoldItalicUnderline, StyleCodes,
                         ::testing::Values(StyleCode{u"a\\Bb\\bc", true, false, false},
                                           StyleCode{u"a\\Ib\\ic", false, true, false},
                                           StyleCode{u"a\\Ub\\uc", false, false, true}));

TEST(MarkupCodes, HeadingIsBoldInWindowTextAndEndsOneAndAHalfLinesLower) {
    RenderHarness h;
    h.render(u"\\JX\\HTitle\\hBody"_s);

    EXPECT_EQ(h.surface.prints, (Runs{
                                    {.text = u"X"_s, .x = 24, .y = 24, .color = Red},
                                    {.text = u"Title"_s, .x = 144, .y = 24, .bold = true},
                                    {.text = u"Body"_s, .x = 24, .y = 408},
                                }));
}

TEST(MarkupCodes, HalfLineFeedEndsBoldAndRedAndStartsHalfALineLower) {
    RenderHarness h;
    h.render(u"a\\Bb\\Fc\\Jd\\Fe"_s);

    EXPECT_EQ(h.surface.prints, (Runs{
                                    {.text = u"a"_s, .x = 24, .y = 24},
                                    {.text = u"b"_s, .x = 144, .y = 24, .bold = true},
                                    {.text = u"c"_s, .x = 24, .y = 168},
                                    {.text = u"d"_s, .x = 144, .y = 168, .color = Red},
                                    {.text = u"e"_s, .x = 24, .y = 312},
                                }));
}

TEST(MarkupCodes, StopDrawsWhatCameBeforeAndNothingAfter) {
    RenderHarness h;
    EXPECT_EQ(h.render(u"\\J7 ab\\fcd\\j\nmore \\J8 x\\j"_s), 1);

    EXPECT_EQ(h.surface.prints,
              (Runs{{.text = u"ab"_s, .x = 24, .y = 24, .underline = true, .color = Blue}}));
    EXPECT_EQ(h.regions, (Regions{{7, 24, 24, 264, 264}}));
}

// Markup whose whole visible result is one run on the first line.
struct SingleRun {
    const char16_t* markup;
    const char16_t* drawn;
};

class BackslashesAndControls : public ::testing::TestWithParam<SingleRun> {};

TEST_P(BackslashesAndControls, DrawExactlyTheExpectedRun) {
    const SingleRun c = GetParam();
    RenderHarness h;

    EXPECT_EQ(h.render(QString::fromUtf16(c.markup)), 0);

    EXPECT_EQ(h.surface.prints, (Runs{{.text = QString::fromUtf16(c.drawn), .x = 24, .y = 24}}));
}

INSTANTIATE_TEST_SUITE_P(
    Markup, BackslashesAndControls,
    ::testing::Values(SingleRun{u"a\\\\b", u"a\\b"},           // doubled: one backslash
                      SingleRun{u"\\\\\\\\", u"\\\\"},         // two doubled: two backslashes
                      SingleRun{u"ab\\", u"ab"},               // trailing backslash dropped
                      SingleRun{u"ab\\Qcd", u"abcd"},          // unknown code, run unbroken
                      SingleRun{u"ab\\1cd", u"abcd"},          // a digit is no code either
                      SingleRun{u"ab\\あcd", u"abcd"},         // nor a Japanese letter
                      SingleRun{u"ab\\\U0002000Bcd", u"abcd"}, // a supplementary one drops whole
                      SingleRun{u"a\tb\rc\x01"
                                u"d\x1f"
                                u"e",
                                u"abcde"}, // controls vanish
                      SingleRun{u"\x7f"
                                u"x",
                                u"\x7f"
                                u"x"})); // DEL is no control code

TEST(MarkupCodes, LoneBackslashDrawsNothing) {
    RenderHarness h;
    EXPECT_EQ(h.render(u"\\"_s), 0);
    EXPECT_TRUE(h.surface.prints.empty());
}

TEST(MarkupCodes, CarriageReturnLineFeedEndsTheLineOnce) {
    RenderHarness h;
    h.render(u"one\r\ntwo\n\nfour\r\r\n"_s);

    EXPECT_EQ(h.surface.prints, (Runs{
                                    {.text = u"one"_s, .x = 24, .y = 24},
                                    {.text = u"two"_s, .x = 24, .y = 288},
                                    {.text = u"four"_s, .x = 24, .y = 816},
                                }));
}

} // namespace
