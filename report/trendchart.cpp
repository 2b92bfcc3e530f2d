// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "report/trendchart.h"

#include "insulation/resistancetext.h"
#include "report/chartstyle.h"
#include "report/palette.h"
#include "report/reporttext.h"
#include "report/trendgraphs.h"

#include <qcustomplot.h>

#include <algorithm>
#include <cmath>

namespace {
using Point = TrendAnalysis::Point;

constexpr double secondsPerDay = 86400.0;

TrendGraphs::Look look(const QCustomPlot &plot)
{
    TrendGraphs::Look look;
    look.lineWidth = 1.2;
    look.markerSize = 7.0;
    look.ringSize = 15.0;
    look.ringColour = Palette::warning;
    look.numberFont = ChartStyle::font(plot.font(), ChartStyle::textPixels);
    look.resistanceName = TrendChart::tr("Corrected IR1min");
    look.piName = TrendChart::tr("PI");
    look.beyondName = TrendChart::tr("Beyond the range (a lower bound)");
    look.warningName = TrendChart::tr("Warning");
    return look;
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
    const auto [first, last] = std::minmax_element(points.cbegin(), points.cend(),
                                                   [](const Point &a, const Point &b) { return a.ms < b.ms; });
    const double margin = std::max((TrendGraphs::key(*last) - TrendGraphs::key(*first)) * 0.06, 20 * secondsPerDay);
    plot.xAxis->setRange(TrendGraphs::key(*first) - margin, TrendGraphs::key(*last) + margin);
}

void setValueRanges(QCustomPlot &plot, const QList<Point> &points, const Point &lines)
{
    QVector<double> megohms;
    double highestPi = std::isfinite(lines.minimumPi) ? lines.minimumPi : 0.0;
    for (const Point &point : points) {
        if (TrendGraphs::hasResistance(point))
            megohms << point.megohms;
        if (std::isfinite(point.pi))
            highestPi = std::max(highestPi, point.pi);
    }
    if (std::isfinite(lines.minimumMegohms) && lines.minimumMegohms > 0.0)
        megohms << lines.minimumMegohms;
    const auto [lowest, highest] = std::minmax_element(megohms.cbegin(), megohms.cend());
    plot.yAxis->setRange(megohms.isEmpty() ? QCPRange(1.0, 1000.0) : QCPRange(*lowest / 3.0, *highest * 4.0));
    plot.yAxis2->setRange(0.0, std::max(highestPi * 1.3, 3.0));
}
} // namespace

std::unique_ptr<QCustomPlot> TrendChart::make(const QList<TrendAnalysis::Point> &points, const QFont &reportFont)
{
    auto plot = std::make_unique<QCustomPlot>();
    ChartStyle::apply(*plot, reportFont);
    ChartStyle::makeResistanceAxis(*plot->yAxis);
    plot->yAxis->setLabel(tr("Corrected insulation resistance"));
    plot->yAxis2->setLabel(tr("PI"));
    plot->yAxis2->setVisible(true);
    if (points.isEmpty())
        return plot;
    // The lines of the rules that judge the item, not of a meter's own limit.
    const Point lines = TrendAnalysis::linesOf(points);
    setDateAxis(*plot, points);
    setValueRanges(*plot, points, lines);
    TrendGraphs::add(*plot, points, look(*plot));
    // The minimum among the corrected values, at the base they are shown at.
    if (std::isfinite(lines.minimumMegohms) && lines.minimumMegohms > 0.0)
        addMinimum(*plot, plot->yAxis, lines.minimumMegohms,
                   tr("Minimum IR %1").arg(ResistanceText::megohms(lines.minimumMegohms)), Palette::fail);
    if (std::isfinite(lines.minimumPi))
        addMinimum(*plot, plot->yAxis2, lines.minimumPi, tr("Minimum PI %1").arg(ResistanceText::ratio(lines.minimumPi)),
                   Palette::reportPi);
    ChartStyle::putLegendBelow(*plot);
    plot->legend->setWrap(6);
    return plot;
}
