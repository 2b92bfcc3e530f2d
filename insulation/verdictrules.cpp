// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "insulation/verdictrules.h"

#include "insulation/detailstext.h"

#include "insulation/reasontext.h"
#include "insulation/temperaturecorrection.h"
#include "meter/dmmdata.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
constexpr double noValue = std::numeric_limits<double>::quiet_NaN();
constexpr double oneMinute = 60.0;
constexpr int compPass = 2;
constexpr int compNoVerdict = 0;

using Result = Verdict::Outcome;



QString minimumText(double megohms)
{
    return QCoreApplication::translate("VerdictRules", "%1 MΩ").arg(ReasonText::exact(megohms));
}

// The insulation resistance a criterion is compared with: the one-minute
// value or, failing that, the final one, as corrected or not.
struct Judged
{
    double megohms = noValue;
    bool overRange = false; // a lower bound
    QString label;          // "IR1min", "final IR"
    QString where;          // "at 40 °C", "(not corrected)"

    bool exists() const { return overRange || std::isfinite(megohms); }
    QString text() const
    {
        return QStringLiteral("%1 %2 %3").arg(label, ReasonText::megohms(megohms, overRange), where);
    }
};

Judged oneMinuteValue(const InsulationTest &test, const CurveAnalysis::Values &values, QStringList &reasons)
{
    if (std::isfinite(values.r60))
        return {values.r60, false, VerdictRules::tr("IR1min"), {}};
    const CurvePoint atOneMinute = CurveAnalysis::pointAt(test.curve, oneMinute);
    if (atOneMinute.overRange)
        return {atOneMinute.megohms, true, VerdictRules::tr("IR1min"), {}};

    const Judged final{test.finalMegohms, test.finalOverRange, VerdictRules::tr("final IR"), {}};
    if (!final.exists())
        return final;
    if (test.curve.isEmpty())
        reasons << VerdictRules::tr("no curve (a record of the meter's memory): the final reading is judged");
    else if (test.curve.constLast().seconds < oneMinute)
        reasons << VerdictRules::tr("the curve does not reach 1 min: the final reading is judged");
    else
        reasons << VerdictRules::tr("no resistance at 1 min in the curve: the final reading is judged");
    return final;
}

// Readings warmer than the base read low; the factor brings them there.
Judged corrected(Judged value, const InsulationTest &test, const CurveAnalysis::Values &values,
                 const TestDetails &details, Verdict &verdict)
{
    if (std::isnan(details.insulationCelsius)) {
        verdict.reasons << VerdictRules::tr("no temperature given: not corrected");
        value.where = VerdictRules::tr("(not corrected)");
        return value;
    }
    const double base = details.effectiveBaseCelsius();
    const double factor = TemperatureCorrection::factor(details.insulationCelsius, base, details.halvingCelsius);
    if (!std::isfinite(factor)) {
        verdict.reasons << VerdictRules::tr("no usable halving interval: not corrected");
        value.where = VerdictRules::tr("(not corrected)");
        return value;
    }
    verdict.baseCelsius = base;
    verdict.correctedMegohms = value.megohms * factor;
    verdict.correctedR600 = values.r600 * factor;
    verdict.correctedFinalMegohms = test.finalMegohms * factor;
    verdict.reasons << VerdictRules::tr("corrected from %1 to %2: ×%3 (halving every %4)")
                           .arg(ReasonText::celsius(details.insulationCelsius), ReasonText::celsius(base),
                                ReasonText::measured(factor), ReasonText::celsius(details.halvingCelsius));
    value.megohms = verdict.correctedMegohms;
    value.where = VerdictRules::tr("at %1").arg(ReasonText::celsius(base));
    return value;
}

// A value beyond the range is above any minimum.
Result compareMinimum(const Judged &value, double minimum, const QString &criterion, Verdict &verdict)
{
    verdict.minimumMegohms = minimum;
    if (value.overRange || value.megohms >= minimum) {
        verdict.reasons << VerdictRules::tr("%1, at least %2 for %3: pass").arg(value.text(), minimumText(minimum), criterion);
        return Result::Pass;
    }
    verdict.reasons << VerdictRules::tr("%1, below %2 for %3: fail").arg(value.text(), minimumText(minimum), criterion);
    return Result::Fail;
}

bool ratedVoltageGiven(const TestDetails &details)
{
    return details.ratedKilovolts > 0.0;
}

QString windingText(const VerdictRules::WindingRow &row, double kilovolts)
{
    switch (row.winding) {
    case TestDetails::WindingType::OlderOrField:
        return VerdictRules::tr("older and field windings (%1 kV + 1)").arg(ReasonText::exact(kilovolts));
    case TestDetails::WindingType::FormWoundAfter1970:
        return VerdictRules::tr("form-wound windings");
    case TestDetails::WindingType::RandomWoundOrBelow1kV:
        return VerdictRules::tr("random-wound windings and windings below 1 kV");
    case TestDetails::WindingType::Unknown:
        break;
    }
    return QString();
}

