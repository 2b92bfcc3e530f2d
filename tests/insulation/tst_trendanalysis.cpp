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
} // namespace

using Points = QList<TrendAnalysis::Point>;
Q_DECLARE_METATYPE(Points)

class TestTrendAnalysis : public QObject
{
    Q_OBJECT

private slots:
    void fallsOfMoreThanHalfAreFlagged_data();
    void fallsOfMoreThanHalfAreFlagged();
    void pointIsWhatTheVerdictJudged_data();
    void pointIsWhatTheVerdictJudged();
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
    QTest::newRow("the latest similar one counts")
        << Points{point(0, 5000, 20), point(1, 1000, 22), point(2, 600, 21)} << QList<bool>{false, true, false};

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

QTEST_GUILESS_MAIN(TestTrendAnalysis)
#include "tst_trendanalysis.moc"
