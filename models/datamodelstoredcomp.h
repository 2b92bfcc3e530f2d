// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "models/datamodelcomp.h"

// Stored table of limit comparison records read out of the meter's memory.
// It shows "-" for the reading time, which a stored record does not know (its stamp
// is the moment it was decoded).
class DataModelStoredCOMP : public DataModelCOMP
{
    Q_OBJECT

public:
    using DataModelCOMP::DataModelCOMP;

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
};
