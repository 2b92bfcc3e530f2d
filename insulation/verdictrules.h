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
//   resistance corrected to 40 °C by winding type, the minimum PI by
//   insulation class, and the standard's own exception: PI is not assessed
//   where the corrected one-minute resistance exceeds 5 000 MΩ;
// - other equipment: the minimum insulation resistance by rated voltage of
//   the acceptance table maintenance engineers commonly use, against the
//   corrected one-minute (or final) reading;
// - COMP tests: the meter's own pass or fail.
class VerdictRules
{
    Q_DECLARE_TR_FUNCTIONS(VerdictRules)

public:
    struct VoltageRow
    {
        double upToKilovolts; // the row applies to rated voltages up to this
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

    // Above this corrected one-minute resistance PI is not assessed.
    static constexpr double piExemptAboveMegohms = 5000.0;

    VerdictRules() = delete;

    static const std::vector<VoltageRow> &voltageTable();
    static const std::vector<WindingRow> &windingTable();
    static const std::vector<ClassRow> &classTable();

    static Verdict judge(const InsulationTest &test, const CurveAnalysis::Values &values,
                         const TestDetails &details);
};
