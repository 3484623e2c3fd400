#include "entryview/LinkHitTest.h"

#include <algorithm>

namespace HyperText {

int HitTestLink(const LinkRegions& regions, qint16 count, double x, double y) {
    const auto usable = std::min<qsizetype>(std::max<qint16>(count, 0), qsizetype(regions.size()));
    for (qsizetype i = 0; i < usable; ++i) {
        const LinkRegion& r = regions[std::size_t(i)];
        if (x > r.Left && x < r.Right && y > r.Top && y < r.Bottom)
            return int(i);
    }
    return -1;
}

} // namespace HyperText
