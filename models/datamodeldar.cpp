// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "models/datamodeldar.h"

QVariant DataModelDAR::data(const QModelIndex &index, int role) const
{
    DMMDataDAR *record = recordAs<DMMDataDAR>(index);
    if (!record || role != Qt::DisplayRole)
        return DataModel::data(index, role);

    if (index.column() == ColDARRatio)
        return record->darRatio.toString();
    const QVariant shared = PiDarCells::cell(*record, index.column());
    return shared.isValid() ? shared : DataModel::data(index, role);
}

QString DataModelDAR::getMainTitle() const
{
    return titleOf(MainColumn);
}

QVariant DataModelDAR::getMainValue(int row) const
{
    return displayTextAt(row, MainColumn);
}
