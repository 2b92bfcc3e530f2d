// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "insulation/equipmentitem.h"

void EquipmentItem::applyTo(TestDetails &details) const
{
    details.equipment = tag;
    details.kind = kind;
    details.ratedKilovolts = ratedKilovolts;
    details.insulationClass = insulationClass;
    details.winding = winding;
    details.baseCelsius = baseCelsius;
}
