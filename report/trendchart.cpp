// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "report/trendchart.h"

#include "insulation/resistancetext.h"
#include "report/chartstyle.h"
#include "report/palette.h"
#include "report/reporttext.h"

#include <qcustomplot.h>

#include <algorithm>
#include <cmath>

namespace {
using Point = TrendAnalysis::Point;

constexpr double secondsPerDay = 86400.0;

double key(const Point &point)
{
    return point.ms / 1000.0;
}

bool hasResistance(const Point &point)
{
    return std::isfinite(point.megohms) && point.megohms > 0.0;
}

QCPGraph *scatterGraph(QCustomPlot &plot, QCPAxis *valueAxis, const QString &name, const QCPScatterStyle &style)
{
    QCPGraph *graph = plot.addGraph(plot.xAxis, valueAxis);
    graph->setName(name);
    graph->setLineStyle(QCPGraph::lsNone);
    graph->setScatterStyle(style);
    return graph;
}

void addResistance(QCustomPlot &plot, const QList<Point> &points)
{
    QCPGraph *line = plot.addGraph();
    line->setName(TrendChart::tr("Corrected IR1min"));
    line->setPen(QPen(Palette::accent, 1.2));
    for (const Point &point : points) {
        if (hasResistance(point))
            line->addData(key(point), point.megohms);
    }
    const struct
    {
        Verdict::Outcome outcome;
        bool qualified;
    } kinds[] = {{Verdict::Outcome::Pass, false},
                 {Verdict::Outcome::Pass, true},
                 {Verdict::Outcome::Fail, false},
                 {Verdict::Outcome::NotAssessed, false}};
    for (const auto &kind : kinds) {
        const QColor colour = Palette::outcome(kind.outcome, kind.qualified);
        const QString name = kind.qualified ? Verdict::qualifiedPassText() : Verdict::outcomeText(kind.outcome);
        QCPGraph *graph = scatterGraph(plot, plot.yAxis, name, QCPScatterStyle(QCPScatterStyle::ssDisc, colour, colour, 7));
        for (const Point &point : points) {
            if (hasResistance(point) && point.outcome == kind.outcome && point.qualified == kind.qualified)
                graph->addData(key(point), point.megohms);
        }
    }
    QCPGraph *beyond = scatterGraph(plot, plot.yAxis, TrendChart::tr("Beyond the range (a lower bound)"),
                                    QCPScatterStyle(QCPScatterStyle::ssTriangle, QPen(Qt::black, 1.0), Qt::NoBrush, 12));
    for (const Point &point : points) {
        if (hasResistance(point) && point.overRange)
            beyond->addData(key(point), point.megohms);
    }
}

void addPi(QCustomPlot &plot, const QList<Point> &points)
{
    QCPGraph *pi = plot.addGraph(plot.xAxis, plot.yAxis2);
    pi->setName(TrendChart::tr("PI"));
    pi->setPen(QPen(Palette::reportPi, 1.0, Qt::DashLine));
    pi->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDiamond, Palette::reportPi, Qt::white, 7));
    for (const Point &point : points) {
        if (std::isfinite(point.pi))
            pi->addData(key(point), point.pi);
    }
}

// Ringed on the resistance where there is one, on the PI otherwise.
void addWarnings(QCustomPlot &plot, const QList<Point> &points)
{
    QCPGraph *rings = scatterGraph(plot, plot.yAxis, TrendChart::tr("Warning"),
                                   QCPScatterStyle(QCPScatterStyle::ssCircle, QPen(Palette::warning, 2.0),
                                                   Qt::NoBrush, 15));
    int number = 0;
    for (const Point &point : points) {
        if (point.warning.isEmpty())
            continue;
        ++number;
        const bool onResistance = hasResistance(point);
        if (onResistance)
            rings->addData(key(point), point.megohms);
        // Above the ring, on white: the PI's line may pass there.
        auto *anchor = new QCPItemTracer(&plot);
        anchor->setStyle(QCPItemTracer::tsNone);
        anchor->position->setAxes(plot.xAxis, onResistance ? plot.yAxis : plot.yAxis2);
        anchor->position->setCoords(key(point), onResistance ? point.megohms : point.pi);
        auto *label = new QCPItemText(&plot);
        label->position->setParentAnchor(anchor->position);
        label->position->setCoords(0.0, -9.0);
        label->setPositionAlignment(Qt::AlignBottom | Qt::AlignHCenter);
        label->setPadding(QMargins(2, 0, 2, 0));
        label->setBrush(Qt::white);
        label->setFont(ChartStyle::font(plot.font(), ChartStyle::textPixels));
        label->setColor(Palette::warning);
        label->setText(QString::number(number));
    }
}

