#pragma once

#include "FixedMetricsSurface.h"
#include "HyperTextPrinters.h"
#include "entryview/HyperText.h"

#include <QString>

using namespace Qt::Literals::StringLiterals;

using Drawn = FixedMetricsSurface::PrintedRun;
using Region = HyperText::LinkRegion;
using Runs = std::vector<Drawn>;
using Regions = HyperText::LinkRegions;

inline constexpr HyperText::RgbColor WindowText = FixedMetricsSurface::DefaultWindowText;
inline constexpr HyperText::RgbColor Blue{0, 0, 255};
inline constexpr HyperText::RgbColor Red{255, 0, 0};

// A fixed-metrics surface and a region table, rendered into with the start-up display font.
// Default metrics: line height 240, inner width 4455, so margin 24, usable width 4407, ASCII
// characters 120 wide (36 to a line) and all others 240 (18 to a line).
struct RenderHarness {
    FixedMetricsSurface surface;
    Regions regions;
    HyperText::DisplayFont font{u"ＭＳ Ｐゴシック"_s, 9.0};

    HyperText::ReadingText reading;

    qint16 render(const QString& markup) {
        return HyperText::RenderDescription(surface, markup, regions, font);
    }
    // Renders and keeps what was drawn as text.
    qint16 read(const QString& markup) {
        return HyperText::RenderDescription(surface, markup, regions, font, &reading);
    }
};
