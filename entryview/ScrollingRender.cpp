#include "entryview/ScrollingRender.h"

namespace HyperText {

qint16 RenderScrolling(ScrollingSurface& surface, const QString& text, LinkRegions& regions,
                       const DisplayFont& font, ReadingText& reading) {
    // The next description is mostly drawn as the last one was: the same entry after a resize, a
    // long entry after a long one.
    const bool bar = surface.ScrollBarShown();
    const qint16 count = RenderDescription(surface, text, regions, font, &reading);
    const bool overflows = reading.contentHeight > surface.ScaleHeight();
    if (overflows == bar)
        return count;
    // Once is enough: a text that overflows at the full width overflows the narrower one too,
    // and one that fits beside the bar fits without it.
    surface.SetScrollBarShown(!bar);
    return RenderDescription(surface, text, regions, font, &reading);
}

} // namespace HyperText
