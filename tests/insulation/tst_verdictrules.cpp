// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "insulation/reasontext.h"
#include "insulation/verdictrules.h"
#include "meter/dmmdata.h"
#include "support/curvepoints.h"

#include <QTest>

#include <cmath>

namespace {
using CurvePoints::none;
using CurvePoints::point;
using Winding = TestDetails::WindingType;
using Class = TestDetails::InsulationClass;
using Kind = TestDetails::EquipmentKind;
using Outcome = Verdict::Outcome;

InsulationTest withCurve(int mode, const QVector<CurvePoint> &curve)
{
    InsulationTest test;
    test.mode = mode;
    test.status = InsulationTest::Status::Completed;
    test.curve = curve;
    test.finalMegohms = curve.constLast().megohms;
    test.finalOverRange = curve.constLast().overRange;
    return test;
}

// An IR test read at 30 s and 1 min, and at 10 min where `r600` is given.
InsulationTest oneMinute(double r60, double r600 = none, bool overRange = false)
{
    QVector<CurvePoint> curve{point(30, r60 * 0.8), point(60, r60, overRange)};
    if (!std::isnan(r600))
        curve << point(600, r600);
    return withCurve(DMMData::dmIR, curve);
}

InsulationTest fromMemory(double megohms, bool overRange = false)
{
    InsulationTest test;
    test.mode = DMMData::dmIR;
    test.origin = InsulationTest::Origin::Memory;
    test.status = InsulationTest::Status::Completed;
    test.finalMegohms = megohms;
    test.finalOverRange = overRange;
    return test;
}

InsulationTest shortOfOneMinute(double finalMegohms, InsulationTest::Status status)
{
    InsulationTest test = withCurve(DMMData::dmTime, {point(10, 50), point(20, 70), point(30, finalMegohms)});
    test.status = status;
    return test;
}

InsulationTest withMeterPi(InsulationTest test, double meterPi)
{
    test.meterPi = meterPi;
    return test;
}

InsulationTest interrupted(InsulationTest test)
{
    test.status = InsulationTest::Status::Interrupted;
    return test;
}

InsulationTest comparison(int result, double megohms = 120.0)
{
    InsulationTest test = withCurve(DMMData::dmCOMP, {point(0, megohms * 0.9), point(3, megohms)});
    test.compResult = result;
    test.compLimitMegohms = 100.0;
    return test;
}

InsulationTest measurement()
{
    InsulationTest test;
    test.mode = DMMData::dmVOLT;
    test.status = InsulationTest::Status::Completed;
    test.measurementText = QStringLiteral("230 V");
    return test;
}

TestDetails rotating(Winding winding, Class insulationClass = Class::Unknown, double celsius = 40.0,
                     double kilovolts = none)
{
    TestDetails details;
    details.kind = Kind::RotatingMachine;
    details.winding = winding;
    details.insulationClass = insulationClass;
    details.insulationCelsius = celsius;
    details.ratedKilovolts = kilovolts;
    return details;
}

TestDetails equipment(double kilovolts, double celsius = 20.0, Kind kind = Kind::Cable)
{
    TestDetails details;
    details.kind = kind;
    details.ratedKilovolts = kilovolts;
    details.insulationCelsius = celsius;
    return details;
}

TestDetails withHalving(TestDetails details, double halving)
{
    details.halvingCelsius = halving;
    return details;
}

// Expected texts write the thin space between thousands as '_'.
QStringList thinSpaced(QStringList texts)
{
    for (QString &text : texts)
        text.replace(QLatin1Char('_'), ReasonText::thousandsSeparator);
    return texts;
}

Verdict judged(const InsulationTest &test, const TestDetails &details)
{
    return VerdictRules::judge(test, CurveAnalysis::analyse(test), details);
}

const char *const irPass = "IR1min %1 MΩ at 40 °C, at least %2 MΩ for %3: pass";
const char *const irFail = "IR1min %1 MΩ at 40 °C, below %2 MΩ for %3: fail";
} // namespace

Q_DECLARE_METATYPE(Verdict::Outcome)

class TestVerdictRules : public QObject
{
    Q_OBJECT

private slots:
    void judge_data();
    void judge();
    void verdictKeepsWhatItUsed();
    void uncorrectedVerdictKeepsNoCorrectedValues();

private:
    void addWindingRows();
    void addClassRows();
    void addPiExceptionRows();
    void addVoltageRows();
    void addTemperatureRows();
    void addOverRangeRows();
    void addIncompleteTestRows();
    void addComparisonRows();
};

