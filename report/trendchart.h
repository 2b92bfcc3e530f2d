// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "insulation/trendanalysis.h"

#include <QCoreApplication>
#include <QList>

#include <memory>

class QCustomPlot;

// An item's tests over the years on paper: the corrected one-minute (or
// final) resistance of each test point on a logarithmic axis against the
// date, filled by outcome, its PI on a second axis, the minimums of the
// rules that judge the item as lines, and the points that warn of a fall
// ringed and numbered as the list under the chart numbers them.
class TrendChart
{
    Q_DECLARE_TR_FUNCTIONS(TrendChart)

public:
    TrendChart() = delete;

    // `points` in time order.
    static std::unique_ptr<QCustomPlot> make(const QList<TrendAnalysis::Point> &points, const QFont &reportFont);
};
