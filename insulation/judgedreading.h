// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "insulation/correctionrule.h"
#include "insulation/curveanalysis.h"
#include "insulation/insulationtest.h"
#include "insulation/testdetails.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <cmath>
#include <limits>

// The insulation resistance a criterion is compared with: IR1min where the
// test has one (its curve at 1 min, or the meter's value kept at a set time
// of 1 min), otherwise the final reading at the time it was taken; and that
// value brought to a criterion's base temperature.
class JudgedReading
{
    Q_DECLARE_TR_FUNCTIONS(JudgedReading)

public:
    // When the reading was taken, beside one minute: a reading taken
    // earlier reads lower than IR1min would, one taken later higher.
    enum class When { OneMinute, Earlier, Later, Unknown };

    // Finds the reading, adding to `reasons` why it is not IR1min where it is not.
    JudgedReading(const InsulationTest &test, const CurveAnalysis::Values &values, QStringList &reasons);

    bool exists() const { return m_overRange || std::isfinite(m_megohms); }
    double megohms() const { return m_megohms; }
    bool overRange() const { return m_overRange; }
    When when() const { return m_when; }
    // "IR1min", "the final reading at 0:05", "the final reading, time unknown".
    QString label() const { return m_label; }

    // The reading at `baseCelsius` by `rule` from the details' temperature;
    // `reasons` says how, or why it stays as measured (then `corrected` is
    // false). Where the rule gives a range of factors, so does the value.
    struct AtBase
    {
        double megohms = std::numeric_limits<double>::quiet_NaN(); // the value, or the lower end of its range
        double upper = std::numeric_limits<double>::quiet_NaN();   // the upper end of a range
        bool overRange = false;
        bool oneMinute = false;
        bool corrected = false;
        double baseCelsius = std::numeric_limits<double>::quiet_NaN();
        QString label;
        QString where; // "at 40 °C", "(not corrected)"

        bool isRange() const { return std::isfinite(upper); }
        // "IR1min 312 MΩ at 40 °C", "the final reading at 0:05, >4 000 MΩ at 20 °C".
        QString text() const;
    };
    AtBase at(double baseCelsius, const CorrectionRule &rule, const TestDetails &details, QStringList &reasons) const;
    // The same without reasons, for a second look at another base.
    AtBase at(double baseCelsius, const CorrectionRule &rule, const TestDetails &details) const;

    // "0:05", "10:00".
    static QString clockText(int seconds);

private:
    void takeFinal(const InsulationTest &test, QStringList &reasons);

    double m_megohms = std::numeric_limits<double>::quiet_NaN();
    bool m_overRange = false;
    When m_when = When::Unknown;
    QString m_label;
};
