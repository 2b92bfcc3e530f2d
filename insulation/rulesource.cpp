// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "insulation/rulesource.h"

#include <utility>

// IEEE Std 43-2013, "Recommended Practice for Testing Insulation Resistance
// of Electric Machinery" (revision of IEEE Std 43-2000). The clause numbers
// 5.4 and 12.3 are the ones EASA names in its account of the 2013 changes
// (T. Bishop, "What's new in the IEEE 43 insulation resistance testing
// standard?", 2016); no other number is cited from it.
QString RuleSource::ieeeMinimumIr()
{
    return QStringLiteral("IEEE 43-2013, 12.3");
}

QString RuleSource::ieeeMinimumPi()
{
    return tr("IEEE 43-2013, minimum PI by thermal class");
}

QString RuleSource::ieeePiExemption()
{
    return tr("IEEE 43-2013, PI not used above 5 000 MΩ");
}

QString RuleSource::ieeePiReadings()
{
    return QStringLiteral("IEEE 43-2013, 5.4");
}

QString RuleSource::ieeeTestVoltage()
{
    return tr("IEEE 43-2013, DC test voltages");
}

QString RuleSource::ieeeCorrection()
{
    return tr("IEEE 43, halving every 10 °C (an approximation)");
}

// ANSI/NETA MTS-2019, read from the standard's own tables; ATS-2025 is
// reported with the same rows.
QString RuleSource::netaTable()
{
    return QStringLiteral("ANSI/NETA MTS-2019, Table 100.1");
}

QString RuleSource::netaCorrection()
{
    return QStringLiteral("ANSI/NETA MTS-2019, Table 100.14");
}

QString RuleSource::maker()
{
    return tr("manufacturer's minimum");
}

QString RuleSource::meterLimit()
{
    return tr("the meter's limit (COMP)");
}

QString RuleSource::subject(const QString &citation)
{
    const std::pair<QString, QString> subjects[] = {
        {ieeeMinimumIr(), tr("rotating machines: recommended minimum IR1min at 40 °C by winding")},
        {ieeeMinimumPi(), tr("rotating machines: recommended minimum polarization index (R10min/R1min)")},
        {ieeePiExemption(), tr("rotating machines: PI not assessed where IR1min at 40 °C exceeds 5 000 MΩ")},
        {ieeePiReadings(), tr("rotating machines: the PI may not apply to random-wound windings; shown, not judged")},
        {ieeeTestVoltage(), tr("rotating machines: DC test voltage by rated winding voltage")},
        {ieeeCorrection(), tr("rotating machines: correction to 40 °C, approximate")},
        {netaTable(), tr("other equipment: minimum insulation resistance at 20 °C and minimum DC test voltage")},
        {netaCorrection(), tr("other equipment: correction factors to 20 °C, oil-immersed and solid insulation")},
        {maker(), tr("the item's own limits, from its manufacturer, before the standards' tables")},
        {meterLimit(), tr("the pass or fail of the meter against the limit set on it")},
    };
    for (const auto &[cited, subject] : subjects) {
        if (cited == citation)
            return subject;
    }
    return QString();
}
