// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "insulation/temperaturecorrection.h"

#include <cmath>
#include <limits>

double TemperatureCorrection::corrected(double megohms, double celsius, double baseCelsius, double halvingCelsius)
{
    return megohms * factor(celsius, baseCelsius, halvingCelsius);
}

double TemperatureCorrection::factor(double celsius, double baseCelsius, double halvingCelsius)
{
    // Written so that a NaN halving fails the test as well.
    if (!(halvingCelsius > 0.0))
        return std::numeric_limits<double>::quiet_NaN();
    return std::pow(0.5, (baseCelsius - celsius) / halvingCelsius);
}
