// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "models/datamodel.h"
#include "support/samplerecords.h"
#include "support/windowfixture.h"
#include "window/templatewindow.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLocale>
#include <QTabWidget>
#include <QTest>

#include <qcustomplot.h>

#include <cmath>
#include <limits>

namespace {
const double gap = std::numeric_limits<double>::quiet_NaN();

double keyOf(const QSharedPointer<DMMData> &record)
{
    return QCPAxisTickerDateTime::dateTimeToKey(record->dateTime);
}

QCPTextElement *chartTitle(const WindowFixture &fixture)
{
    return qobject_cast<QCPTextElement *>(fixture.plot()->plotLayout()->element(0, 0));
}

QPoint pixelOf(const WindowFixture &fixture, double key, double value)
{
    const QCPGraph *graph = fixture.graph();
    return QPoint(qRound(graph->keyAxis()->coordToPixel(key)), qRound(graph->valueAxis()->coordToPixel(value)));
}

void moveTo(const WindowFixture &fixture, const QPoint &pos)
{
    QMouseEvent move(QEvent::MouseMove, pos, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(fixture.plot(), &move);
}

void doubleClick(const WindowFixture &fixture)
{
    const QPoint pos = fixture.plot()->axisRect()->rect().center();
    QMouseEvent event(QEvent::MouseButtonDblClick, pos, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(fixture.plot(), &event);
}

void wheel(const WindowFixture &fixture)
{
    const QPointF pos = fixture.plot()->axisRect()->rect().center();
    QWheelEvent event(pos, fixture.plot()->mapToGlobal(pos.toPoint()), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(fixture.plot(), &event);
}

// Points on the very edge of the plot area cannot be clicked; leave room around them.
void zoomOut(const WindowFixture &fixture)
{
    fixture.plot()->xAxis->scaleRange(1.5);
    fixture.plot()->yAxis->scaleRange(1.5);
    fixture.plot()->replot();
}

void pressAndRelease(const WindowFixture &fixture, const QPoint &pos)
{
    QTest::mouseClick(fixture.plot(), Qt::LeftButton, Qt::NoModifier, pos);
}

// A spot inside the plot area far from every point.
QPoint emptySpot(const WindowFixture &fixture)
{
    const QRect area = fixture.plot()->axisRect()->rect();
    return QPoint(area.left() + 5, area.top() + 5);
}

QCPItemTracer *tracer(const WindowFixture &fixture)
{
    for (int i = 0; i < fixture.plot()->itemCount(); ++i) {
        if (auto *item = qobject_cast<QCPItemTracer *>(fixture.plot()->item(i)))
            return item;
    }
    return nullptr;
}

QCPItemText *tracerLabel(const WindowFixture &fixture)
{
    for (int i = 0; i < fixture.plot()->itemCount(); ++i) {
        if (auto *item = qobject_cast<QCPItemText *>(fixture.plot()->item(i)))
            return item;
    }
    return nullptr;
}

QString expectedLabel(double key, const QString &graph, const QString &value)
{
    const QString time = QLocale::system().toString(QCPAxisTickerDateTime::keyToDateTime(key), QLocale::LongFormat);
    return QStringLiteral("[%1] %2:%3").arg(time, graph, value);
}

bool fuzzyEqual(double a, double b)
{
    return std::abs(a - b) <= 1e-9 * std::max(1.0, std::max(std::abs(a), std::abs(b)));
}

// Three IR readings one second apart with the resistances 10, 20 and 30 MΩ.
void feedThreeReadings(const WindowFixture &fixture)
{
    for (int i = 0; i < 3; ++i)
        fixture.live(SampleRecords::irAt(i, 10.0 * (i + 1)));
    zoomOut(fixture);
}
} // namespace

class TestChart : public QObject
{
    Q_OBJECT

private slots:
    void plotsTheMainQuantityOfEachMode_data();
    void plotsTheMainQuantityOfEachMode();
    void namesFollowTheModeShown_data();
    void namesFollowTheModeShown();
    void keyAxisShowsTheNewestHundredPoints_data();
    void keyAxisShowsTheNewestHundredPoints();
    void valueAxisSpansEveryPoint_data();
    void valueAxisSpansEveryPoint();
    void infiniteValueLeavesAGap_data();
    void infiniteValueLeavesAGap();
    void timeLabelsNeverOverlap_data();
    void timeLabelsNeverOverlap();
    void modeSwitchReplotsFromTheTable();
    void doubleClickUndoesZooming();
    void emptyChartShowsTheTimeToCome();
    void selectingAPointShowsTracerAndLabel();
    void tracerLabelNamesThePointUnderThePointer();
    void tracerLabelIsCurrentWhenDrawn();
    void tracerLabelReadsTheStoredTableWhenShown();
    void tracerLabelLeavesValueEmptyBeyondTheTable();
    void clickingEmptySpaceRemovesTracer();
    void selectedAxisAloneIsDraggedAndZoomed();
};

void TestChart::plotsTheMainQuantityOfEachMode_data()
{
    QTest::addColumn<QSharedPointer<DMMData>>("record");
    QTest::addColumn<bool>("stored");
    QTest::addColumn<double>("expected");

    QTest::newRow("IR in MΩ") << QSharedPointer<DMMData>(SampleRecords::irAt(0, 12.0)) << false << 12.0;
    QTest::newRow("IR 2 GΩ") << QSharedPointer<DMMData>(SampleRecords::irAt(0, 2.0, "GΩ")) << false << 2000.0;
    QTest::newRow("IR 0.5 TΩ") << QSharedPointer<DMMData>(SampleRecords::irAt(0, 0.5, "TΩ")) << false << 500000.0;
    QTest::newRow("IR lower-case g") << QSharedPointer<DMMData>(SampleRecords::irAt(0, 3.0, "gΩ")) << false << 3000.0;
    QTest::newRow("IR unit without a prefix") << QSharedPointer<DMMData>(SampleRecords::irAt(0, 7.0, "Ω")) << false
                                              << 7.0;
    QTest::newRow("stored IR 2 GΩ") << QSharedPointer<DMMData>(SampleRecords::irAt(0, 2.0, "GΩ")) << true << 2000.0;
    {
        auto record = SampleRecords::time();
        record->resistance = ValueBox{"1.50", 1.5, "GΩ"};
        QTest::newRow("Time in GΩ") << QSharedPointer<DMMData>(record) << false << 1500.0;
    }
    {
        auto record = SampleRecords::comp();
        record->resistance = ValueBox{"0.25", 0.25, "TΩ"};
        QTest::newRow("COMP in TΩ") << QSharedPointer<DMMData>(record) << false << 250000.0;
    }
    QTest::newRow("PI ratio, not its resistance") << QSharedPointer<DMMData>(SampleRecords::pi()) << false << 2.19;
    QTest::newRow("DAR ratio") << QSharedPointer<DMMData>(SampleRecords::dar()) << false << 1.37;
    QTest::newRow("stored DAR ratio") << QSharedPointer<DMMData>(SampleRecords::dar()) << true << 1.37;
    QTest::newRow("CAP") << QSharedPointer<DMMData>(SampleRecords::cap()) << false << 0.47;
    QTest::newRow("VOLT") << QSharedPointer<DMMData>(SampleRecords::volt()) << false << 230.0;
    QTest::newRow("RES in Ω, unscaled") << QSharedPointer<DMMData>(SampleRecords::res()) << false << 47.5;
}

void TestChart::plotsTheMainQuantityOfEachMode()
{
    QFETCH(QSharedPointer<DMMData>, record);
    QFETCH(bool, stored);
    QFETCH(double, expected);

    WindowFixture fixture;
    if (stored)
        fixture.stored(record);
    else
        fixture.live(record);
    QCOMPARE(fixture.values(), QVector<double>{expected});
    QCOMPARE(fixture.keys(), QVector<double>{keyOf(record)});
}

void TestChart::namesFollowTheModeShown_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("stored");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("axisLabel");

    const auto add = [](const char *tag, DMMData::DataMode mode, bool stored, const char *name, const char *label) {
        QTest::newRow(tag) << int(mode) << stored << name << label;
    };
    add("IR", DMMData::dmIR, false, "IR", "RES");
    add("Time", DMMData::dmTime, false, "Time", "RES");
    add("PI", DMMData::dmPI, false, "PI", "PI");
    add("DAR", DMMData::dmDAR, false, "DAR", "DAR");
    add("COMP", DMMData::dmCOMP, false, "COMP", "RES");
    add("CAP", DMMData::dmCAP, false, "CAP", "CAP");
    add("VOLT", DMMData::dmVOLT, false, "VOLT", "VOLT");
    add("RES", DMMData::dmRES, false, "RES", "RES");
    add("stored PI", DMMData::dmPI, true, "PI", "PI");
    add("stored VOLT", DMMData::dmVOLT, true, "VOLT", "VOLT");
}

void TestChart::namesFollowTheModeShown()
{
    QFETCH(int, mode);
    QFETCH(bool, stored);
    QFETCH(QString, name);
    QFETCH(QString, axisLabel);

    WindowFixture fixture;
    const QSharedPointer<DMMData> record = SampleRecords::ofMode(static_cast<DMMData::DataMode>(mode));
    if (stored)
        fixture.stored(record);
    else
        fixture.live(record);
    QCOMPARE(fixture.graph()->name(), name);
    QCOMPARE(chartTitle(fixture)->text(), name);
    QCOMPARE(fixture.plot()->yAxis->label(), axisLabel);
}

void TestChart::keyAxisShowsTheNewestHundredPoints_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("firstShown");

    QTest::newRow("fewer than 100") << 40 << 0;
    QTest::newRow("exactly 100") << 100 << 0;
    QTest::newRow("101") << 101 << 1;
    QTest::newRow("250") << 250 << 150;
}

void TestChart::keyAxisShowsTheNewestHundredPoints()
{
    QFETCH(int, count);
    QFETCH(int, firstShown);

    WindowFixture fixture;
    for (int i = 0; i < count; ++i)
        fixture.live(SampleRecords::irAt(i * 0.5, 10.0 + i % 7));
    const QVector<double> keys = fixture.keys();
    QCOMPARE(keys.size(), count);
    const QCPRange range = fixture.plot()->xAxis->range();
    QVERIFY2(fuzzyEqual(range.lower, keys.at(firstShown)), qPrintable(QString::number(range.lower, 'f', 3)));
    QVERIFY(fuzzyEqual(range.upper, keys.last()));
    QCOMPARE(fixture.plot()->xAxis2->range(), range);
}

void TestChart::valueAxisSpansEveryPoint_data()
{
    QTest::addColumn<QVector<double>>("values");
    QTest::addColumn<double>("lower");
    QTest::addColumn<double>("upper");

    // Spread values get a tenth of their span as margin, split on both sides.
    QTest::newRow("spread") << QVector<double>{10, 30, 20} << 9.0 << 31.0;
    QTest::newRow("spread around a gap") << QVector<double>{10, gap, 30} << 9.0 << 31.0;
    // A single value keeps the axis's size (5 at start) and centres on it.
    QTest::newRow("one point") << QVector<double>{5} << 2.5 << 7.5;
    QTest::newRow("equal values") << QVector<double>{5, 5, 5} << 2.5 << 7.5;
    QTest::newRow("one value beside gaps") << QVector<double>{gap, 5, gap} << 2.5 << 7.5;
}

void TestChart::valueAxisSpansEveryPoint()
{
    QFETCH(QVector<double>, values);
    QFETCH(double, lower);
    QFETCH(double, upper);

    WindowFixture fixture;
    QCOMPARE(fixture.plot()->yAxis->range().size(), 5.0);
    for (int i = 0; i < values.size(); ++i)
        fixture.graph()->addData(1.0e9 + i, values.at(i));
    doubleClick(fixture);
    const QCPRange range = fixture.plot()->yAxis->range();
    QVERIFY2(fuzzyEqual(range.lower, lower) && fuzzyEqual(range.upper, upper),
             qPrintable(QStringLiteral("%1 .. %2").arg(range.lower).arg(range.upper)));
}

void TestChart::infiniteValueLeavesAGap_data()
{
    QTest::addColumn<bool>("stored");
    QTest::addColumn<bool>("replotted");

    QTest::newRow("stored") << true << false;
    // The panel shows a live reading as "-" before the chart gets it.
    QTest::newRow("live") << false << false;
    // The tables have shown it as "-" when the chart draws them again.
    QTest::newRow("stored, drawn again") << true << true;
    QTest::newRow("live, drawn again") << false << true;
}

// A value that is no number is a gap, never a point at 0 (a dead short), and
// must not stop the axes from fitting the points around it.
void TestChart::infiniteValueLeavesAGap()
{
    QFETCH(bool, stored);
    QFETCH(bool, replotted);
    WindowFixture fixture;
    for (int i = 0; i < 5; ++i) {
        const auto record = SampleRecords::irAt(i, i == 2 ? std::numeric_limits<double>::infinity() : 10.0 * (i + 1));
        stored ? fixture.stored(record) : fixture.live(record);
    }
    DataModel *table = stored ? fixture.storedModel() : fixture.liveModel();
    QCOMPARE(table->index(2, 3).data().toString(), QStringLiteral("- MΩ"));
    if (replotted) {
        fixture.tables()->setCurrentIndex(stored ? 0 : 1);
        fixture.tables()->setCurrentIndex(stored ? 1 : 0);
    }

    const QVector<double> values = fixture.values();
    QCOMPARE(values.size(), 5);
    QVERIFY(std::isnan(values[2]));
    const QCPRange range = fixture.plot()->yAxis->range();
    QVERIFY2(fuzzyEqual(range.lower, 8.0) && fuzzyEqual(range.upper, 52.0),
             qPrintable(QStringLiteral("%1 .. %2").arg(range.lower).arg(range.upper)));
}

void TestChart::timeLabelsNeverOverlap_data()
{
    QTest::addColumn<QSize>("windowSize");
    QTest::addColumn<double>("secondsApart");
    QTest::addColumn<int>("fontPoints");

    QTest::newRow("default size, a second apart") << QSize(1026, 701) << 1.0 << 0;
    QTest::newRow("default size, a tenth apart") << QSize(1026, 701) << 0.1 << 0;
    QTest::newRow("default size, a day apart") << QSize(1026, 701) << 86400.0 << 0;
    QTest::newRow("narrow") << QSize(640, 480) << 1.0 << 0;
    QTest::newRow("wide") << QSize(2400, 900) << 0.37 << 0;
    QTest::newRow("large labels, as on a dense screen") << QSize(1026, 701) << 1.0 << 20;
}

// Neighbouring date-time labels keep apart at any size.
void TestChart::timeLabelsNeverOverlap()
{
    QFETCH(QSize, windowSize);
    QFETCH(double, secondsApart);
    QFETCH(int, fontPoints);
    WindowFixture fixture;
    QCPAxis *axis = fixture.plot()->xAxis;
    if (fontPoints > 0) {
        QFont font = axis->tickLabelFont();
        font.setPointSize(fontPoints);
        axis->setTickLabelFont(font);
    }
    fixture.window().resize(windowSize);
    QVERIFY(fixture.show());
    for (int i = 0; i < 60; ++i)
        fixture.live(SampleRecords::irAt(i * secondsApart, 10.0 + i));
    fixture.plot()->replot();

    const QVector<double> ticks = axis->tickVector();
    const QVector<QString> labels = axis->tickVectorLabels();
    QVERIFY(ticks.size() >= 2);
    const QFontMetrics metrics(axis->tickLabelFont());
    auto halfWidth = [&metrics](const QString &label) {
        int widest = 0;
        for (const QString &line : label.split(QLatin1Char('\n')))
            widest = qMax(widest, metrics.horizontalAdvance(line));
        return widest / 2.0;
    };
    for (int i = 1; i < ticks.size(); ++i) {
        const double apart = axis->coordToPixel(ticks.at(i)) - axis->coordToPixel(ticks.at(i - 1));
        const double needed = halfWidth(labels.at(i)) + halfWidth(labels.at(i - 1));
        QVERIFY2(apart > needed, qPrintable(QStringLiteral("%1 and %2: %3 px apart, %4 px wide")
                                                .arg(labels.at(i - 1), labels.at(i))
                                                .arg(apart)
                                                .arg(needed)));
    }
}

void TestChart::modeSwitchReplotsFromTheTable()
{
    WindowFixture fixture;
    feedThreeReadings(fixture);
    fixture.live(SampleRecords::pi());
    QCOMPARE(fixture.values(), QVector<double>{2.19});

    // Back in IR mode, the IR table's rows come back in row order, followed by the new one.
    auto again = SampleRecords::irAt(3, 40.0);
    fixture.live(again);
    QCOMPARE(fixture.values(), (QVector<double>{10, 20, 30, 40}));
    QCOMPARE(fixture.keys().last(), keyOf(again));
}

void TestChart::doubleClickUndoesZooming()
{
    WindowFixture fixture;
    feedThreeReadings(fixture);
    doubleClick(fixture);
    const QCPRange keys = fixture.plot()->xAxis->range();
    const QCPRange values = fixture.plot()->yAxis->range();
    fixture.plot()->xAxis->setRange(keys.lower - 100, keys.lower - 50);
    fixture.plot()->yAxis->setRange(-7, -3);
    doubleClick(fixture);
    QCOMPARE(fixture.plot()->xAxis->range(), keys);
    QCOMPARE(fixture.plot()->yAxis->range(), values);
}

// Before the first reading the time axis shows the minute to come, not the
// first seconds of 1970.
void TestChart::emptyChartShowsTheTimeToCome()
{
    WindowFixture fixture;
    const double before = QCPAxisTickerDateTime::dateTimeToKey(QDateTime::currentDateTime());
    fixture.window().show();
    QTRY_VERIFY(fixture.plot()->xAxis->range().lower >= before - 1.0);
    QVERIFY(fixture.plot()->xAxis->range().upper > fixture.plot()->xAxis->range().lower);
}

void TestChart::selectingAPointShowsTracerAndLabel()
{
    WindowFixture fixture;
    QVERIFY(fixture.show());
    feedThreeReadings(fixture);
    const QVector<double> keys = fixture.keys();
    pressAndRelease(fixture, pixelOf(fixture, keys[1], 20));

    QCPGraph *graph = fixture.graph();
    QVERIFY(graph->selected());
    QCOMPARE(fixture.plot()->itemCount(), 2);
    QCPItemTracer *plus = tracer(fixture);
    QVERIFY(plus);
    QCOMPARE(plus->style(), QCPItemTracer::tsPlus);
    QCOMPARE(plus->pen().color(), QColor(QStringLiteral("#ff8a5c")));
    QCOMPARE(plus->size(), 8.0);
    QVERIFY(!plus->interpolating());
    QCOMPARE(plus->layer()->name(), QStringLiteral("overlay"));

    QCPItemText *label = tracerLabel(fixture);
    QVERIFY(label);
    QVERIFY(label->text().isEmpty());
    QCOMPARE(label->color(), graph->pen().color());
    QCOMPARE(label->position->type(), QCPItemPosition::ptAxisRectRatio);
    QCOMPARE(label->position->coords(), QPointF(0.99, 0.96));
    QCOMPARE(label->positionAlignment(), Qt::AlignRight | Qt::AlignBottom);
    QCOMPARE(label->textAlignment(), Qt::AlignLeft);
    QCOMPARE(label->padding(), QMargins(5, 5, 5, 5));
    QCOMPARE(label->layer()->name(), QStringLiteral("overlay"));

    QVERIFY(fixture.plot()->legend->itemWithPlottable(graph)->selected());
    QCOMPARE(graph->scatterStyle().shape(), QCPScatterStyle::ssDisc);
    QCOMPARE(graph->scatterStyle().size(), 5.0);
}

// Each point's label carries its own row's text, whichever way the pointer comes.
void TestChart::tracerLabelNamesThePointUnderThePointer()
{
    WindowFixture fixture;
    QVERIFY(fixture.show());
    feedThreeReadings(fixture);
    const QVector<double> keys = fixture.keys();
    pressAndRelease(fixture, pixelOf(fixture, keys[0], 10));
    QVERIFY(tracer(fixture));

    for (int i : {2, 0, 1, 2}) {
        moveTo(fixture, pixelOf(fixture, keys[i], 10.0 * (i + 1)));
        QCOMPARE(tracer(fixture)->position->key(), keys[i]);
        const QString value = fixture.liveModel()->getMainValue(i).toString();
        QCOMPARE(value, QStringLiteral("%1 MΩ").arg(10 * (i + 1)));
        QCOMPARE(tracerLabel(fixture)->text(), expectedLabel(keys[i], "IR", value));
    }
}

void TestChart::tracerLabelIsCurrentWhenDrawn()
{
    WindowFixture fixture;
    QVERIFY(fixture.show());
    feedThreeReadings(fixture);
    const QVector<double> keys = fixture.keys();
    pressAndRelease(fixture, pixelOf(fixture, keys[0], 10));

    QStringList drawn;
    QObject::connect(fixture.plot(), &QCustomPlot::afterReplot, fixture.plot(),
                     [&] { drawn << tracerLabel(fixture)->text(); });
    moveTo(fixture, pixelOf(fixture, keys[2], 30));
    QVERIFY(!drawn.isEmpty());
    QCOMPARE(drawn.last(), expectedLabel(keys[2], "IR", "30 MΩ"));
}

void TestChart::tracerLabelReadsTheStoredTableWhenShown()
{
    WindowFixture fixture;
    QVERIFY(fixture.show());
    fixture.live(SampleRecords::irAt(0, 99.0));
    for (int i = 0; i < 2; ++i)
        fixture.stored(SampleRecords::irAt(i, 5.0 * (i + 1), "GΩ"));
    QCOMPARE(fixture.tables()->currentIndex(), 1);
    QCOMPARE(fixture.values(), (QVector<double>{5000, 10000}));
    zoomOut(fixture);

    const QVector<double> keys = fixture.keys();
    pressAndRelease(fixture, pixelOf(fixture, keys[1], 10000));
    QVERIFY(tracer(fixture));
    moveTo(fixture, pixelOf(fixture, keys[1], 10000));
    QCOMPARE(tracerLabel(fixture)->text(), expectedLabel(keys[1], "IR", "10 GΩ"));
}

void TestChart::tracerLabelLeavesValueEmptyBeyondTheTable()
{
    WindowFixture fixture;
    QVERIFY(fixture.show());
    fixture.live(SampleRecords::irAt(0, 10.0));
    const double extra = fixture.keys().first() + 1.0;
    fixture.graph()->addData(extra, 20.0);
    doubleClick(fixture);
    zoomOut(fixture);

    pressAndRelease(fixture, pixelOf(fixture, extra, 20.0));
    QVERIFY(tracer(fixture));
    moveTo(fixture, pixelOf(fixture, extra, 20.0));
    QCOMPARE(tracerLabel(fixture)->text(), expectedLabel(extra, "IR", QString()));
}

void TestChart::clickingEmptySpaceRemovesTracer()
{
    WindowFixture fixture;
    QVERIFY(fixture.show());
    feedThreeReadings(fixture);
    // Without a selection, moving the pointer adds nothing.
    moveTo(fixture, pixelOf(fixture, fixture.keys()[1], 20));
    QCOMPARE(fixture.plot()->itemCount(), 0);

    pressAndRelease(fixture, pixelOf(fixture, fixture.keys()[1], 20));
    QCOMPARE(fixture.plot()->itemCount(), 2);
    pressAndRelease(fixture, emptySpot(fixture));
    QVERIFY(!fixture.graph()->selected());
    QCOMPARE(fixture.plot()->itemCount(), 0);
    QVERIFY(!fixture.plot()->legend->itemWithPlottable(fixture.graph())->selected());
    QCOMPARE(fixture.graph()->scatterStyle().shape(), QCPScatterStyle::ssNone);
    moveTo(fixture, pixelOf(fixture, fixture.keys()[2], 30));
    QCOMPARE(fixture.plot()->itemCount(), 0);
}

void TestChart::selectedAxisAloneIsDraggedAndZoomed()
{
    WindowFixture fixture;
    QVERIFY(fixture.show());
    feedThreeReadings(fixture);
    QCustomPlot *plot = fixture.plot();
    QCPAxisRect *rect = plot->axisRect();

    // A click on the value axis's tick labels selects the whole axis.
    pressAndRelease(fixture, QPoint(rect->left() - 12, rect->center().y()));
    QCOMPARE(plot->yAxis->selectedParts(), QCPAxis::spAxis | QCPAxis::spTickLabels | QCPAxis::spAxisLabel);

    QTest::mousePress(plot, Qt::LeftButton, Qt::NoModifier, rect->center());
    QCOMPARE(rect->rangeDrag(), Qt::Vertical);
    QCOMPARE(rect->rangeDragAxes(Qt::Vertical), QList<QCPAxis *>{plot->yAxis});
    QVERIFY(rect->rangeDragAxes(Qt::Horizontal).isEmpty());
    QTest::mouseRelease(plot, Qt::LeftButton, Qt::NoModifier, rect->center());
    QCOMPARE(plot->yAxis->selectedParts(), QCPAxis::spNone); // the click into the plot deselects it

    // With nothing selected, both directions and all axes act again.
    QTest::mousePress(plot, Qt::LeftButton, Qt::NoModifier, emptySpot(fixture));
    QCOMPARE(rect->rangeDrag(), Qt::Horizontal | Qt::Vertical);
    QCOMPARE(rect->rangeDragAxes(Qt::Horizontal).size() + rect->rangeDragAxes(Qt::Vertical).size(),
             rect->axes().size());
    QTest::mouseRelease(plot, Qt::LeftButton, Qt::NoModifier, emptySpot(fixture));

    pressAndRelease(fixture, QPoint(rect->center().x(), rect->bottom() + 12));
    QVERIFY(plot->xAxis->selectedParts().testFlag(QCPAxis::spAxis));
    wheel(fixture);
    QCOMPARE(rect->rangeZoom(), Qt::Horizontal);
    QCOMPARE(rect->rangeZoomAxes(Qt::Horizontal), QList<QCPAxis *>{plot->xAxis});
    QVERIFY(rect->rangeZoomAxes(Qt::Vertical).isEmpty());
}

QTEST_MAIN(TestChart)
#include "tst_chart.moc"
