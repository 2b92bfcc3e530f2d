// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "insulation/curveanalysis.h"
#include "meter/dmmdata.h"
#include "support/curvepoints.h"

#include <QTest>

#include <cmath>

namespace {
using CurvePoints::none;
using CurvePoints::point;
using Curve = QVector<CurvePoint>;

bool sameOrBothNone(double actual, double expected)
{
    if (std::isnan(expected))
        return std::isnan(actual);
    return qFuzzyCompare(actual, expected);
}

// A test of `mode` whose curve has the given points and the meter's ratios.
InsulationTest testOf(int mode, const Curve &curve, double meterDar = none, double meterPi = none, int setSeconds = 0,
                      int setSeconds2 = 0)
{
    InsulationTest test;
    test.mode = mode;
    test.status = InsulationTest::Status::Completed;
    test.curve = curve;
    test.meterDar = meterDar;
    test.meterPi = meterPi;
    test.setSeconds = setSeconds;
    test.setSeconds2 = setSeconds2;
    return test;
}

// Readings at the four marks: R15 100, R30 130, R60 200, R600 500.
const Curve marks{point(15, 100), point(30, 130), point(60, 200), point(600, 500)};
} // namespace

Q_DECLARE_METATYPE(Curve)

class TestCurveAnalysis : public QObject
{
    Q_OBJECT

private slots:
    void resistanceAtInterpolatesOnLogScale_data();
    void resistanceAtInterpolatesOnLogScale();
    void pointAtKeepsOverRangeAsLowerBound();
    void ratiosOfTheMarks_data();
    void ratiosOfTheMarks();
    void eachMarkReadsItsOwnTime();
    void ratioAtTheMetersSetTimes_data();
    void ratioAtTheMetersSetTimes();
    void differBeyondTheTolerance_data();
    void differBeyondTheTolerance();
    void curveComparedWithItsMeterCounterpart_data();
    void curveComparedWithItsMeterCounterpart();
};

void TestCurveAnalysis::resistanceAtInterpolatesOnLogScale_data()
{
    QTest::addColumn<Curve>("curve");
    QTest::addColumn<double>("seconds");
    QTest::addColumn<double>("megohms");

    const Curve curve{point(10, 100), point(20, 400), point(60, 1000), point(600, 3000)};
    QTest::newRow("exactly at a point") << curve << 20.0 << 400.0;
    QTest::newRow("at the first point") << curve << 10.0 << 100.0;
    QTest::newRow("at the last point") << curve << 600.0 << 3000.0;
    // log R halfway between log 100 and log 400: the geometric mean.
    QTest::newRow("halfway: geometric mean") << curve << 15.0 << 200.0;
    // A quarter of the way from 400 to 1000: 400 × 2.5^0.25 (a straight line would give 550).
    QTest::newRow("a quarter of the way") << curve << 30.0 << 502.9733718731742;
    QTest::newRow("before the first point") << curve << 9.0 << none;
    QTest::newRow("after the last point") << curve << 601.0 << none;
    QTest::newRow("empty curve") << Curve{} << 60.0 << none;
    QTest::newRow("neighbour without a value") << Curve{point(10, 100), point(20, none)} << 15.0 << none;
    QTest::newRow("neighbour over range") << Curve{point(10, 100), point(20, 400, true)} << 15.0 << none;
    QTest::newRow("exactly at a point over range") << Curve{point(10, 100), point(20, 400, true)} << 20.0 << none;
    QTest::newRow("beside a point without value, still between good ones")
        << Curve{point(10, none), point(20, 100), point(30, 400)} << 25.0 << 200.0;
    QTest::newRow("dead short: a straight line") << Curve{point(10, 0), point(20, 100)} << 15.0 << 50.0;
    QTest::newRow("repeated time: the latest reading")
        << Curve{point(10, 100), point(20, 400), point(20, 420)} << 20.0 << 420.0;
}

