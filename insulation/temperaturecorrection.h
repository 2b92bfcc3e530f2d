// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "insulation/testdetails.h"

#include <vector>

// Insulation resistance falls as insulation warms; readings taken at
// different temperatures compare only once corrected to one base. Two ways
// are kept here:
// - the halving formula, R_base = R_T × 0.5^((T_base − T) / halving), with
//   10 °C as IEEE 43 approximates rotating machines;
// - NETA's table of conversion factors to 20 °C, one column for apparatus
//   with oil-immersed insulation and one for solid insulation.
class TemperatureCorrection
{
public:
    struct NetaRow
    {
        double celsius;
        double oilImmersed; // multiplies a reading at `celsius` to give it at 20 °C
        double solid;
    };

    TemperatureCorrection() = delete;

    static constexpr double defaultHalvingCelsius = 10.0;
    static constexpr double rotatingMachineBaseCelsius = 40.0;
    static constexpr double otherBaseCelsius = 20.0;
    // The base of the NETA table's factors.
    static constexpr double netaBaseCelsius = 20.0;

    // NaN for a NaN resistance or temperature, or a halving that is not above 0.
    static double corrected(double megohms, double celsius, double baseCelsius,
                            double halvingCelsius = defaultHalvingCelsius);
    // The factor that multiplies a reading at `celsius`.
    static double factor(double celsius, double baseCelsius, double halvingCelsius = defaultHalvingCelsius);

    static const std::vector<NetaRow> &netaTable();
    // The table's factor from `celsius` to 20 °C in the medium's column,
    // straight-line between its rows; NaN outside the table or for an
    // unknown medium.
    static double netaFactor(double celsius, TestDetails::InsulationMedium medium);
    // From `celsius` to `baseCelsius` through the table: the two factors to
    // 20 °C divided.
    static double netaFactor(double celsius, double baseCelsius, TestDetails::InsulationMedium medium);
};
