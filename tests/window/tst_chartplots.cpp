// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "support/plotitems.h"
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
} // namespace

Q_DECLARE_METATYPE(Points)

class TestChartPlots : public QObject
{
    Q_OBJECT

private slots:
    void trendMinimumLinesAreTheLatestTests_data();
    void trendMinimumLinesAreTheLatestTests();
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

QTEST_MAIN(TestChartPlots)
#include "tst_chartplots.moc"