void TestCurveAnalysis::resistanceAtInterpolatesOnLogScale()
{
    QFETCH(Curve, curve);
    QFETCH(double, seconds);
    QFETCH(double, megohms);

    const double actual = CurveAnalysis::resistanceAt(curve, seconds);
    QVERIFY2(sameOrBothNone(actual, megohms), qPrintable(QString::number(actual, 'g', 10)));
}

// Interpolated from the range's limit, a value beside an over-range reading
// is a lower bound of the true one.
void TestCurveAnalysis::pointAtKeepsOverRangeAsLowerBound()
{
    const Curve curve{point(30, 2500), point(90, 10000, true)};

    const CurvePoint between = CurveAnalysis::pointAt(curve, 60);
    QVERIFY(between.overRange);
    QCOMPARE(between.megohms, 5000.0);
    const CurvePoint at = CurveAnalysis::pointAt(curve, 90);
    QVERIFY(at.overRange);
    QCOMPARE(at.megohms, 10000.0);
    const CurvePoint below = CurveAnalysis::pointAt(curve, 30);
    QVERIFY(!below.overRange);
    QCOMPARE(below.megohms, 2500.0);
}

void TestCurveAnalysis::ratiosOfTheMarks_data()
{
    QTest::addColumn<Curve>("curve");
    QTest::addColumn<double>("dar");
    QTest::addColumn<double>("dar15");
    QTest::addColumn<double>("pi");

    QTest::newRow("all four marks") << marks << 200.0 / 130.0 << 2.0 << 2.5;
    QTest::newRow("ends at 1 min: no PI") << marks.mid(0, 3) << 200.0 / 130.0 << 2.0 << none;
    QTest::newRow("starts at 30 s: no DAR15") << marks.mid(1) << 200.0 / 130.0 << none << 2.5;
    Curve overAt600 = marks;
    overAt600.last().overRange = true;
    QTest::newRow("R10min over range: no PI") << overAt600 << 200.0 / 130.0 << 2.0 << none;
    Curve shortAt30 = marks;
    shortAt30[1].megohms = 0.0;
    QTest::newRow("R30 of 0: no DAR") << shortAt30 << none << 2.0 << 2.5;
}

void TestCurveAnalysis::ratiosOfTheMarks()
{
    QFETCH(Curve, curve);
    QFETCH(double, dar);
    QFETCH(double, dar15);
    QFETCH(double, pi);

    const CurveAnalysis::Values values = CurveAnalysis::analyse(testOf(DMMData::dmIR, curve));
    QVERIFY(sameOrBothNone(values.dar, dar));
    QVERIFY(sameOrBothNone(values.dar15, dar15));
    QVERIFY(sameOrBothNone(values.pi, pi));
    QVERIFY(std::isnan(values.ratioAtSetTimes));
}

// The charts label each mark with the value the analysis read there: a
// mark paired with another mark's value would show a wrong reading.
void TestCurveAnalysis::eachMarkReadsItsOwnTime()
{
    const CurveAnalysis::Values values = CurveAnalysis::analyse(testOf(DMMData::dmIR, marks));
    double previous = 0.0;
    for (const CurveAnalysis::Mark &mark : CurveAnalysis::marks) {
        QVERIFY2(mark.seconds > previous, mark.label);
        QCOMPARE(mark.in(values), CurveAnalysis::resistanceAt(marks, mark.seconds));
        previous = mark.seconds;
    }
}

void TestCurveAnalysis::ratioAtTheMetersSetTimes_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("setSeconds");
    QTest::addColumn<int>("setSeconds2");
    QTest::addColumn<double>("ratio");

    QTest::newRow("DAR at 30 s and 1 min") << int(DMMData::dmDAR) << 30 << 60 << 200.0 / 130.0;
    QTest::newRow("DAR at 15 s and 1 min") << int(DMMData::dmDAR) << 15 << 60 << 2.0;
    QTest::newRow("PI at 1 min and 10 min") << int(DMMData::dmPI) << 60 << 600 << 2.5;
    QTest::newRow("PI without a second set time") << int(DMMData::dmPI) << 60 << 0 << none;
    QTest::newRow("IR has no set times") << int(DMMData::dmIR) << 60 << 600 << none;
    QTest::newRow("set time beyond the curve") << int(DMMData::dmPI) << 60 << 900 << none;
}

