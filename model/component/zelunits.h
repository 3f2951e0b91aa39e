#pragma once
/// \file

#include <cmath>

// Report units are pixels at 96 per inch. Scripts see these constants under
// the same names.
constexpr double qz01cm = 3.77953;   ///< one millimetre, rounded
constexpr double qz1cm = 37.7953;    ///< one centimetre
constexpr double qz01in = 9.6;       ///< a tenth of an inch
constexpr double qz1in = 96;         ///< one inch
constexpr double qz1CharX = 9.6;     ///< width of a character cell
constexpr double qz1CharY = 17;      ///< height of a character cell

/// How far apart two stored floats (coordinates and sizes above all) may be
/// and still count as equal: for difference records, inherited templates and
/// layout alike.
constexpr double zelFloatTolerance = 0.0001;

/// Two coordinates are equal when they differ by at most zelFloatTolerance.
inline bool zelSameCoord(double a, double b)
{
    return std::fabs(a - b) <= zelFloatTolerance;
}
