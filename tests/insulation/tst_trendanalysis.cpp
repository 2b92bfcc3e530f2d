// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "insulation/trendanalysis.h"
#include "insulation/verdictrules.h"
#include "meter/dmmdata.h"

#include <QTest>

#include <limits>

namespace {
const double nan = std::numeric_limits<double>::quiet_NaN();
const qint64 year = 365LL * 24 * 3600 * 1000;

TrendAnalysis::Point point(int years, double megohms, double celsius, bool overRange = false)
{
    TrendAnalysis::Point p;
    p.ms = 1600000000000LL + years * year;
    p.megohms = megohms;
    p.celsius = celsius;
    p.overRange = overRange;
    return p;
}

TrendAnalysis::Point corrected(int years, double megohms, double celsius, double baseCelsius)
{
    TrendAnalysis::Point p = point(years, megohms, celsius);
    p.baseCelsius = baseCelsius;
    return p;
}

TrendAnalysis::Point atVolts(int years, double megohms, int volts)
{
    TrendAnalysis::Point p = point(years, megohms, 30);
    p.volts = volts;
    return p;
}

TrendAnalysis::Point atPoint(int years, double megohms, const QString &testPoint)
{
    TrendAnalysis::Point p = point(years, megohms, 30);
    p.testPoint = testPoint;
    return p;
}

// A test the meter judged against its own limit: as measured, never corrected.
TrendAnalysis::Point meterLimit(int years, double megohms)
{
    TrendAnalysis::Point p = point(years, megohms, 30);
    p.meterLimit = true;
    return p;
}
} // namespace

using Points = QList<TrendAnalysis::Point>;
Q_DECLARE_METATYPE(Points)

class TestTrendAnalysis : public QObject
{
    Q_OBJECT

private slots:
    void fallsOfMoreThanHalfAreFlagged_data();
    void fallsOfMoreThanHalfAreFlagged();
    void warningSaysWhichFall_data();
    void warningSaysWhichFall();
    void warningNamesItsPoint_data();
    void warningNamesItsPoint();
    void seriesByTestPoint();
    void everyPointOnTheItemsBasis_data();
    void everyPointOnTheItemsBasis();
    void pointIsWhatTheVerdictJudged_data();
    void pointIsWhatTheVerdictJudged();
    void meterLimitIsNoLine();
};

