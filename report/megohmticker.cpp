// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "report/megohmticker.h"

#include "insulation/resistancetext.h"

#include <cmath>

namespace {
constexpr double fewDecades = 1.0e3;
} // namespace

QString MegohmTicker::getTickLabel(double tick, const QLocale &, QChar, int)
{
    return ResistanceText::megohms(tick);
}

QVector<double> MegohmTicker::createTickVector(double tickStep, const QCPRange &range)
{
    if (range.lower <= 0.0 || range.upper / range.lower <= 10.0)
        return QCPAxisTicker::createTickVector(tickStep, range);
    const bool manyDecades = range.upper / range.lower > fewDecades;
    QVector<double> ticks;
    for (double decade = std::pow(10.0, std::floor(std::log10(range.lower))); decade <= range.upper; decade *= 10.0) {
        for (const double step : {1.0, 2.0, 5.0}) {
            if (range.contains(decade * step) && (step == 1.0 || !manyDecades))
                ticks << decade * step;
        }
    }
    return ticks;
}
