// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "insulation/curveanalysis.h"

#include "meter/dmmdata.h"

#include <cmath>

namespace {
// Insulation charges roughly exponentially, so log R is close to linear in
// time between two readings a few seconds apart.
double logLinear(const CurvePoint &a, const CurvePoint &b, double seconds)
{
    const double fraction = (seconds - a.seconds) / (b.seconds - a.seconds);
    if (a.megohms > 0.0 && b.megohms > 0.0)
        return std::exp(std::log(a.megohms) + fraction * (std::log(b.megohms) - std::log(a.megohms)));
    // A dead short has no logarithm; a straight line still shows it as one.
    return a.megohms + fraction * (b.megohms - a.megohms);
}

double ratio(double numerator, double denominator)
{
    if (!std::isfinite(numerator) || !std::isfinite(denominator) || denominator <= 0.0)
        return CurveAnalysis::nan;
    return numerator / denominator;
}

bool isRatioTest(const InsulationTest &test)
{
    return test.mode == DMMData::dmPI || test.mode == DMMData::dmDAR;
}

bool hasSetTimes(const InsulationTest &test)
{
    return isRatioTest(test) && test.setSeconds > 0 && test.setSeconds2 > 0;
}

// The meter's ratio of a PI or DAR test is taken at its own set times, which
// the user may have moved off 30 s / 1 min and 1 min / 10 min; compared with
// the curve's ratio at fixed marks it would differ for no fault of the
// insulation. The curve's ratio at the same set times is its counterpart.
// The DAR and PI an IR test reports are taken as the standard ones.
double curveCounterpart(const InsulationTest &test, const CurveAnalysis::Values &values, double standardRatio)
{
    return hasSetTimes(test) ? values.ratioAtSetTimes : standardRatio;
}

double presentOrNan(double value)
{
    return std::isfinite(value) && value != 0.0 ? value : CurveAnalysis::nan;
}
} // namespace

CurveAnalysis::Values CurveAnalysis::analyse(const InsulationTest &test)
{
    Values values;
    for (const Mark &mark : marks)
        values.*mark.value = resistanceAt(test.curve, mark.seconds);
    values.dar = ratio(values.r60, values.r30);
    values.dar15 = ratio(values.r60, values.r15);
    values.pi = ratio(values.r600, values.r60);
    if (hasSetTimes(test))
        values.ratioAtSetTimes =
            ratio(resistanceAt(test.curve, test.setSeconds2), resistanceAt(test.curve, test.setSeconds));
    const double meterOwnDar = test.mode == DMMData::dmDAR ? meterRatio(test) : meterDar(test);
    const double meterOwnPi = test.mode == DMMData::dmPI ? meterRatio(test) : meterPi(test);
    values.darDiffersFromMeter = differ(curveCounterpart(test, values, values.dar), meterOwnDar);
    values.piDiffersFromMeter = differ(curveCounterpart(test, values, values.pi), meterOwnPi);
    return values;
}

double CurveAnalysis::resistanceAt(const QVector<CurvePoint> &curve, double seconds)
{
    const CurvePoint point = pointAt(curve, seconds);
    return point.overRange ? nan : point.megohms;
}

CurvePoint CurveAnalysis::pointAt(const QVector<CurvePoint> &curve, double seconds)
{
    CurvePoint result;
    result.seconds = seconds;
    // Readings faster than the meter's clock share a time; the latest of
    // them is the meter's last word on it.
    for (auto point = curve.crbegin(); point != curve.crend(); ++point) {
        if (point->seconds == seconds) {
            result.megohms = point->megohms;
            result.overRange = point->overRange;
            return result;
        }
    }
    for (int i = 1; i < curve.size(); ++i) {
        const CurvePoint &before = curve.at(i - 1);
        const CurvePoint &after = curve.at(i);
        if (before.seconds < seconds && seconds < after.seconds) {
            result.overRange = before.overRange || after.overRange;
            if (std::isfinite(before.megohms) && std::isfinite(after.megohms))
                result.megohms = logLinear(before, after, seconds);
            return result;
        }
    }
    return result;
}

// An IR record's DAR and PI are the meter's standard ones; a PI or DAR
// test's ratio is one only at the set times that define it.
double CurveAnalysis::meterDar(const InsulationTest &test)
{
    const bool carriesDar = test.mode == DMMData::dmIR || isStandardDar(test);
    return carriesDar ? presentOrNan(test.meterDar) : nan;
}

double CurveAnalysis::meterPi(const InsulationTest &test)
{
    const bool carriesPi = test.mode == DMMData::dmIR || isStandardPi(test);
    return carriesPi ? presentOrNan(test.meterPi) : nan;
}

double CurveAnalysis::meterRatio(const InsulationTest &test)
{
    if (test.mode == DMMData::dmPI)
        return presentOrNan(test.meterPi);
    if (test.mode == DMMData::dmDAR)
        return presentOrNan(test.meterDar);
    return nan;
}

QString CurveAnalysis::ratioName(const InsulationTest &test)
{
    if (!hasSetTimes(test))
        return QString();
    const auto mark = [](int seconds) {
        return seconds % 60 == 0 ? QStringLiteral("R%1min").arg(seconds / 60) : QStringLiteral("R%1s").arg(seconds);
    };
    return mark(test.setSeconds2) + QLatin1Char('/') + mark(test.setSeconds);
}

bool CurveAnalysis::isStandardPi(const InsulationTest &test)
{
    return test.mode == DMMData::dmPI && test.setSeconds == oneMinute && test.setSeconds2 == tenMinutes;
}

bool CurveAnalysis::isStandardDar(const InsulationTest &test)
{
    return test.mode == DMMData::dmDAR && (test.setSeconds == seconds30 || test.setSeconds == seconds15)
        && test.setSeconds2 == oneMinute;
}

bool CurveAnalysis::differ(double a, double b)
{
    return std::isfinite(a) && std::isfinite(b) && std::abs(a - b) > ratioTolerance * std::abs(b);
}
