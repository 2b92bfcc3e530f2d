// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
//
// Learns the PI prediction's band from the test corpus and prints the table
// that insulation/predictioncalibration.cpp keeps between its CALIBRATION
// marks; a summary goes to standard error.
//   tessra_calibrate_prediction > table.txt
//
// Every curve is predicted, without a band, from each elapsed time of the
// table. How far the measured R600 (and PI) lay below the lower of the two
// ways the predictor carried the curve on, and above the higher, is kept
// per elapsed time for rising curves by class of slope and for falling
// curves: the 5 % quantile of the first and the 95 % quantile of the second
// are printed. A class with too few estimates at some time takes those of
// all rising curves at that time.
#include "insulation/curveanalysis.h"
#include "insulation/pipredictor.h"
#include "insulation/predictioncalibration.h"
#include "support/curvecorpus.h"

#include <QVector>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

namespace {
// Seeds apart from those the tests use.
constexpr quint64 firstSeed = 1000000;
// How common each kind is taken to be among the tests a technician runs.
constexpr int chargingCurves = 3000;
constexpr int flatCurves = 400;
constexpr int fallingCurves = 800;
constexpr double elapsedTimes[] = {30, 40, 50, 60, 75, 90, 120, 150, 180, 240, 300, 360, 420, 480, 540, 590};
constexpr double lowShare = 0.05;
constexpr double highShare = 0.95;
constexpr int fewestMisses = 150;

using Quantiles = PredictionCalibration::Quantiles;

// ln(measured / estimate) against the lower and the higher way.
struct Miss
{
    int row = 0;
    int steepness = 0; // slope class; -1 for a falling curve
    double r600Below = 0.0;
    double r600Above = 0.0;
    double piBelow = 0.0;
    double piAbove = 0.0;
};

double quantile(QVector<double> values, double share)
{
    std::sort(values.begin(), values.end());
    const double at = share * (values.size() - 1);
    const int below = int(std::floor(at));
    const int above = std::min(below + 1, int(values.size()) - 1);
    return values.at(below) + (values.at(above) - values.at(below)) * (at - below);
}

void collect(CurveCorpus::Kind kind, int count, QVector<Miss> &misses)
{
    for (int i = 0; i < count; ++i) {
        const CurveCorpus::Curve curve = CurveCorpus::make(kind, firstSeed + quint64(i));
        const double r600 = CurveAnalysis::resistanceAt(curve.points, 600.0);
        const double r60 = CurveAnalysis::resistanceAt(curve.points, 60.0);
        if (!(r600 > 0.0) || !(r60 > 0.0))
            continue;
        for (int row = 0; row < int(std::size(elapsedTimes)); ++row) {
            const PiPredictor::Estimate estimate = PiPredictor().estimate(curve.points, elapsedTimes[row]);
            if (estimate.refusal != PiPrediction::Refusal::None)
                continue;
            const bool falling = estimate.branch == PiPredictor::Branch::Falling;
            Miss miss;
            miss.row = row;
            miss.steepness = falling ? -1 : PredictionCalibration::slopeClass(estimate.slope);
            miss.r600Below = std::log(r600) - estimate.logR600Low;
            miss.r600Above = std::log(r600) - estimate.logR600High;
            miss.piBelow = std::log(r600 / r60) - estimate.logPiLow;
            miss.piAbove = std::log(r600 / r60) - estimate.logPiHigh;
            misses.append(miss);
        }
    }
}

QVector<const Miss *> missesOf(const QVector<Miss> &misses, int row, const std::function<bool(const Miss &)> &take)
{
    QVector<const Miss *> picked;
    for (const Miss &miss : misses) {
        if (miss.row == row && take(miss))
            picked.append(&miss);
    }
    return picked;
}

// The quantiles of the misses of one row that `take` picks, or of all rising
// curves of the row when it picks too few; `count` is how many it picked.
Quantiles quantilesOf(const QVector<Miss> &misses, int row, bool pi, const std::function<bool(const Miss &)> &take,
                      int &count)
{
    QVector<const Miss *> picked = missesOf(misses, row, take);
    count = picked.size();
    if (picked.size() < fewestMisses)
        picked = missesOf(misses, row, [](const Miss &miss) { return miss.steepness >= 0; });
    if (picked.isEmpty())
        return {};
    QVector<double> below;
    QVector<double> above;
    for (const Miss *miss : qAsConst(picked)) {
        below.append(pi ? miss->piBelow : miss->r600Below);
        above.append(pi ? miss->piAbove : miss->r600Above);
    }
    return {quantile(below, lowShare), quantile(above, highShare)};
}

void printQuantiles(const Quantiles &quantiles)
{
    std::printf("{%.4f, %.4f}", quantiles.low, quantiles.high);
}
} // namespace

int main()
{
    QVector<Miss> misses;
    collect(CurveCorpus::Kind::Charging, chargingCurves, misses);
    collect(CurveCorpus::Kind::Flat, flatCurves, misses);
    collect(CurveCorpus::Kind::Falling, fallingCurves, misses);
    std::fprintf(stderr, "%d estimates\n", int(misses.size()));

    const auto fallingOnes = [](const Miss &miss) { return miss.steepness < 0; };
    std::printf("const QVector<Row> calibrationRows = {\n");
    for (int row = 0; row < int(std::size(elapsedTimes)); ++row) {
        int count = 0;
        std::printf("    {%g,\n     {{", elapsedTimes[row]);
        std::fprintf(stderr, "%4g s: rising", elapsedTimes[row]);
        for (int steepness = 0; steepness < PredictionCalibration::slopeClasses; ++steepness) {
            const auto ofClass = [steepness](const Miss &miss) { return miss.steepness == steepness; };
            printQuantiles(quantilesOf(misses, row, false, ofClass, count));
            std::printf(steepness + 1 < PredictionCalibration::slopeClasses ? ", " : "}},\n     {{");
            std::fprintf(stderr, " %5d", count);
        }
        for (int steepness = 0; steepness < PredictionCalibration::slopeClasses; ++steepness) {
            const auto ofClass = [steepness](const Miss &miss) { return miss.steepness == steepness; };
            printQuantiles(quantilesOf(misses, row, true, ofClass, count));
            std::printf(steepness + 1 < PredictionCalibration::slopeClasses ? ", " : "}},\n     ");
        }
        // A falling curve is carried on from the first minute only. Its band
        // reaches both ways at least: one that stops falling ends on the
        // steady way, which the quantiles of curves that mostly fall on, or
        // faster, would leave outside.
        Quantiles falling;
        if (elapsedTimes[row] >= PiPredictor::oneMinute) {
            falling = quantilesOf(misses, row, false, fallingOnes, count);
            falling.low = std::min(falling.low, 0.0);
            falling.high = std::max(falling.high, 0.0);
        }
        printQuantiles(falling);
        std::printf("},\n");
        std::fprintf(stderr, ", falling %5d\n", elapsedTimes[row] >= PiPredictor::oneMinute ? count : 0);
    }
    std::printf("};\n");
    return 0;
}
