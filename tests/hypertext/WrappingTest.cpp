#include "RenderHarness.h"

#include "entryview/DescriptionLinks.h"

#include <gtest/gtest.h>

namespace {

QString times(QStringView text, qsizetype count) {
    return text.toString().repeated(count);
}

TEST(Wrapping, LatinWordThatDoesNotFitMovesWholeToTheNextLine) {
    RenderHarness h;
    // 31 characters (3720) leave room for 5 more; the 10-letter word goes down whole.
    h.render(times(u"x", 30) + u" abcdefghij"_s);

    EXPECT_EQ(h.surface.prints, (Runs{
                                    {.text = times(u"x", 30) + u" "_s, .x = 24, .y = 24},
                                    {.text = u"abcdefghij"_s, .x = 24, .y = 288},
                                }));
}

TEST(Wrapping, AngleBracketsContinueAWordButDoNotStartOne) {
    RenderHarness inside;
    inside.render(times(u"x", 33) + u" a<b>"_s); // "a<b>" is one word and goes down whole
    EXPECT_EQ(inside.surface.prints, (Runs{
                                         {.text = times(u"x", 33) + u" "_s, .x = 24, .y = 24},
                                         {.text = u"a<b>"_s, .x = 24, .y = 288},
                                     }));

    RenderHarness leading;
    leading.render(times(u"x", 34) + u" <ab"_s); // "<" stays alone, "ab" goes down
    EXPECT_EQ(leading.surface.prints, (Runs{
                                          {.text = times(u"x", 34) + u" <"_s, .x = 24, .y = 24},
                                          {.text = u"ab"_s, .x = 24, .y = 288},
                                      }));
}

class WordStart : public ::testing::TestWithParam<const char16_t*> {};

TEST_P(WordStart, StartsAWordThatMovesWhole) {
    const QString word = QString::fromUtf16(GetParam());
    RenderHarness h;
    h.render(times(u"x", 34) + u" "_s + word);

    EXPECT_EQ(h.surface.prints, (Runs{
                                    {.text = times(u"x", 34) + u" "_s, .x = 24, .y = 24},
                                    {.text = word, .x = 24, .y = 288},
                                }));
}

INSTANTIATE_TEST_SUITE_P(Characters, WordStart,
                         ::testing::Values(u"-ab", u"/ab", u"9ab", u"Zab", u"a-/"));

TEST(Wrapping, WordWiderThanALineIsCutIntoFullLinePieces) {
    RenderHarness atStart;
    atStart.render(times(u"a", 80));
    EXPECT_EQ(atStart.surface.prints, (Runs{
                                          {.text = times(u"a", 36), .x = 24, .y = 24},
                                          {.text = times(u"a", 36), .x = 24, .y = 288},
                                          {.text = times(u"a", 8), .x = 24, .y = 552},
                                      }));

    RenderHarness afterText;
    afterText.render(u"x "_s + times(u"a", 80));
    EXPECT_EQ(afterText.surface.prints, (Runs{
                                            {.text = u"x "_s, .x = 24, .y = 24},
                                            {.text = times(u"a", 36), .x = 24, .y = 288},
                                            {.text = times(u"a", 36), .x = 24, .y = 552},
                                            {.text = times(u"a", 8), .x = 24, .y = 816},
                                        }));
}

TEST(Wrapping, JapaneseTextWrapsAtAnyCharacter) {
    RenderHarness h;
    h.render(times(u"あ", 18) + u"いう"_s);

    EXPECT_EQ(h.surface.prints, (Runs{
                                    {.text = times(u"あ", 18), .x = 24, .y = 24},
                                    {.text = u"いう"_s, .x = 24, .y = 288},
                                }));
}

// A space that falls at a wrap does not begin the next line; a reader still hears it, and spaces
// after a line feed of the text itself stay where the author put them.
TEST(Wrapping, SpacesAtAWrapAreNotDrawnAtTheStartOfTheNextLine) {
    RenderHarness h;
    // 36 characters fill the line; the space after them, and the one after that, fall at the wrap.
    h.read(times(u"x", 36) + u"  of strings\\Bbold\\b\n  indented"_s);

    EXPECT_EQ(h.surface.prints, (Runs{
                                    {.text = times(u"x", 36), .x = 24, .y = 24},
                                    {.text = u"of strings"_s, .x = 24, .y = 288},
                                    {.text = u"bold"_s, .x = 1224, .y = 288, .bold = true},
                                    {.text = u"  indented"_s, .x = 24, .y = 552},
                                }));
    EXPECT_EQ(h.reading.text, times(u"x", 36) + u"  of stringsbold\n  indented"_s);

    // Inside a link the wrapped space leaves the link whole on both lines, without it.
    RenderHarness link;
    const qint16 count = link.read(times(u"x", 30) + u"\\J8 abcdef ghij\\j"_s);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(link.surface.prints.back().text, u"ghij"_s);
    EXPECT_EQ(link.surface.prints.back().x, 24);
    const HyperText::DescriptionLinks links(link.regions, count, link.reading);
    ASSERT_EQ(links.LinkCount(), 1) << "one link over two lines";
    EXPECT_EQ(links.Link(0).text, u"abcdef ghij"_s);
}

TEST(Wrapping, RunsAlreadyDrawnOnTheLineCountTowardsItsWidth) {
    RenderHarness h;
    h.render(times(u"x", 30) + u"\\Byyyyyyy"_s); // 3600 drawn + 840 > 4407

    EXPECT_EQ(h.surface.prints, (Runs{
                                    {.text = times(u"x", 30), .x = 24, .y = 24},
                                    {.text = u"yyyyyyy"_s, .x = 24, .y = 288, .bold = true},
                                }));
}

TEST(Wrapping, SupplementaryCharacterIsNeverSplitByALineBreak) {
    RenderHarness h;
    h.render(times(u"あ", 17) + u"\U0002000B\U0002000B"_s);

    EXPECT_EQ(h.surface.prints, (Runs{
                                    {.text = times(u"あ", 17) + u"\U0002000B"_s, .x = 24, .y = 24},
                                    {.text = u"\U0002000B"_s, .x = 24, .y = 288},
                                }));
}

TEST(Wrapping, TooNarrowBoxPutsOneCharacterOnEachLineWithoutABlankFirstLine) {
    RenderHarness h;
    h.surface.scaleWidth = 100; // usable 52, narrower than any character

    h.render(u"ab\\\\あ"_s);

    EXPECT_EQ(h.surface.prints, (Runs{
                                    {.text = u"a"_s, .x = 24, .y = 24},
                                    {.text = u"b"_s, .x = 24, .y = 288},
                                    {.text = u"\\"_s, .x = 24, .y = 552},
                                    {.text = u"あ"_s, .x = 24, .y = 816},
                                }));
}

class LineStartPunctuation : public ::testing::TestWithParam<const char16_t*> {};

TEST_P(LineStartPunctuation, TakesThePrecedingCharacterToTheNextLine) {
    const QString mark = QString::fromUtf16(GetParam());
    RenderHarness h;
    // The carried pair is 480 wide, so 16 more characters fit after it and the 17th wraps.
    h.render(times(u"あ", 18) + mark + times(u"い", 17));

    EXPECT_EQ(h.surface.prints, (Runs{
                                    {.text = times(u"あ", 17), .x = 24, .y = 24},
                                    {.text = u"あ"_s + mark + times(u"い", 16), .x = 24, .y = 288},
                                    {.text = u"い"_s, .x = 24, .y = 552},
                                }));
}

TEST_P(LineStartPunctuation, StaysWhereItFits) {
    const QString mark = QString::fromUtf16(GetParam());
    RenderHarness h;
    h.render(times(u"あ", 17) + mark);

    EXPECT_EQ(h.surface.prints, (Runs{{.text = times(u"あ", 17) + mark, .x = 24, .y = 24}}));
}

TEST_P(LineStartPunctuation, CarriesASupplementaryCharacterWhole) {
    const QString mark = QString::fromUtf16(GetParam());
    RenderHarness h;
    h.render(times(u"あ", 17) + u"\U0002000B"_s + mark);

    EXPECT_EQ(h.surface.prints, (Runs{
                                    {.text = times(u"あ", 17), .x = 24, .y = 24},
                                    {.text = u"\U0002000B"_s + mark, .x = 24, .y = 288},
                                }));
}

TEST_P(LineStartPunctuation, MovesAloneWhenThePrecedingTextIsAlreadyDrawn) {
    const QString mark = QString::fromUtf16(GetParam());
    RenderHarness h;
    h.render(times(u"あ", 18) + u"\\B"_s + mark);

    EXPECT_EQ(h.surface.prints, (Runs{
                                    {.text = times(u"あ", 18), .x = 24, .y = 24},
                                    {.text = mark, .x = 24, .y = 288, .bold = true},
                                }));
}

INSTANTIATE_TEST_SUITE_P(CommaAndFullStop, LineStartPunctuation, ::testing::Values(u"、", u"。"));

TEST(Wrapping, OtherPunctuationIsNotCarried) {
    RenderHarness h;
    h.render(times(u"あ", 18) + u"！"_s);

    EXPECT_EQ(h.surface.prints, (Runs{
                                    {.text = times(u"あ", 18), .x = 24, .y = 24},
                                    {.text = u"！"_s, .x = 24, .y = 288},
                                }));
}

} // namespace
