// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "models/datamodelcap.h"

QVariant DataModelCAP::data(const QModelIndex &index, int role) const
{
    DMMDataCAP *record = recordAs<DMMDataCAP>(index);
    if (!record || role != Qt::DisplayRole)
        return DataModel::data(index, role);

    switch (index.column()) {
    case ColCapacitance:
        return flaggedText(record->capacitance, record->overRange);
    case ColSetVoltage:
        return record->setVoltage.toString();
    default:
        return DataModel::data(index, role);
    }
}

QString DataModelCAP::getMainTitle() const
{
    return titleOf(MainColumn);
}

QVariant DataModelCAP::getMainValue(int row) const
{
    return displayTextAt(row, MainColumn);
}
