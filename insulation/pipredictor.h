// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "insulation/chargingfit.h"
#include "insulation/declinefit.h"
#include "insulation/insulationtest.h"
#include "insulation/piprediction.h"

#include <QVector>

#include <optional>

// Predicts, while a test runs, its resistance at ten minutes and so its PI,
// from the readings it has so far. The curve from a quarter of the elapsed
// time on is thinned to points evenly spaced in log time; a rising curve is
// fitted with the charging law (ChargingFit), a falling one carried on two
// ways (DeclineFit). The band comes from PredictionCalibration: how far such
// estimates missed, at the same elapsed time, on a corpus of curves that
// rose as steeply or fell. Curves that break down, jump, fall fast or leave
// the range get no prediction, nor does a band too wide to be of use.
//
// An instance follows one test: each call starts from the law the previous
// one found, so an update on every reading stays cheap.
class PiPredictor
{
public:
    static constexpr double tenMinutes = 600.0;
    static constexpr double oneMinute = 60.0;
    // Before this, the curve says too little of where it is going.
    static constexpr double earliestSeconds = 30.0;
    // Readings before this are the capacitive charge and the voltage's ramp.
    static constexpr double settledSeconds = 10.0;
    // The fit takes the curve from this share of the elapsed time on: the
    // recent curve tells most of where it goes, the oldest would pull the fit
    // towards the fast absorption long gone.
    static constexpr double windowShare = 0.25;
    static constexpr int logBins = 24;
    static constexpr int fewestPoints = 6;
    // A reading below this share of the highest of the last ten seconds is
    // a breakdown.
    static constexpr double breakdownShare = 0.5;
    static constexpr double breakdownWithinSeconds = 10.0;
    // Two readings further apart than this in ln R, beyond the steepest rise
    // charging shows over the time between them, are a jump.
    static constexpr double jumpLog = 0.1;
    static constexpr double steepestSlope = 1.5;
    // A curve now below this share of its highest reading falls too fast.
    static constexpr double fallenShare = 0.75;
    // Readings further from the fitted law than this, root mean square in
    // ln R, do not follow it (the meter's three digits give under 0.005).
    static constexpr double irregularRms = 0.02;
    // The widest band of use, (high - low) / PI.
    static constexpr double widestBand = 0.4;

    enum class Branch { Charging, Falling };

    // What the fit gives before the calibration makes a band of it.
    struct Estimate
    {
        PiPrediction::Refusal refusal = PiPrediction::Refusal::TooEarly;
        double fromSeconds = 0.0;
        Branch branch = Branch::Charging;
        double logR600 = 0.0;
        double logR60 = 0.0;
        bool r60Measured = false;
        // How steeply the curve rises at the latest reading, d ln R / d ln t,
        // by the law fitted (the power law of a falling curve).
        double slope = 0.0;
        // The curve reached ten minutes: logR600 is measured.
        bool measured = false;
    };

    // From the readings of `curve` up to `elapsedSeconds`.
    PiPrediction predict(const QVector<CurvePoint> &curve, double elapsedSeconds);
    Estimate estimate(const QVector<CurvePoint> &curve, double elapsedSeconds);

private:
    struct Window;

    Estimate measuredEnd(const QVector<CurvePoint> &curve, Estimate estimate) const;
    bool fitCharging(const Window &window, double slope, Estimate &estimate);
    bool fitDecline(const Window &window, const DeclineFit &fit, Estimate &estimate) const;
    static PiPrediction banded(const Estimate &estimate);

    std::optional<ChargingFit::Law> m_previous;
};
