// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "window/curveplot.h"

#include "insulation/predictiontext.h"
#include "insulation/resistancetext.h"
#include "report/chartstyle.h"
#include "report/palette.h"

#include <qcustomplot.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
enum Graph { ResistanceGraph, LeakageGraph, PredictionGraph, BandLowGraph, BandHighGraph };

const QString predictionTextName = QStringLiteral("curvePrediction");
// Points of the dashed line and the band between the latest reading and ten minutes.
constexpr int continuationPoints = 40;
// Where the prediction's text stands: right of the early marks' names, at the top.
constexpr double predictionTextX = 0.15;
constexpr double predictionTextY = 0.02;

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

// The marks up to `reach`, each with the value read there.
void addMarks(QCustomPlot &plot, const CurveAnalysis::Values &values, double reach)
{
    for (const CurveAnalysis::Mark &mark : CurveAnalysis::marks) {
        if (mark.seconds > reach)
            continue;
        ChartStyle::addMark(plot, mark, 0.02, 0.06);
        if (std::isfinite(mark.in(values)))
            addReading(plot, mark.seconds, mark.in(values));
    }
}

// The latest reading with a resistance, where the continuation starts.
const CurvePoint *lastMeasured(const QVector<CurvePoint> &curve)
{
    for (auto point = curve.crbegin(); point != curve.crend(); ++point) {
        if (std::isfinite(point->megohms) && point->megohms > 0.0 && !point->overRange)
            return &*point;
    }
    return nullptr;
}

// The times from `from` to ten minutes, evenly spaced on a logarithmic scale.
QVector<double> continuationSeconds(const CurvePoint &from)
{
    QVector<double> seconds;
    const double logStart = std::log(from.seconds);
    const double logSpan = std::log(CurveAnalysis::tenMinutes) - logStart;
    for (int i = 0; i <= continuationPoints; ++i)
        seconds << std::exp(logStart + logSpan * i / continuationPoints);
    return seconds;
}

// From `from` to `megohmsAt600`, straight on logarithmic scales of time and
// resistance: the shape a power law of time has, without claiming more.
QVector<double> continuation(const CurvePoint &from, double megohmsAt600)
{
    QVector<double> megohms;
    const double logRise = std::log(megohmsAt600 / from.megohms);
    for (int i = 0; i <= continuationPoints; ++i)
        megohms << from.megohms * std::exp(logRise * i / continuationPoints);
    return megohms;
}

void clearPrediction(QCustomPlot &plot)
{
    for (const int graph : {PredictionGraph, BandLowGraph, BandHighGraph})
        plot.graph(graph)->data()->clear();
}

void setPredictionCurve(QCustomPlot &plot, const QVector<CurvePoint> &curve, const PiPrediction &prediction)
{
    clearPrediction(plot);
    const CurvePoint *from = lastMeasured(curve);
    if (!prediction.isMade() || !from || from->seconds <= 0.0 || from->seconds >= CurveAnalysis::tenMinutes)
        return;
    const QVector<double> seconds = continuationSeconds(*from);
    plot.graph(PredictionGraph)->setData(seconds, continuation(*from, prediction.r600), true);
    plot.graph(BandLowGraph)->setData(seconds, continuation(*from, prediction.r600Low), true);
    plot.graph(BandHighGraph)->setData(seconds, continuation(*from, prediction.r600High), true);
}

void addPredictionText(QCustomPlot &plot, const PiPrediction &prediction)
{
    auto *text = new QCPItemText(&plot);
    text->setObjectName(predictionTextName);
    text->position->setType(QCPItemPosition::ptAxisRectRatio);
    text->position->setCoords(predictionTextX, predictionTextY);
    text->setPositionAlignment(Qt::AlignTop | Qt::AlignLeft);
    text->setPadding(QMargins(4, 2, 4, 2));
    text->setBrush(QBrush(QColor(255, 255, 255, 220)));
    text->setColor(prediction.isMade() ? Palette::accent : Palette::markText);
    text->setText(PredictionText::line(prediction));
}

QCPRange valueRangeOf(const QCustomPlot &plot, bool &found)
{
    found = false;
    QCPRange range;
    for (const int graph : {ResistanceGraph, BandLowGraph, BandHighGraph}) {
        bool has = false;
        const QCPRange values = plot.graph(graph)->data()->valueRange(has, QCP::sdBoth);
        if (has)
            range = found ? QCPRange(std::min(range.lower, values.lower), std::max(range.upper, values.upper))
                          : values;
        found = found || has;
    }
    return range;
}

// A followed test's axis reaches ten minutes from its start, so that the
// curve grows towards where it is carried on.
void setRanges(QCustomPlot &plot, bool withLeakage, bool toTenMinutes)
{
    const QCPGraph &resistance = *plot.graph(ResistanceGraph);
    bool found = false;
    const QCPRange keys = resistance.data()->keyRange(found);
    const double reach = std::max(found ? keys.upper : 0.0, toTenMinutes ? CurveAnalysis::tenMinutes : 0.0);
    plot.xAxis->setRange(reach > 0.0 ? QCPRange(0.0, std::max(reach * 1.08, 10.0)) : QCPRange(0.0, 60.0));
    const QCPRange values = valueRangeOf(plot, found);
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
    QCPGraph *expected = plot.addGraph(plot.xAxis, plot.yAxis);
    QCPGraph *low = plot.addGraph(plot.xAxis, plot.yAxis);
    QCPGraph *high = plot.addGraph(plot.xAxis, plot.yAxis);
    expected->setName(tr("Expected"));
    expected->setPen(QPen(Palette::accent, 1.5, Qt::DashLine));
    QColor shade = Palette::accent;
    shade.setAlpha(60);
    low->setPen(Qt::NoPen);
    high->setPen(Qt::NoPen);
    high->setBrush(shade);
    high->setChannelFillGraph(low);
    ChartStyle::makeResistanceAxis(*plot.yAxis);
    plot.yAxis->setLabel(tr("Resistance"));
    plot.xAxis->setLabel(tr("Test time (s)"));
    plot.yAxis2->setLabel(tr("Leakage current (µA)"));
    plot.legend->setVisible(false);
    plot.xAxis->setRange(0.0, 60.0);
    plot.yAxis->setRange(1.0, 1000.0);
}

void CurvePlot::draw(QCustomPlot &plot, const InsulationTest &test, const CurveAnalysis::Values &values,
                     bool withLeakage, const std::optional<PiPrediction> &prediction)
{
    plot.clearItems();
    setCurve(plot, test.curve);
    showLeakage(plot, withLeakage);
    const double lastSecond = test.curve.isEmpty() ? 0.0 : test.curve.constLast().seconds;
    if (prediction) {
        setPredictionCurve(plot, test.curve, *prediction);
        addPredictionText(plot, *prediction);
    } else {
        clearPrediction(plot);
    }
    addMarks(plot, values, prediction ? std::max(lastSecond, CurveAnalysis::tenMinutes) : lastSecond);
    setRanges(plot, withLeakage, prediction.has_value());
    plot.replot();
}

const QCPItemText *CurvePlot::predictionText(const QCustomPlot &plot)
{
    return plot.findChild<QCPItemText *>(predictionTextName);
}
