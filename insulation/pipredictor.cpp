// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "insulation/pipredictor.h"

#include "insulation/curveanalysis.h"
#include "insulation/declinefit.h"
#include "insulation/predictioncalibration.h"

#include <algorithm>
#include <cmath>
#include <functional>

using Refusal = PiPrediction::Refusal;

// The readings a prediction is made from, and the curve thinned for the fit.
struct PiPredictor::Window
{
    QVector<CurvePoint> seen; // the readings up to the elapsed time
    double elapsed = 0.0;     // the latest reading's time
    double from = 0.0;        // the fit's first time
    double reference = 0.0;   // ln R of the latest points, which y is taken against
    QVector<ChargingFit::Point> points;
};

namespace {
bool hasValue(const CurvePoint &point)
{
    return std::isfinite(point.megohms) && !point.overRange;
}

// The readings up to `elapsedSeconds`, and the time of the latest of them
// that says anything.
QVector<CurvePoint> readingsUpTo(const QVector<CurvePoint> &curve, double elapsedSeconds, double &latest)
{
    QVector<CurvePoint> seen;
    seen.reserve(curve.size());
    latest = 0.0;
    for (const CurvePoint &point : curve) {
        if (point.seconds > elapsedSeconds)
            break;
        seen.append(point);
        if (std::isfinite(point.megohms) || point.overRange)
            latest = point.seconds;
    }
    return seen;
}

// A reading of no resistance, or one that fell to a fraction of the highest
// of the seconds before it.
bool breaksDown(const QVector<CurvePoint> &seen)
{
    for (int i = 0; i < seen.size(); ++i) {
        const CurvePoint &point = seen.at(i);
        if (point.seconds < PiPredictor::settledSeconds || !hasValue(point))
            continue;
        if (point.megohms <= 0.0)
            return true;
        double highest = 0.0;
        for (int j = i - 1; j >= 0 && seen.at(j).seconds >= point.seconds - PiPredictor::breakdownWithinSeconds; --j) {
            if (hasValue(seen.at(j)))
                highest = std::max(highest, seen.at(j).megohms);
        }
        if (point.megohms < PiPredictor::breakdownShare * highest)
            return true;
    }
    return false;
}

bool jumps(const QVector<CurvePoint> &seen)
{
    const CurvePoint *before = nullptr;
    for (const CurvePoint &point : seen) {
        if (point.seconds < PiPredictor::settledSeconds || !hasValue(point))
            continue;
        if (before && point.seconds > before->seconds) {
            const double allowed =
                PiPredictor::jumpLog + PiPredictor::steepestSlope * std::log(point.seconds / before->seconds);
            if (std::abs(std::log(point.megohms / before->megohms)) > allowed)
                return true;
        }
        before = &point;
    }
    return false;
}

bool overRangeFrom(const QVector<CurvePoint> &seen, double from)
{
    return std::any_of(seen.cbegin(), seen.cend(),
                       [from](const CurvePoint &point) { return point.seconds >= from && point.overRange; });
}

double highest(const QVector<CurvePoint> &seen)
{
    double most = 0.0;
    for (const CurvePoint &point : seen) {
        if (point.seconds >= PiPredictor::settledSeconds && hasValue(point))
            most = std::max(most, point.megohms);
    }
    return most;
}

// Means of ln t and ln R over bins evenly spaced in ln t: each stretch of
// the curve weighs the same however often the meter read it, and the
// meter's rounding averages out.
QVector<ChargingFit::Point> thinned(const QVector<CurvePoint> &seen, double from, double elapsed, double &reference)
{
    struct Sum
    {
        double x = 0.0;
        double y = 0.0;
        int count = 0;
    };
    Sum sums[PiPredictor::logBins];
    const double logFrom = std::log(from);
    const double width = std::log(elapsed) - logFrom;
    for (const CurvePoint &point : seen) {
        if (point.seconds < from || !hasValue(point) || point.megohms <= 0.0)
            continue;
        const double x = std::log(point.seconds / elapsed);
        const int bin = width > 0.0 ? std::min(PiPredictor::logBins - 1,
                                               int((std::log(point.seconds) - logFrom) / width * PiPredictor::logBins))
                                    : PiPredictor::logBins - 1;
        sums[bin].x += x;
        sums[bin].y += std::log(point.megohms);
        ++sums[bin].count;
    }
    QVector<ChargingFit::Point> points;
    for (const Sum &sum : sums) {
        if (sum.count > 0)
            points.append({sum.x / sum.count, sum.y / sum.count});
    }
    reference = points.isEmpty() ? 0.0 : points.constLast().y;
    for (ChargingFit::Point &point : points)
        point.y -= reference;
    return points;
}

// How far the readings of the window lie from a law, root mean square in ln R.
double rmsFrom(const QVector<CurvePoint> &seen, double from, double elapsed, double reference,
               const std::function<double(double)> &law)
{
    double squares = 0.0;
    int count = 0;
    for (const CurvePoint &point : seen) {
        if (point.seconds < from || !hasValue(point) || point.megohms <= 0.0)
            continue;
        const double residual = std::log(point.megohms) - reference - law(std::log(point.seconds / elapsed));
        squares += residual * residual;
        ++count;
    }
    return count > 0 ? std::sqrt(squares / count) : 0.0;
}

// A first guess of the charging law from the curve's slope: half the
// current absorption, decaying as t^-0.5, or all of it where the curve
// rises faster than that allows.
ChargingFit::Law guessFrom(double slope)
{
    ChargingFit::Law law;
    law.exponent = 0.5;
    law.absorption = std::clamp(slope / law.exponent, 0.05, 0.95);
    if (slope > law.absorption * law.exponent)
        law.exponent = slope / law.absorption;
    return law;
}
} // namespace

