// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "models/datamodelvolt.h"

QVariant DataModelVOLT::data(const QModelIndex &index, int role) const
{
    DMMDataVOLT *record = recordAs<DMMDataVOLT>(index);
    if (!record || role != Qt::DisplayRole)
        return DataModel::data(index, role);

    switch (index.column()) {
    case ColVoltage:
        // The meter reports no over-range for voltage, so no ">" here.
        return record->voltage.toString();
    case ColAcDc:
        return record->acdc;
    default:
        return DataModel::data(index, role);
    }
}

QString DataModelVOLT::getMainTitle() const
{
    return titleOf(MainColumn);
}

QVariant DataModelVOLT::getMainValue(int row) const
{
    return displayTextAt(row, MainColumn);
}
