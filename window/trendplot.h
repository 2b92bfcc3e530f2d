// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "insulation/trendanalysis.h"

#include <QCoreApplication>
#include <QList>

class QCustomPlot;

// An item's trend as the Equipment window draws it (a report's is
// TrendChart): a line through the corrected one-minute resistance of its
// tests, each point coloured by its verdict, the PI on a second axis, the
// falls that warn ringed, and the minimum lines of the latest verdict.
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
