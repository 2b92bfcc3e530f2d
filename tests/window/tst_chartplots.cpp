// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "insulation/resistancetext.h"
#include "support/plotitems.h"
#include "window/curveplot.h"
#include "window/trendplot.h"

#include <QTest>

#include <qcustomplot.h>

#include <limits>

namespace {
using Points = QList<TrendAnalysis::Point>;

constexpr double none = std::numeric_limits<double>::quiet_NaN();
constexpr qint64 year = 365LL * 24 * 3600 * 1000;

TrendAnalysis::Point trendPoint(int years, double megohms, double minimumMegohms, double minimumPi)
{
    TrendAnalysis::Point point;
    point.ms = 1600000000000LL + years * year;
    point.megohms = megohms;
    point.pi = 3.0;
    point.outcome = Verdict::Outcome::Pass;
    point.minimumMegohms = minimumMegohms;
    point.minimumPi = minimumPi;
    return point;
}

// Readings every 5 s up to `lastSecond`, rising by 1 MΩ a second from 100 MΩ.
InsulationTest curveTest(double lastSecond)
{
    InsulationTest test;
    for (double seconds = 5.0; seconds <= lastSecond; seconds += 5.0) {
        CurvePoint point;
        point.seconds = seconds;
        point.megohms = 100.0 + seconds;
        point.leakageMicroamps = 10.0 / seconds;
        test.curve << point;
    }
    return test;
}
} // namespace

Q_DECLARE_METATYPE(Points)

class TestChartPlots : public QObject
{
    Q_OBJECT

private slots:
    void trendMinimumLinesAreTheLatestTests_data();
    void trendMinimumLinesAreTheLatestTests();
    void curveMarksTheTimesItReaches_data();
    void curveMarksTheTimesItReaches();
    void curveShowsLeakageOnRequest();
};

void TestChartPlots::trendMinimumLinesAreTheLatestTests_data()
{
    QTest::addColumn<Points>("points");
    QTest::addColumn<QList<double>>("megohms");
    QTest::addColumn<QList<double>>("pi");

    QTest::newRow("the latest asks for both") << Points{trendPoint(0, 5000, 10, none), trendPoint(1, 4000, 100, 2.0)}
                                              << QList<double>{100} << QList<double>{2.0};
    QTest::newRow("an earlier test's minimums are not drawn")
        << Points{trendPoint(0, 5000, 10, 2.0), trendPoint(1, 4000, 100, none)} << QList<double>{100} << QList<double>();
    QTest::newRow("the latest asks for none") << Points{trendPoint(0, 5000, 10, 2.0), trendPoint(1, 4000, none, none)}
                                              << QList<double>() << QList<double>();
    QTest::newRow("no tests, no lines") << Points() << QList<double>() << QList<double>();
}

// Every test far above its minimum: the line still stands on the chart.
void TestChartPlots::trendMinimumLinesAreTheLatestTests()
{
    QFETCH(Points, points);
    QFETCH(QList<double>, megohms);
    QFETCH(QList<double>, pi);
    QCustomPlot plot;
    TrendPlot::setUp(plot);
    TrendPlot::draw(plot, {trendPoint(0, 1, 999, 9.0)});
    TrendPlot::draw(plot, points);

    QCOMPARE(PlotItems::horizontalLines(plot, plot.yAxis), megohms);
    QCOMPARE(PlotItems::horizontalLines(plot, plot.yAxis2), pi);
    for (const double value : megohms)
        QVERIFY(plot.yAxis->range().contains(value));
    for (const double value : pi)
        QVERIFY(plot.yAxis2->range().contains(value));
}

void TestChartPlots::curveMarksTheTimesItReaches_data()
{
    QTest::addColumn<double>("lastSecond");
    QTest::addColumn<QList<double>>("marks");

    QTest::newRow("short of 15 s") << 10.0 << QList<double>();
    QTest::newRow("exactly 15 s") << 15.0 << QList<double>{15};
    QTest::newRow("one minute") << 60.0 << QList<double>{15, 30, 60};
    QTest::newRow("ten minutes") << 600.0 << QList<double>{15, 30, 60, 600};
}

// Each mark the curve reaches stands with its name and the value read there.
void TestChartPlots::curveMarksTheTimesItReaches()
{
    QFETCH(double, lastSecond);
    QFETCH(QList<double>, marks);
    const InsulationTest test = curveTest(lastSecond);
    const CurveAnalysis::Values values = CurveAnalysis::analyse(test);
    QCustomPlot plot;
    CurvePlot::setUp(plot);
    CurvePlot::draw(plot, curveTest(600), CurveAnalysis::analyse(curveTest(600)), false);
    CurvePlot::draw(plot, test, values, false);

    QCOMPARE(PlotItems::verticalLines(plot), marks);
    const QStringList texts = PlotItems::texts(plot);
    for (const CurveAnalysis::Mark &mark : CurveAnalysis::marks) {
        const bool reached = marks.contains(mark.seconds);
        QCOMPARE(texts.contains(QString::fromLatin1(mark.label)), reached);
        QCOMPARE(texts.contains(ResistanceText::megohms(mark.in(values))), reached);
    }
    QCOMPARE(plot.graph(0)->dataCount(), test.curve.size());
}

void TestChartPlots::curveShowsLeakageOnRequest()
{
    const InsulationTest test = curveTest(60);
    QCustomPlot plot;
    CurvePlot::setUp(plot);
    for (const bool leakage : {true, false, true}) {
        CurvePlot::draw(plot, test, CurveAnalysis::analyse(test), leakage);
        QCOMPARE(plot.graph(1)->visible(), leakage);
        QCOMPARE(plot.yAxis2->visible(), leakage);
    }
    QVERIFY(plot.yAxis2->range().contains(10.0 / 5.0));
}

QTEST_MAIN(TestChartPlots)
#include "tst_chartplots.moc"
