// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "insulation/insulationtest.h"

#include <QString>
#include <QVector>

#include <limits>

// The PI prediction's benchmark corpus, made otherwise than the curves it
// was calibrated on (tests/support/curvecorpus): the absorption current is
// a sum of forty exponential relaxations with time constants spread from
// half a second to a largest one somewhere between minutes and hours (the
// curve bends away from any power law once that is passed); the
// conduction current drifts towards a new level, as a winding warming or
// cooling does; the noise is correlated from reading to reading; the
// meter's readings come about once a second, now and then twice in one of
// its seconds or none, with three significant digits. Failing insulation
// beside it: flat, falling as a power of time, switching between levels,
// breaking down.
class BenchCurves
{
public:
    enum class Kind { Charging, Flat, Falling, Erratic, BreaksDown };

    struct Curve
    {
        Kind kind = Kind::Charging;
        QVector<CurvePoint> points;
        // When the insulation broke down; NaN for the other kinds.
        double breakdownSeconds = std::numeric_limits<double>::quiet_NaN();
    };

    BenchCurves() = delete;

    static Curve make(Kind kind, quint64 seed);
};