void TestVerdictRules::judge_data()
{
    QTest::addColumn<InsulationTest>("test");
    QTest::addColumn<TestDetails>("details");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<QStringList>("reasons");  // each among the verdict's reasons
    QTest::addColumn<double>("minimumMegohms"); // NaN: none applied

    addWindingRows();
    addClassRows();
    addPiExceptionRows();
    addVoltageRows();
    addTemperatureRows();
    addOverRangeRows();
    addIncompleteTestRows();
    addComparisonRows();
}

void TestVerdictRules::judge()
{
    QFETCH(InsulationTest, test);
    QFETCH(TestDetails, details);
    QFETCH(Outcome, outcome);
    QFETCH(QStringList, reasons);
    QFETCH(double, minimumMegohms);

    const Verdict verdict = judged(test, details);
    const QString all = verdict.reasons.join(QStringLiteral(" | "));
    QVERIFY2(verdict.outcome == outcome, qPrintable(verdict.outcomeText() + QStringLiteral(": ") + all));
    for (const QString &reason : thinSpaced(reasons))
        QVERIFY2(verdict.reasons.contains(reason), qPrintable(QStringLiteral("'%1' not in: %2").arg(reason, all)));
    if (std::isnan(minimumMegohms))
        QVERIFY2(std::isnan(verdict.minimumMegohms), qPrintable(QString::number(verdict.minimumMegohms)));
    else
        QCOMPARE(verdict.minimumMegohms, minimumMegohms);
}

// IEEE 43-2013 minimum IR1min at 40 °C by winding; no class, so no PI.
void TestVerdictRules::addWindingRows()
{
    const QString formWound = QStringLiteral("form-wound windings");
    const QString randomWound = QStringLiteral("random-wound windings and windings below 1 kV");
    const TestDetails form = rotating(Winding::FormWoundAfter1970);
    const TestDetails random = rotating(Winding::RandomWoundOrBelow1kV);
    const TestDetails older4kV = rotating(Winding::OlderOrField, Class::Unknown, 40.0, 4.0);
    const TestDetails older13kV = rotating(Winding::OlderOrField, Class::Unknown, 40.0, 13.8);

    QTest::newRow("form-wound: at 100 MΩ passes")
        << oneMinute(100) << form << Outcome::Pass << QStringList{QString(irPass).arg("100", "100", formWound)}
        << 100.0;
    QTest::newRow("form-wound: below 100 MΩ fails")
        << oneMinute(99.9) << form << Outcome::Fail << QStringList{QString(irFail).arg("99.9", "100", formWound)}
        << 100.0;
    QTest::newRow("random-wound: at 5 MΩ passes")
        << oneMinute(5) << random << Outcome::Pass << QStringList{QString(irPass).arg("5.00", "5", randomWound)} << 5.0;
    QTest::newRow("random-wound: below 5 MΩ fails")
        << oneMinute(4.99) << random << Outcome::Fail << QStringList{QString(irFail).arg("4.99", "5", randomWound)}
        << 5.0;
    QTest::newRow("older or field, 4 kV: at kV + 1 passes")
        << oneMinute(5) << older4kV << Outcome::Pass
        << QStringList{QString(irPass).arg("5.00", "5", "older and field windings (4 kV + 1)")} << 5.0;
    QTest::newRow("older or field, 4 kV: below kV + 1 fails")
        << oneMinute(4.99) << older4kV << Outcome::Fail
        << QStringList{QString(irFail).arg("4.99", "5", "older and field windings (4 kV + 1)")} << 5.0;
    QTest::newRow("older or field, 13.8 kV: above 14.8 MΩ passes")
        << oneMinute(14.9) << older13kV << Outcome::Pass
        << QStringList{QString(irPass).arg("14.9", "14.8", "older and field windings (13.8 kV + 1)")} << 14.8;
    QTest::newRow("older or field, 13.8 kV: below 14.8 MΩ fails")
        << oneMinute(14.7) << older13kV << Outcome::Fail << QStringList{} << 14.8;
    QTest::newRow("older or field without rated voltage: not assessed")
        << oneMinute(1000) << rotating(Winding::OlderOrField) << Outcome::NotAssessed
        << QStringList{"rated voltage not given: minimum IR not assessed"} << none;
    QTest::newRow("winding not given: not assessed")
        << oneMinute(1000) << rotating(Winding::Unknown) << Outcome::NotAssessed
        << QStringList{"winding type not given: minimum IR not assessed", "insulation class not given: PI not assessed"}
        << none;
}

