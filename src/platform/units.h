#pragma once

#include <QtGlobal>
#include <algorithm>
#include <cmath>

// Layout and the data file measure in twips; 15 twips make one device-independent pixel.
namespace Units {

inline constexpr int kTwipsPerPixel = 15;

inline constexpr int Px(int twips)
{
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

// Stored positions come from a file a person may have edited: keep them inside a range
// that every window system can place a window in.
inline int PxFromTwips(double twips)
{
    const double px = std::round(twips / kTwipsPerPixel);
    return static_cast<int>(std::clamp(px, -1'000'000.0, 1'000'000.0));
}

inline double TwipsFromPx(int px)
{
    return static_cast<double>(px) * kTwipsPerPixel;
}

} // namespace Units
