// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "sim/streamsource.h"

#include <QList>
#include <QString>

#include <chrono>

// A virtual meter that goes through the rounds of DemoCycle over and over:
// live frames at the pace of a real meter, each round followed by a burst of
// stored frames as if its memory was downloaded. The fast pace hands over
// whole rounds at once, for tests that want much data quickly.
class DemoScenario : public StreamSource
{
public:
    enum class Pace { RealTime, Fast };

    static constexpr std::chrono::milliseconds liveInterval{300};
    static constexpr std::chrono::milliseconds downloadDelay{600};

    explicit DemoScenario(Pace pace = Pace::RealTime);

    // Adds a meter at `path` to the simulation and lets a scenario drive it.
    static void installMeter(const QString &path, Pace pace = Pace::RealTime);

    Chunk nextChunk() override;

    int round() const { return m_round; }

private:
    void planNextRound();

    Pace m_pace = Pace::RealTime;
    int m_round = 0;
    QList<Chunk> m_planned;
};
