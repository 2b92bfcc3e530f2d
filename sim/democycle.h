// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QList>

// One round of a demonstration meter's day: a test in each of the eight modes
// as live frames, then a download of the results kept in its memory as stored
// frames. The insulation tests run their whole course, reading after reading,
// with the resistance rising as real insulation charges; the meter's own DAR
// and PI are those of its readings. Rounds differ in test voltage and
// insulation (among them a good winding and a damp one), and among them show
// over-range values, low readings, both comparison verdicts and one test
// stopped by hand before its set time.
class DemoCycle
{
public:
    // The test voltages the rounds step through.
    static constexpr int testVoltages[] = {250, 500, 1000, 2500, 5000};
    // In each cycle of rounds (one per test voltage), the round whose timed
    // test the user stops before its set time.
    static constexpr int interruptedRound = 2;

    explicit DemoCycle(int round);

    QList<QByteArray> liveFrames() const { return m_live; }
    QList<QByteArray> storedFrames() const { return m_stored; }

private:
    void addIR();
    void addTime();
    void addPI();
    void addDAR();
    void addCOMP();
    void addCAP();
    void addVOLT();
    void addRES();

    int m_variant = 0;
    int m_testVoltage = 500;
    QList<QByteArray> m_live;
    QList<QByteArray> m_stored;
};
