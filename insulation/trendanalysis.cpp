// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "insulation/trendanalysis.h"

#include "insulation/resistancetext.h"
#include "insulation/testdate.h"
#include "meter/dmmdata.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QLocale>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {
using Point = TrendAnalysis::Point;

bool hasValue(const Point &point)
{
    return std::isfinite(point.megohms) && point.megohms > 0.0 && std::isfinite(point.celsius) && !point.meterLimit;
}

bool sameBase(const Point &a, const Point &b)
{
    if (std::isnan(a.baseCelsius) || std::isnan(b.baseCelsius))
        return std::isnan(a.baseCelsius) && std::isnan(b.baseCelsius);
    return a.baseCelsius == b.baseCelsius;
}

// Values differing only by what the insulation says of itself: the same
// quantity at the same base, from the same test voltage, at temperatures
// close enough that what correction leaves is small.
bool comparable(const Point &earlier, const Point &now)
{
    return hasValue(earlier) && hasValue(now) && sameBase(earlier, now) && earlier.volts == now.volts
        && std::abs(earlier.celsius - now.celsius) <= TrendAnalysis::similarWithinCelsius;
}

// The item's latest earlier comparable test, or -1.
int previousComparable(const QList<Point> &points, int index)
{
    for (int j = index - 1; j >= 0; --j) {
        if (comparable(points.at(j), points.at(index)))
            return j;
    }
    return -1;
}

// The item's highest earlier comparable value, or -1; the earliest of equals.
int bestComparable(const QList<Point> &points, int index)
{
    int best = -1;
    for (int j = 0; j < index; ++j) {
        if (comparable(points.at(j), points.at(index)) && (best < 0 || points.at(j).megohms > points.at(best).megohms))
            best = j;
    }
    return best;
}

// A reading beyond the range is a lower bound: as the earlier one, a fall
// from it is a fall at least as large.
bool fellByMoreThanHalf(const Point &earlier, const Point &now)
{
    return now.megohms < TrendAnalysis::fallRatio * earlier.megohms;
}

QString warningText(const char *text, const Point &earlier, const Point &now)
{
    const int fall = int(std::round((1.0 - now.megohms / earlier.megohms) * 100.0));
    return QCoreApplication::translate("TrendAnalysis", text)
        .arg(fall)
        .arg(ResistanceText::megohms(earlier.megohms, earlier.overRange), ResistanceText::celsius(earlier.celsius),
             QLocale().toString(QDateTime::fromMSecsSinceEpoch(earlier.ms).date(), QLocale::ShortFormat),
             ResistanceText::megohms(now.megohms, now.overRange), ResistanceText::celsius(now.celsius));
}

QString warningOf(const QList<Point> &points, int index)
{
    const Point &now = points.at(index);
    QStringList warnings;
    const int previous = previousComparable(points, index);
    if (previous >= 0 && fellByMoreThanHalf(points.at(previous), now))
        warnings << warningText(
            QT_TRANSLATE_NOOP("TrendAnalysis", "IR1min fell by %1 % since the previous test, %2 at %3 on %4, to %5 at %6"),
            points.at(previous), now);
    const int best = bestComparable(points, index);
    if (best >= 0 && best != previous && fellByMoreThanHalf(points.at(best), now))
        warnings << warningText(
            QT_TRANSLATE_NOOP("TrendAnalysis", "IR1min fell by %1 % since the best, %2 at %3 on %4, to %5 at %6"),
            points.at(best), now);
    return warnings.join(QCoreApplication::translate("TrendAnalysis", "; "));
}
} // namespace

// A reading beyond the range now tells no fall: it is a lower bound.
void TrendAnalysis::flagFalls(QList<Point> &points)
{
    std::stable_sort(points.begin(), points.end(), [](const Point &a, const Point &b) { return a.ms < b.ms; });
    for (int i = 0; i < points.size(); ++i) {
        Point &point = points[i];
        point.warning.clear();
        if (!point.overRange)
            point.warning = warningOf(points, i);
    }
}

TrendAnalysis::Point TrendAnalysis::linesOf(const QList<Point> &points)
{
    for (auto it = points.crbegin(); it != points.crend(); ++it) {
        if (!it->meterLimit)
            return *it;
    }
    return Point();
}

TrendAnalysis::Point TrendAnalysis::pointOf(const InsulationTest &test, const CurveAnalysis::Values &values,
                                            const Verdict &verdict, const TestDetails &details)
{
    Point point;
    point.testId = test.id;
    // A memory record stands at the date the technician gave it; until
    // then, at its download.
    const qint64 tested = TestDate::testedMs(test, details);
    point.ms = tested > 0 ? tested : test.startedMs;
    point.celsius = details.insulationCelsius;
    point.volts = test.setVolts;
    point.meterLimit = test.mode == DMMData::dmCOMP;
    point.outcome = verdict.outcome;
    point.qualified = verdict.isQualified();
    point.outcomeText = verdict.outcomeText();
    // The minimum among the values shown, at the base they are shown at;
    // a meter's limit is no rule of the item's.
    if (!point.meterLimit) {
        point.minimumMegohms = verdict.shownMinimumMegohms;
        point.minimumPi = verdict.minimumPi;
    }
    // A ratio at other set times than 1 and 10 min is no PI: meterPi leaves it out.
    point.pi = std::isfinite(values.pi) ? values.pi : CurveAnalysis::meterPi(test);
    // The resistance the verdict judged (IR1min where the test has one,
    // a memory record's RES1 at 1 min included), corrected where it could be.
    point.megohms = std::isfinite(verdict.correctedMegohms) ? verdict.correctedMegohms : verdict.measuredMegohms;
    point.overRange = verdict.measuredOverRange;
    point.baseCelsius = std::isfinite(verdict.correctedMegohms) ? verdict.baseCelsius : std::numeric_limits<double>::quiet_NaN();
    if (std::isnan(point.megohms) && !point.overRange) {
        point.megohms = std::isfinite(values.r60) ? values.r60 : test.finalMegohms;
        point.overRange = !std::isfinite(values.r60) && test.finalOverRange;
    }
    return point;
}
