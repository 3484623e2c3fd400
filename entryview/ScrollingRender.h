#pragma once

#include "entryview/DrawSurface.h"
#include "entryview/HyperText.h"

namespace HyperText {

// A box whose drawing may be taller than its visible part and then scrolls.
class ScrollingSurface : public DrawSurface {
public:
    // Height of the visible part, in twips.
    virtual qint32 ScaleHeight() const = 0;
    // Shows or hides the scroll bar. A shown bar takes its width from ScaleWidth.
    virtual void SetScrollBarShown(bool shown) = 0;
    virtual bool ScrollBarShown() const = 0;
};

// Draws `text` so that all of it can be read. A description that fits is drawn at the full width
// without a scroll bar, exactly as RenderDescription draws it; one that runs below the visible
// part gets the scroll bar and is laid out in the width that the bar leaves. It is laid out first
// as the bar stands, and a second time only when the bar must come or go.
qint16 RenderScrolling(ScrollingSurface& surface, const QString& text, LinkRegions& regions,
                       const DisplayFont& font, ReadingText& reading);

} // namespace HyperText
