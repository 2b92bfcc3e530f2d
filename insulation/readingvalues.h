// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "insulation/insulationtest.h"
#include "meter/dmmdata.h"

// What one meter record says in the terms of a test: resistances in MΩ,
// currents in µA, the meter's clock in seconds, the point it adds to a curve
// and the final values it leaves.
class ReadingValues
{
public:
    ReadingValues() = delete;

    static bool isInsulationMode(int mode);
    static bool isMeasurementMode(int mode);
    // A mode among the eight, held by the record class that mode is decoded into.
    static bool isUsable(const QSharedPointer<DMMData> &record);

    // NaN where the box shows no number ("-", "----", "OL", "LO").
    static double megohms(const ValueBox &box);
    static double microamps(const ValueBox &box);
    // The meter's minutes<<8 | seconds.
    static int seconds(quint16 minutesSeconds);
    // The meter's own test (IR) or elapsed (TIME, PI, DAR) time; -1 where its
    // frames carry none (COMP).
    static int meterSeconds(const DMMData &record);

    // The point of an insulation reading, placed at `seconds`.
    static CurvePoint curvePoint(const DMMData &record, double seconds);
    // Takes over what the record holds as the test's latest word: final
    // resistance, the meter's ratios and verdict, set times and voltage,
    // and for VOLT, CAP and RES the text of the reading.
    static void takeFinalValues(InsulationTest &test, const DMMData &record);
    // The main value as the readings table shows it: "230 V", ">10.0 μF".
    static QString measurementText(const DMMData &record);
};
