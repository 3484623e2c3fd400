#include "entryview/LinkHitTest.h"
#include "RenderHarness.h"

#include <gtest/gtest.h>

#include <limits>
#include <ostream>
#include <string>

namespace {

using HyperText::HitTestLink;

struct Probe {
    double x;
    double y;
    int expected;
};

// Short case names and readable points, so the test list does not print raw bytes.
void PrintTo(const Probe& p, std::ostream* os) {
    *os << "(" << p.x << ", " << p.y << ")";
}

std::string ProbeName(const ::testing::TestParamInfo<Probe>& info) {
    return "case" + std::to_string(info.index);
}

class HitTestBorders : public ::testing::TestWithParam<Probe> {};

TEST_P(HitTestBorders, BordersBelongToNoRegion) {
    const Regions table{{7, 100, 200, 300, 440}};
    const Probe p = GetParam();

    EXPECT_EQ(HitTestLink(table, 1, p.x, p.y), p.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Points, HitTestBorders,
    ::testing::Values(Probe{100, 300, -1}, Probe{101, 300, 0}, // left edge / one inside
                      Probe{300, 300, -1}, Probe{299, 300, 0}, // right edge / one inside
                      Probe{150, 200, -1}, Probe{150, 201, 0}, // top
                      Probe{150, 440, -1}, Probe{150, 439, 0}, // bottom
                      Probe{100.5f, 200.5f, 0},                // fractional mouse positions
                      Probe{99.9, 300, -1}, Probe{50, 50, -1}, Probe{150, 1000, -1},
                      Probe{std::numeric_limits<double>::quiet_NaN(), 300, -1}),
    ProbeName);

TEST(HitTest, ZeroWidthRegionIsNeverHit) {
    const Regions table{{5, 100, 200, 100, 440}, {6, 100, 200, 100, 440}};

    for (double x : {99.5, 100.0, 100.5})
        EXPECT_EQ(HitTestLink(table, 2, x, 300), -1) << x;
}

TEST(HitTest, FirstRegionInTableOrderWins) {
    const Regions table{{1, 100, 100, 200, 200}, {2, 0, 0, 500, 500}, {3, 100, 100, 200, 200}};

    EXPECT_EQ(HitTestLink(table, 3, 150, 150), 0);
    EXPECT_EQ(HitTestLink(table, 3, 250, 250), 1);
}

TEST(HitTest, OnlyTheCountedRegionsAreTested) {
    const Regions table{{1, 0, 0, 100, 100}, {2, 200, 0, 300, 100}};

    EXPECT_EQ(HitTestLink(table, 1, 250, 50), -1);
    EXPECT_EQ(HitTestLink(table, 2, 250, 50), 1);
    EXPECT_EQ(HitTestLink(table, 0, 50, 50), -1);
    EXPECT_EQ(HitTestLink(table, -1, 50, 50), -1);
    EXPECT_EQ(HitTestLink(table, 30000, 250, 50), 1); // a stale count cannot read past the table
    EXPECT_EQ(HitTestLink(Regions{}, 0, 50, 50), -1);
}

TEST(HitTest, BothLinesOfAWrappedLinkLeadToTheSameEntry) {
    RenderHarness h;
    const qint16 count = h.render(u"x"_s.repeated(30) + u" \\J42 abc defgh\\j plain"_s);
    ASSERT_EQ(count, 2);

    const int onFirstLine = HitTestLink(h.regions, count, 4000, 100);
    const int onSecondLine = HitTestLink(h.regions, count, 300, 400);
    ASSERT_EQ(onFirstLine, 0);
    ASSERT_EQ(onSecondLine, 1);
    EXPECT_EQ(h.regions[onFirstLine].LinkId, 42);
    EXPECT_EQ(h.regions[onSecondLine].LinkId, 42);
    EXPECT_EQ(HitTestLink(h.regions, count, 700, 400), -1); // the plain text after it
}

TEST(HitTest, BlankedViewHasNoLinkAnywhere) {
    RenderHarness h;
    h.render(u"\\J3 abc\\j"_s);
    const qint16 count = h.render(QString());

    EXPECT_EQ(HitTestLink(h.regions, count, 100, 100), -1);
}

} // namespace
