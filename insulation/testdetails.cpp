// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "insulation/testdetails.h"

#include "insulation/temperaturecorrection.h"

#include <cmath>

double TestDetails::effectiveBaseCelsius() const
{
    if (!std::isnan(baseCelsius))
        return baseCelsius;
    return kind == EquipmentKind::RotatingMachine ? TemperatureCorrection::rotatingMachineBaseCelsius
                                                  : TemperatureCorrection::otherBaseCelsius;
}

// Nothing the technician would have had to type or choose: a fresh form.
bool TestDetails::isEmpty() const
{
    const TestDetails fresh;
    return equipment.isEmpty() && operatorName.isEmpty() && notes.isEmpty() && kind == fresh.kind
           && insulationClass == fresh.insulationClass && winding == fresh.winding && std::isnan(ratedKilovolts)
           && std::isnan(insulationCelsius) && std::isnan(ambientCelsius) && std::isnan(humidityPercent)
           && std::isnan(baseCelsius) && halvingCelsius == fresh.halvingCelsius && correction == fresh.correction
           && testPoint.isEmpty() && testedMs == 0 && medium == fresh.medium && std::isnan(makerMinimumMegohms)
           && std::isnan(makerMinimumCelsius) && std::isnan(makerMinimumPi);
}
