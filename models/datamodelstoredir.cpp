// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "models/datamodelstoredir.h"

QVariant DataModelStoredIR::data(const QModelIndex &index, int role) const
{
    if (isDashCell(index, role, {ColDateTime}))
        return dash();
    return DataModelIR::data(index, role);
}
