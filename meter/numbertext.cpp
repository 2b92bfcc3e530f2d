// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "meter/numbertext.h"

#include <cmath>

void NumberText::fieldFor(double value, int &fieldWidth, int &precision)
{
    if (value == 0.0) {
        fieldWidth = 3;
        precision = 0;
    } else if (value < 10.0) {
        fieldWidth = 4;
        precision = 2;
    } else if (value < 100.0) {
        fieldWidth = 4;
        precision = 1;
    } else {
        // 100 and above, and NaN, which compares as neither.
        fieldWidth = 3;
        precision = 0;
    }
}

// Truncating in floating point keeps large values intact, where a cast to a
// 32-bit integer would turn them (and NaN) into its minimum.
double NumberText::cut(double value, int precision)
{
    const double scale = std::pow(10.0, precision);
    const double scaled = value * scale;
    if (!std::isfinite(scaled))
        return value; // non-finite, or too large to carry any decimals
    // Decimal fractions are inexact in binary (0.29 * 100 is 28.999999999999996):
    // a tolerance far below the meter's resolution keeps them from losing a digit.
    const double tolerance = std::abs(scaled) * 1e-12;
    const double cut = std::trunc(scaled + std::copysign(tolerance, scaled)) / scale;
    return cut == 0.0 ? 0.0 : cut;
}
