#include "entryview/ReadableColors.h"

#include <algorithm>
#include <cmath>

namespace HyperText {

namespace {

double Linear(quint8 channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

quint8 Mix(quint8 from, quint8 to, int step) {
    return quint8(std::lround(from + (to - from) * step / 255.0));
}

RgbColor MixTowards(RgbColor from, RgbColor to, int step) {
    return {Mix(from.r, to.r, step), Mix(from.g, to.g, step), Mix(from.b, to.b, step)};
}

// The first of 256 steps from `wanted` to `limit` whose colour, as drawn in whole channel
// values, reaches the contrast; false when not even `limit` does.
bool FirstReadableStep(RgbColor wanted, RgbColor limit, RgbColor background, RgbColor& found) {
    for (int step = 0; step <= 255; ++step) {
        const RgbColor candidate = MixTowards(wanted, limit, step);
        if (ContrastRatio(candidate, background) >= MinimumLinkContrast) {
            found = candidate;
            return true;
        }
    }
    return false;
}

} // namespace

double RelativeLuminance(RgbColor color) {
    return 0.2126 * Linear(color.r) + 0.7152 * Linear(color.g) + 0.0722 * Linear(color.b);
}

double ContrastRatio(RgbColor a, RgbColor b) {
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

bool IsDarkBackground(RgbColor background) {
    const int highest = std::max({background.r, background.g, background.b});
    const int lowest = std::min({background.r, background.g, background.b});
    return highest + lowest < 255; // (max + min) / 2 below half of 255
}

RgbColor ReadableOn(RgbColor wanted, RgbColor background) {
    if (!IsDarkBackground(background))
        return wanted;
    RgbColor found;
    if (FirstReadableStep(wanted, RgbColor{255, 255, 255}, background, found))
        return found;
    // A dark but bright-hued background (deep yellow, say) that white cannot stand out on: some
    // mixture with black always can, since one of white and black reaches 4.58 on any colour.
    if (FirstReadableStep(wanted, RgbColor{0, 0, 0}, background, found))
        return found;
    return RgbColor{0, 0, 0};
}

} // namespace HyperText
