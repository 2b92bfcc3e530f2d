// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "insulation/insulationtest.h"

#include <QString>
#include <QVector>

#include <limits>

// Ten-minute insulation tests made from the physics, one reading a second
// as the meter shows them (three significant digits, rounded or cut,
// beyond its range the range's limit): the current is a conduction current
// that drifts plus absorption currents decaying as powers of time, some of
// them dying away faster late in the test, or relaxing as a stretched
// exponential, after a capacitive charge in the first seconds; R = V / I. Beside them, failing insulation: flat,
// falling, erratic and breaking down. Each curve follows from its kind and
// seed alone, the same on every machine. The PI prediction is calibrated on
// these curves and tested on others of them; its benchmark uses curves of
// another making.
class CurveCorpus
{
public:
    enum class Kind { Charging, Flat, Falling, Erratic, BreaksDown };

    struct Curve
    {
        Kind kind = Kind::Charging;
        quint64 seed = 0;
        int volts = 500;
        QVector<CurvePoint> points;
        // The resistance the physics gives at one and ten minutes, in MΩ,
        // before noise and the meter's digits.
        double trueR60 = std::numeric_limits<double>::quiet_NaN();
        double trueR600 = std::numeric_limits<double>::quiet_NaN();
        // When the insulation broke down; NaN for the other kinds.
        double breakdownSeconds = std::numeric_limits<double>::quiet_NaN();
        // Its parameters, for a failure message.
        QString description;
    };

    CurveCorpus() = delete;

    static Curve make(Kind kind, quint64 seed);
    static QString kindName(Kind kind);
    // A resistance in MΩ as the meter shows it: three significant digits,
    // rounded or with the rest cut off.
    static double threeDigits(double megohms, bool cut);
    // Highest resistance the meter resolves at a test voltage, in MΩ.
    static double rangeLimit(int volts) { return volts * 4.0e3; }
};
