// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "models/datamodelir.h"

// Stored table of insulation resistance records read out of the meter's memory.
// It shows "-" for the reading time, which a stored record does not know (its stamp
// is the moment it was decoded).
class DataModelStoredIR : public DataModelIR
{
    Q_OBJECT

public:
    using DataModelIR::DataModelIR;

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
};
