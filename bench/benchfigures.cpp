// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "bench/benchfigures.h"

#include <cstdio>

#include <unistd.h>

namespace {
std::string shortName(const benchmark::BenchmarkReporter::Run &run)
{
    const std::string &args = run.run_name.args;
    return args.empty() ? run.run_name.function_name : run.run_name.function_name + "/" + args;
}

double cpuSeconds(const benchmark::BenchmarkReporter::Run &run)
{
    return run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
}

double realSeconds(const benchmark::BenchmarkReporter::Run &run)
{
    return run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
}

// A single run has no aggregates; its own figures then stand for the median.
bool isMedian(const benchmark::BenchmarkReporter::Run &run)
{
    return run.run_type == benchmark::BenchmarkReporter::Run::RT_Aggregate ? run.aggregate_name == "median"
                                                                            : run.repetitions <= 1;
}
} // namespace

BenchFigures::BenchFigures()
    : ConsoleReporter(isatty(fileno(stdout)) ? OO_ColorTabular : OO_Tabular)
{
}

std::vector<BenchFigures::Figure> &BenchFigures::figures()
{
    static std::vector<Figure> all;
    return all;
}

bool BenchFigures::addRatio(const std::string &title, const std::string &measured, const std::string &reference,
                            double limit)
{
    figures().push_back(Figure{title, measured, reference, std::string(), limit, false, false});
    return true;
}

bool BenchFigures::addRealTimeRatio(const std::string &title, const std::string &measured,
                                    const std::string &reference, double limit)
{
    figures().push_back(Figure{title, measured, reference, std::string(), limit, false, true});
    return true;
}

bool BenchFigures::addCounter(const std::string &title, const std::string &run, const std::string &counter,
                              double limit, bool atLeast)
{
    figures().push_back(Figure{title, run, std::string(), counter, limit, atLeast, false});
    return true;
}

void BenchFigures::ReportRuns(const std::vector<Run> &runs)
{
    for (const Run &run : runs) {
        if (!run.error_occurred && isMedian(run))
            m_medians[shortName(run)] = run;
    }
    ConsoleReporter::ReportRuns(runs);
}

bool BenchFigures::printFigures() const
{
    bool allMet = true;
    bool first = true;
    for (const Figure &figure : figures()) {
        if (m_medians.count(figure.measured) == 0)
            continue;
        if (!figure.reference.empty() && m_medians.count(figure.reference) == 0)
            continue;
        if (first)
            std::printf("\nFigures (medians of CPU time, unless marked wall clock):\n");
        first = false;
        allMet = printFigure(figure) && allMet;
    }
    std::fflush(stdout);
    return allMet;
}

bool BenchFigures::printFigure(const Figure &figure) const
{
    const Run &measured = m_medians.at(figure.measured);
    double value = 0.0;
    if (figure.counter.empty()) {
        const Run &reference = m_medians.at(figure.reference);
        value = figure.realTime ? realSeconds(measured) / realSeconds(reference)
                                : cpuSeconds(measured) / cpuSeconds(reference);
    } else {
        const auto counter = measured.counters.find(figure.counter);
        if (counter == measured.counters.end())
            return false;
        value = counter->second.value;
    }
    if (figure.limit <= 0.0) {
        std::printf("  %-62s %12.3f\n", figure.title.c_str(), value);
        return true;
    }
    const bool met = figure.atLeast ? value >= figure.limit : value <= figure.limit;
    std::printf("  %-62s %12.3f  goal %s %-8g %s\n", figure.title.c_str(), value, figure.atLeast ? ">=" : "<=",
                figure.limit, met ? "met" : "NOT MET");
    return met;
}
