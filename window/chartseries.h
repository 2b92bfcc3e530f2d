// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "meter/dmmdata.h"

#include <QSharedPointer>
#include <QWeakPointer>

class DataModel;
class QCPGraph;
class QCPGraphData;
template <class DataType>
class QCPDataContainer;
using QCPGraphDataContainer = QCPDataContainer<QCPGraphData>;

// The chart points of one table, with what the chart needs to keep them
// cheaply: the range of their values, kept up to date as points arrive, and
// the first and last record plotted, which tell whose points they are. The
// chart keeps the points of a table that goes out of sight, so that showing
// it again needs no replay of its records.
class ChartSeries
{
public:
    ChartSeries();

    // The container a graph shows these points from.
    QSharedPointer<QCPGraphDataContainer> points() const;
    bool holds(const QCPGraph &graph) const;

    // Takes a point that was just added to points() for `record`.
    void pointAdded(double value, const QSharedPointer<DMMData> &record);

    // The smallest and largest value that is not NaN; false when there is
    // none. Points added or removed other than through pointAdded() (the
    // graph emptied, or changed directly) cost one scan of all points here.
    bool valueRange(double &lowest, double &highest);

    // True when these are exactly the points of the model's rows: every point
    // plotted from a record, as many as the model has rows, and the first and
    // last of them plotted from its first and last row.
    bool belongsTo(const DataModel &model) const;

private:
    void rescan();
    void forget();

    QSharedPointer<QCPGraphDataContainer> m_points;
    int m_counted = 0;
    bool m_haveValue = false;
    double m_lowest = 0.0;
    double m_highest = 0.0;
    // Whether every point so far came with its record.
    bool m_fromRecords = true;
    QWeakPointer<DMMData> m_firstRecord;
    QWeakPointer<DMMData> m_lastRecord;
};
