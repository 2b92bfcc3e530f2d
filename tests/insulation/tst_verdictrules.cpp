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
using Medium = TestDetails::InsulationMedium;

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

// An IR record of the meter's memory: no curve, its test time where `seconds` > 0.
InsulationTest fromMemory(double megohms, bool overRange = false, int seconds = -1)
{
    InsulationTest test;
    test.mode = DMMData::dmIR;
    test.origin = InsulationTest::Origin::Memory;
    test.status = InsulationTest::Status::Completed;
    test.finalMegohms = megohms;
    test.finalOverRange = overRange;
    test.finalSeconds = seconds;
    return test;
}

// A PI or DAR record of the meter's memory that reached its second set
// time: RES1 at the first, RES2 (also the final reading) at the second, and
// the meter's ratio of the two.
InsulationTest ratioRecord(int mode, int first, int second, double res1, double res2)
{
    InsulationTest test;
    test.mode = mode;
    test.origin = InsulationTest::Origin::Memory;
    test.status = InsulationTest::Status::Completed;
    test.setSeconds = first;
    test.setSeconds2 = second;
    test.firstMegohms = res1;
    test.secondMegohms = res2;
    test.finalMegohms = res2;
    test.finalSeconds = second;
    if (mode == DMMData::dmPI)
        test.meterPi = res2 / res1;
    else
        test.meterDar = res2 / res1;
    return test;
}

