// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "insulation/trendanalysis.h"

#include <QCoreApplication>
#include <QList>

class QCustomPlot;

// An item's trend as the Equipment window draws it (a report's is
// TrendChart, with the same graphs): a line through the corrected
// one-minute resistance of the tests of each test point, each point filled
// with its verdict's colour, the PI on a second axis, the falls that warn
// ringed and numbered as the window's list of warnings, and the minimum
// lines of the rules that judge the item.
class TrendPlot
{
    Q_DECLARE_TR_FUNCTIONS(TrendPlot)

public:
    TrendPlot() = delete;

    // Once, on a new plot: its axes and the legend under it.
    static void setUp(QCustomPlot &plot);
    // `points` in time order, as TrendAnalysis leaves them; replaces what
    // was drawn before.
    static void draw(QCustomPlot &plot, const QList<TrendAnalysis::Point> &points);
    // Where a point stands on the time axis.
    static double key(const TrendAnalysis::Point &point);
};
