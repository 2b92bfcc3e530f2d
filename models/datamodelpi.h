// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "models/datamodel.h"
#include "models/pidarcells.h"

// Live table of polarization index readings.
class DataModelPI : public DataModel
{
    Q_OBJECT

public:
    static constexpr int ColPIRatio = PiDarCells::ColRatio;
    static constexpr int ColumnCount = PiDarCells::ColumnCount;
    static constexpr int MainColumn = ColPIRatio;

    using DataModel::DataModel;

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QString getMainTitle() const override;
    QVariant getMainValue(int row) const override;
};
