// The description renderer and the link hit test, on the fixed-metrics surface of the renderer's
// tests. Input: four bytes of metrics, then the description as UTF-8.

#include "FixedMetricsSurface.h"
#include "FuzzCheck.h"
#include "entryview/HyperText.h"
#include "entryview/LinkHitTest.h"

#include <algorithm>
#include <limits>

namespace {

using HyperText::LinkRegion;
using HyperText::LinkRegions;

constexpr qint32 kMaxCoordinate = std::numeric_limits<qint16>::max();

// From degenerate (no room, zero-width characters, a line taller than the region bounds allow)
// to ordinary and very wide boxes.
void ChooseMetrics(const uint8_t* m, FixedMetricsSurface& surface) {
    surface.scaleWidth = m[0] == 255 ? 200000 : m[0] * 64;
    surface.asciiWidth = m[1];
    surface.otherWidth = m[2] * 2;
    surface.textHeight = m[3] == 255 ? 40000 : m[3] * 8;
    surface.boldTextHeight = surface.textHeight + m[3] % 7;
}

bool ValidUtf16(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate()) {
            if (i + 1 >= text.size() || !text[i + 1].isLowSurrogate())
                return false;
            ++i;
        } else if (text[i].isLowSurrogate()) {
            return false;
        }
    }
    return true;
}

bool StrictlyInside(const LinkRegion& r, double x, double y) {
    return x > r.Left && x < r.Right && y > r.Top && y < r.Bottom;
}

void CheckDrawing(const FixedMetricsSurface& surface, const LinkRegions& regions, qint16 count) {
    const qint32 lineHeight = std::min(surface.textHeight, kMaxCoordinate);
    const qint32 margin = lineHeight / 10;
    FUZZ_CHECK(count >= 0);
    FUZZ_CHECK(regions.size() == size_t(count));

    for (const auto& run : surface.prints) {
        FUZZ_CHECK(!run.text.isEmpty());
        // A line break never splits a character into halves that cannot be drawn.
        FUZZ_CHECK(ValidUtf16(run.text));
        FUZZ_CHECK(run.x >= margin && run.y >= margin);
        FUZZ_CHECK(qint64(run.y) + lineHeight <= kMaxCoordinate);
    }

    for (const LinkRegion& r : regions) {
        FUZZ_CHECK(r.LinkId > 0);
        FUZZ_CHECK(r.Left >= 0 && r.Left <= r.Right && r.Top >= 0);
        FUZZ_CHECK(r.Bottom - r.Top == lineHeight);
        if (r.Left == r.Right)
            continue;
        // Every clickable rectangle covers exactly a drawn run. (Its colour and underline are
        // whatever codes inside the link made them; runs of zero-width characters may share its
        // corner.)
        const bool drawn = std::any_of(surface.prints.begin(), surface.prints.end(),
                                       [&](const FixedMetricsSurface::PrintedRun& run) {
                                           return run.x == r.Left && run.y == r.Top &&
                                                  surface.TextWidth(run.text) == r.Right - r.Left;
                                       });
        FUZZ_CHECK(drawn);
    }
}

void CheckHitTest(const LinkRegions& regions, qint16 count) {
    for (size_t i = 0; i < regions.size(); ++i) {
        const LinkRegion& r = regions[i];
        const double midY = (r.Top + r.Bottom) / 2.0;
        if (r.Right - r.Left >= 1 && r.Bottom - r.Top >= 1) {
            const double midX = (r.Left + r.Right) / 2.0;
            const int hit = HyperText::HitTestLink(regions, count, midX, midY);
            // Rectangles may overlap (a half-line feed), and then the earlier one wins.
            FUZZ_CHECK(hit >= 0 && size_t(hit) <= i);
            FUZZ_CHECK(StrictlyInside(regions[size_t(hit)], midX, midY));
            for (int j = 0; j < hit; ++j)
                FUZZ_CHECK(!StrictlyInside(regions[size_t(j)], midX, midY));
            FUZZ_CHECK(HyperText::HitTestLink(regions, HyperText::MaxLinkRegions, midX, midY) ==
                       hit);
            FUZZ_CHECK(HyperText::HitTestLink(regions, qint16(i), midX, midY) ==
                       (size_t(hit) < i ? hit : -1));
            FUZZ_CHECK(HyperText::HitTestLink(regions, -1, midX, midY) == -1);
        }
        // The borders belong to no region.
        FUZZ_CHECK(HyperText::HitTestLink(regions, count, r.Left, midY) != int(i));
        FUZZ_CHECK(HyperText::HitTestLink(regions, count, r.Right, midY) != int(i));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4)
        return 0;
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data + 4), qsizetype(size - 4));
    const HyperText::DisplayFont font{QStringLiteral("Fixed"), 9.0};

    FixedMetricsSurface surface;
    ChooseMetrics(data, surface);
    // Left over from an earlier rendering: none of it may survive.
    LinkRegions regions{{7, 1, 2, 3, 4}, {8, 5, 6, 7, 8}};
    const qint16 count = HyperText::RenderDescription(surface, text, regions, font);
    FUZZ_CHECK(surface.clsCalls == 1);
    CheckDrawing(surface, regions, count);
    CheckHitTest(regions, count);

    // Drawing the same text again into the same box, whatever styles the first drawing left
    // switched on, gives the same picture and the same regions.
    const auto firstPrints = surface.prints;
    const LinkRegions firstRegions = regions;
    const qint16 again = HyperText::RenderDescription(surface, text, regions, font);
    FUZZ_CHECK(again == count);
    FUZZ_CHECK(surface.prints == firstPrints);
    FUZZ_CHECK(regions == firstRegions);
    return 0;
}
