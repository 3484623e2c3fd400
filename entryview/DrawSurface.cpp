#include "entryview/DrawSurface.h"

#include <algorithm>

namespace HyperText {

qsizetype DrawSurface::FittingLength(const QString& text, qsizetype start, qsizetype length,
                                     qint32 width) const {
    const auto fits = [&](qsizetype n) { return TextWidth(text.mid(start, n)) <= width; };
    // Doubling finds a length that does not fit within twice the answer, so a long word costs
    // time in proportion to what is taken, not to the whole word.
    qsizetype good = 0;
    qsizetype bad = length + 1; // the shortest length known not to fit
    qsizetype step = 1;
    while (good < length) {
        const qsizetype next = std::min(length, good + step);
        if (!fits(next)) {
            bad = next;
            break;
        }
        good = next;
        step *= 2;
    }
    while (bad - good > 1) {
        const qsizetype middle = good + (bad - good) / 2;
        if (fits(middle))
            good = middle;
        else
            bad = middle;
    }
    return good;
}

} // namespace HyperText
