#pragma once

#include <QString>
#include <QtGlobal>
#include <vector>

namespace HyperText {

// A stretch of ReadingText::text, [start, end).
struct TextSpan {
    qsizetype start = 0;
    qsizetype end = 0;

    qsizetype length() const { return end - start; }
    friend bool operator==(const TextSpan&, const TextSpan&) = default;
};

// What a rendering drew, as text to be read: for screen readers, which cannot see the drawing.
struct ReadingText {
    // Every drawn character in drawing order, without markup codes, with a line feed wherever the
    // description ends a paragraph (a line feed, a heading end or a half-line feed). Where a line
    // merely wraps there is no line feed: a wrapped sentence is still one sentence.
    QString text;
    // Where each drawn piece of text (each Print) starts in `text`, in drawing order.
    std::vector<qsizetype> printStarts;
    // The characters of each recorded link region, parallel to the region table.
    std::vector<TextSpan> regionSpans;
    // The bottom of the lowest line that drew anything, plus the margin: the height that the
    // description needs to be seen whole. 0 when nothing was drawn.
    qint32 contentHeight = 0;

    void clear() {
        text.clear();
        printStarts.clear();
        regionSpans.clear();
        contentHeight = 0;
    }
};

} // namespace HyperText
