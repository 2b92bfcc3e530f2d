// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "support/samplerecords.h"
#include "window/chartpoint.h"

#include <QTest>

#include <cmath>
#include <limits>

namespace {
QSharedPointer<DMMDataCAP> capOf(double value)
{
    auto record = SampleRecords::cap();
    record->capacitance.value = value;
    return record;
}
} // namespace

class TestChartPoint : public QObject
{
    Q_OBJECT

private slots:
    void recordsThatFitNoModePlotZero_data();
    void recordsThatFitNoModePlotZero();
    void nonFiniteValuesBecomeGaps_data();
    void nonFiniteValuesBecomeGaps();
    void keyIsSecondsSinceTheEpoch();
};

void TestChartPoint::recordsThatFitNoModePlotZero_data()
{
    QTest::addColumn<QSharedPointer<DMMData>>("record");

    QSharedPointer<DMMData> mode8 = SampleRecords::ir();
    mode8->mode = static_cast<DMMData::DataMode>(8);
    QTest::newRow("mode 8") << mode8;
    QSharedPointer<DMMData> claimsPi = SampleRecords::res();
    claimsPi->mode = DMMData::dmPI;
    QTest::newRow("RES record claiming PI") << claimsPi;
    QTest::newRow("null") << QSharedPointer<DMMData>();
}

void TestChartPoint::recordsThatFitNoModePlotZero()
{
    QFETCH(QSharedPointer<DMMData>, record);

    QCOMPARE(ChartPoint::value(record), 0.0);
}

// Stored records reach the chart without the texts that would turn them into 0.
void TestChartPoint::nonFiniteValuesBecomeGaps_data()
{
    QTest::addColumn<QSharedPointer<DMMData>>("record");

    const double infinity = std::numeric_limits<double>::infinity();
    QTest::newRow("NaN capacitance") << QSharedPointer<DMMData>(capOf(std::nan("")));
    QTest::newRow("infinite capacitance") << QSharedPointer<DMMData>(capOf(infinity));
    QTest::newRow("minus infinite capacitance") << QSharedPointer<DMMData>(capOf(-infinity));
    QTest::newRow("infinite resistance") << QSharedPointer<DMMData>(SampleRecords::irAt(0, infinity, "GΩ"));
    QTest::newRow("overflow by the unit") << QSharedPointer<DMMData>(SampleRecords::irAt(0, 1e306, "TΩ"));
}

void TestChartPoint::nonFiniteValuesBecomeGaps()
{
    QFETCH(QSharedPointer<DMMData>, record);

    QVERIFY(std::isnan(ChartPoint::value(record)));
}

void TestChartPoint::keyIsSecondsSinceTheEpoch()
{
    auto record = SampleRecords::ir();
    record->dateTime = QDateTime::fromMSecsSinceEpoch(1234567890123, Qt::UTC);
    QCOMPARE(ChartPoint::key(*record), 1234567890.123);
}

QTEST_MAIN(TestChartPoint)
#include "tst_chartpoint.moc"
