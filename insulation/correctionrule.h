// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "insulation/testdetails.h"

#include <QCoreApplication>
#include <QString>

#include <limits>

// How a test's readings are brought to a base temperature, as its details
// choose: by default the way of the standard that judges the equipment
// (IEEE 43's approximation of halving every 10 °C for rotating machines,
// NETA's table in the column of the insulation's medium for other
// equipment), or the halving formula with the technician's own interval.
class CorrectionRule
{
    Q_DECLARE_TR_FUNCTIONS(CorrectionRule)

public:
    enum class Method { IeeeHalving, NetaTable, OwnHalving };

    // The factors from one temperature to another. Where the medium is not
    // known the table's two columns give two factors, and the true one lies
    // between them; otherwise the two are the same.
    struct Factors
    {
        double low = std::numeric_limits<double>::quiet_NaN();
        double high = std::numeric_limits<double>::quiet_NaN();

        bool exist() const;
        bool isRange() const { return exist() && low != high; }
    };

    explicit CorrectionRule(const TestDetails &details);

    Method method() const { return m_method; }
    Factors factors(double celsius, double baseCelsius) const;
    // Why there are no factors from `celsius`; empty where there are.
    QString whyNone(double celsius, double baseCelsius) const;
    // "halving every 10 °C, an approximation", "Table 100.14, solid insulation".
    QString text() const;
    // The rule's citation; empty for the technician's own interval.
    QString citation() const;

private:
    Method m_method = Method::IeeeHalving;
    double m_halvingCelsius = 10.0;
    TestDetails::InsulationMedium m_medium = TestDetails::InsulationMedium::Unknown;
};