Result minimumByWinding(const Judged &value, const TestDetails &details, Verdict &verdict)
{
    const auto &table = VerdictRules::windingTable();
    const auto row = std::find_if(table.cbegin(), table.cend(), [&](const VerdictRules::WindingRow &candidate) {
        return candidate.winding == details.winding;
    });
    if (row == table.cend()) {
        verdict.reasons << VerdictRules::tr("winding type not given: minimum IR not assessed");
        return Result::NotAssessed;
    }
    if (row->perKilovolt != 0.0 && !ratedVoltageGiven(details)) {
        verdict.reasons << VerdictRules::tr("rated voltage not given: minimum IR not assessed");
        return Result::NotAssessed;
    }
    const double kilovolts = row->perKilovolt != 0.0 ? details.ratedKilovolts : 0.0;
    const double minimum = row->perKilovolt * kilovolts + row->constant;
    return compareMinimum(value, minimum, windingText(*row, kilovolts), verdict);
}

// The curve's R10min / R1min, or else the meter's own PI.
Result minimumPi(const Judged &value, const InsulationTest &test, const CurveAnalysis::Values &values,
                 const TestDetails &details, Verdict &verdict)
{
    const auto &table = VerdictRules::classTable();
    const auto row = std::find_if(table.cbegin(), table.cend(), [&](const VerdictRules::ClassRow &candidate) {
        return candidate.insulationClass == details.insulationClass;
    });
    if (row == table.cend()) {
        verdict.reasons << VerdictRules::tr("insulation class not given: PI not assessed");
        return Result::NotAssessed;
    }
    if (value.megohms > VerdictRules::piExemptAboveMegohms) {
        verdict.reasons << VerdictRules::tr("PI not assessed: %1 is above %2")
                               .arg(value.text(), minimumText(VerdictRules::piExemptAboveMegohms));
        return Result::NotAssessed;
    }
    const bool fromCurve = std::isfinite(values.pi);
    const double pi = fromCurve ? values.pi : CurveAnalysis::meterPi(test);
    if (std::isnan(pi)) {
        verdict.reasons << VerdictRules::tr("no PI (the curve does not give R10min / R1min and the meter gave none): "
                              "PI not assessed");
        return Result::NotAssessed;
    }
    verdict.minimumPi = row->minimumPi;
    const QString shown = fromCurve ? ReasonText::measured(pi)
                                    : VerdictRules::tr("%1 (the meter's)").arg(ReasonText::measured(pi));
    const QString minimum = ReasonText::exact(row->minimumPi, 1);
    const QString insulationClass = DetailsText::insulationClass(row->insulationClass);
    if (pi >= row->minimumPi) {
        verdict.reasons << VerdictRules::tr("PI %1, at least %2 for class %3: pass").arg(shown, minimum, insulationClass);
        return Result::Pass;
    }
    verdict.reasons << VerdictRules::tr("PI %1 below %2 for class %3: fail").arg(shown, minimum, insulationClass);
    return Result::Fail;
}

// Which row applied, so that the reader can find it in the table.
QString voltageRowText(const std::vector<VerdictRules::VoltageRow> &table, size_t index, double kilovolts)
{
    const double upTo = table.at(index).upToKilovolts;
    const QString row = ReasonText::voltage(upTo);
    if (index == 0)
        return VerdictRules::tr("the row up to %1").arg(row);
    if (index + 1 == table.size())
        return VerdictRules::tr("the row %1 and above").arg(row);
    if (kilovolts < upTo)
        return VerdictRules::tr("the %1 row, the next above it").arg(row);
    return VerdictRules::tr("the %1 row").arg(row);
}

Result minimumByVoltage(const Judged &value, const TestDetails &details, Verdict &verdict)
{
    if (!ratedVoltageGiven(details)) {
        verdict.reasons << VerdictRules::tr("rated voltage not given: minimum IR not assessed");
        return Result::NotAssessed;
    }
    const auto &table = VerdictRules::voltageTable();
    // Between two rows the higher, stricter one applies; beyond the last, the last.
    size_t index = 0;
    while (index + 1 < table.size() && details.ratedKilovolts > table.at(index).upToKilovolts)
        ++index;
    const QString criterion = VerdictRules::tr("a rated voltage of %1 (%2)")
                                  .arg(ReasonText::voltage(details.ratedKilovolts),
                                       voltageRowText(table, index, details.ratedKilovolts));
    return compareMinimum(value, table.at(index).minimumMegohms, criterion, verdict);
}

