// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "support/samplerecords.h"
#include "window/chartpoint.h"

#include <QTest>

#include <cmath>

class TestChartPoint : public QObject
{
    Q_OBJECT

private slots:
    void unitFactorScalesResistancesToMega_data();
    void unitFactorScalesResistancesToMega();
    void recordsThatFitNoModePlotZero_data();
    void recordsThatFitNoModePlotZero();
    void nonFiniteValuesStayGaps();
    void keyIsSecondsSinceTheEpoch();
};

void TestChartPoint::unitFactorScalesResistancesToMega_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<double>("factor");

    QTest::newRow("MΩ") << "MΩ" << 1.0;
    QTest::newRow("GΩ") << "GΩ" << 1000.0;
    QTest::newRow("TΩ") << "TΩ" << 1000000.0;
    QTest::newRow("lower-case t") << "tΩ" << 1000000.0;
    QTest::newRow("Ω") << "Ω" << 1.0;
    QTest::newRow("empty") << "" << 1.0;
    QTest::newRow("V") << "V" << 1.0;
}

void TestChartPoint::unitFactorScalesResistancesToMega()
{
    QFETCH(QString, unit);
    QFETCH(double, factor);

    QCOMPARE(ChartPoint::unitFactor(unit), factor);
}

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

// Stored records reach the chart without the texts that would turn NaN into 0.
void TestChartPoint::nonFiniteValuesStayGaps()
{
    auto record = SampleRecords::cap();
    record->capacitance.value = std::nan("");
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
