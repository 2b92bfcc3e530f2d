// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QCoreApplication>
#include <QString>

#include <limits>

// Where a test's resistance is expected to be at ten minutes, and so its
// polarization index, with a band that held the truth nine times in ten
// on the curves it was calibrated on; or why no such estimate can be made
// yet. An estimate beside the measurement: never a measured value.
struct PiPrediction
{
    Q_DECLARE_TR_FUNCTIONS(PiPrediction)

public:
    static constexpr double nan = std::numeric_limits<double>::quiet_NaN();

    // Why there is no prediction: the first that applies, in this order.
    enum class Refusal {
        None,
        TooEarly,     // too little of the test has run
        BreaksDown,   // the resistance collapsed
        OverRange,    // readings beyond the meter's range: the curve is not known
        Jumps,        // readings jump further than charging insulation moves
        Falls,        // falls faster than a trend can be carried on
        Irregular,    // the readings do not follow the charging of insulation
        TooUncertain, // the band would be too wide to be of use
    };

    Refusal refusal = Refusal::TooEarly;
    // The values below are NaN when no prediction is made, but for a band
    // too wide, which keeps what it would have given for the reason to show.

    // The elapsed time of the latest reading the prediction is made from.
    double fromSeconds = 0.0;
    // Resistance at ten minutes in MΩ, with its band.
    double r600 = nan;
    double r600Low = nan;
    double r600High = nan;
    // Resistance at one minute in MΩ: measured once the curve has it,
    // else predicted as well.
    double r60 = nan;
    bool r60Measured = false;
    // R600 / R60 with its band.
    double pi = nan;
    double piLow = nan;
    double piHigh = nan;
    // The curve reached ten minutes: the values are the measured ones.
    bool measured = false;

    bool isMade() const { return refusal == Refusal::None; }
    // Why no prediction was made, in a few words; empty when one was.
    QString reasonText() const;
};
