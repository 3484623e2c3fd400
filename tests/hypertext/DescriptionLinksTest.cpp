// Links as keyboard and screen-reader users meet them: one per reference, in reading order, and
// the way from one to the next.
#include "entryview/DescriptionLinks.h"
#include "RenderHarness.h"

#include <gtest/gtest.h>

namespace {

using HyperText::DescriptionLinks;
using HyperText::OffsetShowing;

DescriptionLinks LinksOf(RenderHarness& h, const QString& markup) {
    const qint16 count = h.read(markup);
    return DescriptionLinks(h.regions, count, h.reading);
}

TEST(DescriptionLinks, AWrappedLinkIsOneLinkWithBothRegions) {
    RenderHarness h;
    const DescriptionLinks links = LinksOf(h, u"x"_s.repeated(30) + u" \\J42 abc defgh\\j."_s);

    ASSERT_EQ(links.LinkCount(), 1);
    EXPECT_EQ(links.Link(0).linkId, 42);
    EXPECT_EQ(links.Link(0).firstRegion, 0);
    EXPECT_EQ(links.Link(0).lastRegion, 1);
    EXPECT_EQ(links.Link(0).text, u"abc defgh"_s);
    EXPECT_EQ(links.Link(0).top, 24);
    EXPECT_EQ(links.Link(0).bottom, 528);
    EXPECT_EQ(links.VisibleRegionCount(), 2);
    EXPECT_EQ(links.LinkOfRegion(0), 0);
    EXPECT_EQ(links.LinkOfRegion(1), 0);
}

TEST(DescriptionLinks, RegionsThatDrewNothingBelongToNoLink) {
    RenderHarness h;
    const DescriptionLinks links = LinksOf(h, u"\\J9 \\Bbold\\b\\j and \\J8 ab\\Ucd\\u\\j"_s);

    ASSERT_EQ(h.regions.size(), 6u);
    ASSERT_EQ(links.LinkCount(), 2);
    EXPECT_EQ(links.Link(0).text, u"bold"_s);
    EXPECT_EQ(links.Link(1).text, u"abcd"_s);
    EXPECT_EQ(links.VisibleRegionCount(), 3);
    EXPECT_EQ(links.VisibleRegion(0), 1);
    EXPECT_EQ(links.VisibleIndex(1), 0);
    EXPECT_EQ(links.VisibleIndex(4), 2);
    EXPECT_EQ(links.VisibleIndex(2), -1);
    EXPECT_EQ(links.VisibleIndex(9), -1);
    EXPECT_EQ(links.LinkOfRegion(0), -1);
    EXPECT_EQ(links.LinkOfRegion(2), -1);
    EXPECT_EQ(links.LinkOfRegion(4), 1);
    EXPECT_EQ(links.LinkOfRegion(5), -1);
    EXPECT_EQ(links.LinkOfRegion(6), -1) << "past the table";
}

TEST(DescriptionLinks, TextBetweenTwoReferencesToOneEntryKeepsThemApart) {
    RenderHarness h;
    const DescriptionLinks links =
        LinksOf(h, u"\\J3 one\\j and \\J3 two\\j\\J4 three\\j\\J4 four\\j"_s);

    ASSERT_EQ(links.LinkCount(), 3);
    EXPECT_EQ(links.Link(0).text, u"one"_s);
    EXPECT_EQ(links.Link(1).text, u"two"_s);
    EXPECT_EQ(links.Link(2).text, u"threefour"_s) << "adjacent and to one entry: one link";
}

TEST(DescriptionLinks, ALinkLeftOpenOverAParagraphEndStaysOneLink) {
    RenderHarness h;
    const DescriptionLinks links = LinksOf(h, u"\\J6 first\\Fsecond\\j"_s);

    ASSERT_EQ(links.LinkCount(), 1);
    EXPECT_EQ(links.Link(0).text, u"first second"_s);
    EXPECT_EQ(links.Link(0).top, 24);
    EXPECT_EQ(links.Link(0).bottom, 408) << "the bottom of the second part, after \\F";
}

TEST(DescriptionLinks, StepsGoFromLinkToLinkAndStopAtTheEnds) {
    RenderHarness h;
    const DescriptionLinks links = LinksOf(h, u"\\J1 a\\j \\J2 b\\j \\J3 c\\j"_s);
    ASSERT_EQ(links.LinkCount(), 3);

    EXPECT_EQ(links.Step(0, true, 0, 1000), 1);
    EXPECT_EQ(links.Step(1, true, 0, 1000), 2);
    EXPECT_EQ(links.Step(2, true, 0, 1000), -1);
    EXPECT_EQ(links.Step(2, false, 0, 1000), 1);
    EXPECT_EQ(links.Step(0, false, 0, 1000), -1);
    EXPECT_EQ(links.Step(7, true, 0, 1000), 0) << "an index out of range counts as none";
}

TEST(DescriptionLinks, FirstStepLandsOnTheLinksInView) {
    RenderHarness h;
    // One link on each of five lines: tops 24, 288, 552, 816, 1080.
    const DescriptionLinks links =
        LinksOf(h, u"\\J1 a\\j\n\\J2 b\\j\n\\J3 c\\j\n\\J4 d\\j\n\\J5 e\\j"_s);
    ASSERT_EQ(links.LinkCount(), 5);

    EXPECT_EQ(links.Step(-1, true, 0, 600), 0);
    EXPECT_EQ(links.Step(-1, false, 0, 600), 2);
    // Scrolled to 500: the second link's bottom (528) is still in view.
    EXPECT_EQ(links.Step(-1, true, 500, 1100), 1);
    EXPECT_EQ(links.Step(-1, false, 500, 1080), 3) << "the fifth starts at the view's bottom";
    EXPECT_EQ(links.Step(-1, true, 1400, 2000), -1) << "all above";
    EXPECT_EQ(links.Step(-1, false, -500, 24), -1) << "all below";
}

TEST(DescriptionLinks, NoLinksAndABlankViewHaveNothingToStepTo) {
    RenderHarness h;
    EXPECT_EQ(LinksOf(h, u"plain text"_s).LinkCount(), 0);
    EXPECT_EQ(LinksOf(h, QString()).Step(-1, true, 0, 1000), -1);
    EXPECT_EQ(DescriptionLinks().Step(-1, false, 0, 1000), -1);
    EXPECT_EQ(DescriptionLinks().VisibleRegionCount(), 0);
}

TEST(DescriptionLinks, ACountBeyondTheTableOrItsTextsIsLimited) {
    RenderHarness h;
    const qint16 count = h.read(u"\\J1 a\\j \\J2 b\\j"_s);
    ASSERT_EQ(count, 2);

    EXPECT_EQ(DescriptionLinks(h.regions, 1, h.reading).LinkCount(), 1);
    EXPECT_EQ(DescriptionLinks(h.regions, 300, h.reading).LinkCount(), 2);
    EXPECT_EQ(DescriptionLinks(h.regions, -4, h.reading).LinkCount(), 0);
    HyperText::ReadingText stale; // a table whose texts were not recorded
    EXPECT_EQ(DescriptionLinks(h.regions, count, stale).LinkCount(), 0);
}

TEST(DescriptionLinks, ThousandsOfLinksInReadingOrder) {
    RenderHarness h;
    QString markup;
    for (int i = 1; i <= 3000; ++i)
        markup += u"\\J%1 L\\j "_s.arg(i);
    const DescriptionLinks links = LinksOf(h, markup);

    ASSERT_GT(links.LinkCount(), 1000);
    EXPECT_EQ(links.LinkCount(), links.VisibleRegionCount());
    for (int i = 0; i < links.LinkCount(); ++i) {
        ASSERT_EQ(links.Link(i).linkId, i + 1);
        ASSERT_EQ(links.Step(i, true, 0, 0), i + 1 < links.LinkCount() ? i + 1 : -1);
    }
}

TEST(OffsetShowing, MovesOnlyAsFarAsNeeded) {
    EXPECT_EQ(OffsetShowing(0, 300, 100, 200), 0) << "in view";
    EXPECT_EQ(OffsetShowing(0, 300, 250, 350), 50) << "below: its bottom at the view's bottom";
    EXPECT_EQ(OffsetShowing(400, 300, 250, 350), 250) << "above: its top at the view's top";
    EXPECT_EQ(OffsetShowing(0, 300, 500, 900), 500) << "taller than the view: its top";
    EXPECT_EQ(OffsetShowing(100, 300, 100, 400), 100) << "exactly in view";
}

} // namespace
