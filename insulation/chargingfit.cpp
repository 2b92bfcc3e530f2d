// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "insulation/chargingfit.h"

#include <gsl/gsl_blas.h>
#include <gsl/gsl_errno.h>
#include <gsl/gsl_multifit_nlinear.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {
// Bounds of ln(n) as the solver sees it: exponents from 0.0025 to 20 cover
// every law a curve can show over one test, and keep e^(-n·x) finite.
constexpr double lowestLogExponent = -6.0;
constexpr double highestLogExponent = 3.0;
// Enough for a cold start; a warm start needs a few.
constexpr size_t maxIterations = 60;
constexpr double stepTolerance = 1e-7;
constexpr double gradientTolerance = 1e-9;

enum Parameter { Mu, LogitAbsorption, LogExponent, parameterCount };

struct Evaluated
{
    double y = 0.0;
    double derivative[parameterCount] = {};
};

double logistic(double value)
{
    return 1.0 / (1.0 + std::exp(-value));
}

double logit(double share)
{
    return std::log(share / (1.0 - share));
}

Evaluated evaluate(const double *parameters, double x)
{
    const double a = logistic(parameters[LogitAbsorption]);
    const double logExponent = std::clamp(parameters[LogExponent], lowestLogExponent, highestLogExponent);
    const bool clamped = logExponent != parameters[LogExponent];
    const double n = std::exp(logExponent);
    const double decayed = std::exp(-n * x);
    const double h = 1.0 - a + a * decayed;
    Evaluated result;
    result.y = parameters[Mu] - std::log(h);
    result.derivative[Mu] = 1.0;
    result.derivative[LogitAbsorption] = -(decayed - 1.0) * a * (1.0 - a) / h;
    result.derivative[LogExponent] = clamped ? 0.0 : a * x * decayed * n / h;
    return result;
}

using Points = QVector<ChargingFit::Point>;

int residuals(const gsl_vector *parameters, void *data, gsl_vector *out)
{
    const Points &points = *static_cast<const Points *>(data);
    for (int i = 0; i < points.size(); ++i)
        gsl_vector_set(out, size_t(i), evaluate(parameters->data, points.at(i).x).y - points.at(i).y);
    return GSL_SUCCESS;
}

int jacobian(const gsl_vector *parameters, void *data, gsl_matrix *out)
{
    const Points &points = *static_cast<const Points *>(data);
    for (int i = 0; i < points.size(); ++i) {
        const Evaluated evaluated = evaluate(parameters->data, points.at(i).x);
        for (int j = 0; j < parameterCount; ++j)
            gsl_matrix_set(out, size_t(i), size_t(j), evaluated.derivative[j]);
    }
    return GSL_SUCCESS;
}

struct WorkspaceFree
{
    void operator()(gsl_multifit_nlinear_workspace *workspace) const { gsl_multifit_nlinear_free(workspace); }
};

// GSL's default error handler aborts the program; its functions return
// their status instead once it is off, which every caller here checks.
void quietenGsl()
{
    static const bool quiet = [] {
        gsl_set_error_handler_off();
        return true;
    }();
    Q_UNUSED(quiet)
}
} // namespace

double ChargingFit::Law::at(double x) const
{
    return mu - std::log(1.0 - absorption + absorption * std::exp(-exponent * x));
}

bool ChargingFit::fit(const QVector<Point> &points, const Law &start)
{
    if (points.size() < parameterCount)
        return false;
    quietenGsl();
    const double share = std::clamp(start.absorption, 0.02, 0.98);
    double initial[parameterCount] = {start.mu, logit(share),
                                      std::clamp(std::log(start.exponent), lowestLogExponent, highestLogExponent)};

    gsl_multifit_nlinear_fdf model{};
    model.f = residuals;
    model.df = jacobian;
    model.n = size_t(points.size());
    model.p = parameterCount;
    // Read only: the callbacks take it as const again.
    model.params = const_cast<Points *>(&points);
    gsl_multifit_nlinear_parameters settings = gsl_multifit_nlinear_default_parameters();
    settings.solver = gsl_multifit_nlinear_solver_qr;
    const std::unique_ptr<gsl_multifit_nlinear_workspace, WorkspaceFree> workspace(
        gsl_multifit_nlinear_alloc(gsl_multifit_nlinear_trust, &settings, model.n, model.p));
    if (!workspace)
        return false;
    gsl_vector_view x0 = gsl_vector_view_array(initial, parameterCount);
    if (gsl_multifit_nlinear_init(&x0.vector, &model, workspace.get()) != GSL_SUCCESS)
        return false;
    int info = 0;
    const int status = gsl_multifit_nlinear_driver(maxIterations, stepTolerance, gradientTolerance, 0.0, nullptr,
                                                   nullptr, &info, workspace.get());
    // Out of iterations the solver still holds its best law so far, which the
    // caller judges by its residuals.
    if (status != GSL_SUCCESS && status != GSL_EMAXITER)
        return false;

    const gsl_vector *found = gsl_multifit_nlinear_position(workspace.get());
    Law law;
    law.mu = gsl_vector_get(found, Mu);
    law.absorption = logistic(gsl_vector_get(found, LogitAbsorption));
    law.exponent = std::exp(std::clamp(gsl_vector_get(found, LogExponent), lowestLogExponent, highestLogExponent));
    double squares = 0.0;
    gsl_blas_ddot(gsl_multifit_nlinear_residual(workspace.get()), gsl_multifit_nlinear_residual(workspace.get()),
                  &squares);
    if (!std::isfinite(law.mu) || !std::isfinite(squares))
        return false;
    m_law = law;
    m_rms = std::sqrt(squares / points.size());
    m_iterations = int(gsl_multifit_nlinear_niter(workspace.get()));
    return true;
}