void TestTrendAnalysis::fallsOfMoreThanHalfAreFlagged_data()
{
    QTest::addColumn<Points>("points");
    QTest::addColumn<QList<bool>>("flagged");

    // The threshold: more than half.
    QTest::newRow("fall to 49 % is flagged") << Points{point(0, 1000, 30), point(1, 490, 30)} << QList<bool>{false, true};
    QTest::newRow("fall to exactly half is not") << Points{point(0, 1000, 30), point(1, 500, 30)}
                                                 << QList<bool>{false, false};
    QTest::newRow("fall to 51 % is not") << Points{point(0, 1000, 30), point(1, 510, 30)} << QList<bool>{false, false};
    QTest::newRow("a rise is not") << Points{point(0, 1000, 30), point(1, 3000, 30)} << QList<bool>{false, false};

    // The temperature window: within 5 °C.
    QTest::newRow("4.9 °C apart compares") << Points{point(0, 1000, 30), point(1, 400, 34.9)}
                                           << QList<bool>{false, true};
    QTest::newRow("exactly 5 °C apart compares") << Points{point(0, 1000, 30), point(1, 400, 25)}
                                                 << QList<bool>{false, true};
    QTest::newRow("5.1 °C apart does not") << Points{point(0, 1000, 30), point(1, 400, 35.1)}
                                           << QList<bool>{false, false};
    // The previous test at a similar temperature, skipping a warmer one.
    QTest::newRow("against the last similar test, not the last test")
        << Points{point(0, 1000, 20), point(1, 300, 40), point(2, 450, 21)} << QList<bool>{false, false, true};
    QTest::newRow("the latest similar one counts, and the best")
        << Points{point(0, 5000, 20), point(1, 1000, 22), point(2, 600, 21)} << QList<bool>{false, true, true};

    // What cannot be compared.
    QTest::newRow("no temperature, no comparison") << Points{point(0, 1000, nan), point(1, 100, nan)}
                                                   << QList<bool>{false, false};
    QTest::newRow("no value, no comparison") << Points{point(0, 1000, 30), point(1, nan, 30), point(2, 900, 30)}
                                             << QList<bool>{false, false, false};
    QTest::newRow("beyond the range before: still a fall")
        << Points{point(0, 2000, 30, true), point(1, 800, 30)} << QList<bool>{false, true};
    QTest::newRow("beyond the range now: no fall to tell")
        << Points{point(0, 5000, 30), point(1, 2000, 30, true)} << QList<bool>{false, false};
    // Even when both pass: the verdict plays no part.
    TrendAnalysis::Point passing = point(1, 450, 30);
    passing.outcome = Verdict::Outcome::Pass;
    QTest::newRow("flagged though it passes") << Points{point(0, 1000, 30), passing} << QList<bool>{false, true};
    // A steady decline: no step halves, the fall from the best does.
    QTest::newRow("steady decline from the best is flagged")
        << Points{point(0, 1000, 25), point(1, 700, 25), point(2, 490, 25), point(3, 343, 25)}
        << QList<bool>{false, false, true, true};
    QTest::newRow("a recovery is measured from the best, not the first")
        << Points{point(0, 600, 25), point(1, 2000, 25), point(2, 1200, 25), point(3, 900, 25)}
        << QList<bool>{false, false, false, true};
    QTest::newRow("the best at another temperature does not count")
        << Points{point(0, 3000, 40), point(1, 1000, 25), point(2, 700, 25)} << QList<bool>{false, false, false};

    // One quantity at one base: a meter's limit test is as measured.
    QTest::newRow("a meter's limit test beside corrected points")
        << Points{corrected(0, 1000, 30, 40), meterLimit(1, 250), corrected(2, 900, 30, 40)}
        << QList<bool>{false, false, false};
    QTest::newRow("a high meter's limit test is no best")
        << Points{meterLimit(0, 4000), point(1, 1000, 30), point(2, 900, 30)} << QList<bool>{false, false, false};
    QTest::newRow("bases 20 and 40 °C are not compared")
        << Points{corrected(0, 1000, 30, 20), corrected(1, 250, 30, 40)} << QList<bool>{false, false};
    QTest::newRow("corrected and as measured are not compared")
        << Points{corrected(0, 1000, 30, 20), point(1, 250, 30)} << QList<bool>{false, false};
    QTest::newRow("the same base compares")
        << Points{corrected(0, 1000, 30, 40), corrected(1, 250, 30, 40)} << QList<bool>{false, true};
    // The test voltage changes the reading: 500 V after 1 000 V is no fall.
    QTest::newRow("other test voltages are not compared")
        << Points{atVolts(0, 1000, 1000), atVolts(1, 400, 500)} << QList<bool>{false, false};
    QTest::newRow("the last test at the same voltage is the previous one")
        << Points{atVolts(0, 1000, 1000), atVolts(1, 300, 500), atVolts(2, 450, 1000)}
        << QList<bool>{false, false, true};

    // A three-phase motor's windings, each its own series: V-E is no
    // measure of U-E.
    QTest::newRow("other test points are not compared")
        << Points{atPoint(0, 1000, "U-E"), atPoint(1, 400, "V-E")} << QList<bool>{false, false};
    QTest::newRow("the same point compares, past the others")
        << Points{atPoint(0, 1000, "U-E"), atPoint(0, 300, "V-E"), atPoint(1, 900, "V-E"), atPoint(2, 450, "U-E")}
        << QList<bool>{false, false, false, true};
    QTest::newRow("a point typed otherwise is the same point")
        << Points{atPoint(0, 1000, "U-E"), atPoint(1, 400, QStringLiteral(" u \u2013 e"))} << QList<bool>{false, true};
    QTest::newRow("a test without a point compares with none that has one")
        << Points{atPoint(0, 1000, "U-E"), atPoint(1, 400, QString())} << QList<bool>{false, false};

    // Out of order, as a register may list them.
    QTest::newRow("sorted by time first") << Points{point(1, 400, 30), point(0, 1000, 30)} << QList<bool>{false, true};
}

