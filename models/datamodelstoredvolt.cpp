// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "models/datamodelstoredvolt.h"

QVariant DataModelStoredVOLT::data(const QModelIndex &index, int role) const
{
    if (isDashCell(index, role, {ColDateTime}))
        return dash();
    return DataModelVOLT::data(index, role);
}