// IEEE 43-2013 minimum PI by class; IR1min 1 000 MΩ passes, PI = R10min / 1 000.
void TestVerdictRules::addClassRows()
{
    const struct
    {
        Class insulationClass;
        const char *name;
        double minimum;
    } classes[] = {{Class::A, "A", 1.5}, {Class::B, "B", 2.0}, {Class::F, "F", 2.0}, {Class::H, "H", 2.0}};
    for (const auto &row : classes) {
        const TestDetails details = rotating(Winding::FormWoundAfter1970, row.insulationClass);
        const QString minimum = QString::number(row.minimum, 'f', 1);
        QTest::addRow("class %s: PI at %s passes", row.name, qPrintable(minimum))
            << oneMinute(1000, 1000 * row.minimum) << details << Outcome::Pass
            << QStringList{QStringLiteral("PI %1, at least %2 for class %3: pass")
                               .arg(QString::number(row.minimum, 'f', 2), minimum, row.name)}
            << 100.0;
        QTest::addRow("class %s: PI below %s fails", row.name, qPrintable(minimum))
            << oneMinute(1000, 1000 * (row.minimum - 0.01)) << details << Outcome::Fail
            << QStringList{QStringLiteral("PI %1 below %2 for class %3: fail")
                               .arg(QString::number(row.minimum - 0.01, 'f', 2), minimum, row.name)}
            << 100.0;
    }
    QTest::newRow("class not given: PI not assessed, IR decides")
        << oneMinute(1000, 1000) << rotating(Winding::FormWoundAfter1970) << Outcome::Pass
        << QStringList{"insulation class not given: PI not assessed"} << 100.0;
    QTest::newRow("IR fails, PI passes: fails")
        << oneMinute(90, 300) << rotating(Winding::FormWoundAfter1970, Class::F) << Outcome::Fail
        << QStringList{"PI 3.33, at least 2.0 for class F: pass"} << 100.0;
    QTest::newRow("PI from the meter where the curve gives none")
        << withMeterPi(oneMinute(1000), 2.5) << rotating(Winding::FormWoundAfter1970, Class::F) << Outcome::Pass
        << QStringList{"PI 2.50 (the meter's), at least 2.0 for class F: pass"} << 100.0;
    QTest::newRow("no PI at all: not assessed, IR decides")
        << oneMinute(1000) << rotating(Winding::FormWoundAfter1970, Class::F) << Outcome::Pass
        << QStringList{"no PI (the curve does not give R10min / R1min and the meter gave none): PI not assessed"}
        << 100.0;
}

// PI is not assessed where the corrected IR1min exceeds 5 000 MΩ; every row
// has PI 1.0, which fails class F wherever it is assessed.
void TestVerdictRules::addPiExceptionRows()
{
    const TestDetails classF = rotating(Winding::FormWoundAfter1970, Class::F);
    const TestDetails classFAt50 = rotating(Winding::FormWoundAfter1970, Class::F, 50.0);
    const TestDetails classFUncorrected = rotating(Winding::FormWoundAfter1970, Class::F, none);

    QTest::newRow("PI exception: below 5 000 MΩ, PI assessed")
        << oneMinute(4990, 4990) << classF << Outcome::Fail << QStringList{"PI 1.00 below 2.0 for class F: fail"}
        << 100.0;
    QTest::newRow("PI exception: at 5 000 MΩ, PI assessed")
        << oneMinute(5000, 5000) << classF << Outcome::Fail << QStringList{"PI 1.00 below 2.0 for class F: fail"}
        << 100.0;
    QTest::newRow("PI exception: above 5 000 MΩ, PI not assessed")
        << oneMinute(5010, 5010) << classF << Outcome::Pass
        << QStringList{"PI not assessed: IR1min 5_010 MΩ at 40 °C is above 5_000 MΩ"} << 100.0;
    QTest::newRow("PI exception: 2 500 MΩ at 50 °C is 5 000 MΩ at 40 °C, PI assessed")
        << oneMinute(2500, 2500) << classFAt50 << Outcome::Fail << QStringList{"PI 1.00 below 2.0 for class F: fail"}
        << 100.0;
    QTest::newRow("PI exception: 4 100 MΩ at 50 °C is 8 200 MΩ at 40 °C, PI not assessed")
        << oneMinute(4100, 4100) << classFAt50 << Outcome::Pass
        << QStringList{"PI not assessed: IR1min 8_200 MΩ at 40 °C is above 5_000 MΩ"} << 100.0;
    QTest::newRow("PI exception: 10 000 MΩ at 30 °C is 5 000 MΩ at 40 °C, PI assessed")
        << oneMinute(10000, 10000) << rotating(Winding::FormWoundAfter1970, Class::F, 30.0) << Outcome::Fail
        << QStringList{"PI 1.00 below 2.0 for class F: fail"} << 100.0;
    QTest::newRow("PI exception: 20 000 MΩ at 10 °C is 2 500 MΩ at 40 °C, PI assessed")
        << oneMinute(20000, 20000) << rotating(Winding::FormWoundAfter1970, Class::F, 10.0) << Outcome::Fail
        << QStringList{"PI 1.00 below 2.0 for class F: fail"} << 100.0;
    QTest::newRow("PI exception: uncorrected value above 5 000 MΩ")
        << oneMinute(6000, 6000) << classFUncorrected << Outcome::Pass
        << QStringList{"PI not assessed: IR1min 6_000 MΩ (not corrected) is above 5_000 MΩ"} << 100.0;
}

