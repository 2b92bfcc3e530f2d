// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
//
// Memory per recorded reading: the resident size before and after a million
// IR readings recorded through the window, and the same for each of its
// parts alone (the record, the table row, the chart point). Each benchmark
// is meant to run in a process of its own (see run-benchmarks.sh), so that
// no memory freed by another is reused.
#include "bench/benchfigures.h"
#include "bench/benchreadings.h"
#include "bench/memoryuse.h"
#include "bench/windowprobe.h"
#include "models/columnset.h"
#include "models/datamodel.h"
#include "models/modelfactory.h"

#include <benchmark/benchmark.h>
#include <qcustomplot.h>

#include <vector>

namespace {
constexpr int million = 1000000;

// The resident size and the heap in use, taken before and after.
struct Usage
{
    long long resident = MemoryUse::resident();
    long long heap = MemoryUse::heapInUse();
};

void reportGrowth(benchmark::State &state, const Usage &before)
{
    const Usage after;
    state.counters["bytes_per_reading"] = double(after.resident - before.resident) / million;
    state.counters["heap_bytes_per_reading"] = double(after.heap - before.heap) / million;
    state.counters["resident_MiB"] = double(after.resident) / (1 << 20);
}

// Recorded through the window: record, panel, row, chart point and whatever
// the table view keeps per row.
void MemoryWindow(benchmark::State &state)
{
    for (auto _ : state) {
        BenchReadings readings;
        WindowProbe probe;
        probe.recordIR(1, 0, readings);
        const Usage before;
        probe.recordIR(million + 1, 0, readings);
        reportGrowth(state, before);
    }
}

// The records alone, as decoded; the list that holds them is resident before.
void MemoryRecords(benchmark::State &state)
{
    for (auto _ : state) {
        BenchReadings readings;
        std::vector<QSharedPointer<DMMData>> records(million);
        records[0] = readings.nextIR();
        const Usage before;
        for (int i = 1; i < million; ++i)
            records[i] = readings.nextIR();
        reportGrowth(state, before);
    }
}

// The table rows alone: the records exist before.
void MemoryRows(benchmark::State &state)
{
    for (auto _ : state) {
        BenchReadings readings;
        std::vector<QSharedPointer<DMMData>> records;
        records.reserve(million);
        for (int i = 0; i < million; ++i)
            records.push_back(readings.nextIR());
        ColumnSet columns;
        const std::unique_ptr<DataModel> model = ModelFactory::createLiveModel(DMMData::dmIR, columns.columns(DMMData::dmIR));
        const Usage before;
        for (const QSharedPointer<DMMData> &record : records)
            model->addData(record);
        reportGrowth(state, before);
    }
}

// The chart points alone, added one by one as readings arrive.
void MemoryChartPoints(benchmark::State &state)
{
    for (auto _ : state) {
        QCustomPlot plot;
        QCPGraph *graph = plot.addGraph();
        const Usage before;
        for (int i = 0; i < million; ++i)
            graph->addData(1.8e9 + 0.3 * i, 1500.0 + i % 16);
        reportGrowth(state, before);
    }
}

BENCHMARK(MemoryWindow)->Iterations(1)->Repetitions(1)->Unit(benchmark::kSecond);
BENCHMARK(MemoryRecords)->Iterations(1)->Repetitions(1)->Unit(benchmark::kSecond);
BENCHMARK(MemoryRows)->Iterations(1)->Repetitions(1)->Unit(benchmark::kSecond);
BENCHMARK(MemoryChartPoints)->Iterations(1)->Repetitions(1)->Unit(benchmark::kSecond);

[[maybe_unused]] const bool figures[] = {
    BenchFigures::addCounter("memory per reading through the window, bytes", "MemoryWindow", "bytes_per_reading",
                             1024.0, false),
    BenchFigures::addCounter("heap per reading through the window, bytes", "MemoryWindow", "heap_bytes_per_reading",
                             0.0, false),
    BenchFigures::addCounter("heap per record alone, bytes", "MemoryRecords", "heap_bytes_per_reading", 0.0, false),
    BenchFigures::addCounter("heap per table row alone, bytes", "MemoryRows", "heap_bytes_per_reading", 0.0, false),
    BenchFigures::addCounter("heap per chart point alone, bytes", "MemoryChartPoints", "heap_bytes_per_reading", 0.0,
                             false),
    BenchFigures::addCounter("resident per record alone, bytes", "MemoryRecords", "bytes_per_reading", 0.0, false),
    BenchFigures::addCounter("resident per table row alone, bytes", "MemoryRows", "bytes_per_reading", 0.0, false),
    BenchFigures::addCounter("resident per chart point alone, bytes", "MemoryChartPoints", "bytes_per_reading", 0.0,
                             false),
};
} // namespace
