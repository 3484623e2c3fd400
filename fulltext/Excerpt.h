#pragma once

#include <QString>
#include <QStringList>

// The short piece of a description that a full-text result shows: the text around the first place
// where a term occurs, with that occurrence marked.
struct Excerpt {
    QString text;
    qsizetype matchStart = -1; // in text; -1 when no term occurs in the description
    qsizetype matchLength = 0;
};

namespace Excerpts {

// Characters shown before the match, and in all at most.
inline constexpr qsizetype kBefore = 16;
inline constexpr qsizetype kLength = 64;

// The excerpt of `description` (the drawn text) for the folded terms: around the earliest
// occurrence of any of them, or the beginning when none occurs (the terms were found in the
// abbreviation, the spelled-out form or the plain description only). Line breaks read as
// spaces; an ellipsis marks text left out at either end.
Excerpt Make(const QString& description, const QStringList& terms);

} // namespace Excerpts
