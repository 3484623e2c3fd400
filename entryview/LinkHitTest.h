#pragma once

#include "entryview/LinkRegion.h"

#include <QtGlobal>

namespace HyperText {

// Index of the first of the first `count` regions that contains (x, y), or -1. The borders belong
// to no region, so a zero-width region is never hit. A count beyond the table's size is limited
// to it.
int HitTestLink(const LinkRegions& regions, qint16 count, double x, double y);

} // namespace HyperText
