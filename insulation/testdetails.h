// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QMetaType>
#include <QString>

#include <limits>

// What the technician tells about a test: the equipment under test, the
// conditions and who tested. Numbers that were not given are NaN.
struct TestDetails
{
    enum class EquipmentKind { RotatingMachine, Transformer, Cable, Other };
    enum class InsulationClass { Unknown, A, B, F, H };
    // Rotating machines only, as IEEE 43 sorts them for the minimum IR.
    enum class WindingType { Unknown, FormWoundAfter1970, RandomWoundOrBelow1kV, OlderOrField };

    QString equipment;
    EquipmentKind kind = EquipmentKind::Other;
    double ratedKilovolts = std::numeric_limits<double>::quiet_NaN();
    InsulationClass insulationClass = InsulationClass::Unknown;
    WindingType winding = WindingType::Unknown;
    double insulationCelsius = std::numeric_limits<double>::quiet_NaN();
    double ambientCelsius = std::numeric_limits<double>::quiet_NaN();
    double humidityPercent = std::numeric_limits<double>::quiet_NaN();
    QString operatorName;
    QString notes;
    // The temperature readings are corrected to; NaN: the kind's default
    // (40 °C for rotating machines, 20 °C otherwise).
    double baseCelsius = std::numeric_limits<double>::quiet_NaN();
    // Insulation resistance halves for every this many degrees warmer.
    double halvingCelsius = 10.0;

    double effectiveBaseCelsius() const;
    bool isEmpty() const;
};

Q_DECLARE_METATYPE(TestDetails)