// The acceptance table by rated voltage, at 20 °C: at each row's minimum and just below it.
void TestVerdictRules::addVoltageRows()
{
    const struct
    {
        double kilovolts;
        double minimum;
        const char *row;
    } rows[] = {
        {0.25, 25, "the row up to 250 V"}, {0.6, 100, "the 600 V row"},   {1.0, 100, "the 1 kV row"},
        {2.5, 500, "the 2.5 kV row"},       {5.0, 1500, "the 5 kV row"},   {8.0, 2500, "the 8 kV row"},
        {15.0, 5000, "the 15 kV row"},      {25.0, 10000, "the 25 kV row"}, {34.5, 100000, "the row 34.5 kV and above"},
    };
    for (const auto &row : rows) {
        const QString voltage = ReasonText::voltage(row.kilovolts);
        const QString minimum = ReasonText::exact(row.minimum);
        QTest::addRow("%s: at %s MΩ passes", qPrintable(voltage), qPrintable(minimum))
            << oneMinute(row.minimum) << equipment(row.kilovolts) << Outcome::Pass
            << QStringList{QStringLiteral("IR1min %1 MΩ at 20 °C, at least %2 MΩ for a rated voltage of %3 (%4): pass")
                               .arg(ReasonText::measured(row.minimum), minimum, voltage, row.row)}
            << row.minimum;
        QTest::addRow("%s: below %s MΩ fails", qPrintable(voltage), qPrintable(minimum))
            << oneMinute(row.minimum * 0.999) << equipment(row.kilovolts) << Outcome::Fail << QStringList{}
            << row.minimum;
    }
    QTest::newRow("120 V: the row up to 250 V")
        << oneMinute(24) << equipment(0.12) << Outcome::Fail
        << QStringList{"IR1min 24.0 MΩ at 20 °C, below 25 MΩ for a rated voltage of 120 V (the row up to 250 V): fail"}
        << 25.0;
    QTest::newRow("480 V between rows: the 600 V row")
        << oneMinute(99) << equipment(0.48) << Outcome::Fail
        << QStringList{"IR1min 99.0 MΩ at 20 °C, below 100 MΩ for a rated voltage of 480 V "
                       "(the 600 V row, the next above it): fail"}
        << 100.0;
    QTest::newRow("3.3 kV between rows: the 5 kV row, at its minimum passes")
        << oneMinute(1500) << equipment(3.3) << Outcome::Pass
        << QStringList{"IR1min 1_500 MΩ at 20 °C, at least 1_500 MΩ for a rated voltage of 3.3 kV "
                       "(the 5 kV row, the next above it): pass"}
        << 1500.0;
    QTest::newRow("3.3 kV between rows: the 5 kV row, below fails")
        << oneMinute(1490) << equipment(3.3) << Outcome::Fail << QStringList{} << 1500.0;
    QTest::newRow("30 kV between 25 and 34.5 kV: the last row")
        << oneMinute(99000) << equipment(30.0) << Outcome::Fail << QStringList{} << 100000.0;
    QTest::newRow("69 kV above the last row: passes at its minimum")
        << oneMinute(100000) << equipment(69.0) << Outcome::Pass
        << QStringList{"IR1min 100_000 MΩ at 20 °C, at least 100_000 MΩ for a rated voltage of 69 kV "
                       "(the row 34.5 kV and above): pass"}
        << 100000.0;
    QTest::newRow("69 kV above the last row: below fails")
        << oneMinute(99900) << equipment(69.0) << Outcome::Fail << QStringList{} << 100000.0;
    QTest::newRow("transformer judged by the same table")
        << oneMinute(499) << equipment(2.5, 20.0, Kind::Transformer) << Outcome::Fail << QStringList{} << 500.0;
    QTest::newRow("other equipment judged by the same table")
        << oneMinute(500) << equipment(2.5, 20.0, Kind::Other) << Outcome::Pass << QStringList{} << 500.0;
    QTest::newRow("rated voltage not given: not assessed")
        << oneMinute(1000) << equipment(none) << Outcome::NotAssessed
        << QStringList{"rated voltage not given: minimum IR not assessed"} << none;
}

