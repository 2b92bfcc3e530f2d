// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "support/curvecorpus.h"

#include <cmath>
#include <functional>
#include <random>

namespace {
constexpr int testSeconds = 600;
constexpr double pi = 3.14159265358979323846;

// Draws from the 64-bit Mersenne Twister, whose sequence the standard fixes;
// the distributions are made here, since the library's differ between
// implementations.
class Draw
{
public:
    explicit Draw(quint64 seed)
        : m_engine(seed)
    {
    }

    double uniform() { return double(m_engine() >> 11) * 0x1.0p-53; }
    double between(double low, double high) { return low + (high - low) * uniform(); }
    double logBetween(double low, double high) { return std::exp(between(std::log(low), std::log(high))); }
    bool chance(double probability) { return uniform() < probability; }
    double normal()
    {
        const double u = 1.0 - uniform();
        return std::sqrt(-2.0 * std::log(u)) * std::cos(2.0 * pi * uniform());
    }
    template <typename T>
    T oneOf(std::initializer_list<T> values)
    {
        return *(values.begin() + int(uniform() * values.size()));
    }

private:
    std::mt19937_64 m_engine;
};

// The insulation's current at t seconds, relative to its conduction current
// at the start.
using Current = std::function<double(double)>;

// An absorption current decaying as t^-n, `atMinute` times the conduction
// current at one minute.
Current powerLaw(double atMinute, double exponent)
{
    return [=](double seconds) { return atMinute * std::pow(seconds / 60.0, -exponent); };
}

struct Physics
{
    double conductionMegohms = 1000.0; // V / I_conduction at the start
    Current absorption;
    Current conduction; // relative, 1 at the start
    double chargeShare = 0.0;          // capacitive charge at 0 s, relative
    double chargeSeconds = 1.0;
    QString description;

    double megohms(double seconds) const
    {
        const double current = conduction(seconds) + absorption(seconds)
                               + chargeShare * std::exp(-seconds / chargeSeconds);
        return conductionMegohms / current;
    }
};

// Stretched-exponential (Kohlrausch) relaxation: the current the
// relaxation function 1 - e^(-(t/τ)^β) gives, a power t^(β-1) at first that
// bends away after τ; `atMinute` times the conduction current at one minute.
Current kohlrausch(double atMinute, double tau, double beta)
{
    return [=](double seconds) {
        return atMinute * std::pow(seconds / 60.0, beta - 1.0)
               * std::exp(std::pow(60.0 / tau, beta) - std::pow(seconds / tau, beta));
    };
}

// The absorption current: in half the curves one or two powers of time, in
// a quarter powers dying away exponentially late in the test, in a quarter
// a stretched-exponential relaxation.
Physics charging(Draw &draw)
{
    Physics physics;
    physics.conductionMegohms = draw.logBetween(10.0, 1.0e6);
    const double first = draw.logBetween(0.05, 6.0);
    const double firstExponent = draw.between(0.3, 1.2);
    const bool two = draw.chance(0.5);
    const double second = two ? draw.logBetween(0.05, 3.0) : 0.0;
    const double secondExponent = draw.between(0.05, 0.5);
    const double shape = draw.uniform();
    const double cutoff = shape >= 0.5 && shape < 0.75 ? draw.logBetween(300.0, 5000.0) : 0.0;
    const Current a = powerLaw(first, firstExponent);
    const Current b = powerLaw(second, secondExponent);
    physics.absorption = [=](double t) {
        return (a(t) + b(t)) * (cutoff > 0.0 ? std::exp(-(t - 60.0) / cutoff) : 1.0);
    };
    QString absorption = QStringLiteral("%1·t^-%2 + %3·t^-%4, cut-off %5 s")
                             .arg(first, 0, 'g', 3).arg(firstExponent, 0, 'g', 3)
                             .arg(second, 0, 'g', 3).arg(secondExponent, 0, 'g', 3)
                             .arg(cutoff, 0, 'g', 3);
    if (shape >= 0.75) {
        const double tau = draw.logBetween(30.0, 3000.0);
        const double beta = draw.between(0.15, 0.5);
        physics.absorption = kohlrausch(first, tau, beta);
        absorption = QStringLiteral("%1, Kohlrausch τ %2 s, β %3").arg(first, 0, 'g', 3).arg(tau, 0, 'g', 3)
                         .arg(beta, 0, 'g', 3);
    }
    const double drift = draw.between(-0.08, 0.08);
    physics.conduction = [=](double t) { return 1.0 + drift * t / testSeconds; };
    physics.chargeShare = draw.logBetween(5.0, 200.0);
    physics.chargeSeconds = draw.between(0.3, 1.2);
    physics.description = QStringLiteral("absorption %1, drift %2").arg(absorption).arg(drift, 0, 'g', 3);
    return physics;
}

// Hardly any absorption: the conduction current, drifting, is all there is.
Physics flat(Draw &draw)
{
    Physics physics = charging(draw);
    const double share = draw.between(0.0, 0.03);
    const Current a = powerLaw(share, draw.between(0.3, 1.0));
    physics.absorption = a;
    physics.description = QStringLiteral("flat, absorption %1").arg(share, 0, 'g', 3);
    return physics;
}

// Damp or dirty insulation: the conduction current grows under the voltage,
// steadily, slowing down or settling, or faster and faster as moisture
// tracks along a surface, or only after a while.
Physics falling(Draw &draw)
{
    Physics physics = charging(draw);
    physics.absorption = powerLaw(draw.logBetween(0.02, 0.5), draw.between(0.3, 1.0));
    const double growth = draw.between(0.15, 1.0);
    const int shape = draw.oneOf({0, 1, 2, 3, 4});
    const double settle = draw.between(100.0, 600.0);
    const double speeding = draw.between(1.2, 2.2);
    const double onset = draw.between(0.02, 0.1);
    physics.conduction = [=](double t) {
        const double u = t / testSeconds;
        double grown = u;
        if (shape == 1)
            grown = std::sqrt(u);
        else if (shape == 2)
            grown = (1.0 - std::exp(-t / settle)) / (1.0 - std::exp(-testSeconds / settle));
        else if (shape == 3)
            grown = std::pow(u, speeding);
        else if (shape == 4)
            grown = u > onset ? (u - onset) / (1.0 - onset) : 0.0;
        return 1.0 + growth * grown;
    };
    physics.description = QStringLiteral("falling, conduction +%1 (shape %2)").arg(growth, 0, 'g', 3).arg(shape);
    return physics;
}
} // namespace

