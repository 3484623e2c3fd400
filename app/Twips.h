#pragma once

#include <QtGlobal>
#include <cmath>

// Positions and sizes are kept in twips (1/1440 inch) in the window logic; widgets work in
// logical pixels, 15 twips each.
namespace Twips {

inline constexpr int kPerPixel = 15;

// Whole numbers are rounded to the nearest, halves to the even neighbour.
inline qint32 RoundEven(double value) {
    return qint32(std::nearbyint(value));
}

inline qint32 FromPixels(double pixels) {
    return RoundEven(pixels * kPerPixel);
}
inline int ToPixels(qint32 twips) {
    return RoundEven(double(twips) / kPerPixel);
}

} // namespace Twips