InsulationTest atVolts(InsulationTest test, int volts)
{
    test.setVolts = volts;
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

// The technician's own halving interval, chosen over the standard's way.
TestDetails withHalving(TestDetails details, double halving)
{
    details.correction = TestDetails::Correction::Halving;
    details.halvingCelsius = halving;
    return details;
}

TestDetails withMedium(TestDetails details, TestDetails::InsulationMedium medium)
{
    details.medium = medium;
    return details;
}

TestDetails withBase(TestDetails details, double celsius)
{
    details.baseCelsius = celsius;
    return details;
}

TestDetails withMaker(TestDetails details, double megohms, double celsius, double pi = none)
{
    details.makerMinimumMegohms = megohms;
    details.makerMinimumCelsius = celsius;
    details.makerMinimumPi = pi;
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
    void outcomeSaysWhatWasAssessed_data();
    void outcomeSaysWhatWasAssessed();
    void verdictCitesItsRules_data();
    void verdictCitesItsRules();
    void testVoltageAboveTheTableWarns();
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
    void addMemoryRows();
    void addTestVoltageRows();
    void addShownValueRows();
    void addMakerRows();
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
    addMemoryRows();
    addTestVoltageRows();
    addShownValueRows();
    addMakerRows();
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
        << QStringList{"winding type not given: minimum IR not assessed"} << none;
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
        {15.0, 5000, "the 15 kV row"},      {25.0, 10000, "the 25 kV row"}, {34.0, 100000, "the 34 kV row"},
        {46.0, 100000, "the row 46 kV and above"},
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
            << oneMinute(row.minimum * 0.99) << equipment(row.kilovolts) << Outcome::Fail << QStringList{}
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
    QTest::newRow("30 kV between 25 and 34 kV: the 34 kV row")
        << oneMinute(99000) << equipment(30.0) << Outcome::Fail << QStringList{} << 100000.0;
    QTest::newRow("69 kV above the last row: passes at its minimum")
        << oneMinute(100000) << equipment(69.0) << Outcome::Pass
        << QStringList{"IR1min 100_000 MΩ at 20 °C, at least 100_000 MΩ for a rated voltage of 69 kV "
                       "(the row 46 kV and above): pass"}
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
        << QStringList{"corrected from 40 °C to 40 °C: ×1.00 (halving every 10 °C, an approximation)",
                       "IR1min 312 MΩ at 40 °C, at least 100 MΩ for form-wound windings: pass"}
        << 100.0;
    QTest::newRow("no temperature: judged uncorrected")
        << oneMinute(312) << rotating(Winding::FormWoundAfter1970, Class::Unknown, none) << Outcome::Pass
        << QStringList{"no temperature given: not corrected",
                       "IR1min 312 MΩ (not corrected), at least 100 MΩ for form-wound windings: pass"}
        << 100.0;
    QTest::newRow("read at 20 °C: 400 MΩ is 100 MΩ at 40 °C, passes")
        << oneMinute(400) << rotating(Winding::FormWoundAfter1970, Class::Unknown, 20.0) << Outcome::Pass
        << QStringList{"corrected from 20 °C to 40 °C: ×0.250 (halving every 10 °C, an approximation)",
                       "IR1min 100 MΩ at 40 °C, at least 100 MΩ for form-wound windings: pass"}
        << 100.0;
    QTest::newRow("read at 20 °C: 396 MΩ is 99 MΩ at 40 °C, fails")
        << oneMinute(396) << rotating(Winding::FormWoundAfter1970, Class::Unknown, 20.0) << Outcome::Fail
        << QStringList{"IR1min 99.0 MΩ at 40 °C, below 100 MΩ for form-wound windings: fail"} << 100.0;
    QTest::newRow("halving 15: 200 MΩ at 25 °C is 100 MΩ at 40 °C")
        << oneMinute(200) << withHalving(rotating(Winding::FormWoundAfter1970, Class::Unknown, 25.0), 15.0)
        << Outcome::Pass << QStringList{"corrected from 25 °C to 40 °C: ×0.500 (halving every 15 °C, as chosen)"} << 100.0;
    // The base decides the comparison, never the base chosen for showing.
    QTest::newRow("30 MΩ at 40 °C, shown at 20 °C: judged at 40 °C, fails")
        << oneMinute(30) << withBase(rotating(Winding::FormWoundAfter1970), 20.0) << Outcome::Fail
        << QStringList{"IR1min 30.0 MΩ at 40 °C, below 100 MΩ for form-wound windings: fail"} << 100.0;
    QTest::newRow("cable shown at 40 °C: judged at NETA's 20 °C")
        << oneMinute(100) << withBase(withMedium(equipment(1.0, 20.0), Medium::Solid), 40.0) << Outcome::Pass
        << QStringList{"IR1min 100 MΩ at 20 °C, at least 100 MΩ for a rated voltage of 1 kV (the 1 kV row): pass"}
        << 100.0;
    // NETA's table, not halving: 50 MΩ at 30 °C would be 100 MΩ by halving.
    QTest::newRow("cable read at 30 °C, solid: ×1.58 to 20 °C, fails")
        << oneMinute(50) << withMedium(equipment(1.0, 30.0), Medium::Solid) << Outcome::Fail
        << QStringList{"corrected from 30 °C to 20 °C: ×1.58 (Table 100.14, solid insulation)",
                       "IR1min 79.0 MΩ at 20 °C, below 100 MΩ for a rated voltage of 1 kV (the 1 kV row): fail"}
        << 100.0;
    QTest::newRow("cable read at 30 °C, solid: 64 MΩ is 101 MΩ at 20 °C, passes")
        << oneMinute(64) << withMedium(equipment(1.0, 30.0), Medium::Solid) << Outcome::Pass
        << QStringList{"IR1min 101 MΩ at 20 °C, at least 100 MΩ for a rated voltage of 1 kV (the 1 kV row): pass"}
        << 100.0;
    // Between rows the line between them: at 32.5 °C, oil (1.98 + 2.80) / 2.
    QTest::newRow("transformer in oil at 32.5 °C: ×2.39, between the rows")
        << oneMinute(42) << withMedium(equipment(1.0, 32.5, Kind::Transformer), Medium::OilImmersed) << Outcome::Pass
        << QStringList{"corrected from 32.5 °C to 20 °C: ×2.39 (Table 100.14, oil-immersed insulation)"} << 100.0;
    // Medium not given: the two columns bound the value.
    QTest::newRow("medium not given, both columns below: fails")
        << oneMinute(50) << equipment(1.0, 30.0) << Outcome::Fail
        << QStringList{"IR1min 79.0 to 99.0 MΩ at 20 °C, below 100 MΩ for a rated voltage of 1 kV (the 1 kV row): fail"}
        << 100.0;
    QTest::newRow("medium not given, the columns either side: not assessed")
        << oneMinute(55) << equipment(1.0, 30.0) << Outcome::NotAssessed
        << QStringList{"IR1min 86.9 to 109 MΩ at 20 °C, either side of 100 MΩ for a rated voltage of 1 kV (the 1 kV "
                       "row) as the insulation medium is not given: not assessed; give the medium"}
        << 100.0;
    QTest::newRow("medium not given, both columns above: passes")
        << oneMinute(64) << equipment(1.0, 30.0) << Outcome::Pass << QStringList{} << 100.0;
    QTest::newRow("outside NETA's table: not corrected")
        << oneMinute(150) << withMedium(equipment(1.0, 120.0), Medium::Solid) << Outcome::Pass
        << QStringList{"120 °C is outside Table 100.14 (-10 °C to 110 °C): not corrected"} << 100.0;
    QTest::newRow("the technician's halving for a cable")
        << oneMinute(50) << withHalving(equipment(1.0, 30.0), 10.0) << Outcome::Pass
        << QStringList{"corrected from 30 °C to 20 °C: ×2.00 (halving every 10 °C, as chosen)"} << 100.0;
}

// A reading beyond the range proves only its lower bound.
void TestVerdictRules::addOverRangeRows()
{
    QTest::newRow("over range at 1 min: a bound below the minimum is not assessed")
        << atVolts(oneMinute(50000, none, true), 5000) << equipment(34.5) << Outcome::NotAssessed
        << QStringList{"IR1min >50_000 MΩ at 20 °C: beyond the range at 5_000 V, below the minimum of 100_000 MΩ "
                       "for a rated voltage of 34.5 kV (the row 46 kV and above, the next above it): not assessed; "
                       "test at a higher voltage"}
        << 100000.0;
    QTest::newRow("15 kV cable beyond 4 000 MΩ: not shown to reach 5 000 MΩ")
        << atVolts(oneMinute(4000, none, true), 2500) << equipment(15.0) << Outcome::NotAssessed
        << QStringList{"IR1min >4_000 MΩ at 20 °C: beyond the range at 2_500 V, below the minimum of 5_000 MΩ for a "
                       "rated voltage of 15 kV (the 15 kV row): not assessed; test at a higher voltage"}
        << 5000.0;
    QTest::newRow("over range at 1 min: a bound at the minimum passes")
        << atVolts(oneMinute(5000, none, true), 2500) << equipment(15.0) << Outcome::Pass
        << QStringList{"IR1min >5_000 MΩ at 20 °C, at least 5_000 MΩ for a rated voltage of 15 kV (the 15 kV row): "
                       "pass"}
        << 5000.0;
    QTest::newRow("over range without its limit, from memory: not assessed")
        << fromMemory(none, true, 60) << rotating(Winding::FormWoundAfter1970) << Outcome::NotAssessed
        << QStringList{"IR1min beyond the range at 40 °C: beyond the range at this voltage, its limit unknown, so not "
                       "shown to reach 100 MΩ for form-wound windings: not assessed; test at a higher voltage"}
        << 100.0;
    QTest::newRow("over range at 1 min above 5 000 MΩ: PI not assessed")
        << oneMinute(10000, none, true) << rotating(Winding::FormWoundAfter1970, Class::F) << Outcome::Pass
        << QStringList{"PI not assessed: IR1min >10_000 MΩ at 40 °C is above 5_000 MΩ"} << 100.0;
}

void TestVerdictRules::addIncompleteTestRows()
{
    const TestDetails form = rotating(Winding::FormWoundAfter1970);
    QTest::newRow("curve short of 1 min: the final reading, earlier, can pass")
        << shortOfOneMinute(150, InsulationTest::Status::Completed) << form << Outcome::Pass
        << QStringList{"the curve does not reach 1 min: the final reading is judged",
                       "the final reading at 0:30, 150 MΩ at 40 °C, at least 100 MΩ for form-wound windings: pass"}
        << 100.0;
    QTest::newRow("interrupted before 1 min: judged on its last reading")
        << shortOfOneMinute(80, InsulationTest::Status::Interrupted) << form << Outcome::Fail
        << QStringList{"the test was interrupted: judged on the readings it has",
                       "the final reading at 0:30, 80.0 MΩ at 40 °C, below 100 MΩ for form-wound windings: fail"}
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

// A record of the meter's memory has no curve: each value it keeps is the
// resistance at its own time.
void TestVerdictRules::addMemoryRows()
{
    const TestDetails form = rotating(Winding::FormWoundAfter1970);
    const TestDetails formF = rotating(Winding::FormWoundAfter1970, Class::F);
    QTest::newRow("memory IR at 1:00: IR1min")
        << fromMemory(312, false, 60) << form << Outcome::Pass
        << QStringList{"IR1min 312 MΩ at 40 °C, at least 100 MΩ for form-wound windings: pass"} << 100.0;
    QTest::newRow("memory IR at 0:05: the final reading, lower than IR1min, passes")
        << fromMemory(312, false, 5) << form << Outcome::Pass
        << QStringList{"no curve (a record of the meter's memory): the final reading is judged",
                       "the final reading at 0:05, 312 MΩ at 40 °C, at least 100 MΩ for form-wound windings: pass"}
        << 100.0;
    QTest::newRow("memory IR at 5:00 above the minimum: no IR1min, not assessed")
        << fromMemory(312, false, 300) << form << Outcome::NotAssessed
        << QStringList{"the final reading at 5:00, 312 MΩ at 40 °C, at least 100 MΩ for form-wound windings, but "
                       "taken after 1 min it shows no IR1min: not assessed"}
        << 100.0;
    QTest::newRow("memory IR at 5:00 below the minimum: fails")
        << fromMemory(80, false, 300) << form << Outcome::Fail
        << QStringList{"the final reading at 5:00, 80.0 MΩ at 40 °C, below 100 MΩ for form-wound windings: fail"}
        << 100.0;
    QTest::newRow("memory IR, time unknown: not assessed")
        << fromMemory(312) << form << Outcome::NotAssessed
        << QStringList{"the final reading, time unknown, 312 MΩ at 40 °C, at least 100 MΩ for form-wound windings, "
                       "but at an unknown time it shows no IR1min: not assessed"}
        << 100.0;
    // RES1 80 at 1 min and RES2 200 at 10 min: IR1min is 80 MΩ, not 200.
    QTest::newRow("memory PI record: IR1min is RES1, fails at 80 MΩ")
        << ratioRecord(DMMData::dmPI, 60, 600, 80, 200) << formF << Outcome::Fail
        << QStringList{"IR1min 80.0 MΩ at 40 °C, below 100 MΩ for form-wound windings: fail",
                       "PI 2.50 (the meter's), at least 2.0 for class F: pass"}
        << 100.0;
    QTest::newRow("memory DAR record: IR1min is RES2 at 1 min")
        << ratioRecord(DMMData::dmDAR, 30, 60, 60, 90) << form << Outcome::Fail
        << QStringList{"IR1min 90.0 MΩ at 40 °C, below 100 MΩ for form-wound windings: fail"} << 100.0;
    QTest::newRow("memory PI record at 2 and 10 min: no IR1min")
        << ratioRecord(DMMData::dmPI, 120, 600, 300, 600) << form << Outcome::NotAssessed
        << QStringList{"no IR1min: the meter's set times are 2:00 and 10:00"} << 100.0;
    // The PI exemption goes by IR1min (RES1 4 000), not by RES2 (6 000).
    QTest::newRow("memory PI record: the exemption by RES1")
        << ratioRecord(DMMData::dmPI, 60, 600, 4000, 6000) << formF << Outcome::Fail
        << QStringList{"PI 1.50 (the meter's) below 2.0 for class F: fail"} << 100.0;
    // R5min/R1min is no PI.
    QTest::newRow("memory PI record at 1 and 5 min: R5min/R1min not judged as PI")
        << ratioRecord(DMMData::dmPI, 60, 300, 200, 250) << formF << Outcome::Pass
        << QStringList{"the meter's R5min/R1min 1.25 is not a PI (R10min/R1min): PI not assessed"} << 100.0;
}

// The set voltage against the tables' test voltages for the rated voltage.
void TestVerdictRules::addTestVoltageRows()
{
    const TestDetails motor13kV = rotating(Winding::FormWoundAfter1970, Class::Unknown, 40.0, 13.8);
    QTest::newRow("13.8 kV motor at 500 V: not assessed")
        << atVolts(oneMinute(2000), 500) << motor13kV << Outcome::NotAssessed
        << QStringList{"tested at 500 V, the table asks at least 5_000 V for a 13.8 kV winding: not assessed"} << 100.0;
    QTest::newRow("13.8 kV motor at 500 V: a fail stands")
        << atVolts(oneMinute(50), 500) << motor13kV << Outcome::Fail << QStringList{} << 100.0;
    QTest::newRow("13.8 kV motor at 5 000 V: passes")
        << atVolts(oneMinute(2000), 5000) << motor13kV << Outcome::Pass
        << QStringList{"tested at 5_000 V, within 5_000 V to 10_000 V for a 13.8 kV winding"} << 100.0;
    QTest::newRow("400 V motor at 500 V: passes")
        << atVolts(oneMinute(200), 500) << rotating(Winding::RandomWoundOrBelow1kV, Class::Unknown, 40.0, 0.4)
        << Outcome::Pass << QStringList{"tested at 500 V, at least 500 V for a 400 V winding"} << 5.0;
    QTest::newRow("4.16 kV motor at 1 000 V: the row 2 501 to 5 000 V")
        << atVolts(oneMinute(2000), 1000) << rotating(Winding::FormWoundAfter1970, Class::Unknown, 40.0, 4.16)
        << Outcome::Pass << QStringList{"tested at 1_000 V, within 1_000 V to 2_500 V for a 4.16 kV winding"} << 100.0;
    QTest::newRow("15 kV cable at 1 000 V: not assessed")
        << atVolts(oneMinute(8000), 1000) << equipment(15.0) << Outcome::NotAssessed
        << QStringList{"tested at 1_000 V, the table asks at least 2_500 V for equipment rated 15 kV: not assessed"}
        << 5000.0;
    QTest::newRow("15 kV cable at 2 500 V: passes")
        << atVolts(oneMinute(8000), 2500) << equipment(15.0) << Outcome::Pass
        << QStringList{"tested at 2_500 V, at least 2_500 V for equipment rated 15 kV"} << 5000.0;
}

// What is judged is what is shown: three significant digits.
void TestVerdictRules::addShownValueRows()
{
    const TestDetails formF = rotating(Winding::FormWoundAfter1970, Class::F);
    QTest::newRow("PI 1 996 / 1 000 reads 2.00: passes")
        << oneMinute(1000, 1996) << formF << Outcome::Pass << QStringList{"PI 2.00, at least 2.0 for class F: pass"}
        << 100.0;
    QTest::newRow("PI 1 994 / 1 000 reads 1.99: fails")
        << oneMinute(1000, 1994) << formF << Outcome::Fail << QStringList{"PI 1.99 below 2.0 for class F: fail"}
        << 100.0;
    QTest::newRow("IR1min 99.96 MΩ reads 100 MΩ: passes")
        << oneMinute(99.96) << rotating(Winding::FormWoundAfter1970) << Outcome::Pass
        << QStringList{QString(irPass).arg("100", "100", "form-wound windings")} << 100.0;
    QTest::newRow("IR1min 99.94 MΩ reads 99.9 MΩ: fails")
        << oneMinute(99.94) << rotating(Winding::FormWoundAfter1970) << Outcome::Fail
        << QStringList{QString(irFail).arg("99.9", "100", "form-wound windings")} << 100.0;
    QTest::newRow("random-wound: a low PI is shown, not judged")
        << oneMinute(200, 240) << rotating(Winding::RandomWoundOrBelow1kV, Class::F) << Outcome::Pass
        << QStringList{"PI 1.20 shown, not judged: the PI may not apply to random-wound windings (IEEE 43-2013, 5.4)"}
        << 5.0;
}

// The maker's limits come before the tables.
void TestVerdictRules::addMakerRows()
{
    QTest::newRow("maker's 500 MΩ at 40 °C fails what IEEE passes")
        << oneMinute(300) << withMaker(rotating(Winding::FormWoundAfter1970), 500, 40.0) << Outcome::Fail
        << QStringList{"IR1min 300 MΩ at 40 °C, below 500 MΩ for this item (the manufacturer's minimum): fail"}
        << 500.0;
    QTest::newRow("maker's 50 MΩ at 20 °C: judged at 20 °C")
        << oneMinute(30) << withMaker(rotating(Winding::FormWoundAfter1970, Class::Unknown, 30.0), 50, 20.0)
        << Outcome::Pass
        << QStringList{"corrected from 30 °C to 20 °C: ×2.00 (halving every 10 °C, an approximation)",
                       "IR1min 60.0 MΩ at 20 °C, at least 50 MΩ for this item (the manufacturer's minimum): pass"}
        << 50.0;
    QTest::newRow("maker's minimum without its base: the standard's")
        << oneMinute(300) << withMaker(equipment(1.0), 200, none) << Outcome::Pass
        << QStringList{"the manufacturer's minimum gives no base temperature: judged at 20 °C, the standard's"}
        << 200.0;
    QTest::newRow("maker's PI 3.0 fails a PI of 2.5")
        << oneMinute(1000, 2500) << withMaker(rotating(Winding::FormWoundAfter1970, Class::F), none, none, 3.0)
        << Outcome::Fail << QStringList{"PI 2.50 below 3.0 for this item (the manufacturer's minimum): fail"} << 100.0;
    QTest::newRow("maker's PI judged on a cable too")
        << oneMinute(1000, 1500) << withMaker(equipment(1.0), none, none, 2.0) << Outcome::Fail
        << QStringList{"PI 1.50 below 2.0 for this item (the manufacturer's minimum): fail"} << 100.0;
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

// A pass that did not assess everything its rules ask for says so, as the
// list, the trend, the CSV and the report all show it.
void TestVerdictRules::outcomeSaysWhatWasAssessed_data()
{
    QTest::addColumn<InsulationTest>("test");
    QTest::addColumn<TestDetails>("details");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("qualified");

    const TestDetails motor = rotating(Winding::FormWoundAfter1970, Class::F, 40.0, 13.8);
    InsulationTest piInterrupted =
        interrupted(withCurve(DMMData::dmPI, {point(30, 250), point(60, 312), point(300, 500)}));
    piInterrupted.setSeconds = 60;
    piInterrupted.setSeconds2 = 600;
    InsulationTest darMode = withCurve(DMMData::dmDAR, {point(30, 250), point(60, 312)});
    darMode.setSeconds = 30;
    darMode.setSeconds2 = 60;

    QTest::newRow("motor, IR and PI: a plain pass")
        << atVolts(oneMinute(312, 1000), 5000) << motor << "Pass" << false;
    QTest::newRow("motor in IR mode to 1 min: PI not measured")
        << atVolts(oneMinute(312), 5000) << motor << "Pass on IR1min; PI not measured" << true;
    QTest::newRow("motor, PI test interrupted: PI not measured")
        << atVolts(piInterrupted, 5000) << motor << "Pass on IR1min; PI not measured" << true;
    QTest::newRow("motor in DAR mode: PI not measured")
        << atVolts(darMode, 5000) << motor << "Pass on IR1min; PI not measured" << true;
    QTest::newRow("motor without a class: PI not assessed")
        << atVolts(oneMinute(312, 1000), 5000) << rotating(Winding::FormWoundAfter1970, Class::Unknown, 40.0, 13.8)
        << "Pass on IR1min; PI not assessed" << true;
    QTest::newRow("motor without temperature: not corrected")
        << atVolts(oneMinute(312, 1000), 5000) << rotating(Winding::FormWoundAfter1970, Class::F, none, 13.8)
        << "Pass on IR1min and PI; not corrected for temperature" << true;
    QTest::newRow("motor without its rated voltage: test voltage not checked")
        << atVolts(oneMinute(312, 1000), 5000) << rotating(Winding::FormWoundAfter1970, Class::F)
        << "Pass on IR1min and PI; test voltage not checked" << true;
    QTest::newRow("motor above 5 000 MΩ: PI not needed, a plain pass")
        << atVolts(oneMinute(6000), 5000) << motor << "Pass" << false;
    QTest::newRow("random-wound motor without PI: a plain pass")
        << atVolts(oneMinute(200), 500) << rotating(Winding::RandomWoundOrBelow1kV, Class::F, 40.0, 0.4) << "Pass"
        << false;
    QTest::newRow("memory record at 0:05: the final reading")
        << atVolts(fromMemory(312, false, 5), 1000) << equipment(1.0)
        << "Pass on the final reading at 0:05; IR1min not measured" << true;
    QTest::newRow("cable: IR1min is all it asks")
        << atVolts(oneMinute(312), 1000) << equipment(1.0) << "Pass" << false;
    QTest::newRow("a fail is a plain fail") << atVolts(oneMinute(50), 5000) << motor << "Fail" << false;
    QTest::newRow("not assessed is plain")
        << atVolts(oneMinute(2000), 500) << motor << "Not assessed" << false;
}

void TestVerdictRules::outcomeSaysWhatWasAssessed()
{
    QFETCH(InsulationTest, test);
    QFETCH(TestDetails, details);
    QFETCH(QString, text);
    QFETCH(bool, qualified);

    const Verdict verdict = judged(test, details);
    QCOMPARE(verdict.outcomeText(), text);
    QCOMPARE(verdict.isQualified(), qualified);
}

void TestVerdictRules::verdictCitesItsRules_data()
{
    QTest::addColumn<InsulationTest>("test");
    QTest::addColumn<TestDetails>("details");
    QTest::addColumn<QStringList>("rules");

    const QString ieeeIr = QStringLiteral("IEEE 43-2013, 12.3");
    const QString ieeeHalving = QStringLiteral("IEEE 43, halving every 10 °C (an approximation)");
    const QString ieeePi = QStringLiteral("IEEE 43-2013, minimum PI by thermal class");
    const QString ieeeVoltage = QStringLiteral("IEEE 43-2013, DC test voltages");
    const QString netaIr = QStringLiteral("ANSI/NETA MTS-2019, Table 100.1");
    const QString netaCorrection = QStringLiteral("ANSI/NETA MTS-2019, Table 100.14");
    const QString maker = QStringLiteral("manufacturer's minimum");

    QTest::newRow("motor: IR, correction, PI, test voltage")
        << atVolts(oneMinute(312, 1000), 5000) << rotating(Winding::FormWoundAfter1970, Class::F, 30.0, 13.8)
        << QStringList{ieeeIr, ieeeHalving, ieeePi, ieeeVoltage};
    QTest::newRow("motor above 5 000 MΩ: the exemption")
        << atVolts(oneMinute(8000, 8000), 5000) << rotating(Winding::FormWoundAfter1970, Class::F, 40.0, 13.8)
        << QStringList{ieeeIr, ieeeHalving, QStringLiteral("IEEE 43-2013, PI not used above 5 000 MΩ"),
                       ieeeVoltage};
    QTest::newRow("random-wound motor with a PI: clause 5.4")
        << atVolts(oneMinute(200, 240), 500) << rotating(Winding::RandomWoundOrBelow1kV, Class::F, 40.0, 0.4)
        << QStringList{ieeeIr, ieeeHalving, QStringLiteral("IEEE 43-2013, 5.4"), ieeeVoltage};
    QTest::newRow("cable: NETA's minimum and correction, each once")
        << atVolts(oneMinute(312), 1000) << withMedium(equipment(1.0, 30.0), Medium::Solid)
        << QStringList{netaIr, netaCorrection};
    QTest::newRow("the technician's halving cites no standard")
        << atVolts(oneMinute(312), 1000) << withHalving(equipment(1.0, 30.0), 12.0) << QStringList{netaIr};
    QTest::newRow("maker's limits")
        << atVolts(oneMinute(312, 1000), 5000)
        << withMaker(rotating(Winding::FormWoundAfter1970, Class::F, 40.0, 13.8), 200, 40.0, 2.0)
        << QStringList{maker, ieeeHalving, ieeeVoltage};
    QTest::newRow("COMP: the meter's limit")
        << comparison(2) << equipment(1.0) << QStringList{QStringLiteral("the meter's limit (COMP)")};
}

void TestVerdictRules::verdictCitesItsRules()
{
    QFETCH(InsulationTest, test);
    QFETCH(TestDetails, details);
    QFETCH(QStringList, rules);

    QCOMPARE(judged(test, details).rules, rules);
}

void TestVerdictRules::testVoltageAboveTheTableWarns()
{
    const Verdict verdict =
        judged(atVolts(oneMinute(312), 2500), rotating(Winding::RandomWoundOrBelow1kV, Class::Unknown, 40.0, 0.4));

    QCOMPARE(verdict.outcome, Outcome::Pass);
    QCOMPARE(verdict.warnings,
             thinSpaced({"tested at 2_500 V, above the 500 V recommended at most for a 400 V winding"}));
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
