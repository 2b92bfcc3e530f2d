// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

// Insulation resistance falls as insulation warms: it halves for every
// `halvingCelsius` degrees (10 °C as IEEE 43 takes it). Readings taken at
// different temperatures compare only once corrected to one base:
//   R_base = R_T × 0.5^((T_base − T) / halving)
class TemperatureCorrection
{
public:
    TemperatureCorrection() = delete;

    static constexpr double defaultHalvingCelsius = 10.0;
    static constexpr double rotatingMachineBaseCelsius = 40.0;
    static constexpr double otherBaseCelsius = 20.0;

    // NaN for a NaN resistance or temperature, or a halving that is not above 0.
    static double corrected(double megohms, double celsius, double baseCelsius,
                            double halvingCelsius = defaultHalvingCelsius);
    // The factor that multiplies a reading at `celsius`.
    static double factor(double celsius, double baseCelsius, double halvingCelsius = defaultHalvingCelsius);
};
