// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "models/datamodeldar.h"

// Stored table of dielectric absorption ratio records read out of the meter's memory.
// It shows "-" for the reading time, which a stored record does not know (its stamp
// is the moment it was decoded), and, like the stored TIME table, for the
// set times.
class DataModelStoredDAR : public DataModelDAR
{
    Q_OBJECT

public:
    using DataModelDAR::DataModelDAR;

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
};
