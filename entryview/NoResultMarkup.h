#pragma once

#include "entryview/DrawSurface.h"
#include "entryview/HyperText.h"

#include <QList>
#include <QString>

namespace HyperText {

// An entry offered when a search found nothing.
struct SuggestionLink {
    qint32 id = 0; // AbbrID
    QString abbr;
    QString letter;
    QString otherCategory; // short name of the category it lies in, when not the one searched
};

// What the entry view says after a search that found nothing.
struct NoResult {
    QString typed; // the search as typed, shown as text
    QList<SuggestionLink> suggestions;
};

// Text that the renderer draws as it stands: every backslash doubled, so that no markup code in
// it is obeyed, and control characters (which would end or hide a line) as spaces.
QString PlainTextMarkup(const QString& text);

// The paragraph for a search that found nothing:
//   "TYPED" は見つかりませんでした。
//   もしかして: CPU (Central Processing Unit)、LAN (Local Area Network) [NW]
// each suggestion a link to its entry, the second line only where there are suggestions.
QString NoResultMarkup(const NoResult& noResult);

// `typed` cut so that the first line of NoResultMarkup fits one line of `surface` drawn in
// `font`, with "…" where it was cut. Sets the surface's font to the one the renderer starts with.
QString FitTypedToLine(DrawSurface& surface, const DisplayFont& font, const QString& typed);

} // namespace HyperText
