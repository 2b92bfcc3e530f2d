// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "report/reportcontent.h"

#include <QCoreApplication>

#include <memory>

class QCustomPlot;

// A test's curve as the Tests view draws it: resistance on a logarithmic
// axis against the meter's test time, the marks at 15 s, 30 s, 1 min and
// 10 min with the values read there, readings beyond the range shown as
// the lower bounds they are.
class CurveChart
{
    Q_DECLARE_TR_FUNCTIONS(CurveChart)

public:
    CurveChart() = delete;

    static std::unique_ptr<QCustomPlot> make(const ReportContent::Test &test, const QFont &reportFont);
    // A curve with at least one point to draw.
    static bool hasCurve(const InsulationTest &test);
};
