// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
//
// The PI predicted while a test runs, on a corpus of its own (BenchCurves,
// made otherwise than the curves the band was calibrated on): from 2, 3 and
// 5 minutes of readings, how close the predicted PI comes to the one
// measured at ten minutes, how often its band holds it, how wide the band
// is and how often no prediction was made; failing insulation alike; and
// the cost of one update on a 600-reading curve beside the window's own cost
// of a live reading.
#include "bench/appscoped.h"
#include "bench/benchcurves.h"
#include "bench/benchfigures.h"
#include "bench/benchreadings.h"
#include "bench/windowprobe.h"
#include "insulation/curveanalysis.h"
#include "insulation/pipredictor.h"

#include <QVector>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <map>
#include <string>

namespace {
constexpr int chargingCurves = 2000;
constexpr int failingCurves = 400;
// The curves of seeds below this were looked at while the predictor was
// built; the figures come from others.
constexpr quint64 firstSeed = 10001;
constexpr double within = 0.1;

using Kind = BenchCurves::Kind;
using Refusal = PiPrediction::Refusal;

struct Case
{
    BenchCurves::Curve curve;
    double pi = std::nan(""); // measured at ten minutes; NaN where the meter could not
};

const QVector<Case> &corpus(Kind kind)
{
    static std::map<Kind, QVector<Case>> made;
    QVector<Case> &cases = made[kind];
    if (cases.isEmpty()) {
        const int count = kind == Kind::Charging ? chargingCurves : failingCurves;
        for (int i = 0; i < count; ++i) {
            Case entry{BenchCurves::make(kind, firstSeed + quint64(i)), std::nan("")};
            const double r600 = CurveAnalysis::resistanceAt(entry.curve.points, 600.0);
            const double r60 = CurveAnalysis::resistanceAt(entry.curve.points, 60.0);
            if (r600 > 0.0 && r60 > 0.0)
                entry.pi = r600 / r60;
            cases.append(entry);
        }
    }
    return cases;
}

const char *refusalName(Refusal refusal)
{
    switch (refusal) {
    case Refusal::None:
        return "made";
    case Refusal::TooEarly:
        return "too_early";
    case Refusal::BreaksDown:
        return "breaks_down";
    case Refusal::OverRange:
        return "over_range";
    case Refusal::Jumps:
        return "jumps";
    case Refusal::Falls:
        return "falls";
    case Refusal::Irregular:
        return "irregular";
    case Refusal::TooUncertain:
        break;
    }
    return "too_uncertain";
}

struct Tally
{
    int curves = 0;
    int made = 0;
    int close = 0;
    int covered = 0;
    QVector<double> widths;
    std::map<std::string, int> refused;

