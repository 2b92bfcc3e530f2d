// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
//
// The chart keeps the range of its values as points arrive and keeps the
// points of the tables out of sight; these are the cases where either could
// fall out of step with the tables.
#include "models/datamodel.h"
#include "support/samplerecords.h"
#include "support/windowfixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <qcustomplot.h>

#include <cmath>
#include <limits>

namespace {
const double gap = std::numeric_limits<double>::quiet_NaN();
const double infinite = std::numeric_limits<double>::infinity();
const int liveTab = 0;
const int storedTab = 1;

bool fuzzyEqual(double a, double b)
{
    return std::abs(a - b) <= 1e-9 * std::max(1.0, std::max(std::abs(a), std::abs(b)));
}

QString rangeText(const QCPRange &range)
{
    return QStringLiteral("%1 .. %2").arg(range.lower).arg(range.upper);
}

bool valueAxisIs(const WindowFixture &fixture, double lower, double upper)
{
    const QCPRange range = fixture.plot()->yAxis->range();
    return fuzzyEqual(range.lower, lower) && fuzzyEqual(range.upper, upper);
}

// NaN compares unequal to itself; the chart's gaps are compared as text.
QStringList texts(const QVector<double> &values)
{
    QStringList all;
    for (double value : values)
        all << QString::number(value);
    return all;
}

void feedLive(const WindowFixture &fixture, const QVector<double> &values, double firstSecond = 0)
{
    for (int i = 0; i < values.size(); ++i)
        fixture.live(SampleRecords::irAt(firstSecond + i, values.at(i)));
}

// Stored records reach the chart as they are: no panel text turns a
// non-finite value into 0 first.
void feedStored(const WindowFixture &fixture, const QVector<double> &values)
{
    for (int i = 0; i < values.size(); ++i)
        fixture.stored(SampleRecords::irAt(i, values.at(i)));
}

void answerNextQuestionYes()
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            box->button(QMessageBox::Yes)->click();
            poll->deleteLater();
        }
    });
    poll->start(10);
}

enum class OutOfSight { RowAdded, RefilledToTheSameSize, Emptied };
} // namespace

Q_DECLARE_METATYPE(OutOfSight)

class TestChartRefit : public QObject
{
    Q_OBJECT

private slots:
    void valueAxisFollowsEachNewExtreme_data();
    void valueAxisFollowsEachNewExtreme();
    void clearForgetsTheOldExtremes();
    void tableBackInSightBringsItsPointsAndRange();
    void gapStaysAGapAcrossSwitches();
    void tableChangedOutOfSightIsReplayed_data();
    void tableChangedOutOfSightIsReplayed();
    void readingsOfOnePassAreDrawnOnce();
};

void TestChartRefit::valueAxisFollowsEachNewExtreme_data()
{
    QTest::addColumn<QVector<double>>("values");
    QTest::addColumn<double>("lower");
    QTest::addColumn<double>("upper");

    // Spread values get a tenth of their span as margin, split on both sides.
    QTest::newRow("rising") << QVector<double>{10, 20, 30} << 9.0 << 31.0;
    QTest::newRow("falling") << QVector<double>{30, 20, 10} << 9.0 << 31.0;
    QTest::newRow("new minimum after the maximum") << QVector<double>{50, 10, 80, 30} << 6.5 << 83.5;
    QTest::newRow("both signs") << QVector<double>{-4, 6} << -4.5 << 6.5;
    QTest::newRow("gap first") << QVector<double>{gap, 10, 30} << 9.0 << 31.0;
    QTest::newRow("infinite value between") << QVector<double>{10, infinite, 30} << 9.0 << 31.0;
    // A single value keeps the axis's size (5 at start) and centres on it.
    QTest::newRow("one value") << QVector<double>{5} << 2.5 << 7.5;
    QTest::newRow("equal values") << QVector<double>{5, 5, 5} << 2.5 << 7.5;
    QTest::newRow("one value after a gap") << QVector<double>{gap, 5} << 2.5 << 7.5;
}

void TestChartRefit::valueAxisFollowsEachNewExtreme()
{
    QFETCH(QVector<double>, values);
    QFETCH(double, lower);
    QFETCH(double, upper);

    WindowFixture fixture;
    feedStored(fixture, values);
    QVERIFY2(valueAxisIs(fixture, lower, upper), qPrintable(rangeText(fixture.plot()->yAxis->range())));
}

void TestChartRefit::clearForgetsTheOldExtremes()
{
    WindowFixture fixture;
    feedLive(fixture, {10, 1000, 20});
    answerNextQuestionYes();
    fixture.find<QAction>(QStringLiteral("actionClear"))->trigger();
    QCOMPARE(fixture.liveModel()->rowCount(), 0);

    feedLive(fixture, {40, 60}, 10);
    QCOMPARE(fixture.values(), (QVector<double>{40, 60}));
    QVERIFY2(valueAxisIs(fixture, 39, 61), qPrintable(rangeText(fixture.plot()->yAxis->range())));
}

