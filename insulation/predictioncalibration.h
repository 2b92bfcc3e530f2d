// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QVector>

#include <array>

// How far the predictor's central estimate of a test's ten-minute
// resistance was found to miss, kept as data: the 5 % and 95 % quantiles of
// ln(truth / estimate) at each elapsed time of a table, for rising curves by
// how steeply they still rose (their slope in log-log at that time) and for
// falling curves. Learned from a corpus of curves made from the physics of
// charging and of failing insulation; the calibration program in
// tests/calibration/ prints the table from it.
class PredictionCalibration
{
public:
    // Rising curves fall in classes by their slope, d ln R / d ln t: below
    // the first bound, between the bounds, above the last.
    static constexpr std::array<double, 3> slopeBounds = {0.03, 0.1, 0.25};
    static constexpr int slopeClasses = int(slopeBounds.size()) + 1;

    struct Quantiles
    {
        double low = 0.0;
        double high = 0.0;
    };

    struct Row
    {
        double seconds = 0.0;
        // Rising curves: the miss of R600 by class of slope, and of the PI
        // (which differs while one minute is still to come).
        std::array<Quantiles, slopeClasses> r600;
        std::array<Quantiles, slopeClasses> pi;
        // Falling curves, carried on from the first minute.
        Quantiles falling;
    };

    PredictionCalibration() = delete;

    static int slopeClass(double slope);
    // The quantiles at `seconds`, interpolated in ln t between rows, and
    // those of the first or last row outside them.
    static Row at(double seconds);
    static const QVector<Row> &rows();
};
