// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "insulation/insulationtest.h"
#include "insulation/piprediction.h"

#include <QVector>

#include <array>

// Which tests the PI prediction follows, and for a finished one that reached
// ten minutes what it would have said at the minutes a technician looks at
// it, beside what was measured: how far it can be trusted, test by test.
class PredictionReview
{
public:
    PredictionReview() = delete;

    // The elapsed times the prediction is looked back at, in seconds.
    static constexpr std::array<double, 4> reviewSeconds{60.0, 120.0, 180.0, 300.0};

    struct Row
    {
        double fromSeconds = 0.0;
        PiPrediction prediction;
        // The band held the PI measured at ten minutes.
        bool held = false;
    };

    // A PI test, or a TIME test set to ten minutes or more or that ran them,
    // with a curve: the meter's memory keeps no curve to predict from.
    static bool follows(const InsulationTest &test);
    // Followed, and its curve reached ten minutes.
    static bool reachesTenMinutes(const InsulationTest &test);
    // The predictions from the readings up to each review time, against
    // `measuredPi`; none for a test that did not reach ten minutes.
    static QVector<Row> rows(const InsulationTest &test, double measuredPi);
};
