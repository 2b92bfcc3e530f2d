// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "models/datamodeltime.h"

// Stored table of timed insulation resistance records read out of the meter's memory.
// It shows "-" for the reading time, which a stored record does not know (its stamp
// is the moment it was decoded), and for the set time, which stored frames
// do not carry.
class DataModelStoredTime : public DataModelTime
{
    Q_OBJECT

public:
    using DataModelTime::DataModelTime;

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
};
