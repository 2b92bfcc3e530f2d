// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QMetaType>
#include <QString>
#include <QVector>

#include <limits>

// One point of a test's curve: the meter's elapsed test time and what it
// measured then.
struct CurvePoint
{
    double seconds = 0.0;
    // Insulation resistance in MΩ; NaN when the reading had no value.
    double megohms = std::numeric_limits<double>::quiet_NaN();
    // Above the measuring range: `megohms` is the range's limit, a lower bound.
    bool overRange = false;
    // Leakage current in µA; NaN when the reading had none.
    double leakageMicroamps = std::numeric_limits<double>::quiet_NaN();
    int outputVolts = 0;
};

// One insulation test the meter ran, the unit of a technician's work: from
// live readings (with its curve) or from the meter's memory (a finished test
// without one). VOLT, CAP and RES readings are measurements, kept as tests of
// one reading so that every reading has its entry.
struct InsulationTest
{
    enum class Status { Running, Completed, Interrupted };
    enum class Origin { Live, Memory };

    qint64 id = -1;       // in the journal; -1 until it is there
    QString uuid;         // unique across journals
    qint64 sessionId = -1;
    qint64 firstSeq = -1; // the journal readings it was made from, inclusive
    qint64 lastSeq = -1;

    int mode = 0; // DMMData::DataMode
    Origin origin = Origin::Live;
    Status status = Status::Running;
    qint64 startedMs = 0; // decode times of its first and last reading
    qint64 endedMs = 0;
    int setVolts = 0;
    QVector<CurvePoint> curve;

    // The meter's own final values; NaN (or -1) where it gave none.
    double finalMegohms = std::numeric_limits<double>::quiet_NaN();
    bool finalOverRange = false;
    double meterDar = std::numeric_limits<double>::quiet_NaN();
    double meterPi = std::numeric_limits<double>::quiet_NaN();
    int compResult = -1;      // COMP: 0 no verdict, 2 pass, other fail
    double compLimitMegohms = std::numeric_limits<double>::quiet_NaN();
    int setSeconds = 0;       // TIME: test time; PI, DAR: first timing point
    int setSeconds2 = 0;      // PI, DAR: second timing point
    // The meter's time of the final resistance: IR its test time, TIME the
    // time elapsed, PI and DAR the set time it was taken at (or the time
    // elapsed before the first); -1 where the record carries none.
    int finalSeconds = -1;
    // PI and DAR: the resistance the meter kept at each set time (RES1 at
    // the first, RES2 at the second); NaN until the test reached it.
    double firstMegohms = std::numeric_limits<double>::quiet_NaN();
    bool firstOverRange = false;
    double secondMegohms = std::numeric_limits<double>::quiet_NaN();
    bool secondOverRange = false;
    // VOLT, CAP, RES: the reading as the table shows its main value.
    QString measurementText;

    bool isMeasurement() const;
    bool isFinished() const { return status != Status::Running; }
    // The test's main mode name: "IR", "Time", ...
    QString modeName() const;
};

Q_DECLARE_METATYPE(InsulationTest)
