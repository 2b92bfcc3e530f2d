// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "window/chartseries.h"

#include "models/datamodel.h"

#include <qcustomplot.h>

#include <cmath>

ChartSeries::ChartSeries()
    : m_points(QSharedPointer<QCPGraphDataContainer>::create())
{
}

QSharedPointer<QCPGraphDataContainer> ChartSeries::points() const
{
    return m_points;
}

bool ChartSeries::holds(const QCPGraph &graph) const
{
    return graph.data().data() == m_points.data();
}

void ChartSeries::pointAdded(double value, const QSharedPointer<DMMData> &record)
{
    if (m_counted != m_points->size() - 1) {
        // Emptied since the last point: this one starts afresh. Otherwise
        // the points changed behind the chart's back and are only scanned.
        if (m_points->size() != 1) {
            rescan();
            return;
        }
        forget();
    }
    ++m_counted;
    if (m_counted == 1)
        m_firstRecord = record;
    m_lastRecord = record;
    if (std::isnan(value))
        return;
    if (!m_haveValue) {
        m_lowest = m_highest = value;
        m_haveValue = true;
        return;
    }
    if (value < m_lowest)
        m_lowest = value;
    if (value > m_highest)
        m_highest = value;
}

bool ChartSeries::valueRange(double &lowest, double &highest)
{
    if (m_counted != m_points->size())
        rescan();
    lowest = m_lowest;
    highest = m_highest;
    return m_haveValue;
}

// The same scan as the library's own rescaling: NaN values are skipped.
void ChartSeries::rescan()
{
    forget();
    m_counted = m_points->size();
    bool found = false;
    const QCPRange values = m_points->valueRange(found);
    m_lowest = values.lower;
    m_highest = values.upper;
    m_haveValue = found;
    m_fromRecords = m_counted == 0;
}

void ChartSeries::forget()
{
    m_counted = 0;
    m_haveValue = false;
    m_lowest = m_highest = 0.0;
    m_fromRecords = true;
    m_firstRecord.clear();
    m_lastRecord.clear();
}

bool ChartSeries::belongsTo(const DataModel &model) const
{
    if (!m_fromRecords || m_counted != m_points->size() || m_counted != model.rowCount())
        return false;
    if (m_counted == 0)
        return true;
    const QList<QSharedPointer<DMMData>> rows = model.getData();
    return rows.first() == m_firstRecord && rows.last() == m_lastRecord;
}
