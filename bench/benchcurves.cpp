// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "bench/benchcurves.h"

#include <array>
#include <cmath>
#include <random>

namespace {
constexpr double testSeconds = 600.0;
constexpr int relaxations = 40;

class Random
{
public:
    explicit Random(quint64 seed)
        : m_engine(seed * 7919 + 17)
    {
    }

    double uniform() { return double(m_engine() >> 11) * 0x1.0p-53; }
    double in(double low, double high) { return low + (high - low) * uniform(); }
    double logIn(double low, double high) { return std::exp(in(std::log(low), std::log(high))); }
    // Sum of twelve uniforms: close enough to a normal for noise, and the
    // same everywhere.
    double gauss()
    {
        double sum = -6.0;
        for (int i = 0; i < 12; ++i)
            sum += uniform();
        return sum;
    }

private:
    std::mt19937_64 m_engine;
};

// Insulation as a sum of relaxations: I_abs(t) = Σ A_j·e^(-t/τ_j), the τ_j
// evenly spread in log time up to the largest, A_j ∝ τ_j^-β.
struct Insulation
{
    std::array<double, relaxations> amplitude{};
    std::array<double, relaxations> timeConstant{};
    double driftTo = 0.0;      // the conduction current's change at the end of its settling
    double driftSeconds = 1.0; // how fast it settles
    double growth = 0.0;       // falling insulation: conduction grows as (t/600)^power
    double growthPower = 1.0;
    double charge = 0.0;       // capacitive charge current at 0 s, relative

    double current(double t) const
    {
        double total = 1.0 + driftTo * (1.0 - std::exp(-t / driftSeconds))
                       + growth * std::pow(t / testSeconds, growthPower) + charge * std::exp(-t / 0.8);
        for (int j = 0; j < relaxations; ++j)
            total += amplitude[size_t(j)] * std::exp(-t / timeConstant[size_t(j)]);
        return total;
    }
};

Insulation relaxing(Random &random, double absorptionAtMinute)
{
    Insulation insulation;
    const double beta = random.in(0.2, 0.9);
    const double longest = random.logIn(200.0, 20000.0);
    const double shortest = 0.5;
    double atMinute = 0.0;
    for (int j = 0; j < relaxations; ++j) {
        const double tau = shortest * std::pow(longest / shortest, double(j) / (relaxations - 1));
        insulation.timeConstant[size_t(j)] = tau;
        insulation.amplitude[size_t(j)] = std::pow(tau, -beta);
        atMinute += insulation.amplitude[size_t(j)] * std::exp(-60.0 / tau);
    }
    for (double &amplitude : insulation.amplitude)
        amplitude *= absorptionAtMinute / atMinute;
    insulation.driftTo = random.in(-0.1, 0.1);
    insulation.driftSeconds = random.logIn(100.0, 1000.0);
    insulation.charge = random.logIn(10.0, 100.0);
    return insulation;
}

double threeDigits(double megohms, bool cut)
{
    const double scale = std::pow(10.0, 2.0 - std::floor(std::log10(megohms)));
    return (cut ? std::floor(megohms * scale * (1.0 + 1e-12)) : std::round(megohms * scale)) / scale;
}
} // namespace

BenchCurves::Curve BenchCurves::make(Kind kind, quint64 seed)
{
    Random random(seed * 5 + quint64(kind));
    Curve curve;
    curve.kind = kind;
    const int volts = std::array<int, 4>{500, 1000, 2500, 5000}[size_t(random.uniform() * 4)];
    const double limit = volts * 4.0e3;
    const double conductionMegohms = random.logIn(20.0, 5.0e5);
    const double absorption = kind == Kind::Flat      ? random.in(0.0, 0.04)
                              : kind == Kind::Falling ? random.logIn(0.02, 0.4)
                                                      : random.logIn(0.1, 8.0);
    Insulation insulation = relaxing(random, absorption);
    if (kind == Kind::Falling) {
        insulation.growth = random.in(0.2, 1.0);
        insulation.growthPower = random.in(0.5, 1.5);
    }
    if (kind == Kind::BreaksDown)
        curve.breakdownSeconds = std::round(random.in(30.0, 290.0));
    const double breakdownLeaves = random.in(0.02, 0.3);
    // Erratic insulation switches between two levels at random.
    const double level = random.in(0.2, 0.4);
    const double switchesPerSecond = random.in(0.01, 0.05);
    bool switched = false;

    const double noise = random.in(0.0, 0.004);
    const bool cut = random.uniform() < 0.5;
    double correlated = 0.0;
    double t = random.in(0.5, 1.0);
    // Past ten minutes by a few readings, so that one is there on each side.
    while (t < testSeconds + 3.0) {
        correlated = 0.8 * correlated + 0.6 * random.gauss();
        double megohms = conductionMegohms / insulation.current(t) * (1.0 + noise * correlated);
        if (kind == Kind::Erratic) {
            if (t > 10.0 && random.uniform() < switchesPerSecond)
                switched = !switched;
            megohms *= switched ? 1.0 - level : 1.0;
        }
        if (t >= curve.breakdownSeconds)
            megohms *= breakdownLeaves * (1.0 + 0.1 * random.gauss());
        CurvePoint point;
        point.seconds = std::floor(t);
        point.outputVolts = volts;
        point.overRange = megohms > limit;
        point.megohms = point.overRange ? limit : threeDigits(std::max(megohms, 0.01), cut);
        curve.points.append(point);
        t += random.in(0.7, 1.3);
    }
    return curve;
}
