// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
//
// Frames to records: assembly and decoding of a stream that mixes all sixteen
// frame layouts, delivered in reports of 63 stream bytes, as the HID
// transport delivers them.
#include "bench/benchfigures.h"
#include "bench/benchreadings.h"
#include "meter/mydmm.h"

#include <QByteArray>
#include <QList>

#include <benchmark/benchmark.h>

namespace {
constexpr int reportBytes = 63;
constexpr double reportsPerSecond = 100.0;
constexpr int cycles = 64;

struct Stream
{
    QList<QByteArray> reports;
    int frames = 0;
    int bytes = 0;
};

Stream mixedStream()
{
    QByteArray bytes;
    Stream stream;
    for (int cycle = 0; cycle < cycles; ++cycle) {
        for (const QByteArray &frame : BenchReadings::everyLayout(cycle)) {
            bytes += frame;
            ++stream.frames;
        }
    }
    stream.bytes = bytes.size();
    for (int at = 0; at < bytes.size(); at += reportBytes)
        stream.reports.append(bytes.mid(at, reportBytes));
    return stream;
}

void FramesToRecords(benchmark::State &state)
{
    const Stream stream = mixedStream();
    MyDMM meter;
    qint64 records = 0;
    const auto count = [&records](const QSharedPointer<DMMData> &) { ++records; };
    QObject::connect(&meter, &MyDMM::updateLiveData, &meter, count);
    QObject::connect(&meter, &MyDMM::updateStoreData, &meter, count);

    for (auto _ : state) {
        for (const QByteArray &report : stream.reports)
            meter.slotSerialDeviceRead(reinterpret_cast<const uint8_t *>(report.constData()), uint(report.size()));
    }
    if (records != qint64(stream.frames) * state.iterations())
        state.SkipWithError("not every frame became a record");

    const double transportFramesPerSecond = reportsPerSecond * reportBytes * stream.frames / stream.bytes;
    state.counters["frames_per_s"] = benchmark::Counter(double(stream.frames), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["transport_frames_per_s"] = transportFramesPerSecond;
    state.counters["headroom"] = benchmark::Counter(double(stream.frames) / transportFramesPerSecond,
                                                     benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(FramesToRecords)->Unit(benchmark::kMillisecond);

[[maybe_unused]] const bool figures = BenchFigures::addCounter("frames to records: headroom over the transport's most",
                                              "FramesToRecords", "headroom", 1.0, true);
} // namespace
