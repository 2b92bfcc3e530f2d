// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "report/trendgraphs.h"

#include "report/palette.h"
#include "report/warningmarks.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace {
using Point = TrendAnalysis::Point;
using Series = TrendAnalysis::Series;

// Apart from the verdicts' green, olive, red and grey, which fill the markers.
constexpr std::array<QColor, 8> seriesColours{QColor(0x1f, 0x4e, 0x79), QColor(0x6a, 0x3d, 0x9a),
                                              QColor(0x00, 0x83, 0x8f), QColor(0x8d, 0x4e, 0x2a),
                                              QColor(0xad, 0x14, 0x57), QColor(0x28, 0x35, 0x93),
                                              QColor(0x4e, 0x34, 0x2e), QColor(0x00, 0x5f, 0x73)};
constexpr std::array<QCPScatterStyle::ScatterShape, 5> seriesShapes{
    QCPScatterStyle::ssDisc, QCPScatterStyle::ssSquare, QCPScatterStyle::ssTriangle, QCPScatterStyle::ssDiamond,
    QCPScatterStyle::ssTriangleInverted};

QCPGraph *addGraph(QCustomPlot &plot, QCPAxis *valueAxis, const QString &name)
{
    QCPGraph *graph = plot.addGraph(plot.xAxis, valueAxis);
    graph->setName(name);
    return graph;
}

QCPGraph *addScatter(QCustomPlot &plot, QCPAxis *valueAxis, const QString &name, const QCPScatterStyle &style)
{
    QCPGraph *graph = addGraph(plot, valueAxis, name);
    graph->setLineStyle(QCPGraph::lsNone);
    graph->setScatterStyle(style);
    return graph;
}

// A line of the series' colour through its resistances, named by its point.
void addResistance(QCustomPlot &plot, const QList<Point> &points, const Series &series, int index, const QString &name,
                   const TrendGraphs::Look &look)
{
    QCPGraph *line = addGraph(plot, plot.yAxis, name);
    line->setPen(QPen(TrendGraphs::colour(index), look.lineWidth));
    line->setScatterStyle(QCPScatterStyle(TrendGraphs::shape(index), TrendGraphs::colour(index), Qt::white,
                                          look.markerSize));
    for (const int at : series.indices) {
        if (TrendGraphs::hasResistance(points.at(at)))
            line->addData(TrendGraphs::key(points.at(at)), points.at(at).megohms);
    }
}

const std::array<std::pair<Verdict::Outcome, bool>, 4> outcomeKinds{{{Verdict::Outcome::Pass, false},
                                                                     {Verdict::Outcome::Pass, true},
                                                                     {Verdict::Outcome::Fail, false},
                                                                     {Verdict::Outcome::NotAssessed, false}}};

// The series' markers again, filled with the colours of their verdicts; the
// legend names the verdicts once, after the points.
void addOutcomes(QCustomPlot &plot, const QList<Point> &points, const Series &series, int index,
                 const TrendGraphs::Look &look)
{
    for (const auto &[outcome, qualified] : outcomeKinds) {
        const QColor fill = Palette::outcome(outcome, qualified);
        QCPGraph *graph = addScatter(plot, plot.yAxis, QString(),
                                     QCPScatterStyle(TrendGraphs::shape(index), TrendGraphs::colour(index), fill,
                                                     look.markerSize));
        for (const int at : series.indices) {
            const Point &point = points.at(at);
            if (point.outcome == outcome && point.qualified == qualified && TrendGraphs::hasResistance(point))
                graph->addData(TrendGraphs::key(point), point.megohms);
        }
        graph->removeFromLegend();
    }
}

void addPi(QCustomPlot &plot, const QList<Point> &points, const Series &series, int index,
           const TrendGraphs::Look &look)
{
    QCPGraph *pi = addGraph(plot, plot.yAxis2, QString());
    pi->setPen(QPen(TrendGraphs::colour(index), 1.0, Qt::DashLine));
    pi->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDiamond, TrendGraphs::colour(index), Qt::white,
                                        look.markerSize * 0.75));
    for (const int at : series.indices) {
        if (std::isfinite(points.at(at).pi))
            pi->addData(TrendGraphs::key(points.at(at)), points.at(at).pi);
    }
    pi->removeFromLegend();
}

// A graph without points that only names something in the legend.
void addLegendEntry(QCustomPlot &plot, const QString &name, const QPen &pen, const QCPScatterStyle &style)
{
    QCPGraph *entry = addGraph(plot, plot.yAxis, name);
    entry->setPen(pen);
    entry->setScatterStyle(style);
    if (pen.style() == Qt::NoPen)
        entry->setLineStyle(QCPGraph::lsNone);
}

