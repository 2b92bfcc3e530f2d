// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "models/datamodelstoredcomp.h"

QVariant DataModelStoredCOMP::data(const QModelIndex &index, int role) const
{
    if (isDashCell(index, role, {ColDateTime}))
        return dash();
    return DataModelCOMP::data(index, role);
}