void addMinimum(QCustomPlot &plot, QCPAxis *axis, double value, const QString &text, const QColor &colour)
{
    auto *line = new QCPItemStraightLine(&plot);
    line->point1->setAxes(plot.xAxis, axis);
    line->point2->setAxes(plot.xAxis, axis);
    line->point1->setCoords(plot.xAxis->range().lower, value);
    line->point2->setCoords(plot.xAxis->range().upper, value);
    line->setPen(QPen(colour, 1.0, Qt::DashDotLine));
    auto *label = new QCPItemText(&plot);
    label->position->setTypeX(QCPItemPosition::ptAxisRectRatio);
    label->position->setAxes(plot.xAxis, axis);
    label->position->setCoords(0.01, value);
    label->setPositionAlignment(Qt::AlignBottom | Qt::AlignLeft);
    label->setFont(ChartStyle::font(plot.font(), ChartStyle::smallTextPixels));
    label->setColor(colour);
    label->setText(text);
}

void setDateAxis(QCustomPlot &plot, const QList<Point> &points)
{
    QSharedPointer<QCPAxisTickerDateTime> ticker(new QCPAxisTickerDateTime);
    ticker->setDateTimeFormat(ReportText::dateFormat());
    ticker->setTickCount(6);
    plot.xAxis->setTicker(ticker);
    const double first = key(points.constFirst());
    const double last = key(points.constLast());
    const double margin = std::max((last - first) * 0.06, 20 * secondsPerDay);
    plot.xAxis->setRange(first - margin, last + margin);
}

void setValueRanges(QCustomPlot &plot, const QList<Point> &points, const Verdict &latest)
{
    QVector<double> megohms;
    double highestPi = std::isfinite(latest.minimumPi) ? latest.minimumPi : 0.0;
    for (const Point &point : points) {
        if (hasResistance(point))
            megohms << point.megohms;
        if (std::isfinite(point.pi))
            highestPi = std::max(highestPi, point.pi);
    }
    if (std::isfinite(latest.shownMinimumMegohms) && latest.shownMinimumMegohms > 0.0)
        megohms << latest.shownMinimumMegohms;
    const auto [lowest, highest] = std::minmax_element(megohms.cbegin(), megohms.cend());
    plot.yAxis->setRange(megohms.isEmpty() ? QCPRange(1.0, 1000.0) : QCPRange(*lowest / 3.0, *highest * 4.0));
    plot.yAxis2->setRange(0.0, std::max(highestPi * 1.3, 3.0));
}
} // namespace

std::unique_ptr<QCustomPlot> TrendChart::make(const QList<TrendAnalysis::Point> &points, const Verdict &latest,
                                              const QFont &reportFont)
{
    auto plot = std::make_unique<QCustomPlot>();
    ChartStyle::apply(*plot, reportFont);
    ChartStyle::makeResistanceAxis(*plot->yAxis);
    plot->yAxis->setLabel(tr("Corrected insulation resistance"));
    plot->yAxis2->setLabel(tr("PI"));
    plot->yAxis2->setVisible(true);
    if (points.isEmpty())
        return plot;
    setDateAxis(*plot, points);
    setValueRanges(*plot, points, latest);
    addResistance(*plot, points);
    addPi(*plot, points);
    addWarnings(*plot, points);
    // The minimum among the corrected values, at the base they are shown at.
    if (std::isfinite(latest.shownMinimumMegohms) && latest.shownMinimumMegohms > 0.0)
        addMinimum(*plot, plot->yAxis, latest.shownMinimumMegohms,
                   tr("Minimum IR %1").arg(ResistanceText::megohms(latest.shownMinimumMegohms)),
                   Palette::fail);
    if (std::isfinite(latest.minimumPi))
        addMinimum(*plot, plot->yAxis2, latest.minimumPi, tr("Minimum PI %1").arg(ResistanceText::ratio(latest.minimumPi)),
                   Palette::reportPi);
    ChartStyle::putLegendBelow(*plot);
    for (int index = plot->graphCount() - 1; index >= 0; --index) {
        if (plot->graph(index)->data()->isEmpty())
            plot->legend->removeItem(plot->legend->itemWithPlottable(plot->graph(index)));
    }
    return plot;
}
