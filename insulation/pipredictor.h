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
// from the readings it has so far, thinned to points evenly spaced in log
// time. A rising curve is fitted with the charging law (ChargingFit) twice:
// from a quarter of the elapsed time on and from half of it on, two views
// that part where the curve bends away from the law. A falling one is
// carried on two ways (DeclineFit). The estimate is the middle of the two;
// the band reaches beyond both by how far the truth lay beyond them, at the
// same elapsed time, on a corpus of curves that rose as steeply or fell
// (PredictionCalibration). Curves that break down, jump, fall fast or leave
// the range get no prediction, nor does a band too wide to be of use.
//
// An instance follows one test, each fit starting from the law the previous
// update found; a fresh one starts from a guess. Either way an update on a
// ten-minute curve costs well under a millisecond, so it can run on every
// reading.
class PiPredictor
{
public:
    static constexpr double tenMinutes = 600.0;
    static constexpr double oneMinute = 60.0;
    // Before this, the curve says too little of where it is going.
    static constexpr double earliestSeconds = 30.0;
    // Readings before this are the capacitive charge and the voltage's ramp.
    static constexpr double settledSeconds = 10.0;
    // The fits take the curve from these shares of the elapsed time on: the
    // recent curve tells most of where it goes, the oldest would pull a fit
    // towards the fast absorption long gone.
    static constexpr double windowShare = 0.25;
    static constexpr double recentShare = 0.5;
    static constexpr int logBins = 24;
    static constexpr int fewestPoints = 6;
    // The recent view is left out below this.
    static constexpr int fewestRecentPoints = 4;
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

    // What the fits give before the calibration makes a band of them.
    struct Estimate
    {
        PiPrediction::Refusal refusal = PiPrediction::Refusal::TooEarly;
        double fromSeconds = 0.0;
        Branch branch = Branch::Charging;
        // ln R600 and ln PI, the lower and the higher of the two ways the
        // curve was carried on.
        double logR600Low = 0.0;
        double logR600High = 0.0;
        double logPiLow = 0.0;
        double logPiHigh = 0.0;
        // ln R60, measured or the middle of the two ways.
        double logR60 = 0.0;
        bool r60Measured = false;
        // How steeply the curve rises at the latest reading, d ln R / d ln t,
        // by the law fitted (the power law of a falling curve).
        double slope = 0.0;
        // The curve reached ten minutes: the values are measured, these in MΩ.
        bool measured = false;
        double measuredR600 = 0.0;
        double measuredR60 = 0.0;

        double logR600() const { return (logR600Low + logR600High) / 2.0; }
        double logPi() const { return (logPiLow + logPiHigh) / 2.0; }
    };

    // From the readings of `curve` up to `elapsedSeconds`.
    PiPrediction predict(const QVector<CurvePoint> &curve, double elapsedSeconds);
    Estimate estimate(const QVector<CurvePoint> &curve, double elapsedSeconds);

private:
    struct Window;
    // ln R600 and ln R60 by one way of carrying the curve on.
    struct Way
    {
        double logR600 = 0.0;
        double logR60 = 0.0;
    };

    static Estimate measuredEnd(const QVector<CurvePoint> &curve, Estimate estimate);
    static PiPrediction::Refusal screened(Window &window);
    static bool measuredOneMinute(const Window &window, Estimate &estimate);
    static void setWays(const Way &first, const Way &second, Estimate &estimate);
    bool fitCharging(const Window &window, double slope, Estimate &estimate);
    std::optional<Way> recentWay(const Window &window, const ChargingFit::Law &whole) const;
    bool fitDecline(const Window &window, const DeclineFit &fit, Estimate &estimate) const;
    static PiPrediction banded(const Estimate &estimate);

    // The law of the previous update, which the next fit starts from.
    std::optional<ChargingFit::Law> m_previous;
};
