// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "window/resistanceticker.h"

#include "insulation/resistancetext.h"

#include <cmath>

QString ResistanceTicker::getTickLabel(double tick, const QLocale &, QChar, int)
{
    return ResistanceText::megohms(tick);
}

QVector<double> ResistanceTicker::createTickVector(double tickStep, const QCPRange &range)
{
    if (range.lower <= 0.0 || range.upper / range.lower <= 10.0)
        return QCPAxisTicker::createTickVector(tickStep, range);
    QVector<double> ticks;
    for (double decade = std::pow(10.0, std::floor(std::log10(range.lower))); decade <= range.upper; decade *= 10.0) {
        for (const double step : {1.0, 2.0, 5.0}) {
            if (range.contains(decade * step))
                ticks << decade * step;
        }
    }
    return ticks;
}
