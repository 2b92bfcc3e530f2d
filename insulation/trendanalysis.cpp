// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "insulation/trendanalysis.h"

#include "insulation/resistancetext.h"
#include "insulation/testdate.h"
#include "insulation/verdictrules.h"
#include "meter/dmmdata.h"

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
// quantity at the same base, at the same test point, from the same test
// voltage, at temperatures close enough that what correction leaves is small.
bool comparable(const Point &earlier, const Point &now)
{
    return hasValue(earlier) && hasValue(now) && sameBase(earlier, now) && earlier.volts == now.volts
        && TrendAnalysis::sameTestPoint(earlier.testPoint, now.testPoint)
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
    const QLocale locale;
    return TrendAnalysis::tr(text)
        .arg(fall)
        .arg(ResistanceText::megohms(earlier.megohms, earlier.overRange), ResistanceText::celsius(earlier.celsius),
             TestDate::dateText(earlier.ms, earlier.dateKnown, locale, locale.dateFormat(QLocale::ShortFormat)),
             ResistanceText::megohms(now.megohms, now.overRange), ResistanceText::celsius(now.celsius));
}

QString warningOf(const QList<Point> &points, int index)
{
    const Point &now = points.at(index);
    QStringList warnings;
    const int previous = previousComparable(points, index);
    if (previous >= 0 && fellByMoreThanHalf(points.at(previous), now))
        warnings << warningText(QT_TRANSLATE_NOOP("TrendAnalysis", "IR1min fell by %1 % since the previous test "
                                                                   "(%2 at %3, %4) to %5 at %6"),
                                points.at(previous), now);
    const int best = bestComparable(points, index);
    if (best >= 0 && best != previous && fellByMoreThanHalf(points.at(best), now))
        warnings << warningText(QT_TRANSLATE_NOOP("TrendAnalysis", "IR1min fell by %1 % since the best "
                                                                   "(%2 at %3, %4) to %5 at %6"),
                                points.at(best), now);
    return warnings.join(TrendAnalysis::tr("; "));
}

// Case, spaces and the kind of dash are how a point was typed, not which.
QString pointKey(const QString &testPoint)
{
    QString key = testPoint.toCaseFolded();
    key.replace(QChar(0x2013), QLatin1Char('-')).replace(QChar(0x2212), QLatin1Char('-'));
    key.remove(QLatin1Char(' ')).remove(QLatin1Char('\t'));
    return key;
}
} // namespace

// A reading beyond the range now tells no fall: it is a lower bound.
void TrendAnalysis::flagFalls(QList<Point> &points)
{
    std::stable_sort(points.begin(), points.end(), [](const Point &a, const Point &b) { return a.ms < b.ms; });
    const bool pointsNamed = std::any_of(points.cbegin(), points.cend(),
                                         [](const Point &point) { return !point.testPoint.trimmed().isEmpty(); });
    for (int i = 0; i < points.size(); ++i) {
        Point &point = points[i];
        point.warning.clear();
        if (!point.overRange)
            point.warning = warningOf(points, i);
        if (pointsNamed && !point.warning.isEmpty())
            point.warning = tr("%1: %2").arg(seriesName(point.testPoint), point.warning);
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

QList<TrendAnalysis::Series> TrendAnalysis::seriesOf(const QList<Point> &points)
{
    QList<Series> series;
    for (int index = 0; index < points.size(); ++index) {
        const QString &testPoint = points.at(index).testPoint;
        auto it = std::find_if(series.begin(), series.end(), [&](const Series &one) {
            return sameTestPoint(points.at(one.indices.constFirst()).testPoint, testPoint);
        });
        if (it == series.end())
            it = series.insert(series.end(), Series{testPoint.trimmed(), {}});
        it->indices << index;
    }
    std::stable_sort(series.begin(), series.end(),
                     [](const Series &a, const Series &b) { return compareTestPoints(a.name, b.name) < 0; });
    for (Series &one : series)
        one.name = seriesName(one.name);
    return series;
}

// Digits as numbers, so that the tenth core follows the ninth.
int TrendAnalysis::compareTestPoints(const QString &a, const QString &b)
{
    const QString left = pointKey(a);
    const QString right = pointKey(b);
    if (left.isEmpty() || right.isEmpty())
        return int(left.isEmpty()) - int(right.isEmpty());
    int i = 0;
    int j = 0;
    while (i < left.size() && j < right.size()) {
        if (left.at(i).isDigit() && right.at(j).isDigit()) {
            const int startI = i;
            const int startJ = j;
            while (i < left.size() && left.at(i).isDigit())
                ++i;
            while (j < right.size() && right.at(j).isDigit())
                ++j;
            const qulonglong x = left.mid(startI, i - startI).toULongLong();
            const qulonglong y = right.mid(startJ, j - startJ).toULongLong();
            if (x != y)
                return x < y ? -1 : 1;
            continue;
        }
        if (left.at(i) != right.at(j))
            return left.at(i) < right.at(j) ? -1 : 1;
        ++i;
        ++j;
    }
    const int leftRest = left.size() - i;
    const int rightRest = right.size() - j;
    return leftRest == rightRest ? 0 : (leftRest < rightRest ? -1 : 1);
}

bool TrendAnalysis::sameTestPoint(const QString &a, const QString &b)
{
    return pointKey(a) == pointKey(b);
}

QString TrendAnalysis::seriesName(const QString &testPoint)
{
    const QString name = testPoint.trimmed();
    return name.isEmpty() ? tr("no test point") : name;
}

TestDetails TrendAnalysis::trendDetails(const TestDetails &saved, const EquipmentItem &item)
{
    TestDetails details = saved;
    item.applyTo(details);
    if (std::isnan(item.baseCelsius))
        details.baseCelsius = saved.baseCelsius;
    return details;
}

TrendAnalysis::Point TrendAnalysis::pointOf(const InsulationTest &test, const TestDetails &saved,
                                            const EquipmentItem &item)
{
    const TestDetails details = trendDetails(saved, item);
    const CurveAnalysis::Values values = CurveAnalysis::analyse(test);
    return pointOf(test, values, VerdictRules::judge(test, values, details), details);
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
    point.dateKnown = tested > 0;
    point.testPoint = details.testPoint.trimmed();
    point.mode = test.mode;
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
