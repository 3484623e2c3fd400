#include "fulltext/Excerpt.h"

#include "fulltext/TextFold.h"

namespace Excerpts {
namespace {

const QChar kEllipsis(0x2026);

// Never start or end between the two halves of a surrogate pair.
qsizetype AlignStart(const QString& text, qsizetype i) {
    if (i > 0 && i < text.size() && text[i].isLowSurrogate() && text[i - 1].isHighSurrogate())
        return i - 1;
    return i;
}
qsizetype AlignEnd(const QString& text, qsizetype i) {
    if (i > 0 && i < text.size() && text[i].isLowSurrogate() && text[i - 1].isHighSurrogate())
        return i + 1;
    return i;
}

} // namespace

Excerpt Make(const QString& description, const QStringList& terms) {
    QList<qsizetype> origin;
    const QString folded = TextFold::Fold(description, origin);

    qsizetype start = -1, end = -1; // of the earliest match, in description
    for (const QString& term : terms) {
        if (term.isEmpty())
            continue;
        const qsizetype at = folded.indexOf(term);
        if (at < 0)
            continue;
        const qsizetype from = origin[at];
        if (start >= 0 && from >= start)
            continue;
        const qsizetype last = origin[at + term.size() - 1];
        start = from;
        end = AlignEnd(description, last + 1);
    }

    Excerpt excerpt;
    qsizetype first = 0;
    if (start >= 0)
        first = AlignStart(description, std::max<qsizetype>(0, start - kBefore));
    // A long match still shows whole; the context after it fills the rest.
    const qsizetype last = AlignEnd(
        description, std::min(description.size(), std::max(first + kLength, start >= 0 ? end : 0)));

    if (first > 0)
        excerpt.text += kEllipsis;
    const qsizetype offset = excerpt.text.size() - first;
    for (qsizetype i = first; i < last; ++i) {
        const QChar c = description[i];
        excerpt.text += (c == u'\n' || c == u'\r' || c == u'\t') ? QChar(u' ') : c;
    }
    if (last < description.size())
        excerpt.text += kEllipsis;
    if (start >= 0) {
        excerpt.matchStart = start + offset;
        excerpt.matchLength = end - start;
    }
    return excerpt;
}

} // namespace Excerpts
