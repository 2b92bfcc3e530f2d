// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "meter/dmmdata.h"

#include <QSharedPointer>
#include <QString>

// Where a record lands on the trend chart: its time as the key, the main
// quantity of its mode as the value. Needs no chart, so anything can ask.
class ChartPoint
{
public:
    ChartPoint() = delete;

    // Seconds since the epoch, with fractions.
    static double key(const DMMData &record);
    // The mode's main quantity, insulation resistances in MΩ; NaN (a gap)
    // where that is not finite, or was not and has been shown as "-"; 0 for a mode number outside the eight or a
    // record whose class does not fit its mode.
    static double value(const QSharedPointer<DMMData> &record);

private:
    static double mainQuantity(const QSharedPointer<DMMData> &record);
};
