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
    // What the insulation is: the column of the correction table for
    // equipment other than rotating machines (a transformer's oil, a cable's
    // solid dielectric).
    enum class InsulationMedium { Unknown, Solid, OilImmersed };
    // How readings are brought to the base temperature: the standard's way
    // for the equipment, or the halving formula with the interval below.
    enum class Correction { Standard, Halving };

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
    Correction correction = Correction::Standard;

    // Where on the equipment the test was made: "U-E", "L1-E", "core 3-E";
    // empty when not given.
    QString testPoint;
    // When the test was made, as the technician gives it for a test whose
    // readings carry no date of their own (a record of the meter's memory);
    // 0 when not given.
    qint64 testedMs = 0;

    // The item's own, from the register: its insulation, and the maker's
    // limits, which decide before the standards' tables (NaN: not given).
    InsulationMedium medium = InsulationMedium::Unknown;
    double makerMinimumMegohms = std::numeric_limits<double>::quiet_NaN();
    double makerMinimumCelsius = std::numeric_limits<double>::quiet_NaN(); // the base it holds at
    double makerMinimumPi = std::numeric_limits<double>::quiet_NaN();

    double effectiveBaseCelsius() const;
    bool isEmpty() const;
};

Q_DECLARE_METATYPE(TestDetails)
