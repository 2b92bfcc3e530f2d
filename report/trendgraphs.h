// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "insulation/trendanalysis.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QString>

#include <qcustomplot.h>

// The graphs of an item's trend, on screen and on paper alike: for each test
// point a line through its corrected resistance in a colour and marker of
// its own, every marker filled with its verdict's colour, and its PI dashed
// in the same colour on the second axis; the readings beyond the range, the
// warned points ringed and numbered as the list of warnings numbers them;
// and a legend that names each test point, and the verdicts and the PI once.
class TrendGraphs
{
public:
    // What tells a window's chart from a page's.
    struct Look
    {
        double lineWidth = 2.0;
        double markerSize = 8.0;
        double ringSize = 16.0;
        QColor ringColour;
        QFont numberFont;
        // The legend's names; an empty one leaves its graphs out.
        QString resistanceName; // of the one series where no test point is named
        QString piName;
        QString beyondName;
        QString warningName;
    };

    TrendGraphs() = delete;

    // `points` in time order, on a plot whose axes are set.
    static void add(QCustomPlot &plot, const QList<TrendAnalysis::Point> &points, const Look &look);
    static QColor colour(int series);
    static QCPScatterStyle::ScatterShape shape(int series);
    // Where a point stands on the time axis.
    static double key(const TrendAnalysis::Point &point);
    static bool hasResistance(const TrendAnalysis::Point &point);
};
