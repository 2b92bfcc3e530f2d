// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "models/datamodel.h"

#include <QVariant>

class DMMDataPIDAR;

// The columns and cells that the PI and DAR tables share; the two differ
// only in which ratio their ratio column shows.
namespace PiDarCells {

enum Columns : int {
    ColResistance1 = DataModel::FirstModeColumn,
    ColResistance2,
    ColRatio,
    ColElapsedTime,
    ColSetTime1,
    ColSetTime2,
    ColLeakageCurrent,
    ColSetVoltage,
    ColOutputVoltage,
    ColumnCount,
};

// The text of a shared cell; invalid for the ratio column and for columns
// these tables do not have.
QVariant cell(DMMDataPIDAR &record, int column);

} // namespace PiDarCells
