// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "insulation/declinefit.h"

#include <gsl/gsl_errno.h>
#include <gsl/gsl_fit.h>

#include <cmath>
#include <limits>
#include <vector>

bool DeclineFit::fit(const QVector<ChargingFit::Point> &points)
{
    const size_t count = size_t(points.size());
    if (count < 3)
        return false;
    std::vector<double> x(count);
    std::vector<double> y(count);
    std::vector<double> time(count);
    std::vector<double> conductance(count);
    std::vector<double> weight(count);
    for (size_t i = 0; i < count; ++i) {
        x[i] = points.at(int(i)).x;
        y[i] = points.at(int(i)).y;
        time[i] = std::exp(x[i]);
        conductance[i] = std::exp(-y[i]);
        // Each reading is known to a share of itself, so the conductance
        // is weighed by the inverse of its square.
        weight[i] = 1.0 / (conductance[i] * conductance[i]);
    }
    double cov00 = 0.0;
    double cov01 = 0.0;
    double cov11 = 0.0;
    double squares = 0.0;
    if (gsl_fit_linear(x.data(), 1, y.data(), 1, count, &m_intercept, &m_slope, &cov00, &cov01, &cov11, &squares)
        != GSL_SUCCESS)
        return false;
    m_rms = std::sqrt(squares / double(count));
    double weightedSquares = 0.0;
    if (gsl_fit_wlinear(time.data(), 1, weight.data(), 1, conductance.data(), 1, count, &m_conductance, &m_growth,
                        &cov00, &cov01, &cov11, &weightedSquares)
        != GSL_SUCCESS)
        return false;
    return std::isfinite(m_slope) && std::isfinite(m_growth);
}

double DeclineFit::powerAt(double x) const
{
    return m_intercept + m_slope * x;
}

double DeclineFit::conductanceAt(double x) const
{
    const double conductance = m_conductance + m_growth * std::exp(x);
    return conductance > 0.0 ? -std::log(conductance) : std::numeric_limits<double>::quiet_NaN();
}
