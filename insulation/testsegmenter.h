// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "insulation/insulationtest.h"
#include "meter/dmmdata.h"

#include <QObject>
#include <QSharedPointer>

#include <optional>

// Cuts the recorded readings of a session into tests, as they arrive or when
// a session is read back: a test is the run of consecutive live readings of
// one insulation mode (IR, TIME, PI, DAR, COMP) while the meter reports
// testing. It ends at the first reading that no longer tests, a change of
// mode, or five seconds without a reading (then it was interrupted). The
// reading after it, of the same mode within two seconds, is the meter's held
// result and belongs to it. A test completes when the meter stopped it
// itself: at its set time for TIME, PI and DAR, with a verdict for COMP, at
// the user's stop for IR; otherwise it was interrupted. VOLT, CAP and RES
// readings, and every record of the meter's memory, are entries of their own.
// Times are the readings' decode times, so a session read back is cut exactly
// as it was when it was recorded.
class TestSegmenter : public QObject
{
    Q_OBJECT

public:
    static constexpr qint64 silenceEndsTestMs = 5000;
    static constexpr qint64 heldResultWithinMs = 2000;

    explicit TestSegmenter(QObject *parent = nullptr);

    // `seq` numbers the reading in its session (the journal's order).
    void addLive(const QSharedPointer<DMMData> &record, qint64 seq);
    void addStored(const QSharedPointer<DMMData> &record, qint64 seq);
    // The clock has reached `nowMs` without a reading: a test silent for
    // five seconds ends, interrupted.
    void advanceTo(qint64 nowMs);
    // The session ends: a test still running was interrupted.
    void finish();

    // The test under way, if any.
    std::optional<InsulationTest> running() const;

signals:
    void testStarted(const InsulationTest &test);
    // A running test gained a reading.
    void testUpdated(const InsulationTest &test);
    void testFinished(const InsulationTest &test);

private:
    enum class EndCause { MeterStopped, ModeChanged, Silence, SessionEnded };

    bool takenByRunning(const DMMData &record, qint64 seq);
    void begin(const DMMData &record, qint64 seq);
    void append(const DMMData &record, qint64 seq);
    double curveSeconds(const DMMData &record) const;
    void keepLiveFirstResistance(const DMMData &record, CurvePoint &point) const;
    void endRunning(EndCause cause);
    static bool completed(const InsulationTest &test, EndCause cause);

    std::optional<InsulationTest> m_running;
    qint64 m_lastReadingMs = 0;
};