// Another mode, then the stored tab, come in between; each time the IR table
// comes back its points and their range come with it.
void TestChartRefit::tableBackInSightBringsItsPointsAndRange()
{
    WindowFixture fixture;
    feedLive(fixture, {10, 20, 30});
    fixture.live(SampleRecords::pi());
    QCOMPARE(fixture.values(), QVector<double>{2.19});
    // A single value keeps the size the IR points gave the axis (9 .. 31).
    QVERIFY(valueAxisIs(fixture, 2.19 - 11, 2.19 + 11));

    fixture.live(SampleRecords::irAt(3, 40));
    QCOMPARE(fixture.values(), (QVector<double>{10, 20, 30, 40}));
    QVERIFY2(valueAxisIs(fixture, 8.5, 41.5), qPrintable(rangeText(fixture.plot()->yAxis->range())));

    fixture.tables()->setCurrentIndex(storedTab);
    QVERIFY(fixture.values().isEmpty());
    fixture.tables()->setCurrentIndex(liveTab);
    QCOMPARE(fixture.values(), (QVector<double>{10, 20, 30, 40}));
    QVERIFY2(valueAxisIs(fixture, 8.5, 41.5), qPrintable(rangeText(fixture.plot()->yAxis->range())));
    fixture.live(SampleRecords::irAt(4, 5));
    QVERIFY2(valueAxisIs(fixture, 3.25, 41.75), qPrintable(rangeText(fixture.plot()->yAxis->range())));
}

void TestChartRefit::gapStaysAGapAcrossSwitches()
{
    WindowFixture fixture;
    feedStored(fixture, {10, infinite, 30});
    const QStringList plotted = texts(fixture.values());
    QCOMPARE(plotted, (QStringList{"10", "nan", "30"}));

    fixture.tables()->setCurrentIndex(liveTab);
    fixture.tables()->setCurrentIndex(storedTab);
    QCOMPARE(texts(fixture.values()), plotted);
    QVERIFY2(valueAxisIs(fixture, 9, 31), qPrintable(rangeText(fixture.plot()->yAxis->range())));
}

void TestChartRefit::tableChangedOutOfSightIsReplayed_data()
{
    QTest::addColumn<OutOfSight>("change");
    QTest::addColumn<QVector<double>>("values");

    QTest::newRow("row added") << OutOfSight::RowAdded << QVector<double>{10, 20, 30};
    QTest::newRow("refilled to the same size") << OutOfSight::RefilledToTheSameSize << QVector<double>{70, 80};
    QTest::newRow("emptied") << OutOfSight::Emptied << QVector<double>{};
}

// The chart must show the table as it is now, not the points it kept.
void TestChartRefit::tableChangedOutOfSightIsReplayed()
{
    QFETCH(OutOfSight, change);
    QFETCH(QVector<double>, values);

    WindowFixture fixture;
    feedLive(fixture, {10, 20});
    DataModel *table = fixture.liveModel();
    fixture.tables()->setCurrentIndex(storedTab);
    switch (change) {
    case OutOfSight::RowAdded:
        table->addData(SampleRecords::irAt(2, 30));
        break;
    case OutOfSight::RefilledToTheSameSize:
        table->clear();
        table->addData(SampleRecords::irAt(5, 70));
        table->addData(SampleRecords::irAt(6, 80));
        break;
    case OutOfSight::Emptied:
        table->clear();
        break;
    }
    fixture.tables()->setCurrentIndex(liveTab);
    QCOMPARE(fixture.values(), values);
    if (values.size() > 1) {
        const double span = values.last() - values.first();
        QVERIFY2(valueAxisIs(fixture, values.first() - span * 0.05, values.last() + span * 0.05),
                 qPrintable(rangeText(fixture.plot()->yAxis->range())));
    }
}

// However many readings arrive between two passes of the event loop, the
// chart is drawn once for them.
void TestChartRefit::readingsOfOnePassAreDrawnOnce()
{
    WindowFixture fixture;
    QCoreApplication::processEvents();
    QSignalSpy drawn(fixture.plot(), &QCustomPlot::afterReplot);
    feedLive(fixture, QVector<double>(50, 10));
    QCOMPARE(drawn.count(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(drawn.count(), 1, 10000);
    QCoreApplication::processEvents();
    QCOMPARE(drawn.count(), 1);
}

QTEST_MAIN(TestChartRefit)
#include "tst_chartrefit.moc"
