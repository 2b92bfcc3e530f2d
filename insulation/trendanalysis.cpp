// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "insulation/trendanalysis.h"

#include "insulation/resistancetext.h"
#include "insulation/testdate.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QLocale>

#include <algorithm>
#include <cmath>

namespace {
bool comparable(const TrendAnalysis::Point &point)
{
    return std::isfinite(point.megohms) && point.megohms > 0.0 && std::isfinite(point.celsius);
}

// The item's latest earlier test at a similar temperature, or -1.
int previousSimilar(const QList<TrendAnalysis::Point> &points, int index)
{
    for (int j = index - 1; j >= 0; --j) {
        if (comparable(points.at(j))
            && std::abs(points.at(j).celsius - points.at(index).celsius) <= TrendAnalysis::similarWithinCelsius)
            return j;
    }
    return -1;
}

QString warningText(const TrendAnalysis::Point &earlier, const TrendAnalysis::Point &now)
{
    const int fall = int(std::round((1.0 - now.megohms / earlier.megohms) * 100.0));
    return QCoreApplication::translate("TrendAnalysis",
                                       "IR1min fell by %1 % since the test of %2: from %3 at %4 to %5 at %6")
        .arg(fall)
        .arg(QLocale().toString(QDateTime::fromMSecsSinceEpoch(earlier.ms).date(), QLocale::ShortFormat),
             ResistanceText::megohms(earlier.megohms, earlier.overRange), ResistanceText::celsius(earlier.celsius),
             ResistanceText::megohms(now.megohms, now.overRange), ResistanceText::celsius(now.celsius));
}
} // namespace

// A reading beyond the range is a lower bound: as the earlier one, a fall
// from it is a fall at least as large; as the later one, it tells no fall.
void TrendAnalysis::flagFalls(QList<Point> &points)
{
    std::stable_sort(points.begin(), points.end(), [](const Point &a, const Point &b) { return a.ms < b.ms; });
    for (int i = 0; i < points.size(); ++i) {
        Point &point = points[i];
        point.warning.clear();
        if (!comparable(point) || point.overRange)
            continue;
        const int earlier = previousSimilar(points, i);
        if (earlier >= 0 && point.megohms < fallRatio * points.at(earlier).megohms)
            point.warning = warningText(points.at(earlier), point);
    }
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
    point.outcome = verdict.outcome;
    point.qualified = verdict.isQualified();
    point.outcomeText = verdict.outcomeText();
    // The minimum among the values shown, at the base they are shown at.
    point.minimumMegohms = verdict.shownMinimumMegohms;
    point.minimumPi = verdict.minimumPi;
    // A ratio at other set times than 1 and 10 min is no PI: meterPi leaves it out.
    point.pi = std::isfinite(values.pi) ? values.pi : CurveAnalysis::meterPi(test);
    // The resistance the verdict judged (IR1min where the test has one,
    // a memory record's RES1 at 1 min included), corrected where it could be.
    point.megohms = std::isfinite(verdict.correctedMegohms) ? verdict.correctedMegohms : verdict.measuredMegohms;
    point.overRange = verdict.measuredOverRange;
    if (std::isnan(point.megohms) && !point.overRange) {
        point.megohms = std::isfinite(values.r60) ? values.r60 : test.finalMegohms;
        point.overRange = !std::isfinite(values.r60) && test.finalOverRange;
    }
    return point;
}