void TestCurveAnalysis::ratioAtTheMetersSetTimes()
{
    QFETCH(int, mode);
    QFETCH(int, setSeconds);
    QFETCH(int, setSeconds2);
    QFETCH(double, ratio);

    const InsulationTest test = testOf(mode, marks, none, none, setSeconds, setSeconds2);
    QVERIFY(sameOrBothNone(CurveAnalysis::analyse(test).ratioAtSetTimes, ratio));
}

void TestCurveAnalysis::differBeyondTheTolerance_data()
{
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("b");
    QTest::addColumn<bool>("differ");

    QTest::newRow("equal") << 2.0 << 2.0 << false;
    QTest::newRow("4.9 % above: within") << 2.098 << 2.0 << false;
    QTest::newRow("5.1 % above: beyond") << 2.102 << 2.0 << true;
    QTest::newRow("4.9 % below: within") << 1.902 << 2.0 << false;
    QTest::newRow("5.1 % below: beyond") << 1.898 << 2.0 << true;
    QTest::newRow("first missing") << none << 2.0 << false;
    QTest::newRow("second missing") << 2.0 << none << false;
    QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << 2.0 << false;
}

void TestCurveAnalysis::differBeyondTheTolerance()
{
    QFETCH(double, a);
    QFETCH(double, b);
    QFETCH(bool, differ);

    QCOMPARE(CurveAnalysis::differ(a, b), differ);
}

// The marks curve has DAR 1.54 (R60/R30), DAR15 2.0 and PI 2.5.
void TestCurveAnalysis::curveComparedWithItsMeterCounterpart_data()
{
    QTest::addColumn<InsulationTest>("test");
    QTest::addColumn<bool>("darDiffers");
    QTest::addColumn<bool>("piDiffers");

    QTest::newRow("IR: both agree") << testOf(DMMData::dmIR, marks, 1.52, 2.45) << false << false;
    QTest::newRow("IR: DAR and PI differ") << testOf(DMMData::dmIR, marks, 1.30, 2.1) << true << true;
    QTest::newRow("IR: meter gave no ratios") << testOf(DMMData::dmIR, marks) << false << false;
    QTest::newRow("DAR at 30 s / 1 min, as the curve's DAR")
        << testOf(DMMData::dmDAR, marks, 1.54, none, 30, 60) << false << false;
    QTest::newRow("DAR at 15 s / 1 min agrees at its own set times")
        << testOf(DMMData::dmDAR, marks, 2.0, none, 15, 60) << false << false;
    QTest::newRow("DAR at 15 s / 1 min against the 30 s one differs")
        << testOf(DMMData::dmDAR, marks, 1.54, none, 15, 60) << true << false;
    QTest::newRow("PI at 1 min / 10 min differs") << testOf(DMMData::dmPI, marks, none, 2.0, 60, 600) << false << true;
    QTest::newRow("TIME carries no meter ratios") << testOf(DMMData::dmTime, marks, 9.0, 9.0) << false << false;
}

void TestCurveAnalysis::curveComparedWithItsMeterCounterpart()
{
    QFETCH(InsulationTest, test);
    QFETCH(bool, darDiffers);
    QFETCH(bool, piDiffers);

    const CurveAnalysis::Values values = CurveAnalysis::analyse(test);
    QCOMPARE(values.darDiffersFromMeter, darDiffers);
    QCOMPARE(values.piDiffersFromMeter, piDiffers);
}

QTEST_MAIN(TestCurveAnalysis)
#include "tst_curveanalysis.moc"
