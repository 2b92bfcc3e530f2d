// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "models/datamodel.h"

// Live table of timed insulation resistance readings.
class DataModelTime : public DataModel
{
    Q_OBJECT

public:
    enum Columns : int {
        ColResistance = FirstModeColumn,
        ColElapsedTime,
        ColSetTime,
        ColLeakageCurrent,
        ColSetVoltage,
        ColOutputVoltage,
        ColumnCount,
    };
    static constexpr int MainColumn = ColResistance;

    using DataModel::DataModel;

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QString getMainTitle() const override;
    QVariant getMainValue(int row) const override;
};
