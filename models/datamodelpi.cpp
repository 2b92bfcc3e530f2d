// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "models/datamodelpi.h"

QVariant DataModelPI::data(const QModelIndex &index, int role) const
{
    DMMDataPI *record = recordAs<DMMDataPI>(index);
    if (!record || role != Qt::DisplayRole)
        return DataModel::data(index, role);

    if (index.column() == ColPIRatio)
        return record->piRatio.toString();
    const QVariant shared = PiDarCells::cell(*record, index.column());
    return shared.isValid() ? shared : DataModel::data(index, role);
}

QString DataModelPI::getMainTitle() const
{
    return titleOf(MainColumn);
}

QVariant DataModelPI::getMainValue(int row) const
{
    return displayTextAt(row, MainColumn);
}
