// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "window/templatewindow.h"

#include "meter/unittable.h"
#include "models/datamodel.h"
#include "ui_templatewindow.h"
#include "window/chartpoint.h"
#include "window/readabletimeticker.h"

#include <QDateTime>
#include <QLocale>
#include <QMouseEvent>
#include <QWheelEvent>

#include <qcustomplot.h>


namespace {
QCPTextElement *chartTitle(QCustomPlot *plot)
{
    return qobject_cast<QCPTextElement *>(plot->plotLayout()->element(0, 0));
}

// The library's value-axis rescale for a range already known. Spread values
// get a margin of a tenth of their span; a single value (or a span too small
// to show) keeps the axis's size, centred on it.
void fitValueAxis(QCPAxis *axis, const QCPRange &values)
{
    QCPRange range = values;
    if (!QCPRange::validRange(range)) {
        const double centre = (range.lower + range.upper) * 0.5;
        const double half = axis->range().size() / 2.0;
        range = QCPRange(centre - half, centre + half);
    }
    axis->setRange(range);
    if (values.lower < values.upper)
        axis->scaleRange(1.1);
}
} // namespace

void TemplateWindow::initPlot()
{
    QCustomPlot *plot = ui->plot1;
    plot->plotLayout()->insertRow(0);
    auto *title = new QCPTextElement(plot, QString());
    title->setMargins(QMargins(0, 20, 0, 10));
    plot->plotLayout()->addElement(0, 0, title);

    plot->legend->setVisible(true);
    plot->legend->setFillOrder(QCPLayoutGrid::foColumnsFirst, true);
    plot->axisRect()->insetLayout()->addElement(plot->legend, Qt::AlignTop | Qt::AlignRight);

    initPlotAxes();
    plot->addGraph(plot->xAxis, plot->yAxis);
    initPlotInteractions();
}

void TemplateWindow::initPlotAxes()
{
    QCustomPlot *plot = ui->plot1;
    plot->xAxis2->setVisible(true);
    plot->xAxis2->setTickLabels(false);
    plot->xAxis2->setSubTicks(false);
    plot->xAxis2->setTicks(false);
    plot->xAxis2->setSelectableParts(QCPAxis::spNone);
    plot->yAxis2->setVisible(false);

    QSharedPointer<ReadableTimeTicker> ticker(new ReadableTimeTicker(plot->xAxis));
    ticker->setDateTimeFormat(QStringLiteral("yyyy.MM.dd\nHH:mm:s.z"));
    plot->xAxis->setTicker(ticker);
    plot->xAxis2->setTicker(ticker);
    // The library makes the ticks before the layout settles; when that
    // changed the axis's length (a resize), they are made again before drawing.
    connect(plot, &QCustomPlot::afterLayout, this, [plot, ticker] {
        if (ticker->isStale())
            plot->axisRect()->update(QCPLayoutElement::upPreparation);
    });
    // The top axis only frames the plot; it always shows the bottom axis's range.
    connect(plot->xAxis, SIGNAL(rangeChanged(QCPRange)), plot->xAxis2, SLOT(setRange(QCPRange)));

    plot->xAxis->setLabel(tr("Date/Time"));
    plot->xAxis->setPadding(20);
    plot->xAxis->setLabelPadding(20);
    plot->yAxis->setLabel(QString());
    plot->yAxis->setPadding(20);
}

void TemplateWindow::initPlotInteractions()
{
    QCustomPlot *plot = ui->plot1;
    plot->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom | QCP::iSelectPlottables | QCP::iSelectAxes);
    plot->legend->setSelectableParts(QCPLegend::spNone);
    QCPAxisRect *rect = plot->axisRect();
    rect->setRangeDrag(Qt::Horizontal | Qt::Vertical);
    rect->setRangeDragAxes(rect->axes());
    rect->setRangeZoom(Qt::Horizontal | Qt::Vertical);
    rect->setRangeZoomAxes(rect->axes());
    for (int i = 0; i < plot->graphCount(); ++i) {
        plot->graph(i)->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssNone, 6));
        plot->graph(i)->setSelectable(QCP::stSingleData);
    }

    connect(plot, &QCustomPlot::selectionChangedByUser, this, &TemplateWindow::plot1SelectionChangedByUser);
    connect(plot, &QCustomPlot::mousePress, this, &TemplateWindow::plot1MousePress);
    connect(plot, &QCustomPlot::mouseWheel, this, &TemplateWindow::plot1MouseWheel);
    connect(plot, &QCustomPlot::mouseMove, this, &TemplateWindow::plot1MouseMove);
    connect(plot, &QCustomPlot::mouseDoubleClick, this, &TemplateWindow::plot1MouseDoubleClick);
    plot->installEventFilter(this);
}