PiPrediction PiPredictor::predict(const QVector<CurvePoint> &curve, double elapsedSeconds)
{
    return banded(estimate(curve, elapsedSeconds));
}

PiPredictor::Estimate PiPredictor::estimate(const QVector<CurvePoint> &curve, double elapsedSeconds)
{
    Window window;
    window.seen = readingsUpTo(curve, elapsedSeconds, window.elapsed);
    Estimate estimate;
    estimate.fromSeconds = window.elapsed;
    if (window.elapsed < earliestSeconds)
        return estimate;
    if (breaksDown(window.seen)) {
        estimate.refusal = Refusal::BreaksDown;
        return estimate;
    }
    if (window.elapsed >= tenMinutes)
        return measuredEnd(window.seen, estimate);
    estimate.refusal = screened(window);
    if (estimate.refusal != Refusal::None)
        return estimate;
    DeclineFit line;
    if (!line.fit(window.points)) {
        estimate.refusal = Refusal::Irregular;
        return estimate;
    }
    estimate.branch = line.slope() > 0.0 ? Branch::Charging : Branch::Falling;
    const bool fitted = estimate.branch == Branch::Charging ? fitCharging(window, line.slope(), estimate)
                                                            : fitDecline(window, line, estimate);
    if (fitted)
        estimate.refusal = Refusal::None;
    return estimate;
}

// What keeps the stretch of curve to be fitted from being fitted; thins it
// on the way.
PiPrediction::Refusal PiPredictor::screened(Window &window)
{
    window.from = std::max(settledSeconds, windowShare * window.elapsed);
    if (overRangeFrom(window.seen, window.from))
        return Refusal::OverRange;
    if (jumps(window.seen))
        return Refusal::Jumps;
    window.points = thinned(window.seen, window.from, window.elapsed, window.reference);
    if (window.points.size() < fewestPoints)
        return Refusal::TooEarly;
    if (std::exp(window.reference) < fallenShare * highest(window.seen))
        return Refusal::Falls;
    return Refusal::None;
}

// Ten minutes are there: what is left is reading them off the curve.
PiPredictor::Estimate PiPredictor::measuredEnd(const QVector<CurvePoint> &seen, Estimate estimate)
{
    const CurvePoint atTenMinutes = CurveAnalysis::pointAt(seen, tenMinutes);
    const CurvePoint atOneMinute = CurveAnalysis::pointAt(seen, oneMinute);
    if (atTenMinutes.overRange || atOneMinute.overRange) {
        estimate.refusal = Refusal::OverRange;
        return estimate;
    }
    if (!(atTenMinutes.megohms > 0.0) || !(atOneMinute.megohms > 0.0)) {
        estimate.refusal = Refusal::Irregular;
        return estimate;
    }
    estimate.refusal = Refusal::None;
    estimate.measured = true;
    estimate.r60Measured = true;
    estimate.measuredR600 = atTenMinutes.megohms;
    estimate.measuredR60 = atOneMinute.megohms;
    estimate.logR600Low = estimate.logR600High = std::log(atTenMinutes.megohms);
    estimate.logR60 = std::log(atOneMinute.megohms);
    estimate.logPiLow = estimate.logPiHigh = estimate.logR600Low - estimate.logR60;
    return estimate;
}

// The resistance one minute in where the curve has it; an R60 beyond the
// range leaves no PI to predict.
bool PiPredictor::measuredOneMinute(const Window &window, Estimate &estimate)
{
    const CurvePoint atOneMinute = CurveAnalysis::pointAt(window.seen, oneMinute);
    if (window.elapsed >= oneMinute && atOneMinute.overRange) {
        estimate.refusal = Refusal::OverRange;
        return false;
    }
    estimate.r60Measured = window.elapsed >= oneMinute && atOneMinute.megohms > 0.0;
    if (estimate.r60Measured)
        estimate.logR60 = std::log(atOneMinute.megohms);
    return true;
}

// Two ways of carrying the curve on, each giving ln R600 and ln R60, make
// the estimate's lower and higher values.
void PiPredictor::setWays(const Way &first, const Way &second, Estimate &estimate)
{
    estimate.logR600Low = std::min(first.logR600, second.logR600);
    estimate.logR600High = std::max(first.logR600, second.logR600);
    if (!estimate.r60Measured)
        estimate.logR60 = (first.logR60 + second.logR60) / 2.0;
    const double firstPi = first.logR600 - (estimate.r60Measured ? estimate.logR60 : first.logR60);
    const double secondPi = second.logR600 - (estimate.r60Measured ? estimate.logR60 : second.logR60);
    estimate.logPiLow = std::min(firstPi, secondPi);
    estimate.logPiHigh = std::max(firstPi, secondPi);
}

