// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "cli/livesampler.h"

#include "meter/dmmdata.h"

LiveSampler::LiveSampler(const Rules &rules, QObject *parent)
    : QObject(parent)
    , m_rules(rules)
{
    m_timer.setTimerType(Qt::CoarseTimer);
    connect(&m_timer, &QTimer::timeout, this, &LiveSampler::tick);
}

void LiveSampler::start()
{
    m_due = true;
    if (m_rules.intervalMs > 0)
        m_timer.start(m_rules.intervalMs);
}

void LiveSampler::stop()
{
    m_timer.stop();
}

// A reading that the test-time rule drops does not use up the tick: with
// both rules set, each tick still yields a reading taken during a test.
bool LiveSampler::accept(const DMMData &record)
{
    if (limitReached() || !takenDuringTest(record))
        return false;
    if (m_rules.intervalMs > 0) {
        if (!m_due)
            return false;
        m_due = false;
    }
    ++m_accepted;
    return true;
}

bool LiveSampler::limitReached() const
{
    return m_rules.samples >= 0 && m_accepted >= m_rules.samples;
}

void LiveSampler::tick()
{
    m_due = true;
}

bool LiveSampler::takenDuringTest(const DMMData &record) const
{
    return !m_rules.testTimeOnly || record.mode == DMMData::dmVOLT || record.testing;
}
