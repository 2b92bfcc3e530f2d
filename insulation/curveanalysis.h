// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "insulation/insulationtest.h"

#include <array>
#include <limits>

// What a test's curve tells beyond the meter's own values: the resistance at
// the marks that the ratios are defined on, and those ratios.
class CurveAnalysis
{
public:
    static constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    // Ratios of the curve and of the meter that differ by more than this
    // fraction are pointed out.
    static constexpr double ratioTolerance = 0.05;
    // The times the ratios are defined on, in seconds of the test.
    static constexpr double seconds15 = 15.0;
    static constexpr double seconds30 = 30.0;
    static constexpr double oneMinute = 60.0;
    static constexpr double tenMinutes = 600.0;

    struct Values
    {
        // Resistance in MΩ at 15 s, 30 s, 1 min and 10 min: NaN where the
        // curve does not reach the mark or is beyond the range there.
        double r15 = nan;
        double r30 = nan;
        double r60 = nan;
        double r600 = nan;
        double dar = nan;     // R60 / R30
        double dar15 = nan;   // R60 / R15
        double pi = nan;      // R600 / R60
        // PI and DAR tests: the ratio at the meter's own two set times.
        double ratioAtSetTimes = nan;
        // Both values exist and differ by more than the tolerance.
        bool darDiffersFromMeter = false;
        bool piDiffersFromMeter = false;
    };

    // A time the ratios are read at, as a chart marks it on the curve.
    struct Mark
    {
        double seconds;
        // Unit symbols, written the same in every language.
        const char *label;
        double Values::*value;

        // The resistance read at the mark.
        double in(const Values &values) const { return values.*value; }
    };
    // In time order.
    static constexpr std::array<Mark, 4> marks{{{seconds15, "15 s", &Values::r15},
                                                {seconds30, "30 s", &Values::r30},
                                                {oneMinute, "1 min", &Values::r60},
                                                {tenMinutes, "10 min", &Values::r600}}};

    CurveAnalysis() = delete;

    static Values analyse(const InsulationTest &test);
    // The resistance at `seconds`, interpolated between the neighbouring
    // points on a logarithmic scale of resistance; NaN outside the curve, or
    // where a neighbour has no value or is beyond the range.
    static double resistanceAt(const QVector<CurvePoint> &curve, double seconds);
    // The same, keeping what rests on readings beyond the range: there
    // `overRange` is set and `megohms`, interpolated from the range's limit,
    // is a lower bound (NaN where that limit is unknown).
    static CurvePoint pointAt(const QVector<CurvePoint> &curve, double seconds);
    // The meter's DAR or PI, as the test's mode and record carry it: a PI
    // only where it is R10min / R1min, a DAR only where it is R1min / R30s
    // or R1min / R15s; NaN otherwise.
    static double meterDar(const InsulationTest &test);
    static double meterPi(const InsulationTest &test);
    // A PI or DAR test's own ratio at the meter's set times, whatever they
    // are; NaN for other tests.
    static double meterRatio(const InsulationTest &test);
    // That ratio's name by its set times: "R10min/R1min", "R5min/R1min",
    // "R1min/R30s"; empty without set times.
    static QString ratioName(const InsulationTest &test);
    // A PI or DAR test whose set times make its ratio the standard one.
    static bool isStandardPi(const InsulationTest &test);
    static bool isStandardDar(const InsulationTest &test);
    static bool differ(double a, double b);
};
