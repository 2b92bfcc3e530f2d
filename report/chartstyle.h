// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "insulation/curveanalysis.h"

#include <QFont>

class QCustomPlot;
class QCPAxis;
class QCPItemText;

// What the charts share, in the windows and on paper: a resistance axis and
// the legend in a row under the plot; and for a report's, the report's font
// sized in pixels (they are laid out in screen pixels and scaled onto the
// page).
class ChartStyle
{
public:
    ChartStyle() = delete;

    static constexpr int textPixels = 11;
    static constexpr int smallTextPixels = 10;

    static QFont font(const QFont &reportFont, int pixels = textPixels);
    static void apply(QCustomPlot &plot, const QFont &reportFont);
    // Logarithmic, labelled in MΩ, GΩ or TΩ.
    static void makeResistanceAxis(QCPAxis &axis);
    static void putLegendBelow(QCustomPlot &plot);
    // A mark of a test's curve: a dotted line at its time and its name at
    // the top of the plot, `top` of the plot's height down; the names of the
    // early marks go `rowHeight` below one another, as they stand close
    // together on a ten-minute test.
    static QCPItemText *addMark(QCustomPlot &plot, const CurveAnalysis::Mark &mark, double top, double rowHeight);
};