void TestTrendAnalysis::fallsOfMoreThanHalfAreFlagged()
{
    QFETCH(Points, points);
    QFETCH(QList<bool>, flagged);
    TrendAnalysis::flagFalls(points);
    QList<bool> warnings;
    for (const TrendAnalysis::Point &p : points)
        warnings << !p.warning.isEmpty();
    QCOMPARE(warnings, flagged);
    for (const TrendAnalysis::Point &p : points) {
        if (!p.warning.isEmpty())
            QVERIFY2(p.warning.contains(QLatin1String("fell by")), qPrintable(p.warning));
    }
}

void TestTrendAnalysis::warningSaysWhichFall_data()
{
    QTest::addColumn<Points>("points");
    QTest::addColumn<bool>("sincePrevious");
    QTest::addColumn<bool>("sinceBest");

    QTest::newRow("the previous test is the best") << Points{point(0, 1000, 25), point(1, 400, 25)} << true << false;
    QTest::newRow("a fall from the best only")
        << Points{point(0, 1000, 25), point(1, 700, 25), point(2, 490, 25)} << false << true;
    QTest::newRow("a fall from both")
        << Points{point(0, 3000, 25), point(1, 1000, 25), point(2, 400, 25)} << true << true;
}

void TestTrendAnalysis::warningSaysWhichFall()
{
    QFETCH(Points, points);
    QFETCH(bool, sincePrevious);
    QFETCH(bool, sinceBest);
    TrendAnalysis::flagFalls(points);
    const QString warning = points.constLast().warning;
    QCOMPARE(warning.contains(QLatin1String("since the previous test")), sincePrevious);
    QCOMPARE(warning.contains(QLatin1String("since the best")), sinceBest);
    if (sinceBest)
        QVERIFY2(warning.contains(QLatin1String("fell by ")
                                  + QString::number(qRound((1.0 - points.constLast().megohms / points.constFirst().megohms) * 100))
                                  + QLatin1String(" % since the best")),
                 qPrintable(warning));
}

void TestTrendAnalysis::warningNamesItsPoint_data()
{
    QTest::addColumn<Points>("points");
    QTest::addColumn<QString>("prefix");

    QTest::newRow("its point") << Points{atPoint(0, 1000, "W-E"), atPoint(1, 400, "W-E")} << "W-E: IR1min fell by";
    QTest::newRow("none beside named points")
        << Points{atPoint(0, 1000, QString()), atPoint(0, 1000, "U-E"), atPoint(1, 400, QString())}
        << "no test point: IR1min fell by";
    QTest::newRow("no point in the item, no name") << Points{point(0, 1000, 30), point(1, 400, 30)}
                                                   << "IR1min fell by";
}

void TestTrendAnalysis::warningNamesItsPoint()
{
    QFETCH(Points, points);
    QFETCH(QString, prefix);
    TrendAnalysis::flagFalls(points);
    QVERIFY2(points.constLast().warning.startsWith(prefix), qPrintable(points.constLast().warning));
}

// Named points in their names' order, the numbers as numbers; one series
// for the tests without a point, last.
void TestTrendAnalysis::seriesByTestPoint()
{
    const Points points{atPoint(0, 1, "core 10-E"), atPoint(0, 1, QString()), atPoint(0, 1, "core 2-E"),
                        atPoint(1, 1, "Core 2-E"), atPoint(1, 1, QString()), atPoint(1, 1, "core 10-E")};
    const QList<TrendAnalysis::Series> series = TrendAnalysis::seriesOf(points);
    QCOMPARE(series.size(), 3);
    QCOMPARE(series.at(0).name, QStringLiteral("core 2-E"));
    QCOMPARE(series.at(0).indices, (QList<int>{2, 3}));
    QCOMPARE(series.at(1).name, QStringLiteral("core 10-E"));
    QCOMPARE(series.at(1).indices, (QList<int>{0, 5}));
    QCOMPARE(series.at(2).name, QStringLiteral("no test point"));
    QCOMPARE(series.at(2).indices, (QList<int>{1, 4}));
}

