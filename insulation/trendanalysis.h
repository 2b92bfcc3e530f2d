// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "insulation/curveanalysis.h"
#include "insulation/equipmentitem.h"
#include "insulation/insulationtest.h"
#include "insulation/testdetails.h"
#include "insulation/verdict.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

#include <limits>

// An item's tests over the years: what each says of the insulation, and the
// early warning the trend exists for. A fall of more than half in the
// corrected one-minute resistance, from the item's previous comparable test
// or from its best comparable one so far, is flagged even when both tests
// pass. Tests compare when they were made at the same test point (U-E is no
// measure of V-E), at a similar temperature (within 5 °C) and the same test
// voltage, and their values are corrected to the same base (or neither is
// corrected); a test judged by the meter's own limit compares with none.
class TrendAnalysis
{
    Q_DECLARE_TR_FUNCTIONS(TrendAnalysis)

public:
    struct Point
    {
        qint64 testId = -1;
        // When the test was made; for a record of the meter's memory whose
        // date was not given, when it was downloaded (then not `dateKnown`).
        qint64 ms = 0;
        bool dateKnown = true;
        // Where on the item it was made, as given ("U-E"); empty when not.
        QString testPoint;
        int mode = 0; // DMMData::DataMode
        // The corrected one-minute (or final) resistance, in MΩ; NaN when
        // the test gave none.
        double megohms = std::numeric_limits<double>::quiet_NaN();
        bool overRange = false;
        double pi = std::numeric_limits<double>::quiet_NaN();
        // The insulation's temperature at the test; NaN when not given.
        double celsius = std::numeric_limits<double>::quiet_NaN();
        // The base `megohms` is corrected to; NaN where it is as measured.
        double baseCelsius = std::numeric_limits<double>::quiet_NaN();
        int volts = 0; // the test voltage set; 0 when not known
        // Judged by the meter against its own limit (COMP): never corrected,
        // so neither compared with other tests nor a source of the lines.
        bool meterLimit = false;
        Verdict::Outcome outcome = Verdict::Outcome::NotAssessed;
        // A pass that did not assess everything, and the verdict as said:
        // "Pass on IR1min; PI not measured".
        bool qualified = false;
        QString outcomeText;
        // The minimum resistance and PI the test's verdict asked for (NaN
        // where none applied): those of linesOf() are the trend's lines.
        double minimumMegohms = std::numeric_limits<double>::quiet_NaN();
        double minimumPi = std::numeric_limits<double>::quiet_NaN();
        // Set by flagFalls(): why this point is a warning, empty when it is none.
        QString warning;
    };

    static constexpr double fallRatio = 0.5;
    static constexpr double similarWithinCelsius = 5.0;

    // The tests of one test point, as a chart draws them apart.
    struct Series
    {
        QString name; // the test point as first given, or "no test point"
        QList<int> indices; // into the points, in their order
    };

    TrendAnalysis() = delete;

    // Sorts the points by time and fills each point's warning. A warning
    // names its test point where the item's tests name any.
    static void flagFalls(QList<Point> &points);
    // The latest point whose rules judge the item, whose minimums the trend
    // draws; a default point when there is none.
    static Point linesOf(const QList<Point> &points);
    // The points by test point: the named ones in the order of their names
    // ("core 2-E" before "core 10-E"), those without one last.
    static QList<Series> seriesOf(const QList<Point> &points);
    static bool sameTestPoint(const QString &a, const QString &b);
    // The order of test points: by name, numbers as numbers, none last.
    static int compareTestPoints(const QString &a, const QString &b);
    // "U-E"; "no test point" where none was given.
    static QString seriesName(const QString &testPoint);

    // The details a test is judged by in its item's trend: what belongs to
    // the item as the register holds it now, over what the test was saved
    // with, so that every point stands on one basis. A base temperature the
    // test was given of its own stays where the item gives none.
    static TestDetails trendDetails(const TestDetails &saved, const EquipmentItem &item);
    // A test as its item's trend shows it, judged by trendDetails().
    static Point pointOf(const InsulationTest &test, const TestDetails &saved, const EquipmentItem &item);
    // A judged test as its item's trend shows it: the corrected one-minute
    // resistance, or where there is none the one-minute or final one.
    static Point pointOf(const InsulationTest &test, const CurveAnalysis::Values &values, const Verdict &verdict,
                         const TestDetails &details);
};
