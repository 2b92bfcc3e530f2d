// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QRectF>
#include <QStringList>

class QCPAxis;
class QCustomPlot;

// What a chart draws beside its graphs, read back from its items.
namespace PlotItems {

// Where the horizontal lines on `axis` stand, in the order they were added.
QList<double> horizontalLines(const QCustomPlot &plot, const QCPAxis *axis);

// Where the vertical lines stand on the time axis, in the order they were added.
QList<double> verticalLines(const QCustomPlot &plot);

// The texts the chart writes on itself.
QStringList texts(const QCustomPlot &plot);

struct Label
{
    QString text;
    QRectF rect; // in pixels, as the chart was last laid out
};
// The texts the chart shows, where they stand.
QList<Label> shownTexts(const QCustomPlot &plot);

} // namespace PlotItems
