// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "insulation/correctionrule.h"

#include "insulation/reasontext.h"
#include "insulation/rulesource.h"
#include "insulation/temperaturecorrection.h"

#include <algorithm>
#include <cmath>

namespace {
using Medium = TestDetails::InsulationMedium;

bool inNetaTable(double celsius)
{
    const auto &table = TemperatureCorrection::netaTable();
    return celsius >= table.front().celsius && celsius <= table.back().celsius;
}
} // namespace

bool CorrectionRule::Factors::exist() const
{
    return std::isfinite(low) && std::isfinite(high);
}

CorrectionRule::CorrectionRule(const TestDetails &details)
    : m_halvingCelsius(details.halvingCelsius)
    , m_medium(details.medium)
{
    if (details.correction == TestDetails::Correction::Halving)
        m_method = Method::OwnHalving;
    else if (details.kind == TestDetails::EquipmentKind::RotatingMachine)
        m_method = Method::IeeeHalving;
    else
        m_method = Method::NetaTable;
}

CorrectionRule::Factors CorrectionRule::factors(double celsius, double baseCelsius) const
{
    Factors factors;
    switch (m_method) {
    case Method::IeeeHalving:
        factors.low = factors.high = TemperatureCorrection::factor(celsius, baseCelsius);
        break;
    case Method::OwnHalving:
        factors.low = factors.high = TemperatureCorrection::factor(celsius, baseCelsius, m_halvingCelsius);
        break;
    case Method::NetaTable:
        if (m_medium != Medium::Unknown) {
            factors.low = factors.high = TemperatureCorrection::netaFactor(celsius, baseCelsius, m_medium);
        } else {
            // Oil-immersed or solid: below 20 °C the oil column's factor is
            // the smaller, above it the solid column's.
            const double oil = TemperatureCorrection::netaFactor(celsius, baseCelsius, Medium::OilImmersed);
            const double solid = TemperatureCorrection::netaFactor(celsius, baseCelsius, Medium::Solid);
            if (std::isfinite(oil) && std::isfinite(solid)) {
                factors.low = std::min(oil, solid);
                factors.high = std::max(oil, solid);
            }
        }
        break;
    }
    return factors;
}

QString CorrectionRule::whyNone(double celsius, double baseCelsius) const
{
    if (std::isnan(celsius))
        return tr("no temperature given");
    if (m_method == Method::OwnHalving && !(m_halvingCelsius > 0.0))
        return tr("no usable halving interval");
    if (m_method == Method::NetaTable) {
        const auto &table = TemperatureCorrection::netaTable();
        for (const double outside : {celsius, baseCelsius}) {
            if (!inNetaTable(outside))
                return tr("%1 is outside Table 100.14 (%2 to %3)")
                    .arg(ReasonText::celsius(outside), ReasonText::celsius(table.front().celsius),
                         ReasonText::celsius(table.back().celsius));
        }
    }
    return QString();
}

QString CorrectionRule::text() const
{
    switch (m_method) {
    case Method::IeeeHalving:
        return tr("halving every %1, an approximation")
            .arg(ReasonText::celsius(TemperatureCorrection::defaultHalvingCelsius));
    case Method::OwnHalving:
        return tr("halving every %1, as chosen").arg(ReasonText::celsius(m_halvingCelsius));
    case Method::NetaTable:
        break;
    }
    switch (m_medium) {
    case Medium::Solid:
        return tr("Table 100.14, solid insulation");
    case Medium::OilImmersed:
        return tr("Table 100.14, oil-immersed insulation");
    case Medium::Unknown:
        break;
    }
    return tr("Table 100.14, insulation medium not given: solid or oil-immersed");
}

QString CorrectionRule::citation() const
{
    switch (m_method) {
    case Method::IeeeHalving:
        return RuleSource::ieeeCorrection();
    case Method::NetaTable:
        return RuleSource::netaCorrection();
    case Method::OwnHalving:
        break;
    }
    return QString();
}
