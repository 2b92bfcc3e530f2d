// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "insulation/curveanalysis.h"
#include "insulation/insulationtest.h"
#include "insulation/piprediction.h"

#include <QCoreApplication>

#include <optional>

class QCPItemText;
class QCustomPlot;

// A test's curve as the Tests window draws it (a report's is CurveChart):
// resistance on a logarithmic axis against the meter's test time, the marks
// the ratios are read at with the values read there, and on request the
// leakage current on a second axis. While a test the PI prediction follows
// runs, the axis reaches ten minutes and the curve is carried on there as a
// dashed line in its shaded band, the expected PI written beside the marks.
class CurvePlot
{
    Q_DECLARE_TR_FUNCTIONS(CurvePlot)

public:
    CurvePlot() = delete;

    // Once, on a new plot: the resistance and leakage graphs and their axes.
    static void setUp(QCustomPlot &plot);
    // Replaces what was drawn before; `values` are the test's own, and
    // `prediction` that of a running test the prediction follows.
    static void draw(QCustomPlot &plot, const InsulationTest &test, const CurveAnalysis::Values &values,
                     bool withLeakage, const std::optional<PiPrediction> &prediction = std::nullopt);
    // The text beside the marks of a running test's prediction; null when none is shown.
    static const QCPItemText *predictionText(const QCustomPlot &plot);
};