void TemplateWindow::resetPlot()
{
    for (QCustomPlot *plot : qAsConst(m_plots)) {
        for (int i = 0; i < plot->graphCount(); ++i)
            plot->graph(i)->data()->clear();
    }
    updatePlot1();
}

// Names the chart after the mode shown and puts the model's points on it.
// The points of the table going out of sight are kept, so a table that comes
// back into sight needs no replay of its records; they are replayed only
// when the kept points no longer match the table.
void TemplateWindow::showModeOnPlot(DMMData::DataMode mode, const DataModel *model)
{
    keepShownSeries();
    const QString name = DMMData::modeName(mode);
    QCPGraph *graph = ui->plot1->graph(0);
    graph->setName(name);
    ui->plot1->yAxis->setLabel(model->getMainTitle());
    chartTitle(ui->plot1)->setText(name);

    const ChartSeries kept = m_keptSeries.take(model);
    const bool replay = !kept.belongsTo(*model);
    m_chartSeries = replay ? ChartSeries() : kept;
    graph->setData(m_chartSeries.points());
    if (replay) {
        const QList<QSharedPointer<DMMData>> records = model->getData();
        for (const QSharedPointer<DMMData> &record : records)
            addDataToPlot(record, graph);
    }
    updatePlot1();
}

// Keeps the points on the chart for the table they were plotted from, if
// they still are exactly that table's points.
void TemplateWindow::keepShownSeries()
{
    if (m_chartSeries.points()->isEmpty())
        return;
    for (const QList<DataModel *> *models : {&m_liveModels, &m_storedModels}) {
        for (const DataModel *model : *models) {
            if (m_chartSeries.belongsTo(*model)) {
                m_keptSeries.insert(model, m_chartSeries);
                return;
            }
        }
    }
}

void TemplateWindow::addDataToPlot(QSharedPointer<DMMData> data, QCPGraph *graph)
{
    const double value = ChartPoint::value(data);
    graph->addData(ChartPoint::key(*data), value);
    if (m_chartSeries.holds(*graph))
        m_chartSeries.pointAdded(value, data);
}

void TemplateWindow::updateDataToPlot(QSharedPointer<DMMData> data)
{
    addDataToPlot(data, ui->plot1->graph(0));
    updatePlot1();
}

double TemplateWindow::getUnitMul(const QString &unit)
{
    return UnitTable::megohmFactor(unit);
}

// Drawing waits for the event loop, so a burst of readings or a mode switch
// draws once.
void TemplateWindow::updatePlot1()
{
    QCustomPlot *plot = ui->plot1;
    for (int i = 0; i < plot->graphCount(); ++i)
        rescaleValueAxis(plot->graph(i));
    rescaleKeyAxis();
    plot->replot(QCustomPlot::rpQueuedReplot);
}

// The range of the values comes from the series kept with the graph, so a
// new point costs the same however many there are.
void TemplateWindow::rescaleValueAxis(QCPGraph *graph)
{
    QCPRange values;
    bool found = false;
    if (m_chartSeries.holds(*graph))
        found = m_chartSeries.valueRange(values.lower, values.upper);
    else
        values = graph->data()->valueRange(found);
    if (found)
        fitValueAxis(graph->valueAxis(), values);
}

// Beyond the visible count the key axis follows the newest points; with no
// point yet it shows the minute to come, where the first will be, rather
// than the first seconds of 1970.
void TemplateWindow::rescaleKeyAxis()
{
    QCustomPlot *plot = ui->plot1;
    const QSharedPointer<QCPGraphDataContainer> data = plot->graph(0)->data();
    const int count = data->size();
    if (count == 0) {
        const double now = QCPAxisTickerDateTime::dateTimeToKey(QDateTime::currentDateTime());
        plot->xAxis->setRange(now, now + 60.0);
    } else if (count > m_visiblePoints) {
        const double last = data->at(count - 1)->key;
        const double first = data->at(count - static_cast<int>(m_visiblePoints))->key;
        plot->xAxis->setRange(last, last - first, Qt::AlignRight);
    } else {
        plot->xAxis->rescale(false);
    }
}

void TemplateWindow::plot1SelectionChangedByUser()
{
    QCustomPlot *plot = ui->plot1;
    // A click on any part of an axis selects the whole axis.
    for (QCPAxis *axis : plot->axisRect()->axes()) {
        if (axis->selectedParts() != QCPAxis::spNone) {
            axis->setSelectedParts(QCPAxis::spAxis | QCPAxis::spTickLabels | QCPAxis::spAxisLabel);
            break;
        }
    }

    m_tracerGraph = nullptr;
    for (int i = 0; i < plot->graphCount(); ++i) {
        QCPGraph *graph = plot->graph(i);
        const bool selected = graph->selected();
        if (QCPPlottableLegendItem *item = plot->legend->itemWithPlottable(graph))
            item->setSelected(selected);
        QColor marker = graph->pen().color();
        marker.setAlphaF(0.5);
        graph->setScatterStyle(QCPScatterStyle(selected ? QCPScatterStyle::ssDisc : QCPScatterStyle::ssNone, marker, 5));
        if (selected && !m_tracerGraph)
            m_tracerGraph = graph;
    }

    removeTracer();
    if (m_tracerGraph)
        createTracer();
}

