// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "insulation/temperaturecorrection.h"
#include "insulation/testdetails.h"
#include "support/curvepoints.h"

#include <QTest>

#include <cmath>
#include <functional>

using DetailsEdit = std::function<void(TestDetails &)>;
Q_DECLARE_METATYPE(DetailsEdit)

class TestTemperatureCorrection : public QObject
{
    Q_OBJECT

private slots:
    void factorHalvesPerInterval_data();
    void factorHalvesPerInterval();
    void correctedScalesTheReading();
    void noCorrectionWithoutItsTerms_data();
    void noCorrectionWithoutItsTerms();
    void baseDependsOnTheEquipment_data();
    void baseDependsOnTheEquipment();
    void detailsAreEmptyUntilSomethingIsGiven_data();
    void detailsAreEmptyUntilSomethingIsGiven();
};

void TestTemperatureCorrection::factorHalvesPerInterval_data()
{
    QTest::addColumn<double>("celsius");
    QTest::addColumn<double>("baseCelsius");
    QTest::addColumn<double>("halving");
    QTest::addColumn<double>("factor");

    QTest::newRow("20 °C to 40 °C: two halvings") << 20.0 << 40.0 << 10.0 << 0.25;
    QTest::newRow("40 °C to 40 °C: unchanged") << 40.0 << 40.0 << 10.0 << 1.0;
    QTest::newRow("50 °C to 40 °C: doubled") << 50.0 << 40.0 << 10.0 << 2.0;
    QTest::newRow("35 °C to 40 °C: half an interval") << 35.0 << 40.0 << 10.0 << std::sqrt(0.5);
    QTest::newRow("30 °C to 20 °C: doubled") << 30.0 << 20.0 << 10.0 << 2.0;
    QTest::newRow("halving 15: 25 °C to 40 °C") << 25.0 << 40.0 << 15.0 << 0.5;
    QTest::newRow("halving 15: 10 °C to 40 °C") << 10.0 << 40.0 << 15.0 << 0.25;
    QTest::newRow("below freezing: -10 °C to 20 °C") << -10.0 << 20.0 << 10.0 << 0.125;
}

void TestTemperatureCorrection::factorHalvesPerInterval()
{
    QFETCH(double, celsius);
    QFETCH(double, baseCelsius);
    QFETCH(double, halving);
    QFETCH(double, factor);

    QCOMPARE(TemperatureCorrection::factor(celsius, baseCelsius, halving), factor);
}

void TestTemperatureCorrection::correctedScalesTheReading()
{
    QCOMPARE(TemperatureCorrection::corrected(312.0, 20.0, 40.0), 78.0);
    QCOMPARE(TemperatureCorrection::corrected(312.0, 50.0, 40.0), 624.0);
    QCOMPARE(TemperatureCorrection::corrected(400.0, 25.0, 40.0, 15.0), 200.0);
}

void TestTemperatureCorrection::noCorrectionWithoutItsTerms_data()
{
    QTest::addColumn<double>("megohms");
    QTest::addColumn<double>("celsius");
    QTest::addColumn<double>("halving");

    using CurvePoints::none;
    QTest::newRow("no resistance") << none << 20.0 << 10.0;
    QTest::newRow("no temperature") << 312.0 << none << 10.0;
    QTest::newRow("halving 0") << 312.0 << 20.0 << 0.0;
    QTest::newRow("negative halving") << 312.0 << 20.0 << -10.0;
    QTest::newRow("no halving") << 312.0 << 20.0 << none;
}

void TestTemperatureCorrection::noCorrectionWithoutItsTerms()
{
    QFETCH(double, megohms);
    QFETCH(double, celsius);
    QFETCH(double, halving);

    QVERIFY(std::isnan(TemperatureCorrection::corrected(megohms, celsius, 40.0, halving)));
}

void TestTemperatureCorrection::baseDependsOnTheEquipment_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<double>("baseCelsius");
    QTest::addColumn<double>("effective");

    using CurvePoints::none;
    QTest::newRow("rotating machine: 40 °C") << int(TestDetails::EquipmentKind::RotatingMachine) << none << 40.0;
    QTest::newRow("transformer: 20 °C") << int(TestDetails::EquipmentKind::Transformer) << none << 20.0;
    QTest::newRow("cable: 20 °C") << int(TestDetails::EquipmentKind::Cable) << none << 20.0;
    QTest::newRow("other: 20 °C") << int(TestDetails::EquipmentKind::Other) << none << 20.0;
    QTest::newRow("rotating machine, base given") << int(TestDetails::EquipmentKind::RotatingMachine) << 25.0 << 25.0;
    QTest::newRow("cable, base given") << int(TestDetails::EquipmentKind::Cable) << 40.0 << 40.0;
}

void TestTemperatureCorrection::baseDependsOnTheEquipment()
{
    QFETCH(int, kind);
    QFETCH(double, baseCelsius);
    QFETCH(double, effective);

    TestDetails details;
    details.kind = TestDetails::EquipmentKind(kind);
    details.baseCelsius = baseCelsius;
    QCOMPARE(details.effectiveBaseCelsius(), effective);
}

void TestTemperatureCorrection::detailsAreEmptyUntilSomethingIsGiven_data()
{
    QTest::addColumn<DetailsEdit>("edit");
    QTest::addColumn<bool>("empty");

    QTest::newRow("fresh") << DetailsEdit([](TestDetails &) {}) << true;
    QTest::newRow("equipment") << DetailsEdit([](TestDetails &d) { d.equipment = "M3"; }) << false;
    QTest::newRow("kind") << DetailsEdit([](TestDetails &d) { d.kind = TestDetails::EquipmentKind::Cable; }) << false;
    QTest::newRow("rated voltage") << DetailsEdit([](TestDetails &d) { d.ratedKilovolts = 0.4; }) << false;
    QTest::newRow("class") << DetailsEdit([](TestDetails &d) { d.insulationClass = TestDetails::InsulationClass::F; })
                           << false;
    QTest::newRow("winding")
        << DetailsEdit([](TestDetails &d) { d.winding = TestDetails::WindingType::OlderOrField; }) << false;
    QTest::newRow("temperature") << DetailsEdit([](TestDetails &d) { d.insulationCelsius = 25; }) << false;
    QTest::newRow("ambient") << DetailsEdit([](TestDetails &d) { d.ambientCelsius = 22; }) << false;
    QTest::newRow("humidity") << DetailsEdit([](TestDetails &d) { d.humidityPercent = 60; }) << false;
    QTest::newRow("operator") << DetailsEdit([](TestDetails &d) { d.operatorName = "Ana"; }) << false;
    QTest::newRow("notes") << DetailsEdit([](TestDetails &d) { d.notes = "damp"; }) << false;
    QTest::newRow("base") << DetailsEdit([](TestDetails &d) { d.baseCelsius = 20; }) << false;
    QTest::newRow("halving") << DetailsEdit([](TestDetails &d) { d.halvingCelsius = 15; }) << false;
}

void TestTemperatureCorrection::detailsAreEmptyUntilSomethingIsGiven()
{
    QFETCH(DetailsEdit, edit);
    QFETCH(bool, empty);

    TestDetails details;
    edit(details);
    QCOMPARE(details.isEmpty(), empty);
}

QTEST_MAIN(TestTemperatureCorrection)
#include "tst_temperaturecorrection.moc"
