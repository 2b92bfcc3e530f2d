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

EquipmentItem EquipmentItem::describedBy(const TestDetails &details)
{
    EquipmentItem item;
    item.tag = details.equipment;
    item.kind = details.kind;
    item.ratedKilovolts = details.ratedKilovolts;
    item.insulationClass = details.insulationClass;
    item.winding = details.winding;
    item.baseCelsius = details.baseCelsius;
    return item;
}
