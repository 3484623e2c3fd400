#pragma once

#include <QtGlobal>
#include <vector>

namespace HyperText {

// One clickable rectangle of a drawn description, in twips of the description box. The bounds are
// 16-bit; the renderer never produces a rectangle that does not fit them.
struct LinkRegion {
    qint32 LinkId = 0; // entry the rectangle leads to, always greater than 0
    qint16 Left = 0;
    qint16 Top = 0;
    qint16 Right = 0;
    qint16 Bottom = 0;

    friend bool operator==(const LinkRegion&, const LinkRegion&) = default;
};

// The regions of one rendering in drawing order. A rendering leaves exactly its own regions in the
// table and also returns their number, which the owner keeps as the region count.
using LinkRegions = std::vector<LinkRegion>;

// The region count is 16-bit; a rendering records no more regions than that.
inline constexpr qint16 MaxLinkRegions = 32767;

} // namespace HyperText
