// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "models/datamodeltime.h"

#include "meter/timebox.h"

QVariant DataModelTime::data(const QModelIndex &index, int role) const
{
    DMMDataTime *record = recordAs<DMMDataTime>(index);
    if (!record || role != Qt::DisplayRole)
        return DataModel::data(index, role);

    switch (index.column()) {
    case ColResistance:
        return flaggedText(record->resistance, record->resistanceOverRange);
    case ColElapsedTime:
        // The inherited testTime belongs to IR frames only.
        return TimeBox::convertString(record->elapsedTime);
    case ColSetTime:
        return TimeBox::convertString(record->setTime);
    case ColLeakageCurrent:
        return record->leakageCurrent.toString();
    case ColSetVoltage:
        return record->setVoltage.toString();
    case ColOutputVoltage:
        return record->outputVoltage.toString();
    default:
        return DataModel::data(index, role);
    }
}

QString DataModelTime::getMainTitle() const
{
    return titleOf(MainColumn);
}

QVariant DataModelTime::getMainValue(int row) const
{
    return displayTextAt(row, MainColumn);
}
