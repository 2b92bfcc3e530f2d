// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "report/curvechart.h"

#include "insulation/resistancetext.h"
#include "report/chartstyle.h"
#include "report/palette.h"

#include <qcustomplot.h>

#include <algorithm>
#include <cmath>

namespace {
constexpr double defaultLowest = 1.0;
constexpr double defaultHighest = 1000.0;
constexpr double minimumLabelGap = 0.12; // of the time axis

bool drawable(const CurvePoint &point)
{
    return std::isfinite(point.megohms) && point.megohms > 0.0;
}

QCPGraph *addCurve(QCustomPlot &plot, const InsulationTest &test)
{
    QCPGraph *curve = plot.addGraph();
    curve->setName(CurveChart::tr("Insulation resistance"));
    curve->setPen(QPen(Palette::accent, 1.5));
    curve->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, 3));
    QCPGraph *beyond = plot.addGraph();
    beyond->setName(CurveChart::tr("Beyond the range (a lower bound)"));
    beyond->setLineStyle(QCPGraph::lsNone);
    beyond->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssTriangle, QPen(Palette::warning, 1.2),
                                            Qt::NoBrush, 7));
    for (const CurvePoint &point : test.curve) {
        curve->addData(point.seconds, drawable(point) ? point.megohms : qQNaN());
        if (point.overRange && drawable(point))
            beyond->addData(point.seconds, point.megohms);
    }
    return curve;
}

// On white, so that the curve passing behind leaves the name readable.
void addMark(QCustomPlot &plot, const CurveAnalysis::Mark &mark)
{
    QCPItemText *name = ChartStyle::addMark(plot, mark, 0.03, 0.08);
    name->setFont(ChartStyle::font(plot.font(), ChartStyle::smallTextPixels));
    name->setBrush(Qt::white);
}

// Near the right end the value reads leftwards, so it stays on the chart.
void addReading(QCustomPlot &plot, double seconds, double value, bool nearRightEnd)
{
    auto *reading = new QCPItemText(&plot);
    reading->position->setCoords(seconds, value);
    reading->setPositionAlignment(Qt::AlignBottom | (nearRightEnd ? Qt::AlignRight : Qt::AlignLeft));
    reading->setPadding(nearRightEnd ? QMargins(0, 0, 3, 3) : QMargins(3, 0, 0, 3));
    reading->setFont(ChartStyle::font(plot.font(), ChartStyle::smallTextPixels));
    reading->setText(ResistanceText::megohms(value));
}

// The values read at the marks stand in the table above the chart; on the
// chart only those far enough apart to be read, the later marks first.
void addMarks(QCustomPlot &plot, const ReportContent::Test &test)
{
    using Mark = CurveAnalysis::Mark;
    const auto &marks = CurveAnalysis::marks;
    const double last = test.test.curve.constLast().seconds;
    const double span = plot.xAxis->range().size();
    for (const Mark &mark : marks) {
        if (mark.seconds <= last)
            addMark(plot, mark);
    }
    double labelled = qInf();
    for (auto mark = marks.crbegin(); mark != marks.crend(); ++mark) {
        const double value = mark->in(test.values);
        if (mark->seconds > last || !std::isfinite(value) || labelled - mark->seconds < span * minimumLabelGap)
            continue;
        addReading(plot, mark->seconds, value, mark->seconds > plot.xAxis->range().upper - span * 0.2);
        labelled = mark->seconds;
    }
}

void setRanges(QCustomPlot &plot, const QCPGraph &curve)
{
    bool found = false;
    const QCPRange keys = curve.data()->keyRange(found);
    plot.xAxis->setRange(0.0, found ? std::max(keys.upper * 1.06, 10.0) : 60.0);
    const QCPRange values = curve.data()->valueRange(found, QCP::sdBoth);
    // Room above the highest reading for its mark's label.
    plot.yAxis->setRange(found ? QCPRange(values.lower / 1.6, values.upper * 2.5) : QCPRange(defaultLowest, defaultHighest));
}
} // namespace

std::unique_ptr<QCustomPlot> CurveChart::make(const ReportContent::Test &test, const QFont &reportFont)
{
    auto plot = std::make_unique<QCustomPlot>();
    ChartStyle::apply(*plot, reportFont);
    ChartStyle::makeResistanceAxis(*plot->yAxis);
    plot->yAxis->setLabel(tr("Insulation resistance"));
    plot->xAxis->setLabel(tr("Test time (s)"));
    const QCPGraph *curve = addCurve(*plot, test.test);
    const bool beyond = !plot->graph(1)->data()->isEmpty();
    if (beyond) {
        ChartStyle::putLegendBelow(*plot);
        plot->legend->removeItem(plot->legend->itemWithPlottable(plot->graph(0)));
    }
    setRanges(*plot, *curve);
    addMarks(*plot, test);
    return plot;
}

bool CurveChart::hasCurve(const InsulationTest &test)
{
    return std::any_of(test.curve.cbegin(), test.curve.cend(), drawable);
}