namespace {
// An IR record of the meter's memory, taken at one minute.
InsulationTest irRecord(int years, double megohms)
{
    InsulationTest test;
    test.mode = DMMData::dmIR;
    test.origin = InsulationTest::Origin::Memory;
    test.status = InsulationTest::Status::Completed;
    test.startedMs = 1600000000000LL + years * year;
    test.setVolts = 1000;
    test.finalMegohms = megohms;
    test.finalSeconds = 60;
    return test;
}

// Details as a test was saved, at 30 °C, halving every 10 °C.
TestDetails savedAs(TestDetails::EquipmentKind kind, double baseCelsius = nan)
{
    TestDetails details;
    details.kind = kind;
    details.insulationCelsius = 30.0;
    details.correction = TestDetails::Correction::Halving;
    details.baseCelsius = baseCelsius;
    return details;
}

EquipmentItem motorItem(double baseCelsius = nan)
{
    EquipmentItem item;
    item.tag = QStringLiteral("M-1");
    item.kind = TestDetails::EquipmentKind::RotatingMachine;
    item.ratedKilovolts = 0.4;
    item.winding = TestDetails::WindingType::RandomWoundOrBelow1kV;
    item.baseCelsius = baseCelsius;
    return item;
}
} // namespace

// Each point is judged by what the item is now, not by what each test was
// saved as: 1 000 MΩ and 400 MΩ at 30 °C are 500 and 200 MΩ at the motor's
// 40 °C, a fall, where one saved as "other" (20 °C) would stand at 2 000 MΩ
// on the same chart and compare with nothing.
void TestTrendAnalysis::everyPointOnTheItemsBasis_data()
{
    using Kind = TestDetails::EquipmentKind;
    QTest::addColumn<TestDetails>("first");
    QTest::addColumn<TestDetails>("second");
    QTest::addColumn<EquipmentItem>("item");
    QTest::addColumn<double>("baseCelsius");
    QTest::addColumn<QList<double>>("megohms");
    QTest::addColumn<bool>("flagged");

    QTest::newRow("saved as other, then as a motor: both at the motor's 40 °C")
        << savedAs(Kind::Other) << savedAs(Kind::RotatingMachine) << motorItem() << 40.0
        << QList<double>{500, 200} << true;
    QTest::newRow("both saved as other: at the motor's 40 °C")
        << savedAs(Kind::Other) << savedAs(Kind::Other) << motorItem() << 40.0 << QList<double>{500, 200} << true;
    QTest::newRow("the item's base over the one saved")
        << savedAs(Kind::Other, 20.0) << savedAs(Kind::RotatingMachine, 40.0) << motorItem(30.0) << 30.0
        << QList<double>{1000, 400} << true;
    QTest::newRow("a test's own base stays where the item gives none")
        << savedAs(Kind::RotatingMachine, 30.0) << savedAs(Kind::RotatingMachine) << motorItem() << nan
        << QList<double>{1000, 200} << false;
}

void TestTrendAnalysis::everyPointOnTheItemsBasis()
{
    QFETCH(TestDetails, first);
    QFETCH(TestDetails, second);
    QFETCH(EquipmentItem, item);
    QFETCH(double, baseCelsius);
    QFETCH(QList<double>, megohms);
    QFETCH(bool, flagged);

    Points points{TrendAnalysis::pointOf(irRecord(0, 1000), first, item),
                  TrendAnalysis::pointOf(irRecord(1, 400), second, item)};
    TrendAnalysis::flagFalls(points);
    for (int index = 0; index < points.size(); ++index)
        QVERIFY2(qFuzzyCompare(points.at(index).megohms, megohms.at(index)),
                 qPrintable(QString::number(points.at(index).megohms)));
    if (!qIsNaN(baseCelsius)) {
        QCOMPARE(points.at(0).baseCelsius, baseCelsius);
        QCOMPARE(points.at(1).baseCelsius, baseCelsius);
    }
    QCOMPARE(!points.at(1).warning.isEmpty(), flagged);
}

