// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "insulation/curveanalysis.h"
#include "insulation/insulationtest.h"
#include "insulation/testdetails.h"
#include "insulation/verdict.h"

#include <QList>
#include <QString>

#include <limits>

// An item's tests over the years: what each says of the insulation, and the
// early warning the trend exists for. A fall of more than half in the
// corrected one-minute resistance from the item's previous test at a
// similar temperature (within 5 °C) is flagged even when both tests pass.
class TrendAnalysis
{
public:
    struct Point
    {
        qint64 testId = -1;
        qint64 ms = 0; // when the test began
        // The corrected one-minute (or final) resistance, in MΩ; NaN when
        // the test gave none.
        double megohms = std::numeric_limits<double>::quiet_NaN();
        bool overRange = false;
        double pi = std::numeric_limits<double>::quiet_NaN();
        // The insulation's temperature at the test; NaN when not given.
        double celsius = std::numeric_limits<double>::quiet_NaN();
        Verdict::Outcome outcome = Verdict::Outcome::NotAssessed;
        // A pass that did not assess everything, and the verdict as said:
        // "Pass on IR1min; PI not measured".
        bool qualified = false;
        QString outcomeText;
        // The minimum resistance and PI the test's verdict asked for (NaN
        // where none applied): the latest test's are the trend's lines.
        double minimumMegohms = std::numeric_limits<double>::quiet_NaN();
        double minimumPi = std::numeric_limits<double>::quiet_NaN();
        // Set by flagFalls(): why this point is a warning, empty when it is none.
        QString warning;
    };

    static constexpr double fallRatio = 0.5;
    static constexpr double similarWithinCelsius = 5.0;

    TrendAnalysis() = delete;

    // Sorts the points by time and fills each point's warning.
    static void flagFalls(QList<Point> &points);
    // A judged test as its item's trend shows it: the corrected one-minute
    // resistance, or where there is none the one-minute or final one.
    static Point pointOf(const InsulationTest &test, const CurveAnalysis::Values &values, const Verdict &verdict,
                         const TestDetails &details);
};
