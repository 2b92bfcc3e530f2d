// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "models/datamodelstoredtime.h"

QVariant DataModelStoredTime::data(const QModelIndex &index, int role) const
{
    if (isDashCell(index, role, {ColDateTime, ColSetTime}))
        return dash();
    return DataModelTime::data(index, role);
}
