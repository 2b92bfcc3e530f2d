// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "models/datamodelcap.h"

// Stored table of capacitance records read out of the meter's memory.
// It shows "-" for the reading time, which a stored record does not know (its stamp
// is the moment it was decoded).
class DataModelStoredCAP : public DataModelCAP
{
    Q_OBJECT

public:
    using DataModelCAP::DataModelCAP;

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
};
