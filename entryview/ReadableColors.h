#pragma once

#include "entryview/DrawSurface.h"

namespace HyperText {

// The WCAG 2 relative luminance of a colour, from 0 (black) to 1 (white).
double RelativeLuminance(RgbColor color);

// The WCAG 2 contrast ratio of two colours, from 1 (the same) to 21 (black on white).
double ContrastRatio(RgbColor a, RgbColor b);

// A background is dark when its HSL lightness is below one half.
bool IsDarkBackground(RgbColor background);

// The contrast every link colour keeps against a dark background.
inline constexpr double MinimumLinkContrast = 4.5;

// The colour to draw `wanted` in on `background`. On a light background it is `wanted` itself.
// On a dark one it is `wanted` mixed with white (or, where even white is too faint, with black)
// just far enough to reach MinimumLinkContrast, so that blue stays blue and red stays red.
RgbColor ReadableOn(RgbColor wanted, RgbColor background);

} // namespace HyperText
