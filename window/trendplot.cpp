// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "window/trendplot.h"

#include "insulation/resistancetext.h"
#include "report/chartstyle.h"
#include "report/palette.h"

#include <QDateTime>

#include <qcustomplot.h>

#include <algorithm>
#include <utility>
#include <cmath>

namespace {
using Point = TrendAnalysis::Point;

constexpr double secondsPerDay = 86400.0;
constexpr double secondsPerYear = 365 * secondsPerDay;

bool hasResistance(const Point &point)
{
    return std::isfinite(point.megohms) && point.megohms > 0.0;
}

// Points on the resistance axis, with no line between them.
QCPGraph *addScatter(QCustomPlot &plot, const QString &name, const QCPScatterStyle &style)
{
    QCPGraph *graph = plot.addGraph(plot.xAxis, plot.yAxis);
    graph->setLineStyle(QCPGraph::lsNone);
    graph->setScatterStyle(style);
    graph->setName(name);
    return graph;
}

void dropFromLegendIfEmpty(QCPGraph &graph)
{
    if (graph.dataCount() == 0)
        graph.removeFromLegend();
}

QCPGraph *addResistance(QCustomPlot &plot, const QList<Point> &points)
{
    QCPGraph *resistance = plot.addGraph(plot.xAxis, plot.yAxis);
    resistance->setName(TrendPlot::tr("IR1min, corrected"));
    resistance->setPen(QPen(Palette::accent, 2));
    for (const Point &point : points) {
        if (hasResistance(point))
            resistance->addData(TrendPlot::key(point), point.megohms);
    }
    return resistance;
}

QCPGraph *addPi(QCustomPlot &plot, const QList<Point> &points)
{
    QCPGraph *pi = plot.addGraph(plot.xAxis, plot.yAxis2);
    pi->setName(TrendPlot::tr("PI"));
    pi->setPen(QPen(Palette::secondSeries, 1, Qt::DashLine));
    pi->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDiamond, 6));
    for (const Point &point : points) {
        if (std::isfinite(point.pi))
            pi->addData(TrendPlot::key(point), point.pi);
    }
    return pi;
}

// The points again, coloured by their verdicts over the line; a pass that
// did not assess everything has its own colour.
void addOutcomes(QCustomPlot &plot, const QList<Point> &points)
{
    const std::pair<Verdict::Outcome, bool> kinds[] = {{Verdict::Outcome::Pass, false},
                                                       {Verdict::Outcome::Pass, true},
                                                       {Verdict::Outcome::Fail, false},
                                                       {Verdict::Outcome::NotAssessed, false}};
    for (const auto &[outcome, qualified] : kinds) {
        QCPGraph *graph = addScatter(plot, qualified ? Verdict::qualifiedPassText() : Verdict::outcomeText(outcome),
                                     QCPScatterStyle(QCPScatterStyle::ssDisc, Palette::outcome(outcome, qualified), 8));
        for (const Point &point : points) {
            if (point.outcome == outcome && point.qualified == qualified && hasResistance(point))
                graph->addData(TrendPlot::key(point), point.megohms);
        }
        dropFromLegendIfEmpty(*graph);
    }
}

// A warning tells a fall of the resistance, so a warned point has one.
void addWarnings(QCustomPlot &plot, const QList<Point> &points)
{
    QCPGraph *rings = addScatter(plot, TrendPlot::tr("fell by more than half"),
                                 QCPScatterStyle(QCPScatterStyle::ssCircle, QPen(Palette::fail, 2), Qt::NoBrush, 16));
    for (const Point &point : points) {
        if (!point.warning.isEmpty())
            rings->addData(TrendPlot::key(point), point.megohms);
    }
    dropFromLegendIfEmpty(*rings);
}

// Years across the years, months across months: a full date on every tick
// would run the labels into each other.
void showDatesFor(QCPAxis &axis)
{
    const double span = axis.range().size();
    const QString format = span > 3 * secondsPerYear ? QStringLiteral("yyyy")
        : span > 120 * secondsPerDay                 ? QStringLiteral("MMM yyyy")
                                                     : QStringLiteral("d MMM yyyy");
    if (const auto dates = qSharedPointerCast<QCPAxisTickerDateTime>(axis.ticker()))
        dates->setDateTimeFormat(format);
}

