// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "models/datamodelvolt.h"

// Stored table of voltage records read out of the meter's memory.
// It shows "-" for the reading time, which a stored record does not know (its stamp
// is the moment it was decoded).
class DataModelStoredVOLT : public DataModelVOLT
{
    Q_OBJECT

public:
    using DataModelVOLT::DataModelVOLT;

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
};