void TemplateWindow::removeTracer()
{
    QCustomPlot *plot = ui->plot1;
    if (m_tracer && plot->hasItem(m_tracer))
        plot->removeItem(m_tracer);
    m_tracer = nullptr;
    if (m_tracerText && plot->hasItem(m_tracerText))
        plot->removeItem(m_tracerText);
    m_tracerText = nullptr;
}

// A plus that snaps to the traced graph's points, and its label in the
// lower right corner of the plot area.
void TemplateWindow::createTracer()
{
    QCustomPlot *plot = ui->plot1;
    m_tracer = new QCPItemTracer(plot);
    m_tracer->setLayer(QStringLiteral("overlay"));
    m_tracer->setSize(8);
    m_tracer->setPen(QPen(QColor(QStringLiteral("#ff8a5c"))));
    m_tracer->setStyle(QCPItemTracer::tsPlus);
    m_tracer->setInterpolating(false);

    m_tracerText = new QCPItemText(plot);
    m_tracerText->setText(QString());
    m_tracerText->setLayer(QStringLiteral("overlay"));
    m_tracerText->setColor(m_tracerGraph->pen().color());
    m_tracerText->position->setType(QCPItemPosition::ptAxisRectRatio);
    m_tracerText->position->setCoords(0.99, 0.96);
    m_tracerText->setPositionAlignment(Qt::AlignRight | Qt::AlignBottom);
    m_tracerText->setTextAlignment(Qt::AlignLeft);
    m_tracerText->setPadding(QMargins(5, 5, 5, 5));
}

void TemplateWindow::plot1MouseMove(QMouseEvent *event)
{
    if (!m_tracer)
        return;
    QCustomPlot *plot = ui->plot1;
    const double key = plot->xAxis->pixelToCoord(event->pos().x());
    m_tracer->setGraph(m_tracerGraph);
    m_tracer->setGraphKey(key);
    m_tracer->updatePosition();
    // The label is filled before the replot so that it shows the point now traced.
    m_tracerText->setText(tracerLabelText(m_tracer->position->key()));
    plot->replot(QCustomPlot::rpRefreshHint);
}

// "[time] graph:value" of the traced point; the value is the table's text
// of that point's row, empty when the table has no such row.
QString TemplateWindow::tracerLabelText(double key) const
{
    const int row = ui->plot1->graph(0)->findBegin(key, false);
    const DataModel *model = modelShown();
    QString value;
    if (model && row < model->rowCount(QModelIndex()))
        value = model->getMainValue(row).toString();
    const QString time = QLocale::system().toString(QCPAxisTickerDateTime::keyToDateTime(key), QLocale::LongFormat);
    return QStringLiteral("[%1] %2:%3").arg(time, m_tracerGraph->name(), value);
}

void TemplateWindow::getUsefulAxes(QFlags<Qt::Orientation> &orientations, QList<QCPAxis *> &axes)
{
    const QList<QCPAxis *> all = ui->plot1->axisRect()->axes();
    for (QCPAxis *axis : all) {
        if (axis->selectedParts().testFlag(QCPAxis::spAxis)) {
            orientations = axis->orientation();
            axes = {axis};
            return;
        }
    }
    orientations = Qt::Horizontal | Qt::Vertical;
    axes = all;
}

// The chart emits the press before it starts dragging, so this drag already
// moves only the selected axis.
void TemplateWindow::plot1MousePress(QMouseEvent *event)
{
    Q_UNUSED(event)
    QFlags<Qt::Orientation> orientations;
    QList<QCPAxis *> axes;
    getUsefulAxes(orientations, axes);
    ui->plot1->axisRect()->setRangeDrag(orientations);
    ui->plot1->axisRect()->setRangeDragAxes(axes);
}

void TemplateWindow::plot1MouseWheel(QWheelEvent *event)
{
    Q_UNUSED(event)
    QFlags<Qt::Orientation> orientations;
    QList<QCPAxis *> axes;
    getUsefulAxes(orientations, axes);
    ui->plot1->axisRect()->setRangeZoom(orientations);
    ui->plot1->axisRect()->setRangeZoomAxes(axes);
}

void TemplateWindow::plot1MouseDoubleClick(QMouseEvent *event)
{
    Q_UNUSED(event)
    updatePlot1();
}
