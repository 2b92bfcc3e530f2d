// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "models/datamodel.h"

// Live table of capacitance readings.
class DataModelCAP : public DataModel
{
    Q_OBJECT

public:
    enum Columns : int {
        ColCapacitance = FirstModeColumn,
        ColSetVoltage,
        ColumnCount,
    };
    static constexpr int MainColumn = ColCapacitance;

    using DataModel::DataModel;

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QString getMainTitle() const override;
    QVariant getMainValue(int row) const override;
};