    void add(const PiPrediction &prediction, double pi)
    {
        ++curves;
        if (!prediction.isMade()) {
            ++refused[refusalName(prediction.refusal)];
            return;
        }
        ++made;
        close += std::abs(prediction.pi / pi - 1.0) <= within;
        covered += prediction.piLow <= pi && pi <= prediction.piHigh;
        widths.append((prediction.piHigh - prediction.piLow) / prediction.pi);
    }
    double share(int count, int of) const { return of > 0 ? double(count) / of : 0.0; }
    double medianWidth() const
    {
        if (widths.isEmpty())
            return 0.0;
        QVector<double> sorted = widths;
        std::sort(sorted.begin(), sorted.end());
        return sorted.at(sorted.size() / 2);
    }
};

// Predicts every curve of a kind whose PI was measured, from `elapsed`.
Tally predictAll(Kind kind, double elapsed)
{
    Tally tally;
    for (const Case &entry : corpus(kind)) {
        if (!std::isfinite(entry.pi))
            continue;
        tally.add(PiPredictor().predict(entry.curve.points, elapsed), entry.pi);
    }
    return tally;
}

// Curves that follow the physics, predicted once each per iteration.
void PredictedPi(benchmark::State &state)
{
    const double elapsed = double(state.range(0));
    corpus(Kind::Charging);
    Tally tally;
    for (auto _ : state)
        tally = predictAll(Kind::Charging, elapsed);
    state.counters["curves"] = tally.curves;
    state.counters["made"] = tally.share(tally.made, tally.curves);
    state.counters["within10"] = tally.share(tally.close, tally.made);
    state.counters["within10_of_all"] = tally.share(tally.close, tally.curves);
    state.counters["covered"] = tally.share(tally.covered, tally.made);
    state.counters["median_width"] = tally.medianWidth();
    for (const auto &[reason, count] : tally.refused)
        state.counters["refused_" + reason] = tally.share(count, tally.curves);
}
BENCHMARK(PredictedPi)->Arg(120)->Arg(180)->Arg(300)->Iterations(1)->Unit(benchmark::kMillisecond);

// Failing insulation: the band on flat and falling curves, how often erratic
// ones are predicted, and that a curve broken down is not.
void FailingInsulation(benchmark::State &state)
{
    const double elapsed = double(state.range(0));
    for (const Kind kind : {Kind::Flat, Kind::Falling, Kind::Erratic, Kind::BreaksDown})
        corpus(kind);
    Tally flat;
    Tally falling;
    Tally erratic;
    int brokenDown = 0;
    int brokenDownPredicted = 0;
    for (auto _ : state) {
        flat = predictAll(Kind::Flat, elapsed);
        falling = predictAll(Kind::Falling, elapsed);
        erratic = predictAll(Kind::Erratic, elapsed);
        brokenDown = brokenDownPredicted = 0;
        for (const Case &entry : corpus(Kind::BreaksDown)) {
            if (entry.curve.breakdownSeconds >= elapsed)
                continue;
            ++brokenDown;
            brokenDownPredicted += PiPredictor().predict(entry.curve.points, elapsed).isMade();
        }
    }
    state.counters["flat_made"] = flat.share(flat.made, flat.curves);
    state.counters["flat_covered"] = flat.share(flat.covered, flat.made);
    state.counters["falling_made"] = falling.share(falling.made, falling.curves);
    state.counters["falling_covered"] = falling.share(falling.covered, falling.made);
    state.counters["erratic_made"] = erratic.share(erratic.made, erratic.curves);
    state.counters["broken_down"] = brokenDown;
    state.counters["broken_down_refused"] = 1.0 - double(brokenDownPredicted) / std::max(1, brokenDown);
}
BENCHMARK(FailingInsulation)->Arg(120)->Arg(180)->Arg(300)->Iterations(1)->Unit(benchmark::kMillisecond);

double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// The 600-reading curve a prediction is updated on at its last reading
// before ten minutes: the first physics curve that is predicted there.
const QVector<CurvePoint> &longCurve()
{
    static QVector<CurvePoint> curve;
    for (const Case &entry : corpus(Kind::Charging)) {
        if (!curve.isEmpty())
            break;
        const QVector<CurvePoint> first600 = entry.curve.points.mid(0, 600);
        if (PiPredictor().predict(first600, first600.constLast().seconds).isMade())
            curve = first600;
    }
    return curve;
}

// One update of a predictor that follows the test (starting from its
// previous law), as the window would make it on each reading.
void PredictionUpdate(benchmark::State &state)
{
    const QVector<CurvePoint> &curve = longCurve();
    const double elapsed = curve.constLast().seconds;
    PiPredictor predictor;
    benchmark::DoNotOptimize(predictor.predict(curve, elapsed));
    const double start = threadCpuMs();
    for (auto _ : state)
        benchmark::DoNotOptimize(predictor.predict(curve, elapsed));
    state.counters["points"] = curve.size();
    state.counters["cpu_ms"] = benchmark::Counter(threadCpuMs() - start, benchmark::Counter::kAvgIterations);
}
BENCHMARK(PredictionUpdate)->Unit(benchmark::kMicrosecond);

// The same from a fresh predictor, without a previous law to start from.
void PredictionFresh(benchmark::State &state)
{
    const QVector<CurvePoint> &curve = longCurve();
    const double elapsed = curve.constLast().seconds;
    const double start = threadCpuMs();
    for (auto _ : state)
        benchmark::DoNotOptimize(PiPredictor().predict(curve, elapsed));
    state.counters["cpu_ms"] = benchmark::Counter(threadCpuMs() - start, benchmark::Counter::kAvgIterations);
}
BENCHMARK(PredictionFresh)->Unit(benchmark::kMicrosecond);

// The window's own cost of a live reading (panel, row, chart point,
// drawing) with 600 readings in its table, for comparison.
void LiveReading(benchmark::State &state)
{
    WindowProbe &probe = appScoped<WindowProbe>();
    BenchReadings &readings = appScoped<BenchReadings>();
    probe.recordIR(int(state.range(0)), 0, readings);
    for (auto _ : state) {
        probe.live(readings.nextIR());
        WindowProbe::settle();
    }
}
BENCHMARK(LiveReading)->Arg(600)->Iterations(200)->Unit(benchmark::kMicrosecond);

[[maybe_unused]] const bool figures[] = {
    BenchFigures::addCounter("from 3 min: PI within 10 % of the 10-min PI (predictions made)", "PredictedPi/180",
                             "within10", 0.9, true),
    BenchFigures::addCounter("from 3 min: the same, refusals counted as misses", "PredictedPi/180",
                             "within10_of_all", 0.0, true),
    BenchFigures::addCounter("from 3 min: band covers the 10-min PI, at least", "PredictedPi/180", "covered", 0.85,
                             true),
    BenchFigures::addCounter("from 3 min: band covers the 10-min PI, at most", "PredictedPi/180", "covered", 0.95,
                             false),
    BenchFigures::addCounter("from 3 min: median band width / predicted PI", "PredictedPi/180", "median_width", 0.25,
                             false),
    BenchFigures::addCounter("from 3 min: share of curves predicted", "PredictedPi/180", "made", 0.0, true),
    BenchFigures::addCounter("from 2 min: PI within 10 % (predictions made)", "PredictedPi/120", "within10", 0.0, true),
    BenchFigures::addCounter("from 2 min: band covers", "PredictedPi/120", "covered", 0.0, true),
    BenchFigures::addCounter("from 2 min: median band width", "PredictedPi/120", "median_width", 0.0, false),
    BenchFigures::addCounter("from 2 min: share predicted", "PredictedPi/120", "made", 0.0, true),
    BenchFigures::addCounter("from 5 min: PI within 10 % (predictions made)", "PredictedPi/300", "within10", 0.0, true),
    BenchFigures::addCounter("from 5 min: band covers", "PredictedPi/300", "covered", 0.0, true),
    BenchFigures::addCounter("from 5 min: median band width", "PredictedPi/300", "median_width", 0.0, false),
    BenchFigures::addCounter("from 5 min: share predicted", "PredictedPi/300", "made", 0.0, true),
    BenchFigures::addCounter("from 3 min: broken-down curves not predicted", "FailingInsulation/180",
                             "broken_down_refused", 1.0, true),
    BenchFigures::addCounter("from 3 min: band covers the PI of flat curves", "FailingInsulation/180", "flat_covered",
                             0.85, true),
    BenchFigures::addCounter("from 3 min: band covers the PI of falling curves", "FailingInsulation/180",
                             "falling_covered", 0.85, true),
    BenchFigures::addCounter("one update on a 600-reading curve, ms of CPU", "PredictionUpdate", "cpu_ms", 1.0, false),
    BenchFigures::addCounter("one fresh prediction on a 600-reading curve, ms of CPU", "PredictionFresh", "cpu_ms",
                             1.0, false),
    BenchFigures::addRatio("one update / the window's live reading (600 rows)", "PredictionUpdate", "LiveReading/600",
                           0.0),
};
} // namespace
