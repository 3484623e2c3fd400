#pragma once

#include "entryview/DrawSurface.h"
#include "entryview/LinkRegion.h"
#include "entryview/ReadingText.h"

#include <QString>
#include <QtGlobal>

namespace HyperText {

// The main window's display font: every description is drawn in this one face and size.
struct DisplayFont {
    QString name;
    double size = 9.0; // points
};

// On a light background; a dark one gets lighter shades of them (ReadableOn).
inline constexpr RgbColor LinkColor{0, 0, 255};       // text of a cross-reference
inline constexpr RgbColor BrokenLinkColor{255, 0, 0}; // link start without a usable entry number

// Erases `surface`, draws the description `text` from its backslash markup and rebuilds `regions`
// with one rectangle per drawn run of cross-reference text. Returns the number of regions, which
// the caller keeps as the region count. An empty text only blanks the surface and the table; the
// surface's font and colour stay as they were. Drawing ends at the first line whose rectangle
// would reach below 32767 twips, the limit of the 16-bit region bounds. When `reading` is given,
// it receives what was drawn as text, for those who cannot see the drawing.
qint16 RenderDescription(DrawSurface& surface, const QString& text, LinkRegions& regions,
                         const DisplayFont& font, ReadingText* reading = nullptr);

// Reads the entry number that follows a link start. `position` is the index (from 0) of the code
// letter "J". When decimal digits follow, `position` moves to the character after them (the
// separator, or `length` at the end of the text) and their value is returned; a value that does
// not fit 32 bits returns 0, like the number 0, so that it can never lead to a wrong entry. Without
// digits `position` stays and 0 is returned.
qint32 ReadLinkNumber(const QString& text, qsizetype& position, qsizetype length);

// Draws `run` at the pen. Inside a link (`linkNumber` > 0) it first records the run's rectangle at
// index `regionCount` and counts it, even for an empty run, which gives a zero-width rectangle that
// can never be hit. Once the table holds MaxLinkRegions rectangles nothing more is recorded.
void PrintRun(DrawSurface& surface, const QString& run, qint16 lineHeight, LinkRegions& regions,
              qint16& regionCount, qint32 linkNumber);

} // namespace HyperText
