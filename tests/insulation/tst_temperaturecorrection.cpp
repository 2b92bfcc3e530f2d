// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "insulation/correctionrule.h"
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
    void netaTableByColumn_data();
    void netaTableByColumn();
    void ruleFollowsTheStandardOfTheEquipment_data();
    void ruleFollowsTheStandardOfTheEquipment();
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

using Medium = TestDetails::InsulationMedium;
Q_DECLARE_METATYPE(Medium)

// Table 100.14's rows as printed, the line between them, and from one
// temperature to another through 20 °C.
void TestTemperatureCorrection::netaTableByColumn_data()
{
    QTest::addColumn<double>("celsius");
    QTest::addColumn<double>("baseCelsius");
    QTest::addColumn<Medium>("medium");
    QTest::addColumn<double>("factor"); // NaN: none

    using CurvePoints::none;
    QTest::newRow("solid, 40 °C: 2.50, not 4 as halving") << 40.0 << 20.0 << Medium::Solid << 2.50;
    QTest::newRow("oil, 40 °C: 3.95") << 40.0 << 20.0 << Medium::OilImmersed << 3.95;
    QTest::newRow("solid, 10 °C: 0.63") << 10.0 << 20.0 << Medium::Solid << 0.63;
    QTest::newRow("oil, 15 °C: the smaller reading, 0.74") << 15.0 << 20.0 << Medium::OilImmersed << 0.74;
    QTest::newRow("oil, 85 °C as transcribed") << 85.0 << 20.0 << Medium::OilImmersed << 89.789;
    QTest::newRow("20 °C: 1") << 20.0 << 20.0 << Medium::Solid << 1.0;
    QTest::newRow("solid, 32.5 °C: between 1.58 and 2.00") << 32.5 << 20.0 << Medium::Solid << 1.79;
    QTest::newRow("oil, 22 °C: between 1.00 and 1.40") << 22.0 << 20.0 << Medium::OilImmersed << 1.16;
    QTest::newRow("solid, -10 °C: the first row") << -10.0 << 20.0 << Medium::Solid << 0.25;
    QTest::newRow("solid, 110 °C: the last row") << 110.0 << 20.0 << Medium::Solid << 63.2;
    QTest::newRow("solid, 40 °C to 30 °C: 2.50 / 1.58") << 40.0 << 30.0 << Medium::Solid << 2.50 / 1.58;
    QTest::newRow("below the table: none") << -11.0 << 20.0 << Medium::Solid << none;
    QTest::newRow("above the table: none") << 111.0 << 20.0 << Medium::Solid << none;
    QTest::newRow("medium not given: none") << 40.0 << 20.0 << Medium::Unknown << none;
    QTest::newRow("no temperature: none") << none << 20.0 << Medium::Solid << none;
}

void TestTemperatureCorrection::netaTableByColumn()
{
    QFETCH(double, celsius);
    QFETCH(double, baseCelsius);
    QFETCH(Medium, medium);
    QFETCH(double, factor);

    const double actual = TemperatureCorrection::netaFactor(celsius, baseCelsius, medium);
    if (std::isnan(factor))
        QVERIFY2(std::isnan(actual), qPrintable(QString::number(actual)));
    else
        QVERIFY2(std::abs(actual - factor) < 1e-9, qPrintable(QString::number(actual, 'g', 12)));
}

// Rotating machines: IEEE 43's halving, an approximation; other equipment:
// NETA's table in its medium's column, both columns where not given; the
// technician's halving where chosen.
void TestTemperatureCorrection::ruleFollowsTheStandardOfTheEquipment_data()
{
    QTest::addColumn<DetailsEdit>("edit");
    QTest::addColumn<double>("celsius");
    QTest::addColumn<double>("baseCelsius");
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("high");
    QTest::addColumn<QString>("text");

    const auto kind = [](TestDetails::EquipmentKind kind, Medium medium) {
        return DetailsEdit([=](TestDetails &d) {
            d.kind = kind;
            d.medium = medium;
        });
    };
    using Kind = TestDetails::EquipmentKind;
    QTest::newRow("motor: halving every 10 °C")
        << kind(Kind::RotatingMachine, Medium::Unknown) << 20.0 << 40.0 << 0.25 << 0.25
        << "halving every 10 °C, an approximation";
    QTest::newRow("motor: the halving interval is IEEE's, not the details' own")
        << DetailsEdit([](TestDetails &d) {
               d.kind = Kind::RotatingMachine;
               d.halvingCelsius = 15.0;
           })
        << 20.0 << 40.0 << 0.25 << 0.25 << "halving every 10 °C, an approximation";
    QTest::newRow("cable, solid: the table")
        << kind(Kind::Cable, Medium::Solid) << 40.0 << 20.0 << 2.5 << 2.5 << "Table 100.14, solid insulation";
    QTest::newRow("transformer in oil: the table")
        << kind(Kind::Transformer, Medium::OilImmersed) << 40.0 << 20.0 << 3.95 << 3.95
        << "Table 100.14, oil-immersed insulation";
    QTest::newRow("medium not given: both columns")
        << kind(Kind::Other, Medium::Unknown) << 40.0 << 20.0 << 2.5 << 3.95
        << "Table 100.14, insulation medium not given: solid or oil-immersed";
    QTest::newRow("medium not given, cold: both columns")
        << kind(Kind::Other, Medium::Unknown) << 10.0 << 20.0 << 0.5 << 0.63
        << "Table 100.14, insulation medium not given: solid or oil-immersed";
    QTest::newRow("the technician's halving, chosen")
        << DetailsEdit([](TestDetails &d) {
               d.kind = Kind::Cable;
               d.correction = TestDetails::Correction::Halving;
               d.halvingCelsius = 15.0;
           })
        << 35.0 << 20.0 << 2.0 << 2.0 << "halving every 15 °C, as chosen";
}

void TestTemperatureCorrection::ruleFollowsTheStandardOfTheEquipment()
{
    QFETCH(DetailsEdit, edit);
    QFETCH(double, celsius);
    QFETCH(double, baseCelsius);
    QFETCH(double, low);
    QFETCH(double, high);
    QFETCH(QString, text);

    TestDetails details;
    edit(details);
    const CorrectionRule rule(details);
    const CorrectionRule::Factors factors = rule.factors(celsius, baseCelsius);
    QVERIFY2(std::abs(factors.low - low) < 1e-9, qPrintable(QString::number(factors.low)));
    QVERIFY2(std::abs(factors.high - high) < 1e-9, qPrintable(QString::number(factors.high)));
    QCOMPARE(rule.text(), text);
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
