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
    details.medium = medium;
    details.makerMinimumMegohms = makerMinimumMegohms;
    details.makerMinimumCelsius = makerMinimumCelsius;
    details.makerMinimumPi = makerMinimumPi;
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
    item.medium = details.medium;
    item.makerMinimumMegohms = details.makerMinimumMegohms;
    item.makerMinimumCelsius = details.makerMinimumCelsius;
    item.makerMinimumPi = details.makerMinimumPi;
    return item;
}
