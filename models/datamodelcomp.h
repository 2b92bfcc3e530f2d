// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "models/datamodel.h"

// Live table of resistance readings compared against a limit, with the verdict.
class DataModelCOMP : public DataModel
{
    Q_OBJECT

public:
    enum Columns : int {
        ColCompareLimit = FirstModeColumn,
        ColResistance,
        ColResult,
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

    // "" for no verdict (0), "PASS" for 2, "FAIL" for any other code.
    static QString verdictText(quint8 result);
};
