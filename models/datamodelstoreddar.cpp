// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "models/datamodelstoreddar.h"

QVariant DataModelStoredDAR::data(const QModelIndex &index, int role) const
{
    if (isDashCell(index, role, {ColDateTime, PiDarCells::ColSetTime1, PiDarCells::ColSetTime2}))
        return dash();
    return DataModelDAR::data(index, role);
}
