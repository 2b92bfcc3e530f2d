// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "window/curveplot.h"

#include "insulation/resistancetext.h"
#include "report/chartstyle.h"
#include "report/palette.h"

#include <qcustomplot.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
enum Graph { ResistanceGraph, LeakageGraph };

// A reading without a resistance leaves a gap in the line.
void setCurve(QCustomPlot &plot, const QVector<CurvePoint> &curve)
{
    QVector<double> seconds;
    QVector<double> megohms;
    QVector<double> leakage;
    for (const CurvePoint &point : curve) {
        seconds << point.seconds;
        megohms << (std::isfinite(point.megohms) && point.megohms > 0.0 ? point.megohms
                                                                         : std::numeric_limits<double>::quiet_NaN());
        leakage << point.leakageMicroamps;
    }
    plot.graph(ResistanceGraph)->setData(seconds, megohms, true);
    plot.graph(LeakageGraph)->setData(seconds, leakage, true);
}

void showLeakage(QCustomPlot &plot, bool shown)
{
    plot.graph(LeakageGraph)->setVisible(shown);
    plot.yAxis2->setVisible(shown);
}

void addReading(QCustomPlot &plot, double seconds, double megohms)
{
    auto *reading = new QCPItemText(&plot);
    reading->position->setCoords(seconds, megohms);
    reading->setPositionAlignment(Qt::AlignBottom | Qt::AlignLeft);
    reading->setPadding(QMargins(4, 0, 0, 4));
    reading->setText(ResistanceText::megohms(megohms));
}

// The marks the curve reaches, each with the value read there.
void addMarks(QCustomPlot &plot, const CurveAnalysis::Values &values, double lastSecond)
{
    for (const CurveAnalysis::Mark &mark : CurveAnalysis::marks) {
        if (mark.seconds > lastSecond)
            continue;
        ChartStyle::addMark(plot, mark, 0.02, 0.06);
        if (std::isfinite(mark.in(values)))
            addReading(plot, mark.seconds, mark.in(values));
    }
}

void setRanges(QCustomPlot &plot, bool withLeakage)
{
    const QCPGraph &resistance = *plot.graph(ResistanceGraph);
    bool found = false;
    const QCPRange keys = resistance.data()->keyRange(found);
    plot.xAxis->setRange(found ? QCPRange(0.0, std::max(keys.upper * 1.08, 10.0)) : QCPRange(0.0, 60.0));
    const QCPRange values = resistance.data()->valueRange(found, QCP::sdBoth);
    plot.yAxis->setRange(found ? QCPRange(values.lower / 1.25, values.upper * 1.25) : QCPRange(1.0, 1000.0));
    if (withLeakage)
        plot.graph(LeakageGraph)->rescaleValueAxis();
}
} // namespace

void CurvePlot::setUp(QCustomPlot &plot)
{
    QCPGraph *resistance = plot.addGraph(plot.xAxis, plot.yAxis);
    QCPGraph *leakage = plot.addGraph(plot.xAxis, plot.yAxis2);
    resistance->setName(tr("Resistance"));
    resistance->setPen(QPen(Palette::accent, 2));
    resistance->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCircle, 5));
    leakage->setName(tr("Leakage current"));
    leakage->setPen(QPen(Palette::secondSeries, 1, Qt::DashLine));
    ChartStyle::makeResistanceAxis(*plot.yAxis);
    plot.yAxis->setLabel(tr("Resistance"));
    plot.xAxis->setLabel(tr("Test time (s)"));
    plot.yAxis2->setLabel(tr("Leakage current (µA)"));
    plot.legend->setVisible(false);
    plot.xAxis->setRange(0.0, 60.0);
    plot.yAxis->setRange(1.0, 1000.0);
}

void CurvePlot::draw(QCustomPlot &plot, const InsulationTest &test, const CurveAnalysis::Values &values,
                     bool withLeakage)
{
    plot.clearItems();
    setCurve(plot, test.curve);
    showLeakage(plot, withLeakage);
    addMarks(plot, values, test.curve.isEmpty() ? 0.0 : test.curve.constLast().seconds);
    setRanges(plot, withLeakage);
    plot.replot();
}
