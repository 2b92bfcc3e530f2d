// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QVector>

// Fits the law insulation charges by under a steady voltage to a stretch of
// its curve, by nonlinear least squares (GSL's trust-region
// Levenberg–Marquardt). The current is a conduction current plus an
// absorption current that decays as a power of time, t^-n; relative to a
// reference time and resistance, in logarithms,
//   y(x) = mu - ln(1 - a + a·e^(-n·x)),   x = ln(t / t_ref), y = ln(R / R_ref)
// where a is the absorption current's share of the current at t_ref. The
// solver works on logit(a) and ln(n), so that a stays between 0 (all
// conduction: a flat curve) and 1 (all absorption: R rising as t^n) and n
// stays positive.
class ChargingFit
{
public:
    struct Point
    {
        double x = 0.0;
        double y = 0.0;
    };

    struct Law
    {
        double mu = 0.0;
        double absorption = 0.5; // a
        double exponent = 0.5;   // n

        // y at x.
        double at(double x) const;
        // dy/dx at the reference time: how fast the curve still rises there,
        // as a power of time.
        double slope() const { return absorption * exponent; }
    };

    // Fits from `start` (the law of a previous fit of the same curve, or a
    // guess); false when the solver found no law. Three points at least.
    [[nodiscard]] bool fit(const QVector<Point> &points, const Law &start);

    const Law &law() const { return m_law; }
    // Root mean square of the residuals, in y.
    double rms() const { return m_rms; }
    int iterations() const { return m_iterations; }

private:
    Law m_law;
    double m_rms = 0.0;
    int m_iterations = 0;
};
