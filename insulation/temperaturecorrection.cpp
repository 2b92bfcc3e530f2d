// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "insulation/temperaturecorrection.h"

#include <cmath>
#include <limits>

namespace {
constexpr double noValue = std::numeric_limits<double>::quiet_NaN();

double column(const TemperatureCorrection::NetaRow &row, TestDetails::InsulationMedium medium)
{
    return medium == TestDetails::InsulationMedium::OilImmersed ? row.oilImmersed : row.solid;
}
} // namespace

double TemperatureCorrection::corrected(double megohms, double celsius, double baseCelsius, double halvingCelsius)
{
    return megohms * factor(celsius, baseCelsius, halvingCelsius);
}

double TemperatureCorrection::factor(double celsius, double baseCelsius, double halvingCelsius)
{
    // Written so that a NaN halving fails the test as well.
    if (!(halvingCelsius > 0.0))
        return noValue;
    return std::pow(0.5, (baseCelsius - celsius) / halvingCelsius);
}

// ANSI/NETA MTS-2019, Table 100.14 (Table 100.1, note 2, sends the
// correction of its minimums there): insulation resistance conversion
// factors, test temperatures to 20 °C. The standard's own page of factors
// was not at hand; the values are those of three transcriptions of the table
// (ATS-2025 rows −10…110 °C; a NETA test report form, rows 5…50 °C; a NETA
// test report app's solid column) and, for oil 0…75 °C, a manufacturer's
// technical library. Where they disagree the smaller factor is kept: it
// overstates a cold reading less.
// - Solid: the sources agree at every row, and every row is 10^((T − 20)/50)
//   to the printed digits (doubling about every 15 °C).
// - Oil-immersed, 0…75 °C: the sources agree except at 15 °C (0.75 in two
//   transcriptions, 0.74 in the technical library): 0.74 is kept.
// - Oil-immersed, −10, −5 and 80…110 °C: from the ATS-2025 transcription
//   alone, printed as it gives them (89.789 and 359.15 included).
// NETA says nothing of rows in between; the straight line between two rows
// is what the report app does too.
const std::vector<TemperatureCorrection::NetaRow> &TemperatureCorrection::netaTable()
{
    static const std::vector<NetaRow> table{
        {-10.0, 0.125, 0.25}, // oil: one transcription only
        {-5.0, 0.180, 0.32},  // oil: one transcription only
        {0.0, 0.25, 0.40},
        {5.0, 0.36, 0.50},
        {10.0, 0.50, 0.63},
        {15.0, 0.74, 0.81}, // oil 0.75 in two transcriptions: the smaller kept
        {20.0, 1.00, 1.00},
        {25.0, 1.40, 1.25},
        {30.0, 1.98, 1.58},
        {35.0, 2.80, 2.00},
        {40.0, 3.95, 2.50},
        {45.0, 5.60, 3.15},
        {50.0, 7.85, 3.98},
        {55.0, 11.20, 5.00},
        {60.0, 15.85, 6.30},
        {65.0, 22.40, 7.90},
        {70.0, 31.75, 10.00},
        {75.0, 44.70, 12.60},
        {80.0, 63.50, 15.80},   // oil from here on: one transcription only
        {85.0, 89.789, 20.00},
        {90.0, 127.00, 25.20},
        {95.0, 180.00, 31.60},
        {100.0, 245.00, 40.00},
        {105.0, 359.15, 50.40}, // solid as well: one transcription only
        {110.0, 509.00, 63.20}, // solid as well: one transcription only
    };
    return table;
}

double TemperatureCorrection::netaFactor(double celsius, TestDetails::InsulationMedium medium)
{
    if (medium == TestDetails::InsulationMedium::Unknown || !std::isfinite(celsius))
        return noValue;
    const std::vector<NetaRow> &table = netaTable();
    for (size_t i = 0; i < table.size(); ++i) {
        if (table.at(i).celsius == celsius)
            return column(table.at(i), medium);
        if (i > 0 && table.at(i - 1).celsius < celsius && celsius < table.at(i).celsius) {
            const NetaRow &below = table.at(i - 1);
            const NetaRow &above = table.at(i);
            const double fraction = (celsius - below.celsius) / (above.celsius - below.celsius);
            return column(below, medium) + fraction * (column(above, medium) - column(below, medium));
        }
    }
    return noValue;
}

double TemperatureCorrection::netaFactor(double celsius, double baseCelsius, TestDetails::InsulationMedium medium)
{
    return netaFactor(celsius, medium) / netaFactor(baseCelsius, medium);
}
