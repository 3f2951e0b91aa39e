#pragma once
/// \file

#include <cmath>

/// Rounds a device position or length to whole pixels, halves to the even
/// neighbour: half of a one-pixel line is no pixel, half of three is two.
inline int zelRoundPixel(double value)
{
    return int(std::lrint(value));
}
