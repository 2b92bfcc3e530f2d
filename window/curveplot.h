// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "insulation/curveanalysis.h"
#include "insulation/insulationtest.h"

#include <QCoreApplication>

class QCustomPlot;

// A test's curve as the Tests window draws it (a report's is CurveChart):
// resistance on a logarithmic axis against the meter's test time, the marks
// the ratios are read at with the values read there, and on request the
// leakage current on a second axis.
class CurvePlot
{
    Q_DECLARE_TR_FUNCTIONS(CurvePlot)

public:
    CurvePlot() = delete;

    // Once, on a new plot: the resistance and leakage graphs and their axes.
    static void setUp(QCustomPlot &plot);
    // Replaces what was drawn before; `values` are the test's own.
    static void draw(QCustomPlot &plot, const InsulationTest &test, const CurveAnalysis::Values &values,
                     bool withLeakage);
};
