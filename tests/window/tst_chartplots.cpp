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

TrendAnalysis::Point pointOf(int days, double megohms, const QString &testPoint, const QString &warning = QString())
{
    TrendAnalysis::Point point;
    point.ms = 1600000000000LL + days * 86400000LL;
    point.megohms = megohms;
    point.pi = 2.5;
    point.outcome = Verdict::Outcome::Pass;
    point.testPoint = testPoint;
    point.warning = warning;
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
    void trendDrawsEachTestPointApart();
    void warningNumbersNeverOverlap_data();
    void warningNumbersNeverOverlap();
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
    // Judged by the meter's own limit, which is no rule of the item's.
    TrendAnalysis::Point meterLimit = trendPoint(1, 900, none, none);
    meterLimit.meterLimit = true;
    QTest::newRow("the latest rules, not the meter's limit")
        << Points{trendPoint(0, 5000, 100, 2.0), meterLimit} << QList<double>{100} << QList<double>{2.0};
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

// Each test point its own line, colour and marker and its own name in the
// legend; a line joins only the tests of its point.
void TestChartPlots::trendDrawsEachTestPointApart()
{
    const Points points{pointOf(0, 900, "U-E"), pointOf(0, 800, "V-E"), pointOf(0, 700, QString()),
                        pointOf(300, 950, "U-E"), pointOf(300, 850, "V-E")};
    QCustomPlot plot;
    TrendPlot::setUp(plot);
    TrendPlot::draw(plot, points);

    QHash<QString, const QCPGraph *> named;
    for (int index = 0; index < plot.graphCount(); ++index) {
        const QCPGraph *graph = plot.graph(index);
        if (plot.legend->hasItemWithPlottable(graph))
            named.insert(graph->name(), graph);
    }
    const QStringList series{"U-E", "V-E", "no test point"};
    const QList<int> counts{2, 2, 1};
    for (int index = 0; index < series.size(); ++index) {
        const QCPGraph *graph = named.value(series.at(index));
        QVERIFY2(graph, qPrintable(series.at(index)));
        QCOMPARE(graph->dataCount(), counts.at(index));
        for (int other = 0; other < index; ++other) {
            const QCPGraph *before = named.value(series.at(other));
            QVERIFY(graph->pen().color() != before->pen().color());
            QVERIFY(graph->scatterStyle().shape() != before->scatterStyle().shape());
        }
    }
    // The verdicts and the PI are named once, whatever the number of points.
    QVERIFY(named.contains(Verdict::outcomeText(Verdict::Outcome::Pass)));
    QVERIFY(named.contains(QStringLiteral("PI")));
    QCOMPARE(plot.legend->itemCount(), 5);
}

void TestChartPlots::warningNumbersNeverOverlap_data()
{
    QTest::addColumn<Points>("points");
    QTest::addColumn<QSize>("size");

    const QString fell = QStringLiteral("fell");
    QTest::newRow("three phases warned on one day")
        << Points{pointOf(0, 1000, "U-E"), pointOf(0, 1000, "V-E"), pointOf(0, 1000, "W-E"),
                  pointOf(400, 400, "U-E", fell), pointOf(400, 380, "V-E", fell), pointOf(400, 420, "W-E", fell)}
        << QSize(600, 300);
    QTest::newRow("warnings far apart keep their own numbers")
        << Points{pointOf(0, 1000, "U-E"), pointOf(400, 400, "U-E", fell), pointOf(800, 3000, "U-E"),
                  pointOf(1200, 1000, "U-E", fell)}
        << QSize(600, 300);
    Points twelve;
    for (int index = 0; index < 12; ++index) {
        const bool warned = index == 4 || index == 5 || index == 7 || index == 10 || index == 11;
        // The last test two days after the one before: tested again at once.
        const int day = index < 11 ? index * 30 : 302;
        twelve << pointOf(day, warned ? 300.0 + index : 2000.0 - index * 10, "U-E", warned ? fell : QString());
    }
    QTest::newRow("twelve tests, five warnings, a small chart") << twelve << QSize(420, 240);
    QTest::newRow("twelve tests, five warnings, a wide chart") << twelve << QSize(1000, 400);
}

// However the chart is sized, no number covers another, and each warning's
// number stands on it once.
void TestChartPlots::warningNumbersNeverOverlap()
{
    QFETCH(Points, points);
    QFETCH(QSize, size);
    QCustomPlot plot;
    TrendPlot::setUp(plot);
    TrendPlot::draw(plot, points);
    plot.toPixmap(size.width(), size.height());

    QList<PlotItems::Label> numbers;
    for (const PlotItems::Label &label : PlotItems::shownTexts(plot)) {
        if (label.text.front().isDigit())
            numbers << label;
    }
    QStringList shown;
    for (int a = 0; a < numbers.size(); ++a) {
        shown += numbers.at(a).text.split(QStringLiteral(", "));
        for (int b = a + 1; b < numbers.size(); ++b)
            QVERIFY2(!numbers.at(a).rect.intersects(numbers.at(b).rect),
                     qPrintable(numbers.at(a).text + QStringLiteral(" over ") + numbers.at(b).text));
    }
    shown.sort();
    QStringList expected;
    int warned = 0;
    for (const TrendAnalysis::Point &point : points) {
        if (!point.warning.isEmpty())
            expected << QString::number(++warned);
    }
    expected.sort();
    QCOMPARE(shown, expected);
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