Result judgeComparison(const InsulationTest &test, Verdict &verdict)
{
    verdict.minimumMegohms = test.compLimitMegohms;
    const QString limit = minimumText(test.compLimitMegohms);
    if (test.compResult == compPass) {
        verdict.reasons << VerdictRules::tr("the meter's verdict against its limit of %1: pass").arg(limit);
        return Result::Pass;
    }
    if (test.compResult <= compNoVerdict) {
        verdict.reasons << VerdictRules::tr("the meter gave no verdict against its limit of %1: not assessed").arg(limit);
        return Result::NotAssessed;
    }
    verdict.reasons << VerdictRules::tr("the meter's verdict against its limit of %1: fail").arg(limit);
    return Result::Fail;
}

void judgeInsulation(const InsulationTest &test, const CurveAnalysis::Values &values, const TestDetails &details,
                     Verdict &verdict, std::vector<Result> &results)
{
    const Judged measured = oneMinuteValue(test, values, verdict.reasons);
    if (!measured.exists()) {
        verdict.reasons << (test.status == InsulationTest::Status::Interrupted
                                ? VerdictRules::tr("interrupted before 1 min without a final reading: not assessed")
                                : VerdictRules::tr("no insulation resistance reading: not assessed"));
        return;
    }
    const Judged value = corrected(measured, test, values, details, verdict);
    if (details.kind == TestDetails::EquipmentKind::RotatingMachine) {
        results.push_back(minimumByWinding(value, details, verdict));
        results.push_back(minimumPi(value, test, values, details, verdict));
    } else {
        results.push_back(minimumByVoltage(value, details, verdict));
    }
}

void noteStatus(const InsulationTest &test, QStringList &reasons)
{
    if (test.status == InsulationTest::Status::Interrupted)
        reasons << VerdictRules::tr("the test was interrupted: judged on the readings it has");
    else if (test.status == InsulationTest::Status::Running)
        reasons << VerdictRules::tr("the test is still running: judged on the readings so far");
}

Result outcomeOf(const std::vector<Result> &results)
{
    const auto has = [&](Result wanted) {
        return std::find(results.cbegin(), results.cend(), wanted) != results.cend();
    };
    if (has(Result::Fail))
        return Result::Fail;
    return has(Result::Pass) ? Result::Pass : Result::NotAssessed;
}
} // namespace

// The acceptance table by rated voltage: equipment rated up to a row's
// voltage needs at least its minimum at one minute, corrected to the base
// (20 °C unless the technician gives another).
const std::vector<VerdictRules::VoltageRow> &VerdictRules::voltageTable()
{
    static const std::vector<VoltageRow> table{
        {0.25, 25.0},     // up to 250 V
        {0.6, 100.0},     // 600 V
        {1.0, 100.0},     // 1 kV
        {2.5, 500.0},     // 2.5 kV
        {5.0, 1500.0},    // 5 kV
        {8.0, 2500.0},    // 8 kV
        {15.0, 5000.0},   // 15 kV
        {25.0, 10000.0},  // 25 kV
        {34.5, 100000.0}, // 34.5 kV and above
    };
    return table;
}

// IEEE 43-2013, the recommended minimum IR1min at 40 °C.
const std::vector<VerdictRules::WindingRow> &VerdictRules::windingTable()
{
    static const std::vector<WindingRow> table{
        // Most windings made before about 1970, all field windings, and
        // others not described below: kV + 1 MΩ (kV the rated voltage).
        {TestDetails::WindingType::OlderOrField, 1.0, 1.0},
        // Most DC armature and AC windings built after about 1970 (form-wound coils).
        {TestDetails::WindingType::FormWoundAfter1970, 0.0, 100.0},
        // Most machines with random-wound stator coils and form-wound coils rated below 1 kV.
        {TestDetails::WindingType::RandomWoundOrBelow1kV, 0.0, 5.0},
    };
    return table;
}

// IEEE 43-2013, the recommended minimum polarization index by thermal class.
const std::vector<VerdictRules::ClassRow> &VerdictRules::classTable()
{
    static const std::vector<ClassRow> table{
        {TestDetails::InsulationClass::A, 1.5},
        {TestDetails::InsulationClass::B, 2.0},
        {TestDetails::InsulationClass::F, 2.0},
        {TestDetails::InsulationClass::H, 2.0},
    };
    return table;
}

Verdict VerdictRules::judge(const InsulationTest &test, const CurveAnalysis::Values &values,
                            const TestDetails &details)
{
    Verdict verdict;
    if (test.isMeasurement()) {
        verdict.reasons << VerdictRules::tr("a measurement, not a test");
        return verdict;
    }
    noteStatus(test, verdict.reasons);
    std::vector<Result> results;
    if (test.mode == DMMData::dmCOMP)
        results.push_back(judgeComparison(test, verdict));
    else
        judgeInsulation(test, values, details, verdict, results);
    verdict.outcome = outcomeOf(results);
    return verdict;
}