bool PiPredictor::fitCharging(const Window &window, double slope, Estimate &estimate)
{
    ChargingFit whole;
    if (!whole.fit(window.points, m_previous.value_or(guessFrom(slope)))) {
        estimate.refusal = Refusal::Irregular;
        return false;
    }
    const ChargingFit::Law law = whole.law();
    const auto at = [&law](double x) { return law.at(x); };
    if (rmsFrom(window.seen, window.from, window.elapsed, window.reference, at) > irregularRms) {
        estimate.refusal = Refusal::Irregular;
        return false;
    }
    m_previous = law;
    estimate.slope = law.slope();
    if (!measuredOneMinute(window, estimate))
        return false;
    const double remaining = std::log(tenMinutes / window.elapsed);
    const double beforeMinute = std::log(oneMinute / window.elapsed);
    const Way wholeWay{window.reference + law.at(remaining), window.reference + law.at(beforeMinute)};
    setWays(wholeWay, recentWay(window, law).value_or(wholeWay), estimate);
    return true;
}

// The charging law fitted to the latest half of the elapsed time only.
std::optional<PiPredictor::Way> PiPredictor::recentWay(const Window &window, const ChargingFit::Law &whole) const
{
    double reference = 0.0;
    const double from = std::max(settledSeconds, recentShare * window.elapsed);
    const QVector<ChargingFit::Point> points = thinned(window.seen, from, window.elapsed, reference);
    // The whole curve's law, taken against this view's reference, is close.
    ChargingFit::Law start = whole;
    start.mu += window.reference - reference;
    ChargingFit recent;
    if (points.size() < fewestRecentPoints || !recent.fit(points, start))
        return std::nullopt;
    return Way{reference + recent.law().at(std::log(tenMinutes / window.elapsed)),
               reference + recent.law().at(std::log(oneMinute / window.elapsed))};
}

bool PiPredictor::fitDecline(const Window &window, const DeclineFit &fit, Estimate &estimate) const
{
    // Before the first minute a fall is the end of the charge as much as a
    // failing insulation: too early to tell which.
    if (window.elapsed < oneMinute) {
        estimate.refusal = Refusal::Falls;
        return false;
    }
    const auto line = [&fit](double x) { return fit.powerAt(x); };
    if (rmsFrom(window.seen, window.from, window.elapsed, window.reference, line) > irregularRms) {
        estimate.refusal = Refusal::Irregular;
        return false;
    }
    if (!measuredOneMinute(window, estimate))
        return false;
    if (!estimate.r60Measured) {
        estimate.refusal = Refusal::Irregular;
        return false;
    }
    estimate.slope = fit.slope();
    const double remaining = std::log(tenMinutes / window.elapsed);
    const double slowing = window.reference + fit.powerAt(remaining);
    const double steady = std::isfinite(fit.conductanceAt(remaining)) ? window.reference + fit.conductanceAt(remaining)
                                                                      : slowing;
    setWays({slowing, estimate.logR60}, {steady, estimate.logR60}, estimate);
    return true;
}

PiPrediction PiPredictor::banded(const Estimate &estimate)
{
    PiPrediction prediction;
    prediction.refusal = estimate.refusal;
    prediction.fromSeconds = estimate.fromSeconds;
    if (estimate.refusal != Refusal::None)
        return prediction;
    prediction.measured = estimate.measured;
    prediction.r60Measured = estimate.r60Measured;
    if (estimate.measured) {
        prediction.r600 = prediction.r600Low = prediction.r600High = estimate.measuredR600;
        prediction.r60 = estimate.measuredR60;
        prediction.pi = prediction.piLow = prediction.piHigh = estimate.measuredR600 / estimate.measuredR60;
        return prediction;
    }
    prediction.r600 = std::exp(estimate.logR600());
    prediction.r60 = std::exp(estimate.logR60);
    prediction.pi = std::exp(estimate.logPi());
    const PredictionCalibration::Row row = PredictionCalibration::at(estimate.fromSeconds);
    const size_t steepness = size_t(PredictionCalibration::slopeClass(estimate.slope));
    const bool falling = estimate.branch == Branch::Falling;
    const PredictionCalibration::Quantiles r600 = falling ? row.falling : row.r600[steepness];
    const PredictionCalibration::Quantiles pi = estimate.r60Measured ? r600 : row.pi[steepness];
    prediction.r600Low = std::exp(estimate.logR600Low + r600.low);
    prediction.r600High = std::exp(estimate.logR600High + r600.high);
    prediction.piLow = std::exp(estimate.logPiLow + pi.low);
    prediction.piHigh = std::exp(estimate.logPiHigh + pi.high);
    if ((prediction.piHigh - prediction.piLow) / prediction.pi > widestBand)
        prediction.refusal = Refusal::TooUncertain;
    return prediction;
}
