// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "report/chartstyle.h"

#include "report/megohmticker.h"
#include "report/palette.h"

#include <qcustomplot.h>

#include <algorithm>

QFont ChartStyle::font(const QFont &reportFont, int pixels)
{
    QFont font = reportFont;
    font.setPixelSize(pixels);
    return font;
}

void ChartStyle::apply(QCustomPlot &plot, const QFont &reportFont)
{
    const QFont text = font(reportFont);
    plot.setFont(text);
    for (QCPAxis *axis : {plot.xAxis, plot.yAxis, plot.xAxis2, plot.yAxis2}) {
        axis->setTickLabelFont(text);
        axis->setLabelFont(text);
        axis->setTickLabelColor(Palette::tickLabel);
    }
    plot.legend->setFont(font(reportFont, smallTextPixels));
    plot.legend->setBorderPen(Qt::NoPen);
    plot.legend->setBrush(Qt::NoBrush);
}

void ChartStyle::makeResistanceAxis(QCPAxis &axis)
{
    axis.setScaleType(QCPAxis::stLogarithmic);
    axis.setTicker(QSharedPointer<QCPAxisTicker>(new MegohmTicker));
    axis.setNumberPrecision(3);
}

// A legend inside the plot would hide the points that matter most, the
// latest ones at the right.
void ChartStyle::putLegendBelow(QCustomPlot &plot)
{
    plot.legend->setVisible(true);
    plot.axisRect()->insetLayout()->take(plot.legend);
    plot.plotLayout()->addElement(1, 0, plot.legend);
    plot.legend->setFillOrder(QCPLayoutGrid::foColumnsFirst);
    plot.legend->setMargins(QMargins(4, 2, 4, 2));
    plot.plotLayout()->setRowStretchFactor(1, 0.001);
}

// The ten-minute mark stands apart from the others at the top.
QCPItemText *ChartStyle::addMark(QCustomPlot &plot, const CurveAnalysis::Mark &mark, double top, double rowHeight)
{
    const auto &marks = CurveAnalysis::marks;
    const int row = mark.seconds >= CurveAnalysis::tenMinutes
        ? 0
        : int(std::count_if(marks.cbegin(), marks.cend(),
                            [&mark](const CurveAnalysis::Mark &other) { return other.seconds < mark.seconds; }));
    auto *line = new QCPItemStraightLine(&plot);
    line->point1->setCoords(mark.seconds, 1.0);
    line->point2->setCoords(mark.seconds, 10.0);
    line->setPen(QPen(Palette::markLine, 1, Qt::DotLine));
    auto *name = new QCPItemText(&plot);
    name->position->setTypeY(QCPItemPosition::ptAxisRectRatio);
    name->position->setCoords(mark.seconds, top + rowHeight * row);
    name->setPositionAlignment(Qt::AlignTop | Qt::AlignHCenter);
    name->setColor(Palette::markText);
    name->setText(QString::fromLatin1(mark.label));
    return name;
}