void TestVerdictRules::addTemperatureRows()
{
    QTest::newRow("temperature given at the base: ×1")
        << oneMinute(312) << rotating(Winding::FormWoundAfter1970) << Outcome::Pass
        << QStringList{"corrected from 40 °C to 40 °C: ×1.00 (halving every 10 °C)",
                       "IR1min 312 MΩ at 40 °C, at least 100 MΩ for form-wound windings: pass"}
        << 100.0;
    QTest::newRow("no temperature: judged uncorrected")
        << oneMinute(312) << rotating(Winding::FormWoundAfter1970, Class::Unknown, none) << Outcome::Pass
        << QStringList{"no temperature given: not corrected",
                       "IR1min 312 MΩ (not corrected), at least 100 MΩ for form-wound windings: pass"}
        << 100.0;
    QTest::newRow("read at 20 °C: 400 MΩ is 100 MΩ at 40 °C, passes")
        << oneMinute(400) << rotating(Winding::FormWoundAfter1970, Class::Unknown, 20.0) << Outcome::Pass
        << QStringList{"corrected from 20 °C to 40 °C: ×0.250 (halving every 10 °C)",
                       "IR1min 100 MΩ at 40 °C, at least 100 MΩ for form-wound windings: pass"}
        << 100.0;
    QTest::newRow("read at 20 °C: 396 MΩ is 99 MΩ at 40 °C, fails")
        << oneMinute(396) << rotating(Winding::FormWoundAfter1970, Class::Unknown, 20.0) << Outcome::Fail
        << QStringList{"IR1min 99.0 MΩ at 40 °C, below 100 MΩ for form-wound windings: fail"} << 100.0;
    QTest::newRow("halving 15: 200 MΩ at 25 °C is 100 MΩ at 40 °C")
        << oneMinute(200) << withHalving(rotating(Winding::FormWoundAfter1970, Class::Unknown, 25.0), 15.0)
        << Outcome::Pass << QStringList{"corrected from 25 °C to 40 °C: ×0.500 (halving every 15 °C)"} << 100.0;
    QTest::newRow("cable read at 30 °C: ×2 to 20 °C")
        << oneMinute(50) << equipment(1.0, 30.0) << Outcome::Pass
        << QStringList{"corrected from 30 °C to 20 °C: ×2.00 (halving every 10 °C)",
                       "IR1min 100 MΩ at 20 °C, at least 100 MΩ for a rated voltage of 1 kV (the 1 kV row): pass"}
        << 100.0;
}

void TestVerdictRules::addOverRangeRows()
{
    QTest::newRow("over range at 1 min: a lower bound above any minimum")
        << oneMinute(50000, none, true) << equipment(34.5) << Outcome::Pass
        << QStringList{"IR1min >50_000 MΩ at 20 °C, at least 100_000 MΩ for a rated voltage of 34.5 kV "
                       "(the row 34.5 kV and above): pass"}
        << 100000.0;
    QTest::newRow("over range without its limit, from memory")
        << fromMemory(none, true) << rotating(Winding::FormWoundAfter1970) << Outcome::Pass
        << QStringList{"final IR beyond the range at 40 °C, at least 100 MΩ for form-wound windings: pass"} << 100.0;
    QTest::newRow("over range at 1 min above 5 000 MΩ: PI not assessed")
        << oneMinute(10000, none, true) << rotating(Winding::FormWoundAfter1970, Class::F) << Outcome::Pass
        << QStringList{"PI not assessed: IR1min >10_000 MΩ at 40 °C is above 5_000 MΩ"} << 100.0;
}

