// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "models/datamodelir.h"

#include "meter/timebox.h"

QVariant DataModelIR::data(const QModelIndex &index, int role) const
{
    DMMDataIR *record = recordAs<DMMDataIR>(index);
    if (!record || role != Qt::DisplayRole)
        return DataModel::data(index, role);

    switch (index.column()) {
    case ColResistance:
        return flaggedText(record->resistance, record->resistanceOverRange);
    case ColLeakageCurrent:
        return record->leakageCurrent.toString();
    case ColSetVoltage:
        return record->setVoltage.toString();
    case ColOutputVoltage:
        return record->outputVoltage.toString();
    case ColDar:
        return record->dar.toString();
    case ColPi:
        return record->pi.toString();
    case ColTestTime:
        return TimeBox::convertString(record->testTime);
    default:
        return DataModel::data(index, role);
    }
}

QString DataModelIR::getMainTitle() const
{
    return titleOf(MainColumn);
}

QVariant DataModelIR::getMainValue(int row) const
{
    return displayTextAt(row, MainColumn);
}
