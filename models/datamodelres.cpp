// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "models/datamodelres.h"

QVariant DataModelRES::data(const QModelIndex &index, int role) const
{
    DMMDataRES *record = recordAs<DMMDataRES>(index);
    if (!record || role != Qt::DisplayRole)
        return DataModel::data(index, role);

    switch (index.column()) {
    case ColResistance:
        return flaggedText(record->resistance, record->overRange);
    default:
        return DataModel::data(index, role);
    }
}

QString DataModelRES::getMainTitle() const
{
    return titleOf(MainColumn);
}

QVariant DataModelRES::getMainValue(int row) const
{
    return displayTextAt(row, MainColumn);
}
