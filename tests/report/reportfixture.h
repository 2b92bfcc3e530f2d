// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "insulation/curveanalysis.h"
#include "insulation/verdictrules.h"
#include "meter/dmmdata.h"
#include "report/reportcontent.h"

#include <QDateTime>

#include <cmath>

// Report contents built by hand: an item, tests with charging curves judged
// by the program's own rules, and the item's trend.
namespace ReportFixture {

inline qint64 at(int year, int month, int day, int hour = 10, int minute = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute)).toMSecsSinceEpoch();
}

inline EquipmentItem motor()
{
    EquipmentItem item;
    item.id = 7;
    item.tag = QStringLiteral("M-101");
    item.description = QStringLiteral("Cooling water pump motor");
    item.site = QStringLiteral("North plant");
    item.location = QStringLiteral("Pump house, bay 3");
    item.kind = TestDetails::EquipmentKind::RotatingMachine;
    item.ratedKilovolts = 6.6;
    item.insulationClass = TestDetails::InsulationClass::F;
    item.winding = TestDetails::WindingType::FormWoundAfter1970;
    return item;
}

inline TestDetails detailsFor(const EquipmentItem &item, double insulationCelsius = 32.0)
{
    TestDetails details;
    item.applyTo(details);
    details.insulationCelsius = insulationCelsius;
    details.ambientCelsius = 24.0;
    details.humidityPercent = 55.0;
    details.operatorName = QStringLiteral("A. Tester");
    return details;
}

// Insulation charging as it does: R(t) = R60 × (t / 60)^k, with k giving the PI.
inline InsulationTest piTest(qint64 startedMs, double r60, double pi, double lastSecond = 600.0)
{
    InsulationTest test;
    test.mode = DMMData::dmPI;
    test.status = InsulationTest::Status::Completed;
    test.startedMs = startedMs;
    test.endedMs = startedMs + qint64(lastSecond * 1000);
    // IEEE 43's test voltage for the motor's 6.6 kV: 2 500 to 5 000 V.
    test.setVolts = 5000;
    test.setSeconds = 60;
    test.setSeconds2 = 600;
    const double k = std::log10(pi);
    for (double seconds = 5.0; seconds <= lastSecond; seconds += 5.0) {
        CurvePoint point;
        point.seconds = seconds;
        point.megohms = r60 * std::pow(seconds / 60.0, k);
        point.outputVolts = test.setVolts;
        test.curve << point;
    }
    test.finalMegohms = test.curve.constLast().megohms;
    if (lastSecond >= 600.0)
        test.meterPi = pi;
    return test;
}

inline ReportContent::Test judged(const InsulationTest &test, const TestDetails &details)
{
    ReportContent::Test entry;
    entry.test = test;
    entry.details = details;
    entry.values = CurveAnalysis::analyse(test);
    entry.verdict = VerdictRules::judge(test, entry.values, details);
    return entry;
}

inline TrendAnalysis::Point pointOf(const ReportContent::Test &entry)
{
    return TrendAnalysis::pointOf(entry.test, entry.values, entry.verdict, entry.details);
}

inline ReportContent itemReport(const QList<ReportContent::Test> &tests)
{
    ReportContent content;
    content.scope = ReportContent::Scope::ItemTests;
    content.item = motor();
    content.tests = tests;
    for (const ReportContent::Test &test : tests)
        content.trend << pointOf(test);
    content.made = QDateTime(QDate(2026, 3, 20), QTime(16, 30));
    return content;
}

inline ReportContent oneTestReport(const ReportContent::Test &test)
{
    ReportContent content = itemReport({test});
    content.scope = ReportContent::Scope::OneTest;
    content.trend.clear();
    return content;
}

inline ReportOptions options()
{
    ReportOptions options;
    options.company = QStringLiteral("Volta Field Services Ltd");
    options.technician = QStringLiteral("J. Okafor");
    return options;
}

} // namespace ReportFixture
