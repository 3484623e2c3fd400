// The paragraph drawn after a search that found nothing: the sentence, the suggestions as links,
// and the typed text drawn as text whatever it holds.
#include "RenderHarness.h"

#include "entryview/DescriptionLinks.h"
#include "entryview/NoResultMarkup.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

using HyperText::NoResult;
using HyperText::SuggestionLink;

TEST(NoResultMarkup, SaysWhatWasNotFoundAndOffersLinksToTheSuggestions) {
    RenderHarness h;
    const NoResult miss{u"htpp"_s,
                        {{3, u"HTTP"_s, u"HyperText Transfer Protocol"_s, {}},
                         {6, u"HTPC"_s, u"Home Theater PC"_s, u"HW"_s},
                         {9, u"HTP"_s, {}, {}}}};
    const qint16 count = h.read(HyperText::NoResultMarkup(miss));

    EXPECT_EQ(h.reading.text,
              u"\"htpp\" は見つかりませんでした。\nもしかして: HTTP (HyperText Transfer "
              u"Protocol)、HTPC (Home Theater PC) [HW]、HTP"_s);
    const HyperText::DescriptionLinks links(h.regions, count, h.reading);
    ASSERT_EQ(links.LinkCount(), 3);
    EXPECT_EQ(links.Link(0).linkId, 3);
    EXPECT_EQ(links.Link(0).text, u"HTTP (HyperText Transfer Protocol)"_s);
    EXPECT_EQ(links.Link(1).linkId, 6);
    EXPECT_EQ(links.Link(1).text, u"HTPC (Home Theater PC) [HW]"_s);
    EXPECT_EQ(links.Link(2).text, u"HTP"_s);
    // Drawn as every reference is: blue and underlined, the rest in the text colour.
    for (const Drawn& run : h.surface.prints) {
        const bool inLink =
            !run.text.startsWith(u'"') && run.text != u"もしかして: "_s && run.text != u"、"_s;
        EXPECT_EQ(run.color, inLink ? Blue : WindowText) << run.text.toStdString();
        EXPECT_EQ(run.underline, inLink);
        EXPECT_FALSE(run.bold);
    }
}

TEST(NoResultMarkup, WithoutSuggestionsOnlyTheSentence) {
    RenderHarness h;
    EXPECT_EQ(h.read(HyperText::NoResultMarkup({u"zzz"_s, {}})), 0);
    EXPECT_EQ(h.reading.text, u"\"zzz\" は見つかりませんでした。"_s);
}

TEST(NoResultMarkup, MarkupCodesInTheTypedTextAndTheEntriesAreDrawnAsText) {
    RenderHarness h;
    const QString typed = u"\\B\\J1 x\\j\\f\\\\ a\tb\nc"_s;
    const qint16 count =
        h.read(HyperText::NoResultMarkup({typed, {{5, u"A\\B"_s, u"\\Jx\\j"_s, u"\\f"_s}}}));

    EXPECT_EQ(h.reading.text, u"\"\\B\\J1 x\\j\\f\\\\ a b c\" は見つかりませんでした。\n"
                              u"もしかして: A\\B (\\Jx\\j) [\\f]"_s);
    ASSERT_EQ(count, 1) << "the only link is the suggestion's";
    EXPECT_EQ(h.regions[0].LinkId, 5);
    for (const Drawn& run : h.surface.prints)
        EXPECT_FALSE(run.bold) << run.text.toStdString();
}

TEST(NoResultMarkup, ALongTypedTextIsCutToOneLine) {
    RenderHarness h;
    // 36 ASCII characters fit a line of 4407 twips; the sentence's own Japanese takes 13 of
    // them.
    const QString typed = u"x"_s.repeated(4000);
    const QString fitted = HyperText::FitTypedToLine(h.surface, h.font, typed);
    ASSERT_TRUE(fitted.endsWith(u'…'));
    EXPECT_TRUE(typed.startsWith(fitted.chopped(1)));
    EXPECT_GT(fitted.size(), 5);

    h.read(HyperText::NoResultMarkup({fitted, {{1, u"X"_s, {}, {}}}}));
    ASSERT_FALSE(h.surface.prints.empty());
    const QString sentence = h.reading.text.section(u'\n', 0, 0);
    EXPECT_TRUE(sentence.endsWith(u"…\" は見つかりませんでした。"_s));
    QSet<qint32> lines;
    for (const Drawn& run : h.surface.prints)
        lines.insert(run.y);
    EXPECT_EQ(lines.size(), 2) << "the sentence on one line, the suggestion on the next";
    EXPECT_EQ(h.surface.prints.front().text, sentence);

    // What fits is left whole; a control character shows as a space.
    EXPECT_EQ(HyperText::FitTypedToLine(h.surface, h.font, u"cpus"_s), u"cpus"_s);
    EXPECT_EQ(HyperText::FitTypedToLine(h.surface, h.font, u"a\tb"_s), u"a b"_s);
    // A character beyond the basic plane is never cut in half.
    const QString faces = u"😀"_s.repeated(100);
    const QString cut = HyperText::FitTypedToLine(h.surface, h.font, faces);
    EXPECT_TRUE(faces.startsWith(cut.chopped(1)));
    EXPECT_FALSE(cut.chopped(1).back().isHighSurrogate());
    // A box too narrow for the sentence leaves only the ellipsis.
    h.surface.scaleWidth = 300;
    EXPECT_EQ(HyperText::FitTypedToLine(h.surface, h.font, typed), u"…"_s);
}

} // namespace
