// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "insulation/judgedreading.h"

#include "insulation/reasontext.h"

#include <cmath>

namespace {
constexpr int oneMinute = 60;

bool given(double megohms, bool overRange)
{
    return overRange || std::isfinite(megohms);
}
} // namespace

JudgedReading::JudgedReading(const InsulationTest &test, const CurveAnalysis::Values &values, QStringList &reasons)
{
    const auto take = [this](double megohms, bool overRange) {
        m_megohms = megohms;
        m_overRange = overRange;
        m_when = When::OneMinute;
        m_label = tr("IR1min");
    };
    const CurvePoint atOneMinute = CurveAnalysis::pointAt(test.curve, oneMinute);
    if (std::isfinite(values.r60)) {
        take(values.r60, false);
    } else if (atOneMinute.overRange) {
        take(atOneMinute.megohms, true);
    } else if (test.setSeconds == oneMinute && given(test.firstMegohms, test.firstOverRange)) {
        // A PI or DAR test without a curve (a record of the meter's memory)
        // keeps one resistance at each set time: IR1min where one is 1 min.
        take(test.firstMegohms, test.firstOverRange);
    } else if (test.setSeconds2 == oneMinute && given(test.secondMegohms, test.secondOverRange)) {
        take(test.secondMegohms, test.secondOverRange);
    } else {
        if (given(test.firstMegohms, test.firstOverRange))
            reasons << tr("no IR1min: the meter's set times are %1 and %2")
                           .arg(clockText(test.setSeconds), clockText(test.setSeconds2));
        takeFinal(test, reasons);
    }
}

void JudgedReading::takeFinal(const InsulationTest &test, QStringList &reasons)
{
    m_megohms = test.finalMegohms;
    m_overRange = test.finalOverRange;
    if (!exists())
        return;
    // A live test's curve tells the time where the record does not.
    const int seconds = test.finalSeconds > 0 ? test.finalSeconds
        : test.curve.isEmpty()                ? -1
                                              : int(std::lround(test.curve.constLast().seconds));
    if (seconds == oneMinute) {
        m_when = When::OneMinute;
        m_label = tr("IR1min");
        return;
    }
    if (test.curve.isEmpty())
        reasons << tr("no curve (a record of the meter's memory): the final reading is judged");
    else if (test.curve.constLast().seconds < oneMinute)
        reasons << tr("the curve does not reach 1 min: the final reading is judged");
    else
        reasons << tr("no resistance at 1 min in the curve: the final reading is judged");
    if (seconds > 0) {
        m_when = seconds < oneMinute ? When::Earlier : When::Later;
        m_label = tr("the final reading at %1").arg(clockText(seconds));
    } else {
        m_when = When::Unknown;
        m_label = tr("the final reading, time unknown");
    }
}

JudgedReading::AtBase JudgedReading::at(double baseCelsius, const CorrectionRule &rule, const TestDetails &details,
                                        QStringList &reasons) const
{
    AtBase value;
    value.megohms = m_megohms;
    value.overRange = m_overRange;
    value.label = m_label;
    value.oneMinute = m_when == When::OneMinute;
    value.where = tr("(not corrected)");
    const double celsius = details.insulationCelsius;
    if (std::isnan(celsius)) {
        reasons << tr("no temperature given: not corrected");
        return value;
    }
    const CorrectionRule::Factors factors = rule.factors(celsius, baseCelsius);
    if (!factors.exist()) {
        reasons << tr("%1: not corrected").arg(rule.whyNone(celsius, baseCelsius));
        return value;
    }
    value.corrected = true;
    value.baseCelsius = baseCelsius;
    value.megohms = m_megohms * factors.low;
    // A lower bound stays one at the smaller factor; it has no upper end.
    if (factors.isRange() && !m_overRange)
        value.upper = m_megohms * factors.high;
    value.where = tr("at %1").arg(ReasonText::celsius(baseCelsius));
    const QString factor = factors.isRange()
        ? tr("×%1 to ×%2").arg(ReasonText::measured(factors.low), ReasonText::measured(factors.high))
        : tr("×%1").arg(ReasonText::measured(factors.low));
    reasons << tr("corrected from %1 to %2: %3 (%4)")
                   .arg(ReasonText::celsius(celsius), ReasonText::celsius(baseCelsius), factor, rule.text());
    return value;
}

JudgedReading::AtBase JudgedReading::at(double baseCelsius, const CorrectionRule &rule,
                                        const TestDetails &details) const
{
    QStringList unused;
    return at(baseCelsius, rule, details, unused);
}

QString JudgedReading::AtBase::text() const
{
    const QString value = isRange()
        ? tr("%1 to %2").arg(ReasonText::measured(megohms), ReasonText::megohms(upper))
        : ReasonText::megohms(megohms, overRange);
    // "IR1min 312 MΩ", but "the final reading at 0:05, 312 MΩ": a time and a
    // value side by side would read as one number.
    if (oneMinute)
        return QStringLiteral("%1 %2 %3").arg(label, value, where);
    return tr("%1, %2 %3").arg(label, value, where);
}

QString JudgedReading::clockText(int seconds)
{
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}
