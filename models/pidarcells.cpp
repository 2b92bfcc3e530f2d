// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "models/pidarcells.h"

#include "meter/dmmdata.h"
#include "meter/timebox.h"

namespace PiDarCells {

QVariant cell(DMMDataPIDAR &record, int column)
{
    switch (column) {
    case ColResistance1:
        return DataModel::flaggedText(record.resistance, record.resistanceOverRange);
    case ColResistance2:
        return DataModel::flaggedText(record.resistance2, record.resistance2OverRange);
    case ColElapsedTime:
        return TimeBox::convertString(record.elapsedTime);
    case ColSetTime1:
        return TimeBox::convertString(record.setTime);
    case ColSetTime2:
        return TimeBox::convertString(record.setTime2);
    case ColLeakageCurrent:
        return record.leakageCurrent.toString();
    case ColSetVoltage:
        return record.setVoltage.toString();
    case ColOutputVoltage:
        return record.outputVoltage.toString();
    default:
        return {};
    }
}

} // namespace PiDarCells