void TestVerdictRules::addIncompleteTestRows()
{
    const TestDetails form = rotating(Winding::FormWoundAfter1970);
    QTest::newRow("from memory: the final reading")
        << fromMemory(312) << form << Outcome::Pass
        << QStringList{"no curve (a record of the meter's memory): the final reading is judged",
                       "final IR 312 MΩ at 40 °C, at least 100 MΩ for form-wound windings: pass"}
        << 100.0;
    QTest::newRow("curve short of 1 min: the final reading")
        << shortOfOneMinute(150, InsulationTest::Status::Completed) << form << Outcome::Pass
        << QStringList{"the curve does not reach 1 min: the final reading is judged"} << 100.0;
    QTest::newRow("interrupted before 1 min: judged on its last reading")
        << shortOfOneMinute(80, InsulationTest::Status::Interrupted) << form << Outcome::Fail
        << QStringList{"the test was interrupted: judged on the readings it has",
                       "final IR 80.0 MΩ at 40 °C, below 100 MΩ for form-wound windings: fail"}
        << 100.0;
    QTest::newRow("interrupted before 1 min without a final reading: not assessed")
        << shortOfOneMinute(none, InsulationTest::Status::Interrupted) << form << Outcome::NotAssessed
        << QStringList{"interrupted before 1 min without a final reading: not assessed"} << none;
    QTest::newRow("interrupted after 1 min: judged on IR1min")
        << interrupted(oneMinute(312)) << form << Outcome::Pass
        << QStringList{"the test was interrupted: judged on the readings it has",
                       "IR1min 312 MΩ at 40 °C, at least 100 MΩ for form-wound windings: pass"}
        << 100.0;
    QTest::newRow("no resistance at all: not assessed")
        << fromMemory(none) << form << Outcome::NotAssessed
        << QStringList{"no insulation resistance reading: not assessed"} << none;
    QTest::newRow("a measurement: not assessed")
        << measurement() << form << Outcome::NotAssessed << QStringList{"a measurement, not a test"} << none;
}

// COMP keeps the meter's verdict, whatever the equipment's table says.
void TestVerdictRules::addComparisonRows()
{
    const TestDetails cable = equipment(34.5);
    QTest::newRow("COMP: the meter's pass")
        << comparison(2) << cable << Outcome::Pass
        << QStringList{"the meter's verdict against its limit of 100 MΩ: pass"} << 100.0;
    QTest::newRow("COMP: the meter's fail")
        << comparison(1) << cable << Outcome::Fail
        << QStringList{"the meter's verdict against its limit of 100 MΩ: fail"} << 100.0;
    QTest::newRow("COMP: any other verdict fails") << comparison(3) << cable << Outcome::Fail << QStringList{} << 100.0;
    QTest::newRow("COMP: no verdict")
        << comparison(0) << cable << Outcome::NotAssessed
        << QStringList{"the meter gave no verdict against its limit of 100 MΩ: not assessed"} << 100.0;
}

void TestVerdictRules::verdictKeepsWhatItUsed()
{
    const Verdict verdict =
        judged(oneMinute(400, 1000), rotating(Winding::FormWoundAfter1970, Class::F, 20.0));

    QCOMPARE(verdict.outcome, Outcome::Pass);
    QCOMPARE(verdict.baseCelsius, 40.0);
    QCOMPARE(verdict.correctedMegohms, 100.0);
    QCOMPARE(verdict.correctedR600, 250.0);
    QCOMPARE(verdict.correctedFinalMegohms, 250.0);
    QCOMPARE(verdict.minimumMegohms, 100.0);
    QCOMPARE(verdict.minimumPi, 2.0);
    // Ratios are not corrected: PI 2.5 either way.
    QVERIFY(verdict.reasons.contains(QStringLiteral("PI 2.50, at least 2.0 for class F: pass")));
}

void TestVerdictRules::uncorrectedVerdictKeepsNoCorrectedValues()
{
    const Verdict verdict = judged(oneMinute(400, 1000), rotating(Winding::FormWoundAfter1970, Class::Unknown, none));

    QVERIFY(std::isnan(verdict.baseCelsius));
    QVERIFY(std::isnan(verdict.correctedMegohms));
    QVERIFY(std::isnan(verdict.correctedR600));
    QVERIFY(std::isnan(verdict.correctedFinalMegohms));
    QCOMPARE(verdict.minimumMegohms, 100.0);
    QVERIFY(std::isnan(verdict.minimumPi));
}

QTEST_MAIN(TestVerdictRules)
#include "tst_verdictrules.moc"
