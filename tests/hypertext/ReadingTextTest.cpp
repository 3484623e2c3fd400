// The text a screen reader gets for a drawn description: what was drawn, in drawing order, with
// line feeds where paragraphs end.
#include "RenderHarness.h"

#include <gtest/gtest.h>

namespace {

using HyperText::TextSpan;

TEST(ReadingText, HeadingAndBodyWithoutMarkupCodes) {
    RenderHarness h;
    h.read(u"\\HCentral Processing Unit [HW]\\hCPU は\\J2 主記憶\\jから\\B命令\\bを読む。\r\n"
           u"\\Iitalic\\i \\Uunder\\u \\\\ \\Qx"_s);

    EXPECT_EQ(h.reading.text, u"Central Processing Unit [HW]\nCPU は主記憶から命令を読む。\n"
                              u"italic under \\ x"_s);
}

TEST(ReadingText, EveryParagraphEndIsOneLineFeedAndWrapsAreNone) {
    RenderHarness h;
    // 36 ASCII characters fill a line: the 40 x's wrap once.
    h.read(u"a\nb\\Fc\\Hd\\he\n\n"_s + u"x"_s.repeated(40));

    EXPECT_EQ(h.reading.text, u"a\nb\nc"_s + u"d\ne\n\n"_s + u"x"_s.repeated(40));
    ASSERT_EQ(h.surface.prints.size(), 7u);
    EXPECT_EQ(h.surface.prints[5].y, h.surface.prints[6].y - 264) << "the x's did wrap";
}

TEST(ReadingText, OnlyWhatIsDrawnIsRead) {
    RenderHarness h;
    h.read(u"赤い\\JXYZ\\j字、\\J42|青\\j。\\f後は描かない\nnor this"_s);

    EXPECT_EQ(h.reading.text, u"赤いXYZ字、青。"_s) << "separator and text after \\f left out";
}

TEST(ReadingText, PrintsStartWhereTheirTextStands) {
    RenderHarness h;
    h.read(u"\\HTitle\\hplain \\J7 link text\\j and "_s + u"word "_s.repeated(12) + u"\nend"_s);

    ASSERT_EQ(h.reading.printStarts.size(), h.surface.prints.size());
    QString withoutLineFeeds = h.reading.text;
    withoutLineFeeds.remove(u'\n');
    QString printed;
    for (std::size_t i = 0; i < h.surface.prints.size(); ++i) {
        const QString& piece = h.surface.prints[i].text;
        EXPECT_EQ(h.reading.text.mid(h.reading.printStarts[i], piece.size()), piece) << i;
        printed += piece;
    }
    EXPECT_EQ(printed, withoutLineFeeds);
}

TEST(ReadingText, EachRegionKnowsItsCharacters) {
    RenderHarness h;
    // A wrapped link, a link split by bold, and a link with empty runs at both ends.
    EXPECT_EQ(
        h.read(u"x"_s.repeated(30) + u" \\J42 abc defgh\\j/\\J9 ab\\Bcd\\bef\\j/\\J5 \\Bg\\b\\j"_s),
        8);

    ASSERT_EQ(h.reading.regionSpans.size(), 8u);
    auto spanText = [&](int i) {
        const TextSpan s = h.reading.regionSpans[std::size_t(i)];
        return h.reading.text.mid(s.start, s.length());
    };
    EXPECT_EQ(spanText(0), u"abc "_s);
    EXPECT_EQ(spanText(1), u"defgh"_s);
    EXPECT_EQ(spanText(2), u"ab"_s);
    EXPECT_EQ(spanText(3), u"cd"_s);
    EXPECT_EQ(spanText(4), u"ef"_s);
    EXPECT_EQ(h.reading.regionSpans[5].length(), 0);
    EXPECT_EQ(spanText(6), u"g"_s);
    EXPECT_EQ(h.reading.regionSpans[7].length(), 0);
    EXPECT_EQ(h.reading.regionSpans[5].start, h.reading.regionSpans[6].start);
}

TEST(ReadingText, ContentHeightIsTheBottomOfTheLowestDrawnLinePlusTheMargin) {
    RenderHarness h;
    h.read(u"one line"_s);
    EXPECT_EQ(h.reading.contentHeight, 24 + 240 + 24);

    h.read(u"\\HTitle\\hbody\nlast"_s);
    EXPECT_EQ(h.reading.contentHeight, 24 + 384 + 264 + 240 + 24);

    // Paragraph ends after the last text draw nothing and add no height.
    h.read(u"text\n\n\n"_s);
    EXPECT_EQ(h.reading.contentHeight, 288);
}

TEST(ReadingText, BlankingEmptiesIt) {
    RenderHarness h;
    h.read(u"\\J3 link\\j"_s);
    ASSERT_FALSE(h.reading.text.isEmpty());

    EXPECT_EQ(h.read(QString()), 0);
    EXPECT_TRUE(h.reading.text.isEmpty());
    EXPECT_TRUE(h.reading.printStarts.empty());
    EXPECT_TRUE(h.reading.regionSpans.empty());
    EXPECT_EQ(h.reading.contentHeight, 0);
}

TEST(ReadingText, LeavesTheDrawingExactlyAsWithoutIt) {
    const QString markup = u"\\HCPU [HW]\\h命令を\\J12 実行\\jする。\\Bbold\\b "_s +
                           u"long words wrap around "_s.repeated(6) + u"\\F\\J0 red\\j"_s;
    RenderHarness plain;
    RenderHarness reading;
    const qint16 plainCount = plain.render(markup);

    EXPECT_EQ(reading.read(markup), plainCount);
    EXPECT_EQ(reading.surface.prints, plain.surface.prints);
    EXPECT_EQ(reading.regions, plain.regions);
}

TEST(ReadingText, LongestDescriptionFullOfLinksIsReadUpToTheDrawingsEnd) {
    RenderHarness h;
    QString markup;
    for (int i = 1; i <= 4000; ++i)
        markup += u"\\J%1 L\\j "_s.arg(i);
    const qint16 count = h.read(markup);

    EXPECT_GT(count, 1000);
    ASSERT_EQ(h.reading.regionSpans.size(), std::size_t(count));
    // A link that starts where a line is full records an empty run there (zero width) and its
    // text on the next line.
    for (std::size_t i = 0; i < std::size_t(count); ++i) {
        const TextSpan span = h.reading.regionSpans[i];
        const bool zeroWidth = h.regions[i].Right == h.regions[i].Left;
        EXPECT_EQ(h.reading.text.mid(span.start, span.length()), zeroWidth ? QString() : u"L"_s)
            << i;
    }
    EXPECT_LE(h.reading.contentHeight, 32767);
}

} // namespace
