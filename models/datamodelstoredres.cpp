// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "models/datamodelstoredres.h"

QVariant DataModelStoredRES::data(const QModelIndex &index, int role) const
{
    if (isDashCell(index, role, {ColDateTime}))
        return dash();
    return DataModelRES::data(index, role);
}
