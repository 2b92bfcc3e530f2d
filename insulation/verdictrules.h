// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "insulation/curveanalysis.h"
#include "insulation/insulationtest.h"
#include "insulation/testdetails.h"
#include "insulation/verdict.h"

#include <QCoreApplication>

#include <vector>

// The criteria a test is judged by, as tables to be read against their
// sources line by line:
// - rotating machines (IEEE 43-2013): the minimum one-minute insulation
//   resistance at 40 °C by winding type, the minimum PI by insulation class
//   (not used above 5 000 MΩ at 40 °C, nor for random-wound windings), and
//   the DC test voltage for the rated voltage;
// - other equipment (ANSI/NETA MTS-2019, Table 100.1): the minimum
//   insulation resistance at 20 °C and the minimum DC test voltage by rated
//   voltage;
// - an item's own limits from its manufacturer, which come before both;
// - COMP tests: the meter's own pass or fail against its limit.
// Each criterion is judged at its own base temperature; the base the
// technician chose only decides what the corrected values shown are.
class VerdictRules
{
    Q_DECLARE_TR_FUNCTIONS(VerdictRules)

public:
    struct VoltageRow
    {
        double upToKilovolts; // the row applies to rated voltages up to this
        int minimumTestVolts;
        double minimumMegohms;
    };
    struct WindingRow
    {
        TestDetails::WindingType winding;
        // kV + 1 MΩ for older and field windings: `perKilovolt` × kV + `constant`.
        double perKilovolt;
        double constant;
    };
    struct ClassRow
    {
        TestDetails::InsulationClass insulationClass;
        double minimumPi;
    };
    struct TestVoltageRow
    {
        double upToKilovolts; // rated voltages up to this, or below it where not `upToIncluded`
        bool upToIncluded;
        int minimumVolts;
        int maximumVolts;
    };

    // Above this one-minute resistance at 40 °C PI is not assessed.
    static constexpr double piExemptAboveMegohms = 5000.0;
    static constexpr double ieeeBaseCelsius = 40.0;
    static constexpr double netaBaseCelsius = 20.0;

    VerdictRules() = delete;

    static const std::vector<VoltageRow> &voltageTable();
    static const std::vector<WindingRow> &windingTable();
    static const std::vector<ClassRow> &classTable();
    static const std::vector<TestVoltageRow> &testVoltageTable();

    static Verdict judge(const InsulationTest &test, const CurveAnalysis::Values &values,
                         const TestDetails &details);
};
