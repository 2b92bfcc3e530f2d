// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

// The console report, followed by the figures the benchmarks are run for:
// ratios of two medians of the same run, each against its goal. Benchmarks
// are named "Function" or "Function/argument"; the figures refer to them by
// that name. Times are CPU times, which other work on a shared machine
// disturbs far less than wall-clock times.
class BenchFigures : public benchmark::ConsoleReporter
{
public:
    // Coloured only on a terminal.
    BenchFigures();

    // measured / reference, goal: at most `limit`; a limit of 0 shows the
    // ratio without a goal.
    static bool addRatio(const std::string &title, const std::string &measured, const std::string &reference,
                         double limit);
    // The same by wall-clock time, for work done by another process (a
    // database server) that the client's CPU time does not see.
    static bool addRealTimeRatio(const std::string &title, const std::string &measured,
                                 const std::string &reference, double limit);
    // A counter's median against a fixed value; the goal is to stay at most
    // `limit` (or at least `limit` when `atLeast`).
    static bool addCounter(const std::string &title, const std::string &run, const std::string &counter,
                           double limit, bool atLeast);

    void ReportRuns(const std::vector<Run> &runs) override;
    // Prints the figures whose benchmarks ran; false when a goal was missed.
    bool printFigures() const;

private:
    struct Figure
    {
        std::string title;
        std::string measured;
        std::string reference;
        std::string counter;
        double limit = 0.0;
        bool atLeast = false;
        bool realTime = false;
    };
    static std::vector<Figure> &figures();
    bool printFigure(const Figure &figure) const;

    std::map<std::string, Run> m_medians;
};