// A PI record of the meter's memory: RES1 at the first set time, RES2 at the
// second, and the meter's ratio of the two.
InsulationTest ratioRecord(int first, int second, double res1, double res2)
{
    InsulationTest test;
    test.mode = DMMData::dmPI;
    test.origin = InsulationTest::Origin::Memory;
    test.status = InsulationTest::Status::Completed;
    test.setSeconds = first;
    test.setSeconds2 = second;
    test.firstMegohms = res1;
    test.secondMegohms = res2;
    test.finalMegohms = res2;
    test.finalSeconds = second;
    test.meterPi = res2 / res1;
    return test;
}

// The trend plots IR1min (RES1 of a record at 1 and 10 min, never RES2) and
// only a PI that is R10min/R1min.
void TestTrendAnalysis::pointIsWhatTheVerdictJudged_data()
{
    QTest::addColumn<InsulationTest>("test");
    QTest::addColumn<double>("megohms");
    QTest::addColumn<double>("pi");

    QTest::newRow("PI record at 1 and 10 min: RES1 and its PI") << ratioRecord(60, 600, 80, 200) << 80.0 << 2.5;
    QTest::newRow("PI record at 1 and 5 min: RES1, no PI") << ratioRecord(60, 300, 80, 200) << 80.0 << nan;
}

void TestTrendAnalysis::pointIsWhatTheVerdictJudged()
{
    QFETCH(InsulationTest, test);
    QFETCH(double, megohms);
    QFETCH(double, pi);

    TestDetails details;
    details.kind = TestDetails::EquipmentKind::RotatingMachine;
    details.winding = TestDetails::WindingType::FormWoundAfter1970;
    details.insulationCelsius = 40.0;
    const CurveAnalysis::Values values = CurveAnalysis::analyse(test);
    const TrendAnalysis::Point point =
        TrendAnalysis::pointOf(test, values, VerdictRules::judge(test, values, details), details);
    QCOMPARE(point.megohms, megohms);
    if (qIsNaN(pi))
        QVERIFY(qIsNaN(point.pi));
    else
        QCOMPARE(point.pi, pi);
}

// A motor's lines are IEEE 43's, though its latest test was judged by the
// meter against a limit of its own.
void TestTrendAnalysis::meterLimitIsNoLine()
{
    TestDetails details;
    details.kind = TestDetails::EquipmentKind::RotatingMachine;
    details.winding = TestDetails::WindingType::FormWoundAfter1970;
    details.insulationCelsius = 40.0;
    const InsulationTest pi = ratioRecord(60, 600, 800, 2000);
    InsulationTest comp;
    comp.mode = DMMData::dmCOMP;
    comp.origin = InsulationTest::Origin::Memory;
    comp.status = InsulationTest::Status::Completed;
    comp.startedMs = pi.startedMs + year;
    comp.finalMegohms = 900;
    comp.compLimitMegohms = 500;
    comp.compResult = 2;

    Points points;
    for (const InsulationTest &test : {pi, comp}) {
        const CurveAnalysis::Values values = CurveAnalysis::analyse(test);
        points << TrendAnalysis::pointOf(test, values, VerdictRules::judge(test, values, details), details);
    }
    QVERIFY(points.at(1).meterLimit);
    QVERIFY(qIsNaN(points.at(1).minimumMegohms));
    const TrendAnalysis::Point lines = TrendAnalysis::linesOf(points);
    QCOMPARE(lines.ms, points.at(0).ms);
    QVERIFY(qIsFinite(lines.minimumMegohms));
}

QTEST_GUILESS_MAIN(TestTrendAnalysis)
#include "tst_trendanalysis.moc"
