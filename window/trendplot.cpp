// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "window/trendplot.h"

#include "insulation/resistancetext.h"
#include "report/chartstyle.h"
#include "report/palette.h"
#include "report/trendgraphs.h"

#include <QDateTime>

#include <qcustomplot.h>

#include <algorithm>
#include <cmath>

namespace {
using Point = TrendAnalysis::Point;

constexpr double secondsPerDay = 86400.0;
constexpr double secondsPerYear = 365 * secondsPerDay;

TrendGraphs::Look look(const QCustomPlot &plot)
{
    TrendGraphs::Look look;
    look.ringColour = Palette::fail;
    look.numberFont = plot.font();
    look.numberFont.setBold(true);
    look.resistanceName = TrendPlot::tr("IR1min, corrected");
    look.piName = TrendPlot::tr("PI");
    look.warningName = TrendPlot::tr("fell by more than half");
    return look;
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
void setTimeRange(QCPAxis &axis, const QList<Point> &points)
{
    QCPRange keys;
    if (points.isEmpty()) {
        const double now = QDateTime::currentMSecsSinceEpoch() / 1000.0;
        keys = QCPRange(now - secondsPerYear, now);
    } else {
        keys = QCPRange(TrendGraphs::key(points.constFirst()), TrendGraphs::key(points.constFirst()));
        for (const Point &point : points)
            keys.expand(TrendGraphs::key(point));
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
        addMinimumLine(plot, plot.yAxis2, latest.minimumPi, Palette::notAssessed);
}

void setResistanceRange(QCPAxis &axis, const QList<Point> &points, double minimum)
{
    QCPRange values(10.0, 10000.0);
    bool found = false;
    for (const Point &point : points) {
        if (!TrendGraphs::hasResistance(point))
            continue;
        if (!found)
            values = QCPRange(point.megohms, point.megohms);
        values.expand(point.megohms);
        found = true;
    }
    if (std::isfinite(minimum) && minimum > 0.0)
        values.lower = std::min(values.lower, minimum);
    // Room above the highest point for the numbers of its warnings.
    axis.setRange(values.lower / 2.0, values.upper * 3.0);
}

void setPiRange(QCPAxis &axis, const QList<Point> &points, double minimum)
{
    QCPRange ratios(1.0, 4.0);
    bool found = false;
    for (const Point &point : points) {
        if (!std::isfinite(point.pi))
            continue;
        if (!found)
            ratios = QCPRange(point.pi, point.pi);
        ratios.expand(point.pi);
        found = true;
    }
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
    // Closer to the plot than on a page, and as many entries to a row as
    // a test point's name leaves room for.
    plot.legend->setWrap(5);
    plot.legend->setBorderPen(Qt::NoPen);
    plot.legend->setMargins(QMargins(4, 0, 4, 2));
}

void TrendPlot::draw(QCustomPlot &plot, const QList<Point> &points)
{
    plot.clearGraphs();
    plot.clearItems();
    setTimeRange(*plot.xAxis, points);
    // The lines of the rules that judge the item, not of a meter's own limit.
    const Point latest = TrendAnalysis::linesOf(points);
    setResistanceRange(*plot.yAxis, points, latest.minimumMegohms);
    setPiRange(*plot.yAxis2, points, latest.minimumPi);
    TrendGraphs::add(plot, points, look(plot));
    addMinimumLines(plot, latest);
    plot.replot();
}

double TrendPlot::key(const Point &point)
{
    return TrendGraphs::key(point);
}
