// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "insulation/chargingfit.h"

#include <QVector>

// Carries a falling curve on two ways that bracket what failing insulation
// does (GSL's linear least squares for both): as a power of time, a decline
// that slows down, and as a conduction current that grows steadily with
// time, one that does not. Points as ChargingFit takes them, x = ln(t/t_ref)
// and y = ln(R/R_ref).
class DeclineFit
{
public:
    // False with fewer than three points or when either line has no fit.
    [[nodiscard]] bool fit(const QVector<ChargingFit::Point> &points);

    // y at x by each way; the second is NaN where its conductance no longer
    // stays positive (a curve that does not fall).
    double powerAt(double x) const;
    double conductanceAt(double x) const;
    // The power law's slope, dy/dx.
    double slope() const { return m_slope; }
    // Root mean square of the power law's residuals, in y.
    double rms() const { return m_rms; }

private:
    double m_intercept = 0.0;
    double m_slope = 0.0;
    double m_conductance = 0.0; // at t_ref, relative
    double m_growth = 0.0;      // per t_ref of time
    double m_rms = 0.0;
};
