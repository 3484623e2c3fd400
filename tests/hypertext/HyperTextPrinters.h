#pragma once

#include "entryview/DrawSurface.h"
#include "entryview/LinkRegion.h"

#include <QString>
#include <ostream>

// Readable failure messages for the renderer's value types.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace HyperText {

inline void PrintTo(const LinkRegion& r, std::ostream* os) {
    *os << "{id " << r.LinkId << ": " << r.Left << "," << r.Top << " - " << r.Right << ","
        << r.Bottom << "}";
}

inline void PrintTo(RgbColor c, std::ostream* os) {
    *os << "rgb(" << int(c.r) << "," << int(c.g) << "," << int(c.b) << ")";
}

} // namespace HyperText
