#include "entryview/ScrollingRender.h"

namespace HyperText {

qint16 RenderScrolling(ScrollingSurface& surface, const QString& text, LinkRegions& regions,
                       const DisplayFont& font, ReadingText& reading) {
    surface.SetScrollBarShown(false);
    const qint16 count = RenderDescription(surface, text, regions, font, &reading);
    if (reading.contentHeight <= surface.ScaleHeight())
        return count;
    // A narrower text only grows taller, so it still overflows and keeps the bar.
    surface.SetScrollBarShown(true);
    return RenderDescription(surface, text, regions, font, &reading);
}

} // namespace HyperText
