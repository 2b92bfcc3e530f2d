// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "support/plotitems.h"

#include <qcustomplot.h>

namespace {
template <class Item, class Take>
void collect(const QCustomPlot &plot, Take take)
{
    for (int index = 0; index < plot.itemCount(); ++index) {
        if (const auto *item = qobject_cast<const Item *>(plot.item(index)))
            take(*item);
    }
}
} // namespace

QList<double> PlotItems::horizontalLines(const QCustomPlot &plot, const QCPAxis *axis)
{
    QList<double> values;
    collect<QCPItemStraightLine>(plot, [&values, axis](const QCPItemStraightLine &line) {
        const QPointF from = line.point1->coords();
        if (line.point1->valueAxis() == axis && from.y() == line.point2->coords().y())
            values << from.y();
    });
    return values;
}

QList<double> PlotItems::verticalLines(const QCustomPlot &plot)
{
    QList<double> keys;
    collect<QCPItemStraightLine>(plot, [&keys](const QCPItemStraightLine &line) {
        const QPointF from = line.point1->coords();
        if (from.x() == line.point2->coords().x())
            keys << from.x();
    });
    return keys;
}

QStringList PlotItems::texts(const QCustomPlot &plot)
{
    QStringList texts;
    collect<QCPItemText>(plot, [&texts](const QCPItemText &text) { texts << text.text(); });
    return texts;
}

QList<PlotItems::Label> PlotItems::shownTexts(const QCustomPlot &plot)
{
    QList<Label> labels;
    collect<QCPItemText>(plot, [&labels](const QCPItemText &text) {
        if (text.visible())
            labels << Label{text.text(), QRectF(text.topLeft->pixelPosition(), text.bottomRight->pixelPosition())};
    });
    return labels;
}
