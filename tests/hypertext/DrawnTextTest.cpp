// The text of a drawn description, held against what the renderer actually prints.
#include "RenderHarness.h"

#include "entryview/DrawnText.h"

#include <gtest/gtest.h>

namespace {

QString Printed(const QString& markup) {
    RenderHarness h;
    h.surface.scaleWidth = 30000; // one line per paragraph: only the codes break lines
    h.render(markup);
    QString text;
    for (const Drawn& run : h.surface.prints)
        text += run.text;
    return text;
}

TEST(DrawnText, HasExactlyTheCharactersTheRendererPrints) {
    const QString samples[] = {
        u"plain text"_s,
        u"\\Hheading\\hbody \\Bbold\\b \\Iitalic\\i \\Uunder\\u"_s,
        u"see \\J12 CPU\\j and \\J7|RAM\\j"_s,
        u"\\J12"_s,                  // a number at the very end: nothing after it to consume
        u"\\JX no number"_s,         // no digits: no separator is consumed
        u"\\J0 zero\\j"_s,           // zero still consumes its separator
        u"a\\\\b\\\\"_s,             // literal backslashes
        u"trailing\\"_s,             // a lone backslash at the end is dropped
        u"shown\\fhidden"_s,         // \f ends the drawing
        u"a\\qb\\Zc"_s,              // unknown codes vanish
        u"tab\tcr\r\nline"_s,        // controls other than the line feed leave nothing
        u"\\J5\U0001F600after\\j"_s, // a separator of two units goes whole
        u"x\\\U0001F600y"_s,         // so does an unknown code of two units
        u"中央処理装置\\F\\B例：\\b 「CPU」"_s,
    };
    for (const QString& markup : samples) {
        SCOPED_TRACE(markup.toStdString());
        EXPECT_EQ(HyperText::DrawnText(markup).remove(u'\n'), Printed(markup));
        // The text searched and the text screen readers hear are one and the same.
        RenderHarness h;
        h.surface.scaleWidth = 30000;
        HyperText::ReadingText reading;
        HyperText::RenderDescription(h.surface, markup, h.regions, h.font, &reading);
        EXPECT_EQ(HyperText::DrawnText(markup), reading.text);
    }
}

TEST(DrawnText, LineBreaksOfTheTextAndOfTheCodesBecomeLineFeeds) {
    EXPECT_EQ(HyperText::DrawnText(u"\\HTitle\\hfirst\r\nsecond\\Fthird"_s),
              u"Title\nfirst\nsecond\nthird"_s);
    EXPECT_EQ(HyperText::DrawnText(QString()), QString());
}

} // namespace