double CurveCorpus::threeDigits(double megohms, bool cut)
{
    if (!(megohms > 0.0))
        return megohms;
    const double scale = std::pow(10.0, 2.0 - std::floor(std::log10(megohms)));
    // A hair above, so that a value the binary fraction holds just under its
    // decimal is not cut a digit too low.
    return (cut ? std::floor(megohms * scale * (1.0 + 1e-12)) : std::round(megohms * scale)) / scale;
}

QString CurveCorpus::kindName(Kind kind)
{
    switch (kind) {
    case Kind::Charging:
        return QStringLiteral("charging");
    case Kind::Flat:
        return QStringLiteral("flat");
    case Kind::Falling:
        return QStringLiteral("falling");
    case Kind::Erratic:
        return QStringLiteral("erratic");
    case Kind::BreaksDown:
        break;
    }
    return QStringLiteral("breaks down");
}

CurveCorpus::Curve CurveCorpus::make(Kind kind, quint64 seed)
{
    Draw draw(seed * 4 + quint64(kind));
    Curve curve;
    curve.kind = kind;
    curve.seed = seed;
    curve.volts = draw.oneOf({250, 500, 1000, 2500, 5000});
    const Physics physics = kind == Kind::Flat ? flat(draw) : kind == Kind::Falling ? falling(draw) : charging(draw);
    curve.trueR60 = physics.megohms(60.0);
    curve.trueR600 = physics.megohms(testSeconds);
    curve.description = QStringLiteral("%1 #%2, %3 V, %4 MΩ: %5")
                            .arg(kindName(kind)).arg(seed).arg(curve.volts)
                            .arg(physics.conductionMegohms, 0, 'g', 3).arg(physics.description);

    const bool noisy = kind == Kind::Erratic && draw.chance(0.5);
    const double noise = noisy ? draw.between(0.03, 0.08) : draw.between(0.0, 0.004);
    const bool cut = draw.chance(0.5);
    // Erratic insulation steps up and down now and then; a breakdown drops
    // the resistance to a small part of itself and leaves it unsteady.
    QVector<double> stepTimes;
    QVector<double> steps;
    if (kind == Kind::Erratic && noise < 0.03) {
        for (int i = draw.oneOf({3, 5, 8}); i > 0; --i) {
            stepTimes.append(draw.between(15.0, testSeconds));
            steps.append((draw.chance(0.5) ? 1.0 : -1.0) * draw.between(0.15, 0.5));
        }
    }
    if (kind == Kind::BreaksDown)
        curve.breakdownSeconds = std::round(draw.between(40.0, 400.0));
    const double remains = draw.between(0.01, 0.3);

    const double limit = rangeLimit(curve.volts);
    for (int seconds = 1; seconds <= testSeconds; ++seconds) {
        double megohms = physics.megohms(seconds) * (1.0 + noise * draw.normal());
        for (int i = 0; i < stepTimes.size(); ++i) {
            if (seconds >= stepTimes.at(i))
                megohms *= std::exp(steps.at(i));
        }
        if (seconds >= curve.breakdownSeconds)
            megohms *= remains * (1.0 + 0.1 * draw.normal());
        CurvePoint point;
        point.seconds = seconds;
        point.outputVolts = curve.volts;
        point.overRange = megohms > limit;
        point.megohms = point.overRange ? limit : threeDigits(std::max(megohms, 0.01), cut);
        curve.points.append(point);
    }
    return curve;
}
