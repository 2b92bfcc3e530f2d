// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
//
// The window with a long log: the cost of one more live reading, and of a
// mode switch that brings a long table back onto the chart, against the
// library's own bulk loading of the same points.
#include "bench/appscoped.h"
#include "bench/benchfigures.h"
#include "bench/benchreadings.h"
#include "bench/windowprobe.h"
#include "models/datamodel.h"
#include "window/chartpoint.h"

#include <QVector>

#include <benchmark/benchmark.h>
#include <qcustomplot.h>

#include <vector>

namespace {
constexpr int liveTab = 0;
constexpr int storedTab = 1;
constexpr int thousand = 1000;
constexpr int million = 1000000;

// One window and one source of readings for the whole run: filling a table
// with a million readings is the slow part, so sizes are run from small to
// large and each run tops the table up.
WindowProbe &probe()
{
    return appScoped<WindowProbe>();
}

BenchReadings &readings()
{
    return appScoped<BenchReadings>();
}

// How far a table may have grown beyond the size asked for before it is
// filled anew: the runs before add a few hundred readings.
int slack(int rows)
{
    return rows / 10;
}

std::vector<QSharedPointer<DMMData>> nextReadings(benchmark::IterationCount count)
{
    std::vector<QSharedPointer<DMMData>> next;
    next.reserve(size_t(count));
    for (benchmark::IterationCount i = 0; i < count; ++i)
        next.push_back(readings().nextIR());
    return next;
}

// Panel, table row, chart point, refit and drawing of one live IR reading,
// with `rows` readings already recorded in the live IR table.
void LiveReading(benchmark::State &state)
{
    const int rows = int(state.range(0));
    probe().recordIR(rows, slack(rows), readings());
    const std::vector<QSharedPointer<DMMData>> next = nextReadings(state.max_iterations);
    size_t i = 0;
    for (auto _ : state) {
        probe().live(next[i++]);
        WindowProbe::settle();
    }
    state.counters["rows"] = probe().liveModel()->rowCount();
}

// The same without the drawing: what the window does within the reading's
// own call (panel, row, chart point and refit).
void LiveReadingUndrawn(benchmark::State &state)
{
    const int rows = int(state.range(0));
    probe().recordIR(rows, slack(rows), readings());
    const std::vector<QSharedPointer<DMMData>> next = nextReadings(state.max_iterations);
    size_t i = 0;
    for (auto _ : state) {
        probe().live(next[i++]);
        if (i % 64 == 0) {
            state.PauseTiming();
            WindowProbe::settle();
            state.ResumeTiming();
        }
    }
    WindowProbe::settle();
}

// Back from the stored tab to a live table of `rows` readings: the chart
// shows that table again (the drawing comes with the next pass of the event
// loop, see ModeSwitchDrawn).
void ModeSwitch(benchmark::State &state)
{
    probe().recordIR(int(state.range(0)), slack(int(state.range(0))), readings());
    for (auto _ : state) {
        state.PauseTiming();
        probe().showTab(storedTab);
        WindowProbe::settle();
        state.ResumeTiming();
        probe().showTab(liveTab);
    }
    WindowProbe::settle();
}

// The same, with the drawing and repainting that follow.
void ModeSwitchDrawn(benchmark::State &state)
{
    probe().recordIR(int(state.range(0)), slack(int(state.range(0))), readings());
    for (auto _ : state) {
        state.PauseTiming();
        probe().showTab(storedTab);
        WindowProbe::settle();
        state.ResumeTiming();
        probe().showTab(liveTab);
        WindowProbe::settle();
    }
}

// The switch when the chart has no points kept for the table (rows were
// added behind its back), so that every record is replayed onto it.
void ModeSwitchReplay(benchmark::State &state)
{
    probe().recordIR(int(state.range(0)), slack(int(state.range(0))), readings());
    for (auto _ : state) {
        state.PauseTiming();
        probe().showTab(storedTab);
        probe().liveModel()->addData(readings().nextIR());
        WindowProbe::settle();
        state.ResumeTiming();
        probe().showTab(liveTab);
    }
    WindowProbe::settle();
}

// QCustomPlot's own bulk loading of the same points, keys already sorted.
void BulkSetData(benchmark::State &state)
{
    probe().recordIR(int(state.range(0)), slack(int(state.range(0))), readings());
    QVector<double> keys;
    QVector<double> values;
    for (const QSharedPointer<DMMData> &record : probe().liveModel()->getData()) {
        keys.append(ChartPoint::key(*record));
        values.append(ChartPoint::value(record));
    }
    QCustomPlot plot;
    QCPGraph *graph = plot.addGraph();
    for (auto _ : state)
        graph->setData(keys, values, true);
    benchmark::DoNotOptimize(graph->dataCount());
}

// From small tables to large, so that each size is filled once.
BENCHMARK(LiveReading)->Arg(thousand)->Iterations(400)->Unit(benchmark::kMicrosecond);
BENCHMARK(LiveReadingUndrawn)->Arg(thousand)->Iterations(400)->Unit(benchmark::kMicrosecond);
BENCHMARK(ModeSwitch)->Arg(thousand)->Iterations(20)->Unit(benchmark::kMicrosecond);
BENCHMARK(ModeSwitchDrawn)->Arg(thousand)->Iterations(20)->Unit(benchmark::kMicrosecond);
BENCHMARK(ModeSwitchReplay)->Arg(thousand)->Iterations(5)->Unit(benchmark::kMicrosecond);
BENCHMARK(BulkSetData)->Arg(thousand)->Iterations(20)->Unit(benchmark::kMicrosecond);
BENCHMARK(LiveReading)->Arg(100 * thousand)->Iterations(400)->Unit(benchmark::kMicrosecond);
BENCHMARK(LiveReadingUndrawn)->Arg(100 * thousand)->Iterations(400)->Unit(benchmark::kMicrosecond);
BENCHMARK(LiveReading)->Arg(million)->Iterations(400)->Unit(benchmark::kMicrosecond);
BENCHMARK(LiveReadingUndrawn)->Arg(million)->Iterations(400)->Unit(benchmark::kMicrosecond);
BENCHMARK(ModeSwitch)->Arg(million)->Iterations(20)->Unit(benchmark::kMicrosecond);
BENCHMARK(ModeSwitchDrawn)->Arg(million)->Iterations(20)->Unit(benchmark::kMicrosecond);
BENCHMARK(ModeSwitchReplay)->Arg(million)->Iterations(5)->Unit(benchmark::kMicrosecond);
BENCHMARK(BulkSetData)->Arg(million)->Iterations(20)->Unit(benchmark::kMicrosecond);

[[maybe_unused]] const bool figures[] = {
    BenchFigures::addRatio("live reading: 1 000 000 rows / 1 000 rows", "LiveReading/1000000", "LiveReading/1000", 1.5),
    BenchFigures::addRatio("live reading: 100 000 rows / 1 000 rows", "LiveReading/100000", "LiveReading/1000", 1.5),
    BenchFigures::addRatio("live reading, undrawn: 1 000 000 rows / 1 000 rows", "LiveReadingUndrawn/1000000",
                           "LiveReadingUndrawn/1000", 0.0),
    BenchFigures::addRatio("live reading, undrawn / drawn, 1 000 rows", "LiveReadingUndrawn/1000", "LiveReading/1000",
                           0.0),
    BenchFigures::addRatio("mode switch / bulk setData, 1 000 000 points", "ModeSwitch/1000000", "BulkSetData/1000000",
                           2.0),
    BenchFigures::addRatio("mode switch, drawn / bulk setData, 1 000 000 points", "ModeSwitchDrawn/1000000",
                           "BulkSetData/1000000", 2.0),
    BenchFigures::addRatio("mode switch, fallback replay / bulk setData, 1 000 000 points",
                           "ModeSwitchReplay/1000000", "BulkSetData/1000000", 0.0),
};
} // namespace