void addOutcomeLegend(QCustomPlot &plot, const QList<Point> &points, const TrendGraphs::Look &look)
{
    for (const auto &kind : outcomeKinds) {
        const auto outcome = kind.first;
        const bool qualified = kind.second;
        const bool any = std::any_of(points.cbegin(), points.cend(), [&](const Point &point) {
            return point.outcome == outcome && point.qualified == qualified && TrendGraphs::hasResistance(point);
        });
        if (!any)
            continue;
        const QColor fill = Palette::outcome(outcome, qualified);
        addLegendEntry(plot, qualified ? Verdict::qualifiedPassText() : Verdict::outcomeText(outcome), Qt::NoPen,
                       QCPScatterStyle(QCPScatterStyle::ssDisc, fill, fill, look.markerSize));
    }
}

void addPiLegend(QCustomPlot &plot, const QList<Point> &points, const TrendGraphs::Look &look)
{
    const bool any =
        std::any_of(points.cbegin(), points.cend(), [](const Point &point) { return std::isfinite(point.pi); });
    if (any && !look.piName.isEmpty())
        addLegendEntry(plot, look.piName, QPen(Palette::notAssessed, 1.0, Qt::DashLine),
                       QCPScatterStyle(QCPScatterStyle::ssDiamond, Palette::notAssessed, Qt::white,
                                       look.markerSize * 0.75));
}

void addBeyondRange(QCustomPlot &plot, const QList<Point> &points, const TrendGraphs::Look &look)
{
    if (look.beyondName.isEmpty())
        return;
    QCPGraph *beyond = addScatter(plot, plot.yAxis, look.beyondName,
                                  QCPScatterStyle(QCPScatterStyle::ssTriangle, QPen(Qt::black, 1.0), Qt::NoBrush,
                                                  look.markerSize * 1.5));
    for (const Point &point : points) {
        if (TrendGraphs::hasResistance(point) && point.overRange)
            beyond->addData(TrendGraphs::key(point), point.megohms);
    }
    if (beyond->dataCount() == 0)
        beyond->removeFromLegend();
}

// Ringed on the resistance where there is one, numbered on the PI otherwise;
// numbered in time order, as the list of warnings is.
void addWarnings(QCustomPlot &plot, const QList<Point> &points, const TrendGraphs::Look &look)
{
    QCPGraph *rings = addScatter(plot, plot.yAxis, look.warningName,
                                 QCPScatterStyle(QCPScatterStyle::ssCircle, QPen(look.ringColour, 2.0), Qt::NoBrush,
                                                 look.ringSize));
    QList<WarningMarks::Mark> marks;
    for (const Point &point : points) {
        if (point.warning.isEmpty())
            continue;
        WarningMarks::Mark mark;
        mark.key = TrendGraphs::key(point);
        mark.number = marks.size() + 1;
        if (TrendGraphs::hasResistance(point)) {
            rings->addData(mark.key, point.megohms);
            mark.value = point.megohms;
            mark.valueAxis = plot.yAxis;
        } else if (std::isfinite(point.pi)) {
            mark.value = point.pi;
            mark.valueAxis = plot.yAxis2;
        } else {
            continue;
        }
        marks << mark;
    }
    if (rings->dataCount() == 0 || look.warningName.isEmpty())
        rings->removeFromLegend();
    WarningMarks::add(plot, marks, look.numberFont, look.ringColour);
}
} // namespace

void TrendGraphs::add(QCustomPlot &plot, const QList<Point> &points, const Look &look)
{
    const QList<Series> series = TrendAnalysis::seriesOf(points);
    const bool unnamed =
        series.size() == 1 && points.at(series.constFirst().indices.constFirst()).testPoint.trimmed().isEmpty();
    for (int index = 0; index < series.size(); ++index)
        addResistance(plot, points, series.at(index), index, unnamed ? look.resistanceName : series.at(index).name,
                      look);
    for (int index = 0; index < series.size(); ++index) {
        addPi(plot, points, series.at(index), index, look);
        addOutcomes(plot, points, series.at(index), index, look);
    }
    addOutcomeLegend(plot, points, look);
    addPiLegend(plot, points, look);
    addBeyondRange(plot, points, look);
    addWarnings(plot, points, look);
}

QColor TrendGraphs::colour(int series)
{
    return seriesColours.at(std::size_t(series) % seriesColours.size());
}

QCPScatterStyle::ScatterShape TrendGraphs::shape(int series)
{
    return seriesShapes.at(std::size_t(series) % seriesShapes.size());
}

double TrendGraphs::key(const Point &point)
{
    return point.ms / 1000.0;
}

bool TrendGraphs::hasResistance(const Point &point)
{
    return std::isfinite(point.megohms) && point.megohms > 0.0;
}
