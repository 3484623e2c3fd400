// A description taller than its box gets a scroll bar and the width the bar leaves; one that fits
// is drawn exactly as before, at the full width.
#include "entryview/ScrollingRender.h"
#include "RenderHarness.h"

#include <gtest/gtest.h>

namespace {

struct ScrollingHarness : RenderHarness {
    qint16 renderScrolling(const QString& markup) {
        return HyperText::RenderScrolling(surface, markup, regions, font, reading);
    }
};

// Twelve lines of 264 twips: 24 + 11 * 264 + 240 + 24 = 3192 twips tall.
QString TwelveLines() {
    QString text = u"\\J5 link\\j line"_s;
    for (int i = 1; i < 12; ++i)
        text += u"\nline"_s;
    return text;
}

TEST(ScrollingRender, TextThatFitsIsDrawnAtTheFullWidthWithoutABar) {
    const QString markup = u"\\HCPU [HW]\\h"_s + u"word "_s.repeated(30) + u"\\J7 link\\j"_s;
    ScrollingHarness scrolling;
    RenderHarness plain;
    const qint16 plainCount = plain.render(markup);

    EXPECT_EQ(scrolling.renderScrolling(markup), plainCount);
    EXPECT_FALSE(scrolling.surface.scrollBarShown);
    EXPECT_EQ(scrolling.surface.prints, plain.surface.prints);
    EXPECT_EQ(scrolling.regions, plain.regions);
    EXPECT_LE(scrolling.reading.contentHeight, scrolling.surface.ScaleHeight());
}

TEST(ScrollingRender, TextThatExactlyFillsTheBoxNeedsNoBar) {
    ScrollingHarness h;
    h.surface.scaleHeight = 3192;
    h.renderScrolling(TwelveLines());

    EXPECT_EQ(h.reading.contentHeight, 3192);
    EXPECT_FALSE(h.surface.scrollBarShown);
}

TEST(ScrollingRender, TallerTextGetsTheBarAndIsLaidOutInTheWidthLeft) {
    ScrollingHarness h;
    h.surface.scaleHeight = 3191;
    // 36 x's fill a line of the full width but not one 255 twips narrower.
    const QString markup = TwelveLines() + u"\n"_s + u"x"_s.repeated(36);
    const qint16 count = h.renderScrolling(markup);

    EXPECT_TRUE(h.surface.scrollBarShown);
    EXPECT_EQ(count, 1);
    ASSERT_GE(h.surface.prints.size(), 2u);
    EXPECT_EQ(h.surface.prints.back().text, u"x"_s.repeated(2)) << "wrapped in the narrower width";
    EXPECT_EQ(h.reading.contentHeight, 3192 + 2 * 264);

    RenderHarness narrow;
    narrow.surface.scaleWidth = 4455 - 255;
    narrow.render(markup);
    EXPECT_EQ(h.surface.prints, narrow.surface.prints);
}

TEST(ScrollingRender, ATextIsLaidOutOnceWhenTheBarStaysAsItWas) {
    ScrollingHarness h;
    h.surface.scaleHeight = 1000;
    h.renderScrolling(u"short"_s);
    EXPECT_EQ(h.surface.clsCalls, 1);
    h.renderScrolling(u"also short"_s);
    EXPECT_EQ(h.surface.clsCalls, 2);

    h.renderScrolling(TwelveLines());
    EXPECT_EQ(h.surface.clsCalls, 4) << "the bar had to come";
    h.renderScrolling(TwelveLines() + u"\nmore"_s);
    EXPECT_EQ(h.surface.clsCalls, 5) << "long after long";
    EXPECT_TRUE(h.surface.scrollBarShown);

    // Short after long: laid out beside the bar, then again at the full width.
    h.renderScrolling(u"x"_s.repeated(36));
    EXPECT_EQ(h.surface.clsCalls, 7);
    EXPECT_FALSE(h.surface.scrollBarShown);
    ASSERT_EQ(h.surface.prints.size(), 1u) << "36 x's fill one line of the full width";
}

TEST(ScrollingRender, TheBarGoesWhenTheNextTextFits) {
    ScrollingHarness h;
    h.surface.scaleHeight = 1000;
    h.renderScrolling(TwelveLines());
    ASSERT_TRUE(h.surface.scrollBarShown);

    h.renderScrolling(u"short"_s);
    EXPECT_FALSE(h.surface.scrollBarShown);
    EXPECT_EQ(h.surface.prints.front().x, 24);

    h.renderScrolling(TwelveLines());
    h.renderScrolling(QString());
    EXPECT_FALSE(h.surface.scrollBarShown) << "a blank view has nothing to scroll";
    EXPECT_EQ(h.reading.contentHeight, 0);
}

} // namespace