// The tests' dates with a margin; the last year when there is none.
void setTimeRange(QCPAxis &axis, const QCPGraph &resistance)
{
    bool found = false;
    QCPRange keys = resistance.data()->keyRange(found);
    if (!found) {
        const double now = QDateTime::currentMSecsSinceEpoch() / 1000.0;
        keys = QCPRange(now - secondsPerYear, now);
    }
    const double margin = std::max(keys.size() * 0.08, 15 * secondsPerDay);
    axis.setRange(keys.lower - margin, keys.upper + margin);
    showDatesFor(axis);
}

void addMinimumLine(QCustomPlot &plot, QCPAxis *axis, double value, const QColor &colour)
{
    auto *line = new QCPItemStraightLine(&plot);
    line->point1->setAxes(plot.xAxis, axis);
    line->point2->setAxes(plot.xAxis, axis);
    line->point1->setCoords(0, value);
    line->point2->setCoords(1, value);
    line->setPen(QPen(colour, 1, Qt::DashDotLine));
}

// The resistance's line is named at the left; the PI's stands on its own
// axis, whose ticks name it.
void addMinimumLines(QCustomPlot &plot, const Point &latest)
{
    if (std::isfinite(latest.minimumMegohms)) {
        addMinimumLine(plot, plot.yAxis, latest.minimumMegohms, Palette::accent);
        auto *label = new QCPItemText(&plot);
        label->position->setTypeX(QCPItemPosition::ptAxisRectRatio);
        label->position->setCoords(0.01, latest.minimumMegohms);
        label->setPositionAlignment(Qt::AlignLeft | Qt::AlignBottom);
        label->setText(TrendPlot::tr("minimum %1").arg(ResistanceText::megohms(latest.minimumMegohms)));
        label->setColor(Palette::accent);
    }
    if (std::isfinite(latest.minimumPi))
        addMinimumLine(plot, plot.yAxis2, latest.minimumPi, Palette::secondSeries);
}

void setResistanceRange(QCPAxis &axis, const QCPGraph &resistance, double minimum)
{
    bool found = false;
    QCPRange values = resistance.data()->valueRange(found, QCP::sdBoth);
    if (!found)
        values = QCPRange(10.0, 10000.0);
    if (std::isfinite(minimum))
        values.lower = std::min(values.lower, minimum);
    axis.setRange(values.lower / 2.0, values.upper * 2.0);
}

void setPiRange(QCPAxis &axis, const QCPGraph &pi, double minimum)
{
    bool found = false;
    QCPRange ratios = pi.data()->valueRange(found);
    if (!found)
        ratios = QCPRange(1.0, 4.0);
    if (std::isfinite(minimum)) {
        ratios.lower = std::min(ratios.lower, minimum);
        ratios.upper = std::max(ratios.upper, minimum);
    }
    axis.setRange(std::max(0.0, ratios.lower - 0.5), ratios.upper + 0.5);
}
} // namespace

void TrendPlot::setUp(QCustomPlot &plot)
{
    QSharedPointer<QCPAxisTickerDateTime> dates(new QCPAxisTickerDateTime);
    dates->setTickCount(4);
    plot.xAxis->setTicker(dates);
    ChartStyle::makeResistanceAxis(*plot.yAxis);
    plot.yAxis->setLabel(tr("IR1min, corrected"));
    plot.yAxis2->setVisible(true);
    plot.yAxis2->setLabel(tr("PI"));
    ChartStyle::putLegendBelow(plot);
    // Three entries to a row, closer to the plot than on a page.
    plot.legend->setWrap(3);
    plot.legend->setBorderPen(Qt::NoPen);
    plot.legend->setMargins(QMargins(4, 0, 4, 2));
}

void TrendPlot::draw(QCustomPlot &plot, const QList<Point> &points)
{
    plot.clearGraphs();
    plot.clearItems();
    const QCPGraph *resistance = addResistance(plot, points);
    const QCPGraph *pi = addPi(plot, points);
    addOutcomes(plot, points);
    addWarnings(plot, points);
    setTimeRange(*plot.xAxis, *resistance);
    const Point latest = points.isEmpty() ? Point() : points.constLast();
    addMinimumLines(plot, latest);
    setResistanceRange(*plot.yAxis, *resistance, latest.minimumMegohms);
    setPiRange(*plot.yAxis2, *pi, latest.minimumPi);
    plot.replot();
}

double TrendPlot::key(const Point &point)
{
    return point.ms / 1000.0;
}
