// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "models/datamodelstoredcap.h"

QVariant DataModelStoredCAP::data(const QModelIndex &index, int role) const
{
    if (isDashCell(index, role, {ColDateTime}))
        return dash();
    return DataModelCAP::data(index, role);
}
