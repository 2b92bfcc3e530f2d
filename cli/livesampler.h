// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QTimer>

class DMMData;

// Decides which live records the logger writes: a limit on their number,
// readings taken during a test only (voltage readings always), and at most
// one record per tick of a sample interval.
class LiveSampler : public QObject
{
    Q_OBJECT

public:
    struct Rules
    {
        int samples = -1; // -1: no limit
        int intervalMs = 0; // 0: no interval
        bool testTimeOnly = false;
    };

    explicit LiveSampler(const Rules &rules, QObject *parent = nullptr);

    // Starts the interval's ticks. The first record is due at once; the
    // interval then paces the records that follow.
    void start();
    void stop();

    // True when `record` is to be written; it then counts as written.
    bool accept(const DMMData &record);
    bool limitReached() const;
    int accepted() const { return m_accepted; }

public slots:
    // One tick of the interval: the next record that passes is due.
    void tick();

private:
    bool takenDuringTest(const DMMData &record) const;

    Rules m_rules;
    QTimer m_timer;
    bool m_due = true;
    int m_accepted = 0;
};
