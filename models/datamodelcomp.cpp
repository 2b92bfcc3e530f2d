// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "models/datamodelcomp.h"

QVariant DataModelCOMP::data(const QModelIndex &index, int role) const
{
    DMMDataCOMP *record = recordAs<DMMDataCOMP>(index);
    if (!record || role != Qt::DisplayRole)
        return DataModel::data(index, role);

    switch (index.column()) {
    case ColCompareLimit:
        return record->compareLimit.toString();
    case ColResistance:
        return flaggedText(record->resistance, record->resistanceOverRange);
    case ColResult:
        return verdictText(record->result);
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

QString DataModelCOMP::getMainTitle() const
{
    return titleOf(MainColumn);
}

QVariant DataModelCOMP::getMainValue(int row) const
{
    return displayTextAt(row, MainColumn);
}

QString DataModelCOMP::verdictText(quint8 result)
{
    constexpr quint8 noVerdict = 0;
    constexpr quint8 pass = 2;
    if (result == noVerdict)
        return QString();
    return result == pass ? QStringLiteral("PASS") : QStringLiteral("FAIL");
}
