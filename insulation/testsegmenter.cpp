// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "insulation/testsegmenter.h"

#include "insulation/readingvalues.h"

#include <cmath>
#include <limits>

namespace {
// Registered once for queued connections of the signals.
const int insulationTestTypeId = qRegisterMetaType<InsulationTest>("InsulationTest");

qint64 decodeMs(const DMMData &record)
{
    return record.dateTime.toMSecsSinceEpoch();
}

bool lastReachedSetTime(const InsulationTest &test, int setSeconds)
{
    return setSeconds > 0 && !test.curve.isEmpty() && test.curve.constLast().seconds >= setSeconds;
}

InsulationTest entryOf(const DMMData &record, qint64 seq, InsulationTest::Origin origin)
{
    InsulationTest test;
    test.mode = record.mode;
    test.origin = origin;
    test.startedMs = decodeMs(record);
    test.endedMs = test.startedMs;
    test.firstSeq = seq;
    test.lastSeq = seq;
    ReadingValues::takeFinalValues(test, record);
    return test;
}
} // namespace

TestSegmenter::TestSegmenter(QObject *parent)
    : QObject(parent)
{
    Q_UNUSED(insulationTestTypeId)
}

void TestSegmenter::addLive(const QSharedPointer<DMMData> &record, qint64 seq)
{
    if (!ReadingValues::isUsable(record))
        return;
    const qint64 ms = decodeMs(*record);
    if (m_running && ms - m_lastReadingMs > silenceEndsTestMs)
        endRunning(EndCause::Silence);
    m_lastReadingMs = ms;
    if (m_running && takenByRunning(*record, seq))
        return;
    begin(*record, seq);
}

// The running test takes the readings of its mode while the meter tests, and
// the held result that follows them; any other reading ends it.
bool TestSegmenter::takenByRunning(const DMMData &record, qint64 seq)
{
    const bool sameMode = record.mode == m_running->mode;
    if (sameMode && record.testing) {
        append(record, seq);
        emit testUpdated(*m_running);
        return true;
    }
    if (sameMode && decodeMs(record) - m_running->endedMs <= heldResultWithinMs) {
        append(record, seq);
        endRunning(EndCause::MeterStopped);
        return true;
    }
    endRunning(sameMode ? EndCause::MeterStopped : EndCause::ModeChanged);
    return false;
}

// Announced as every entry is, started and then finished at once; a live
// test under way is a different matter and goes on.
void TestSegmenter::addStored(const QSharedPointer<DMMData> &record, qint64 seq)
{
    if (!ReadingValues::isUsable(record))
        return;
    InsulationTest test = entryOf(*record, seq, InsulationTest::Origin::Memory);
    test.status = InsulationTest::Status::Completed;
    emit testStarted(test);
    emit testFinished(test);
}

void TestSegmenter::advanceTo(qint64 nowMs)
{
    if (m_running && nowMs - m_lastReadingMs > silenceEndsTestMs)
        endRunning(EndCause::Silence);
}

void TestSegmenter::finish()
{
    if (m_running)
        endRunning(EndCause::SessionEnded);
}

std::optional<InsulationTest> TestSegmenter::running() const
{
    return m_running;
}

// A reading outside a test: a measurement is an entry at once, a testing
// insulation reading starts a test, anything else belongs to nothing.
void TestSegmenter::begin(const DMMData &record, qint64 seq)
{
    if (ReadingValues::isMeasurementMode(record.mode)) {
        InsulationTest measurement = entryOf(record, seq, InsulationTest::Origin::Live);
        measurement.status = InsulationTest::Status::Completed;
        emit testStarted(measurement);
        emit testFinished(measurement);
        return;
    }
    if (!record.testing)
        return;
    m_running = entryOf(record, seq, InsulationTest::Origin::Live);
    m_running->curve.append(ReadingValues::curvePoint(record, curveSeconds(record)));
    emit testStarted(*m_running);
}

void TestSegmenter::append(const DMMData &record, qint64 seq)
{
    CurvePoint point = ReadingValues::curvePoint(record, curveSeconds(record));
    keepLiveFirstResistance(record, point);
    m_running->curve.append(point);
    m_running->endedMs = decodeMs(record);
    m_running->lastSeq = seq;
    ReadingValues::takeFinalValues(*m_running, record);
}

// Between a PI or DAR test's set times RES1 tells nothing when the meter
// holds it at its value at the first set time; a meter that goes on showing
// the present resistance there makes it change, and then it is the curve.
void TestSegmenter::keepLiveFirstResistance(const DMMData &record, CurvePoint &point) const
{
    const auto *ratio = dynamic_cast<const DMMDataPIDAR *>(&record);
    if (!ratio || !std::isnan(point.megohms) || m_running->curve.isEmpty())
        return;
    const int elapsed = ReadingValues::seconds(ratio->elapsedTime);
    const int first = ReadingValues::seconds(ratio->setTime);
    const int second = ReadingValues::seconds(ratio->setTime2);
    if (first <= 0 || elapsed <= first || (second > 0 && elapsed >= second))
        return;
    double held = std::numeric_limits<double>::quiet_NaN();
    for (const CurvePoint &earlier : m_running->curve) {
        if (earlier.seconds <= first && !std::isnan(earlier.megohms))
            held = earlier.megohms;
    }
    const double present = ReadingValues::megohms(ratio->resistance);
    if (!std::isnan(held) && !std::isnan(present) && present != held) {
        point.megohms = present;
        point.overRange = ratio->resistanceOverRange;
    }
}

// The meter's own clock where its frames carry one; a COMP frame has none,
// so its readings are placed by their decode time since the test began.
double TestSegmenter::curveSeconds(const DMMData &record) const
{
    const int meterSeconds = ReadingValues::meterSeconds(record);
    if (meterSeconds >= 0)
        return meterSeconds;
    const qint64 startedMs = m_running ? m_running->startedMs : decodeMs(record);
    return (decodeMs(record) - startedMs) / 1000.0;
}

void TestSegmenter::endRunning(EndCause cause)
{
    InsulationTest test = std::move(*m_running);
    m_running.reset();
    test.status = completed(test, cause) ? InsulationTest::Status::Completed
                                                   : InsulationTest::Status::Interrupted;
    emit testFinished(test);
}

// How each mode tells that the meter finished the test itself. Timed tests
// and comparisons are judged by what their last reading shows, so a test
// that reached its end is complete even if the stream then fell silent;
// an IR test has no end of its own but the user's stop.
bool TestSegmenter::completed(const InsulationTest &test, EndCause cause)
{
    switch (test.mode) {
    case DMMData::dmIR:
        return cause == EndCause::MeterStopped;
    case DMMData::dmTime:
        return lastReachedSetTime(test, test.setSeconds);
    case DMMData::dmPI:
    case DMMData::dmDAR:
        return lastReachedSetTime(test, test.setSeconds2);
    case DMMData::dmCOMP:
        return test.compResult > 0;
    default:
        return false;
    }
}
