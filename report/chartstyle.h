// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>

class QCustomPlot;
class QCPAxis;

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
};
