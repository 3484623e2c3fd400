#include "RenderHarness.h"

#include <gtest/gtest.h>

namespace {

TEST(LinkRegions, LinkIsBlueUnderlinedAndCoveredByOneRegionWithoutItsSeparator) {
    RenderHarness h;
    EXPECT_EQ(h.render(u"see \\J123 CPU\\j now"_s), 1);

    EXPECT_EQ(h.surface.prints,
              (Runs{
                  {.text = u"see "_s, .x = 24, .y = 24},
                  {.text = u"CPU"_s, .x = 504, .y = 24, .underline = true, .color = Blue},
                  {.text = u" now"_s, .x = 864, .y = 24},
              }));
    EXPECT_EQ(h.regions, (Regions{{123, 504, 24, 864, 264}}));
}

TEST(LinkRegions, WrappedLinkHasOneRegionPerLineWithTheSameId) {
    RenderHarness h;
    EXPECT_EQ(h.render(u"x"_s.repeated(30) + u" \\J42 abc defgh\\j"_s), 2);

    EXPECT_EQ(h.regions, (Regions{{42, 3744, 24, 4224, 264}, {42, 24, 288, 624, 528}}));
}

TEST(LinkRegions, StyleCodesInsideALinkSplitItIntoOneRegionPerRun) {
    RenderHarness h;
    EXPECT_EQ(h.render(u"\\J9 ab\\Bcd\\bef\\j"_s), 3);

    EXPECT_EQ(
        h.surface.prints,
        (Runs{
            {.text = u"ab"_s, .x = 24, .y = 24, .underline = true, .color = Blue},
            {.text = u"cd"_s, .x = 264, .y = 24, .bold = true, .underline = true, .color = Blue},
            {.text = u"ef"_s, .x = 504, .y = 24, .underline = true, .color = Blue},
        }));
    EXPECT_EQ(h.regions,
              (Regions{{9, 24, 24, 264, 264}, {9, 264, 24, 504, 264}, {9, 504, 24, 744, 264}}));
}

TEST(LinkRegions, EmptyRunsInsideALinkRecordZeroWidthRegions) {
    RenderHarness h;
    EXPECT_EQ(h.render(u"\\J9 \\Bab\\b\\j"_s), 3);

    EXPECT_EQ(h.regions,
              (Regions{{9, 24, 24, 24, 264}, {9, 24, 24, 264, 264}, {9, 264, 24, 264, 264}}));
}

TEST(LinkRegions, HeadingEndAndHalfLineFeedKeepTheLinkOpen) {
    RenderHarness h;
    EXPECT_EQ(h.render(u"\\J5 ab\\hcd\\Fef\\j"_s), 3);

    EXPECT_EQ(h.surface.prints,
              (Runs{
                  {.text = u"ab"_s, .x = 24, .y = 24, .underline = true, .color = Blue},
                  {.text = u"cd"_s, .x = 24, .y = 408, .underline = true},
                  {.text = u"ef"_s, .x = 24, .y = 552, .underline = true},
              }));
    EXPECT_EQ(h.regions,
              (Regions{{5, 24, 24, 264, 264}, {5, 24, 408, 264, 648}, {5, 24, 552, 264, 792}}));
}

TEST(LinkRegions, LinkLeftOpenAtTheEndIsStillClickable) {
    RenderHarness open;
    EXPECT_EQ(open.render(u"\\J5 abc"_s), 1);
    EXPECT_EQ(open.regions, (Regions{{5, 24, 24, 384, 264}}));

    // Nothing pending at the end adds no zero-width region.
    RenderHarness drawn;
    EXPECT_EQ(drawn.render(u"\\J5 abc\\B"_s), 1);
    EXPECT_EQ(drawn.regions, (Regions{{5, 24, 24, 384, 264}}));
}

TEST(LinkRegions, AnyCharacterServesAsSeparator) {
    RenderHarness feed;
    EXPECT_EQ(feed.render(u"\\J8\nab\\j"_s), 1);
    EXPECT_EQ(feed.regions, (Regions{{8, 24, 24, 264, 264}}));

    RenderHarness japanese;
    EXPECT_EQ(japanese.render(u"\\J8あab\\j"_s), 1);
    EXPECT_EQ(japanese.surface.prints,
              (Runs{{.text = u"ab"_s, .x = 24, .y = 24, .underline = true, .color = Blue}}));

    RenderHarness supplementary;
    EXPECT_EQ(supplementary.render(u"\\J8\U0002000Bab\\j"_s), 1);
    EXPECT_EQ(supplementary.surface.prints,
              (Runs{{.text = u"ab"_s, .x = 24, .y = 24, .underline = true, .color = Blue}}));

    RenderHarness atEnd;
    EXPECT_EQ(atEnd.render(u"ab\\J8"_s), 0);
    EXPECT_EQ(atEnd.surface.prints, (Runs{{.text = u"ab"_s, .x = 24, .y = 24}}));
}

TEST(LinkRegions, TableGrowsPastEveryTenRecordsKeepingTheirOrder) {
    RenderHarness h;
    QString markup;
    for (int id = 1; id <= 25; ++id)
        markup += u"\\J%1 w\\j "_s.arg(id);

    // Each link with its space takes 240. The 19th link's "w" no longer fits the first line, so
    // the wrap inside that link first closes its still empty run there with a zero-width region.
    Regions expected;
    for (qint16 k = 0; k < 18; ++k)
        expected.push_back({k + 1, qint16(24 + 240 * k), 24, qint16(144 + 240 * k), 264});
    expected.push_back({19, 4344, 24, 4344, 264});
    for (qint16 k = 0; k < 7; ++k)
        expected.push_back({k + 19, qint16(24 + 240 * k), 288, qint16(144 + 240 * k), 528});

    EXPECT_EQ(h.render(markup), 26);
    EXPECT_EQ(h.regions, expected);
}

// A link start without a usable number: red, underline unchanged, never recorded.
struct BrokenLink {
    const char16_t* markup;
    const char16_t* drawn;
};

class BrokenLinks : public ::testing::TestWithParam<BrokenLink> {};

TEST_P(BrokenLinks, DrawRedAndRecordNothing) {
    const BrokenLink c = GetParam();
    RenderHarness h;

    EXPECT_EQ(h.render(QString::fromUtf16(c.markup)), 0);

    EXPECT_TRUE(h.regions.empty());
    EXPECT_EQ(h.surface.prints,
              (Runs{{.text = QString::fromUtf16(c.drawn), .x = 24, .y = 24, .color = Red}}));
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, BrokenLinks,
    ::testing::Values(BrokenLink{u"\\JABC\\j", u"ABC"},            // no digits: all letters drawn
                      BrokenLink{u"\\J ABC\\j", u" ABC"},          // no digits, no separator
                      BrokenLink{u"\\J0 ABC\\j", u"ABC"},          // zero: separator consumed
                      BrokenLink{u"\\J000 ABC\\j", u"ABC"},        // zero written long
                      BrokenLink{u"\\J2147483648 ABC\\j", u"ABC"}, // one beyond 32 bits
                      BrokenLink{u"\\J4294967297 ABC\\j", u"ABC"}, // would wrap round to 1
                      BrokenLink{u"\\J99999999999999999999999999 ABC\\j", u"ABC"}));

TEST(LinkRegions, LargestEntryNumberIsAValidLink) {
    RenderHarness h;
    EXPECT_EQ(h.render(u"\\J2147483647 AB\\j"_s), 1);
    EXPECT_EQ(h.regions, (Regions{{2147483647, 24, 24, 264, 264}}));
}

TEST(LinkRegions, BrokenLinkStartInsideALinkClosesIt) {
    RenderHarness h;
    EXPECT_EQ(h.render(u"\\J5 ab\\Jcd\\j"_s), 1);

    EXPECT_EQ(h.regions, (Regions{{5, 24, 24, 264, 264}}));
    EXPECT_EQ(h.surface.prints,
              (Runs{
                  {.text = u"ab"_s, .x = 24, .y = 24, .underline = true, .color = Blue},
                  {.text = u"cd"_s, .x = 264, .y = 24, .underline = true, .color = Red},
              }));
}

// What colour the text after a code has when red was on before it.
struct AfterRed {
    const char16_t* code;
    HyperText::RgbColor color;
};

class RedPersistence : public ::testing::TestWithParam<AfterRed> {};

TEST_P(RedPersistence, LastsUntilACodeThatSetsTheColour) {
    const AfterRed c = GetParam();
    RenderHarness h;

    h.render(u"\\JAB"_s + QString::fromUtf16(c.code) + u"CD"_s);

    ASSERT_EQ(h.surface.prints.size(), 2u);
    EXPECT_EQ(h.surface.prints[0].color, Red);
    EXPECT_EQ(h.surface.prints[1].text, u"CD"_s);
    EXPECT_EQ(h.surface.prints[1].color, c.color);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, RedPersistence,
    ::testing::Values(AfterRed{u"\\j", WindowText}, AfterRed{u"\\J5 ", Blue},
                      AfterRed{u"\\H", WindowText}, AfterRed{u"\\h", WindowText},
                      AfterRed{u"\\F", WindowText}, AfterRed{u"\\B", Red}, AfterRed{u"\\b", Red},
                      AfterRed{u"\\I", Red}, AfterRed{u"\\i", Red}, AfterRed{u"\\U", Red},
                      AfterRed{u"\\u", Red}, AfterRed{u"\\J", Red}, AfterRed{u"\n", Red}));

// Reading the number after a link start: index of the "J" in, index of the separator out.
struct NumberCase {
    const char16_t* text;
    qsizetype position;
    qsizetype length; // -1: the whole text
    qint32 value;
    qsizetype positionAfter;
};

class ReadLinkNumbers : public ::testing::TestWithParam<NumberCase> {};

TEST_P(ReadLinkNumbers, ReturnTheValueAndStopOnTheSeparator) {
    const NumberCase c = GetParam();
    const QString text = QString::fromUtf16(c.text);
    qsizetype position = c.position;

    const qint32 value =
        HyperText::ReadLinkNumber(text, position, c.length < 0 ? text.size() : c.length);

    EXPECT_EQ(value, c.value);
    EXPECT_EQ(position, c.positionAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ReadLinkNumbers,
    ::testing::Values(NumberCase{u"J123 x", 0, -1, 123, 4},
                      NumberCase{u"J123", 0, -1, 123, 4}, // digits up to the end
                      NumberCase{u"J123", 0, 3, 12, 3},   // the given length is the end
                      NumberCase{u"Jabc", 0, -1, 0, 0},   // no digits: position stays
                      NumberCase{u"J", 0, -1, 0, 0}, NumberCase{u"J0 ", 0, -1, 0, 2},
                      NumberCase{u"J000042 ", 0, -1, 42, 7},
                      NumberCase{u"J2147483647 ", 0, -1, 2147483647, 11},
                      NumberCase{u"J2147483648 ", 0, -1, 0, 11},
                      NumberCase{u"J00000000002147483647 ", 0, -1, 2147483647, 21},
                      NumberCase{u"J99999999999999999999999 ", 0, -1, 0, 24},
                      NumberCase{u"J\uFF11\uFF12 ", 0, -1, 0, 0}, // full-width digits are letters
                      NumberCase{u"\\\\J7 ", 2, -1, 7, 4},
                      NumberCase{u"J7", -3, -1, 0, -3}, // positions outside the text read nothing
                      NumberCase{u"J7", 5, -1, 0, 5}));

} // namespace
